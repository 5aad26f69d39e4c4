// What the connection doctor asks Windows: the ports of the registry's
// SERIALCOMM key, whether the system lets this program open one, and the line.
#include "doctor/DocSys.h"

#include <windows.h>

#include <io.h>

#include <chrono>

#include "core/WinUtl.h"
#include "link/LinSet.h"

namespace {

HANDLE Hdl(int fd) { return reinterpret_cast<HANDLE>(::_get_osfhandle(fd)); }

// The system's name of a device: "COM3" for "\\.\COM3".
std::string SysNam(const std::string& dev) {
  const std::string pfx = "\\\\.\\";
  return dev.rfind(pfx, 0) == 0 ? dev.substr(pfx.size()) : dev;
}

// Sets the open port to the robot's line; reads wait at most as long as
// RdSome asks and return with what has come.
bool SetLin(HANDLE h) {
  DCB d{};
  d.DCBlength = sizeof d;
  if (!::GetCommState(h, &d)) return false;
  d.BaudRate = BauRat(GcRbtLin.BauIdx);
  d.ByteSize = static_cast<BYTE>(LinDatBts(GcRbtLin.DatIdx));
  d.Parity = NOPARITY;
  d.StopBits = ONESTOPBIT;
  d.fBinary = 1;
  d.fParity = 0;
  d.fOutxCtsFlow = d.fOutxDsrFlow = 0;
  d.fDtrControl = DTR_CONTROL_ENABLE;
  d.fRtsControl = RTS_CONTROL_ENABLE;
  d.fOutX = d.fInX = 0;
  return ::SetCommState(h, &d) != 0;
}

}  // namespace

std::vector<TSerDev> TDocSysWin::SerDevs() {
  std::vector<TSerDev> out;
  for (const std::string& p : ComPrts()) {
    TSerDev d;
    d.Dev = p;
    out.push_back(d);
  }
  return out;
}

TFilInf TDocSysWin::Stat(const std::string& path) {
  TFilInf inf;
  if (path.empty()) return inf;
  char tgt[1024];
  inf.Exs = ::QueryDosDeviceA(SysNam(path).c_str(), tgt, sizeof tgt) != 0 || PrtPrs(SysNam(path));
  inf.Chr = inf.Exs;
  return inf;
}

std::string TDocSysWin::RealPath(const std::string& path) { return path; }

std::vector<std::string> TDocSysWin::ComPrts() { return ScnComPrt(); }

std::string TDocSysWin::UserName() {
  char buf[256];
  DWORD n = sizeof buf;
  if (::GetUserNameA(buf, &n) && n > 1) return std::string(buf, n - 1);
  return "?";
}

IDocSys::THolder TDocSysWin::Locker(const std::string& dev) {
  THolder h;
  HANDLE p = ::CreateFileA(dev.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (p != INVALID_HANDLE_VALUE) {
    ::CloseHandle(p);
    return h;
  }
  const DWORD e = ::GetLastError();
  // Windows refuses the port to everyone while one program has it open, and
  // does not say which program that is.
  if (e == ERROR_ACCESS_DENIED || e == ERROR_SHARING_VIOLATION) h.Pid = -1;
  return h;
}

TeOpnRes TDocSysWin::OpnPrt(const std::string& path, int& fd, std::string& err) {
  fd = -1;
  HANDLE h = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    const DWORD e = ::GetLastError();
    err = WinErrTxt(e);
    if (e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND) return TeOpnRes::Missing;
    return e == ERROR_ACCESS_DENIED || e == ERROR_SHARING_VIOLATION ? TeOpnRes::Busy : TeOpnRes::Other;
  }
  if (!SetLin(h)) {
    err = WinErrTxt(::GetLastError());
    ::CloseHandle(h);
    return TeOpnRes::Other;
  }
  fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(h), 0);
  if (fd < 0) {
    err = WinErrTxt(ERROR_TOO_MANY_OPEN_FILES);
    ::CloseHandle(h);
    return TeOpnRes::Other;
  }
  return TeOpnRes::Ok;
}

bool TDocSysWin::WrtAll(int fd, const std::vector<std::uint8_t>& bytes) {
  HANDLE h = Hdl(fd);
  COMMTIMEOUTS to{0, 0, 0, 20, 1000};
  if (!::SetCommTimeouts(h, &to)) return false;
  DWORD n = 0;
  return ::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr) && n == bytes.size();
}

bool TDocSysWin::RdSome(int fd, int ms, std::vector<std::uint8_t>& out) {
  HANDLE h = Hdl(fd);
  // What has come returns at once; otherwise the first byte ends the wait.
  COMMTIMEOUTS to{MAXDWORD, MAXDWORD, static_cast<DWORD>(ms > 0 ? ms : 1), 0, 0};
  if (!::SetCommTimeouts(h, &to)) return false;
  std::uint8_t buf[256];
  DWORD n = 0;
  if (!::ReadFile(h, buf, sizeof buf, &n, nullptr)) return ::GetLastError() == ERROR_TIMEOUT;
  out.insert(out.end(), buf, buf + n);
  return true;
}

void TDocSysWin::ClsPrt(int fd) {
  if (fd >= 0) ::_close(fd);
}

std::int64_t TDocSysWin::NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}
