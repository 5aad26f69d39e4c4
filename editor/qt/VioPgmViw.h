// Views of the whole program beside the field: the byte meter in the status
// bar, the listing window, a frame that marks one vio (the listing's choice
// or the vio the robot executes), and the field as a picture.
#pragma once

#include <QObject>
#include <QPointer>
#include <QImage>
#include <QString>
#include <functional>
#include <utility>
#include <memory>
#include <set>
#include <vector>

#include "editor/VioMtr.h"
#include "editor/VioRun.h"

class QFrame;
class QLabel;
class QListWidget;
class QMainWindow;
class QPainter;
class QPoint;
class QPrinter;
class QRect;
class QStatusBar;
class QMenu;
class QAction;
class QTimer;
class QWidget;
class TPgmSht;

class TFldZom;

class TPgmViw final : public QObject {
  Q_OBJECT

public:
  // fld is the programming field; the meter goes into win's status bar, the
  // commands into fil (Export picture) and a new View menu. ms: how long the
  // meter waits after an edit before it translates (edits in a row count once).
  TPgmViw(TVioPgmItp& edt, QWidget* fld, QMainWindow* win, QMenu* fil, int ms = 0);
  ~TPgmViw() override;

  TVioMtr& Mtr() { return *FpMtr; }
  QLabel* MtrLbl() const { return FpMtrLbl; }
  QListWidget* Lst() const { return FpLst; }
  QAction* LstAct() const { return FpLstAct; }
  QAction* ExpAct() const { return FpExpAct; }
  QAction* PrtAct() const { return FpPrtAct; }
  // The zoom and the high contrast of the field, in the View menu.
  TFldZom& Zom() const { return *FpZom; }
  // The program sheet of the File menu; null without one.
  TPgmSht* Sht() const { return FpSht; }

  // Brings the meter and the listing up to date now.
  void Upd();
  // Gives the menus, the listing and the meter the texts of the editor's language.
  void RfsTxt();
  // The vio marked by the listing; null when none.
  TVio* SelVio() const { return FpSel; }
  // The field with its vios as an image of the field's size; saves it as PNG.
  // scl > 1 draws it that many times larger (for print).
  QImage FldImg(double scl = 1.0) const;
  bool ExpPng(const QString& path) const;
  // Prints the field's picture onto the printer, as large as the page allows;
  // false when the printer cannot be drawn on.
  bool PrtFld(QPrinter& prn) const;

  // The run highlight: the vio that made the byte at the address of the
  // stream last uploaded. SetRunStm keeps that stream's vio per address (from
  // its translation, at the upload) and ends the highlight of the one before.
  void SetRunStm(const TInsAndTkn& trn);
  // No stream is known to be on the robot: no address highlights a vio.
  void ClrRunStm();
  void RunAdr(int adr);
  void RunEnd();
  TVio* RunVio() const { return FpRun; }
  const TVioRunMap& RunMap() const { return *FpRunMap; }
  // Hears where the robot is to stop (TVioRunMap::BrkAdr) at each upload,
  // whenever a breakpoint changes and when the uploaded vios go.
  void SetOnBrkAdr(std::function<void(const std::set<int>&)> fn) { FOnBrkAdr = std::move(fn); }
  void SndBrk();  // tells FOnBrkAdr now

  // The chosen file for Export picture; the tests answer it.
  void SetOnExpPth(std::function<QString()> fn) { FOnExpPth = std::move(fn); }
  // The print dialog: sets up the printer, true to print. The tests answer it.
  void SetOnPrtDlg(std::function<bool(QPrinter&)> fn) { FOnPrtDlg = std::move(fn); }
  // Name of the printed document (the program's file name); empty for the
  // menu item's text.
  void SetOnDocNam(std::function<QString()> fn) { FOnDocNam = std::move(fn); }

protected:
  bool eventFilter(QObject* obj, QEvent* e) override;

private:
  std::function<QString()> FOnDocNam;
  std::function<bool(QPrinter&)> FOnPrtDlg;
  std::function<QString()> FOnExpPth;
  std::function<void(const std::set<int>&)> FOnBrkAdr;
  void Sel(TVio* vio);
  // Frames the vio where it is shown (at, when given).
  void Mrk(QFrame* frm, TVio* vio, const QPoint* at = nullptr);
  bool Has(const TVio* vio) const;
  // Draws the field as Export picture shows it (without the marks) into the
  // rectangle of the painter.
  void DrwFld(QPainter& p, const QRect& box) const;
  void Prt();
  // The first step's hint in the status bar goes with the first vio placed.
  void EndFst();

  // Forgets vios that go.
  class TGon;
  TVioPgmItp& FEdt;
  QPointer<QWidget> FpFld;
  std::unique_ptr<TVioMtr> FpMtr;
  std::unique_ptr<TGon> FpGon;
  QLabel* FpMtrLbl = nullptr;
  QTimer* FpTmr = nullptr;
  QListWidget* FpLst = nullptr;
  QMenu* FpViwMnu = nullptr;
  QAction* FpLstAct = nullptr;
  QAction* FpExpAct = nullptr;
  QAction* FpPrtAct = nullptr;
  TFldZom* FpZom = nullptr;
  TPgmSht* FpSht = nullptr;
  QFrame* FpSelFrm = nullptr;
  QFrame* FpRunFrm = nullptr;
  TVio* FpSel = nullptr;
  TVio* FpRun = nullptr;
  std::unique_ptr<TVioRunMap> FpRunMap;
  QStatusBar* FpSta = nullptr;
  bool FbFst = true;  // no vio has been placed yet
  QString FsFst;      // the first step's hint as shown
};
