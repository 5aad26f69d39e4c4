// The serial component on a pseudo-terminal pair: the test plays the far end
// on the master, the component opens the slave.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>
#include <termios.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "LnkTstPty.h"
#include "core/Globals.h"
#include "link/LnkSes.h"
#include "link/ComPort2p5.h"
#include "link/MtxAndRbf.h"
#include "link/PrtNam.h"
#include "support/FakePlatform.h"

namespace {

using namespace std::chrono_literals;

// What the component reported, from whatever thread.
struct TRec : TLckRec {
  std::vector<std::uint8_t> Byt;
  std::vector<std::pair<int, std::string>> Err;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> Ler;
  std::vector<std::uint32_t> Ctl;
  int BadArg = 0;
  // The receive handler waits here while Gate is closed.
  bool Gate = true;

  std::size_t NByt() { return Get([&] { return Byt.size(); }); }
  bool HasErr(int code) {
    return Get([&] {
      for (auto& e : Err)
        if (e.first == code) return true;
      return false;
    });
  }
  void Opn(bool open) {
    Put([&] { Gate = open; });
  }
};

class ComPrtTest : public ::testing::Test {
protected:
  TFakePlatform Plt;
  TPty Pty;
  TTxMtxAndRbf Tx;
  TRxMtxAndRbf Rx;
  TRec Rec;
  std::unique_ptr<TComport2p5> Com;

  void SetUp() override { Com = MakCom(); }
  void TearDown() override { Com.reset(); }

  // A component wired as the main window wires it.
  std::unique_ptr<TComport2p5> MakCom() {
    auto c = std::make_unique<TComport2p5>(this);
    SetRbtLin(*c, Pty.Pth());
    TComport2p5* self = c.get();
    c->FOnComPrtComEvt = [this, self](TComport2p5* s, std::uint8_t kind, std::uint32_t extra, std::uint8_t d) {
      std::unique_lock<std::mutex> lk(Rec.M);
      if (s != self || kind != 2 || extra != 0) ++Rec.BadArg;
      Rec.Cv.wait(lk, [&] { return Rec.Gate; });
      Rec.Byt.push_back(d);
      Rec.Cv.notify_all();
    };
    c->FOnComPrtCtlEvt = [this](TComport2p5*, std::uint32_t m) { Rec.Put([&] { Rec.Ctl.push_back(m); }); };
    c->FOnComPrtErrEvt = [this](TComport2p5*, std::int8_t code, const std::string& t) {
      Rec.Put([&] { Rec.Err.emplace_back(code, t); });
    };
    c->FOnComPrtLerEvt = [this](TComport2p5*, std::uint32_t n, std::uint32_t e) {
      Rec.Put([&] { Rec.Ler.emplace_back(n, e); });
    };
    BndComRbf(*c, Tx, Rx);
    return c;
  }

  // Open and end the quiet period, as the main window does.
  void OpnLnk() {
    ASSERT_EQ(Com->OpnPrt(), TeOpnPrt::Ok);
    Com->FbBlkCbk = false;
  }

  bool Snd(const std::vector<std::uint8_t>& v) {
    for (auto b : v)
      if (!Com->SndChr(b)) return false;
    return true;
  }

  // Received bytes equal v (waits until as many have come).
  void ExpRcv(const std::vector<std::uint8_t>& v) {
    ASSERT_TRUE(Rec.Wait([&] { return Rec.Byt.size() >= v.size(); })) << Rec.NByt();
    EXPECT_EQ(Rec.Get([&] { return Rec.Byt; }), v);
  }

  // The far end sends v paced by what has been delivered, as a real line
  // would (a burst faster than the receive handler overflows the buffer).
  bool PacWr(const std::vector<std::uint8_t>& v) {
    const std::size_t base = Rec.NByt();
    for (std::size_t off = 0; off < v.size(); off += 256) {
      if (!Rec.Wait([&] { return Rec.Byt.size() + 512 >= base + off; })) return false;
      const auto end = v.begin() + static_cast<std::ptrdiff_t>(std::min(v.size(), off + 256));
      if (!Pty.Wr(std::vector<std::uint8_t>(v.begin() + static_cast<std::ptrdiff_t>(off), end))) return false;
    }
    return true;
  }

