// The field on screen: panels and controls of every vio type, the key
// filters and focus checks through real widgets, the mouse, and the tool
// bars of the main window.
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

#include "app/Options.h"
#include "app/VslCnv.h"
#include "app/VslTbr.h"
#include "core/Globals.h"
#include "core/WndMsg.h"
#include "editor/qt/VioFldViw.h"
#include "support/FakePlatform.h"

namespace {

// The main window as the editor sees it: removes the current vio on message 8.
class TRmvWnd final : public IWndMsgTgt {
public:
  std::intptr_t SndMsg(std::uint32_t msg, std::uintptr_t w, std::intptr_t) override {
    Msgs.push_back(static_cast<int>(msg) * 100 + static_cast<int>(w));
    if (msg == WM_SET_MSG && w == SM_RMV_CUR_VIO && Edt && Edt->FpCurVio) Edt->RmvVio(Edt->FpCurVio);
    return 0;
  }
  std::vector<int> Msgs;
  TVioPgmItp* Edt = nullptr;
};

class VioFldViw : public ::testing::Test {
protected:
  VioFldViw() : Edt(&Wnd) {
    Wnd.Edt = &Edt;
    Fld.resize(800, 600);
    Fld.setFocusPolicy(Qt::ClickFocus);
    Fld.show();
    Edt.CrtVioFld(Fld.width(), Fld.height());  // cells of 66 x 60
    Edt.SetLgeIdx(0);
    Edt.SetAvlCol(0);
    Viw = std::make_unique<TVioFldViw>(Edt, &Fld);
    GuLstErrMsg.clear();
  }
  void SetUp() override {
    ASSERT_TRUE(Edt.SarAndTkn().LodTknFil(TESSARO_DATA_DIR "/ExtComTkn.sys")) << GuLstErrMsg;
  }
  ~VioFldViw() override { Viw.reset(); }

  TVioPnl* Put(std::uint8_t typ, int col, int row) {
    TVio* v = Edt.PutVio(typ, col, row);
    EXPECT_NE(v, nullptr) << GuLstErrMsg;
    return v ? Viw->Pnl(v) : nullptr;
  }
  template <typename T>
  static T* Ctl(TVioPnl* p, TeCtlKnd k, std::uint8_t rol) {
    return qobject_cast<T*>(p->Ctl(p->Vio()->FndCtl(k, rol)));
  }
  // A mouse event at a point of the field, sent to the widget.
  void Mou(QWidget* w, QEvent::Type t, QPoint fldPos, Qt::MouseButton b, Qt::MouseButtons bs) {
    const QPoint g = Fld.mapToGlobal(fldPos);
    QMouseEvent e(t, QPointF(w->mapFromGlobal(g)), QPointF(g), b, bs, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
  }
  TFakePlatform Fake;
  TRmvWnd Wnd;
  QWidget Fld;
  TVioPgmItp Edt;
  std::unique_ptr<TVioFldViw> Viw;
};

TEST_F(VioFldViw, DigitFiltersOfTheValueAndSpeedEdits) {
  TVioPnl* a = Put(VT_ACT, 0, 0);
  TVioPnl* e = Put(VT_SPD, 1, 0);
  TVioPnl* d = Put(VT_DLY, 2, 0);
  auto* av = Ctl<QLineEdit>(a, TeCtlKnd::Edt, CR_VAL);
  auto* se = Ctl<QLineEdit>(e, TeCtlKnd::Edt, CR_SPD);
  auto* de = Ctl<QLineEdit>(d, TeCtlKnd::Edt, CR_VAL);
  av->selectAll();
  QTest::keyClicks(av, "1a2-3 45");
  EXPECT_EQ(av->text(), "123");
  EXPECT_EQ(Edt.GetCtlTxt(a->Vio(), TeCtlKnd::Edt, CR_VAL), "123");
  se->selectAll();
  QTest::keyClicks(se, "9x99");
  EXPECT_EQ(se->text(), "99");
  QTest::keyClick(se, Qt::Key_Backspace);
  EXPECT_EQ(se->text(), "9");
  // The Delay edit has no filter.
  de->selectAll();
  QTest::keyClicks(de, "1x");
  EXPECT_EQ(Edt.GetCtlTxt(d->Vio(), TeCtlKnd::Edt, CR_VAL), "1x");
}

TEST_F(VioFldViw, FocusLossRefusesAValueAndGivesTheFocusBack) {
  Fld.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&Fld));
  TVioPnl* d = Put(VT_DLY, 0, 0);
  auto* de = Ctl<QLineEdit>(d, TeCtlKnd::Edt, CR_VAL);
  de->setFocus();
  ASSERT_TRUE(de->hasFocus());
  de->selectAll();
  QTest::keyClicks(de, "256");
  Viw->FocFld();
  EXPECT_EQ(Fake.MsgBox.Texts(), (std::vector<std::string>{"Illigal delay value '256', valid values are 0 - 255"}));
  EXPECT_TRUE(de->hasFocus());
  EXPECT_EQ(de->text(), "256");
  // Corrected, the next focus move clears the flag.
  de->selectAll();
  QTest::keyClicks(de, "25");
  Viw->FocFld();
  EXPECT_TRUE(Fld.hasFocus());
  EXPECT_EQ(Fake.MsgBox.Calls.size(), 1u);
}

