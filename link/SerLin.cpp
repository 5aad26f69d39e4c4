#include "link/SerLin.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace {

struct TBauSpd {
  std::uint32_t Bau;
  speed_t Spd;  // 0: no constant, set through SetBauOth
};

constexpr TBauSpd GcBauTbl[15] = {
    {110, B110},     {300, B300},     {600, B600},       {1200, B1200},   {2400, B2400},
    {4800, B4800},   {9600, B9600},   {14400, 0},        {19200, B19200}, {38400, B38400},
    {56000, 0},      {57600, B57600}, {115200, B115200}, {128000, 0},     {256000, 0},
};

speed_t SpdOf(std::uint32_t baud) {
  for (const auto& e : GcBauTbl)
    if (e.Bau == baud) return e.Spd;
  return 0;
}

std::uint32_t BauOf(speed_t spd) {
  for (const auto& e : GcBauTbl)
    if (e.Spd == spd && e.Spd != 0) return e.Bau;
  return 0;
}

}  // namespace

bool SetRbtLin(int fd) { return SetLinCfg(fd, BauRat(GcRbtLin.BauIdx), GcRbtLin.DatIdx, GcRbtLin.Prt, GcRbtLin.StpIdx); }

TTtyOpn OpnTty(const std::string& pth) {
  TTtyOpn r;
  const int fd = ::open(pth.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    r.Err = errno;
    return r;
  }
  if (!::isatty(fd)) {
    r.Stp = TeTtyOpn::Tty;
    r.Err = ENOTTY;
    ::close(fd);
    return r;
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    r.Stp = TeTtyOpn::Lck;
    r.Err = errno;
    ::close(fd);
    return r;
  }
  r.Stp = TeTtyOpn::Ok;
  r.Fd = fd;
  return r;
}

bool MakLinCfg(termios& t, std::uint8_t datIdx, std::uint8_t prt, std::uint8_t stpIdx) {
  const int bits = LinDatBts(datIdx);
  if (bits < 5 || prt > 4) return false;
  const int stp = stpIdx <= 2 ? stpIdx : 0;  // 0 one, 1 one and a half, 2 two
  if (stp == 1 && bits != 5) return false;
  ::cfmakeraw(&t);
  t.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK | IGNPAR | PARMRK);
  t.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
  t.c_cflag |= CLOCAL | CREAD;
  static constexpr tcflag_t siz[4] = {CS5, CS6, CS7, CS8};
  t.c_cflag |= siz[bits - 5];
  switch (prt) {
    case 1: t.c_cflag |= PARENB | PARODD; break;
    case 2: t.c_cflag |= PARENB; break;
    case 3: t.c_cflag |= PARENB | PARODD | CMSPAR; break;
    case 4: t.c_cflag |= PARENB | CMSPAR; break;
    default: break;
  }
  if (prt != 0) t.c_iflag |= INPCK;
  // Two stop bits, and with five data bits one and a half: the UART decides by
  // the word length.
  if (stp != 0) t.c_cflag |= CSTOPB;
  t.c_cc[VMIN] = 1;
  t.c_cc[VTIME] = 0;
  return true;
}

bool SetLinCfg(int fd, std::uint32_t baud, std::uint8_t datIdx, std::uint8_t prt, std::uint8_t stpIdx) {
  termios t{};
  if (::tcgetattr(fd, &t) != 0 || !MakLinCfg(t, datIdx, prt, stpIdx)) return false;
  const speed_t spd = SpdOf(baud);
  if (spd != 0 && ::cfsetspeed(&t, spd) != 0) return false;
  if (::tcsetattr(fd, TCSANOW, &t) != 0) return false;
  if (spd == 0 && !SetBauOth(fd, baud)) return false;

  termios r{};
  if (::tcgetattr(fd, &r) != 0) return false;
  const tcflag_t cmp = CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS | CLOCAL | CREAD;
  if ((r.c_cflag & cmp) != (t.c_cflag & cmp)) return false;
  if ((r.c_iflag & (IXON | IXOFF | INPCK)) != (t.c_iflag & (IXON | IXOFF | INPCK))) return false;
  if (GetLinBau(fd) != baud) return false;

  // DTR and RTS on; a device without modem lines has nothing to switch.
  int lin = TIOCM_DTR | TIOCM_RTS;
  ::ioctl(fd, TIOCMBIS, &lin);
  return true;
}

std::uint32_t GetLinBau(int fd) {
  termios t{};
  if (::tcgetattr(fd, &t) != 0) return 0;
  const speed_t o = ::cfgetospeed(&t);
  if (o != ::cfgetispeed(&t) && ::cfgetispeed(&t) != 0) return 0;
  // A rate without a constant reads back through the kernel's own structure.
  const std::uint32_t b = BauOf(o);
  return b != 0 ? b : GetBauOth(fd);
}

TMdmSmp SmpMdm(int fd) {
  TMdmSmp s;
  serial_icounter_struct c{};
  if (::ioctl(fd, TIOCGICOUNT, &c) == 0) {
    s.Cnt = true;
    s.Cts = static_cast<std::uint32_t>(c.cts);
    s.Dsr = static_cast<std::uint32_t>(c.dsr);
    s.Rng = static_cast<std::uint32_t>(c.rng);
    s.Dcd = static_cast<std::uint32_t>(c.dcd);
    s.Brk = static_cast<std::uint32_t>(c.brk);
    s.Err = static_cast<std::uint32_t>(c.frame + c.overrun + c.parity + c.buf_overrun);
  }
  int sts = 0;
  if (::ioctl(fd, TIOCMGET, &sts) == 0) {
    s.Lin = true;
    s.Sts = sts;
  }
  return s;
}

std::uint32_t MdmEvt(const TMdmSmp& a, const TMdmSmp& b) {
  std::uint32_t m = 0;
  if (a.Cnt && b.Cnt) {
    if (a.Cts != b.Cts) m |= EV_CTS;
    if (a.Dsr != b.Dsr) m |= EV_DSR;
    if (a.Dcd != b.Dcd) m |= EV_RLSD;
    if (a.Rng != b.Rng) m |= EV_RING;
    if (a.Brk != b.Brk) m |= EV_BREAK;
    if (a.Err != b.Err) m |= EV_ERR;
  }
  if (a.Lin && b.Lin) {
    const int d = a.Sts ^ b.Sts;
    if (d & TIOCM_CTS) m |= EV_CTS;
    if (d & TIOCM_DSR) m |= EV_DSR;
    if (d & TIOCM_CD) m |= EV_RLSD;
    if (d & TIOCM_RI) m |= EV_RING;
  }
  return m;
}
