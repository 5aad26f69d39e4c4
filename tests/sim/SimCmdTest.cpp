// The headless simulator's command lines: what they change in the robot, and
// the errors for lines it cannot carry out.
#include <gtest/gtest.h>

#include "sim/SimCmd.h"
#include "translator/InsAndTkn.h"

namespace {

struct TCmdFix : ::testing::Test {
  TSimDrv D;
  std::string Out;
  TSimWal Now = 0;
  void SetUp() override { D.Sta(0); }
  TeSimCmd Cmd(const std::string& l) { return SimCmd(D, l, Now, Out); }
  // An error that leaves the robot as it was and names the bad part.
  void Bad(const std::string& l, const std::string& part) {
    const std::string before = SimSts(D.Rbt());
    EXPECT_EQ(Cmd(l), TeSimCmd::Err) << l;
    EXPECT_NE(Out.find(part), std::string::npos) << l << " -> " << Out;
    EXPECT_EQ(SimSts(D.Rbt()), before) << l;
  }
};

TEST_F(TCmdFix, InputCommandsReachTheRobot) {
  TSimRbt& r = D.Rbt();
  EXPECT_EQ(Cmd("press bumper left"), TeSimCmd::Ok);
  EXPECT_TRUE(r.BmpUsr(true));
  EXPECT_FALSE(r.BmpUsr(false));
  EXPECT_EQ(Cmd("  press   bumper right \r"), TeSimCmd::Ok);
  EXPECT_TRUE(r.BmpUsr(false));
  EXPECT_EQ(Cmd("release bumper left"), TeSimCmd::Ok);
  EXPECT_FALSE(r.BmpUsr(true));
  EXPECT_TRUE(r.BmpUsr(false));

  // A switch without on/off turns over; with it, it is set.
  EXPECT_EQ(Cmd("switch 3"), TeSimCmd::Ok);
  EXPECT_TRUE(r.Swi(2));
  EXPECT_EQ(Cmd("switch 3"), TeSimCmd::Ok);
  EXPECT_FALSE(r.Swi(2));
  EXPECT_EQ(Cmd("switch 6 on"), TeSimCmd::Ok);
  EXPECT_EQ(Cmd("switch 6 on"), TeSimCmd::Ok);
  EXPECT_TRUE(r.Swi(5));
  EXPECT_EQ(Cmd("switch 1 off"), TeSimCmd::Ok);
  EXPECT_FALSE(r.Swi(0));
  // Only the presses are reported: switch 3 once, switch 6 once.
  EXPECT_EQ(r.TakSwiPrs(), 0x08 | 0x01);

  EXPECT_EQ(Cmd("light 40"), TeSimCmd::Ok);
  EXPECT_DOUBLE_EQ(r.Lgt(), 40.0);
  EXPECT_EQ(Cmd("light 0"), TeSimCmd::Ok);
  EXPECT_DOUBLE_EQ(r.Lgt(), 0.0);

  EXPECT_EQ(Cmd("place 100 75 180"), TeSimCmd::Ok);
  EXPECT_DOUBLE_EQ(r.Wld().X(), 100.0);
  EXPECT_DOUBLE_EQ(r.Wld().Y(), 75.0);
  EXPECT_DOUBLE_EQ(r.Wld().Hdg(), 180.0);
  EXPECT_EQ(Cmd("place 50 40"), TeSimCmd::Ok);  // the heading stays
  EXPECT_DOUBLE_EQ(r.Wld().Hdg(), 180.0);

  EXPECT_EQ(Cmd("status"), TeSimCmd::Ok);
  EXPECT_NE(Out.find("x 50.0 cm y 40.0 cm heading 180"), std::string::npos) << Out;
  EXPECT_NE(Out.find("switches 000001"), std::string::npos) << Out;
  EXPECT_NE(Out.find("bumpers free/pressed"), std::string::npos) << Out;

  EXPECT_EQ(Cmd(""), TeSimCmd::Ok);
  EXPECT_EQ(Cmd("# press bumper left"), TeSimCmd::Ok);
  EXPECT_FALSE(r.BmpUsr(true));
  EXPECT_EQ(Cmd("quit"), TeSimCmd::Qit);
}

TEST_F(TCmdFix, RunStopAndSpeedFollowTheModelClock) {
  TSimRbt& r = D.Rbt();
  EXPECT_EQ(Cmd("run"), TeSimCmd::Ok);  // refused by the robot, not by the parser
  EXPECT_FALSE(r.Running());
  r.Lod({IT_STA, IT_DLY, 0x0A, IT_STO});  // a delay of 1 s
  EXPECT_EQ(Cmd("run"), TeSimCmd::Ok);
  EXPECT_TRUE(r.Running());
  EXPECT_EQ(Cmd("speed 10"), TeSimCmd::Ok);
  Now = 50000;  // 50 ms of wall time: 0.5 s of the model
  EXPECT_EQ(Cmd("status"), TeSimCmd::Ok);
  EXPECT_EQ(r.Now(), 500000);
  EXPECT_TRUE(r.Running());
  Now = 110000;
  EXPECT_EQ(Cmd("status"), TeSimCmd::Ok);
  EXPECT_FALSE(r.Running());
  EXPECT_EQ(Cmd("run"), TeSimCmd::Ok);
  EXPECT_TRUE(r.Running());
  EXPECT_EQ(Cmd("stop"), TeSimCmd::Ok);
  EXPECT_FALSE(r.Running());
}

TEST_F(TCmdFix, BadLinesAreRefusedWithTheirReason) {
  Bad("switch 0", "no switch '0'");
  Bad("switch 7", "no switch '7'");
  Bad("switch 2.5", "no switch '2.5'");
  Bad("switch x", "no switch 'x'");
  Bad("switch 2 maybe", "not 'maybe'");
  Bad("light 101", "not '101'");
  Bad("light -1", "not '-1'");
  Bad("light 40%", "not '40%'");
  Bad("speed 0", "not '0'");
  Bad("speed fast", "not 'fast'");
  Bad("place 10", "unknown command");
  Bad("place a b", "place takes x and y");
  Bad("press bumper middle", "unknown command 'press bumper middle'");
  Bad("press left", "unknown command");
  Bad("run now", "unknown command");
  Bad("fly", "unknown command 'fly'");
  EXPECT_NE(Out.find("press bumper left|right"), std::string::npos);  // the error lists the commands
  EXPECT_DOUBLE_EQ(D.Spd(), 1.0);
}

TEST(SimTrcFmt, InstructionsAndEventsOnOneLineEach) {
  TuSimTrc t;
  t.Tim = 12345678;
  t.Adr = 5;
  t.Mne = "Dly";
  t.Txt = "delay 1.0 s";
  EXPECT_EQ(FmtTrc(t), "    12.346  [  5]  Dly   delay 1.0 s");
  TuSimTrc e;
  e.Tim = 500000;
  e.Txt = "link up";
  EXPECT_EQ(FmtTrc(e), "     0.500  [---]        link up");
  e.Flt = true;
  EXPECT_EQ(FmtTrc(e), "     0.500  [---]  !!    link up");
}

}  // namespace
