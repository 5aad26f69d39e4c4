#include "app/FstGui.h"

#include <QAction>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "app/VslLnk.h"
#include "app/VslSet.h"
#include "app/platform/QtStr.h"
#include "link/PrtNam.h"
#include "messages/SysMsgBui.h"
#include "messages/SysMsgIdf.h"
#include "sim/SimSnp.h"
#include "sim/SimThr.h"

namespace {

// The store's port before any was chosen.
constexpr const char* GcNoPrt = "COM0";
// How often the guide looks whether the robot drives.
constexpr int GcDrvTck = 100;
// Looks at a robot that lies still after it moved, before it counts as driven.
constexpr int GcDrvRst = 3;
const QColor GcMrkClr(255, 140, 0);

// The point of r nearest to q.
QPoint Nrs(const QRect& r, QPoint q) {
  return {std::clamp(q.x(), r.left(), r.right()), std::clamp(q.y(), r.top(), r.bottom())};
}

// The mark: a ring around the control the step points at, which pulses, and
// the panel's tail towards it; the mouse goes through it to the control.
class TFstMrk final : public QWidget {
public:
  explicit TFstMrk(QWidget* wnd) : QWidget(wnd) {
    setObjectName("mrkFstGui");
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    FTmr.setInterval(GcMrkPls);
    QObject::connect(&FTmr, &QTimer::timeout, this, [this] {
      FbPls = !FbPls;
      update();
    });
  }
  // ring and the panel, in the window's coordinates.
  void Set(const QRect& ring, const QRect& pnl) {
    // The tail leaves the panel where it is nearest to the ring.
    const QPoint at = Nrs(pnl, ring.center());
    const QLineF dir(at, Nrs(ring, at));
    QPolygonF tail;
    if (dir.length() > 2 * GcTail) {
      const QLineF u = dir.unitVector();
      const QPointF d(u.dx(), u.dy()), n(-d.y(), d.x());
      tail << QPointF(at) - d * 2 + n * (GcTail * 0.6) << QPointF(at) + d * GcTail << QPointF(at) - d * 2 - n * (GcTail * 0.6);
    }
    const QRect all = ring.united(tail.boundingRect().toAlignedRect()).adjusted(-6, -6, 6, 6);
    if (all == geometry() && ring.translated(-all.topLeft()) == FRng && tail.translated(-all.topLeft()) == FTail) return;
    setGeometry(all);
    FRng = ring.translated(-all.topLeft());
    FTail = tail.translated(-all.topLeft());
    update();
  }

protected:
  void showEvent(QShowEvent*) override { FTmr.start(); }
  void hideEvent(QHideEvent*) override { FTmr.stop(); }
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(GcMrkClr, FbPls ? 5 : 3));
    p.drawRoundedRect(FRng, 6, 6);
    p.setPen(Qt::NoPen);
    p.setBrush(GcMrkClr);
    p.drawPolygon(FTail);
  }

private:
  static constexpr int GcTail = 14;   // the tail's length
  static constexpr int GcMrkPls = 600;  // the ring's pulse
  QRect FRng;
  QPolygonF FTail;
  QTimer FTmr;
  bool FbPls = false;
};

}  // namespace

TFstGui::TFstGui(TFstWnd w, QAction& hlp) : QObject(&w.Wnd), FW(std::move(w)) {
  QMainWindow& wnd = FW.Wnd;
  FpMrk = new TFstMrk(&wnd);
  FpMrk->hide();
  frmFstGui = new QFrame(&wnd);
  frmFstGui->setObjectName("frmFstGui");
  frmFstGui->setStyleSheet("QFrame#frmFstGui { background: #fff8dc; border: 2px solid #ff8c00; border-radius: 6px; }");
  lblFstNum = new QLabel(frmFstGui);
  lblFstNum->setObjectName("lblFstNum");
  QFont bld = lblFstNum->font();
  bld.setBold(true);
  lblFstNum->setFont(bld);
  lblFstTxt = new QLabel(frmFstGui);
  lblFstTxt->setObjectName("lblFstTxt");
  lblFstTxt->setWordWrap(true);
  lblFstTxt->setFixedWidth(300);
  btnFstNxt = new QPushButton(frmFstGui);
  btnFstNxt->setObjectName("btnFstNxt");
  btnFstSkp = new QPushButton(frmFstGui);
  btnFstSkp->setObjectName("btnFstSkp");
  auto* lay = new QVBoxLayout(frmFstGui);
  lay->setContentsMargins(12, 10, 12, 10);
  lay->addWidget(lblFstNum);
  lay->addWidget(lblFstTxt);
  auto* btn = new QHBoxLayout;
  btn->addStretch();
  btn->addWidget(btnFstSkp);
  btn->addWidget(btnFstNxt);
  lay->addLayout(btn);
  frmFstGui->hide();
  connect(btnFstNxt, &QPushButton::clicked, this, [this] {
    FStp.Nxt();
    Upd();
  });
  connect(btnFstSkp, &QPushButton::clicked, this, [this] {
    FStp.Skp();
    Upd();
  });
  connect(&hlp, &QAction::triggered, this, &TFstGui::Shw);
  // Told of every instruction the robot executes: only a new step is shown anew.
  connect(&FW.Lnk, &TVslLnk::RbtRun, this, [this] {
    if (!Shown()) return;
    const TeFstStp was = FStp.Cur();
    FStp.Run();
    if (FStp.Cur() != was) Upd();
  });
  FTmrDrv.setInterval(GcDrvTck);
  connect(&FTmrDrv, &QTimer::timeout, this, &TFstGui::DrvTck);
  // The window's size and the tool bars may change under the panel.
  wnd.installEventFilter(this);
}

