// The robot monitor's store: one driver over cases/mea.txt (the robot's
// frames through the link's one parser into the store, what it keeps, its
// plot and its CSV text).
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <sstream>

#include "link/MeaSto.h"
#include "link/PckPrt.h"
#include "support/TstLin.h"

namespace {

std::string Hx(std::uint16_t v) {
  char b[8];
  std::snprintf(b, sizeof b, "%X", static_cast<unsigned>(v));
  return b;
}

// The words after "=>", joined by one space.
std::string Want(const std::vector<std::string>& w) {
  std::string s;
  bool on = false;
  for (const std::string& x : w) {
    if (on) s += (s.empty() ? "" : " ") + x;
    on = on || x == "=>";
  }
  return s;
}

std::string SmpTxt(const std::vector<TuMeaSmp>& smp) {
  std::string s;
  for (const TuMeaSmp& x : smp) s += (s.empty() ? "" : " ") + std::to_string(x.Chn + 1) + ":" + Hx(x.Val) + "@" + std::to_string(x.Ms);
  return s.empty() ? "none" : s;
}

std::string PltTxt(const std::vector<TuPltPt>& pts) {
  std::string s;
  for (const TuPltPt& p : pts) s += (s.empty() ? "" : " ") + std::to_string(p.X) + "," + std::to_string(p.Y);
  return s.empty() ? "none" : s;
}

struct TCas {
  TRcvPrs Prs;
  TMeaSto Sto;

  std::string Do(const std::vector<std::string>& w, std::istream& in, int& no) {
    const std::string& c = w[0];
    auto num = [&](std::size_t i) { return std::stoll(w.at(i)); };
    if (c == "at") {
      // Each complete frame's effects go to the store, as the link hands them on.
      int taken = 0;
      for (std::uint8_t b : TstHex(w, 2)) taken += Sto.Put(Prs.Put(b), num(1));
      return std::to_string(taken);
    }
    if (c == "pause" || c == "go") return Sto.SetPau(c == "pause", num(1)), "";
    if (c == "clear") return Sto.Clr(), "";
    if (c == "last") {
      const auto v = Sto.Lst(static_cast<std::uint8_t>(num(1) - 1));
      return v ? Hx(*v) : "none";
    }
    if (c == "samples") return SmpTxt(Sto.Smp(num(1)));
    if (c == "max") return Hx(MeaMax(Sto.Smp(num(2)), static_cast<std::uint8_t>(num(1) - 1)));
    if (c == "plot") {
      // plot CHN[.BIT] NOW X0 W Y0 H [MAX]
      const std::string ch = w.at(1);
      const auto dot = ch.find('.');
      const auto chn = static_cast<std::uint8_t>(std::stoi(ch.substr(0, dot)) - 1);
      const auto bit = static_cast<std::uint16_t>(dot == std::string::npos ? 0 : std::stoul(ch.substr(dot + 1), nullptr, 16));
      const auto smp = Sto.Smp(num(2));
      const auto max = w.size() > 7 ? static_cast<std::uint16_t>(num(7)) : MeaMax(smp, chn);
      return PltTxt(MeaPlt(smp, chn, Sto.End(num(2)), static_cast<int>(num(3)), static_cast<int>(num(4)),
                           static_cast<int>(num(5)), static_cast<int>(num(6)), max, bit));
    }
    if (c == "csv") {
      std::string want, lin;
      while (std::getline(in, lin) && (++no, lin != "end")) want += lin + "\r\n";
      EXPECT_EQ(Sto.Csv(num(1)), want) << "line " << no;
      return "";
    }
    ADD_FAILURE() << "line " << no << ": no command " << c;
    return "";
  }
};

TEST(MeaSto, Cases) {
  std::ifstream in(TESSARO_SOURCE_DIR "/tests/link/cases/mea.txt");
  ASSERT_TRUE(in) << "cases/mea.txt";
  auto cas = std::make_unique<TCas>();
  std::string lin;
  int no = 0, chk = 0;
  while (std::getline(in, lin)) {
    ++no;
    const std::vector<std::string> w = TstWrd(lin);
    if (w.empty() || w[0][0] == '#') continue;
    if (w[0] == "case") {
      cas = std::make_unique<TCas>();
      continue;
    }
    const std::vector<std::string> cmd(w.begin(), std::find(w.begin(), w.end(), "=>"));
    const std::string got = cas->Do(cmd, in, no);
    if (lin.find("=>") != std::string::npos) {
      EXPECT_EQ(got, Want(w)) << "line " << no << ": " << lin;
      ++chk;
    }
  }
  EXPECT_GT(chk, 10);
}

}  // namespace
