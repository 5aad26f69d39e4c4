// The arena from above: the floor, the line track, the robot with its LEDs,
// bumpers and line sensors, and the way it came as a trail. It draws what it
// is given (the live robot or an entry of the recording); a click on the
// robot's left or right front presses that bumper until the button is let go.
#pragma once

#include <QPixmap>
#include <QWidget>

#include <cstddef>
#include <deque>
#include <functional>

#include "sim/SimSnp.h"

class TArnWgt : public QWidget {
  Q_OBJECT
public:
  explicit TArnWgt(QWidget* parent = nullptr);
  QSize sizeHint() const override { return {620, 470}; }
  // As high as the floor is at the width: no empty band below it.
  bool hasHeightForWidth() const override { return true; }
  int heightForWidth(int w) const override;

  // The robot as shown, and the trail: the positions of the first n entries
  // of the recording. The widget keeps the reference; Set repaints.
  void Set(const TuSimSnp& snp, const std::deque<TuSimRec>* trl, std::size_t n);
  // Repaints counted since the widget was made.
  long Pnt() const { return FiPnt; }

  // A bumper pressed (true) or let go: left (true) or right.
  std::function<void(bool lft, bool prs)> FOnBmp;

protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;

private:
  double Scl() const;
  QPointF Pix(double x, double y) const;
  void DrwFld(QPainter& p) const;
  void DrwTrl(QPainter& p) const;
  void DrwRbt(QPainter& p) const;
  TuSimSnp FSnp;
  const std::deque<TuSimRec>* FpTrl = nullptr;
  std::size_t FiTrl = 0;
  int FiPrsBmp = -1;  // bumper held with the mouse: 0 left, 1 right
  long FiPnt = 0;
  QPixmap FBkg;  // floor, walls and track at the current size
};
