#include "sim/qt/ArnWgt.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {
constexpr double GcPi = 3.14159265358979323846;
constexpr int GcMrg = 10;
}  // namespace

TArnWgt::TArnWgt(QWidget* parent) : QWidget(parent) {
  setMinimumSize(240, 180);
  QSizePolicy pol(QSizePolicy::Preferred, QSizePolicy::Preferred);
  pol.setHeightForWidth(true);
  setSizePolicy(pol);
  setToolTip(tr("Click the left or right front of the robot to press a bumper"));
}

void TArnWgt::Set(const TuSimSnp& snp, const std::deque<TuSimRec>* trl, std::size_t n) {
  FSnp = snp;
  FpTrl = trl;
  FiTrl = trl ? std::min(n, trl->size()) : 0;
  update();
}

int TArnWgt::heightForWidth(int w) const {
  return std::max(minimumHeight(), static_cast<int>(std::ceil(2.0 * GcMrg + (w - 2.0 * GcMrg) * GcArnHgt / GcArnWid)));
}

double TArnWgt::Scl() const {
  return std::min((width() - 2.0 * GcMrg) / GcArnWid, (height() - 2.0 * GcMrg) / GcArnHgt);
}

QPointF TArnWgt::Pix(double x, double y) const { return {GcMrg + x * Scl(), GcMrg + y * Scl()}; }

void TArnWgt::paintEvent(QPaintEvent*) {
  ++FiPnt;
  // The floor and the track change only with the widget's size: they are
  // drawn once into a picture that each repaint copies.
  const qreal dpr = devicePixelRatioF();
  if (FBkg.size() != size() * dpr) {
    FBkg = QPixmap(size() * dpr);
    FBkg.setDevicePixelRatio(dpr);
    QPainter b(&FBkg);
    b.setRenderHint(QPainter::Antialiasing);
    b.fillRect(rect(), QColor(60, 60, 66));
    DrwFld(b);
  }
  QPainter p(this);
  p.drawPixmap(0, 0, FBkg);
  p.setRenderHint(QPainter::Antialiasing);
  DrwTrl(p);
  DrwRbt(p);
}

void TArnWgt::DrwFld(QPainter& p) const {
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
}

void TArnWgt::DrwTrl(QPainter& p) const {
  if (!FpTrl || FiTrl < 2) return;
  QPolygonF pts;
  pts.reserve(static_cast<qsizetype>(FiTrl) + 1);
  for (std::size_t i = 0; i < FiTrl; ++i) pts << Pix((*FpTrl)[i].X, (*FpTrl)[i].Y);
  pts << Pix(FSnp.X, FSnp.Y);
  p.setPen(QPen(QColor(40, 120, 220, 150), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPolyline(pts);
}

void TArnWgt::DrwRbt(QPainter& p) const {
  const double s = Scl();
  p.save();
  p.translate(Pix(FSnp.X, FSnp.Y));
  p.rotate(FSnp.Hdg);
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
    p.setPen(QPen((lft ? FSnp.BmpL : FSnp.BmpR) ? QColor(230, 40, 40) : QColor(200, 200, 200), 1.4, Qt::SolidLine,
                  Qt::RoundCap));
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
  led(QPointF(3.5, 0), FSnp.SysLit, QColor(60, 230, 60), 1.2);
  led(QPointF(-6, -3), FSnp.BckL, QColor(240, 40, 40), 1.1);
  led(QPointF(-6, 3), FSnp.BckR, QColor(240, 40, 40), 1.1);
  led(QPointF(0, 0), FSnp.TrkLed, QColor(250, 220, 40), 1.3);
  // Line sensors.
  for (int i = 0; i < 2; ++i) {
    const bool lft = i == 0;
    p.setPen(Qt::NoPen);
    p.setBrush((lft ? FSnp.LinL : FSnp.LinR) ? QColor(255, 140, 0) : QColor(160, 160, 160));
    p.drawEllipse(QPointF(GcLinSnsFwd, lft ? -GcLinSnsSid : GcLinSnsSid), 0.6, 0.6);
  }
  p.restore();
}

void TArnWgt::mousePressEvent(QMouseEvent* e) {
  const double s = Scl();
  const QPointF c = Pix(FSnp.X, FSnp.Y);
  const double dx = (e->position().x() - c.x()) / s, dy = (e->position().y() - c.y()) / s;
  const double h = FSnp.Hdg * GcPi / 180.0;
  const double fwd = dx * std::cos(h) + dy * std::sin(h);
  const double sid = -dx * std::sin(h) + dy * std::cos(h);
  if (std::hypot(dx, dy) > GcRbtRad + 3 || fwd < 0) return;
  FiPrsBmp = sid < 0 ? 0 : 1;
  if (FOnBmp) FOnBmp(FiPrsBmp == 0, true);
}

void TArnWgt::mouseReleaseEvent(QMouseEvent*) {
  if (FiPrsBmp < 0) return;
  const bool lft = FiPrsBmp == 0;
  FiPrsBmp = -1;
  if (FOnBmp) FOnBmp(lft, false);
}