  // Let the I/O thread pass through its loop a few times (silent reads
  // completing), so that what it would do has been done.
  void LetIoRun() {
    const auto n = Com->FiEmpRdCnt.load();
    ASSERT_TRUE(WaitUntil([&] { return Com->FiEmpRdCnt.load() >= n + 2; }));
  }
};

// ---- Opening

class OpnCbkTest : public ComPrtTest, public ::testing::WithParamInterface<int> {};

TEST_P(OpnCbkTest, UnassignedEventGives12WithoutTouchingThePort) {
  TComEvt com = Com->FOnComPrtComEvt;
  TCtlEvt ctl = Com->FOnComPrtCtlEvt;
  TErrEvt err = Com->FOnComPrtErrEvt;
  switch (GetParam()) {
    case 0: Com->FOnComPrtComEvt = nullptr; break;
    case 1: Com->FOnComPrtCtlEvt = nullptr; break;
    default: Com->FOnComPrtErrEvt = nullptr; break;
  }
  EXPECT_EQ(Com->OpnPrt(), TeOpnPrt::NoCbk);
  ASSERT_EQ(Plt.MsgBox.Calls.size(), 1u);
  EXPECT_EQ(Plt.MsgBox.Calls[0].Caption, "Comport error message");
  EXPECT_EQ(Plt.MsgBox.Calls[0].Text,
            "Callback function pointers:\n- FOnComPrtComEvt\n- FOnComPrtCtlEvt\n- FOnComPrtErrEvt\n"
            "should be assigned to functions\nto read received data.\n"
            "- FOnComPrtLerEvt\n not obligatory, for debugging only");
  EXPECT_EQ(Plt.EvtLoop.PrcMsgCnt, 1);
  EXPECT_FALSE(Com->PrtOpn());
  EXPECT_FALSE(Com->FbIoThrRun);
  // The device was left free.
  Com->FOnComPrtComEvt = com;
  Com->FOnComPrtCtlEvt = ctl;
  Com->FOnComPrtErrEvt = err;
  OpnLnk();
  ASSERT_TRUE(Snd({0x11, 0x22}));
  EXPECT_EQ(Pty.Rd(2), (std::vector<std::uint8_t>{0x11, 0x22}));
}

INSTANTIATE_TEST_SUITE_P(EachEvent, OpnCbkTest, ::testing::Values(0, 1, 2));

class OpnMissingTest : public ComPrtTest, public ::testing::WithParamInterface<int> {};

TEST_P(OpnMissingTest, NoDeviceGives7AndSendingFails) {
  TTmpDir tmp;
  std::unique_ptr<TComport2p5> other;
  switch (GetParam()) {
    case 0: Com->FsPrtNam = ""; break;
    case 1: Com->FsPrtNam = "COM0"; break;
    case 2: Com->FsPrtNam = "COM13"; break;  // not mapped
    case 3: Com->FsPrtNam = tmp.Path() + "no-such-tty"; break;
    case 4: Com->FsPrtNam = tmp.Write("file", "not a terminal"); break;
    case 5: Com->FsPrtNam = "/dev/null"; break;
    default:  // held by another component
      other = MakCom();
      ASSERT_EQ(other->OpnPrt(), TeOpnPrt::Ok);
      break;
  }
  EXPECT_EQ(Com->OpnPrt(), TeOpnPrt::NoPrt);
  EXPECT_FALSE(Com->PrtOpn());
  EXPECT_FALSE(Com->FbIoThrRun);
  // Quiet: no event, but the failure is reported all the same.
  GuLstErrMsg.clear();
  EXPECT_FALSE(Com->SndChr(1));
  EXPECT_EQ(GuLstErrMsg, "Comport is not defined");
  EXPECT_TRUE(Rec.Get([&] { return Rec.Err.empty(); }));
  Com->FbBlkCbk = false;
  EXPECT_FALSE(Com->SndChr(1));
  EXPECT_EQ(Rec.Get([&] { return Rec.Err; }),
            (std::vector<std::pair<int, std::string>>{
                {CE_PRT_UND, "Error #003, trying to access comport function while comport is not defined"}}));
  EXPECT_TRUE(Plt.MsgBox.Calls.empty());
}

INSTANTIATE_TEST_SUITE_P(Names, OpnMissingTest, ::testing::Range(0, 7));

TEST_F(ComPrtTest, OpensThroughAMappedComName) {
  Plt.Settings.Keys[GcPrtMapKey]["COM15"] = Pty.Pth();
  Com->FsPrtNam = "COM15";
  OpnLnk();
  ASSERT_TRUE(Snd({7}));
  EXPECT_EQ(Pty.Rd(1), std::vector<std::uint8_t>{7});
}

// ---- Line settings

struct TLinCas {
  std::uint8_t Dat, Prt, Stp;
  bool Ok;
  tcflag_t Siz, Par, Stb;
};

class LinMakTest : public ::testing::TestWithParam<TLinCas> {};

TEST_P(LinMakTest, SizeParityAndStopBits) {
  const TLinCas& k = GetParam();
  termios t{};
  t.c_cflag = CRTSCTS | PARENB | CS5;
  t.c_iflag = IXON | ICRNL;
  t.c_lflag = ICANON | ECHO;
  ASSERT_EQ(MakLinCfg(t, k.Dat, k.Prt, k.Stp), k.Ok);
  if (!k.Ok) return;
  EXPECT_EQ(t.c_cflag & CSIZE, k.Siz);
  EXPECT_EQ(t.c_cflag & (PARENB | PARODD | CMSPAR), k.Par);
  EXPECT_EQ(t.c_cflag & CSTOPB, k.Stb);
  EXPECT_EQ(t.c_iflag & INPCK, k.Par ? tcflag_t(INPCK) : 0u);
  EXPECT_EQ(t.c_cflag & (CLOCAL | CREAD | CRTSCTS), tcflag_t(CLOCAL | CREAD));
  EXPECT_EQ(t.c_iflag & (IXON | IXOFF | ICRNL | ISTRIP), 0u);
  EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG), 0u);
  EXPECT_EQ(t.c_oflag & OPOST, 0u);
  EXPECT_EQ(t.c_cc[VMIN], 1);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, LinMakTest,
    ::testing::Values(TLinCas{7, 0, 0, true, CS8, 0, 0},                                // 8N1
                      TLinCas{6, 2, 0, true, CS7, PARENB, 0},                           // 7E1
                      TLinCas{7, 1, 2, true, CS8, PARENB | PARODD, CSTOPB},             // 8O2
                      TLinCas{4, 3, 1, true, CS5, PARENB | PARODD | CMSPAR, CSTOPB},    // 5M1.5
                      TLinCas{5, 4, 0, true, CS6, PARENB | CMSPAR, 0},                  // 6S1
                      TLinCas{99, 0, 9, true, CS8, 0, 0},                               // defaults
                      TLinCas{2, 0, 0, false, 0, 0, 0},                                 // 3 data bits
                      TLinCas{7, 5, 0, false, 0, 0, 0},                                 // unknown parity
                      TLinCas{7, 0, 1, false, 0, 0, 0}));                               // 1.5 stop, 8 bits

