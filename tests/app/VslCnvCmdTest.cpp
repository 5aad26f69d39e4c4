// A program file named on the command line: opened once the intro has gone,
// through the load of File -> Open.
#include <gtest/gtest.h>

#include <QAction>

#include <filesystem>
#include <memory>

#include "WndFix.h"

namespace {

class VslCnvCmd : public TWndTst {
protected:
  void SetUp() override { Mk(DatCfg(), false); }
  // The texts of the boxes shown so far.
  std::string Boxes() {
    std::string t;
    for (const auto& c : Plt.MsgBox.Calls) t += c.Text + "\n";
    return t;
  }
  TTmpDir Tmp;
};

}  // namespace

TEST_F(VslCnvCmd, ProgramIsOpenedWhenTheIntroGoes) {
  const std::string pth = (std::filesystem::path(TESSARO_DATA_DIR) / "examples" / "drive_square.vio").string();
  W->Doc().SetCmdFil(pth);
  W->show();
  EXPECT_EQ(W->FpVioPgmItp->GetVioCnt(), 0);  // not while the intro shows
  W->tmrAppItoTimer();
  EXPECT_GT(W->FpVioPgmItp->GetVioCnt(), 0) << Boxes();
  EXPECT_EQ(W->Doc().FilNam(), pth);
  EXPECT_EQ(W->windowTitle().toStdString(), pth);
  EXPECT_TRUE(W->Doc().SavAct()->isEnabled());
  EXPECT_TRUE(W->Doc().CmdFil().empty());
}

TEST_F(VslCnvCmd, FailedLoadSaysWhyAndLeavesTheFieldEmpty) {
  for (const std::string& pth : {Tmp.Path() + "missing.vio", Tmp.Write("bad.vio", "not a program\r\n")}) {
    SetUp();
    Plt.MsgBox.Calls.clear();
    GuLstErrMsg.clear();
    W->Doc().SetCmdFil(pth);
    W->show();
    W->tmrAppItoTimer();
    EXPECT_EQ(W->FpVioPgmItp->GetVioCnt(), 0) << pth;
    EXPECT_TRUE(W->Doc().FilNam().empty()) << pth;
    EXPECT_FALSE(W->Doc().SavAct()->isEnabled()) << pth;
    // The reason comes first, before what the port has to say, and is the one
    // that File -> Open gives for the same file.
    ASSERT_FALSE(Plt.MsgBox.Calls.empty()) << pth;
    const std::string why = Plt.MsgBox.Calls.front().Text;
    EXPECT_FALSE(why.empty());
    Plt.MsgBox.Calls.clear();
    Plt.FilDlg.Answers.push_back(pth);
    W->smnFilOpnClick();
    ASSERT_FALSE(Plt.MsgBox.Calls.empty()) << pth;
    EXPECT_EQ(Plt.MsgBox.Calls[0].Text, why);
  }
}
