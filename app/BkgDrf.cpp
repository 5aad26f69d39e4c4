#include "app/BkgDrf.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cstdlib>

#include "core/Seams.h"

TBkgDrf::TBkgDrf(QWidget* fld, QLabel* img, QTimer& tmr, TBkgDrfTms tms, std::uint32_t seed)
    : FpFld(fld), FpImg(img), FTmr(tmr), FTms(tms), FRnd(seed == 0 ? 1 : seed) {
  connect(&FTmr, &QTimer::timeout, this, &TBkgDrf::Tck);
  // Input anywhere in the program counts, not only over the field.
  if (QCoreApplication* app = QCoreApplication::instance()) app->installEventFilter(this);
}

TBkgDrf::~TBkgDrf() {
  FTmr.stop();
  if (QCoreApplication* app = QCoreApplication::instance()) app->removeEventFilter(this);
}

void TBkgDrf::SetBmp(const QPixmap& bmp) {
  FBmp = bmp;
  if (FpImg) FpImg->setPixmap(FBmp);
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
  FbDrf = false;
  FTmr.stop();
  FiBckTop = FiBckLft = FiBckTgtTop = FiBckTgtLft = 0;
  Place();
}

void TBkgDrf::Inp() {
  FiIdlCnt = 0;
  if (!FbDrf) return;
  // The drift ends: the picture covers the field again and the timer goes
  // back to its idle pace.
  FbDrf = false;
  FiBckTop = FiBckLft = FiBckTgtTop = FiBckTgtLft = 0;
  FTmr.setInterval(FTms.Idl);
  Place();
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
  Place();
}

void TBkgDrf::Place() {
  if (!FpImg || !FpFld) return;
  if (FbDrf)
    FpImg->setGeometry(QRect(QPoint(FiBckLft, FiBckTop), DrfSiz()));
  else
    FpImg->setGeometry(FpFld->rect());
  FpImg->lower();
}

void TBkgDrf::FlsPic(const QPixmap& pic) {
  if (!FpImg || pic.isNull()) return;
  FpImg->setPixmap(pic);
  PrcMsg();
  FpImg->setPixmap(FBmp);
  PrcMsg();
}

bool TBkgDrf::eventFilter(QObject* obj, QEvent* e) {
  switch (e->type()) {
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

// ---- The main window's background picture ---------------------------------

#include "app/VslCnv.h"

void TfrmVslCnv::StaBkgDrf() {
  if (!GuBckGndImg || !pnlVioFld) return;
  if (!FpBkgDrf)
    FpBkgDrf = std::make_unique<TBkgDrf>(pnlVioFld, GuBckGndImg, tmrMovBckGndPic,
                                         TBkgDrfTms{FCfg.Tms.MovBckGndPic, 10, 5});
  FpBkgDrf->SetBmp(FpBckBmp);
  FpBkgDrf->Start();
}
