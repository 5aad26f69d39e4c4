// The packet protocol: the frame builder and the senders, the byte parser,
// and the effects of received frames. The senders also run on a
// pseudo-terminal with the serial component, byte for byte at the far end.
#include <gtest/gtest.h>

#include <random>

#include "LnkTstPty.h"
#include "core/Globals.h"
#include "link/LnkSes.h"
#include "link/PckPrt.h"
#include "support/FakePlatform.h"

namespace {

using namespace std::chrono_literals;
using B = std::vector<std::uint8_t>;
using K = TeRcvEff;

// ---- Frames -------------------------------------------------------------------

struct TFrmCas {
  const char* Nam;
  std::uint8_t Seq, Cls, Cod;
  B Dat;
  B Frm;
};

TEST(PckFrm, BuildsEveryPacketOfTheProgram) {
  const TFrmCas cas[] = {
      {"upload", 0, 0x01, 0x00, {0xA0, 0x01, 0xA1}, {0x02, 0x01, 0x00, 0x03, 0x01, 0x00, 0xA0, 0x01, 0xA1, 0x04}},
      {"empty upload", 9, 0x01, 0x00, {}, {0x02, 0x01, 0x09, 0x00, 0x01, 0x00, 0x04}},
      {"run", 7, 0x01, 0x01, {}, {0x02, 0x01, 0x07, 0x00, 0x01, 0x01, 0x04}},
      {"upload and run", 255, 0x01, 0x02, {0x02, 0x04}, {0x02, 0x01, 0xFF, 0x02, 0x01, 0x02, 0x02, 0x04, 0x04}},
      {"link check", 3, 0x00, 0x05, {}, {0x02, 0x01, 0x03, 0x00, 0x00, 0x05, 0x04}},
  };
  for (const auto& c : cas) {
    B out{0xEE};
    ASSERT_TRUE(BldPck(c.Seq, c.Cls, c.Cod, c.Dat, out)) << c.Nam;
    EXPECT_EQ(out, c.Frm) << c.Nam;
  }
  B out;
  ASSERT_TRUE(BldPck(0, 1, 0, B(255, 0xA5), out));
  EXPECT_EQ(out.size(), 262u);
  EXPECT_EQ(out[3], 255);
  B keep{1, 2};
  EXPECT_FALSE(BldPck(0, 1, 0, B(256, 0xA5), keep));
  EXPECT_EQ(keep, (B{1, 2}));
}

// A far end that records what SndPck hands over.
struct TSnk {
  bool OpnOk = true;
  int OpnCnt = 0;
  std::size_t RfsAt = SIZE_MAX;  // the byte with this index is refused
  std::size_t TooLng = 0;         // the length TooLng was told
  B Byt;
  TPckOut Out() {
    TPckOut o;
    o.TooLng = [this](std::size_t n) { TooLng = n; };
    o.OpnPrt = [this] {
      ++OpnCnt;
      if (!OpnOk) GuLstErrMsg = "Comport COM3: cannot be opened";
      return OpnOk;
    };
    o.SndChr = [this](std::uint8_t b) {
      if (Byt.size() == RfsAt) {
        GuLstErrMsg = "Tx ringbuffer is full";
        return false;
      }
      Byt.push_back(b);
      return true;
    };
    return o;
  }
};

TEST(PckSnd, TheFourSendersAndTheCounter) {
  TSnk s;
  std::uint8_t cnt = 0;
  const B tkn{0xA0, 0xAE};
  ASSERT_TRUE(SndUplPck(cnt, tkn, s.Out()));
  ASSERT_TRUE(SndRunPck(cnt, s.Out()));
  ASSERT_TRUE(SndUprPck(cnt, tkn, s.Out()));
  ASSERT_TRUE(SndLnkChkPck(cnt, s.Out()));
  ASSERT_TRUE(SndUplPck(cnt, {}, s.Out()));
  const B exp{0x02, 0x01, 0x00, 0x02, 0x01, 0x00, 0xA0, 0xAE, 0x04,  //
              0x02, 0x01, 0x01, 0x00, 0x01, 0x01, 0x04,              //
              0x02, 0x01, 0x02, 0x02, 0x01, 0x02, 0xA0, 0xAE, 0x04,  //
              0x02, 0x01, 0x03, 0x00, 0x00, 0x05, 0x04,              //
              0x02, 0x01, 0x04, 0x00, 0x01, 0x00, 0x04};
  EXPECT_EQ(s.Byt, exp);
  EXPECT_EQ(cnt, 5);
  EXPECT_EQ(s.OpnCnt, 5);
}

TEST(PckSnd, SequenceWrapsAfter255) {
  TSnk s;
  std::uint8_t cnt = 0;
  for (int i = 0; i < 257; ++i) ASSERT_TRUE(SndRunPck(cnt, s.Out()));
  ASSERT_EQ(s.Byt.size(), 257u * 7);
  EXPECT_EQ(s.Byt[255 * 7 + 2], 255);
  EXPECT_EQ(s.Byt[256 * 7 + 2], 0);
  EXPECT_EQ(cnt, 1);
}

TEST(PckSnd, FailuresLeaveTheirReason) {
  TFakePlatform plt;
  {
    // The port cannot be opened: nothing sent, the counter unchanged.
    TSnk s;
    s.OpnOk = false;
    std::uint8_t cnt = 4;
    EXPECT_FALSE(SndRunPck(cnt, s.Out()));
    EXPECT_TRUE(s.Byt.empty());
    EXPECT_EQ(cnt, 4);
    EXPECT_EQ(GuLstErrMsg, "Comport COM3: cannot be opened");
  }
  {
    // A refused byte ends the packet; what went before stays handed over.
    TSnk s;
    s.RfsAt = 4;
    std::uint8_t cnt = 0;
    EXPECT_FALSE(SndUplPck(cnt, {0xA0}, s.Out()));
    EXPECT_EQ(s.Byt, (B{0x02, 0x01, 0x00, 0x01}));
    EXPECT_EQ(GuLstErrMsg, "Tx ringbuffer is full");
  }
  {
    // A stream longer than the length byte: refused before the port is touched.
    TSnk s;
    std::uint8_t cnt = 0;
    EXPECT_FALSE(SndUprPck(cnt, B(256, 0xA0), s.Out()));
    EXPECT_EQ(s.OpnCnt, 0);
    EXPECT_TRUE(s.Byt.empty());
    EXPECT_EQ(cnt, 0);
    EXPECT_EQ(s.TooLng, 256u);
    EXPECT_TRUE(SndUprPck(cnt, B(255, 0xA0), s.Out()));
    EXPECT_EQ(s.Byt.size(), 262u);
  }
}

// ---- Parser -------------------------------------------------------------------

struct TPrsCas {
  const char* Nam;
  B In;
  bool Cpl;  // a frame is complete after the last byte
  std::uint8_t Org, Seq, Len, Cls, Cod, DatCnt, DatIdx;
  B Dat;     // first bytes of DatBuf
};

B Frm(std::uint8_t org, std::uint8_t seq, std::uint8_t cls, std::uint8_t cod, const B& d) {
  B f{0x02, org, seq, static_cast<std::uint8_t>(d.size()), cls, cod};
  f.insert(f.end(), d.begin(), d.end());
  f.push_back(0x04);
  return f;
}

B Cat(std::initializer_list<B> l) {
  B r;
  for (const B& b : l) r.insert(r.end(), b.begin(), b.end());
  return r;
}

TEST(PckPrs, EdgeCases) {
  const B d60(60, 0x11);
  B d61 = d60;
  d61.push_back(0x22);
  const TPrsCas cas[] = {
      {"own run packet", {0x02, 0x01, 0x07, 0x00, 0x01, 0x01, 0x04}, true, 1, 7, 0, 1, 1, 0, 0, {}},
      {"transfer complete", {0x02, 0x05, 0x03, 0x00, 0x03, 0x14, 0x04}, true, 5, 3, 0, 3, 0x14, 0, 0, {}},
      {"measurement", {0x02, 0x05, 0x00, 0x02, 0x02, 0x12, 0x34, 0x12, 0x04}, true, 5, 0, 2, 2, 0x12, 2, 2,
       {0x34, 0x12}},
      {"garbage before the start", {0x00, 0xFF, 0x04, 0x02, 0x05, 0x01, 0x00, 0x03, 0x16, 0x04}, true, 5, 1, 0, 3,
       0x16, 0, 0, {}},
      {"0x02 inside the data is data", {0x02, 0x05, 0x01, 0x02, 0x02, 0x13, 0x02, 0x02, 0x04}, true, 5, 1, 2, 2,
       0x13, 2, 2, {0x02, 0x02}},
      {"60 data bytes are kept", Frm(5, 9, 2, 0x13, d60), true, 5, 9, 60, 2, 0x13, 60, 60, {0x11, 0x11}},
      {"61 data bytes abandon the frame", Frm(5, 9, 2, 0x13, d61), false, 5, 9, 61, 2, 0x13, 61, 60, {}},
      {"no end byte", {0x02, 0x05, 0x01, 0x00, 0x03, 0x14, 0x05}, false, 5, 1, 0, 3, 0x14, 0, 0, {}},
      {"cut short", {0x02, 0x05, 0x01, 0x03, 0x03, 0x14, 0x00}, false, 5, 1, 3, 3, 0x14, 1, 1, {0x00}},
      {"a broken end byte 0x02 is not a start",
       Cat({{0x02, 0x05, 0x01, 0x00, 0x03, 0x14, 0x02}, {0x05, 0x01, 0x00, 0x03, 0x14, 0x04}}), false, 5, 1, 0, 3,
       0x14, 0, 0, {}},
      {"after a frame abandoned, the next 0x02 starts one",
       Cat({Frm(5, 9, 2, 0x13, d61), {0x02, 0x06, 0x04, 0x00, 0x00, 0x06, 0x04}}), true, 6, 4, 0, 0, 6, 0, 0, {}},
  };
  for (const auto& c : cas) {
    TuRcvPck p;
    RstRcvPck(p);
    bool early = false;
    for (std::size_t i = 0; i < c.In.size(); ++i) {
      PrsRcvChr(p, c.In[i]);
      if (i + 1 < c.In.size() && p.PckSte == PS_CPL) early = true;
    }
    EXPECT_FALSE(early) << c.Nam;
    EXPECT_EQ(p.PckSte == PS_CPL, c.Cpl) << c.Nam;
    EXPECT_EQ(p.PckOrg, c.Org) << c.Nam;
    EXPECT_EQ(p.PckSeq, c.Seq) << c.Nam;
    EXPECT_EQ(p.PckLen, c.Len) << c.Nam;
    EXPECT_EQ(p.MsgCls, c.Cls) << c.Nam;
    EXPECT_EQ(p.MsgCod, c.Cod) << c.Nam;
    EXPECT_EQ(p.DatCnt, c.DatCnt) << c.Nam;
    EXPECT_EQ(p.DatIdx, c.DatIdx) << c.Nam;
    for (std::size_t i = 0; i < c.Dat.size(); ++i) EXPECT_EQ(p.DatBuf[i], c.Dat[i]) << c.Nam << " byte " << i;
    if (!c.Cpl) {
      EXPECT_EQ(p.PckSte, c.Nam == std::string("cut short") ? PS_DAT : PS_STA) << c.Nam;
    }
  }
}

TEST(PckPrs, CompleteStateHoldsUntilReset) {
  TuRcvPck p;
  for (auto b : B{0x02, 0x05, 0x03, 0x00, 0x03, 0x14, 0x04}) PrsRcvChr(p, b);
  ASSERT_EQ(p.PckSte, PS_CPL);
  for (auto b : B{0x02, 0x07, 0x08}) PrsRcvChr(p, b);
  EXPECT_EQ(p.PckSte, PS_CPL);
  EXPECT_EQ(p.PckOrg, 5);
  RstRcvPck(p);
  EXPECT_EQ(p.PckSte, PS_STA);
  // The program-wide record works the same way.
  RstRcvPck();
  for (auto b : B{0x02, 0x05, 0x03, 0x00, 0x03, 0x14, 0x04}) PrsRcvChr(b);
  EXPECT_EQ(GuRcvPck.PckSte, PS_CPL);
  RstRcvPck();
}

// ---- Effects ------------------------------------------------------------------

TRcvEff E(K k, std::uint16_t v = 0) {
  TRcvEff e{k};
  e.Val = v;
  return e;
}
TRcvEff P(TeRbtRpt r, std::uint16_t swi = 0) {
  TRcvEff e{K::Play};
  e.Rpt = r;
  e.Val = swi;
  return e;
}
TRcvEff Err(const char* t) {
  TRcvEff e{K::SetLstErr};
  e.Txt = t;
  return e;
}

struct TEffCas {
  const char* Nam;
  B In;
  std::vector<TRcvEff> Eff;  // effects of the last byte
};

TEST(PckEff, EveryRobotMessage) {
  const auto up = [](std::uint16_t seq) { return std::vector<TRcvEff>{E(K::ShwSeq, seq), E(K::LnkUp), E(K::PrcMsg)}; };
  auto with = [](std::vector<TRcvEff> a, std::initializer_list<TRcvEff> b) {
    a.insert(a.end(), b);
    return a;
  };
  const TEffCas cas[] = {
      {"own packet back", {0x02, 0x01, 0x07, 0x00, 0x01, 0x01, 0x04}, {E(K::ShwSeq, 7), E(K::RstTmo)}},
      {"incoming signal", Frm(5, 1, 0, 3, {9}), with(up(1), {E(K::Flash), P(TeRbtRpt::IncSig), E(K::RstTmo)})},
      {"standby", Frm(5, 2, 0, 4, {}), with(up(2), {E(K::DisRun), E(K::Flash), P(TeRbtRpt::Stb), E(K::RstTmo)})},
      {"link established", Frm(5, 2, 0, 6, {}),
       with(up(2), {E(K::DisRun), E(K::Flash), P(TeRbtRpt::LnkEst), E(K::RstTmo)})},
      {"measurement 1", {0x02, 0x05, 0x00, 0x02, 0x02, 0x12, 0x34, 0x12, 0x04},
       with(up(0), {E(K::ShwMea1, 0x1234), E(K::RstTmo)})},
      {"measurement 1 of length 1", {0x02, 0x05, 0x00, 0x01, 0x02, 0x12, 0x34, 0x04},
       with(up(0), {Err(GcTxtMeaCnt)})},
      {"measurement 1 of length 3", Frm(5, 0, 2, 0x12, {1, 2, 3}), with(up(0), {Err(GcTxtMeaCnt)})},
      {"switch report 0x30 speaks one", {0x02, 0x05, 0x00, 0x02, 0x02, 0x13, 0x30, 0x00, 0x04},
       with(up(0), {E(K::ShwMea2, 0x0030), E(K::PrcMsg), E(K::Flash), P(TeRbtRpt::Swi, 1), E(K::RstTmo)})},
      {"switch report 0x01 speaks six", Frm(5, 0, 2, 0x13, {0xC1, 0xAB}),
       with(up(0), {E(K::ShwMea2, 0xABC1), E(K::PrcMsg), E(K::Flash), P(TeRbtRpt::Swi, 6), E(K::RstTmo)})},
      {"switch report 0x0C speaks three", Frm(5, 0, 2, 0x13, {0x0C, 0}),
       with(up(0), {E(K::ShwMea2, 0x000C), E(K::PrcMsg), E(K::Flash), P(TeRbtRpt::Swi, 3), E(K::RstTmo)})},
      {"switch report without bits", Frm(5, 0, 2, 0x13, {0xC0, 0x01}),
       with(up(0), {E(K::ShwMea2, 0x01C0), E(K::PrcMsg), E(K::RstTmo)})},
      {"switch report without data", Frm(5, 0, 2, 0x13, {}),
       with(up(0), {E(K::ShwMea2, 0), E(K::PrcMsg), E(K::RstTmo)})},
      {"transfer complete", {0x02, 0x05, 0x03, 0x00, 0x03, 0x14, 0x04},
       with(up(3), {E(K::UplCfm), E(K::RunEnd), E(K::EnaComSte), E(K::EnaRun), E(K::Flash), P(TeRbtRpt::TrfCmp),
                    E(K::RstTmo)})},
      {"working", Frm(5, 4, 3, 0x15, {}),
       with(up(4), {E(K::EnaComSte), E(K::RpnRun), E(K::Flash), P(TeRbtRpt::Wrk), E(K::RstTmo)})},
      {"program complete", Frm(5, 4, 3, 0x16, {}),
       with(up(4), {E(K::RunEnd), E(K::EnaComSte), E(K::EnaRun), E(K::Flash), P(TeRbtRpt::PgmCmp), E(K::RstTmo)})},
      {"executed address", Frm(5, 4, 4, 0x17, {0x2A}), with(up(4), {E(K::RunAdr, 0x2A), E(K::RstTmo)})},
      {"executed address 255", Frm(5, 4, 4, 0x17, {0xFF}), with(up(4), {E(K::RunAdr, 0xFF), E(K::RstTmo)})},
      {"executed address, extra bytes ignored", Frm(5, 4, 4, 0x17, {7, 9}),
       with(up(4), {E(K::RunAdr, 7), E(K::RstTmo)})},
      {"executed address without its byte", Frm(5, 4, 4, 0x17, {}), with(up(4), {E(K::RstTmo)})},
      {"unknown code of the simulator's class", Frm(5, 4, 4, 0x16, {3}), with(up(4), {E(K::RstTmo)})},
      {"fault of the simulated robot", Frm(5, 4, 4, 0x18, {7, 2}),
       with(up(4), {E(K::RunEnd), E(K::EnaComSte), E(K::EnaRun), E(K::Flash), E(K::ShwRbtFlt, 0x0207), E(K::RstTmo)})},
      {"fault without its two bytes", Frm(5, 4, 4, 0x18, {7}), with(up(4), {E(K::RstTmo)})},
      {"unknown message", Frm(5, 4, 7, 0x77, {1}), with(up(4), {E(K::RstTmo)})},
      {"unknown code of a known class", Frm(5, 4, 3, 0x17, {}), with(up(4), {E(K::RstTmo)})},
      {"a frame that stops half-way", {0x02, 0x05, 0x03}, {E(K::RstTmo)}},
  };
  for (const auto& c : cas) {
    TuRcvPck p;
    for (std::size_t i = 0; i + 1 < c.In.size(); ++i)
      EXPECT_EQ(RcvChrEff(p, c.In[i]), std::vector<TRcvEff>{E(K::RstTmo)}) << c.Nam << " byte " << i;
    EXPECT_EQ(RcvChrEff(p, c.In.back()), c.Eff) << c.Nam;
    EXPECT_EQ(p.PckSte, c.In.size() >= 7 ? PS_STA : PS_LEN) << c.Nam;
  }
}

TEST(PckEff, AnExecutedAddressWithoutItsByteNeverTakesAnOldOne) {
  // A measurement leaves its bytes in the receive record.
  TuRcvPck p;
  for (std::uint8_t b : Frm(5, 1, 2, 0x12, {0x34, 0x12})) RcvChrEff(p, b);
  std::vector<TRcvEff> e;
  for (std::uint8_t b : Frm(5, 2, 4, 0x17, {})) e = RcvChrEff(p, b);
  EXPECT_EQ(e, (std::vector<TRcvEff>{E(K::ShwSeq, 2), E(K::LnkUp), E(K::PrcMsg), E(K::RstTmo)}));
  for (std::uint8_t b : Frm(5, 3, 4, 0x17, {0x03})) e = RcvChrEff(p, b);
  EXPECT_EQ(e, (std::vector<TRcvEff>{E(K::ShwSeq, 3), E(K::LnkUp), E(K::PrcMsg), E(K::RunAdr, 3), E(K::RstTmo)}));
}

TEST(PckEff, ASilenceInsideAFrameGivesItUp) {
  // The start of a frame, silence, then "transfer complete": read whole.
  TuRcvPck p;
  for (std::uint8_t b : B{0x02, 0x05, 0x0d}) RcvChrEff(p, b);
  const B f = Frm(5, 3, MC_STS, MK_TRF_CMP, {});
  std::vector<TRcvEff> e;
  for (std::size_t i = 0; i < f.size(); ++i) e = RcvChrEff(p, f[i], i == 0);
  ASSERT_GE(e.size(), 2u);
  EXPECT_EQ(e[0], E(K::ShwSeq, 3));
  // A silence between frames changes nothing.
  for (std::size_t i = 0; i < f.size(); ++i) e = RcvChrEff(p, f[i], i == 0);
  EXPECT_EQ(e[0], E(K::ShwSeq, 3));
}

TEST(PckEff, OnlyEffectsThatLaterOnesReplaceAreMerged) {
  using L = std::vector<TRcvEff>;
  struct {
    L Into, Add, Out;  // Out empty: not merged
  } cas[] = {
      {{E(K::RstTmo)}, {E(K::RstTmo)}, {E(K::RstTmo)}},
      {{E(K::ShwSeq, 1), E(K::LnkUp), E(K::ShwMea1, 5), E(K::RstTmo)},
       {E(K::RstTmo), E(K::ShwSeq, 2), E(K::ShwMea2, 7), E(K::ShwMea1, 6)},
       {E(K::ShwSeq, 2), E(K::LnkUp), E(K::ShwMea1, 6), E(K::RstTmo), E(K::ShwMea2, 7)}},
      {{E(K::RunAdr, 3)}, {E(K::RunAdr, 4), E(K::PrcMsg)}, {E(K::RunAdr, 4), E(K::PrcMsg)}},
      {{E(K::RstTmo)}, {E(K::Flash), P(TeRbtRpt::Wrk)}, {}},
      {{E(K::ShwSeq, 1), P(TeRbtRpt::Wrk)}, {E(K::RstTmo)}, {}},
      {{E(K::EnaRun)}, {E(K::EnaRun)}, {}},
      {{E(K::RunAdr, 3)}, {E(K::RunEnd)}, {}},
  };
  for (const auto& c : cas) {
    L into = c.Into;
    EXPECT_EQ(MrgRcvEff(into, c.Add), !c.Out.empty());
    EXPECT_EQ(into, c.Out.empty() ? c.Into : c.Out);
  }
}

TEST(PckEff, Hex4) {
  EXPECT_EQ(Hex4(0x1234), "1234");
  EXPECT_EQ(Hex4(0x00AB), "00AB");
  EXPECT_EQ(Hex4(0xFFFF), "FFFF");
}

// Any effect other than the time-out comes from a complete, well-formed frame.
bool Dispatched(const std::vector<TRcvEff>& e) { return !(e.size() == 1 && e[0].Knd == K::RstTmo); }

TEST(PckEff, RandomGarbageTakesNoEffectFromABrokenFrame) {
  std::mt19937 rng(20261207);
  std::uniform_int_distribution<int> byt(0, 255);
  TuRcvPck p;
  // Garbage alone: a frame completes only where the bytes happen to form one.
  int cpl = 0;
  for (int i = 0; i < 200000; ++i) {
    // Half of the bytes from the protocol's small values, so that short
    // lengths, start and end bytes come often.
    const int r = byt(rng);
    const auto b = static_cast<std::uint8_t>(r & 1 ? byt(rng) : (r >> 1) % 6);
    const std::uint8_t ste = p.PckSte;
    auto e = RcvChrEff(p, b);
    ASSERT_GE(p.PckSte, PS_STA);
    ASSERT_LE(p.PckSte, PS_DAT);
    ASSERT_LE(p.DatIdx, GcRcvDatMax);
    if (Dispatched(e)) {
      ++cpl;
      ASSERT_EQ(ste, PS_DAT);
      ASSERT_EQ(b, 0x04);
      ASSERT_EQ(p.DatCnt, p.PckLen);
      ASSERT_LE(p.PckLen, GcRcvDatMax);
    }
  }
  EXPECT_GT(cpl, 0);
  // Well-formed frames between garbage without start bytes: each is taken, once.
  RstRcvPck(p);
  int seen = 0, sent = 0;
  for (int i = 0; i < 2000; ++i) {
    B g(static_cast<std::size_t>(byt(rng) % 12));
    for (auto& x : g) x = static_cast<std::uint8_t>(byt(rng) | 0x08);  // never 0x02
    for (auto b : g) ASSERT_FALSE(Dispatched(RcvChrEff(p, b)));
    B d(static_cast<std::size_t>(byt(rng) % 8));
    for (auto& x : d) x = static_cast<std::uint8_t>(byt(rng));
    const auto seq = static_cast<std::uint8_t>(i);
    B f = Frm(5, seq, 3, 0x15, d);
    ++sent;
    for (std::size_t k = 0; k < f.size(); ++k) {
      auto e = RcvChrEff(p, f[k]);
      if (k + 1 < f.size()) {
        ASSERT_FALSE(Dispatched(e)) << i;
      } else {
        ASSERT_TRUE(Dispatched(e)) << i;
        ASSERT_EQ(e[0], E(K::ShwSeq, seq));
        ++seen;
      }
    }
  }
  EXPECT_EQ(seen, sent);
}

// ---- On a pseudo-terminal -------------------------------------------------------

TEST(PckPty, TheSessionSendsWholeFramesAndWaitsForTheAnswer) {
  TFakePlatform plt;
  TPty pty;
  EXPECT_EQ(LinSetTxt(GcRbtLin), "2400 baud, 8N1");
  EXPECT_EQ(RbtLinMs(240), 1000);  // ten bits a byte
  TLnkSes ses;
  ASSERT_TRUE(ses.Opn(pty.Pth()).Ok());
  ses.Com().FbBlkCbk = false;
  const B tkn{0xA0, 0x01, 0xA3, 0x05, 0xAE};
  ASSERT_TRUE(ses.Snd(MC_PGM, MK_UPL, tkn));
  ASSERT_TRUE(ses.Snd(MC_PGM, MK_RUN, {}));
  std::size_t tooLng = 0;
  EXPECT_FALSE(ses.Snd(MC_PGM, MK_UPR, B(256, 0xA0), [&](std::size_t n) { tooLng = n; }));
  EXPECT_EQ(tooLng, 256u);
  ASSERT_TRUE(ses.Snd(MC_CTL, MK_LNK_CHK, {}));
  const B exp = Cat({Frm(1, 0, 1, 0, tkn), Frm(1, 1, 1, 1, {}), Frm(1, 2, 0, 5, {})});
  EXPECT_EQ(pty.Rd(exp.size()), exp);
  EXPECT_EQ(ses.PckCnt(), 3);  // the refused packet took no number

  // Our own frame coming back and another message are no answer.
  std::string why;
  const auto lim = [](int ms) { return TLnkSes::TClk::now() + std::chrono::milliseconds(ms); };
  ASSERT_TRUE(pty.Wr(Cat({Frm(1, 7, 3, 0x14, {}), Frm(5, 8, 3, 0x15, {}), Frm(5, 9, 3, 0x14, {})})));
  EXPECT_EQ(ses.WaiAns(MC_STS, MK_TRF_CMP, lim(10000), why), TeAnsWai::Ans);
  EXPECT_EQ(ses.WaiAns(MC_STS, MK_TRF_CMP, lim(0), why), TeAnsWai::Tmo);
  // The far end going away ends the link: the component's report, or the
  // closed port when the wait looks before the report has come.
  pty.ClsMst();
  EXPECT_EQ(ses.WaiAns(MC_STS, MK_TRF_CMP, lim(10000), why), TeAnsWai::End);
  EXPECT_TRUE(why == "Error #004, comport device lost" || why == "the port was closed") << why;
}

}  // namespace