TFstGui::~TFstGui() {
  if (FpEdt) FpEdt->RmvObs(this);
}

bool TFstGui::eventFilter(QObject* obj, QEvent* e) {
  if (obj == &FW.Wnd && (e->type() == QEvent::Resize || e->type() == QEvent::LayoutRequest) && Shown()) Plc();
  return QObject::eventFilter(obj, e);
}

void TFstGui::BfrSta() {
  FbDue = FW.Aut && FW.Set.Frs() && FW.Set.RedGui().empty();
  const std::string& prt = FW.Lnk.PrtNam();
  if (FbDue && (prt.empty() || prt == GcNoPrt)) FW.Lnk.SetPrtNam(GcSimPrt);
}

void TFstGui::AftSta() {
  if (!std::exchange(FbDue, false)) return;
  Shw();
}

void TFstGui::Shw() {
  TVioPgmItp* edt = FW.Edt();
  if (!edt) return;
  if (FpEdt != edt) {
    if (FpEdt) FpEdt->RmvObs(this);
    FpEdt = edt;
    FpEdt->AddObs(this);
  }
  FStp = TFstGuiStp();
  FiAnc = -1;
  frmFstGui->show();
  Upd();
}

bool TFstGui::Shown() const { return !frmFstGui->isHidden(); }

QWidget* TFstGui::Pnt() const {
  if (!Shown()) return nullptr;
  const char* nam = FstStpPnt(FStp.Cur());
  if (!*nam) return nullptr;
  QWidget* w = FW.Wnd.findChild<QWidget*>(nam);
  return w && w->isVisible() ? w : nullptr;
}

void TFstGui::Upd() {
  if (!Shown() || !FpEdt) return;
  std::vector<TuFstVio> vios;
  for (const TVio* v : FpEdt->Vios()) vios.push_back({v->Rec().VioTyp, v->Rec().GrdCol, v->Rec().GrdRow});
  FStp.Pgm(FstPgmDon(vios));
  if (FStp.End()) return End();
  const TeFstStp cur = FStp.Cur();
  // From the upload on the guide runs over the built-in robot.
  if (cur >= TeFstStp::Upr && cur != TeFstStp::Don && !IsSimPrt(FW.Lnk.PrtNam()) && FsOwnPrt.empty()) {
    FsOwnPrt = FW.Lnk.PrtNam();
    FW.Lnk.UsePrt(GcSimPrt);
  }
  const bool drv = cur == TeFstStp::Upr || cur == TeFstStp::Drv;
  if (drv && !FTmrDrv.isActive()) {
    FPos = {-1e9, -1e9};
    FbMov = false;
    FTmrDrv.start();
  } else if (!drv) {
    FTmrDrv.stop();
  }
  RfsTxt();
}

void TFstGui::End() {
  frmFstGui->hide();
  FpMrk->hide();
  FTmrDrv.stop();
  if (FpEdt) FpEdt->RmvObs(this);
  FpEdt = nullptr;
  // Kept so that no later start shows it by itself; a store that refuses
  // loses only that (the next start is no first start either way).
  (void)FW.Set.KepGui(FStp.Skipped() ? "skipped" : "seen");
  // The port the guide took the robot's place of comes back.
  const std::string own = std::exchange(FsOwnPrt, std::string());
  if (!own.empty() && IsSimPrt(FW.Lnk.PrtNam())) FW.Lnk.UsePrt(own);
}