struct TDevCas {
  std::uint8_t Bau, Dat, Prt, Stp;
  int Code;
  std::uint32_t Rate;
  tcflag_t Stb;
};

class LinDevTest : public ComPrtTest, public ::testing::WithParamInterface<TDevCas> {};

TEST_P(LinDevTest, SettingsReadBackFromTheDevice) {
  const TDevCas& k = GetParam();
  Com->FbyBauIdx = k.Bau;
  Com->FbyDatBts = k.Dat;
  Com->FbyPrt = k.Prt;
  Com->FbyStpBts = k.Stp;
  ASSERT_EQ(Com->OpnPrt(), k.Code);
  EXPECT_EQ(Com->FbIoThrRun.load(), k.Code == 0);
  if (k.Code != 0) return;
  termios t{};
  ASSERT_EQ(::tcgetattr(Pty.Slv(), &t), 0);
  EXPECT_EQ(GetLinBau(Pty.Slv()), k.Rate);
  EXPECT_EQ(t.c_cflag & (CSIZE | PARENB | CRTSCTS | CLOCAL | CREAD), tcflag_t(CS8 | CLOCAL | CREAD));
  EXPECT_EQ(t.c_cflag & CSTOPB, k.Stb);
  EXPECT_EQ(t.c_lflag & (ICANON | ECHO), 0u);
  EXPECT_EQ(t.c_iflag & (IXON | IXOFF), 0u);
}

