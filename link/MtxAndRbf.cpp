#include "link/MtxAndRbf.h"

#include <atomic>
#include <new>

#include "core/Globals.h"
#include "core/Seams.h"

namespace {

std::atomic<std::int64_t> GiLckSlcMs{100};
std::atomic<std::uint64_t> GiLckSlcCnt{0};
thread_local bool GbLnkWrk = false;

// Take the mutex in slices; between slices let pending events run when on the
// user interface thread. False when there is no mutex.
bool LckMtx(TMtxAndRbf& b) {
  TLckMtx* m = b.Mtx();
  if (!m) return false;
  const bool ui = LnkOnUiThr();
  for (;;) {
    if (m->try_lock_for(TMtxAndRbf::LckSlc())) return true;
    GiLckSlcCnt.fetch_add(1, std::memory_order_relaxed);
    if (ui) PrcMsg();
  }
}

}  // namespace

void LnkMrkWrkThr() { GbLnkWrk = true; }

bool LnkOnUiThr() { return !GbLnkWrk && GuPlatform().EvtLoop->OnUiThread(); }

void TMtxAndRbf::SetLckSlc(std::chrono::milliseconds slc) {
  GiLckSlcMs.store(slc.count() > 0 ? slc.count() : 1);
}

std::chrono::milliseconds TMtxAndRbf::LckSlc() { return std::chrono::milliseconds(GiLckSlcMs.load()); }

std::uint64_t TMtxAndRbf::LckSlcCnt() { return GiLckSlcCnt.load(); }

TMtxAndRbf::TMtxAndRbf(const char* dir) : FsDir(dir) {
  FhMtx.reset(new (std::nothrow) TLckMtx);
  if (!FhMtx) {
    GuLstErrMsg = FsDir + " mutex creation error";
    return;
  }
  FpRbf.reset(new (std::nothrow) std::uint8_t[GcRbfSiz]());
  if (!FpRbf) {
    GuLstErrMsg = FsDir + " ringbuffer creation error";
    return;
  }
  IniRbf();
}

TMtxAndRbf::~TMtxAndRbf() = default;

bool TMtxAndRbf::IniRbf() {
  if (!FpRbf) {
    if (LnkOnUiThr()) GuLstErrMsg = "no " + FsDir + " ringbuffer memory allocated";
    return false;
  }
  FiWrIdx = GcRbfSiz - 1;
  FiRdIdx = GcRbfSiz - 1;
  return true;
}

bool TMtxAndRbf::PutChr(std::uint8_t b) {
  if (!FpRbf) return false;
  const std::int32_t n = Nxt(FiWrIdx);
  if (n == FiRdIdx) {
    if (LnkOnUiThr()) GuLstErrMsg = FsDir + " ringbuffer is full";
    return false;
  }
  FpRbf[n] = b;
  FiWrIdx = n;
  return true;
}

bool TMtxAndRbf::GetChr(std::uint8_t& b) {
  if (!FpRbf || FiRdIdx == FiWrIdx) return false;
  FiRdIdx = Nxt(FiRdIdx);
  b = FpRbf[FiRdIdx];
  return true;
}

bool TMtxAndRbf::DatAvl() const { return FpRbf && FiRdIdx != FiWrIdx; }

bool LckPutChr(TMtxAndRbf& b, std::uint8_t c) {
  if (!LckMtx(b)) return false;
  std::lock_guard<TLckMtx> g(*b.Mtx(), std::adopt_lock);
  return b.PutChr(c);
}

bool LckGetChr(TMtxAndRbf& b, std::uint8_t& c) {
  if (!LckMtx(b)) return false;
  std::lock_guard<TLckMtx> g(*b.Mtx(), std::adopt_lock);
  return b.GetChr(c);
}

bool LckDatAvl(TMtxAndRbf& b) {
  if (!LckMtx(b)) return false;
  std::lock_guard<TLckMtx> g(*b.Mtx(), std::adopt_lock);
  return b.DatAvl();
}

std::int32_t TMtxAndRbf::FreSpc() const {
  if (!FpRbf) return 0;
  const std::int32_t used = (FiWrIdx - FiRdIdx + GcRbfSiz) % GcRbfSiz;
  return GcRbfSiz - 1 - used;
}

std::size_t LckFreSpc(TMtxAndRbf& b) {
  if (!LckMtx(b)) return 0;
  std::lock_guard<TLckMtx> g(*b.Mtx(), std::adopt_lock);
  return static_cast<std::size_t>(b.FreSpc());
}
