// The event set of LnkEvt.h on Windows: the signalled bits in the atomic word,
// an auto-reset event object to wake the owner. There is no extra descriptor
// to watch beside it: Wai refuses one.
#include "link/LnkEvt.h"

#include <windows.h>

#include <bit>

namespace {
HANDLE Hdl(std::intptr_t v) { return reinterpret_cast<HANDLE>(v); }
}  // namespace

TLnkEvt::TLnkEvt() {
  HANDLE h = ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
  FiFd = h ? reinterpret_cast<std::intptr_t>(h) : -1;
}

TLnkEvt::~TLnkEvt() { Cls(); }

bool TLnkEvt::Set(unsigned i) {
  FuSig.fetch_or(1u << i, std::memory_order_acq_rel);
  return FiFd != -1 && ::SetEvent(Hdl(FiFd));
}

int TLnkEvt::Tak() {
  std::uint32_t s = FuSig.load(std::memory_order_acquire);
  while (s != 0) {
    const unsigned i = static_cast<unsigned>(std::countr_zero(s));
    if (FuSig.compare_exchange_weak(s, s & ~(1u << i), std::memory_order_acq_rel))
      return static_cast<int>(i);
  }
  return -1;
}

bool TLnkEvt::Wai(pollfd* ext, int timeoutMs) {
  if (FiFd == -1 || ext) return false;
  // A signal given after this check has also set the event object.
  if (Pnd()) return true;
  const DWORD r = ::WaitForSingleObject(Hdl(FiFd), timeoutMs < 0 ? INFINITE : static_cast<DWORD>(timeoutMs));
  return r == WAIT_OBJECT_0 || r == WAIT_TIMEOUT;
}

bool TLnkEvt::Cls() {
  if (FiFd == -1) return true;
  HANDLE h = Hdl(FiFd);
  FiFd = -1;
  return ::CloseHandle(h) != 0;
}