// A pseudo-terminal always runs 8 bits without parity: other sizes and
// parities do not read back, and the open says so.
INSTANTIATE_TEST_SUITE_P(
    Lines, LinDevTest,
    ::testing::Values(TDevCas{4, 7, 0, 0, 0, 2400, 0},          // the main window's line
                      TDevCas{8, 7, 0, 2, 0, 19200, CSTOPB},    // 8N2
                      TDevCas{7, 7, 0, 0, 0, 14400, 0},         // no constant for 14400
                      TDevCas{200, 7, 0, 0, 0, 9600, 0},        // unknown index: 9600
                      TDevCas{6, 6, 2, 0, 9, 0, 0},             // 7E1 does not read back
                      TDevCas{4, 2, 0, 0, 9, 0, 0}));           // 3 data bits

// ---- Moving bytes

TEST_F(ComPrtTest, AllByteValuesBothWaysAtOnceInOrder) {
  OpnLnk();
  const auto out = Seq(2048, 3), in = Seq(2048, 200);
  std::thread farEnd([&] { PacWr(in); });
  std::vector<std::uint8_t> got;
  std::thread farRd([&] { got = Pty.Rd(out.size()); });
  for (auto b : out)
    while (!Com->SndChr(b)) ASSERT_EQ(GuLstErrMsg, "Tx ringbuffer is full");
  farEnd.join();
  farRd.join();
  EXPECT_EQ(got, out);
  ExpRcv(in);
  EXPECT_EQ(Rec.Get([&] { return Rec.BadArg; }), 0);
  EXPECT_TRUE(Rec.Get([&] { return Rec.Err.empty() && Rec.Ler.empty(); }));
}

TEST_F(ComPrtTest, ReopeningKeepsQueuedBytesAndWorks) {
  ASSERT_EQ(Com->OpnPrt(), TeOpnPrt::Ok);
  ASSERT_TRUE(Snd({1, 2, 3}));  // quiet: queued
  ASSERT_EQ(Com->OpnPrt(), TeOpnPrt::Ok);
  ASSERT_EQ(Com->OpnPrt(), TeOpnPrt::Ok);
  EXPECT_TRUE(LckDatAvl(Tx));
  Com->FbBlkCbk = false;
  EXPECT_EQ(Pty.Rd(3), (std::vector<std::uint8_t>{1, 2, 3}));
  ASSERT_TRUE(Pty.Wr({9, 8}));
  ExpRcv({9, 8});
}

TEST_F(ComPrtTest, StoppedThreadsMoveNothingAndResumeWhenStarted) {
  OpnLnk();
  ASSERT_TRUE(Com->StpThr());
  EXPECT_FALSE(Com->FbIoThrRun);
  EXPECT_FALSE(Com->FbRxcThrRun);
  EXPECT_TRUE(Com->StpThr());
  ASSERT_TRUE(Pty.Wr({0x41, 0x42}));
  ASSERT_TRUE(Snd({0x51, 0x52}));
  EXPECT_TRUE(WaitUntil([&] { return Pty.SlvInQ() == 2; }));  // not read
  EXPECT_EQ(Pty.MstInQ(), 0);
  EXPECT_EQ(Rec.NByt(), 0u);
  ASSERT_TRUE(Com->StaThr());
  EXPECT_FALSE(Com->StaThr());  // already running
  EXPECT_EQ(Pty.Rd(2), (std::vector<std::uint8_t>{0x51, 0x52}));
  ExpRcv({0x41, 0x42});
}

