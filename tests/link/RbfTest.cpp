// Ring buffers and their lock-wrapped operations, the threads' events and
// the line's event sets.
#include <gtest/gtest.h>

#include <sys/ioctl.h>
#include <unistd.h>

#include <atomic>
#include <new>
#include <thread>

#include "core/Globals.h"
#include "link/ComPort2p5.h"
#include "link/MtxAndRbf.h"
#include "link/SerLin.h"
#include "support/FakePlatform.h"

namespace {
// The allocation without exceptions that fails: the n-th from now; 0 none.
std::atomic<int> GiNewFai{0};
}  // namespace

void* operator new(std::size_t n, const std::nothrow_t&) noexcept {
  if (GiNewFai.load() > 0 && GiNewFai.fetch_sub(1) == 1) return nullptr;
  try {
    return ::operator new(n);
  } catch (...) {
    return nullptr;
  }
}

namespace {

// A buffer whose lock could not be made takes and gives nothing, and says why.
TEST(Rbf, WithoutItsLockNothingGoesInOrOut) {
  GuLstErrMsg.clear();
  GiNewFai = 1;
  TRxMtxAndRbf b;
  GiNewFai = 0;
  EXPECT_EQ(GuLstErrMsg, "Rx mutex creation error");
  std::uint8_t c = 7;
  EXPECT_FALSE(LckPutChr(b, 1));
  EXPECT_FALSE(LckDatAvl(b));
  EXPECT_FALSE(LckGetChr(b, c));
  EXPECT_EQ(c, 7);
}

// Both buffers: the first byte in slot 0, 1023 bytes at most and kept when
// full, the order across the wrap, an empty take that says nothing.
TEST(Rbf, HoldsUpTo1023BytesInOrderAcrossTheWrap) {
  TFakePlatform plt;
  TTxMtxAndRbf tx;
  TRxMtxAndRbf rx;
  for (TMtxAndRbf* b : {static_cast<TMtxAndRbf*>(&tx), static_cast<TMtxAndRbf*>(&rx)}) {
    SCOPED_TRACE(b->Dir());
    std::uint8_t c = 0;
    ASSERT_TRUE(b->IsCrt() && b->PutChr(0x5A));
    EXPECT_EQ(b->SltAt(0), 0x5A);
    ASSERT_TRUE(b->GetChr(c) && c == 0x5A);
    for (int i = 0; i < 999; ++i) ASSERT_TRUE(b->PutChr(0) && b->GetChr(c));
    for (int i = 0; i < 1023; ++i) ASSERT_TRUE(b->PutChr(static_cast<std::uint8_t>(i * 7))) << i;
    EXPECT_EQ(b->FreSpc(), 0);
    GuLstErrMsg.clear();
    EXPECT_FALSE(b->PutChr(0xEE));
    EXPECT_EQ(GuLstErrMsg, b->Dir() + " ringbuffer is full");
    for (int i = 0; i < 600; ++i) ASSERT_TRUE(b->GetChr(c) && c == static_cast<std::uint8_t>(i * 7)) << i;
    EXPECT_EQ(b->FreSpc(), 600);
    for (int i = 600; i < 1023; ++i) ASSERT_TRUE(b->GetChr(c) && c == static_cast<std::uint8_t>(i * 7)) << i;
    EXPECT_FALSE(b->DatAvl());
    GuLstErrMsg = "unchanged";
    EXPECT_FALSE(b->GetChr(c));
    EXPECT_EQ(GuLstErrMsg, "unchanged");
    ASSERT_TRUE(b->PutChr(1) && b->IniRbf());
    EXPECT_FALSE(b->DatAvl());
    EXPECT_EQ(b->FreSpc(), 1023);
  }
}

// The lock wrappers wait in slices; on the user interface thread pending
// events run between slices, on other threads they do not, and worker
// threads never write the last error.
TEST(Rbf, LockWrappersOnTheUiAndOnWorkerThreads) {
  for (const bool ui : {true, false}) {
    TFakePlatform plt;
    plt.EvtLoop.UiThread = ui;
    TTxMtxAndRbf b;
    TMtxAndRbf::SetLckSlc(std::chrono::milliseconds(2));
    std::atomic<bool> held{false};
    const std::uint64_t base = TMtxAndRbf::LckSlcCnt();
    std::thread holder([&] {
      b.Mtx()->lock();
      held = true;
      while (TMtxAndRbf::LckSlcCnt() < base + 3) std::this_thread::yield();
      b.Mtx()->unlock();
    });
    while (!held) std::this_thread::yield();
    EXPECT_TRUE(LckPutChr(b, 0x42));
    holder.join();
    TMtxAndRbf::SetLckSlc(std::chrono::milliseconds(100));
    EXPECT_EQ(plt.EvtLoop.PrcMsgCnt >= 3, ui);
    std::uint8_t c = 0;
    EXPECT_TRUE(LckDatAvl(b) && LckGetChr(b, c) && c == 0x42);
  }
  // A slice of nothing would spin: it is one millisecond.
  TMtxAndRbf::SetLckSlc(std::chrono::milliseconds(0));
  EXPECT_EQ(TMtxAndRbf::LckSlc(), std::chrono::milliseconds(1));
  TMtxAndRbf::SetLckSlc(std::chrono::milliseconds(100));
  TFakePlatform plt;
  TRxMtxAndRbf b;
  GuLstErrMsg = "ui";
  int refused = 0;
  std::thread w([&] {
    LnkMrkWrkThr();
    for (int i = 0; i < 1100; ++i) refused += !LckPutChr(b, 1);
  });
  w.join();
  EXPECT_EQ(refused, 1100 - 1023);
  EXPECT_EQ(GuLstErrMsg, "ui");
}

TEST(LnkEvt, EventsComeLowestFirstAndAFullCounterStillWakes) {
  TLnkEvt e;
  const std::uint64_t max = 0xFFFFFFFFFFFFFFFEu;
  ASSERT_EQ(::write(e.Fd(), &max, sizeof max), 8);
  EXPECT_TRUE(e.Set(3));
  EXPECT_TRUE(e.Set(1));
  EXPECT_TRUE(e.Wai(nullptr, 0));
  EXPECT_EQ(e.Tak(), 1);
  EXPECT_EQ(e.Tak(), 3);
  EXPECT_EQ(e.Tak(), -1);
  EXPECT_TRUE(e.Cls());
  EXPECT_FALSE(e.Set(2));
}

TEST(SerLin, ModemLineChangesBecomeLineEvents) {
  TMdmSmp a, b, c, d;
  a.Cnt = b.Cnt = true;
  b.Rng = 1;
  b.Dcd = 2;
  b.Err = 1;
  EXPECT_EQ(MdmEvt(a, b), EV_RING | EV_RLSD | EV_ERR);
  c.Lin = d.Lin = true;
  c.Sts = TIOCM_CTS | TIOCM_DSR;
  d.Sts = TIOCM_DSR | TIOCM_RI;
  EXPECT_EQ(MdmEvt(c, d), EV_CTS | EV_RING);
  EXPECT_EQ(MdmEvt(TMdmSmp{}, d), 0u);  // nothing to compare with
  EXPECT_EQ(ComEvtMsk(evRing | evRlsd), 0x120u);
  EXPECT_EQ(ComEvtMsk(0x1FF), 0x1FFu);
  EXPECT_EQ(LinSetTxt(GcRbtLin), "2400 baud, 8N1");
  EXPECT_EQ(LinSetTxt(TLinSet{4, 6, 4, 2}), "2400 baud, 7S2");
  EXPECT_EQ(LinSetTxt(TLinSet{4, 9, 5, 3}), "2400 baud, 8N1");  // out of range: the robot's own
  EXPECT_EQ(RbtLinMs(240), 1000);  // ten bits a byte
}

}  // namespace
