// The window of zefor-sim: the arena from above with the robot, its LEDs and
// the line track; bumpers pressed by clicking the robot's front; six switch
// buttons, a light slider, the speed, and the trace.
#pragma once

#include <QWidget>

#include "sim/SimDrv.h"
#include "sim/SimSnp.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSlider;
class QTimer;
class TArnWgt;

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
  TSimRpl FRpl;  // the recording, drawn as the trail
  TuSimSnp FSnp;
  bool FbDrw = false;
};
