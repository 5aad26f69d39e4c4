#include "link/LnkEvt.h"

#include <poll.h>

#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>

TLnkEvt::TLnkEvt() : FiFd(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

TLnkEvt::~TLnkEvt() { Cls(); }

bool TLnkEvt::Set(unsigned i) {
  FuSig.fetch_or(1u << i, std::memory_order_acq_rel);
  if (FiFd < 0) return false;
  const std::uint64_t one = 1;
  for (;;) {
    if (::write(Fd(), &one, sizeof one) == static_cast<ssize_t>(sizeof one)) return true;
    // A full counter still wakes the owner; only a real failure is reported.
    if (errno == EAGAIN) return true;
    if (errno != EINTR) return false;
  }
}

int TLnkEvt::Tak() {
  std::uint32_t s = FuSig.load(std::memory_order_acquire);
  while (s != 0) {
    const unsigned i = static_cast<unsigned>(__builtin_ctz(s));
    if (FuSig.compare_exchange_weak(s, s & ~(1u << i), std::memory_order_acq_rel))
      return static_cast<int>(i);
  }
  return -1;
}

bool TLnkEvt::Wai(pollfd* ext, int timeoutMs) {
  if (FiFd < 0) return false;
  pollfd p[2];
  p[0] = {Fd(), POLLIN, 0};
  nfds_t n = 1;
  if (ext) {
    ext->revents = 0;
    p[1] = *ext;
    n = 2;
  }
  // A signal given after this check has also written the descriptor, so the
  // poll below cannot sleep through it.
  const int r = ::poll(p, n, Pnd() ? 0 : timeoutMs);
  if (r < 0) return errno == EINTR;
  if (p[0].revents & POLLIN) {
    std::uint64_t cnt;
    if (::read(Fd(), &cnt, sizeof cnt) < 0 && errno != EAGAIN && errno != EINTR) return false;
  }
  if (p[0].revents & (POLLERR | POLLNVAL)) return false;
  if (ext) ext->revents = p[1].revents;
  return true;
}

bool TLnkEvt::Cls() {
  if (FiFd < 0) return true;
  const int fd = static_cast<int>(FiFd);
  FiFd = -1;
  return ::close(fd) == 0;
}
