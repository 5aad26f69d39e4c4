// The robot monitor (View > Robot monitor), a dock of the main window: the
// two measurements and the six switches that the robot reports, as numbers
// and as a plot of the last minute, for a robot on a serial port and the
// built-in one alike; Pause, Clear and Export CSV.
//
// The link keeps the values (TMeaSto) as they come, on its receive thread,
// and tells each one (TVslLnk::Mea). The monitor's numbers follow them at
// most 30 times a second; its plot, while it is shown and not paused, moves
// on a pixel a step, at most 10 times a second, and shows what came
// meanwhile. Hidden, it does nothing.
#pragma once

#include <QDockWidget>
#include <QElapsedTimer>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <functional>

class QLabel;
class QMainWindow;
class QPushButton;
class TMonPlt;
class TVslLnk;

class TRbtMon final : public QDockWidget {
  Q_OBJECT
public:
  // The shortest time between two updates of the numbers (30 a second) and
  // between two steps of the plot (10 a second).
  static constexpr int GcPntMs = 33;
  static constexpr int GcPltMs = 100;

  // Docked at the bottom of win, hidden, its item in win's View menu.
  TRbtMon(QMainWindow& win, TVslLnk& lnk, std::function<std::uint8_t()> lge);

  void RfsTxt();
  // A value has come: a repaint is due (at once, or when the last is GcPntMs old).
  void OnMea();
  // The numbers as the store holds them now; the plot's step.
  void Rfs();
  void RfsPlt();
  // Pause (or go on), clear, export: the buttons' clicks.
  void SetPau(bool pau);
  void Clr();
  void Exp();

  long Pnt() const;  // the plot's repaints so far
  QTimer& Tmr() { return FTmr; }

protected:
  void showEvent(QShowEvent* e) override;
  void hideEvent(QHideEvent* e) override;

private:
  void Due();
  void Scr();  // the scroll timer follows the plot's width and the pause

  TVslLnk& FLnk;
  std::function<std::uint8_t()> FLge;
  QString FsLbl[3];  // the names of the numbers in the language, read once
  QLabel* FpVal[2] = {};
  QLabel* FpSwi = nullptr;
  TMonPlt* FpPlt = nullptr;
  QPushButton* FpPau = nullptr;
  QPushButton* FpClr = nullptr;
  QPushButton* FpExp = nullptr;
  QTimer FTmr;  // single shot: the coalesced repaint
  QTimer FScr;  // the plot scrolls on while shown
  QElapsedTimer FLstPnt;
};
