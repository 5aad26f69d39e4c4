#include "SimWnd.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>

#include "SimApp.h"
#include "sim/SimCmd.h"

namespace {
constexpr double GcPi = 3.14159265358979323846;
constexpr int GcMrg = 10;
// Interval of the window's look at the robot: while it moves, and at rest
// (still often enough for a flashing LED's 100 ms).
constexpr int GcTckMov = 15, GcTckIdl = 50;

TuArnKey ArnKey(const TSimRbt& r) {
  const TSimWld& w = r.Wld();
  return {std::lround(w.X() * 10), std::lround(w.Y() * 10), std::lround(w.Hdg() * 10),
          r.SysLit(), r.BckLit(true), r.BckLit(false), r.TrkLed(),
          r.Bmp(true), r.Bmp(false), r.Lin(true), r.Lin(false)};
}
}  // namespace

TArnWgt::TArnWgt(TSimDrv& drv, QWidget* parent) : QWidget(parent), FDrv(drv) {
  setMinimumSize(400, 300);
  setToolTip(tr("Click the left or right front of the robot to press a bumper"));
}

double TArnWgt::Scl() const {
  return std::min((width() - 2.0 * GcMrg) / GcArnWid, (height() - 2.0 * GcMrg) / GcArnHgt);
}

QPointF TArnWgt::Pix(double x, double y) const { return {GcMrg + x * Scl(), GcMrg + y * Scl()}; }

void TArnWgt::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.fillRect(rect(), QColor(60, 60, 66));
  const double s = Scl();
  // Floor and walls.
  const QRectF flr(Pix(0, 0), Pix(GcArnWid, GcArnHgt));
  p.fillRect(flr, QColor(236, 231, 216));
  p.setPen(QPen(QColor(120, 84, 50), 6));
  p.drawRect(flr.adjusted(-3, -3, 3, 3));
  // Grid every 10 cm, faint.
  p.setPen(QPen(QColor(210, 204, 188), 1));
  for (int x = 10; x < GcArnWid; x += 10) p.drawLine(Pix(x, 0), Pix(x, GcArnHgt));
  for (int y = 10; y < GcArnHgt; y += 10) p.drawLine(Pix(0, y), Pix(GcArnWid, y));
  // The track.
  QPainterPath trk;
  trk.addRoundedRect(QRectF(Pix(GcTrkX0, GcTrkY0), Pix(GcTrkX1, GcTrkY1)), GcTrkRad * s, GcTrkRad * s);
  p.setPen(QPen(QColor(25, 25, 25), GcLinWid * s));
  p.setBrush(Qt::NoBrush);
  p.drawPath(trk);

  const TSimRbt& r = FDrv.Rbt();
  const TSimWld& w = r.Wld();
  const QPointF c = Pix(w.X(), w.Y());
  p.save();
  p.translate(c);
  p.rotate(w.Hdg());
  p.scale(s, s);
  // Body, wheels.
  p.setPen(QPen(QColor(20, 40, 90), 0.4));
  p.setBrush(QColor(52, 96, 190));
  p.drawEllipse(QPointF(0, 0), GcRbtRad, GcRbtRad);
  p.setBrush(QColor(30, 30, 30));
  p.setPen(Qt::NoPen);
  p.drawRoundedRect(QRectF(-2.5, -GcWhlBas / 2 - 1, 5, 2), 0.5, 0.5);
  p.drawRoundedRect(QRectF(-2.5, GcWhlBas / 2 - 1, 5, 2), 0.5, 0.5);
  // Bumpers: arcs on the front, red while closed.
  for (int i = 0; i < 2; ++i) {
    const bool lft = i == 0;
    p.setPen(QPen(r.Bmp(lft) ? QColor(230, 40, 40) : QColor(200, 200, 200), 1.4, Qt::SolidLine, Qt::RoundCap));
    const QRectF arc(-GcRbtRad - 0.7, -GcRbtRad - 0.7, 2 * GcRbtRad + 1.4, 2 * GcRbtRad + 1.4);
    // Qt angles run counter-clockwise in 1/16 degree; the left bumper lies at negative headings.
    p.drawArc(arc, lft ? 3 * 16 : -80 * 16, 77 * 16);
  }
  // LEDs: system led in the front, back leds at the rear, track led below.
  auto led = [&](QPointF at, bool lit, QColor on, double rad) {
    p.setPen(QPen(QColor(20, 20, 20), 0.3));
    p.setBrush(lit ? on : on.darker(400));
    p.drawEllipse(at, rad, rad);
    if (lit) {
      QColor g = on;
      g.setAlpha(70);
      p.setPen(Qt::NoPen);
      p.setBrush(g);
      p.drawEllipse(at, rad * 2.2, rad * 2.2);
    }
  };
  led(QPointF(3.5, 0), r.SysLit(), QColor(60, 230, 60), 1.2);
  led(QPointF(-6, -3), r.BckLit(true), QColor(240, 40, 40), 1.1);
  led(QPointF(-6, 3), r.BckLit(false), QColor(240, 40, 40), 1.1);
  led(QPointF(0, 0), r.TrkLed(), QColor(250, 220, 40), 1.3);
  // Line sensors.
  for (int i = 0; i < 2; ++i) {
    const bool lft = i == 0;
    p.setPen(Qt::NoPen);
    p.setBrush(r.Lin(lft) ? QColor(255, 140, 0) : QColor(160, 160, 160));
    p.drawEllipse(QPointF(GcLinSnsFwd, lft ? -GcLinSnsSid : GcLinSnsSid), 0.6, 0.6);
  }
  p.restore();
}

