// Port names on Windows: "COMn" is the system's port "\\.\COMn" (or the
// device its setting maps it to); the ports present are the ones the system
// lists in the registry under HARDWARE\DEVICEMAP\SERIALCOMM. Whether another
// program holds a port cannot be seen without opening it: Windows gives a
// port to one program at a time, and refuses the open to any other.
#include "link/PrtNam.h"

#include <windows.h>

#include <algorithm>

#include "core/StrUtl.h"

namespace {

// The names of the ports in SERIALCOMM ("COM3"), as the system lists them.
std::vector<std::string> SysComPrt() {
  std::vector<std::string> out;
  HKEY k = nullptr;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &k) != ERROR_SUCCESS)
    return out;
  for (DWORD i = 0;; ++i) {
    char nam[256];
    BYTE dat[256];
    DWORD namLen = sizeof nam, datLen = sizeof dat - 1, typ = 0;
    const LONG r = ::RegEnumValueA(k, i, nam, &namLen, nullptr, &typ, dat, &datLen);
    if (r == ERROR_NO_MORE_ITEMS) break;
    if (r != ERROR_SUCCESS || typ != REG_SZ) continue;
    dat[datLen] = 0;
    out.emplace_back(reinterpret_cast<const char*>(dat));
  }
  ::RegCloseKey(k);
  return out;
}

// The port's number when pth is "\\.\COMn" or "COMn"; 0 otherwise.
int DevNum(const std::string& pth) {
  const std::string pfx = "\\\\.\\";
  return PrtNum(pth.rfind(pfx, 0) == 0 ? pth.substr(pfx.size()) : pth);
}

// The system's name of a device path: "COM3" for "\\.\COM3".
std::string SysNam(const std::string& pth) {
  const std::string pfx = "\\\\.\\";
  return pth.rfind(pfx, 0) == 0 ? pth.substr(pfx.size()) : pth;
}

}  // namespace

std::string PrtDevPth(const std::string& name) {
  if (name.rfind("\\\\.\\", 0) == 0) return name;
  const int n = PrtNum(name);
  if (n == 0) return {};
  if (std::string pth = PrtMapPth(n); !pth.empty()) return pth;
  return "\\\\.\\COM" + std::to_string(n);
}

bool PrtPrs(const std::string& name) {
  const std::string pth = PrtDevPth(name);
  if (pth.empty()) return false;
  const std::string sys = SysNam(pth);
  for (const std::string& p : SysComPrt())
    if (EqlNoCase(p, sys)) return true;
  // A port that the registry does not list (a driver that keeps no record
  // there) is present when the system knows its device name.
  char tgt[1024];
  return ::QueryDosDeviceA(sys.c_str(), tgt, sizeof tgt) != 0;
}

TPrtHldr PrtHldr(const std::string&, const std::vector<std::string>&) { return {}; }

bool PrbComPrt(int n, bool& inUse) {
  inUse = false;
  const std::string name = "COM" + std::to_string(n);
  if (!PrtPrs(name)) return false;
  // The one way to tell: try to open it. It is closed again at once.
  HANDLE h = ::CreateFileA(PrtDevPth(name).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_FLAG_OVERLAPPED, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    const DWORD e = ::GetLastError();
    inUse = e == ERROR_ACCESS_DENIED || e == ERROR_SHARING_VIOLATION;
    return true;
  }
  ::CloseHandle(h);
  return true;
}

TLnkPrt LnkPrt(const std::string& lnk) {
  // Windows has no links to serial devices; a device name given stands for
  // the COM port of its number.
  TLnkPrt res;
  const int n = DevNum(lnk);
  if (n == 0 || !PrtPrs("COM" + std::to_string(n))) return res;
  res.Num = n;
  res.Lst = true;
  res.Dev = PrtDevPth("COM" + std::to_string(n));
  return res;
}
