// Breakpoints on the field: the red mark in a vio's top-right corner, F9 and
// the current vio's context menu.
#include <QAction>
#include <QMenu>
#include <QPainter>

#include "editor/qt/VioFldViw.h"
#include "messages/SysMsgIdf.h"

namespace {

// A red dot with a white ring and a dark rim: it stands out on every vio colour.
class TBrkDot final : public QWidget {
public:
  static constexpr int GcSiz = 12;
  explicit TBrkDot(QWidget* pnl) : QWidget(pnl) {
    setObjectName("dotVioBrk");
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFixedSize(GcSiz, GcSiz);
  }

protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(40, 0, 0), 1.0));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(0.5, 0.5, GcSiz - 1.0, GcSiz - 1.0));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(220, 0, 0));
    p.drawEllipse(QRectF(2.0, 2.0, GcSiz - 4.0, GcSiz - 4.0));
  }
};

}  // namespace

void TVioFldViw::VioBrk(TVio* vio) {
  TVioPnl* p = Pnl(vio);
  if (!p) return;
  if (!p->FpDot && vio->Brk()) p->FpDot = new TBrkDot(p);
  if (!p->FpDot) return;
  p->FpDot->move(p->width() - TBrkDot::GcSiz - 2, 2);
  p->FpDot->setVisible(vio->Brk());
  p->FpDot->raise();  // over the vio's controls
}

void TVioFldViw::CrtBrkAct() {
  if (!FpFld) return;
  auto* tgl = new QAction(FpFld);
  tgl->setObjectName("actVioBrk");
  tgl->setShortcut(QKeySequence(Qt::Key_F9));
  tgl->setShortcutContext(Qt::WindowShortcut);
  connect(tgl, &QAction::triggered, this, [this] { FMdl.TglBrk(FMdl.CurVio()); });
  FpFld->addAction(tgl);
  // The keyboard's way to a vio's menu; a right click still removes the vio.
  auto* pop = new QAction(FpFld);
  pop->setObjectName("actVioMnu");
  pop->setShortcuts({QKeySequence(Qt::Key_Menu), QKeySequence(Qt::SHIFT | Qt::Key_F10)});
  pop->setShortcutContext(Qt::WindowShortcut);
  connect(pop, &QAction::triggered, this, &TVioFldViw::PopVioMnu);
  FpFld->addAction(pop);
  FpVioMnu = new QMenu(FpFld);
  FpVioMnu->setObjectName("mnuVio");
}

void TVioFldViw::PopVioMnu() {
  TVio* vio = FMdl.CurVio();
  TVioPnl* p = Pnl(vio);
  if (!p || !p->isVisible() || !FpVioMnu) return;
  FpVioMnu->clear();
  const std::string txt = FMdl.GetSysUsrMsg(SUM_VIO_BRK);
  QAction* a = FpVioMnu->addAction((txt.empty() ? QString("Breakpoint") : VioQStr(txt)) + "\tF9");
  a->setObjectName("mnuVioBrk");
  a->setCheckable(true);
  a->setChecked(vio->Brk());
  // The model refuses a vio that has gone meanwhile.
  connect(a, &QAction::triggered, this, [this, vio] { FMdl.TglBrk(vio); });
  if (!FVioMnuAct.empty()) FpVioMnu->addSeparator();
  for (QAction* x : FVioMnuAct)
    if (x) FpVioMnu->addAction(x);
  FpVioMnu->popup(p->mapToGlobal(QPoint(p->width() / 2, p->height() / 2)));
}
