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
  EXPECT_EQ(Img->size(), s);
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
    EXPECT_EQ(Img->pos(), o);
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

QColor GcSeen;
QLabel* GpImg = nullptr;

TEST_F(BkgDrf, ADirectionPictureFlashesOverTheSameControl) {
  TBkgDrf d(&Fld, Img, Tmr);
  d.SetBmp(Pic(64, 48, Qt::darkGreen));
  d.Start();
  GpImg = Img;
  Plt.EvtLoop.OnPrcMsg = [] {
    if (GcSeen.isValid()) return;
    GcSeen = GpImg->pixmap().toImage().pixelColor(0, 0);
  };
  d.FlsPic(Pic(64, 48, Qt::yellow));
  EXPECT_EQ(GcSeen, QColor(Qt::yellow));
  EXPECT_EQ(Img->pixmap().toImage().pixelColor(0, 0), QColor(Qt::darkGreen));
  EXPECT_EQ(Img->geometry(), Fld.rect());
  const int n = Plt.EvtLoop.PrcMsgCnt;
  d.FlsPic(QPixmap());  // a picture that could not be loaded shows nothing
  EXPECT_EQ(Plt.EvtLoop.PrcMsgCnt, n);
  Plt.EvtLoop.OnPrcMsg = nullptr;
  GpImg = nullptr;
}

}  // namespace
