// One driver over the guided first program's cases (data/first_program.txt):
// the events of a field and a robot in, the step shown out.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/FstGuiStp.h"
#include "core/Globals.h"
#include "support/TstLin.h"

namespace {

struct TCas {
  std::vector<TuFstVio> Vio;
  TFstGuiStp Stp;

  void Pgm() { Stp.Pgm(FstPgmDon(Vio)); }

  std::string Shw() const {
    if (Stp.End()) return std::string("End ") + (Stp.Skipped() ? "skipped" : "seen");
    const std::string pnt = FstStpPnt(Stp.Cur());
    return std::string(FstStpNam(Stp.Cur())) + " " + (pnt.empty() ? "-" : pnt);
  }

  void Do(const std::vector<std::string>& w) {
    static const std::map<std::string, std::uint8_t> typ = {{"Sta", VT_STA}, {"Sto", VT_STO}, {"Act", VT_ACT},
                                                            {"Dly", VT_DLY}, {"Iff", VT_IFF}, {"Thn", VT_THN},
                                                            {"Els", VT_ELS}};
    const std::string& c = w[0];
    if (c == "vio") {
      Vio.push_back({typ.at(w.at(1)), std::stoi(w.at(2)) - 1, std::stoi(w.at(3)) - 1});
      Pgm();
    } else if (c == "rmv") {
      const int col = std::stoi(w.at(1)) - 1, row = std::stoi(w.at(2)) - 1;
      std::erase_if(Vio, [&](const TuFstVio& v) { return v.Col == col && v.Row == row; });
      Pgm();
    } else if (c == "run") Stp.Run();
    else if (c == "drive") Stp.Drv();
    else if (c == "next") Stp.Nxt();
    else if (c == "skip") Stp.Skp();
    else if (c == "step") {
      // The point is checked when given.
      const std::string got = Shw();
      const std::string want = w.at(1) + (w.size() > 2 ? " " + w[2] : "");
      EXPECT_EQ(w.size() > 2 ? got : got.substr(0, got.find(' ')), want);
    } else FAIL() << "no command " << c;
  }
};

TEST(FstGuiStp, EveryCase) {
  std::ifstream in(TESSARO_SOURCE_DIR "/tests/app/data/first_program.txt");
  ASSERT_TRUE(in) << "no cases";
  std::unique_ptr<TCas> cas;
  int no = 0, n = 0;
  std::string nam;
  for (std::string line; std::getline(in, line);) {
    ++no;
    const std::vector<std::string> w = TstWrd(line);
    if (w.empty() || w[0][0] == '#') continue;
    if (w[0] == "case") {
      nam = line.substr(5);
      cas = std::make_unique<TCas>();
      ++n;
      continue;
    }
    ASSERT_TRUE(cas) << "line " << no << ": no case yet";
    SCOPED_TRACE("line " + std::to_string(no) + " (" + nam + "): " + line);
    cas->Do(w);
  }
  EXPECT_GE(n, 10);
}

}  // namespace
