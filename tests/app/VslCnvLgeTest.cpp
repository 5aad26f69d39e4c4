// The Language menu of the main window: every text of the window and the
// cues follow the switch.
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
#include "app/VslCnv.h"
#include "support/FakePlatform.h"
#include "editor/qt/VioPgmViw.h"
#include "sound/PlyWavFil.h"

namespace {

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
