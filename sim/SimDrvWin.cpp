// The simulated robot's line on Windows: a COM port, opened for waitless
// reads (what has come returns at once) and set to the robot's line. Windows
// has no pseudo-terminals, so the robot needs a port given to it (a null-modem
// pair of ports, or a port that Wine maps to a pseudo-terminal).
#include "sim/SimDrv.h"

#include <windows.h>

#include <io.h>

#include "core/WinUtl.h"
#include "link/LinSet.h"

namespace {
HANDLE Hdl(int fd) { return reinterpret_cast<HANDLE>(::_get_osfhandle(fd)); }
}  // namespace

void TSimDrv::Cls() {
  if (FhFd >= 0) ::_close(FhFd);
  FhFd = -1;
  FsPth.clear();
}

bool TSimDrv::OpnPty(std::string& err) {
  Cls();
  err = "this system has no pseudo-terminals: give the robot a COM port with --device";
  return false;
}

bool TSimDrv::OpnDev(const std::string& path, std::string& err) {
  Cls();
  const std::string dev = path.rfind("\\\\.\\", 0) == 0 || path.find('\\') != std::string::npos ? path : "\\\\.\\" + path;
  HANDLE h = ::CreateFileA(dev.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    err = "cannot open " + path + ": " + WinErrTxt(::GetLastError());
    return false;
  }
  DCB d{};
  d.DCBlength = sizeof d;
  COMMTIMEOUTS to{MAXDWORD, 0, 0, 0, 0};
  const bool ok = ::GetCommState(h, &d);
  d.BaudRate = BauRat(GcRbtLin.BauIdx);
  d.ByteSize = static_cast<BYTE>(LinDatBts(GcRbtLin.DatIdx));
  d.Parity = NOPARITY;
  d.StopBits = ONESTOPBIT;
  d.fBinary = 1;
  d.fParity = d.fOutxCtsFlow = d.fOutxDsrFlow = d.fOutX = d.fInX = 0;
  d.fDtrControl = DTR_CONTROL_ENABLE;
  d.fRtsControl = RTS_CONTROL_ENABLE;
  if (!ok || !::SetCommState(h, &d) || !::SetCommTimeouts(h, &to)) {
    err = "cannot set " + path + " to " + LinSetTxt(GcRbtLin);
    ::CloseHandle(h);
    return false;
  }
  FhFd = ::_open_osfhandle(reinterpret_cast<intptr_t>(h), 0);
  if (FhFd < 0) {
    ::CloseHandle(h);
    err = "cannot open " + path + ": " + WinErrTxt(ERROR_TOO_MANY_OPEN_FILES);
    return false;
  }
  FsPth = path;
  FbPty = false;
  return true;
}

// A port has no peer to watch: it is taken to be there.
void TSimDrv::ChkPeer(TSimWal) {}

std::ptrdiff_t TSimDrv::RdDev(std::uint8_t* buf, std::size_t n) {
  DWORD got = 0;
  if (!::ReadFile(Hdl(FhFd), buf, static_cast<DWORD>(n), &got, nullptr)) return 0;
  return static_cast<std::ptrdiff_t>(got);
}

std::size_t TSimDrv::WrDev(const std::uint8_t* buf, std::size_t n) {
  DWORD put = 0;
  if (!::WriteFile(Hdl(FhFd), buf, static_cast<DWORD>(n), &put, nullptr)) return 0;
  return put;
}
