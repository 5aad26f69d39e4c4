// The background picture: stretched over the field, the drift after idle
// ticks, its end at the next input, and the direction picture flash.
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include "app/BkgDrf.h"
#include "support/FakePlatform.h"

namespace {

QPixmap Pic(int w, int h, QColor c) {
  QImage img(w, h, QImage::Format_RGB888);
  img.fill(c);
  return QPixmap::fromImage(img);
}

class BkgDrf : public ::testing::Test {
protected:
  BkgDrf() {
    Fld.resize(400, 300);
    Img = new QLabel(&Fld);
    Img->setScaledContents(true);
  }
  void Mov(QWidget* w) {
    QMouseEvent e(QEvent::MouseMove, QPointF(3, 3), w->mapToGlobal(QPointF(3, 3)), Qt::NoButton, Qt::NoButton,
                  Qt::NoModifier);
    QApplication::sendEvent(w, &e);
  }
  // The picture covers the whole field.
  bool Covers() const {
    const QRect g = Img->geometry();
    return g.left() <= 0 && g.top() <= 0 && g.right() >= Fld.width() - 1 && g.bottom() >= Fld.height() - 1;
  }

  TFakePlatform Plt;
  QWidget Fld;
  QLabel* Img;
  QTimer Tmr;
};

TEST_F(BkgDrf, LiesStillOverTheWholeFieldOnEveryResize) {
  TBkgDrf d(&Fld, Img, Tmr);
  d.SetBmp(Pic(1024, 768, Qt::darkGreen));
  EXPECT_FALSE(Tmr.isActive());  // nothing runs before the start
  d.Start();
  EXPECT_EQ(Img->geometry(), Fld.rect());
  EXPECT_TRUE(Tmr.isActive());
  EXPECT_EQ(Tmr.interval(), 60000);
  for (QSize s : {QSize(1280, 700), QSize(300, 200), QSize(1600, 1000)}) {
    Fld.resize(s);
    d.Rsz();
    EXPECT_EQ(Img->geometry(), QRect(QPoint(0, 0), s));
  }
}

TEST_F(BkgDrf, DriftsAfterTheIdleTicksInsideItsRoomAndEndsAtTheNextMouseMove) {
  TBkgDrf d(&Fld, Img, Tmr, TBkgDrfTms{60000, 10, 5}, 7);
  d.SetBmp(Pic(200, 100, Qt::darkGreen));  // smaller than the field
  d.Start();
  for (int i = 0; i < 5; ++i) d.Tck();
  EXPECT_FALSE(d.Drifting());
  EXPECT_EQ(Img->geometry(), Fld.rect());
  EXPECT_EQ(Tmr.interval(), 60000);

  d.Tck();
  ASSERT_TRUE(d.Drifting());
  EXPECT_EQ(Tmr.interval(), 10);
  const QSize s = d.DrfSiz();
  EXPECT_GT(s.width(), Fld.width());
  EXPECT_GT(s.height(), Fld.height());
  QPoint prv = d.Ofs();
  bool moved = false, newTgt = false;
  QPoint tgt = d.Tgt();
  for (int i = 0; i < 3000; ++i) {
    d.Tck();
    const QPoint o = d.Ofs();
    EXPECT_LE(std::abs(o.x() - prv.x()), 1);
    EXPECT_LE(std::abs(o.y() - prv.y()), 1);
    moved = moved || o != QPoint(0, 0);
    newTgt = newTgt || d.Tgt() != tgt;
    tgt = d.Tgt();
    ASSERT_GE(tgt.x(), Fld.width() - s.width());
    ASSERT_GE(tgt.y(), Fld.height() - s.height());
    ASSERT_LE(tgt.x(), 0);
    ASSERT_LE(tgt.y(), 0);
    ASSERT_TRUE(Covers()) << i;
    prv = o;
  }
  EXPECT_TRUE(moved);
  EXPECT_TRUE(newTgt);

  // A resize while drifting keeps the picture over the field.
  Fld.resize(350, 250);
  d.Rsz();
  EXPECT_TRUE(Covers());

  Mov(&Fld);
  EXPECT_FALSE(d.Drifting());
  EXPECT_EQ(d.IdlCnt(), 0);
  EXPECT_EQ(Img->geometry(), Fld.rect());
  EXPECT_EQ(Tmr.interval(), 60000);
}

TEST_F(BkgDrf, InputWhileIdleStartsTheCountAnew) {
  TBkgDrf d(&Fld, Img, Tmr, TBkgDrfTms{60000, 10, 5});
  d.Start();
  for (int i = 0; i < 5; ++i) d.Tck();
  QWidget other;  // input anywhere in the program counts
  Mov(&other);
  EXPECT_EQ(d.IdlCnt(), 0);
  for (int i = 0; i < 5; ++i) d.Tck();
  EXPECT_FALSE(d.Drifting());
  d.Tck();
  EXPECT_TRUE(d.Drifting());
}

TEST_F(BkgDrf, TheTimerDrivesItAtTheInjectedPace) {
  TBkgDrf d(&Fld, Img, Tmr, TBkgDrfTms{1, 1, 2});
  d.SetBmp(Pic(1024, 768, Qt::darkGreen));
  d.Start();
  QTRY_VERIFY(d.Drifting());
  QTRY_VERIFY(d.Ofs() != QPoint(0, 0));
  Mov(&Fld);
  EXPECT_FALSE(d.Drifting());
  d.Stop();
  EXPECT_FALSE(Tmr.isActive());
  EXPECT_EQ(Img->geometry(), Fld.rect());
}

// Counts the paint events of a widget.
class TPntCnt final : public QObject {
public:
  bool eventFilter(QObject*, QEvent* e) override {
    N += e->type() == QEvent::Paint;
    return false;
  }
  int N = 0;
};

TEST_F(BkgDrf, AStepDrawsThePictureAtItsOffsetAroundTheVios) {
  QImage grd(512, 384, QImage::Format_RGB32);
  for (int y = 0; y < grd.height(); ++y)
    for (int x = 0; x < grd.width(); ++x) grd.setPixel(x, y, qRgb(x % 256, y % 256, x / 256 * 128));
  QWidget vio(&Fld);
  vio.setGeometry(50, 50, 66, 60);
  vio.setAutoFillBackground(true);
  TPntCnt cnt;
  vio.installEventFilter(&cnt);
  Fld.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&Fld));
  TBkgDrf d(&Fld, Img, Tmr, TBkgDrfTms{60000, 10, 0}, 3);
  d.SetBmp(QPixmap::fromImage(grd));
  d.Start();
  for (int i = 0; i < 30; ++i) d.Tck();
  QApplication::processEvents();
  const int n = cnt.N;
  for (int i = 0; i < 20; ++i) {
    d.Tck();
    QApplication::processEvents();
  }
  EXPECT_EQ(cnt.N, n) << "the vio is not drawn again";
  const QImage shot = Fld.grab().toImage();
  const QImage want = grd.scaled(d.DrfSiz(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  const QPoint o = d.Ofs();
  ASSERT_NE(o, QPoint(0, 0));
  for (QPoint p : {QPoint(10, 10), QPoint(300, 200), QPoint(399, 299)})
    EXPECT_EQ(shot.pixel(p), want.pixel(p - o)) << p.x();
}

QColor GcSeen;
QLabel* GpImg = nullptr;

TEST_F(BkgDrf, ADirectionPictureStaysForTheFlashTimeAndTheNextFollows) {
  TBkgDrf d(&Fld, Img, Tmr, TBkgDrfTms{60000, 10, 5, 150});
  d.SetBmp(Pic(64, 48, Qt::darkGreen));
  d.Start();
  GpImg = Img;
  // Shown at once, while pending events run.
  Plt.EvtLoop.OnPrcMsg = [] {
    if (GcSeen.isValid()) return;
    GcSeen = GpImg->pixmap().toImage().pixelColor(0, 0);
  };
  auto now = [this] { return Img->pixmap().toImage().pixelColor(0, 0); };
  const QPixmap yel = Pic(64, 48, Qt::yellow), blu = Pic(64, 48, Qt::blue);
  d.FlsPic(yel);
  EXPECT_EQ(GcSeen, QColor(Qt::yellow));
  EXPECT_EQ(d.FlsTmr().interval(), 150);
  EXPECT_TRUE(d.FlsTmr().isActive());
  d.FlsPic(blu);
  d.FlsPic(blu);  // waits once
  EXPECT_EQ(now(), QColor(Qt::yellow));
  d.FlsEnd();
  EXPECT_EQ(now(), QColor(Qt::blue));
  EXPECT_TRUE(d.FlsTmr().isActive());
  d.FlsEnd();
  EXPECT_EQ(now(), QColor(Qt::darkGreen));
  EXPECT_FALSE(d.Flashing());
  EXPECT_EQ(Img->geometry(), Fld.rect());
  const int n = Plt.EvtLoop.PrcMsgCnt;
  d.FlsPic(QPixmap());  // a picture that could not be loaded shows nothing
  EXPECT_EQ(Plt.EvtLoop.PrcMsgCnt, n);
  EXPECT_FALSE(d.Flashing());
  Plt.EvtLoop.OnPrcMsg = nullptr;
  GpImg = nullptr;

  // The timer ends it.
  TBkgDrf e(&Fld, Img, Tmr, TBkgDrfTms{60000, 10, 5, 1});
  e.SetBmp(Pic(64, 48, Qt::darkGreen));
  e.FlsPic(yel);
  EXPECT_TRUE(e.Flashing());
  QTRY_VERIFY(!e.Flashing());
  EXPECT_EQ(now(), QColor(Qt::darkGreen));
}

}  // namespace
