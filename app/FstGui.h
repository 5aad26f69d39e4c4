// The guided first program over the built-in robot: a small panel on the
// main window with the step's text, Next and Skip, and a mark around the
// control that the step points at (its steps are app/FstGuiStp.h). It shows
// by itself once, after the intro of a first start (a settings store that
// held no port yet), and again from Help > First program; it holds nothing
// up: no box, no modal window, every control of the window stays usable.
// From the upload on it runs over the built-in robot: a first start without
// a chosen port takes the robot for that run, and a guide asked for later
// takes it at its upload step and gives the port back at its end. None of
// this is kept for the next start; what is kept is that the guide was seen
// or skipped.
#pragma once

#include <QObject>
#include <QPointF>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "app/FstGuiStp.h"
#include "editor/VioPgmItp.h"

class QAction;
class QFrame;
class QLabel;
class QMainWindow;
class QPushButton;
class QWidget;
class TVslLnk;
class TVslSet;

// What the guide reaches of the window.
struct TFstWnd {
  QMainWindow& Wnd;
  TVslLnk& Lnk;
  TVslSet& Set;
  std::function<TVioPgmItp*()> Edt;  // null before the editor is made
  std::function<std::uint8_t()> Lge;
  std::function<QWidget*()> Fld;  // the programming field; null before it is made
  std::function<void(const QString&)> Anc;  // tells a screen reader
  bool Aut;  // it may show by itself on a first start
};

class TFstGui final : public QObject, IVioPgmObs {
public:
  // hlp: Help > First program.
  TFstGui(TFstWnd w, QAction& hlp);
  ~TFstGui() override;

  // The settings have been read: on a first start whose guide is due and
  // whose store names no port yet, the link takes the built-in robot.
  void BfrSta();
  // The start has ended and the window is unlocked: a guide that is due shows.
  void AftSta();
  // Help > First program: the guide from the step the field has come to.
  void Shw();
  void RfsTxt();

  bool Shown() const;
  const TFstGuiStp& Stp() const { return FStp; }
  // The control the step points at; null when none or it is not shown.
  QWidget* Pnt() const;
  QFrame& Pnl() const { return *frmFstGui; }
  QWidget& Mrk() const { return *FpMrk; }
  QPushButton& Btn(bool skp) const { return skp ? *btnFstSkp : *btnFstNxt; }

protected:
  // The window's size changes: the panel and the mark follow.
  bool eventFilter(QObject* obj, QEvent* e) override;

private:
  // The field changed.
  void StpEnd() override { Upd(); }
  void FldClr() override { Upd(); }
  void Upd();
  void End();
  void Plc();
  void DrvTck();

  TFstWnd FW;
  TFstGuiStp FStp;
  TVioPgmItp* FpEdt = nullptr;  // observed while the guide shows
  bool FbDue = false;            // a first start: shows after the intro
  int FiAnc = -1;                // the step last told to a screen reader
  std::string FsOwnPrt;          // the port the guide took the robot's place of
  QFrame* frmFstGui = nullptr;
  QLabel* lblFstNum = nullptr;
  QLabel* lblFstTxt = nullptr;
  QPushButton* btnFstNxt = nullptr;
  QPushButton* btnFstSkp = nullptr;
  QWidget* FpMrk = nullptr;
  // While the robot should drive: its position at the last look.
  QTimer FTmrDrv;
  QPointF FPos{-1e9, -1e9};
  bool FbMov = false;  // it has moved since the upload
  int FiRst = 0;       // looks since it last moved
};
