// The Language menu of the main window: the hints and the vios on the field
// follow at once, and the choice is kept for the next start.
#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>

#include "app/HlpInf.h"
#include "app/Options.h"
#include "WndFix.h"
#include "editor/qt/VioPgmViw.h"
#include "sound/PlyWavFil.h"

namespace {

const char* const GcOptKey = "SOFTWARE\\Quorel\\TessaroV1.0\\Options";

class VslCnvLge : public TWndTst {
protected:
  void SetUp() override {
    Ins.Write("bin/SysMsgFil.sys",
              "0x0F\nUpload EN\nUpload NL\nUpload DE\n"
              "0x70\nNot kept EN\nNot kept NL\nNot kept DE\n");
    Ins.Write("bin/ExtComTkn.sys",
              "0x11\nA,XXX,Driving,Forward,Driving,Vooruit,Driving,Vorwaerts\n"
              "0x12\nA,XXX,Driving,Stop,Driving,Stoppen,Driving,Halt\n");
  }

  TfrmVslCnv& MkIns() {
    TVslCnvCfg c = DatCfg();
    c.AppDir = Ins.Path() + "bin/";
    c.InsDir = Ins.Path();
    return Mk(c, false);
  }

  std::string UplHnt() const {
    auto* b = qobject_cast<QToolButton*>(W->Tbr().ComBar().widgetForAction(W->Tbr().Tbn(TeTbn::Upl)));
    return b ? b->toolTip().toStdString() : "(no button)";
  }

