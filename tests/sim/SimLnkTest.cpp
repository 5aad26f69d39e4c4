// The robot's end of the link: answers, reports, bad input and pacing, on a
// fake wall clock; the driver also over a real pseudo-terminal.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include "link/PckPrt.h"
#include "sim/SimDrv.h"
#include "sim/SimLnk.h"
#include "translator/InsAndTkn.h"

namespace {

using TBy = std::vector<std::uint8_t>;
constexpr TSimWal Ms(double ms) { return static_cast<TSimWal>(ms * 1000); }

TBy Frm(std::uint8_t cls, std::uint8_t cod, const TBy& dat = {}, std::uint8_t seq = 7) {
  TBy f;
  EXPECT_TRUE(BldPck(seq, cls, cod, dat, f));
  return f;
}

// Parses what the robot sent into (class, code) pairs; checks the origin.
// The frames of executed addresses are left out unless exe is set.
std::vector<std::pair<int, int>> Msgs(const TBy& out, std::vector<TBy>* dat = nullptr, bool exe = false) {
  std::vector<std::pair<int, int>> r;
  TuRcvPck p;
  RstRcvPck(p);
  for (std::uint8_t b : out) {
    PrsRcvChr(p, b);
    if (p.PckSte == PS_CPL && !exe && p.MsgCls == MC_SIM && p.MsgCod == MK_SIM_EXE) {
      RstRcvPck(p);
    } else if (p.PckSte == PS_CPL) {
      EXPECT_EQ(p.PckOrg, GcSimOrg);
      r.emplace_back(p.MsgCls, p.MsgCod);
      if (dat) dat->push_back(TBy(p.DatBuf, p.DatBuf + p.DatIdx));
      RstRcvPck(p);
    }
  }
  return r;
}

struct TLnkFix : ::testing::Test {
  TSimRbt R;
  TSimLnk L{R};
  std::vector<TuSimTrc> Trc;
  void SetUp() override {
    R.FOnTrc = [&](const TuSimTrc& t) { Trc.push_back(t); };
  }
  TBy Tak() {
    TBy b(L.Out().begin(), L.Out().end());
    L.Out().clear();
    return b;
  }
  void Snd(const TBy& f, TSimWal at) {
    for (std::uint8_t b : f) L.RcvByt(b, at);
  }
  int Flts() const {
    int n = 0;
    for (const auto& t : Trc) n += t.Flt;
    return n;
  }
};

using TMsg = std::pair<int, int>;

TEST_F(TLnkFix, StandbyThenReportsEveryHalfSecond) {
  L.SetUp(true, 0);
  L.Tck(Ms(299));
  EXPECT_TRUE(Tak().empty());
  L.Tck(Ms(300));
  EXPECT_EQ(Msgs(Tak()), (std::vector<TMsg>{{0x00, 0x04}}));
  R.SetSwi(2, true);  // switch 3
  R.SetBmpUsr(false, true);
  L.Tck(Ms(799));
  EXPECT_TRUE(Tak().empty());
  L.Tck(Ms(800));
  std::vector<TBy> dat;
  EXPECT_EQ(Msgs(Tak(), &dat), (std::vector<TMsg>{{0x02, 0x12}, {0x02, 0x13}}));
  ASSERT_EQ(dat.size(), 2u);
  ASSERT_EQ(dat[1].size(), 2u);
  // The start pose sees the line: light 80 % on the line reads 16 %.
  EXPECT_EQ(dat[0][0] | dat[0][1] << 8, 164);
  EXPECT_EQ(dat[1][0], 0x08 | 0x80);
  EXPECT_EQ(dat[1][1], 0x01 | 0x02 | 0x04);
  // The press is reported once; the next report has no switch bits.
  L.Tck(Ms(1300));
  dat.clear();
  Msgs(Tak(), &dat);
  ASSERT_EQ(dat.size(), 2u);
  EXPECT_EQ(dat[1][0], 0x80);
  // No reports while the line is down.
  L.SetUp(false, Ms(1400));
  L.Tck(Ms(5000));
  EXPECT_TRUE(Tak().empty());
}

TEST_F(TLnkFix, UploadRunAndTheirAnswers) {
  L.SetUp(true, 0);
  L.Tck(Ms(300));
  Tak();
  // Run before any upload: no answer, a trace line.
  Snd(Frm(0x01, 0x01), Ms(310));
  EXPECT_TRUE(Tak().empty());
  EXPECT_EQ(Flts(), 1);
  // Upload of Start, Delay 1.0 s, Stop.
  const TBy pgm = {IT_STA, IT_DLY, 0x0A, IT_STO};
  Snd(Frm(0x01, 0x00, pgm), Ms(320));
  EXPECT_EQ(Msgs(Tak()), (std::vector<TMsg>{{0x03, 0x14}}));
  EXPECT_EQ(R.Pgm(), pgm);
  EXPECT_FALSE(R.Running());
  Snd(Frm(0x01, 0x01), Ms(330));
  EXPECT_EQ(Msgs(Tak()), (std::vector<TMsg>{{0x03, 0x15}}));
  R.AdvTo(R.Now() + Ms(1100));
  EXPECT_EQ(Msgs(Tak()), (std::vector<TMsg>{{0x03, 0x16}}));
  // Upload and run in one, with a program of 255 bytes (far more than the 60
  // bytes a received frame keeps on the tool's side).
  TBy big(255, IT_LBL);
  big[0] = IT_STA;
  big[254] = IT_STO;
  Snd(Frm(0x01, 0x02, big), Ms(400));
  EXPECT_EQ(Msgs(Tak()), (std::vector<TMsg>{{0x03, 0x14}, {0x03, 0x15}}));
  EXPECT_EQ(R.Pgm(), big);
  EXPECT_TRUE(R.Running());
  // Link check.
  Snd(Frm(0x00, 0x05), Ms(500));
  EXPECT_EQ(Msgs(Tak()), (std::vector<TMsg>{{0x00, 0x06}}));
  // Sequence bytes count up.
  Tak();
  L.Snd(0x00, 0x03);
  L.Snd(0x00, 0x03);
  const TBy f = Tak();
  ASSERT_EQ(f.size(), 14u);
  EXPECT_EQ(f[9], static_cast<std::uint8_t>(f[2] + 1));
}

// Executed instructions are reported with their addresses, in the order of
// execution, while the line has room; when it has not, only the latest waits.
TEST_F(TLnkFix, ExecutedAddressesFollowTheProgram) {
  L.SetUp(true, 0);
  L.Tck(Ms(300));
  Tak();
  // 0 Start, 1 Goto 5, 3 Delay (skipped), 5 Delay 0.2 s, 7 Stop.
  Snd(Frm(0x01, 0x02, {IT_STA, IT_GTO, 0x05, IT_DLY, 0x0A, IT_DLY, 0x02, IT_STO}), Ms(310));
  EXPECT_EQ(Msgs(Tak(), nullptr, true), (std::vector<TMsg>{{0x03, 0x14}, {0x03, 0x15}}));
  R.AdvTo(R.Now() + Ms(150));
  std::vector<TBy> dat;
  // Two frames fill the line; address 5 waits for room.
  EXPECT_EQ(Msgs(Tak(), &dat, true), (std::vector<TMsg>{{0x04, 0x17}, {0x04, 0x17}}));
  EXPECT_EQ(dat, (std::vector<TBy>{{0}, {1}}));
  L.Tck(Ms(320));
  dat.clear();
  EXPECT_EQ(Msgs(Tak(), &dat, true), (std::vector<TMsg>{{0x04, 0x17}}));
  EXPECT_EQ(dat, (std::vector<TBy>{{5}}));
  R.AdvTo(R.Now() + Ms(100));
  dat.clear();
  EXPECT_EQ(Msgs(Tak(), &dat, true), (std::vector<TMsg>{{0x04, 0x17}, {0x03, 0x16}}));
  EXPECT_EQ(dat[0], TBy{7});

  // A busy loop (0 Start, 1 Goto 1) on a full line: one waiting address, not thousands.
  Snd(Frm(0x01, 0x02, {IT_STA, IT_GTO, 0x01}), Ms(330));
  R.AdvTo(R.Now() + Ms(500));
  EXPECT_LE(Tak().size(), 14u + 2 * 8u);
  // Nothing is reported to a line that is down.
  L.SetUp(false, Ms(600));
  R.AdvTo(R.Now() + Ms(10));
  L.Tck(Ms(610));
  EXPECT_TRUE(L.OutEmp());
}

TEST_F(TLnkFix, AFaultEndsTheRunWithItsReasonNotWithProgramComplete) {
  L.SetUp(true, 0);
  L.Tck(Ms(300));
  Tak();
  struct TCas {
    TBy Pgm;
    TBy Flt;  // address, kind
  };
  const TCas cas[] = {
      {{IT_STA, IT_GTO, 0x01, IT_STO}, {1, static_cast<std::uint8_t>(TeRbtFlt::BsyLop)}},  // a loop with no Delay
      {{IT_STA, IT_GTO, 0x09, IT_STO}, {1, static_cast<std::uint8_t>(TeRbtFlt::JmpOut)}},
      {{IT_STA, IT_RTI, IT_STO}, {1, static_cast<std::uint8_t>(TeRbtFlt::RtiOut)}},
  };
  for (const TCas& c : cas) {
    Snd(Frm(0x01, 0x02, c.Pgm), R.Now());
    std::vector<TMsg> got;
    std::vector<TBy> dat;
    auto stp = [&] {
      R.AdvTo(R.Now() + Ms(100));
      L.Tck(R.Now());
      std::vector<TBy> d;
      const auto ms = Msgs(Tak(), &d, true);
      for (std::size_t j = 0; j < ms.size(); ++j)
        if (ms[j].first != MC_MEA) {  // the reports go on beside the run
          got.push_back(ms[j]);
          dat.push_back(d[j]);
        }
    };
    for (int i = 0; i < 120 && R.Running(); ++i) stp();
    stp();  // the line has room again
    EXPECT_FALSE(R.Running());
    // The fault is the last word: no executed address that waited for room
    // follows it, or the tool would show the program as running.
    ASSERT_FALSE(got.empty());
    EXPECT_EQ(got.back(), TMsg(0x04, 0x18)) << int(c.Flt[1]);
    EXPECT_EQ(dat.back(), c.Flt);
    std::vector<TMsg> ans;
    for (const TMsg& m : got)
      if (m.second != MK_SIM_EXE) ans.push_back(m);
    EXPECT_EQ(ans, (std::vector<TMsg>{{0x03, 0x14}, {0x03, 0x15}, {0x04, 0x18}})) << int(c.Flt[1]);
  }
}

TEST_F(TLnkFix, GarbledAndCutOffFramesGetNoAnswer) {
  L.SetUp(true, 0);
  L.Tck(Ms(300));
  Tak();
  // Bytes outside a frame.
  Snd({0x55, 0x66}, Ms(310));
  EXPECT_EQ(Flts(), 2);
  // A run frame whose end byte is wrong.
  TBy bad = Frm(0x01, 0x01);
  bad.back() = 0x07;
  Snd(bad, Ms(320));
  EXPECT_EQ(Flts(), 3);
  // An unknown message.
  Snd(Frm(0x09, 0x09), Ms(330));
  EXPECT_EQ(Flts(), 4);
  // A frame that stops after its length byte, then silence.
  Snd({0x02, 0x01, 0x00, 0x04}, Ms(340));
  L.Tck(Ms(800));
  EXPECT_EQ(Flts(), 4);
  L.Tck(Ms(840));
  EXPECT_EQ(Flts(), 5);
  EXPECT_NE(Trc.back().Txt.find("cut-off frame"), std::string::npos);
  EXPECT_FALSE(R.HasPgm());
  // Nothing was answered, and the next good frame is.
  EXPECT_EQ(Msgs(Tak()), (std::vector<TMsg>{{0x02, 0x12}, {0x02, 0x13}}));
  Snd(Frm(0x00, 0x05), Ms(900));
  EXPECT_EQ(Msgs(Tak()), (std::vector<TMsg>{{0x00, 0x06}}));
}

TEST(SimPac, BytesFollowTheWireRate) {
  TSimPac p(240.0);
  for (int i = 0; i < 262; ++i) p.Psh(0x55, 1000);
  std::uint8_t b;
  int n = 0;
  while (p.Pop(1000 + 1091666, b)) ++n;
  EXPECT_EQ(n, 261);
  EXPECT_TRUE(p.Pop(1000 + 1091700, b));
  // A line idle for a while starts again at once.
  p.Psh(1, 5000000);
  EXPECT_EQ(p.NxtDue(), 5000000 + 4167);
  TSimPac q;
  q.SetOn(false);
  for (int i = 0; i < 262; ++i) q.Psh(1, 7);
  n = 0;
  while (q.Pop(7, b)) ++n;
  EXPECT_EQ(n, 262);
}

// The driver behind a real pseudo-terminal, on a fake clock.
TEST(SimDrv, PseudoTerminalPeerUploadAtWireSpeed) {
  TSimDrv d;
  std::string err;
  ASSERT_TRUE(d.OpnPty(err)) << err;
  std::vector<TuSimTrc> trc;
  d.Rbt().FOnTrc = [&](const TuSimTrc& t) { trc.push_back(t); };
  TSimWal t = 0;
  d.Sta(t);
  d.Poll(t);
  EXPECT_FALSE(d.PeerUp());
  const int s = ::open(d.Pth().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  ASSERT_GE(s, 0);
  t += Ms(60);
  d.Poll(t);
  EXPECT_TRUE(d.PeerUp());
  auto rd = [&] {
    TBy r;
    std::uint8_t buf[256];
    pollfd p{s, POLLIN, 0};
    while (::poll(&p, 1, 0) > 0 && (p.revents & POLLIN)) {
      const ssize_t n = ::read(s, buf, sizeof buf);
      if (n <= 0) break;
      r.insert(r.end(), buf, buf + n);
    }
    return r;
  };
  t += Ms(400);
  d.Poll(t);
  t += Ms(100);
  d.Poll(t);
  EXPECT_EQ(Msgs(rd()), (std::vector<TMsg>{{0x00, 0x04}}));

  // A 255-byte upload: 262 bytes take 1.092 s on the wire.
  TBy big(255, IT_LBL);
  big[0] = IT_STA;
  big[254] = IT_STO;
  const TBy f = Frm(0x01, 0x00, big);
  ASSERT_EQ(::write(s, f.data(), f.size()), static_cast<ssize_t>(f.size()));
  const TSimWal t0 = t;
  d.Poll(t);
  auto has = [&](const TBy& r, TMsg m) {
    for (auto x : Msgs(r))
      if (x == m) return true;
    return false;
  };
  TBy got;
  auto pmp = [&](TSimWal end) {  // the driver polled every 5 ms until end
    while (t < end) {
      t += Ms(5);
      d.Poll(t);
      const TBy r = rd();
      got.insert(got.end(), r.begin(), r.end());
    }
  };
  pmp(t0 + Ms(1085));
  EXPECT_FALSE(has(got, {0x03, 0x14}));
  EXPECT_FALSE(d.Rbt().HasPgm());
  pmp(t0 + Ms(1130));
  EXPECT_TRUE(has(got, {0x03, 0x14}));
  EXPECT_EQ(d.Rbt().Pgm(), big);

  // The peer closes the line: the link goes down, and comes up on a reopen.
  ::close(s);
  t += Ms(60);
  d.Poll(t);
  EXPECT_FALSE(d.PeerUp());
  const int s2 = ::open(d.Pth().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  ASSERT_GE(s2, 0);
  t += Ms(60);
  d.Poll(t);
  EXPECT_TRUE(d.PeerUp());
  ::close(s2);
}

TEST(SimDrv, SpeedFactorRunsTheModelFaster) {
  TSimDrv d;
  d.Sta(0);
  d.Rbt().Lod({IT_STA, IT_DLY, 0xFF, IT_STO});  // 25.5 s
  ASSERT_TRUE(d.Rbt().Run());
  d.SetSpd(100.0, 0);
  d.Poll(Ms(200));
  EXPECT_TRUE(d.Rbt().Running());
  d.Poll(Ms(300));
  EXPECT_FALSE(d.Rbt().Running());
  EXPECT_EQ(d.Rbt().Now(), 30 * GcSimSec);
}

// The wall clock counts from its own origin (for a monotonic clock, the boot):
// the model's time still starts at zero.
TEST(SimDrv, ModelTimeStartsAtTheFirstPoll) {
  TSimDrv d;
  d.SetSpd(2.0, 0);
  const TSimWal boot = 66000 * GcSimSec;
  d.Poll(boot);
  EXPECT_EQ(d.Rbt().Now(), 0);
  d.Sta(boot + Ms(100));  // a later start does not restart the clocks
  d.Poll(boot + Ms(500));
  EXPECT_EQ(d.Rbt().Now(), Ms(1000));
}

}  // namespace
