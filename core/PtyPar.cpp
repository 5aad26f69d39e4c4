#include "core/PtyPar.h"

#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>

void MakRaw(int fd) {
  termios t{};
  if (::tcgetattr(fd, &t) != 0) return;
  ::cfmakeraw(&t);
  t.c_cflag |= CLOCAL | CREAD;
  ::tcsetattr(fd, TCSANOW, &t);
}

TPty::TPty() {
  if (::openpty(&FiMst, &FiSlv, nullptr, nullptr, nullptr) != 0) throw std::runtime_error("openpty failed");
  MakRaw(FiMst);
  MakRaw(FiSlv);
  FsPth = ::ttyname(FiSlv);
}

TPty::~TPty() {
  ClsMst();
  if (FiSlv >= 0) ::close(FiSlv);
}

bool TPty::Wr(const std::vector<std::uint8_t>& b) {
  std::size_t off = 0;
  while (off < b.size()) {
    const ssize_t n = ::write(FiMst, b.data() + off, b.size() - off);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    off += static_cast<std::size_t>(n);
  }
  return true;
}

std::vector<std::uint8_t> TPty::Rd(std::size_t n, std::chrono::milliseconds timeout) {
  std::vector<std::uint8_t> out;
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (out.size() < n) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    pollfd p{FiMst, POLLIN, 0};
    if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) continue;
    std::uint8_t buf[4096];
    const ssize_t r = ::read(FiMst, buf, std::min(sizeof buf, n - out.size()));
    if (r > 0) out.insert(out.end(), buf, buf + r);
    else if (r < 0 && errno != EINTR && errno != EAGAIN) break;
  }
  return out;
}

int TPty::MstInQ() const {
  int n = 0;
  return ::ioctl(FiMst, FIONREAD, &n) == 0 ? n : -1;
}

int TPty::SlvInQ() const {
  int n = 0;
  return ::ioctl(FiSlv, FIONREAD, &n) == 0 ? n : -1;
}

void TPty::ClsMst() {
  if (FiMst >= 0) ::close(FiMst);
  FiMst = -1;
}