TEST_F(VioFldViw, AnInactiveWindowStillChecksTheEditThatHeldItsFocus) {
  TVioPnl* e = Put(VT_SPD, 0, 0);
  auto* se = Ctl<QLineEdit>(e, TeCtlKnd::Edt, CR_SPD);
  ASSERT_FALSE(Fld.isActiveWindow());
  se->setFocus();
  ASSERT_EQ(Fld.focusWidget(), se);
  se->setText("2");
  Edt.SetCtlTxt(e->Vio(), e->Vio()->FndCtl(TeCtlKnd::Edt, CR_SPD), "2");
  Viw->FocFld();
  EXPECT_EQ(Fake.MsgBox.Texts(), (std::vector<std::string>{"Illegal left engine speed value '2', valid values are 3 - 60"}));
  EXPECT_EQ(Fld.focusWidget(), se);
}

TEST_F(VioFldViw, LabelEnterAndGotoRefresh) {
  Fld.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&Fld));
  TVioPnl* l = Put(VT_LBL, 0, 0);
  TVioPnl* g = Put(VT_GTO, 1, 0);
  auto* lc = Ctl<QComboBox>(l, TeCtlKnd::Cbx, CR_LBL_NAM);
  auto* gc = Ctl<QComboBox>(g, TeCtlKnd::Cbx, CR_GTO_NAM);
  lc->setFocus();
  lc->lineEdit()->selectAll();
  QTest::keyClicks(lc, "loop");
  QTest::keyClick(lc, Qt::Key_Return);
  EXPECT_EQ(Edt.LblVioDdwStl(), (TStrLst{"A", "loop"}));
  EXPECT_EQ(lc->count(), 2);
  EXPECT_EQ(lc->currentText(), "loop");
  EXPECT_EQ(gc->count(), 1);
  gc->setFocus();
  EXPECT_EQ(gc->count(), 2);
  EXPECT_EQ(gc->itemText(1), "loop");
  EXPECT_EQ(gc->currentText(), "A");  // the shown text stays
}