void TFstGui::RfsTxt() {
  if (!Shown()) return;
  const std::uint8_t lge = FW.Lge();
  const TeFstStp cur = FStp.Cur();
  const QStringList btn = QStr(SysMsgOr(SUM_FST_BTN, lge)).split('|');
  auto prt = [&btn](int i) { return i < btn.size() ? btn[i] : QString(); };
  QString num = QStr(SysMsgOr(SUM_FST_GUI, lge));
  if (cur != TeFstStp::Don)
    num += ": " + QStr(SysMsgOr(SUM_FST_NUM, lge)).arg(static_cast<int>(cur) + 1).arg(GcFstStpCnt - 1);
  lblFstNum->setText(num);
  lblFstTxt->setText(QStr(SysMsgOr(GcFstStp[static_cast<std::size_t>(cur)].Txt, lge)));
  btnFstNxt->setText(prt(cur == TeFstStp::Don ? 2 : 0));
  btnFstSkp->setText(prt(1));
  btnFstSkp->setVisible(cur != TeFstStp::Don);
  frmFstGui->setAccessibleName(num);
  frmFstGui->setAccessibleDescription(lblFstTxt->text());
  FpMrk->setAccessibleName(num);
  if (FW.Anc && FiAnc != static_cast<int>(cur)) FW.Anc(num + ": " + lblFstTxt->text());
  FiAnc = static_cast<int>(cur);
  Plc();
}

void TFstGui::Plc() {
  QMainWindow& w = FW.Wnd;
  frmFstGui->adjustSize();
  const QSize s = frmFstGui->size();
  QWidget* t = Pnt();
  const QRect tr = t ? QRect(t->mapTo(&w, QPoint(0, 0)), t->size()) : QRect();
  // Beside the control pointed at (left of it in the window's right half), below
  // the field's first row, where the tool buttons put the first vios, and
  // lower while it would lie over a vio.
  const QWidget* fld = FW.Fld ? FW.Fld() : nullptr;
  const QPoint fo = fld ? fld->mapTo(&w, QPoint(0, 0)) : QPoint(0, 0);
  const int cw = FpEdt ? FpEdt->CelWdt() : 66, ch = FpEdt ? FpEdt->CelHgt() : 60;
  int x = t ? tr.left() - 24 : fo.x() + 24;
  if (t && tr.left() > w.width() / 2) x = tr.left() - s.width() - 48;
  x = std::clamp(x, 8, std::max(8, w.width() - s.width() - 8));
  std::vector<QRect> vio;
  if (FpEdt)
    for (const TVio* v : FpEdt->Vios()) vio.emplace_back(fo + QPoint(v->Rec().GrdCol * cw, v->Rec().GrdRow * ch), QSize(cw, ch));
  auto hit = [&vio, s](QPoint at) {
    return std::any_of(vio.begin(), vio.end(), [&](const QRect& r) { return r.intersects(QRect(at, s)); });
  };
  const int lst = std::max(8, w.height() - s.height() - 8);
  QPoint at(x, std::min(fo.y() + ch + 24, lst));
  for (QPoint p = at; p.y() <= lst; p.ry() += ch)
    if (!hit(p)) {
      at = p;
      break;
    }
  frmFstGui->move(at);
  if (!t) {
    FpMrk->hide();
  } else {
    static_cast<TFstMrk*>(FpMrk)->Set(tr.adjusted(-4, -4, 4, 4), frmFstGui->geometry());
    FpMrk->show();
    FpMrk->raise();
  }
  frmFstGui->raise();
}

void TFstGui::DrvTck() {
  TSimThr* sim = FW.Lnk.Sim();
  if (!sim || !sim->Running()) return;
  QPointF pos;
  sim->Qry([&pos](const TSimDrv& d) {
    const TuSimSnp s = SimSnp(d.Rbt());
    pos = {s.X, s.Y};
  });
  const bool mov = FPos.x() > -1e8 && std::abs(pos.x() - FPos.x()) + std::abs(pos.y() - FPos.y()) > 0.05;
  FPos = pos;
  // The pane may have come up or moved since.
  Plc();
  // It has driven when it has moved and then lain still for a few looks.
  if (mov) {
    FbMov = true;
    FiRst = 0;
    return;
  }
  if (!FbMov || ++FiRst < GcDrvRst) return;
  FbMov = false;
  FStp.Drv();
  Upd();
}
