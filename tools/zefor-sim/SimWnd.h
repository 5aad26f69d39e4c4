// The window of zefor-sim: the arena from above with the robot, its LEDs and
// the line track; bumpers pressed by clicking the robot's front; six switch
// buttons, a light slider, the speed, and the trace.
#pragma once

#include <QWidget>

#include <tuple>

#include "sim/SimDrv.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSlider;
class QTimer;

// The arena, drawn at a scale that fits the widget.
class TArnWgt : public QWidget {
  Q_OBJECT
public:
  explicit TArnWgt(TSimDrv& drv, QWidget* parent = nullptr);
  QSize sizeHint() const override { return {620, 470}; }

protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;

private:
  double Scl() const;
  QPointF Pix(double x, double y) const;
  TSimDrv& FDrv;
  int FiPrsBmp = -1;  // bumper held with the mouse: 0 left, 1 right
};

// What the arena shows of the robot: tenths of a centimetre and of a degree,
// the lit LEDs, the bumpers and the line sensors.
using TuArnKey = std::tuple<long, long, long, bool, bool, bool, bool, bool, bool, bool, bool>;

class TfrmZfrSim : public QWidget {
  Q_OBJECT
public:
  TfrmZfrSim(TSimDrv& drv, const QString& pth);
  void AddTrc(const TuSimTrc& t);

private:
  void Tck();
  TSimDrv& FDrv;
  TArnWgt* FpArn;
  QLabel* FpSts;
  QLabel* FpAdr;
  QLabel* FpLgt;
  QPlainTextEdit* FpTrc;
  QPushButton* FpSwi[6];
  QSlider* FpLgtSld;
  QTimer* FpTmr;
  TuArnKey FaArnKey{-1, -1, -1, false, false, false, false, false, false, false, false};
};
