// A small set of auto-reset events that one thread waits for, in the manner of
// the operating system's event objects: any thread may signal an event, the
// owning thread takes the lowest signalled one. Signalled bits live in an
// atomic word; an eventfd wakes the owner from poll(), which can watch one
// more descriptor (the port) at the same time.
#pragma once

#include <atomic>
#include <cstdint>

struct pollfd;

class TLnkEvt {
public:
  TLnkEvt();
  ~TLnkEvt();
  TLnkEvt(const TLnkEvt&) = delete;
  TLnkEvt& operator=(const TLnkEvt&) = delete;

  // The wake-up descriptor could be created.
  bool Ok() const { return FiFd >= 0; }
  // The wake-up descriptor (an eventfd), for tests that fill its counter.
  int Fd() const { return static_cast<int>(FiFd); }
  // Signal event i from any thread and wake the owner; false when the wake-up
  // could not be given.
  bool Set(unsigned i);
  // Signal event i from the owning thread itself (no wake-up needed).
  void SetLoc(unsigned i) { FuSig.fetch_or(1u << i, std::memory_order_acq_rel); }
  void Rst(unsigned i) { FuSig.fetch_and(~(1u << i), std::memory_order_acq_rel); }
  bool IsSet(unsigned i) const { return FuSig.load(std::memory_order_acquire) & (1u << i); }
  bool Pnd() const { return FuSig.load(std::memory_order_acquire) != 0; }
  // Take (and clear) the lowest signalled event; -1 when none is signalled.
  int Tak();
  // Wait until an event is signalled, the extra descriptor (if any) is ready
  // or timeoutMs passes (-1: no limit). Returns at once when an event is
  // already signalled. ext->revents tells about the extra descriptor. False
  // when the wait itself failed.
  bool Wai(pollfd* ext, int timeoutMs);
  // Close the wake-up descriptor; false when closing failed.
  bool Cls();

private:
  std::atomic<std::uint32_t> FuSig{0};
  // The eventfd; in the Windows build (LnkEvtWin.cpp) the handle of an
  // auto-reset event, and Wai takes no extra descriptor there.
  std::intptr_t FiFd = -1;
};
