#include <gtest/gtest.h>

#include "core/Globals.h"
#include "messages/LnkMsg.h"
#include "messages/SysLgeMsg.h"
#include "support/FakePlatform.h"

namespace {

const char* kNoMsg =
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

TEST_F(SysLgeMsgTest, BlocksInAnyOrderGiveTheSameTexts) {
  auto asc = Load("; header\n0x14\nno start\ngeen start\nkein Start\n0x15\nno swi\ngeen swi\nkein swi\n");
  std::string e0 = asc->GetSysMsg(0x14, 0), e2 = asc->GetSysMsg(0x14, 2), e5 = asc->GetSysMsg(0x15, 1);
  auto dsc = Load("0x15\r\nno swi\r\ngeen swi\r\nkein swi\r\n\r\n0x14\r\nno start\r\ngeen start\r\nkein Start\r\n");
  EXPECT_EQ(e0, "no start");
  EXPECT_EQ(e2, "kein Start");
  EXPECT_EQ(e5, "geen swi");
  EXPECT_EQ(dsc->GetSysMsg(0x14, 0), e0);
  EXPECT_EQ(dsc->GetSysMsg(0x14, 2), e2);
  EXPECT_EQ(dsc->GetSysMsg(0x15, 1), e5);
  EXPECT_TRUE(Pf.MsgBox.Calls.empty());
}

TEST_F(SysLgeMsgTest, IdentifierDigitsIgnoreCaseButPrefixDoesNot) {
  auto m = Load("0xA5\nupper\nU1\nU2\n0XB6\nbad prefix\nx\ny\n0xb6 \ntrailing blank\nx\ny\n");
  EXPECT_EQ(m->GetSysMsg(0xA5, 0), "upper");
  EXPECT_EQ(m->GetSysMsg(0xB6, 0), "");
  EXPECT_EQ(GuLstErrMsg, std::string(kNoMsg) + "182");
}

TEST_F(SysLgeMsgTest, FirstBlockWinsAndATextThatLooksLikeAnIdentifierIsOne) {
  // The English text of 0x10 is "0x1f": later searches take it for an identifier line.
  auto m = Load("0x10\n0x1f\nNL\nDE\n0x10\nsecond\nx\ny\n0x1f\nreal\nx\ny\n");
  EXPECT_EQ(m->GetSysMsg(0x10, 0), "0x1f");
  EXPECT_EQ(m->GetSysMsg(0x1F, 0), "NL");
  EXPECT_EQ(m->GetSysMsg(0x1F, 2), "0x10");
}

TEST_F(SysLgeMsgTest, UnknownIdentifierGivesEmptyTextAndTheDecimalNumber) {
  auto m = Load("0x02\na\nb\nc\n");
  GuLstErrMsg.clear();
  EXPECT_EQ(m->GetSysMsg(0x25, 0), "");
  EXPECT_EQ(GuLstErrMsg, std::string(kNoMsg) + "37");
  EXPECT_TRUE(Pf.MsgBox.Calls.empty());
}

TEST_F(SysLgeMsgTest, ABlockCutShortByTheEndOfTheFileNeverReadsPastIt) {
  auto m = Load("0x02\nhint\nhint NL\n0x03\nonly english");
  EXPECT_EQ(m->GetSysMsg(0x02, 1), "hint NL");
  EXPECT_EQ(m->GetSysMsg(0x02, 2), "0x03");  // the next identifier line is the third text
  EXPECT_EQ(m->GetSysMsg(0x03, 0), "only english");
  EXPECT_EQ(m->GetSysMsg(0x03, 1), "");
  EXPECT_EQ(GuLstErrMsg, std::string(kNoMsg) + "3");
  EXPECT_EQ(m->GetSysMsg(0x03, 2), "");
  auto last = Load("0x07");
  EXPECT_EQ(last->GetSysMsg(0x07, 0), "");
  EXPECT_EQ(last->GetSysMsg(0x07, 255), "");
}

TEST_F(SysLgeMsgTest, EmptyFileLoadsAndEveryLookupFails) {
  auto m = Load("");
  EXPECT_FALSE(Pf.EvtLoop.Terminated);
  for (int id = 0; id < 256; ++id) {
    EXPECT_EQ(m->GetSysMsg(static_cast<std::uint8_t>(id), 0), "");
    EXPECT_EQ(GuLstErrMsg, std::string(kNoMsg) + std::to_string(id));
  }
}

TEST_F(SysLgeMsgTest, MissingFileShowsItsPathAndEndsTheApplication) {
  TSysLgeMsg m(nullptr, Dir.Path());
  const std::string want = "#174, File error: SysMsg File '" + Dir.Path() + "SysMsgFil.sys' could not be found";
  EXPECT_EQ(GuLstErrMsg, want);
  ASSERT_EQ(Pf.MsgBox.Calls.size(), 1u);
  EXPECT_EQ(Pf.MsgBox.Calls[0].Text, want);
  EXPECT_EQ(Pf.MsgBox.Calls[0].Caption, "");
  EXPECT_GE(Pf.EvtLoop.PrcMsgCnt, 1);
  EXPECT_TRUE(Pf.EvtLoop.Terminated);
  EXPECT_TRUE(m.Lines().empty());
}

TEST_F(SysLgeMsgTest, TheCheckNamesWhatIsMissingOrCutShortAndAFailedLookupIsTold) {
  std::string all;
  for (const TSysMsgIdf& i : GcSysMsgIdf)
    if (i.Idf != 0x03) all += SysMsgIdfTxt({i.Idf}) + (i.Idf == 0x05 ? "\na\n\nc\n" : "\na\nb\nc\n");
  auto m = Load("0x14\na\nb\n" + all);  // cut short by the next identifier line
  EXPECT_EQ(SysMsgIdfTxt(m->MisIdf()), "0x03, 0x05, 0x14");
  EXPECT_EQ(SysMsgIdfTxt(Load("")->MisIdf()).substr(0, 22), "0x02-0x12, 0x14-0x1A, ");
  std::vector<int> told;
  m->FOnMis = [&told](std::uint8_t id) { told.push_back(id); };
  m->GetSysMsg(0x03, 0);
  m->GetSysMsg(0x04, 0);
  EXPECT_EQ(told, std::vector<int>{0x03});
}

TEST_F(SysLgeMsgTest, ReloadClearsTheOldLines) {
  auto m = Load("0x02\nold\nx\ny\n");
  std::string other = Dir.Write("other.sys", "0x03\nnew\nx\ny\n");
  ASSERT_TRUE(m->LodSysMsgFil(other));
  EXPECT_EQ(m->GetSysMsg(0x02, 0), "");
  EXPECT_EQ(m->GetSysMsg(0x03, 0), "new");
  EXPECT_FALSE(m->LodSysMsgFil(Dir.Path() + "gone.sys"));
  EXPECT_TRUE(m->Lines().empty());
}

TEST(LnkMsg, RobotFaultAndTooLongTextsInTheUsersLanguage) {
  TSysLgeMsg* const was = GuSysLgeMsg;
  GuSysLgeMsg = nullptr;  // no message table: the fixed English texts
  EXPECT_EQ(RbtFltMsg(12, 2, 1),
            "The robot stopped the program at address 12: 10000 instructions ran without a DELAY, a motion or a "
            "wait: does a loop need a DELAY?");
  EXPECT_EQ(RbtFltMsg(3, 0xEE, 0), "The robot stopped the program at address 3: the robot found no more instructions");
  EXPECT_EQ(PckTooLngMsg(256, 0).substr(0, 5), "#601,");
  {
    TSysLgeMsg msg(nullptr, TESSARO_DATA_DIR "/");
    GuSysLgeMsg = &msg;
    GuLstErrMsg = "kept";
    EXPECT_EQ(RbtFltMsg(40, 3, 2),
              "Der Roboter hat das Programm angehalten an Adresse 40: ein Sprung fuehrt aus dem Programm hinaus");
    EXPECT_EQ(RbtFltMsg(0, 6, 1),
              "De robot heeft het programma gestopt op adres 0: ENGINE SPEED heeft zijn twee waarden niet");
    const std::string lng = PckTooLngMsg(256, 1);
    EXPECT_NE(lng.find("255"), std::string::npos) << lng;
    EXPECT_EQ(lng.substr(lng.size() - 4), " 256");
    EXPECT_EQ(GuLstErrMsg, "kept");
  }
  GuSysLgeMsg = was;
}

}  // namespace