TEST_F(ComPrtTest, QuietPeriodQueuesSentBytesAndDropsReceivedOnes) {
  Com->FiRdTmo = 5ms;
  ASSERT_EQ(Com->OpnPrt(), TeOpnPrt::Ok);
  ASSERT_TRUE(Com->FbBlkCbk);
  ASSERT_TRUE(Pty.Wr({0xA1, 0xA2, 0xA3}));
  ASSERT_TRUE(WaitUntil([&] { return Com->FiRxdCnt.load() == 3; }));
  ASSERT_TRUE(Snd({0xB1, 0xB2}));
  LetIoRun();
  EXPECT_EQ(Pty.MstInQ(), 0);  // nothing reached the line
  EXPECT_TRUE(LckDatAvl(Tx));  // but it is kept
  EXPECT_FALSE(LckDatAvl(Rx));  // received bytes were not stored
  Com->FbBlkCbk = false;
  EXPECT_EQ(Pty.Rd(2), (std::vector<std::uint8_t>{0xB1, 0xB2}));
  ASSERT_TRUE(Pty.Wr({0xC1}));
  ExpRcv({0xC1});  // the bytes of the quiet period never show up
  EXPECT_TRUE(Rec.Get([&] { return Rec.Err.empty() && Rec.Ctl.empty(); }));
}

TEST_F(ComPrtTest, SilentLineCompletesEmptyReadsQuietly) {
  Com->FiRdTmo = 5ms;
  OpnLnk();
  ASSERT_TRUE(WaitUntil([&] { return Com->FiEmpRdCnt.load() >= 4; }));
  EXPECT_EQ(Rec.NByt(), 0u);
  EXPECT_TRUE(Rec.Get([&] { return Rec.Err.empty() && Rec.Ler.empty() && Rec.Ctl.empty(); }));
  ASSERT_TRUE(Pty.Wr({0x33}));
  ExpRcv({0x33});
}

TEST_F(ComPrtTest, FullTransmitBufferRefusesTheByteAndLosesNothing) {
  ASSERT_EQ(Com->OpnPrt(), TeOpnPrt::Ok);  // quiet: nothing is written meanwhile
  const auto v = Seq(1023, 1);
  ASSERT_TRUE(Snd(v));
  GuLstErrMsg.clear();
  EXPECT_FALSE(Com->SndChr(0xFF));
  EXPECT_EQ(GuLstErrMsg, "Tx ringbuffer is full");
  Com->FbBlkCbk = false;
  EXPECT_EQ(Pty.Rd(v.size()), v);
}

TEST_F(ComPrtTest, FullReceiveBufferEndsTheLinkAndAReopenRecovers) {
  OpnLnk();
  Rec.Opn(false);  // the receive handler blocks
  const auto v = Seq(1100);
  ASSERT_TRUE(Pty.Wr(v));
  // 1023 bytes in the buffer (and one in the handler, if it had started),
  // the next one is refused.
  ASSERT_TRUE(WaitUntil([&] { return !Com->FbIoThrRun; }));
  EXPECT_FALSE(Com->PrtOpn());
  EXPECT_EQ(Rec.NByt(), 0u);
  GuLstErrMsg.clear();
  EXPECT_FALSE(Com->SndChr(1));
  EXPECT_EQ(GuLstErrMsg, "Comport is not defined");
  Rec.Opn(true);
  ASSERT_TRUE(WaitUntil([&] { return Rec.HasErr(CE_RX_FUL); }));
  // Every byte that was taken is delivered before the report.
  const auto got = Rec.Get([&] { return Rec.Byt; });
  ASSERT_TRUE(got.size() == 1023 || got.size() == 1024) << got.size();
  EXPECT_TRUE(std::equal(got.begin(), got.end(), v.begin()));
  EXPECT_EQ(Rec.Get([&] { return Rec.Err.back(); }), (std::pair<int, std::string>{CE_RX_FUL, "Rx ringbuffer is full"}));
  ASSERT_TRUE(WaitUntil([&] { return !Com->FbRxcThrRun; }));
  // Taken before the reopen: once the port is open again, new bytes may
  // arrive at any moment.
  auto rest = Rec.Get([&] { return Rec.Byt; });
  ASSERT_EQ(rest, got);
  ASSERT_EQ(Com->OpnPrt(), TeOpnPrt::Ok);
  // The refused byte is lost; what waited in the line follows.
  rest.insert(rest.end(), v.begin() + static_cast<std::ptrdiff_t>(got.size() + 1), v.end());
  ExpRcv(rest);
}

