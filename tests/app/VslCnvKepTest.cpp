// The main window keeps the user's work: it asks before a changed program is
// closed or replaced, writes the recovery copy on its timer, and offers the
// copy at the next start.
#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "WndFix.h"
#include "editor/VioKep.h"

namespace fs = std::filesystem;

namespace {

std::string RdFil(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class VslCnvKep : public TWndTst {
protected:
  TfrmVslCnv& MkRcv() {
    TVslCnvCfg c = DatCfg();
    c.RcvPth = Rcv();  // names the folder of the copies
    c.Tms.RcvSav = 0;  // a change is due at the timer's next look
    return Mk(c);
  }
  void SetUp() override { MkRcv(); }
  std::string Rcv() const { return Tmp.Path() + "share/tessaro/recovery.vio"; }
  std::string Own() const { return W->Doc().Rcv()->Pth(); }  // the window's own copy
  std::size_t Asks() const {
    std::size_t n = 0;
    for (const auto& c : Plt.MsgBox.Calls) n += c.Buttons == TeMsgBtn::SavDscCnc;
    return n;
  }
  TStrLst Lns() {
    TStrLst l;
    W->FpVioPgmItp->BldVioLns(l);
    return l;
  }

  TTmpDir Tmp;
};

TEST_F(VslCnvKep, ClosingAChangedProgramAsksAndKeepsTheWindowUnlessSavedOrDiscarded) {
  W->tmrAppItoTimer();
  W->Tbr().Tbn(TeTbn::Sta)->trigger();
  W->Tbr().Tbn(TeTbn::Sto)->trigger();
  ASSERT_EQ(W->FpVioPgmItp->GetVioCnt(), 2);
  W->Doc().tmrRcvSavTimer();
  ASSERT_TRUE(fs::exists(Own()));

  // Cancel, and Save whose dialog is cancelled: the window stays.
  Plt.MsgBox.Answers = {TeMsgAns::Cancel, TeMsgAns::Sav};
  EXPECT_FALSE(W->close());
  EXPECT_FALSE(W->close());
  EXPECT_EQ(Asks(), 2u);
  ASSERT_EQ(Plt.FilDlg.Calls.size(), 1u);
  EXPECT_TRUE(Plt.FilDlg.Calls[0].Sav);
  EXPECT_FALSE(Plt.EvtLoop.Terminated);
  EXPECT_EQ(W->FpVioPgmItp->GetVioCnt(), 2);
  EXPECT_TRUE(fs::exists(Own()));

  // Save, and the write fails: still open.
  Plt.MsgBox.Answers = {TeMsgAns::Sav};
  Plt.FilDlg.Answers.push_back(Tmp.Path() + "no/such/folder/p.vio");
  EXPECT_FALSE(W->close());
  EXPECT_FALSE(Plt.EvtLoop.Terminated);

  // Save to a file: it is written and the window closes; the copy goes.
  const std::string fil = Tmp.Path() + "p.vio";
  Plt.MsgBox.Answers = {TeMsgAns::Sav};
  Plt.FilDlg.Answers.push_back(fil);
  const TStrLst lns = Lns();
  EXPECT_TRUE(W->close());
  EXPECT_TRUE(Plt.EvtLoop.Terminated);
  std::string all;
  for (const auto& l : lns) all += l + "\r\n";
  EXPECT_EQ(RdFil(fil), all);
  EXPECT_FALSE(fs::exists(Own()));

  // Discard on a program that came from a file: the file stays as it was.
  MkRcv();
  W->tmrAppItoTimer();
  Plt.FilDlg.Answers.push_back(fil);
  W->smnFilOpnClick();
  ASSERT_EQ(W->Doc().FilNam(), fil);
  const std::string saved = RdFil(fil);
  W->Tbr().Tbn(TeTbn::Dly)->trigger();
  W->Doc().tmrRcvSavTimer();
  ASSERT_TRUE(fs::exists(Own()));
  Plt.MsgBox.Answers = {TeMsgAns::Dsc};
  EXPECT_TRUE(W->close());
  EXPECT_EQ(RdFil(fil), saved);
  EXPECT_FALSE(fs::exists(Own()));
}

TEST_F(VslCnvKep, OpeningAnotherFileAsksFirstAndSaveGoesToTheOpenFile) {
  const std::string a = Tmp.Path() + "a.vio";
  W->tmrAppItoTimer();
  W->Tbr().Tbn(TeTbn::Sta)->trigger();
  Plt.FilDlg.Answers.push_back(a);
  W->smnFilSasClick();
  ASSERT_EQ(W->Doc().FilNam(), a);
  W->Tbr().Tbn(TeTbn::Sto)->trigger();
  ASSERT_TRUE(W->FpVioPgmItp->Drt());

  // Cancel: not even the open dialog comes.
  const std::size_t dlg = Plt.FilDlg.Calls.size();
  Plt.MsgBox.Answers = {TeMsgAns::Cancel};
  W->smnFilOpnClick();
  EXPECT_EQ(Plt.FilDlg.Calls.size(), dlg);
  EXPECT_EQ(W->FpVioPgmItp->GetVioCnt(), 2);

  // Save: File -> Save writes the open file, then the other one opens.
  const std::string ex = (fs::path(TESSARO_DATA_DIR) / "examples" / "drive_square.vio").string();
  const TStrLst two = Lns();
  Plt.MsgBox.Answers = {TeMsgAns::Sav};
  Plt.FilDlg.Answers.push_back(ex);
  W->smnFilOpnClick();
  EXPECT_EQ(W->Doc().FilNam(), ex);
  std::string all;
  for (const auto& l : two) all += l + "\r\n";
  EXPECT_EQ(RdFil(a), all);
  EXPECT_EQ(Plt.FilDlg.Calls.size(), dlg + 1) << "the open dialog, and no save dialog";
  EXPECT_FALSE(W->FpVioPgmItp->Drt());
}

TEST_F(VslCnvKep, AKilledRunIsOfferedAtTheNextStartAndRestoredAsUnsaved) {
  W->tmrAppItoTimer();
  W->Tbr().Tbn(TeTbn::Sta)->trigger();
  W->Tbr().Tbn(TeTbn::Dly)->trigger();
  W->Tbr().Tbn(TeTbn::Sto)->trigger();
  const TStrLst lns = Lns();
  W->Doc().tmrRcvSavTimer();
  ASSERT_TRUE(fs::exists(Own()));
  // A kill: no close, no question. The next run offers the copy once the intro goes.
  W.reset();
  Plt.MsgBox.Calls.clear();
  MkRcv();
  EXPECT_TRUE(Plt.MsgBox.Calls.empty());
  Plt.MsgBox.Answers = {TeMsgAns::Yes};
  W->tmrAppItoTimer();
  ASSERT_FALSE(Plt.MsgBox.Calls.empty());
  EXPECT_EQ(Plt.MsgBox.Calls[0].Buttons, TeMsgBtn::YesNo);
  EXPECT_EQ(Lns(), lns);
  EXPECT_TRUE(W->FpVioPgmItp->Drt());
  EXPECT_TRUE(W->windowTitle().endsWith(" *")) << W->windowTitle().toStdString();
  EXPECT_FALSE(W->Tbr().Tbn(TeTbn::Sta)->isEnabled()) << "the restored Start vio disables its button";
  EXPECT_TRUE(W->Doc().SasAct()->isEnabled());
  EXPECT_TRUE(W->Doc().FilNam().empty());
  // Closing asks: the restored program is unsaved.
  Plt.MsgBox.Answers = {TeMsgAns::Cancel};
  EXPECT_FALSE(W->close());
  EXPECT_EQ(Asks(), 1u);
  EXPECT_TRUE(fs::exists(Own()));
}

TEST_F(VslCnvKep, RecentFilesListOpenedAndSavedFilesAndDropAMissingOne) {
  ASSERT_NE(W->Doc().RctMnu(), nullptr);
  W->Doc().RfsRctMnu();
  EXPECT_FALSE(W->Doc().RctMnu()->isEnabled()) << "nothing opened yet";
  const std::string ex = Tmp.Path() + "square.vio";
  fs::copy_file(fs::path(TESSARO_DATA_DIR) / "examples" / "drive_square.vio", ex);
  const std::string sav = Tmp.Path() + "mine.vio";
  Plt.FilDlg.Answers.push_back(ex);
  W->smnFilOpnClick();
  ASSERT_EQ(W->Doc().FilNam(), ex);
  Plt.FilDlg.Answers.push_back(sav);
  W->smnFilSasClick();
  ASSERT_TRUE(fs::exists(sav));
  auto items = [this] {
    W->Doc().RfsRctMnu();
    std::vector<std::string> t;
    for (QAction* a : W->Doc().RctMnu()->actions()) t.push_back(a->text().toStdString());
    return t;
  };
  EXPECT_EQ(items(), (std::vector<std::string>{"&1 " + sav, "&2 " + ex}));

  // Kept in the settings store: a new window lists them too, and opens one.
  MkRcv();
  W->tmrAppItoTimer();
  ASSERT_EQ(items().size(), 2u);
  W->Doc().FilMnu().menuAction()->setEnabled(true);  // as after the intro with a robot port
  W->Doc().RctMnu()->actions()[1]->trigger();
  EXPECT_EQ(W->Doc().FilNam(), ex);
  EXPECT_EQ(items()[0], "&1 " + ex);

  // A changed program is asked about first.
  W->Tbr().Tbn(TeTbn::Sto)->trigger();
  Plt.MsgBox.Answers = {TeMsgAns::Cancel};
  W->Doc().RctMnu()->actions()[1]->trigger();
  EXPECT_EQ(W->Doc().FilNam(), ex);
  EXPECT_EQ(Asks(), 1u);
  Plt.MsgBox.Answers = {TeMsgAns::Dsc};
  W->Doc().RctMnu()->actions()[1]->trigger();
  EXPECT_EQ(W->Doc().FilNam(), sav);

  // A file that has gone: told, and taken off the list.
  fs::remove(ex);
  Plt.MsgBox.Calls.clear();
  W->Doc().RctMnu()->actions()[1]->trigger();
  EXPECT_EQ(W->Doc().FilNam(), sav);
  ASSERT_EQ(Plt.MsgBox.Calls.size(), 1u);
  EXPECT_NE(Plt.MsgBox.Calls[0].Text.find(ex), std::string::npos);
  EXPECT_EQ(items(), (std::vector<std::string>{"&1 " + sav}));
}

}  // namespace

TEST_F(VslCnvKep, ExitIsTheFileMenusLastItemAndAsksAboutUnsavedWorkLikeClosing) {
  W->tmrAppItoTimer();
  ASSERT_NE(W->Doc().ExtAct(), nullptr);
  const QList<QAction*> items = W->Doc().FilMnu().actions();
  ASSERT_FALSE(items.isEmpty());
  EXPECT_EQ(items.back(), W->Doc().ExtAct());
  EXPECT_EQ(W->Doc().ExtAct()->shortcut(), QKeySequence(QKeySequence::Quit));
  // Its text follows the language when the menu opens.
  W->LgeAct(2)->trigger();
  emit W->Doc().FilMnu().aboutToShow();
  EXPECT_EQ(W->Doc().ExtAct()->text().toStdString(), "&Beenden");

  W->Tbr().Tbn(TeTbn::Sta)->trigger();
  Plt.MsgBox.Answers = {TeMsgAns::Cancel};
  W->Doc().ExtAct()->trigger();
  EXPECT_EQ(Asks(), 1u);
  EXPECT_TRUE(W->isVisible());
  EXPECT_FALSE(Plt.EvtLoop.Terminated);
  Plt.MsgBox.Answers = {TeMsgAns::Dsc};
  W->Doc().ExtAct()->trigger();
  EXPECT_EQ(Asks(), 2u);
  EXPECT_FALSE(W->isVisible());
  EXPECT_TRUE(Plt.EvtLoop.Terminated);
}
