// The packet protocol: one driver over cases/pck.txt (frames sent, effects of
// received bytes, merging) and the senders' failures. Random streams are the
// frame fuzzer's and the link's load test's.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "core/Globals.h"
#include "link/PckPrt.h"
#include "link/LnkSes.h"
#include "support/FakePlatform.h"

namespace {

using B = std::vector<std::uint8_t>;
using L = std::vector<TRcvEff>;

const char* const GcEffNam[] = {"RstTmo", "ShwSeq", "LnkUp", "PrcMsg", "DisRun", "EnaRun", "RpnRun", "EnaComSte",
                                "Flash", "Play", "ShwMea1", "ShwMea2", "Err", "RunAdr", "RunEnd", "ShwRbtFlt",
                                "UplCfm"};
const char* const GcRptNam[] = {"IncSig", "Stb", "LnkEst", "Swi", "TrfCmp", "Wrk", "PgmCmp"};
constexpr bool GcEffVal[] = {0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 0, 1, 0, 1, 0};

template <std::size_t N>
int Idx(const char* const (&tbl)[N], const std::string& s) {
  for (std::size_t i = 0; i < N; ++i)
    if (s == tbl[i]) return static_cast<int>(i);
  ADD_FAILURE() << "unknown name " << s;
  return 0;
}

std::string Str(const L& l) {
  std::ostringstream o;
  for (const TRcvEff& e : l) {
    o << ' ' << GcEffNam[static_cast<int>(e.Knd)];
    if (e.Knd == TeRcvEff::Play) o << ':' << GcRptNam[static_cast<int>(e.Rpt)];
    if (GcEffVal[static_cast<int>(e.Knd)] || (e.Knd == TeRcvEff::Play && e.Val)) o << '=' << std::hex
                                                                                     << std::uppercase << e.Val;
    if (e.Knd == TeRcvEff::SetLstErr && e.Txt != GcTxtMeaCnt) o << "(" << e.Txt << ")";
  }
  return o.str();
}

// Effects up to the token "until".
L Eff(std::istream& is, const std::string& until = "") {
  L l;
  std::string t;
  while (is >> t && t != until) {
    const auto eq = t.find('='), col = t.find(':');
    TRcvEff e{static_cast<TeRcvEff>(Idx(GcEffNam, t.substr(0, std::min(eq, col))))};
    if (col != std::string::npos) e.Rpt = static_cast<TeRbtRpt>(Idx(GcRptNam, t.substr(col + 1, eq - col - 1)));
    if (eq != std::string::npos) e.Val = static_cast<std::uint16_t>(std::stoul(t.substr(eq + 1), nullptr, 16));
    if (e.Knd == TeRcvEff::SetLstErr) e.Txt = GcTxtMeaCnt;
    l.push_back(e);
  }
  return l;
}

// Hex bytes up to "=>"; a "~" before a byte marks a silence before it (gaps),
// a "|" where the checked bytes begin (from).
B Hex(std::istream& is, std::vector<bool>* gaps = nullptr, std::size_t* from = nullptr) {
  B b;
  std::string t;
  bool gap = false;
  while (is >> t && t != "=>") {
    if (t == "|" && from) *from = b.size();
    if (t == "~" || t == "|") {
      gap = true;
      continue;
    }
    const auto st = t.find('*');
    const std::size_t n = st == std::string::npos ? 1 : std::stoul(t.substr(st + 1));
    for (std::size_t i = 0; i < n; ++i) {
      b.push_back(static_cast<std::uint8_t>(std::stoul(t.substr(0, st), nullptr, 16)));
      if (gaps) gaps->push_back(gap && i == 0);
    }
    gap = false;
  }
  return b;
}

// The packets that the commands send, by their names in the cases.
struct TPckCmd {
  const char* Nam;
  std::uint8_t Cls, Cod;
};
constexpr TPckCmd GcPckCmd[] = {
    {"upl", MC_PGM, MK_UPL}, {"run", MC_PGM, MK_RUN}, {"upr", MC_PGM, MK_UPR}, {"chk", MC_CTL, MK_LNK_CHK}};

void Snd(std::istream& is) {
  std::string cnt, cmd;
  is >> cnt >> cmd;
  std::uint8_t c = static_cast<std::uint8_t>(std::stoul(cnt, nullptr, 16));
  const B dat = Hex(is);
  std::size_t tooLng = 0;
  B got;
  const TPckOut out{[&](std::size_t n) { tooLng = n; }, [] { return true; }, {}, [&](std::uint8_t b) {
                      got.push_back(b);
                      return true;
                    }};
  const auto* pck = std::find_if(std::begin(GcPckCmd), std::end(GcPckCmd), [&](const TPckCmd& p) { return cmd == p.Nam; });
  ASSERT_NE(pck, std::end(GcPckCmd)) << cmd;
  const bool ok = SndPck(c, pck->Cls, pck->Cod, dat, out);
  std::string rest;
  std::getline(is >> std::ws, rest);
  if (rest == "long") {
    EXPECT_FALSE(ok);
    EXPECT_EQ(tooLng, dat.size());
    EXPECT_TRUE(got.empty());
    EXPECT_EQ(c, static_cast<std::uint8_t>(std::stoul(cnt, nullptr, 16)));
    return;
  }
  std::istringstream exp(rest);
  EXPECT_TRUE(ok);
  EXPECT_EQ(got, Hex(exp));
  EXPECT_EQ(c, static_cast<std::uint8_t>(std::stoul(cnt, nullptr, 16) + 1));
}

void Rcv(std::istream& is) {
  std::vector<bool> gap;
  std::size_t from = 0;
  const B in = Hex(is, &gap, &from);
  const L exp = Eff(is);
  TRcvPrs p;
  for (std::size_t i = 0; i + 1 < in.size(); ++i)
    if (i < from)
      p.Put(in[i], gap[i]);
    else
      EXPECT_EQ(Str(p.Put(in[i], gap[i])), " RstTmo") << "byte " << i;
  EXPECT_EQ(Str(p.Put(in.back(), gap.back())), Str(exp));
}

void Mrg(std::istream& is) {
  L into = Eff(is, ";");
  const L add = Eff(is, "=>");
  std::string t;
  std::getline(is >> std::ws, t);
  std::istringstream exp(t);
  const L before = into;
  EXPECT_EQ(MrgRcvEff(into, add), t != "kept");
  EXPECT_EQ(Str(into), Str(t == "kept" ? before : Eff(exp)));
}

// The frames of BYTES that a wait for class CLS and code COD takes as its answer.
void Ans(std::istream& is) {
  std::string cls, cod;
  is >> cls >> cod;
  const auto c = static_cast<std::uint8_t>(std::stoul(cls, nullptr, 16));
  const auto d = static_cast<std::uint8_t>(std::stoul(cod, nullptr, 16));
  TRcvPrs prs;
  std::string got;
  int frm = 0;
  for (std::uint8_t b : Hex(is)) {
    prs.Put(b);
    if (prs.Ans(c, d)) got += (got.empty() ? "" : " ") + std::to_string(frm);
    if (b == 0x04) ++frm;
  }
  std::string exp;
  std::getline(is >> std::ws, exp);
  EXPECT_EQ(got, exp == "none" ? "" : exp);
}

TEST(PckPrt, Cases) {
  std::ifstream f(std::string(TESSARO_SOURCE_DIR) + "/tests/link/cases/pck.txt");
  ASSERT_TRUE(f);
  std::string lin;
  int n = 0;
  while (std::getline(f, lin)) {
    if (lin.empty() || lin[0] == '#') continue;
    SCOPED_TRACE(lin);
    std::istringstream is(lin);
    std::string cmd;
    is >> cmd;
    ++n;
    if (cmd == "snd") Snd(is);
    else if (cmd == "rcv") Rcv(is);
    else if (cmd == "mrg") Mrg(is);
    else if (cmd == "ans") Ans(is);
    else ADD_FAILURE() << "unknown case";
  }
  EXPECT_GT(n, 50);
}

TEST(PckPrt, SendFailuresLeaveTheirReasonAndTheCounter) {
  TFakePlatform plt;
  for (const int rfs : {-1, 4}) {  // the port cannot be opened; the fifth byte is refused
    B got;
    std::uint8_t cnt = 4;
    const TPckOut out{{}, [&] {
                        GuLstErrMsg = rfs < 0 ? "cannot be opened" : "";
                        return rfs >= 0;
                      },
                      {}, [&](std::uint8_t b) {
                        if (static_cast<int>(got.size()) == rfs) return false;
                        got.push_back(b);
                        return true;
                      }};
    EXPECT_FALSE(SndPck(cnt, MC_PGM, MK_UPL, {0xA0}, out));
    EXPECT_EQ(got, rfs < 0 ? B{} : (B{0x02, 0x01, 0x04, 0x01}));
    EXPECT_EQ(cnt, rfs < 0 ? 4 : 5);
    EXPECT_EQ(GuLstErrMsg, rfs < 0 ? "cannot be opened" : "");
  }
  EXPECT_EQ(Hex4(0x0A1F), "0A1F");
}

}  // namespace
