// The simulator pane of the main window: the built-in robot's arena with the
// trail, its switches, light and bumpers, the speed, the trace, the
// debugger's commands and the replay of the last run.
//
// It looks at the robot through TSimThr::Qry on a timer (at most 60 times a
// second while something moves, less often at rest) and repaints only what
// changed; everything it does to the robot goes through TSimThr::Do, so
// nothing of it ever reaches a robot on a serial port.
#pragma once

#include <QDockWidget>
#include <QTimer>

#include <atomic>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "sim/SimRbt.h"
#include "sim/SimSnp.h"

class QAction;
class QComboBox;
class QLabel;
class QMainWindow;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;
class QSlider;
class TArnWgt;
class TRunMrk;
class TSimDrv;
class TSimThr;

class TSimPan final : public QDockWidget {
  Q_OBJECT
public:
  // run: which vio shows running, which the pane holds while it replays or
  // the robot is paused; scr: the field's scroll area, which brings the
  // framed vio into view; sim: the built-in robot, null while none runs;
  // lge: the user's language.
  TSimPan(QMainWindow& win, TRunMrk& run, QScrollArea& scr, std::function<TSimThr*()> sim,
          std::function<std::uint8_t()> lge);
  ~TSimPan() override;

  void RfsTxt();
  // One look at the robot (the timer's handler). While the robot lies
  // still the pane stops looking; Wak (a robot started or ended, or moved)
  // starts it again.
  void Tck();
  void Wak();
  // The debugger's commands; their keys work anywhere in the window.
  enum TeCmd { Cnt, Pau, Stp, End, CmdCnt };
  QAction* Cmd(TeCmd c) const { return FpCmd[c]; }
  QSlider& Rpl() const { return *FpRpl; }
  QTimer& Tmr() { return FTmr; }
  long Pnt() const;  // the arena's repaints so far

  // Called under the robot's lock when the pane first sees a robot.
  void SetOnSim(std::function<void(TSimDrv&)> fn) { FOnSim = std::move(fn); }

private:
  std::function<void(TSimDrv&)> FOnSim;
  void BldCtl();
  QWidget* BldInp(QWidget* top);
  void DoCmd(TeCmd c);
  void Shw(bool chg);
  void RplMov(int at);
  void MrkVio(int adr);
  void ShwWhy(const TuSimWhy& why);
  // The trace lines that came since the last look, at the trace's end.
  void AddTrc(const std::vector<TuSimTrc>& trc);

  QMainWindow& FWin;
  TRunMrk& FRun;
  QScrollArea& FScr;
  std::function<TSimThr*()> FSim;
  std::function<std::uint8_t()> FLge;
  TSimThr* FpCur = nullptr;  // the robot whose trace is hooked
  bool FbOwnHid = false;      // the user hid the pane: a robot's start does not show it again
  bool FbWid = false;         // the pane has had its first width

  // What the last look saw.
  TSimRpl FRpl;
  TuSimSnp FSnp;
  TuSimWhy FWhy;
  bool FbPau = false, FbRun = false, FbDrw = false;
  int FiAt = -1;
  std::uint8_t FbySwi = 0;
  std::vector<TuSimTrc> FTrcPnd;  // written by the robot's thread under its lock
  std::atomic<bool> FbRst{false};  // the pane stopped looking: the robot's next move wakes it

  TArnWgt* FpArn = nullptr;
  QSlider* FpRpl = nullptr;
  QLabel* FpRplLbl = nullptr;
  QPushButton* FpSwi[6] = {};
  QLabel* FpSwiLbl = nullptr;
  QSlider* FpLgt = nullptr;
  QLabel* FpLgtLbl = nullptr;
  QComboBox* FpSpd = nullptr;
  QLabel* FpSpdLbl = nullptr;
  QPlainTextEdit* FpTrc = nullptr;
  QAction* FpCmd[CmdCnt] = {};
  QTimer FTmr;
};
