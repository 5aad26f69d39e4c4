#include "editor/qt/VioFldZom.h"

#include <QAction>
#include <QApplication>
#include <QFontInfo>
#include <QStyle>
#include <QGraphicsOpacityEffect>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QStatusBar>

#include <algorithm>
#include <cmath>

#include "editor/VioKep.h"
#include "editor/VioZom.h"
#include "messages/SysMsgIdf.h"
#include "editor/qt/VioFldViw.h"

namespace {

// How much of the background picture shows through in high contrast.
constexpr double GcHcBkgOpa = 0.2;

void DrwSym(QPainter& p, TeVioSym sym, const QRectF& r, const QColor& clr) {
  const double s = r.width();
  auto at = [&](double x, double y) { return QPointF(r.left() + x * s, r.top() + y * s); };
  QPen pen(clr, std::max(1.5, s / 7), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  p.setPen(pen);
  p.setBrush(Qt::NoBrush);
  switch (sym) {
    case TeVioSym::Tri:  // go
      p.setBrush(clr);
      p.drawPolygon(QPolygonF{at(0.15, 0.05), at(0.95, 0.5), at(0.15, 0.95)});
      break;
    case TeVioSym::Sqr:  // stop
      p.setBrush(clr);
      p.drawRect(QRectF(at(0.1, 0.1), at(0.9, 0.9)));
      break;
    case TeVioSym::Blt:  // the interrupt's lightning
      p.setBrush(clr);
      p.drawPolygon(QPolygonF{at(0.55, 0.0), at(0.15, 0.55), at(0.45, 0.55), at(0.35, 1.0), at(0.85, 0.4),
                              at(0.55, 0.4), at(0.7, 0.0)});
      break;
    case TeVioSym::Ret: {  // back to where the interrupt came
      QPainterPath pt(at(0.85, 0.1));
      pt.lineTo(at(0.85, 0.6));
      pt.lineTo(at(0.2, 0.6));
      p.drawPath(pt);
      p.setBrush(clr);
      p.drawPolygon(QPolygonF{at(0.05, 0.6), at(0.35, 0.35), at(0.35, 0.85)});
      break;
    }
    case TeVioSym::Dmd:  // the question
      p.drawPolygon(QPolygonF{at(0.5, 0.05), at(0.95, 0.5), at(0.5, 0.95), at(0.05, 0.5)});
      p.setBrush(clr);
      p.drawEllipse(at(0.5, 0.5), s / 8, s / 8);
      break;
    case TeVioSym::Chk:  // yes
      p.drawPolyline(QPolygonF{at(0.1, 0.55), at(0.4, 0.85), at(0.9, 0.15)});
      break;
    case TeVioSym::Crs:  // no
      p.drawLine(at(0.15, 0.15), at(0.85, 0.85));
      p.drawLine(at(0.85, 0.15), at(0.15, 0.85));
      break;
    case TeVioSym::Clk:  // wait: a clock
      p.drawEllipse(at(0.5, 0.5), s * 0.42, s * 0.42);
      p.drawPolyline(QPolygonF{at(0.5, 0.22), at(0.5, 0.5), at(0.72, 0.62)});
      break;
    case TeVioSym::Flg:  // the place a Goto jumps to
      p.drawLine(at(0.2, 0.05), at(0.2, 0.95));
      p.setBrush(clr);
      p.drawPolygon(QPolygonF{at(0.2, 0.08), at(0.9, 0.3), at(0.2, 0.52)});
      break;
    case TeVioSym::Arw:  // the jump
      p.drawLine(at(0.05, 0.5), at(0.6, 0.5));
      p.setBrush(clr);
      p.drawPolygon(QPolygonF{at(0.5, 0.15), at(0.95, 0.5), at(0.5, 0.85)});
      break;
    case TeVioSym::Sun:  // something on the robot turns on
      p.setBrush(clr);
      p.drawEllipse(at(0.5, 0.5), s * 0.2, s * 0.2);
      for (int i = 0; i < 8; ++i) {
        const double a = i * 3.14159265358979 / 4, c = std::cos(a), d = std::sin(a);
        p.drawLine(at(0.5 + 0.32 * c, 0.5 + 0.32 * d), at(0.5 + 0.48 * c, 0.5 + 0.48 * d));
      }
      break;
    case TeVioSym::Ffw:  // faster or slower: the wheels' speed
      p.setBrush(clr);
      p.drawPolygon(QPolygonF{at(0.05, 0.15), at(0.5, 0.5), at(0.05, 0.85)});
      p.drawPolygon(QPolygonF{at(0.5, 0.15), at(0.95, 0.5), at(0.5, 0.85)});
      break;
    case TeVioSym::Non: break;
  }
}

}  // namespace

QRect VioSymRct(const QSize& pnl) {
  const int s = std::max(4, std::min(pnl.width(), pnl.height()) / 5);
  const int m = std::max(2, s / 4);
  return QRect(m, m, s, s);
}

void PntVio(TVioPnl& pnl, TVioLay& lay) {
  const TVio* v = pnl.Vio();
  if (!v) return;
  QPainter p(&pnl);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor fnt = VioQClr(TVioLay::VioFntClr(*v));
  const bool hc = v->Owner() && v->Owner()->HiCtr();
  if (hc) {
    const int w = std::max(2, std::min(pnl.width(), pnl.height()) / 24);
    p.setPen(QPen(VioQClr(GcHcOutClr), w, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.drawRect(QRectF(pnl.rect()).adjusted(w / 2.0, w / 2.0, -w / 2.0, -w / 2.0));
    if (const TuVioTypRow* r = GetVioRow(v->Rec().VioTyp)) DrwSym(p, r->Sym, VioSymRct(pnl.size()), fnt);
  }
  const TuCapBox c = lay.CapBox(*v);
  if (c.Px <= 0) return;
  QFont f = pnl.font();
  f.setPixelSize(c.Px);
  p.setFont(f);
  p.setPen(fnt);
  p.drawText(QRect(c.Left, c.Top, c.Width, c.Height), Qt::AlignCenter, VioQStr(v->Caption()));
}

// ---- The zoom and the look, on the field's view -------------------------------

void TVioFldViw::FldShw() {
  if (!FpFld) return;
  // The field holds the whole grid; the scroll area shows what does not fit.
  FpFld->setMinimumSize(FMdl.GrdCls() * FMdl.CelWdt(), FMdl.GrdRws() * FMdl.CelHgt());
  for (auto& [v, p] : FPnls) {
    TVio* vio = const_cast<TVio*>(v);
    p->setGeometry(vio->Left(), vio->Top(), vio->Width(), vio->Height());
    for (std::size_t i = 0; i < p->FCtls.size(); ++i) UpdCtl(p, static_cast<int>(i));
    VioChg(vio);
    if (p->FpDot) VioBrk(vio);
  }
}

// ---- Menu, status bar and settings ----------------------------------------------

TFldZom::TFldZom(TVioPgmItp& edt, QWidget* fld, QMenu* viw, QStatusBar* bar)
    : QObject(viw), FEdt(edt), FpFld(fld) {
  viw->addSeparator();
  FpInAct = viw->addAction(QString());
  FpInAct->setObjectName("actZomIn");
  FpInAct->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
  connect(FpInAct, &QAction::triggered, this, [this] { SetZom(ZomStpUp(FEdt.Zom())); });
  FpOutAct = viw->addAction(QString());
  FpOutAct->setObjectName("actZomOut");
  FpOutAct->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
  connect(FpOutAct, &QAction::triggered, this, [this] { SetZom(ZomStpDwn(FEdt.Zom())); });
  FpOneAct = viw->addAction(QString());
  FpOneAct->setObjectName("actZomOne");
  FpOneAct->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
  connect(FpOneAct, &QAction::triggered, this, [this] { SetZom(GcZomOne); });
  FpCtrAct = viw->addAction(QString());
  FpCtrAct->setObjectName("actHiCtr");
  FpCtrAct->setCheckable(true);
  connect(FpCtrAct, &QAction::triggered, this, [this](bool on) { SetHiCtr(on); });
  FpLbl = new QLabel(bar);
  FpLbl->setObjectName("lblZom");
  bar->addPermanentWidget(FpLbl);
  RfsTxt();
}

void TFldZom::Lod(const std::string& zom, const std::string& hiCtr) {
  FEdt.SetZom(ZomOfTxt(zom));
  FEdt.SetHiCtr(hiCtr == "1");
  Shw();
}

void TFldZom::SetZom(int pct) {
  if (!FEdt.SetZom(pct)) return;
  Shw();
  if (FOnKep) FOnKep("Zoom", std::to_string(FEdt.Zom()));
}

void TFldZom::SetHiCtr(bool on) {
  FEdt.SetHiCtr(on);
  Shw();
  if (FOnKep) FOnKep("HighContrast", on ? "1" : "0");
}

void TFldZom::SetBkg(QWidget* bkg) {
  FpBkg = bkg;
  Shw();
}

void TFldZom::Shw() {
  const bool hc = FEdt.HiCtr();
  FpInAct->setEnabled(FEdt.Zom() < GcZomStp.back());
  FpOutAct->setEnabled(FEdt.Zom() > GcZomStp.front());
  FpCtrAct->setChecked(hc);
  RfsTxt();
  if (FpFld) {
    QPalette pal = FpFld->palette();
    pal.setColor(QPalette::Window, hc ? VioQClr(GcHcFldClr) : FpFld->style()->standardPalette().color(QPalette::Window));
    FpFld->setPalette(pal);
  }
  if (FpBkg) {
    if (hc && !FpBkg->graphicsEffect()) {
      auto* e = new QGraphicsOpacityEffect(FpBkg);
      e->setOpacity(GcHcBkgOpa);
      FpBkg->setGraphicsEffect(e);
    } else if (!hc && FpBkg->graphicsEffect()) {
      FpBkg->setGraphicsEffect(nullptr);
    }
  }
}

void TFldZom::RfsTxt() {
  auto msg = [this](std::uint8_t id) { return VioQStr(VioUsrMsg(FEdt, id)); };
  FpInAct->setText(msg(SUM_VIW_ZOM_IN));
  FpOutAct->setText(msg(SUM_VIW_ZOM_OUT));
  FpOneAct->setText(msg(SUM_VIW_ZOM_ONE));
  FpCtrAct->setText(msg(SUM_VIW_HI_CTR));
  FpLbl->setText(msg(SUM_VIW_ZOM_STA) + QString(" %1 %").arg(FEdt.Zom()));
}

// ---- Measures of the field's own controls -------------------------------------

void TVioFldViw::EdtRom(int& width, int& height) {
  // An edit's frame on each side, and the margins its text keeps inside it
  // (two pixels at the sides, one above and below, a pixel for the cursor).
  QStyle* st = FpFld ? FpFld->style() : QApplication::style();
  const int frm = st->pixelMetric(QStyle::PM_DefaultFrameWidth);
  width = 2 * frm + 2 * 2 + 1;
  height = 2 * frm + 2;
}

int TVioFldViw::NrmPx() { return QFontInfo(FpFld ? FpFld->font() : QFont()).pixelSize(); }
