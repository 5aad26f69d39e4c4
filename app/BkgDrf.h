// The background picture of the programming field: stretched over the whole
// field, drifting slowly after some minutes without input, and briefly
// replaced by a data direction picture.
//
// While the user works the picture lies still and a timer ticks once a minute;
// nothing else runs. After more than five idle ticks the picture is shown a
// little larger than the field and drifts one pixel every two seconds towards
// targets drawn at random, so that the whole picture is seen in turn: slow
// enough that an idle window costs next to nothing, each step a repaint of
// the open part of the field. The next input ends the drift at once and the
// picture covers the field again.
//
// The drift has to stay cheap for as long as the window lies idle: the image
// control keeps covering the field, and on each step it draws the picture,
// scaled once to the drift size, at the new offset; only the part of the field
// that no vio covers is drawn again, so the vios are left as they are.
#pragma once

#include <QObject>
#include <QPixmap>
#include <QPoint>
#include <QSize>
#include <QTimer>

#include <cstdint>
#include <deque>
#include <random>

class QLabel;
class QRegion;
class QWidget;

struct TBkgDrfTms {
  int Idl = 60000;  // idle tick while the picture lies still
  int Stp = 2000;   // drift step of one pixel
  int IdlTck = 5;   // the drift begins when the idle ticks exceed this
  int Fls = 150;    // a direction picture stays at least this long
};

class TBkgDrf final : public QObject {
  Q_OBJECT

public:
  // fld: the programming field; img: the image control on it; tmr: the timer
  // that drives the drift. Nothing runs before Start.
  TBkgDrf(QWidget* fld, QLabel* img, QTimer& tmr, TBkgDrfTms tms = {}, std::uint32_t seed = 1);
  ~TBkgDrf() override;
  TBkgDrf(const TBkgDrf&) = delete;
  TBkgDrf& operator=(const TBkgDrf&) = delete;

  // The background bitmap; the control shows it.
  void SetBmp(const QPixmap& bmp);
  // Idle counting begins; the picture lies at (0, 0) over the whole field.
  void Start();
  void Stop();
  // Input from the user: the idle count starts anew and a drift ends.
  void Inp();
  // The field changed its size.
  void Rsz();
  // One tick of the timer.
  void Tck();
  bool Drifting() const { return FbDrf; }
  QPoint Ofs() const { return {FiBckLft, FiBckTop}; }
  QPoint Tgt() const { return {FiBckTgtLft, FiBckTgtTop}; }
  int IdlCnt() const { return FiIdlCnt; }
  // The size of the picture while it drifts.
  QSize DrfSiz() const;

  // Shows the picture in the control in place of the background and lets
  // pending events run; the background comes back when the picture has been
  // seen for the flash time. A picture asked for meanwhile follows, each
  // shown for the flash time, the same picture again only extends it; at most
  // two wait (a burst keeps the latest). A null picture shows nothing.
  void FlsPic(const QPixmap& pic);
  // The flash time is over: the next waiting picture or the background.
  void FlsEnd();
  bool Flashing() const { return FbFls; }
  const QTimer& FlsTmr() const { return FFlsTmr; }

protected:
  bool eventFilter(QObject* obj, QEvent* e) override;

private:
  void Place();
  int Rnd(int n);
  // The part of the control that no opaque vio covers.
  QRegion Opn() const;
  void PntDrf();

  QWidget* FpFld;
  QLabel* FpImg;
  QTimer& FTmr;
  TBkgDrfTms FTms;
  std::minstd_rand FRnd;
  QPixmap FBmp;
  QPixmap FDrfPix;  // FBmp scaled to the drift size, made at the first step
  QTimer FFlsTmr;
  std::deque<QPixmap> FFlsQue;  // pictures waiting for their flash
  bool FbRun = false;
  bool FbDrf = false;
  bool FbFls = false;
  std::int32_t FiBckTop = 0, FiBckLft = 0, FiBckTgtTop = 0, FiBckTgtLft = 0, FiIdlCnt = 0;
};
