#include "core/RegStg.h"

#include <windows.h>

#include <vector>

namespace {

class TRegStore final : public ISettingsStore {
public:
  ~TRegStore() override { Cls(); }

  bool OpenKey(const std::string& key, bool canCreate) override {
    Cls();
    LONG r = ::RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ | KEY_WRITE, &FhKey);
    if (r == ERROR_FILE_NOT_FOUND && canCreate)
      r = ::RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                            KEY_READ | KEY_WRITE, nullptr, &FhKey, nullptr);
    if (r != ERROR_SUCCESS) FhKey = nullptr;
    return FhKey != nullptr;
  }

  std::string ReadString(const std::string& name) override {
    if (!FhKey) return {};
    DWORD typ = 0, len = 0;
    if (::RegQueryValueExA(FhKey, name.c_str(), nullptr, &typ, nullptr, &len) != ERROR_SUCCESS ||
        (typ != REG_SZ && typ != REG_EXPAND_SZ))
      return {};
    std::vector<char> buf(len + 1, '\0');
    if (::RegQueryValueExA(FhKey, name.c_str(), nullptr, &typ, reinterpret_cast<BYTE*>(buf.data()), &len) !=
        ERROR_SUCCESS)
      return {};
    return std::string(buf.data());  // the stored text may or may not end in its zero
  }

  bool WriteString(const std::string& name, const std::string& value) override {
    if (!FhKey) return false;
    return ::RegSetValueExA(FhKey, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
  }

private:
  void Cls() {
    if (FhKey) ::RegCloseKey(FhKey);
    FhKey = nullptr;
  }
  HKEY FhKey = nullptr;
};

}  // namespace

std::unique_ptr<ISettingsStore> TRegSettingsFactory::Create() { return std::make_unique<TRegStore>(); }
