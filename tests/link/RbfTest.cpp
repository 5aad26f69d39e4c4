// Ring buffers and their lock-wrapped operations.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "core/Globals.h"
#include "link/MtxAndRbf.h"
#include "support/FakePlatform.h"

namespace {

template <class T>
class RbfTest : public ::testing::Test {
protected:
  TFakePlatform Plt;
  T Buf;
};
using RbfTypes = ::testing::Types<TTxMtxAndRbf, TRxMtxAndRbf>;
TYPED_TEST_SUITE(RbfTest, RbfTypes);

TYPED_TEST(RbfTest, FirstByteGoesToSlotZero) {
  auto& b = this->Buf;
  ASSERT_TRUE(b.IsCrt());
  EXPECT_FALSE(b.DatAvl());
  EXPECT_EQ(b.WrIdx(), 1023);
  EXPECT_EQ(b.RdIdx(), 1023);
  ASSERT_TRUE(b.PutChr(0x5A));
  EXPECT_TRUE(b.DatAvl());
  EXPECT_EQ(b.WrIdx(), 0);
  EXPECT_EQ(b.SltAt(0), 0x5A);
  std::uint8_t c = 0;
  ASSERT_TRUE(b.GetChr(c));
  EXPECT_EQ(c, 0x5A);
  EXPECT_FALSE(b.DatAvl());
}

TYPED_TEST(RbfTest, HoldsAtMost1023BytesAndKeepsThemWhenFull) {
  auto& b = this->Buf;
  EXPECT_EQ(b.FreSpc(), 1023);
  for (int i = 0; i < 1023; ++i) ASSERT_TRUE(b.PutChr(static_cast<std::uint8_t>(i * 7))) << i;
  EXPECT_EQ(b.FreSpc(), 0);
  GuLstErrMsg.clear();
  EXPECT_FALSE(b.PutChr(0xEE));
  EXPECT_EQ(GuLstErrMsg, b.Dir() + " ringbuffer is full");
  for (int i = 0; i < 1023; ++i) {
    std::uint8_t c = 0;
    ASSERT_TRUE(b.GetChr(c));
    EXPECT_EQ(c, static_cast<std::uint8_t>(i * 7)) << i;
  }
  EXPECT_FALSE(b.DatAvl());
  EXPECT_EQ(b.WrIdx(), 1022);
  EXPECT_EQ(b.RdIdx(), 1022);
}

TYPED_TEST(RbfTest, OrderSurvivesTheWrapAndEmptyGetSaysNothing) {
  auto& b = this->Buf;
  std::uint8_t c = 0;
  for (int i = 0; i < 1000; ++i) ASSERT_TRUE(b.PutChr(0) && b.GetChr(c));
  for (int i = 0; i < 600; ++i) ASSERT_TRUE(b.PutChr(static_cast<std::uint8_t>(i)));
  EXPECT_EQ(b.FreSpc(), 423);  // across the wrap
  for (int i = 0; i < 600; ++i) {
    ASSERT_TRUE(b.GetChr(c));
    ASSERT_EQ(c, static_cast<std::uint8_t>(i)) << i;
  }
  EXPECT_LT(b.WrIdx(), 1000);  // wrapped
  GuLstErrMsg = "unchanged";
  EXPECT_FALSE(b.GetChr(c));
  EXPECT_EQ(GuLstErrMsg, "unchanged");
  ASSERT_TRUE(b.IniRbf());
  EXPECT_EQ(b.WrIdx(), 1023);
}

TYPED_TEST(RbfTest, WorkerThreadsNeverWriteTheLastError) {
  auto& b = this->Buf;
  GuLstErrMsg = "ui";
  int refused = 0;
  std::thread w([&] {
    LnkMrkWrkThr();
    for (int i = 0; i < 1100; ++i)
      if (!LckPutChr(b, 1)) ++refused;
  });
  w.join();
  EXPECT_EQ(refused, 1100 - 1023);
  EXPECT_EQ(GuLstErrMsg, "ui");
  EXPECT_FALSE(LckPutChr(b, 1));
  EXPECT_EQ(GuLstErrMsg, b.Dir() + " ringbuffer is full");
}

// The lock wrappers wait in slices; on the user interface thread pending
// events run between slices, on other threads they do not.
class LckSlcTest : public ::testing::TestWithParam<bool> {};

TEST_P(LckSlcTest, WaitsInSlicesAndLetsEventsRunOnlyOnTheUiThread) {
  TFakePlatform plt;
  plt.EvtLoop.UiThread = GetParam();
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
  EXPECT_GE(TMtxAndRbf::LckSlcCnt(), base + 3);
  if (GetParam())
    EXPECT_GE(plt.EvtLoop.PrcMsgCnt, 3);
  else
    EXPECT_EQ(plt.EvtLoop.PrcMsgCnt, 0);
  std::uint8_t c = 0;
  EXPECT_TRUE(LckDatAvl(b));
  EXPECT_TRUE(LckGetChr(b, c));
  EXPECT_EQ(c, 0x42);
}

INSTANTIATE_TEST_SUITE_P(UiOrWorker, LckSlcTest, ::testing::Bool());

}  // namespace
