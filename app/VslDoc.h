// The main window's document commands: the File menu (Open, Save, Save As,
// the recent files, Exit), the question before a changed program goes, the
// recovery copy with its timer and offer, the Edit menu (Undo, Redo) and the
// mark of unsaved changes in the caption. The rules of keeping the user's work
// are the editor's (editor/VioKep.*); the list of recent files is app/RctFil.*.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <utility>
#include <memory>
#include <vector>
#include <string>

class QAction;
class QMainWindow;
class QMenu;
class QMenuBar;
class TRctFil;
class TVioPgmItp;
class TVioRcv;

// What the document commands need from the rest of the window.
class IDocHst {
public:
  virtual ~IDocHst() = default;
  virtual TVioPgmItp* Pgm() = 0;  // none while the window is built or released
  virtual std::uint8_t Lge() const = 0;
  virtual void ShwErrMsg(const std::string& text) = 0;
  virtual void SetAppDir() = 0;
  // True while the tool bars and menus are locked.
  virtual bool Locked() const = 0;
  // Reads or writes the recent files in the settings store; false when it cannot be reached.
  virtual bool LodRct(TRctFil& lst) = 0;
  virtual bool SavRct(const TRctFil& lst) = 0;
};

struct TVslDocCfg {
  std::string RcvPth;  // the recovery copy; empty: none is kept
  int RcvSav = 30000;  // a changed program waits this long for its recovery copy
  int RcvPol = 1000;   // how often the recovery keeper looks
};

class TVslDoc final : public QObject {
public:
  TVslDoc(QMainWindow& wnd, IDocHst& hst, TVslDocCfg cfg);
  ~TVslDoc() override;

  // The File and Edit menus on the bar.
  void BldMnu(QMenuBar& bar);
  // Exit, below everything else of the File menu.
  void BldExt();
  // Once the editor exists: the recent files and the recovery keeper; once
  // its field exists, the Edit menu's view of the history. EndEdt before the
  // editor goes.
  void BndEdt();
  void BndHst();
  void EndEdt();
  // The menus' texts in the language.
  void RfsTxt(std::uint8_t lge);
  QMenu& FilMnu() const { return *mmnFil; }

  // The File menu's commands.
  void Opn();
  void Sav();
  void Sas();
  // Opens a program file as Open does once the file is chosen: on failure the
  // reason is shown and the field keeps what it had.
  bool OpnFil(const std::string& name);
  // The program file named on the command line, opened once the intro has gone.
  void SetCmdFil(const std::string& name) { FsCmdFil = name; }
  const std::string& CmdFil() const { return FsCmdFil; }
  void OpnCmdFil();
  // Folder the file dialogs start in: that of the current file, or the
  // example programs' folder when no file is open.
  std::string FilDlgDir() const;
  // The input gate has run: Save and Save As are offered from now on.
  void EnaSas();

  // Asks Save / Discard / Cancel when the program has unsaved changes; true when it may go.
  bool AskDrp();
  // The window closes: asks as AskDrp does; true when it may close.
  bool KepCls();
  // End of start-up: offers a recovery copy left by an earlier run.
  void OfrRcv();
  void tmrRcvSavTimer();

  // The recent files, read from the settings store when first needed.
  void RfsRctMnu();
  void AddRctFil(const std::string& path);
  // Opens a listed file; a file that has gone is told and taken off the list.
  void OpnRctFil(const std::string& path);

  // Enables Undo and Redo and marks the caption as the history tells.
  void RfsEdtMnu();

  // The current program file; empty when the program has none.
  const std::string& FilNam() const { return FsVioFilNam; }
  // Names the program's file without loading it: Save writes there from now on.
  void SetFilNam(const std::string& name) { FsVioFilNam = name; }
  // The caption of a program without a file: the window's own.
  void SetStaCap(const QString& cap) { FsStaCap = cap; }
  const QString& StaCap() const { return FsStaCap; }
  // A lesson's title goes in front of the caption; empty: none.
  void SetLsnCap(const QString& tit);
  // Told when a program file has been opened.
  void SetOnOpn(std::function<void()> fn) { FOnOpn = std::move(fn); }
  const TVioRcv* Rcv() const { return FpVioRcv.get(); }
  // The items, for the lock and for tests.
  QAction* OpnAct() const { return smnFilOpn; }
  QAction* SavAct() const { return smnFilSav; }
  QAction* SasAct() const { return smnFilSas; }
  QAction* ExtAct() const { return smnFilExt; }
  QMenu* RctMnu() const { return mmnFilRct; }
  QAction* UndAct() const { return smnEdtUnd; }
  QAction* RedAct() const { return smnEdtRed; }
  // Copy, Cut, Paste and Duplicate of vios (VslDocClp.cpp), also on the vio menu.
  std::vector<QAction*> ClpActs() const { return {smnEdtCut, smnEdtCpy, smnEdtPst, smnEdtDup}; }

private:
  std::function<void()> FOnOpn;
  struct THstObs;
  void BldFilMnu(QMenuBar& bar);
  void BldEdtMnu(QMenuBar& bar);
  void BldRctMnu();
  void UndRed(bool und);
  // The clipboard's items and their texts; a command through the system clipboard.
  enum class TeClp { Cpy, Cut, Pst, Dup };
  void BldClpMnu();
  void RfsClpTxt(std::uint8_t lge);
  void ClpCmd(TeClp cmd);
  // The file name and caption follow the program that Undo or Redo brought back.
  void SynDocNam();
  // Loads the program; a file that fails leaves the field as it was.
  bool LodVioFilKep(const std::string& name);
  void SetCap(const QString& cap);

  QMainWindow& FWnd;
  IDocHst& FHst;
  TVslDocCfg FCfg;
  std::string FsVioFilNam;
  std::string FsCmdFil;
  QString FsStaCap;
  QString FsCap;     // the caption without the lesson's title
  QString FsLsnCap;
  bool FbCapDrt = false;
  std::unique_ptr<THstObs> FpHstObs;
  std::unique_ptr<TVioRcv> FpVioRcv;
  std::unique_ptr<TRctFil> FpRctFil;
  QTimer tmrRcvSav;
  QMenu* mmnFil = nullptr;
  QAction* smnFilOpn = nullptr;
  QAction* smnFilSav = nullptr;
  QAction* smnFilSas = nullptr;
  QAction* smnFilExt = nullptr;
  QMenu* mmnFilRct = nullptr;
  QMenu* mmnEdt = nullptr;
  QAction* smnEdtUnd = nullptr;
  QAction* smnEdtRed = nullptr;
  QAction* smnEdtCpy = nullptr;
  QAction* smnEdtCut = nullptr;
  QAction* smnEdtPst = nullptr;
  QAction* smnEdtDup = nullptr;
};