// ---- The far end goes away

TEST_F(ComPrtTest, FarEndClosedWhileReceivingEndsCleanlyAndAnotherPortOpens) {
  OpnLnk();
  const auto v = Seq(600);
  ASSERT_TRUE(Pty.Wr(v));
  Pty.ClsMst();
  ASSERT_TRUE(Rec.Wait([&] { return !Rec.Err.empty(); }));
  EXPECT_EQ(Rec.Get([&] { return Rec.Err.back(); }),
            (std::pair<int, std::string>{CE_DEV_LST, "Error #004, comport device lost"}));
  EXPECT_TRUE(Rec.Get([&] { return !Rec.Ler.empty() && Rec.Ler.back().first == 23; }));
  const auto got = Rec.Get([&] { return Rec.Byt; });
  ASSERT_LE(got.size(), v.size());
  EXPECT_TRUE(std::equal(got.begin(), got.end(), v.begin()));
  ASSERT_TRUE(WaitUntil([&] { return !Com->FbIoThrRun && !Com->FbRxcThrRun; }));
  EXPECT_FALSE(Com->PrtOpn());
  EXPECT_FALSE(Com->SndChr(1));

  TPty pty2;
  Com->FsPrtNam = pty2.Pth();
  ASSERT_EQ(Com->OpnPrt(), TeOpnPrt::Ok);
  ASSERT_TRUE(Snd({0x66}));
  EXPECT_EQ(pty2.Rd(1), std::vector<std::uint8_t>{0x66});
  const std::size_t before = Rec.NByt();
  ASSERT_TRUE(pty2.Wr({0x77}));
  ASSERT_TRUE(Rec.Wait([&] { return Rec.Byt.size() == before + 1; }));
}

TEST_F(ComPrtTest, OpeningAfterTheDeviceWentAwayStartsWithEmptyBuffers) {
  OpnLnk();
  Pty.ClsMst();
  ASSERT_TRUE(WaitUntil([&] { return Rec.HasErr(CE_DEV_LST) && !Com->FbIoThrRun && !Com->FbRxcThrRun; }));
  Com->TakTxDrp();
  // Bytes that slipped into the buffers while the vanishing device was
  // closed: the rest of a command, the start of a robot frame.
  for (std::uint8_t b : {0x02, 0x01, 0x07, 0x00}) ASSERT_TRUE(LckPutChr(Tx, b));
  for (std::uint8_t b : {0xE1, 0xE2}) ASSERT_TRUE(LckPutChr(Rx, b));
  const std::size_t rcv = Rec.NByt();

  TPty pty2;
  Com->FsPrtNam = pty2.Pth();
  ASSERT_EQ(Com->OpnPrt(), TeOpnPrt::Ok);
  EXPECT_EQ(Com->TakTxDrp(), 4u);  // counted, so the owner can say the command was not sent
  Com->FbBlkCbk = false;
  ASSERT_TRUE(Snd({0x66}));
  EXPECT_EQ(pty2.Rd(1), std::vector<std::uint8_t>{0x66});
  EXPECT_EQ(pty2.Rd(1, 100ms), std::vector<std::uint8_t>{});
  ASSERT_TRUE(pty2.Wr({0x77}));
  ASSERT_TRUE(Rec.Wait([&] { return Rec.Byt.size() > rcv; }));
  EXPECT_EQ(Rec.Get([&] { return std::vector<std::uint8_t>(Rec.Byt.begin() + static_cast<std::ptrdiff_t>(rcv), Rec.Byt.end()); }),
            std::vector<std::uint8_t>{0x77});
}

