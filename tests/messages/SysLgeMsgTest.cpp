// The message table: lookups in the case file, loading and its limits, the
// check of what the file lacks, and the link's texts.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <random>
#include <tuple>

#include "core/Globals.h"
#include "messages/LnkMsg.h"
#include "messages/SysLgeMsg.h"
#include "messages/SysMsgBui.h"
#include "support/FakePlatform.h"
#include "translator/SarAndTkn.h"

namespace {

const std::string kNoMsg =
    "#221, No corresponding system message in message TMemo found. Searched message identifier (decimal): ";

class SysLgeMsgTest : public ::testing::Test {
protected:
  TFakePlatform Pf;
  TTmpDir Dir;
  std::unique_ptr<TSysLgeMsg> Load(const std::string& content) {
    Dir.Write("SysMsgFil.sys", content);
    return std::make_unique<TSysLgeMsg>(nullptr, Dir.Path());
  }
};

TEST_F(SysLgeMsgTest, LookupsOfTheCaseFile) {
  std::ifstream in(TESSARO_SOURCE_DIR "/tests/messages/lookups.tsv");
  std::string fil, id, lge, txt;
  int n = 0;
  while (std::getline(in, fil, '\t') && std::getline(in, id, '\t') && std::getline(in, lge, '\t') &&
         std::getline(in, txt)) {
    if (n++ == 0) continue;  // the heading
    SCOPED_TRACE(fil + " / " + id + " / " + lge);
    std::replace(fil.begin(), fil.end(), '|', '\n');
    auto m = Load(fil);
    GuLstErrMsg = "before";
    EXPECT_EQ(m->GetSysMsg(static_cast<std::uint8_t>(std::stoi(id)), static_cast<std::uint8_t>(std::stoi(lge))),
              txt == "-" ? "" : txt);
    EXPECT_EQ(GuLstErrMsg, txt == "-" ? kNoMsg + id : "before");
    // The lookup of a text to show: the build's English where the table has
    // none, and not a word to the last-error text.
    GuSysLgeMsg = m.get();
    GuLstErrMsg = "kept";
    const auto idf = static_cast<std::uint8_t>(std::stoi(id));
    EXPECT_EQ(SysMsgOr(idf, static_cast<std::uint8_t>(std::stoi(lge))), txt == "-" ? SysMsgEng(idf) : txt);
    EXPECT_EQ(GuLstErrMsg, "kept");
    GuSysLgeMsg = nullptr;
  }
  EXPECT_GE(n, 20);
  EXPECT_TRUE(Pf.MsgBox.Calls.empty());
  EXPECT_FALSE(Pf.EvtLoop.Terminated);
}

TEST_F(SysLgeMsgTest, AFileMissingOrTooLargeEndsTheStartWithItsMessageAndLeavesNoLines) {
  std::string max = "0x14\r\nno start\r\ngeen start\r\nkein Start\r\n";
  max.resize(GcMaxSysFilSiz, '\n');
  EXPECT_EQ(Load(max)->GetSysMsg(0x14, 2), "kein Start");
  EXPECT_FALSE(Pf.EvtLoop.Terminated);
  Dir.Write("big/SysMsgFil.sys", max + "\n");
  for (const auto& [sub, num, why] : {std::tuple<const char*, const char*, const char*>{"none/", "#174", "' could not be found"},
                                      {"big/", "#175", "' is larger than 262144 bytes"}}) {
    TFakePlatform pf;
    TSysLgeMsg m(nullptr, Dir.Path() + sub);
    EXPECT_EQ(GuLstErrMsg, std::string(num) + ", File error: SysMsg File '" + Dir.Path() + sub + "SysMsgFil.sys" + why);
    ASSERT_EQ(pf.MsgBox.Texts(), std::vector<std::string>{GuLstErrMsg});
    EXPECT_EQ(pf.MsgBox.Calls[0].Caption, "");
    EXPECT_TRUE(pf.EvtLoop.PrcMsgCnt >= 1 && pf.EvtLoop.Terminated);
    EXPECT_TRUE(m.Lines().empty());
  }
  // A reload clears the old lines; binary data loads as lines that mean nothing.
  auto m = Load("0x02\nold\nx\ny\n");
  ASSERT_TRUE(m->LodSysMsgFil(Dir.Write("other.sys", "0x03\nnew\nx\ny\n")));
  EXPECT_EQ(m->GetSysMsg(0x02, 0) + m->GetSysMsg(0x03, 0), "new");
  EXPECT_FALSE(m->LodSysMsgFil(Dir.Path() + "gone.sys"));
  EXPECT_TRUE(m->Lines().empty());
  std::mt19937 rnd(11);
  for (char& c : max) c = static_cast<char>(rnd());
  ASSERT_TRUE(m->LodSysMsgFil(Dir.Write("bin.sys", max)));
  for (int id = 0; id < 256; ++id) m->GetSysMsg(static_cast<std::uint8_t>(id), 2);  // must not read past the end
}

TEST_F(SysLgeMsgTest, TheCheckNamesWhatIsMissingOrCutShortAndAFailedLookupIsTold) {
  std::string all;
  for (const TSysMsgIdf& i : GcSysMsgIdf)
    if (i.Idf != 0x03 && i.Idf != 0x07) all += SysMsgIdfTxt({i.Idf}) + (i.Idf == 0x05 ? "\na\n\nc\n" : "\na\nb\nc\n");
  // 0x14 cut short by the next identifier line, 0x07 by the end of the file
  auto m = Load("0x14\na\nb\n" + all + "0x07\na\n");
  EXPECT_EQ(SysMsgIdfTxt(m->MisIdf()), "0x03, 0x05, 0x07, 0x14");
  EXPECT_EQ(SysMsgIdfTxt(Load("")->MisIdf()).substr(0, 22), "0x02-0x12, 0x14-0x1A, ");
  std::vector<int> told;
  m->FOnMis = [&told](std::uint8_t id) { told.push_back(id); };
  EXPECT_EQ(m->GetSysMsg(0x03, 0) + "|" + m->GetSysMsg(0x04, 0), "|a");
  EXPECT_EQ(told, std::vector<int>{0x03});
}

TEST_F(SysLgeMsgTest, TokenFileUpToTheLimitLoadsAndALargerOneIsRefused) {
  std::string fil = "0x12\nA, XXX, Driving, Forward, Rijden, Vooruit, Fahren, Vorwaerts\n";
  fil.resize(GcMaxSysFilSiz, ';');
  TSarAndTkn t(nullptr);
  ASSERT_TRUE(t.LodTknFil(Dir.Write("ExtComTkn.sys", fil))) << GuLstErrMsg;
  EXPECT_EQ(t.GetSarTkn(0, "Driving", "Forward"), 0x12);
  EXPECT_FALSE(t.LodTknFil(Dir.Write("ExtComTkn.sys", fil + ";")));
  EXPECT_EQ(GuLstErrMsg, "#176, File error: Token File '" + Dir.Path() + "ExtComTkn.sys' is larger than 262144 bytes");
  EXPECT_EQ(t.GetSarTkn(0, "Driving", "Forward"), -1);
}

TEST_F(SysLgeMsgTest, LinesAreSplitTheSameWhateverPieceTheyAreReadIn) {
  // Lines around the reader's 16 KiB pieces, CR LF and LF mixed, the last one without its end.
  std::string all;
  TStrLst want, got;
  for (unsigned i = 0; all.size() < 3 * 16384; ++i) {
    want.emplace_back(i * 337 % 700, static_cast<char>('a' + i % 26));
    all += want.back() + (i % 3 ? "\r\n" : "\n");
  }
  const std::string pad(16383 - all.size() % 16384, 'x');  // its CR LF lies across two pieces
  all += pad + "\r\nlast\r";
  want.push_back(pad);
  want.push_back("last");
  ASSERT_EQ(RdLinFil(Dir.Write("l.txt", all), got, GcMaxSysFilSiz), TeLinFilRes::Ok);
  EXPECT_EQ(got, want);
  EXPECT_EQ(RdLinFil(Dir.Path() + "none.txt", got, GcMaxSysFilSiz), TeLinFilRes::CantRd);
  EXPECT_EQ(RdLinFil(Dir.Path(), got, GcMaxSysFilSiz), TeLinFilRes::CantRd);  // a folder
}

TEST(LnkMsg, RobotFaultAndTooLongTextsOfTheCaseFileLeaveTheLastError) {
  TFakePlatform pf;
  TSysLgeMsg* const was = GuSysLgeMsg;
  TSysLgeMsg msg(nullptr, TESSARO_DATA_DIR "/");
  std::ifstream in(TESSARO_SOURCE_DIR "/tests/messages/lnkmsg.tsv");
  std::string tbl, adr, knd, lge, txt;
  int n = 0;
  for (std::getline(in, txt); in >> tbl >> adr >> knd >> lge && std::getline(in >> std::ws, txt); ++n) {
    GuSysLgeMsg = tbl == "1" ? &msg : nullptr;
    GuLstErrMsg = "kept";
    const auto l = static_cast<std::uint8_t>(std::stoi(lge));
    EXPECT_EQ(knd == "-" ? PckTooLngMsg(std::stoul(adr), l)
                         : RbtFltMsg(static_cast<std::uint8_t>(std::stoi(adr)), static_cast<std::uint8_t>(std::stoi(knd)), l),
              txt);
    EXPECT_EQ(GuLstErrMsg, "kept");
  }
  EXPECT_EQ(n, 6);
  GuSysLgeMsg = was;
}

}  // namespace
