// The simulated robot's line on a POSIX system: a pseudo-terminal of its own
// or a terminal device, read and written without waiting.
#include "sim/SimDrv.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "link/SerLin.h"

namespace {
// How often the peer's presence is looked at on a pseudo-terminal.
constexpr TSimWal GcPeerItv = 50000;
}  // namespace

void TSimDrv::Cls() {
  if (FhFd >= 0) ::close(FhFd);
  FhFd = -1;
  FsPth.clear();
}

bool TSimDrv::OpnPty(std::string& err) {
  Cls();
  const int m = ::posix_openpt(O_RDWR | O_NOCTTY);
  if (m < 0 || ::grantpt(m) != 0 || ::unlockpt(m) != 0) {
    err = std::string("cannot create a pseudo-terminal: ") + std::strerror(errno);
    if (m >= 0) ::close(m);
    return false;
  }
  const char* n = ::ptsname(m);
  if (!n) {
    err = "cannot name the pseudo-terminal";
    ::close(m);
    return false;
  }
  FsPth = n;
  // A raw line from the start: with the default line discipline the peer's
  // terminal would echo and translate bytes before it sets its own mode.
  const int s = ::open(n, O_RDWR | O_NOCTTY);
  if (s >= 0) {
    termios t{};
    if (::tcgetattr(s, &t) == 0) {
      ::cfmakeraw(&t);
      t.c_cflag |= CLOCAL | CREAD;
      ::tcsetattr(s, TCSANOW, &t);
    }
    ::close(s);
  }
  ::fcntl(m, F_SETFL, ::fcntl(m, F_GETFL) | O_NONBLOCK);
  FhFd = m;
  FbPty = true;
  return true;
}

bool TSimDrv::OpnDev(const std::string& path, std::string& err) {
  Cls();
  const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) {
    err = "cannot open " + path + ": " + std::strerror(errno);
    return false;
  }
  if (::isatty(fd) && !SetRbtLin(fd)) {
    err = "cannot set " + path + " to " + LinSetTxt(GcRbtLin);
    ::close(fd);
    return false;
  }
  FhFd = fd;
  FsPth = path;
  FbPty = false;
  return true;
}

void TSimDrv::ChkPeer(TSimWal now) {
  if (FhFd < 0 || !FbPty || now < FiNxtPeer) return;
  FiNxtPeer = now + GcPeerItv;
  pollfd p{FhFd, POLLIN, 0};
  if (::poll(&p, 1, 0) < 0) return;
  const bool up = !(p.revents & POLLHUP);
  if (up != FLnk.Up()) {
    FIn.Clr();
    FOut.Clr();
    FLnk.SetUp(up, now);
  }
}

std::ptrdiff_t TSimDrv::RdDev(std::uint8_t* buf, std::size_t n) {
  for (;;) {
    const ssize_t r = ::read(FhFd, buf, n);
    if (r > 0) return r;
    if (r < 0 && errno == EINTR) continue;
    // EIO: the peer has just closed the line.
    return r < 0 && errno == EIO ? -1 : 0;
  }
}

std::size_t TSimDrv::WrDev(const std::uint8_t* buf, std::size_t n) {
  for (;;) {
    const ssize_t w = ::write(FhFd, buf, n);
    if (w < 0 && errno == EINTR) continue;
    return w > 0 ? static_cast<std::size_t>(w) : 0;
  }
}
