#include "app/BkgDrf.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QRegion>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cstdlib>

#include "core/Seams.h"

TBkgDrf::TBkgDrf(QWidget* fld, QLabel* img, QTimer& tmr, TBkgDrfTms tms, std::uint32_t seed)
    : FpFld(fld), FpImg(img), FTmr(tmr), FTms(tms), FRnd(seed == 0 ? 1 : seed) {
  connect(&FTmr, &QTimer::timeout, this, &TBkgDrf::Tck);
  FFlsTmr.setSingleShot(true);
  FFlsTmr.setInterval(FTms.Fls);
  connect(&FFlsTmr, &QTimer::timeout, this, &TBkgDrf::FlsEnd);
  // Input anywhere in the program counts, not only over the field.
  if (QCoreApplication* app = QCoreApplication::instance()) app->installEventFilter(this);
}

TBkgDrf::~TBkgDrf() {
  FTmr.stop();
  if (QCoreApplication* app = QCoreApplication::instance()) app->removeEventFilter(this);
}

void TBkgDrf::SetBmp(const QPixmap& bmp) {
  FBmp = bmp;
  FDrfPix = QPixmap();
  if (FpImg && !FbFls) FpImg->setPixmap(FBmp);
  Place();
}

void TBkgDrf::Start() {
  FbRun = true;
  FbDrf = false;
  FiBckTop = FiBckLft = FiBckTgtTop = FiBckTgtLft = 0;
  FiIdlCnt = 0;
  FTmr.setInterval(FTms.Idl);
  FTmr.start();
  Place();
}

void TBkgDrf::Stop() {
  FbRun = false;
  FTmr.stop();
  FFlsQue.clear();
  if (FbFls) FlsEnd();
  Inp();
  Place();
}

void TBkgDrf::Inp() {
  FiIdlCnt = 0;
  if (!FbDrf) return;
  // The drift ends: the picture covers the field again and the timer goes
  // back to its idle pace.
  FbDrf = false;
  FiBckTop = FiBckLft = FiBckTgtTop = FiBckTgtLft = 0;
  FDrfPix = QPixmap();
  FTmr.setInterval(FTms.Idl);
  if (FpImg) FpImg->update(Opn());
}

void TBkgDrf::Rsz() {
  if (FbDrf) {
    // Keep the offset inside what the new size allows.
    const QSize s = DrfSiz();
    const int maxX = s.width() - FpFld->width(), maxY = s.height() - FpFld->height();
    FiBckLft = std::clamp(FiBckLft, -maxX, 0);
    FiBckTop = std::clamp(FiBckTop, -maxY, 0);
    FiBckTgtLft = std::clamp(FiBckTgtLft, -maxX, 0);
    FiBckTgtTop = std::clamp(FiBckTgtTop, -maxY, 0);
  }
  Place();
}

QSize TBkgDrf::DrfSiz() const {
  if (!FpFld) return {};
  // At least an eighth larger than the field, so that there is room to drift
  // also when the bitmap is smaller than the field.
  const int w = FpFld->width(), h = FpFld->height();
  return {std::max(FBmp.width(), w + w / 8), std::max(FBmp.height(), h + h / 8)};
}

int TBkgDrf::Rnd(int n) {
  n = std::abs(n);
  if (n == 0) return 0;
  return static_cast<int>(FRnd() % static_cast<std::uint32_t>(n));
}

void TBkgDrf::Tck() {
  if (!FbRun || !FpFld) return;
  if (!FbDrf) {
    if (++FiIdlCnt <= FTms.IdlTck) return;
    FbDrf = true;
    FTmr.setInterval(FTms.Stp);
  }
  const QSize s = DrfSiz();
  if (FiBckLft == FiBckTgtLft && FiBckTop == FiBckTgtTop) {
    FiBckTgtLft = -Rnd(s.width() - FpFld->width());
    FiBckTgtTop = -Rnd(s.height() - FpFld->height());
  }
  auto stp = [](std::int32_t& cur, std::int32_t tgt) {
    if (cur < tgt) ++cur;
    else if (cur > tgt) --cur;
  };
  stp(FiBckLft, FiBckTgtLft);
  stp(FiBckTop, FiBckTgtTop);
  if (FpImg && !FbFls && !FBmp.isNull()) FpImg->update(Opn());
}

void TBkgDrf::Place() {
  if (!FpImg || !FpFld) return;
  // The control covers the field also while the picture drifts: moving it
  // would make every vio above it draw itself anew on each step.
  if (FpImg->geometry() != FpFld->rect()) FpImg->setGeometry(FpFld->rect());
  FpImg->lower();
}

QRegion TBkgDrf::Opn() const {
  QRegion r(FpImg->rect());
  if (!FpFld) return r;
  for (QObject* o : FpFld->children()) {
    auto* w = qobject_cast<QWidget*>(o);
    if (!w || w == FpImg || w->isWindow() || !w->isVisible()) continue;
    if (w->autoFillBackground() || w->testAttribute(Qt::WA_OpaquePaintEvent))
      r -= w->geometry().translated(-FpImg->pos());
  }
  return r;
}

void TBkgDrf::PntDrf() {
  // Scaled once per drift; each step only copies it, clipped to what is open.
  const QSize s = DrfSiz();
  if (FDrfPix.size() != s) FDrfPix = FBmp.scaled(s, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  // The painter is clipped to the region being drawn.
  QPainter p(FpImg);
  p.drawPixmap(QPoint(FiBckLft, FiBckTop) - FpImg->pos(), FDrfPix);
}

void TBkgDrf::FlsPic(const QPixmap& pic) {
  if (!FpImg || pic.isNull()) return;
  if (FbFls) {
    // The same picture once more is still being seen: it stays the longer.
    const qint64 lst = FFlsQue.empty() ? FpImg->pixmap().cacheKey() : FFlsQue.back().cacheKey();
    if (lst == pic.cacheKey()) {
      if (FFlsQue.empty()) FFlsTmr.start();
      return;
    }
    FFlsQue.push_back(pic);
    if (FFlsQue.size() > 2) FFlsQue.pop_front();
    return;
  }
  FbFls = true;
  FpImg->setPixmap(pic);
  FFlsTmr.start();
  PrcMsg();
}

void TBkgDrf::FlsEnd() {
  FFlsTmr.stop();
  if (!FbFls || !FpImg) return;
  if (!FFlsQue.empty()) {
    FpImg->setPixmap(FFlsQue.front());
    FFlsQue.pop_front();
    FFlsTmr.start();
    return;
  }
  FbFls = false;
  FpImg->setPixmap(FBmp);
}

bool TBkgDrf::eventFilter(QObject* obj, QEvent* e) {
  switch (e->type()) {
    case QEvent::Paint:
      if (obj == FpImg && FbDrf && !FbFls && !FBmp.isNull()) {
        PntDrf();
        return true;
      }
      break;
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::TouchBegin:
      Inp();
      break;
    default:
      break;
  }
  return QObject::eventFilter(obj, e);
}
