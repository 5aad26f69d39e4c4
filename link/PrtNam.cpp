#include "link/PrtNam.h"

#include <cctype>

#include "core/Seams.h"
#include "core/StrUtl.h"

bool IsSimPrt(const std::string& name) { return EqlNoCase(name, GcSimPrt); }

int PrtNum(const std::string& name) {
  if (name.size() < 4 || name.size() > 5 || !EqlNoCase(std::string_view(name).substr(0, 3), "COM") || name[3] == '0') return 0;
  int n = 0;
  for (std::size_t i = 3; i < name.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(name[i]))) return 0;
    n = n * 10 + (name[i] - '0');
  }
  return n >= 1 && n <= 19 ? n : 0;
}

std::string PrtMapPth(int n) {
  if (PrtNum("COM" + std::to_string(n)) == 0) return {};
  if (auto st = GuPlatform().Settings->Create()) {
    if (st->OpenKey(GcPrtMapKey, false)) return st->ReadString("COM" + std::to_string(n));
  }
  return {};
}

// The same on every platform: only what makes a port present differs.
std::vector<std::string> ScnComPrt() {
  std::vector<std::string> lst;
  for (int n = 1; n <= 19; ++n) {
    const std::string name = "COM" + std::to_string(n);
    if (PrtPrs(name)) lst.push_back(name);
  }
  return lst;
}

bool PrtInUse(const std::string& devPth, const std::vector<std::string>& lckDirs) {
  return PrtHldr(devPth, lckDirs).Hld;
}

bool MapPrt(int n, const std::string& pth) {
  if (n < 1 || n > 19 || pth.empty()) return false;
  auto st = GuPlatform().Settings->Create();
  return st && st->OpenKey(GcPrtMapKey, true) && st->WriteString("COM" + std::to_string(n), pth);
}
