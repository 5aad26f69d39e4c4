// Two fields side by side, as two windows hold them: a rubber band on the
// first selects six vios, their text goes through the system clipboard, the
// second pastes it at its cell cursor (moved by keys), shows the rectangle
// and saves the vios with their parameters.
#include <QApplication>
#include <QClipboard>
#include <QMouseEvent>
#include <QTest>

#include "editor/EdtTstSup.h"
#include "editor/qt/VioFldKey.h"
#include "editor/qt/VioFldSel.h"
#include "editor/qt/VioFldViw.h"

namespace {

// One window's field with its views.
struct TFld {
  TRecWnd Wnd;
  QWidget W;
  TVioPgmItp Edt{&Wnd};
  std::unique_ptr<TVioFldViw> Viw;
  std::unique_ptr<TVioFldKey> Key;
  std::unique_ptr<TVioFldSel> Sel;
  TFld() {
    Wnd.Edt = &Edt;
    W.resize(800, 600);
    W.setFocusPolicy(Qt::StrongFocus);
    W.show();
    PrpEdt(Edt);  // cells of 66 x 60
    Viw = std::make_unique<TVioFldViw>(Edt, &W);
    Key = std::make_unique<TVioFldKey>(*Viw);
    Sel = std::make_unique<TVioFldSel>(*Viw);
  }
  ~TFld() {
    Sel.reset();
    Key.reset();
    Viw.reset();
  }
  void Mou(QEvent::Type t, int col, int row, Qt::MouseButtons bs) {
    const QPointF p(col * 66 + 33, row * 60 + 30);
    QMouseEvent e(t, p, W.mapToGlobal(p), t == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, bs, Qt::NoModifier);
    QCoreApplication::sendEvent(&W, &e);
  }
  // The cells the selection's frame covers, or "hidden".
  std::string Frm() const {
    const QWidget* f = Sel->Frm();
    if (!f->isVisible()) return "hidden";
    const QRect g = f->geometry();
    return std::to_string(g.x() / 66) + "," + std::to_string(g.y() / 60) + " " + std::to_string(g.width() / 66) +
           "x" + std::to_string(g.height() / 60);
  }
};

TEST(VioFldClp, SixViosGoFromOneFieldToAnotherThroughTheSystemClipboard) {
  TFakePlatform fake;
  TTmpDir tmp;
  TFld a, b;
  a.Edt.PutVio(VT_STA, 2, 2);
  TVio* d = a.Edt.PutVio(VT_DLY, 3, 2);
  a.Edt.SetCtlTxt(d, d->FndCtl(TeCtlKnd::Edt, CR_VAL), "25");
  ASSERT_TRUE(a.Edt.CrtSarVio(0, 0, 4, 2, "Driving", "Forward", "40", true)) << GuLstErrMsg;
  TVio* s = a.Edt.PutVio(VT_SPD, 2, 3);
  a.Edt.SetCtlTxt(s, s->FndCtl(TeCtlKnd::Edt, CR_SPD), "30");
  ASSERT_TRUE(a.Edt.CrtSarVio(0, 0, 3, 3, "Bumpers", "Left pressed", "", false)) << GuLstErrMsg;
  a.Edt.PutVio(VT_STO, 4, 3);
  a.Edt.PutVio(VT_RTI, 9, 9);  // outside the band
  // The band starts on an empty cell and ends on the far corner.
  a.Mou(QEvent::MouseButtonPress, 1, 1, Qt::LeftButton);
  a.Mou(QEvent::MouseMove, 3, 2, Qt::LeftButton);
  a.Mou(QEvent::MouseMove, 4, 3, Qt::LeftButton);
  a.Mou(QEvent::MouseButtonRelease, 4, 3, Qt::NoButton);
  EXPECT_EQ(a.Frm(), "1,1 4x3");
  std::string txt;
  ASSERT_TRUE(a.Edt.CpyVio(txt)) << GuLstErrMsg;
  QApplication::clipboard()->setText(QString::fromStdString(txt));

  // The second field: its cursor moved by keys, the text pasted there.
  b.W.setFocus();
  for (Qt::Key k : {Qt::Key_Right, Qt::Key_Down, Qt::Key_Down}) QTest::keyClick(&b.W, k);
  std::string note;
  ASSERT_TRUE(b.Edt.PstVio(QApplication::clipboard()->text().toStdString(), note)) << GuLstErrMsg;
  EXPECT_EQ(b.Edt.GetVioCnt(), 6);
  EXPECT_EQ(b.Frm(), "1,2 3x2");
  // Shift and the arrows span a rectangle from the cursor; an arrow alone drops it.
  QTest::keyClick(&b.W, Qt::Key_Right, Qt::ShiftModifier);
  EXPECT_EQ(b.Frm(), "1,2 2x1");
  QTest::keyClick(&b.W, Qt::Key_Right);
  EXPECT_EQ(b.Frm(), "hidden");
  ASSERT_TRUE(b.Edt.SavVioFil(tmp.Path() + "b.vio")) << GuLstErrMsg;
  EXPECT_EQ(RdAll(tmp.Path() + "b.vio"),
            Crlf({"START1", "0002", "0003", "",        "DELAY1",  "0003", "0003", "25", "",
                  "ACTOR1", "0004", "0003", "Driving", "Forward", "40",   "",     "ENGINE SPEED1",
                  "0002",   "0004", "30",   "",        "",        "SENSOR1", "0003", "0004", "Bumpers",
                  "Left pressed", "", "STOP1", "0004", "0004", "", "EOF"}));
  EXPECT_TRUE(fake.MsgBox.Calls.empty());
}

}  // namespace