void TArnWgt::mousePressEvent(QMouseEvent* e) {
  const TSimWld& w = FDrv.Rbt().Wld();
  const double s = Scl();
  const QPointF c = Pix(w.X(), w.Y());
  const double dx = (e->position().x() - c.x()) / s, dy = (e->position().y() - c.y()) / s;
  const double h = w.Hdg() * GcPi / 180.0;
  const double fwd = dx * std::cos(h) + dy * std::sin(h);
  const double sid = -dx * std::sin(h) + dy * std::cos(h);
  if (std::hypot(dx, dy) > GcRbtRad + 3 || fwd < 0) return;
  FiPrsBmp = sid < 0 ? 0 : 1;
  FDrv.Poll(SimWalNow());
  FDrv.Rbt().SetBmpUsr(FiPrsBmp == 0, true);
  update();
}

void TArnWgt::mouseReleaseEvent(QMouseEvent*) {
  if (FiPrsBmp < 0) return;
  FDrv.Poll(SimWalNow());
  FDrv.Rbt().SetBmpUsr(FiPrsBmp == 0, false);
  FiPrsBmp = -1;
  update();
}

TfrmZfrSim::TfrmZfrSim(TSimDrv& drv, const QString& pth) : FDrv(drv) {
  setWindowTitle(tr("Zefor simulator - %1").arg(pth));
  auto* top = new QHBoxLayout(this);
  auto* lft = new QVBoxLayout;
  FpArn = new TArnWgt(drv, this);
  lft->addWidget(FpArn, 1);
  FpSts = new QLabel(this);
  FpSts->setWordWrap(true);
  lft->addWidget(FpSts);
  top->addLayout(lft, 3);

  auto* rgt = new QVBoxLayout;
  auto* prt = new QLabel(tr("Serial port: %1").arg(pth), this);
  prt->setTextInteractionFlags(Qt::TextSelectableByMouse);
  rgt->addWidget(prt);
  auto* swi = new QGridLayout;
  for (int i = 0; i < 6; ++i) {
    FpSwi[i] = new QPushButton(tr("Switch %1").arg(i + 1), this);
    FpSwi[i]->setCheckable(true);
    FpSwi[i]->setToolTip(tr("On while pressed in; turning it on while the program runs starts the switch-interrupt routine"));
    connect(FpSwi[i], &QPushButton::toggled, this, [this, i](bool on) {
      FDrv.Poll(SimWalNow());
      if (FDrv.Rbt().Swi(i) != on) FDrv.Rbt().SetSwi(i, on);
    });
    swi->addWidget(FpSwi[i], i / 3, i % 3);
  }
  rgt->addLayout(swi);
  auto* lgt = new QHBoxLayout;
  FpLgt = new QLabel(this);
  FpLgtSld = new QSlider(Qt::Horizontal, this);
  FpLgtSld->setRange(0, 100);
  FpLgtSld->setValue(static_cast<int>(drv.Rbt().Lgt()));
  FpLgt->setText(tr("Light %1 %").arg(FpLgtSld->value()));
  connect(FpLgtSld, &QSlider::valueChanged, this, [this](int v) {
    FDrv.Poll(SimWalNow());
    FDrv.Rbt().SetLgt(v);
    FpLgt->setText(tr("Light %1 %").arg(v));
  });
  lgt->addWidget(FpLgt);
  lgt->addWidget(FpLgtSld, 1);
  rgt->addLayout(lgt);
  auto* spd = new QHBoxLayout;
  spd->addWidget(new QLabel(tr("Speed"), this));
  auto* spdCbx = new QComboBox(this);
  for (double f : {1.0, 2.0, 5.0, 10.0, 100.0}) spdCbx->addItem(QStringLiteral("x %1").arg(f), f);
  int cur = spdCbx->findData(drv.Spd());
  if (cur < 0) {
    spdCbx->addItem(QStringLiteral("x %1").arg(drv.Spd()), drv.Spd());
    cur = spdCbx->count() - 1;
  }
  spdCbx->setCurrentIndex(cur);
  connect(spdCbx, &QComboBox::currentIndexChanged, this,
          [this, spdCbx](int i) { FDrv.SetSpd(spdCbx->itemData(i).toDouble(), SimWalNow()); });
  spd->addWidget(spdCbx, 1);
  auto* rst = new QPushButton(tr("Back to start"), this);
  rst->setToolTip(tr("Put the robot back on its start place"));
  connect(rst, &QPushButton::clicked, this, [this] {
    FDrv.Poll(SimWalNow());
    FDrv.Rbt().Wld().RstPos();
    FDrv.Rbt().Evt("placed at the start");
  });
  spd->addWidget(rst);
  rgt->addLayout(spd);
  FpAdr = new QLabel(this);
  rgt->addWidget(FpAdr);
  FpTrc = new QPlainTextEdit(this);
  FpTrc->setReadOnly(true);
  FpTrc->setMaximumBlockCount(5000);
  FpTrc->setLineWrapMode(QPlainTextEdit::NoWrap);  // one executed instruction a line
  FpTrc->setFont(QFont(QStringLiteral("Monospace"), 9));
  FpTrc->setMinimumWidth(440);
  rgt->addWidget(FpTrc, 1);
  top->addLayout(rgt, 2);

  FpTmr = new QTimer(this);
  FpTmr->setInterval(GcTckMov);
  connect(FpTmr, &QTimer::timeout, this, &TfrmZfrSim::Tck);
  FpTmr->start();
  Tck();
}

