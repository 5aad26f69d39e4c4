// One driver over the editing scripts in scripts/*.ted (the commands are
// described in scripts/README): each "case" starts on a fresh field, each line
// is one action or one expectation. Every message box shown must be expected.
// The commands' tables are VioScrCmd.cpp.
#include <filesystem>
#include <fstream>

#include "VioScr.h"

namespace fs = std::filesystem;

namespace edtscr {

void TScr::Run(const TLin& l) {
  const std::string& c = l[0];
  const TCx x{c, l.Tok.size(), [&](bool got) { EXPECT_EQ(got, c.back() != '!') << GuLstErrMsg; }};
  // The variants of a command ("!" expects a failure) share its entry.
  static const std::map<std::string, std::string> alias = {{"rec", "at"},   {"err^", "err"}, {"wmsg", "evt"}, {"tbn", "evt"},
                                                           {"bad", "load"}, {"rprs", "prs"}, {"rup", "up"},
                                                           {"lsntsk", "lsntit"}, {"cutv", "copy"}, {"dup", "paste"}};
  const std::string nam = c.substr(0, c.find('!'));
  const std::string key = alias.count(nam) ? alias.at(nam) : nam;
  TCmdMap cmd;
  for (auto grp : {&TScr::CmdLay, &TScr::CmdCtl, &TScr::CmdTrn, &TScr::CmdBox, &TScr::CmdFil, &TScr::CmdMou, &TScr::CmdClp})
    cmd.merge((this->*grp)(l, x));
  const auto f = cmd.find(key);
  ASSERT_NE(f, cmd.end()) << "unknown command " << c;
  f->second();
}

}  // namespace edtscr

namespace {

using edtscr::TLin;
using edtscr::TScr;

TEST(VioScr, EveryScript) {
  std::vector<fs::path> fils;
  for (const auto& e : fs::directory_iterator(TESSARO_SOURCE_DIR "/tests/editor/scripts"))
    if (e.path().extension() == ".ted") fils.push_back(e.path());
  std::sort(fils.begin(), fils.end());
  ASSERT_GE(fils.size(), 6u);
  for (const fs::path& f : fils) {
    std::ifstream in(f);
    std::vector<TLin> cas;
    std::string nam, s;
    auto run = [&] {
      if (nam.empty()) return;
      SCOPED_TRACE(f.filename().string() + ": " + nam);
      TScr scr;
      for (const TLin& l : cas) {
        SCOPED_TRACE("line " + std::to_string(l.No) + ": " + l.Txt);
        try {
          scr.Run(l);
        } catch (const std::exception& x) {
          FAIL() << "a word is missing or wrong: " << x.what();
        }
        if (::testing::Test::HasFatalFailure()) return;
      }
    };
    for (int no = 1; std::getline(in, s); ++no) {
      if (s.empty() || s[0] == '#') continue;
      TLin l = TLin::Of(s, no);
      if (l[0] == "case") {
        run();
        nam = l.Rst(1), cas.clear();
        continue;
      }
      if (l[0] == "save" || l[0] == "load" || l[0] == "load!" || l[0] == "bad" || l[0] == "lesson" ||
          l[0] == "lesson!" || l[0] == "copy" || l[0] == "cutv" || l[0] == "paste" ||
          l[0] == "paste!")
        while (std::getline(in, s) && s != ".") l.Bdy.push_back(s), ++no;
      cas.push_back(l);
    }
    run();
  }
}

}  // namespace