  TTmpDir Ins;
};

TEST_F(VslCnvLge, TheMenuSwitchesHintsAndVioNamesAndKeepsTheChoice) {
  TfrmVslCnv& w = MkIns();
  ASSERT_TRUE(w.LgeMnu().menuAction()->isVisible());
  TVio* act = w.FpVioPgmItp->PutVio(VT_ACT, 0, 0);
  ASSERT_NE(act, nullptr) << GuLstErrMsg;
  const std::uint8_t tkn = act->Rec.SarTkn;
  Plt.Settings.Writes.clear();

  w.LgeAct(2)->trigger();
  EXPECT_TRUE(w.LgeAct(2)->isChecked());
  EXPECT_FALSE(w.LgeAct(0)->isChecked());
  EXPECT_EQ(w.LgeIdx(), 2);
  EXPECT_EQ(w.FpVioPgmItp->LgeIdx(), 2);
  // The hint changes without waiting for the mouse.
  EXPECT_EQ(UplHnt(), "Upload DE");
  EXPECT_EQ(w.FpVioPgmItp->GetCtlTxt(act, TeCtlKnd::Cbx, CR_SAR_COM), "Vorwaerts");
  EXPECT_EQ(act->Rec.SarTkn, tkn);
  EXPECT_EQ(Plt.Settings.Writes, (std::vector<std::string>{std::string(GcOptKey) + "|Language=2"}));

  // Choosing it again writes nothing.
  w.LgeAct(2)->trigger();
  EXPECT_EQ(Plt.Settings.Writes.size(), 1u);
  w.LgeAct(1)->trigger();
  EXPECT_EQ(UplHnt(), "Upload NL");
  EXPECT_EQ(Plt.Settings.Keys[GcOptKey]["Language"], "1");
  EXPECT_TRUE(Plt.MsgBox.Calls.empty());
}

TEST_F(VslCnvLge, TheKeptLanguageIsUsedAtTheNextStart) {
  Plt.Settings.Keys[GcOptKey]["Comport"] = "COM3";
  Plt.Settings.Keys[GcOptKey]["Language"] = "2";
  TfrmVslCnv& w = MkIns();
  EXPECT_TRUE(w.LgeAct(2)->isChecked());
  EXPECT_FALSE(w.LgeAct(0)->isChecked());
  EXPECT_EQ(w.FpVioPgmItp->LgeIdx(), 2);
  EXPECT_EQ(w.FpVioPgmItp->GetSysUsrMsg(0x0F), "Upload DE");
  EXPECT_TRUE(Plt.Settings.Writes.empty());
  EXPECT_TRUE(Plt.MsgBox.Calls.empty());
}

TEST_F(VslCnvLge, AnUnknownKeptValueStartsInEnglish) {
  for (const char* val : {"", "7", "German", "-1"}) {
    SCOPED_TRACE(val);
    Plt.Settings.Keys[GcOptKey]["Language"] = val;
    TfrmVslCnv& w = MkIns();
    EXPECT_TRUE(w.LgeAct(0)->isChecked());
    EXPECT_EQ(w.FpVioPgmItp->LgeIdx(), 0);
    W.reset();
  }
}

TEST_F(VslCnvLge, AStoreThatRefusesTheValueSaysSo) {
  Plt.Settings.Keys[GcOptKey]["Comport"] = "COM3";
  TfrmVslCnv& w = MkIns();
  Plt.Settings.FailWrite = true;
  w.LgeAct(2)->trigger();
  // The language is in force for this run all the same.
  EXPECT_EQ(w.FpVioPgmItp->LgeIdx(), 2);
  ASSERT_EQ(Plt.MsgBox.Calls.size(), 1u);
  EXPECT_EQ(Plt.MsgBox.Calls[0].Text, "Not kept DE");
}

// Every text of the menu bar, the other windows and the toolkit's standard
// buttons, as the user sees them.
QStringList WndTxt(TfrmVslCnv& w) {
  QStringList t;
  for (QAction* m : w.menuBar()->actions()) {
    t << m->text();
    if (m->menu())
      for (QAction* a : m->menu()->actions())
        if (!a->isSeparator() && a != w.LgeAct(0) && a != w.LgeAct(1) && a != w.LgeAct(2)) t << a->text();
  }
  t << w.PgmViw()->Lst()->windowTitle() << frmOptions->windowTitle() << frmOptions->gbxComport->title()
    << frmOptions->btnCls->text() << frmOptions->btnChk->text() << frmHlpInf->Label2->text();
  QMessageBox box(QMessageBox::NoIcon, "", "", QMessageBox::Save | QMessageBox::Discard | QMessageBox::Yes);
  for (QAbstractButton* b : box.buttons()) t << b->text();
  return t;
}

TEST(VslCnvLgeAll, TheWholeWindowAndTheCuesFollowTheSwitch) {
  TFakePlatform plt;
  TVslCnvCfg c;
  c.AppDir = c.InsDir = std::string(TESSARO_DATA_DIR) + "/";
  c.ScnPrt = [] { return std::vector<std::string>{}; };
  TfrmOptions opt;
  TfrmHlpInf inf;
  frmOptions = &opt;
  frmHlpInf = &inf;
  {
    TfrmVslCnv w(nullptr, c);
    w.show();
    const QStringList eng = WndTxt(w);
    ASSERT_TRUE(eng.contains("&Edit") && eng.contains("Export picture") && eng.contains("Save")) << eng.join('|').toStdString();
    w.LgeAct(2)->trigger();
    const QStringList ger = WndTxt(w);
    ASSERT_EQ(ger.size(), eng.size());
    // Two texts read the same in both languages.
    for (qsizetype i = 0; i < eng.size(); ++i) {
      if (eng[i] == "Info" || eng[i] == "Anleitung (Deutsch)") continue;
      EXPECT_NE(ger[i], eng[i]) << eng[i].toStdString();
    }
    EXPECT_EQ(w.PlyWavFil()->LgeDir(), "de");
    w.LgeAct(0)->trigger();
    EXPECT_EQ(WndTxt(w), eng);
    EXPECT_EQ(w.PlyWavFil()->LgeDir(), "");
  }
  frmOptions = nullptr;
  frmHlpInf = nullptr;
}

}  // namespace
