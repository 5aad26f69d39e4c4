// The Win32 serial component on a line with a far end: the two COM ports that
// the environment names in TESSARO_WIN_COM_PAIR ("COM8,COM9"), the two ends
// of a pseudo-terminal pair that Wine maps to them. The component opens the
// first; the test plays the far end on the second with plain Win32 calls.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "link/LnkSes.h"
#include "support/FakePlatform.h"

namespace {

using namespace std::chrono_literals;

// The far end: reads return at once with what has come.
class TFar {
public:
  explicit TFar(const std::string& nam) {
    FhPrt = ::CreateFileA(("\\\\.\\" + nam).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                          nullptr);
    COMMTIMEOUTS to{MAXDWORD, 0, 0, 0, 0};
    if (FhPrt == INVALID_HANDLE_VALUE) return;
    ::SetCommTimeouts(FhPrt, &to);
    // What an earlier user of the pair left on the line (a robot's reports)
    // is not this test's.
    ::PurgeComm(FhPrt, PURGE_RXCLEAR | PURGE_TXCLEAR);
    while (!Rd(256, std::chrono::milliseconds(30)).empty()) {
    }
  }
  ~TFar() {
    if (Ok()) ::CloseHandle(FhPrt);
  }
  bool Ok() const { return FhPrt != INVALID_HANDLE_VALUE; }
  bool Wr(const std::vector<std::uint8_t>& b) {
    DWORD n = 0;
    return ::WriteFile(FhPrt, b.data(), static_cast<DWORD>(b.size()), &n, nullptr) && n == b.size();
  }
  // n bytes, or fewer when the time is up first.
  std::vector<std::uint8_t> Rd(std::size_t n, std::chrono::milliseconds tmo) {
    std::vector<std::uint8_t> out;
    const auto end = std::chrono::steady_clock::now() + tmo;
    while (out.size() < n && std::chrono::steady_clock::now() < end) {
      std::uint8_t buf[256];
      DWORD got = 0;
      if (::ReadFile(FhPrt, buf, static_cast<DWORD>(std::min(sizeof buf, n - out.size())), &got, nullptr) && got)
        out.insert(out.end(), buf, buf + got);
      else
        ::Sleep(1);  // the port offers no wait of its own here
    }
    return out;
  }

private:
  HANDLE FhPrt = INVALID_HANDLE_VALUE;
};

class ComLop : public testing::Test {
protected:
  void SetUp() override {
    const char* env = std::getenv("TESSARO_WIN_COM_PAIR");
    ASSERT_TRUE(env && std::string(env).find(',') != std::string::npos) << "TESSARO_WIN_COM_PAIR names no pair";
    const std::string pr = env;
    Nam = pr.substr(0, pr.find(','));
    Far = std::make_unique<TFar>(pr.substr(pr.find(',') + 1));
    ASSERT_TRUE(Far->Ok()) << "the far end cannot be opened";
    SetRbtLin(Com, "");
    BndComRbf(Com, Tx, Rx);
    Com.FiRdTmo = 50ms;
    Com.FOnComPrtComEvt = [this](TComport2p5*, std::uint8_t, std::uint32_t, std::uint8_t b) {
      std::lock_guard<std::mutex> lk(Mtx);
      Got.push_back(b);
    };
    Com.FOnComPrtCtlEvt = [](TComport2p5*, std::uint32_t) {};
    Com.FOnComPrtErrEvt = [](TComport2p5*, std::int8_t, const std::string&) {};
  }
  TOpnPrtRes Opn() {
    Com.FsPrtNam = Nam;
    return Com.OpnPrt();
  }
  // What has reached the component's owner once n bytes have or the time is up.
  std::vector<unsigned> Rcv(std::size_t n, std::chrono::milliseconds tmo) {
    const auto end = std::chrono::steady_clock::now() + tmo;
    for (;;) {
      {
        std::lock_guard<std::mutex> lk(Mtx);
        if (Got.size() >= n || std::chrono::steady_clock::now() >= end) return Got;
      }
      std::this_thread::sleep_for(2ms);
    }
  }
  TFakePlatform Fp;
  std::string Nam;
  std::unique_ptr<TFar> Far;
  std::mutex Mtx;
  std::vector<unsigned> Got;
  // The component as the link session binds it, its raw bytes to Got; after
  // what its threads reach, so that they end first.
  TTxMtxAndRbf Tx;
  TRxMtxAndRbf Rx;
  TComport2p5 Com{nullptr};
};

std::vector<std::uint8_t> AllBytes() {
  std::vector<std::uint8_t> b(256);
  for (int i = 0; i < 256; ++i) b[i] = static_cast<std::uint8_t>(i);
  return b;
}

TEST_F(ComLop, EveryByteValueCrossesBothWaysInOrder) {
  ASSERT_EQ(Opn(), TeOpnPrt::Ok);
  Com.FbBlkCbk = false;
  for (std::uint8_t b : AllBytes()) ASSERT_TRUE(Com.SndChr(b));
  EXPECT_EQ(Far->Rd(256, 5s), AllBytes());
  ASSERT_TRUE(Far->Wr(AllBytes()));
  const std::vector<std::uint8_t> all = AllBytes();
  EXPECT_EQ(Rcv(256, 5s), std::vector<unsigned>(all.begin(), all.end()));
}

TEST_F(ComLop, TheQuietPeriodHoldsWhatIsSentAndDropsWhatComes) {
  ASSERT_EQ(Opn(), TeOpnPrt::Ok);
  ASSERT_TRUE(Com.FbBlkCbk);
  ASSERT_TRUE(Com.SndChr(0x41));
  ASSERT_TRUE(Far->Wr({0x01, 0x02}));
  EXPECT_TRUE(Far->Rd(1, 200ms).empty()) << "nothing reaches the line in the quiet period";
  EXPECT_TRUE(Rcv(1, 200ms).empty()) << "nothing is delivered in the quiet period";
  Com.FbBlkCbk = false;
  EXPECT_EQ(Far->Rd(1, 2s), std::vector<std::uint8_t>{0x41}) << "the held byte goes out when it ends";
  ASSERT_TRUE(Far->Wr({0x03}));
  EXPECT_EQ(Rcv(1, 2s), std::vector<unsigned>{0x03});
}

TEST_F(ComLop, AReopenedPortCarriesOnAndASilentLineFiresNothing) {
  ASSERT_EQ(Opn(), TeOpnPrt::Ok);
  ASSERT_EQ(Com.OpnPrt(), TeOpnPrt::Ok) << "a second open reopens";
  Com.FbBlkCbk = false;
  const std::uint64_t emp = Com.FiEmpRdCnt.load();
  std::this_thread::sleep_for(300ms);
  EXPECT_GE(Com.FiEmpRdCnt.load(), emp + 2) << "silent reads end after their time and start again";
  EXPECT_TRUE(Rcv(1, 0ms).empty());
  ASSERT_TRUE(Com.SndChr(0x5A));
  EXPECT_EQ(Far->Rd(1, 2s), std::vector<std::uint8_t>{0x5A});
  EXPECT_TRUE(Com.StpThr());
  EXPECT_TRUE(Com.StaThr());
  ASSERT_TRUE(Far->Wr({0x7E}));
  EXPECT_EQ(Rcv(1, 2s), std::vector<unsigned>{0x7E}) << "restarted threads read again";
}

}  // namespace