void TfrmZfrSim::AddTrc(const TuSimTrc& t) { FpTrc->appendPlainText(QString::fromStdString(FmtTrc(t))); }

void TfrmZfrSim::Tck() {
  if (SimQitReq()) {
    QApplication::quit();
    return;
  }
  FDrv.Poll(SimWalNow());
  const TSimRbt& r = FDrv.Rbt();
  FpSts->setText(QString::fromStdString(SimSts(r)));
  QString adr = tr("Link: %1").arg(FDrv.PeerUp() ? tr("up") : tr("waiting for the tool to open the port"));
  if (r.HasPgm())
    adr += tr(" - program of %1 bytes").arg(r.Pgm().size());
  if (r.Running()) adr += tr(" - address %1").arg(r.Pc());
  FpAdr->setText(adr);
  for (int i = 0; i < 6; ++i) {
    if (FpSwi[i]->isChecked() != r.Swi(i)) {
      const QSignalBlocker b(FpSwi[i]);
      FpSwi[i]->setChecked(r.Swi(i));
    }
  }
  // The arena is repainted when what it shows has changed, and the window
  // looks more often while something moves: an idle simulator stays quiet.
  const TuArnKey key = ArnKey(r);
  if (key != FaArnKey) {
    FaArnKey = key;
    FpArn->update();
  }
  const bool mov = r.Running() || r.Wld().Whl() != TeWhl::Stp;
  const int itv = mov ? GcTckMov : GcTckIdl;
  if (FpTmr->interval() != itv) FpTmr->setInterval(itv);
}

int RunSimWnd(int argc, char** argv, const TuSimOpt& o, TSimDrv& drv) {
  (void)o;
  QApplication app(argc, argv);
  TfrmZfrSim w(drv, QString::fromStdString(drv.Pth()));
  drv.Rbt().FOnTrc = [&w](const TuSimTrc& t) { w.AddTrc(t); };
  drv.Sta(SimWalNow());
  w.resize(1180, 640);
  w.show();
  return app.exec();
}
