// The field on screen: the key filters and focus checks through real
// widgets, the mouse on the panels, and the gate of the tool bars.
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>

#include "app/VslCnv.h"
#include "app/VslFld.h"
#include "app/VslTbr.h"
#include "editor/EdtTstSup.h"
#include "editor/qt/VioFldViw.h"

namespace {

class VioFldViw : public ::testing::Test {
protected:
  void SetUp() override {
    Wnd.Edt = &Edt;
    Fld.resize(800, 600);
    Fld.setFocusPolicy(Qt::ClickFocus);
    Fld.show();
    PrpEdt(Edt);  // cells of 66 x 60
    Viw = std::make_unique<TVioFldViw>(Edt, &Fld);
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
  TRecWnd Wnd;
  QWidget Fld;
  TVioPgmItp Edt{&Wnd};
  std::unique_ptr<TVioFldViw> Viw;
};

TEST_F(VioFldViw, KeyFiltersAndTheFocusCheckOfTheEdits) {
  TVioPnl* a = Put(VT_ACT, 0, 0);
  TVioPnl* e = Put(VT_SPD, 1, 0);
  TVioPnl* d = Put(VT_DLY, 2, 0);
  // The Actor value takes 3 digits, the speed 2; the Delay edit has no filter.
  const std::tuple<TVioPnl*, std::uint8_t, const char*, std::string> cases[] = {
      {a, CR_VAL, "1a2-3 45", "123"}, {e, CR_SPD, "4x44", "44"}, {d, CR_VAL, "1x", "1x"}};
  for (const auto& [pnl, rol, typed, shown] : cases) {
    auto* w = Ctl<QLineEdit>(pnl, TeCtlKnd::Edt, rol);
    w->selectAll();
    QTest::keyClicks(w, typed);
    EXPECT_EQ(w->text().toStdString(), shown);
    EXPECT_EQ(Edt.GetCtlTxt(pnl->Vio(), TeCtlKnd::Edt, rol), shown);
  }
  // Leaving a refused value shows its box and gives the focus back.
  Fld.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&Fld));
  auto* de = Ctl<QLineEdit>(d, TeCtlKnd::Edt, CR_VAL);
  de->setFocus();
  de->selectAll();
  QTest::keyClicks(de, "256");
  Viw->FocFld();
  EXPECT_EQ(Fake.MsgBox.Texts(), (std::vector<std::string>{"Illigal delay value '256', valid values are 0 - 255"}));
  EXPECT_TRUE(de->hasFocus());
  de->selectAll();
  QTest::keyClicks(de, "25");
  Viw->FocFld();
  EXPECT_TRUE(Fld.hasFocus()) << "a corrected value lets the focus go";
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
  EXPECT_EQ(Edt.Pgm().LblLst(), (TStrLst{"A", "loop"}));
  EXPECT_EQ(lc->itemText(1) + lc->currentText(), "looploop");
  EXPECT_EQ(gc->count(), 1);
  gc->setFocus();  // a Goto box refreshes its items when it gets the focus
  EXPECT_EQ(gc->itemText(1), "loop");
  EXPECT_EQ(gc->currentText(), "A");  // the shown text stays
}

TEST_F(VioFldViw, ABoxBuildsItsListWhenItFirstOpensAndDrawsItAsAnyBoxOfItsStyle) {
  TVioPnl* s = Put(VT_SNS, 0, 0);
  TVioPnl* l = Put(VT_LBL, 1, 0);
  for (auto* c : {Ctl<QComboBox>(s, TeCtlKnd::Cbx, CR_SAR_TYP), Ctl<QComboBox>(l, TeCtlKnd::Cbx, CR_LBL_NAM)}) {
    ASSERT_NE(c, nullptr);
    // Built for each of a program's lists, the drop-downs would double its
    // open (an edit box builds its own when it turns editable).
    if (!c->isEditable()) {
      EXPECT_TRUE(c->findChildren<QAbstractItemView*>().isEmpty());
    }
    QComboBox ref;
    ref.setStyle(c->style());
    ref.setEditable(c->isEditable());
    c->showPopup();
    EXPECT_STREQ(c->itemDelegate()->metaObject()->className(), ref.itemDelegate()->metaObject()->className());
    EXPECT_EQ(c->view()->font(), c->font());
    c->hidePopup();
  }
}

