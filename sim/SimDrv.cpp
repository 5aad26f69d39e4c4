#include "sim/SimDrv.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <cstdlib>

#include "link/SerLin.h"

namespace {
// How often the peer's presence is looked at on a pseudo-terminal.
constexpr TSimWal GcPeerItv = 50000;
}  // namespace

TSimDrv::TSimDrv() {
  FLnk.FOutBkl = [this] { return FOut.Siz(); };
}
TSimDrv::~TSimDrv() { Cls(); }

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

void TSimDrv::SetPac(bool on) {
  FIn.SetOn(on);
  FOut.SetOn(on);
}

TSimTim TSimDrv::MdlAt(TSimWal w) const {
  return FiMdlBas + static_cast<TSimTim>(static_cast<double>(w - FiWalBas) * FdSpd);
}

void TSimDrv::SetSpd(double fac, TSimWal now) {
  if (!(fac > 0)) return;
  if (!FbSta) {
    FdSpd = fac;
    return;
  }
  FRbt.AdvTo(std::max(FRbt.Now(), MdlAt(now)));
  FiMdlBas = FRbt.Now();
  FiWalBas = now;
  FdSpd = fac;
}

void TSimDrv::Sta(TSimWal now) {
  if (FbSta) return;
  FbSta = true;
  FiWalBas = now;
  FiMdlBas = FRbt.Now();
  FiNxtPeer = now;
  if (FhFd >= 0 && !FbPty) FLnk.SetUp(true, now);
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

void TSimDrv::Rd(TSimWal now) {
  if (FhFd < 0 || !FLnk.Up()) return;
  std::uint8_t buf[512];
  for (;;) {
    const ssize_t n = ::read(FhFd, buf, sizeof buf);
    if (n <= 0) {
      if (n < 0 && errno == EINTR) continue;
      // EIO: the peer has just closed the line; the next look notices it.
      if (n < 0 && errno == EIO) FiNxtPeer = now;
      break;
    }
    for (ssize_t i = 0; i < n; ++i) FIn.Psh(buf[i], now);
    FiRcvCnt += static_cast<std::uint64_t>(n);
  }
}

void TSimDrv::Wr(TSimWal now) {
  auto& q = FLnk.Out();
  while (!q.empty()) {
    FOut.Psh(q.front(), now);
    q.pop_front();
  }
  if (FhFd < 0 || !FLnk.Up()) {
    FOut.Clr();
    return;
  }
  std::uint8_t b;
  std::uint8_t buf[512];
  std::size_t n = 0;
  while (n < sizeof buf && FOut.Pop(now, b)) buf[n++] = b;
  std::size_t off = 0;
  while (off < n) {
    const ssize_t w = ::write(FhFd, buf + off, n - off);
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) break;  // the line is full or gone: the bytes are lost, like on a wire
    off += static_cast<std::size_t>(w);
  }
}

void TSimDrv::Poll(TSimWal now) {
  // A window may poll before its owner has started the clocks: the model's
  // time then counts from this first poll, not from the wall clock's origin.
  if (!FbSta) Sta(now);
  ChkPeer(now);
  Rd(now);
  // Received bytes reach the robot at their wire times, the model following.
  std::uint8_t b;
  while (!FIn.Emp() && FIn.NxtDue() <= now) {
    const TSimWal t = FIn.NxtDue();
    FIn.Pop(now, b);
    FRbt.AdvTo(std::max(FRbt.Now(), MdlAt(t)));
    FLnk.RcvByt(b, t);
  }
  FRbt.AdvTo(std::max(FRbt.Now(), MdlAt(now)));
  FLnk.Tck(now);
  Wr(now);
}

bool TSimDrv::Mov() const {
  auto blk = [](TeLed l) { return l != TeLed::Off && l != TeLed::On; };
  return (FRbt.Running() && !FRbt.Paused()) || FRbt.Wld().Whl() != TeWhl::Stp || blk(FRbt.SysLed()) ||
         blk(FRbt.BckLed());
}

TSimWal TSimDrv::NxtDue(TSimWal now, TSimWal lim) const {
  TSimWal t = now + lim;
  auto mn = [&](TSimWal x) {
    if (x >= 0) t = std::min(t, std::max(x, now));
  };
  // A frame at a time each way: a wake-up for each byte would cost the
  // robot's thread and the link's three as much again.
  mn(FIn.RunDue(GcWirRun));
  mn(FOut.RunDue(GcWirRun));
  mn(FLnk.NxtTck());
  // While the peer is up its hang-up wakes the loop (the line is in its
  // poll), so the line is looked at on a schedule only while it is down.
  if (FbPty && !FLnk.Up()) mn(FiNxtPeer);
  if (FRbt.Running() || Mov()) mn(now + 10000);  // the window follows the robot's motion
  if (!FLnk.OutEmp()) mn(now);
  return t;
}