TEST_F(VioFldViw, PressesOnControlsNeverStartADragButCaptionLabelsDo) {
  TVioPnl* d = Put(VT_DLY, 3, 3);
  auto* de = Ctl<QLineEdit>(d, TeCtlKnd::Edt, CR_VAL);
  QTest::mousePress(de, Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
  EXPECT_FALSE(Edt.FbVioDrg);
  QTest::mouseRelease(de, Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
  TVioPnl* a = Put(VT_ACT, 4, 4);
  auto* ac = Ctl<QComboBox>(a, TeCtlKnd::Cbx, CR_SAR_TYP);
  QTest::mousePress(ac, Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
  EXPECT_FALSE(Edt.FbVioDrg);
  QTest::mouseRelease(ac, Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
  if (QWidget* pop = QApplication::activePopupWidget()) pop->close();
  QLabel* cap = nullptr;
  for (QWidget* c : a->Ctls())
    if (auto* q = qobject_cast<QLabel*>(c); q && q->text() == "ACTOR") cap = q;
  ASSERT_TRUE(cap);
  // The label lets the press through to its vio.
  QWidget* hit = a->childAt(cap->geometry().center());
  EXPECT_EQ(hit, nullptr);
  Edt.FpCurVio = nullptr;
  Mou(a, QEvent::MouseButtonPress, a->pos() + cap->geometry().center(), Qt::LeftButton, Qt::LeftButton);
  EXPECT_TRUE(Edt.FbVioDrg);
  EXPECT_EQ(Edt.FpCurVio, a->Vio());
  Mou(a, QEvent::MouseButtonRelease, a->pos() + cap->geometry().center(), Qt::LeftButton, Qt::NoButton);
}

TEST_F(VioFldViw, DoubleClickOnStartRunsTheStartAction) {
  TVioPnl* s = Put(VT_STA, 0, 0);
  TVioPnl* o = Put(VT_STO, 1, 0);
  int runs = 0;
  Edt.FOnStaDblClk = [&] {
    ++runs;
    GuLstErrMsg = "not yet";
    return false;
  };
  QTest::mouseDClick(o, Qt::LeftButton);
  EXPECT_EQ(runs, 0);
  QTest::mouseDClick(s, Qt::LeftButton);
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(Fake.MsgBox.Texts(), (std::vector<std::string>{"not yet"}));
  EXPECT_FALSE(Edt.FbMouArm);
}

// ---- The tool bars of the main window ----------------------------------------

class VioTbr : public ::testing::Test {
protected:
  VioTbr() {
    TVslCnvCfg cfg;
    cfg.AppDir = TESSARO_STAGE_DIR "/bin/";
    cfg.InsDir = TESSARO_STAGE_DIR "/";
    cfg.ScnPrt = [] { return std::vector<std::string>{}; };
    Wnd = std::make_unique<TfrmVslCnv>(nullptr, cfg);
    frmVslCnv = Wnd.get();
    Wnd->show();
  }
  ~VioTbr() override {
    Wnd.reset();
    frmVslCnv = nullptr;
  }
  TFakePlatform Fake;
  std::unique_ptr<TfrmVslCnv> Wnd;
};

TEST_F(VioTbr, TheThirteenButtonsAddVisibleVios) {
  TfrmVslCnv& w = *Wnd;
  ASSERT_TRUE(w.FldViw());
  // The thirteen vio buttons, in the order of the tool bar.
  const std::uint8_t typ[] = {VT_STA, VT_STO, VT_IFF, VT_THN, VT_ELS, VT_LBL, VT_GTO,
                              VT_DLY, VT_ACT, VT_SNS, VT_SPD, VT_SWI, VT_RTI};
  for (std::size_t i = 0; i < std::size(typ); ++i) {
    w.Tbr().Tbn(static_cast<TeTbn>(i))->trigger();
    ASSERT_EQ(w.FpVioPgmItp->GetVioCnt(), static_cast<int>(i + 1)) << GuLstErrMsg;
    TVio* v = w.FpVioPgmItp->Vios().back();
    EXPECT_EQ(v->Rec.VioTyp, typ[i]);
    TVioPnl* p = w.FldViw()->Pnl(v);
    ASSERT_TRUE(p);
    EXPECT_TRUE(p->isVisible());
    EXPECT_EQ(p->parentWidget(), &w.Fld());
  }
  EXPECT_FALSE(w.Tbr().Tbn(TeTbn::Sta)->isEnabled());
  EXPECT_FALSE(w.Tbr().Tbn(TeTbn::Swi)->isEnabled());
  w.SndMsg(WM_APP_MSG, AM_ENA_STA, 0);
  w.SndMsg(WM_APP_MSG, AM_ENA_SWI, 0);
  EXPECT_TRUE(w.Tbr().Tbn(TeTbn::Sta)->isEnabled());
  EXPECT_TRUE(w.Tbr().Tbn(TeTbn::Swi)->isEnabled());
}

TEST_F(VioTbr, TheGateCatchesAValueStillBeingTyped) {
  TfrmVslCnv& w = *Wnd;
  w.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  w.Tbr().Tbn(TeTbn::Dly)->trigger();
  TVio* d = w.FpVioPgmItp->Vios().back();
  auto* de = qobject_cast<QLineEdit*>(w.FldViw()->Pnl(d)->Ctl(d->FndCtl(TeCtlKnd::Edt, CR_VAL)));
  ASSERT_TRUE(de);
  de->setFocus();
  de->selectAll();
  QTest::keyClicks(de, "999");
  // The tool button takes no focus: the gate moves it and the check runs.
  w.Tbr().Tbn(TeTbn::Sto)->trigger();
  EXPECT_EQ(w.FpVioPgmItp->GetVioCnt(), 1);
  EXPECT_TRUE(w.FpVioPgmItp->FbDlyErr);
  EXPECT_EQ(Fake.MsgBox.Texts(), (std::vector<std::string>{"Illigal delay value '999', valid values are 0 - 255"}));
  EXPECT_TRUE(de->hasFocus());
  // Removing the faulty vio frees the tool bar.
  w.FpVioPgmItp->FpCurVio = d;
  w.SndMsg(WM_SET_MSG, SM_RMV_CUR_VIO, 0);
  w.Tbr().Tbn(TeTbn::Sto)->trigger();
  EXPECT_EQ(w.FpVioPgmItp->GetVioCnt(), 1);
  EXPECT_EQ(w.FpVioPgmItp->Vios().back()->Rec.VioTyp, VT_STO);
}

TEST_F(VioTbr, RightClickOnStartRemovesItAndEnablesItsButton) {
  TfrmVslCnv& w = *Wnd;
  w.Tbr().Tbn(TeTbn::Sta)->trigger();
  w.Tbr().Tbn(TeTbn::Sto)->trigger();
  ASSERT_FALSE(w.Tbr().Tbn(TeTbn::Sta)->isEnabled());
  auto rgtClk = [&](TVio* v) {
    TVioPnl* p = w.FldViw()->Pnl(v);
    QTest::mousePress(p, Qt::RightButton, Qt::NoModifier, QPoint(4, 4));
    QContextMenuEvent ctx(QContextMenuEvent::Mouse, QPoint(4, 4), p->mapToGlobal(QPoint(4, 4)));
    QCoreApplication::sendEvent(p, &ctx);
    QTest::mouseRelease(p, Qt::RightButton, Qt::NoModifier, QPoint(4, 4));
  };
  rgtClk(w.FpVioPgmItp->Vios().front());
  ASSERT_EQ(w.FpVioPgmItp->GetVioCnt(), 1);
  EXPECT_EQ(w.FpVioPgmItp->Vios().front()->Rec.VioTyp, VT_STO);
  EXPECT_TRUE(w.Tbr().Tbn(TeTbn::Sta)->isEnabled());
  // The last placed vio goes too: the next one takes its cell.
  rgtClk(w.FpVioPgmItp->Vios().front());
  EXPECT_EQ(w.FpVioPgmItp->GetVioCnt(), 0);
  w.Tbr().Tbn(TeTbn::Sta)->trigger();
  ASSERT_EQ(w.FpVioPgmItp->GetVioCnt(), 1);
  EXPECT_EQ(w.FpVioPgmItp->Vios().back()->Rec.GrdCol, 1);
  EXPECT_FALSE(w.Tbr().Tbn(TeTbn::Sta)->isEnabled());
}

}  // namespace