TEST_F(ComPrtTest, FarEndClosedWhileSendingEndsCleanly) {
  OpnLnk();
  std::thread farEnd([&] {
    Pty.Rd(300);
    Pty.ClsMst();
  });
  // Keep sending until the component gives up.
  bool gaveUp = false;
  for (int i = 0; i < 5000000 && !gaveUp; ++i)
    if (!Com->SndChr(static_cast<std::uint8_t>(i)) && GuLstErrMsg == "Comport is not defined") gaveUp = true;
  farEnd.join();
  EXPECT_TRUE(gaveUp);
  ASSERT_TRUE(WaitUntil([&] { return Rec.HasErr(CE_DEV_LST); }));
  ASSERT_TRUE(WaitUntil([&] { return !Com->FbIoThrRun && !Com->FbRxcThrRun; }));
}

TEST_F(ComPrtTest, DestroyingABusyComponentNeitherHangsNorCrashes) {
  OpnLnk();
  std::atomic<bool> stop{false};
  ASSERT_EQ(::fcntl(Pty.Mst(), F_SETFL, O_NONBLOCK), 0);
  std::thread farEnd([&] {
    const auto v = Seq(64);
    while (!stop)
      if (::write(Pty.Mst(), v.data(), v.size()) < 0) std::this_thread::yield();
  });
  ASSERT_TRUE(Rec.Wait([&] { return Rec.Byt.size() > 100; }));
  for (int i = 0; i < 200; ++i) Com->SndChr(static_cast<std::uint8_t>(i));
  Com.reset();
  stop = true;
  farEnd.join();
  EXPECT_GT(Rec.NByt(), 100u);
}

// ---- Events

TEST_F(ComPrtTest, ReceivedCharacterEventWhenAskedFor) {
  Com->FstComEvt = evRxChar | evRxFlag;
  Com->FiRdTmo = 5ms;
  OpnLnk();
  LetIoRun();  // the wait has started
  ASSERT_TRUE(Pty.Wr({0x00}));
  ASSERT_TRUE(Rec.Wait([&] { return !Rec.Ctl.empty(); }));
  EXPECT_EQ(Rec.Get([&] { return Rec.Ctl[0]; }), EV_RXCHAR | EV_RXFLAG);
  ExpRcv({0x00});
}

TEST_F(ComPrtTest, OutsideSingleCharacterModeBytesAreDroppedWithAReport) {
  Com->FbSglChr = false;
  OpnLnk();
  ASSERT_TRUE(Pty.Wr({0x10}));
  ASSERT_TRUE(Rec.Wait([&] { return !Rec.Err.empty(); }));
  EXPECT_EQ(Rec.Get([&] { return Rec.Err[0]; }),
            (std::pair<int, std::string>{CE_SGL_CHR, "Comport not in signle character mode"}));
  EXPECT_EQ(Rec.NByt(), 0u);
  EXPECT_FALSE(LckDatAvl(Rx));
}

TEST(MdmEvt, ChangesBecomeLineEvents) {
  TMdmSmp a, b;
  a.Cnt = b.Cnt = true;
  b.Rng = 1;
  b.Dcd = 2;
  b.Err = 1;
  EXPECT_EQ(MdmEvt(a, b), EV_RING | EV_RLSD | EV_ERR);
  TMdmSmp c, d;
  c.Lin = d.Lin = true;
  c.Sts = TIOCM_CTS | TIOCM_DSR;
  d.Sts = TIOCM_DSR | TIOCM_RI;
  EXPECT_EQ(MdmEvt(c, d), EV_CTS | EV_RING);
  EXPECT_EQ(MdmEvt(TMdmSmp{}, d), 0u);  // nothing to compare with
  EXPECT_EQ(ComEvtMsk(evRing | evRlsd), 0x120u);
  EXPECT_EQ(ComEvtMsk(0x1FF), 0x1FFu);
}

}  // namespace