TEST_F(VioFldViw, PanelsDragGlueDropAndRemoveTheirVios) {
  TVioPnl* s = Put(VT_STA, 5, 5);
  TVioPnl* o = Put(VT_STO, 0, 0);
  auto drag = [&](TVioPnl* p, QPoint at) {  // every second move counts: a pair where needed
    if (TVioDrg::MovCnt() % 2 == 0) Mou(p, QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton);
    Mou(p, QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton);
  };
  Mou(o, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton, Qt::LeftButton);
  EXPECT_TRUE(Edt.VioDrg());
  drag(o, {205, 105});
  EXPECT_EQ(o->pos(), QPoint(200, 100));
  // 24 pixels right of the Start's right neighbour: glued onto it.
  drag(o, {425, 308});
  EXPECT_EQ(o->pos(), QPoint(396, 300));
  Mou(o, QEvent::MouseButtonRelease, {425, 308}, Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(std::make_pair(o->Vio()->Rec().GrdCol, o->Vio()->Rec().GrdRow), std::make_pair(6, 5));
  // Dropped onto the Start: back to its cell.
  Mou(o, QEvent::MouseButtonPress, {400, 305}, Qt::LeftButton, Qt::LeftButton);
  drag(o, {340, 320});
  Mou(o, QEvent::MouseButtonRelease, {340, 320}, Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(o->pos(), QPoint(396, 300));

  // Presses on controls never drag; a caption label lets the press through to its vio.
  TVioPnl* a = Put(VT_ACT, 4, 4);
  for (QWidget* w : {static_cast<QWidget*>(Ctl<QComboBox>(a, TeCtlKnd::Cbx, CR_SAR_TYP)),
                     static_cast<QWidget*>(Ctl<QLineEdit>(a, TeCtlKnd::Edt, CR_VAL))}) {
    QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
    EXPECT_FALSE(Edt.VioDrg());
    QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
    if (QWidget* pop = QApplication::activePopupWidget()) pop->close();
  }
  auto* cap = qobject_cast<QLabel*>(a->Ctls().back());
  ASSERT_TRUE(cap && cap->text() == "ACTOR");
  EXPECT_EQ(a->childAt(cap->geometry().center()), nullptr);
  Mou(a, QEvent::MouseButtonPress, a->pos() + cap->geometry().center(), Qt::LeftButton, Qt::LeftButton);
  EXPECT_TRUE(Edt.VioDrg());
  Mou(a, QEvent::MouseButtonRelease, a->pos() + cap->geometry().center(), Qt::LeftButton, Qt::NoButton);

  // A double click runs the Start action on the Start vio only.
  int runs = 0;
  Edt.SetOnStaDblClk([&] { return ++runs > 0; });
  QTest::mouseDClick(o, Qt::LeftButton);
  QTest::mouseDClick(s, Qt::LeftButton);
  EXPECT_EQ(runs, 1);
  // A right click removes the Start through the main window, which enables its button.
  QTest::mousePress(s, Qt::RightButton, Qt::NoModifier, QPoint(4, 4));
  QContextMenuEvent ctx(QContextMenuEvent::Mouse, QPoint(4, 4), s->mapToGlobal(QPoint(4, 4)));
  QCoreApplication::sendEvent(s, &ctx);
  QTest::mouseRelease(s, Qt::RightButton, Qt::NoModifier, QPoint(4, 4));
  EXPECT_EQ(Wnd.Msgs, (std::vector<std::string>{"app.0", "set.8"}));
}

// The tool button takes no focus: the gate of the main window moves it, and
// the check of a value still being typed runs and refuses the button.
TEST(VioTbr, TheGateCatchesAValueStillBeingTyped) {
  TFakePlatform fake;
  TVslCnvCfg cfg;
  cfg.AppDir = TESSARO_STAGE_DIR "/bin/";
  cfg.InsDir = TESSARO_STAGE_DIR "/";
  cfg.ScnPrt = [] { return std::vector<std::string>{}; };
  // The window goes before the global that names it.
  std::unique_ptr<TfrmVslCnv, void (*)(TfrmVslCnv*)> win(new TfrmVslCnv(nullptr, cfg), [](TfrmVslCnv* p) {
    delete p;
    frmVslCnv = nullptr;
  });
  TfrmVslCnv& w = *(frmVslCnv = win.get());
  w.show();
  w.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  w.Tbr().Tbn(TeTbn::Dly)->trigger();
  TVio* d = w.Edt().Vios().back();
  auto* de = qobject_cast<QLineEdit*>(w.Fld().Viw()->Pnl(d)->Ctl(d->FndCtl(TeCtlKnd::Edt, CR_VAL)));
  ASSERT_TRUE(de);
  de->setFocus();
  de->selectAll();
  QTest::keyClicks(de, "999");
  w.Tbr().Tbn(TeTbn::Sto)->trigger();
  EXPECT_EQ(w.Edt().GetVioCnt(), 1);
  EXPECT_TRUE(w.Edt().DlyErr());
  EXPECT_EQ(fake.MsgBox.Texts(), (std::vector<std::string>{"Illigal delay value '999', valid values are 0 - 255"}));
  EXPECT_TRUE(de->hasFocus());
}

}  // namespace
