// The File menu of the main window: Open, Save and Save As, with the dialogs
// and message boxes answered by the recording doubles.
#include <QAction>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "WndFix.h"
#include "app/platform/QtFilDlg.h"

namespace fs = std::filesystem;

namespace {

const char* const GcFlt = "Visual program files (*.vio)|*.vio";

std::string Joi(const TStrLst& lines) {
  std::string s;
  for (const std::string& l : lines) s += l + "\r\n";
  return s;
}

std::string RdFil(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The lines of a program file, each ended by CR LF.
std::string Crlf(std::initializer_list<const char*> lines) {
  std::string s;
  for (const char* l : lines) s += std::string(l) + "\r\n";
  return s;
}

class VslCnvFil : public TWndTst {
protected:
  void SetUp() override {
    Mk();
    ASSERT_TRUE(Plt.MsgBox.Calls.empty()) << Plt.MsgBox.Calls.front().Text;
    ExaDir = fs::path(TESSARO_DATA_DIR) / "examples";
  }

  // Each of the thirteen vio tool buttons once, in the order of the tool bar.
  void AddAllVio() {
    for (QAction* a : {W->Tbr().Tbn(TeTbn::Sta), W->Tbr().Tbn(TeTbn::Sto), W->Tbr().Tbn(TeTbn::Iff), W->Tbr().Tbn(TeTbn::Thn), W->Tbr().Tbn(TeTbn::Els), W->Tbr().Tbn(TeTbn::Lbl), W->Tbr().Tbn(TeTbn::Gto), W->Tbr().Tbn(TeTbn::Dly),
                       W->Tbr().Tbn(TeTbn::Act), W->Tbr().Tbn(TeTbn::Sns), W->Tbr().Tbn(TeTbn::Spd), W->Tbr().Tbn(TeTbn::Swi), W->Tbr().Tbn(TeTbn::Rti)})
      a->trigger();
    ASSERT_EQ(W->FpVioPgmItp->GetVioCnt(), 13) << GuLstErrMsg;
  }

  void Open(const std::string& path) {
    // Unsaved changes on the field are let go.
    const bool ask = W->FpVioPgmItp->Drt() && W->FpVioPgmItp->GetVioCnt() > 0;
    if (ask) Plt.MsgBox.Answers.push_front(TeMsgAns::Dsc);
    Plt.FilDlg.Answers.push_back(path);
    W->smnFilOpnClick();
    // The boxes of the open itself are what the tests look at.
    if (ask) {
      ASSERT_FALSE(Plt.MsgBox.Calls.empty());
      ASSERT_EQ(Plt.MsgBox.Calls.front().Buttons, TeMsgBtn::SavDscCnc);
      Plt.MsgBox.Calls.erase(Plt.MsgBox.Calls.begin());
    }
  }

  TStrLst Lns() {
    TStrLst l;
    W->FpVioPgmItp->BldVioLns(l);
    return l;
  }

  TTmpDir Tmp;
  fs::path ExaDir;
};

TEST_F(VslCnvFil, SaveAsWritesTheProgramOfTheToolButtons) {
  AddAllVio();
  ASSERT_TRUE(W->Doc().SasAct()->isEnabled());
  EXPECT_FALSE(W->Doc().SavAct()->isEnabled());
  W->setWindowTitle("before");

  // The dialog returns the name without the extension; it is added.
  Plt.FilDlg.Answers.push_back(Tmp.Path() + "prog");
  W->smnFilSasClick();
  ASSERT_EQ(Plt.FilDlg.Calls.size(), 1u);
  EXPECT_TRUE(Plt.FilDlg.Calls[0].Sav);
  EXPECT_EQ(Plt.FilDlg.Calls[0].Req.Filter, GcFlt);
  // No file is open: the dialog starts with the example programs.
  EXPECT_EQ(fs::path(Plt.FilDlg.Calls[0].Req.IniDir), ExaDir);
  EXPECT_TRUE(Plt.MsgBox.Calls.empty()) << Plt.MsgBox.Calls.front().Text;

  EXPECT_EQ(RdFil(Tmp.Path() + "prog.vio"),
            Crlf({"START1", "0001", "0001", "",
                  "STOP1", "0002", "0001", "",
                  "IF1", "0003", "0001", "",
                  "THEN1", "0004", "0001", "",
                  "ELSE1", "0005", "0001", "",
                  "LABEL1", "0006", "0001", "A", "",
                  "GOTO1", "0007", "0001", "A", "",
                  "DELAY1", "0008", "0001", "10", "",
                  "ACTOR1", "0009", "0001", "Driving", "Forward", "10", "",
                  "SENSOR1", "0010", "0001", "Track Led", "On", "",
                  "ENGINE SPEED1", "0011", "0001", "20", "", "",
                  "SWITCH_INTERRUPT1", "0012", "0001", "",
                  "RTI1", "0012", "0002", "",
                  "EOF"}));
  EXPECT_FALSE(fs::exists(Tmp.Path() + "prog"));
  EXPECT_EQ(W->Doc().FilNam(), Tmp.Path() + "prog.vio");
  EXPECT_TRUE(W->windowTitle().isEmpty());
  // The next dialog starts in the folder of that file.
  W->smnFilSasClick();
  ASSERT_EQ(Plt.FilDlg.Calls.size(), 2u);
  EXPECT_EQ(fs::path(Plt.FilDlg.Calls[1].Req.IniDir), fs::path(Tmp.Path() + "prog.vio").parent_path());
}

TEST_F(VslCnvFil, SaveAsNamesTheExtensionAsWritten) {
  W->Tbr().Tbn(TeTbn::Sta)->trigger();
  for (const char* nam : {"p.VIO", "b.vio"}) {
    Plt.FilDlg.Answers.push_back(Tmp.Path() + nam);
    W->smnFilSasClick();
  }
  // Only the exact extension counts; a name of five characters or fewer is kept.
  EXPECT_TRUE(fs::exists(Tmp.Path() + "p.VIO.vio"));
  EXPECT_TRUE(fs::exists(Tmp.Path() + "b.vio"));
  EXPECT_FALSE(fs::exists(Tmp.Path() + "b.vio.vio"));
  fs::current_path(Tmp.Path());
  Plt.FilDlg.Answers.push_back("abcde");
  W->smnFilSasClick();
  EXPECT_TRUE(fs::exists(Tmp.Path() + "abcde"));
}

TEST_F(VslCnvFil, SaveAsAsksBeforeReplacingAndKeepsTheOldFileUnlessTold) {
  W->Tbr().Tbn(TeTbn::Sta)->trigger();
  const std::string dst = Tmp.Write("old.vio", "old program");
  for (TeMsgAns ans : {TeMsgAns::No, TeMsgAns::Cancel}) {
    Plt.MsgBox.Answers.push_back(ans);
    Plt.FilDlg.Answers.push_back(dst);
    W->smnFilSasClick();
    EXPECT_EQ(RdFil(dst), "old program");
    EXPECT_TRUE(W->Doc().FilNam().empty());
  }
  ASSERT_EQ(Plt.MsgBox.Calls.size(), 2u);
  EXPECT_EQ(Plt.MsgBox.Calls[0].Text, "Overwrite existing file?");
  EXPECT_EQ(Plt.MsgBox.Calls[0].Caption, "Warning, file allready exists");
  EXPECT_EQ(Plt.MsgBox.Calls[0].Buttons, TeMsgBtn::YesNoCancel);

  Plt.MsgBox.Answers.push_back(TeMsgAns::Yes);
  Plt.FilDlg.Answers.push_back(dst);
  W->smnFilSasClick();
  EXPECT_EQ(RdFil(dst), Crlf({"START1", "0001", "0001", "", "EOF"}));
  EXPECT_EQ(W->Doc().FilNam(), dst);

  // A cancelled dialog writes nothing and asks nothing.
  W->smnFilSasClick();
  EXPECT_EQ(Plt.MsgBox.Calls.size(), 3u);
}

TEST_F(VslCnvFil, AFailedWriteKeepsTheOldFileAndSaysSo) {
  W->Tbr().Tbn(TeTbn::Sta)->trigger();
  const std::string dst = Tmp.Write("old.vio", "old program");
  // A read-only file is not replaced.
  fs::permissions(dst, fs::perms(0444));
  Plt.MsgBox.Answers.push_back(TeMsgAns::Yes);
  Plt.FilDlg.Answers.push_back(dst);
  W->smnFilSasClick();
  EXPECT_EQ(RdFil(dst), "old program");
  ASSERT_EQ(Plt.MsgBox.Calls.size(), 2u);
  EXPECT_EQ(Plt.MsgBox.Calls[1].Text.rfind("#414, ", 0), 0u) << Plt.MsgBox.Calls[1].Text;
  EXPECT_TRUE(W->Doc().FilNam().empty());

  // Save to a file that cannot be written reports it the same way.
  W->Doc().SetFilNam(dst);
  W->smnFilSavClick();
  EXPECT_EQ(RdFil(dst), "old program");
  ASSERT_EQ(Plt.MsgBox.Calls.size(), 3u);
  EXPECT_EQ(Plt.MsgBox.Calls[2].Text.rfind("#414, ", 0), 0u) << Plt.MsgBox.Calls[2].Text;
}

TEST_F(VslCnvFil, AnEmptyFieldIsNotSaved) {
  W->Doc().SetFilNam(Tmp.Path() + "x.vio");
  W->smnFilSavClick();
  W->smnFilSasClick();
  EXPECT_TRUE(Plt.FilDlg.Calls.empty());
  EXPECT_FALSE(fs::exists(W->Doc().FilNam()));
}

TEST_F(VslCnvFil, EachExampleOpensAndSavesAgainAsTheSameFile) {
  int cnt = 0;
  for (const auto& e : fs::directory_iterator(ExaDir)) {
    if (e.path().extension() != ".vio") continue;
    ++cnt;
    const std::string src = e.path().string();
    Open(src);
    ASSERT_TRUE(Plt.MsgBox.Calls.empty()) << src << ": " << Plt.MsgBox.Calls.front().Text;
    EXPECT_GT(W->FpVioPgmItp->GetVioCnt(), 0) << src;
    EXPECT_EQ(W->Doc().FilNam(), src);
    EXPECT_EQ(W->windowTitle().toStdString(), src);
    EXPECT_TRUE(W->Doc().SavAct()->isEnabled());
    EXPECT_TRUE(W->Doc().SasAct()->isEnabled());

    const std::string cpy = Tmp.Path() + "copy-" + e.path().filename().string();
    Plt.FilDlg.Answers.push_back(cpy);
    W->smnFilSasClick();
    EXPECT_EQ(RdFil(cpy), RdFil(src)) << src;
  }
  EXPECT_GE(cnt, 4);
  // Every dialog after the first starts in the folder of the file last used.
  ASSERT_FALSE(Plt.FilDlg.Calls.empty());
  EXPECT_EQ(fs::path(Plt.FilDlg.Calls[0].Req.IniDir), ExaDir);
  EXPECT_FALSE(Plt.FilDlg.Calls[0].Sav);
  EXPECT_EQ(Plt.FilDlg.Calls[0].Req.Filter, GcFlt);
  EXPECT_EQ(fs::path(Plt.FilDlg.Calls.back().Req.IniDir), ExaDir);
}

TEST_F(VslCnvFil, OpenSetsTheStartAndSwitchButtonsByTheVios) {
  W->Tbr().Tbn(TeTbn::Sta)->trigger();
  ASSERT_FALSE(W->Tbr().Tbn(TeTbn::Sta)->isEnabled());
  Open(Tmp.Write("swi.vio", Crlf({"SWITCH_INTERRUPT1", "0001", "0001", "", "EOF"})));
  EXPECT_TRUE(W->Tbr().Tbn(TeTbn::Sta)->isEnabled());
  EXPECT_FALSE(W->Tbr().Tbn(TeTbn::Swi)->isEnabled());
}

TEST_F(VslCnvFil, SaveWritesToTheFileLastOpenedOrSavedAs) {
  const std::string a = Tmp.Write("a.vio", Crlf({"START1", "0001", "0001", "", "EOF"}));
  Open(a);
  W->Tbr().Tbn(TeTbn::Sto)->trigger();
  W->smnFilSavClick();
  const std::string two = Crlf({"START1", "0001", "0001", "", "STOP1", "0002", "0001", "", "EOF"});
  EXPECT_EQ(RdFil(a), two);

  Plt.FilDlg.Answers.push_back(Tmp.Path() + "b.vio");
  W->smnFilSasClick();
  W->Tbr().Tbn(TeTbn::Iff)->trigger();
  W->smnFilSavClick();
  EXPECT_EQ(RdFil(a), two);
  EXPECT_EQ(RdFil(Tmp.Path() + "b.vio"),
            Crlf({"START1", "0001", "0001", "", "STOP1", "0002", "0001", "", "IF1", "0003", "0001", "", "EOF"}));
  EXPECT_TRUE(Plt.MsgBox.Calls.empty()) << Plt.MsgBox.Calls.front().Text;
}

TEST_F(VslCnvFil, AFileThatFailsToLoadLeavesTheFieldAsItWas) {
  W->Tbr().Tbn(TeTbn::Sta)->trigger();
  W->Tbr().Tbn(TeTbn::Dly)->trigger();
  W->setWindowTitle("before");
  const TStrLst bfr = Lns();

  // Found wrong while the file is checked.
  Open(Tmp.Write("bad.vio", Crlf({"STOP1", "0001", "0001", "", "START", "0002", "0001", "", "EOF"})));
  ASSERT_EQ(Plt.MsgBox.Texts(), (std::vector<std::string>{"#141c, vio caption not found in list",
                                                           "#401, Illegal vio type in vio file detected"}));
  EXPECT_EQ(Lns(), bfr);

  // Found wrong only when its vios are made: an actor command the tables lack.
  Plt.MsgBox.Calls.clear();
  Open(Tmp.Write("bad2.vio", Crlf({"STOP1", "0003", "0004", "", "SWITCH_INTERRUPT1", "0004", "0004", "",
                                   "ACTOR1", "0005", "0004", "Driving", "Fly", "10", "", "EOF"})));
  ASSERT_EQ(Plt.MsgBox.Calls.size(), 1u);
  EXPECT_FALSE(Plt.MsgBox.Calls[0].Text.empty());
  EXPECT_EQ(Lns(), bfr);
  EXPECT_FALSE(W->Tbr().Tbn(TeTbn::Sta)->isEnabled());
  EXPECT_TRUE(W->Tbr().Tbn(TeTbn::Swi)->isEnabled());

  // A file that cannot be read.
  Plt.MsgBox.Calls.clear();
  Open(Tmp.Path() + "missing.vio");
  ASSERT_EQ(Plt.MsgBox.Calls.size(), 1u);
  EXPECT_EQ(Plt.MsgBox.Calls[0].Text.rfind("#402, ", 0), 0u) << Plt.MsgBox.Calls[0].Text;

  EXPECT_EQ(Lns(), bfr);
  EXPECT_TRUE(W->Doc().FilNam().empty());
  EXPECT_EQ(W->windowTitle().toStdString(), "before");
  EXPECT_FALSE(W->Doc().SavAct()->isEnabled());
}

TEST_F(VslCnvFil, ACancelledOpenChangesNothingAndShowsNoOldMessage) {
  W->Tbr().Tbn(TeTbn::Sta)->trigger();
  const TStrLst bfr = Lns();
  GuLstErrMsg = "an earlier message";
  Plt.MsgBox.Answers.push_back(TeMsgAns::Dsc);
  W->smnFilOpnClick();
  EXPECT_EQ(Plt.FilDlg.Calls.size(), 1u);
  ASSERT_EQ(Plt.MsgBox.Calls.size(), 1u) << "only the question about the unsaved Start vio";
  EXPECT_EQ(Plt.MsgBox.Calls[0].Buttons, TeMsgBtn::SavDscCnc);
  EXPECT_EQ(Lns(), bfr);
  EXPECT_FALSE(W->Doc().SavAct()->isEnabled());
}

TEST_F(VslCnvFil, ShortcutsReachTheCommandsOnlyWhileTheMenuIsUnlocked) {
  ASSERT_TRUE(QTest::qWaitForWindowActive(W.get()));
  W->Tbr().Tbn(TeTbn::Sta)->trigger();
  EXPECT_EQ(W->Doc().OpnAct()->shortcut(), QKeySequence("Ctrl+O"));
  EXPECT_EQ(W->Doc().SavAct()->shortcut(), QKeySequence("Ctrl+S"));
  EXPECT_EQ(W->Doc().SasAct()->shortcut(), QKeySequence("Ctrl+Shift+S"));
  // Locked during the intro.
  ASSERT_TRUE(W->Locked());
  QTest::keyClick(W.get(), Qt::Key_O, Qt::ControlModifier);
  EXPECT_TRUE(Plt.FilDlg.Calls.empty());

  W->Doc().FilMnu().menuAction()->setEnabled(true);
  Plt.MsgBox.Answers.push_back(TeMsgAns::Dsc);
  QTest::keyClick(W.get(), Qt::Key_O, Qt::ControlModifier);
  QTest::keyClick(W.get(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
  ASSERT_EQ(Plt.FilDlg.Calls.size(), 2u);
  EXPECT_FALSE(Plt.FilDlg.Calls[0].Sav);
  EXPECT_TRUE(Plt.FilDlg.Calls[1].Sav);
}

TEST_F(VslCnvFil, UndoAcrossAnOpenBringsBackTheEarlierProgramWithItsOwnFile) {
  W->Doc().FilMnu().menuAction()->setEnabled(true);  // unlocked: Undo and Redo run
  W->Doc().SetStaCap("Tessaro");
  const std::string opened = Tmp.Write("opened.vio", Crlf({"STOP1", "0002", "0002", "", "EOF"}));
  for (const bool named : {false, true}) {
    SCOPED_TRACE(named ? "earlier program saved as a file" : "earlier program never saved");
    W->Tbr().Tbn(TeTbn::Sta)->trigger();
    const std::string earlier = Tmp.Path() + "earlier.vio";
    if (named) {
      Plt.FilDlg.Answers.push_back(earlier);
      W->smnFilSasClick();
      ASSERT_EQ(RdFil(earlier), Joi(Lns()));
      W->Tbr().Tbn(TeTbn::Sto)->trigger();  // and changed since
    }
    const TStrLst bfr = Lns();
    Open(opened);
    ASSERT_EQ(W->Doc().FilNam(), opened);

    W->Doc().UndAct()->trigger();
    EXPECT_EQ(Lns(), bfr);
    EXPECT_EQ(W->Doc().FilNam(), named ? earlier : "");
    EXPECT_EQ(W->windowTitle().toStdString(), (named ? earlier : "Tessaro") + " *");
    // Save never writes the earlier program into the opened file.
    if (!named) Plt.FilDlg.Answers.push_back(Tmp.Path() + "third.vio");
    W->smnFilSavClick();
    EXPECT_EQ(RdFil(opened), Crlf({"STOP1", "0002", "0002", "", "EOF"}));
    const std::string got = named ? earlier : Tmp.Path() + "third.vio";
    EXPECT_EQ(RdFil(got), Joi(bfr));

    W->Doc().RedAct()->trigger();
    EXPECT_EQ(W->Doc().FilNam(), opened);
    EXPECT_EQ(W->windowTitle().toStdString(), opened);
    EXPECT_FALSE(W->FpVioPgmItp->Drt());
  }
}

TEST(QtFilDlg, FilterListInTheDialogsForm) {
  EXPECT_EQ(TQtFilDlg::QtFlt(GcFlt).toStdString(), "Visual program files (*.vio)");
  EXPECT_EQ(TQtFilDlg::QtFlt("Text|*.txt|All|*").toStdString(), "Text (*.txt);;All (*)");
}

}  // namespace
