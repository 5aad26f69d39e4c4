// SysMsgFil.sys and ExtComTkn.sys at and beyond their size limit.
#include <gtest/gtest.h>

#include <random>

#include "core/Globals.h"
#include "messages/SysLgeMsg.h"
#include "messages/TxtFil.h"
#include "support/FakePlatform.h"
#include "translator/SarAndTkn.h"

namespace {

constexpr std::size_t GcMax = GcMaxSysFilSiz;

// A message file of exactly siz bytes: one real block, then blank lines.
std::string MsgFil(std::size_t siz) {
  std::string s = "0x14\r\nno start\r\ngeen start\r\nkein Start\r\n";
  s.resize(siz, '\n');
  return s;
}

// A token file of exactly siz bytes: one real entry, then a comment line.
std::string TknFil(std::size_t siz) {
  std::string s = "0x12\nA, XXX, Driving, Forward, Rijden, Vooruit, Fahren, Vorwaerts\n";
  s.resize(siz, ';');
  return s;
}

class SysFilLim : public ::testing::Test {
protected:
  TFakePlatform Pf;
  TTmpDir Dir;
};

TEST_F(SysFilLim, MessageFileUpToTheLimitLoadsAndALargerOneEndsTheStartWithAClearError) {
  Dir.Write("SysMsgFil.sys", MsgFil(GcMax));
  {
    TSysLgeMsg m(nullptr, Dir.Path());
    EXPECT_FALSE(Pf.EvtLoop.Terminated) << GuLstErrMsg;
    EXPECT_EQ(m.GetSysMsg(0x14, 2), "kein Start");
  }
  Dir.Write("SysMsgFil.sys", MsgFil(GcMax + 1));
  TSysLgeMsg m(nullptr, Dir.Path());
  const std::string want = "#175, File error: SysMsg File '" + Dir.Path() + "SysMsgFil.sys' is larger than 262144 bytes";
  EXPECT_EQ(GuLstErrMsg, want);
  ASSERT_EQ(Pf.MsgBox.Calls.size(), 1u);
  EXPECT_EQ(Pf.MsgBox.Calls[0].Text, want);
  EXPECT_TRUE(Pf.EvtLoop.Terminated);
  EXPECT_TRUE(m.Lines().empty());
}

TEST_F(SysFilLim, TokenFileUpToTheLimitLoadsAndALargerOneIsRefused) {
  TSarAndTkn t(nullptr);
  ASSERT_TRUE(t.LodTknFil(Dir.Write("ExtComTkn.sys", TknFil(GcMax)))) << GuLstErrMsg;
  EXPECT_EQ(t.GetSarTkn(0, "Driving", "Forward"), 0x12);
  EXPECT_EQ(t.Lines().size(), 3u);
  const std::string p = Dir.Write("ExtComTkn.sys", TknFil(GcMax + 1));
  EXPECT_FALSE(t.LodTknFil(p));
  EXPECT_EQ(GuLstErrMsg, "#176, File error: Token File '" + p + "' is larger than 262144 bytes");
  EXPECT_TRUE(t.Lines().empty());
  EXPECT_EQ(t.GetSarTkn(0, "Driving", "Forward"), -1);
}

TEST_F(SysFilLim, LinesAreSplitTheSameWhateverPieceTheyAreReadIn) {
  // Lines of every length around the 16 KiB pieces of the reader, CR LF and
  // LF mixed, and a last line without its end, compared with a plain split.
  std::mt19937 rnd(3);
  std::string all;
  TStrLst want;
  while (all.size() < 3 * 16384) {
    const std::size_t n = rnd() % 700;
    std::string l(n, 'a');
    for (char& c : l) c = static_cast<char>('a' + rnd() % 26);
    want.push_back(l);
    all += l + (rnd() % 2 ? "\r\n" : "\n");
  }
  all += "last";
  want.push_back("last");
  TStrLst got;
  ASSERT_EQ(RdLinFil(Dir.Write("l.txt", all), got, GcMax), TeLinFilRes::Ok);
  EXPECT_EQ(got, want);
  // A CR LF split between two pieces.
  std::string cut(16383, 'x');
  cut += "\r\nnext\r";
  ASSERT_EQ(RdLinFil(Dir.Write("c.txt", cut), got, GcMax), TeLinFilRes::Ok);
  EXPECT_EQ(got, (TStrLst{std::string(16383, 'x'), "next"}));
  EXPECT_EQ(RdLinFil(Dir.Path() + "none.txt", got, GcMax), TeLinFilRes::CantRd);
  EXPECT_EQ(RdLinFil(Dir.Path(), got, GcMax), TeLinFilRes::CantRd);  // a folder
}

TEST_F(SysFilLim, BinaryDataLoadsAsLinesThatMeanNothing) {
  std::mt19937 rnd(11);
  std::string bin(GcMax, '\0');
  for (char& c : bin) c = static_cast<char>(rnd());
  Dir.Write("SysMsgFil.sys", bin);
  TSysLgeMsg m(nullptr, Dir.Path());
  EXPECT_FALSE(Pf.EvtLoop.Terminated);
  for (int id = 0; id < 256; ++id) m.GetSysMsg(static_cast<std::uint8_t>(id), 2);  // must not read past the end
  TSarAndTkn t(nullptr);
  ASSERT_TRUE(t.LodTknFil(Dir.Write("ExtComTkn.sys", bin)));
  TStrLst lst;
  t.GetSarTypLst(lst, 0, 0, true);
  EXPECT_EQ(t.GetSarTkn(0, "Driving", "Forward"), -1);
}

}  // namespace
