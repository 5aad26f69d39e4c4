// Paths on Windows: the system takes either separator and ignores case, so a
// program path is native as it is written.
#include "core/PathUtl.h"

#include <windows.h>

#include <vector>

#include "core/WinUtl.h"

const char* PathSep() { return "\\"; }

std::string NativePath(const std::string& path) { return path; }

std::string ExeDir() {
  std::vector<wchar_t> buf(MAX_PATH);
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n == 0) return ".\\";
    if (n < buf.size()) {
      buf.resize(n);
      break;
    }
    buf.resize(buf.size() * 2);  // cut short: try a larger buffer
  }
  std::wstring exe(buf.begin(), buf.end());
  const std::size_t cut = exe.find_last_of(L"\\/");
  const std::wstring dir = cut == std::wstring::npos ? std::wstring(L".\\") : exe.substr(0, cut + 1);
  const std::string out = WinNar(dir);
  return out.empty() ? ".\\" : out;
}
