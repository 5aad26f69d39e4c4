// The main window. It owns every long-lived object of the program, creates
// them in a fixed order, shows the intro for five seconds while its tool bars
// and menus are locked, then opens the serial link and unlocks itself. On
// shutdown it releases the owned objects in a second fixed order, each release
// guarded on its own.
#pragma once

#include <QMainWindow>
#include <QPixmap>
#include <QTimer>

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/WndMsg.h"

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class TPgmViw;
class QPlainTextEdit;
class QScrollArea;
class QToolBar;
class ISettingsStore;
class TVio;
class TVioPgmItp;
class TVioFldViw;
class TVioRcv;
class TVslDoc;
class TVslLnk;
struct TRlsHok;
class TclsPlyWavFil;
class TSysLgeMsg;
class TRxMtxAndRbf;
class TTxMtxAndRbf;
class TfrmVslCnv;
class TfrmOptions;
class TfrmAppIto;
class TfrmHlpInf;
class TBkgDrf;

// The four windows of the program, created by the program entry in this order.
extern TfrmVslCnv* frmVslCnv;
extern TfrmOptions* frmOptions;
extern TfrmAppIto* frmAppIto;
extern TfrmHlpInf* frmHlpInf;

// The background image control on the programming field.
extern QLabel* GuBckGndImg;

// Timer intervals in milliseconds.
struct TVslCnvTms {
  int VioBlk = 10;        // tmrVioBlk as constructed: the first blink of a run starts after it
  int VioBlkHid = 100;    // a blinking vio stays hidden this long
  int VioBlkShw = 500;    // and then shown this long
  int BlkComPrtCupMsg = 100;
  int RcvPckTimOut = 1100;
  int UplCfm = 5000;      // tmrUplCfm: an upload waits this long for the robot's "transfer complete"
  int RcvChrGap = 200;    // a frame whose bytes stop for longer than this is given up
  int MovBckGndPic = 60000;
  int AppIto = 5000;      // the intro
  int RcvSav = 30000;     // a changed program waits this long for its recovery copy
  int RcvPol = 1000;      // tmrRcvSav: how often the recovery keeper looks
};

// What the main window takes from its surroundings. Empty entries take the
// defaults of the running program.
struct TVslCnvCfg {
  std::string AppDir;  // folder of the executable, ending in a separator; default ExeDir()
  std::string InsDir;  // installation folder, ending in a separator; default DefaultInsDir()
  TVslCnvTms Tms;
  std::function<std::vector<std::string>()> ScnPrt;  // port scan; default ScnComPrt()
  // The clock of the gaps between received bytes (called on the receive
  // thread); default the steady clock.
  std::function<std::chrono::steady_clock::time_point()> Clk;
  // Told each step of construction and shutdown as it happens (the owned
  // object's field name, "~" + field name for its release).
  std::function<void(const std::string&)> Trc;
  // The recovery copy of a changed program; empty: none is kept (the program
  // entry names the one in the per-user data folder).
  std::string RcvPth;
};

class TfrmVslCnv : public QMainWindow, public IWndMsgTgt {
  Q_OBJECT

public:
  explicit TfrmVslCnv(QWidget* owner = nullptr, TVslCnvCfg cfg = {});
  ~TfrmVslCnv() override;

  // Private window messages, routed synchronously.
  std::intptr_t SndMsg(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) override;

  // Shows the text in a message box (empty title, OK) and ends a running blink.
  void ShwErrMsg(const std::string& text);
  // Makes the vio the blink target and starts the blink.
  void StaVioBlk(TVio* vio);
  // Raises the editor's blink event with the vio.
  void ReqVioBlk(TVio* vio);
  // Makes the executable's folder the current folder.
  void SetAppDir();
  void SetLgeIdx(std::uint8_t idx);
  void SetAvlCol(std::uint8_t idx);
  void tbnUplClick();
  void tbnRunClick();
  void tbnUprClick();
  void tbnComSteClick();
  // The robot link.
  TVslLnk& Lnk() { return *FpLnk; }
  bool StaDblClkUpr();
  // The input gate of every tool bar command: true when the command must not run.
  bool ChkVioInpErr();
  // Loads the 20 tool bar pictures and gives the buttons their images.
  void BldTbnImgLst();

  void FormCreate();
  void FormShow();
  void FormResize();
  void FormClose();

  void tmrAppItoTimer();
  void tmrVioBlkTimer();

  void smnEngClick();
  void smnDutClick();
  void smnGerClick();
  void mmnOptClick();
  void smnHlpMnlEngClick();
  void HandbuchDeutch1Click();
  void smnHlpInfClick();
  // The File menu.
  void smnFilOpnClick();
  void smnFilSavClick();
  void smnFilSasClick();
  // The document commands: File and Edit menus, keeping the user's work.
  TVslDoc& Doc() { return *FpDoc; }
  // The vio tool buttons: gate, add a vio of the type, show the failure.
  void tbnVioClick(QAction* tbn, std::uint8_t vioTyp);
  // Hint of a tool button, fetched on every mouse movement over it.
  void tbnToolButtonMouseMove(QObject* sender);

  // Image index that a tool button shows; -1 for an unknown button.
  int TbnImgIdx(const QAction* tbn) const;
  void SetTbnImg(QAction* tbn, int idx);
  // The picture of an image list entry (null before BldTbnImgLst).
  QPixmap TbnImg(int idx) const;
  // Pictures that could not be loaded by BldTbnImgLst (full paths).
  const std::vector<std::string>& MisPic() const { return FMisPic; }
  // Tells what the start found missing (message file, pictures, sounds) in
  // one message, once: at the end of the intro, after the port's own message.
  void ShwStaRpt();
  // True while the tool bars and the File, Options and Help menus are disabled.
  bool Locked() const;

  // Owned objects, in the order of their creation.
  std::unique_ptr<TVioPgmItp> FpVioPgmItp;
  std::unique_ptr<TclsPlyWavFil> FpPlyWavFil;
  std::unique_ptr<TSysLgeMsg> FpSysLgeMsg;
  std::unique_ptr<ISettingsStore> FpRegistry;
  QPixmap FpBckBmp;

  TVio* FpBlkVio = nullptr;
  std::string FsExtComTknFil;
  std::uint8_t FbyLgeIdx = 0;
  std::uint8_t FbyAvlCol = 0;
  std::string FsAppDir;
  std::string FsAppDrv;
  std::string FsAppPth;
  std::string FsPicDir;
  std::string FsSndDir;
  std::string FsRegKey;
  std::int32_t FiComPrtIdx = -1;
  bool FbFrmShw = false;

  // Controls.
  QAction* mmnOpt = nullptr;
  QMenu* mmnLge = nullptr;
  QAction* smnEng = nullptr;
  QAction* smnDut = nullptr;
  QAction* smnGer = nullptr;
  QMenu* mmnHlp = nullptr;
  QAction* smnHlpMnlEng = nullptr;
  QAction* HandbuchDeutch1 = nullptr;
  QAction* smnHlpInf = nullptr;

  QToolBar* tbrVioObj = nullptr;
  QToolBar* tbrDatCom = nullptr;
  QAction* tbnSta = nullptr;
  QAction* tbnSto = nullptr;
  QAction* tbnIff = nullptr;
  QAction* tbnThn = nullptr;
  QAction* tbnEls = nullptr;
  QAction* tbnLbl = nullptr;
  QAction* tbnGto = nullptr;
  QAction* tbnDly = nullptr;
  QAction* tbnAct = nullptr;
  QAction* tbnSns = nullptr;
  QAction* tbnSpd = nullptr;
  QAction* tbnSwi = nullptr;
  QAction* tbnRti = nullptr;
  QAction* tbnUpl = nullptr;
  QAction* tbnRun = nullptr;
  QAction* tbnUpr = nullptr;
  QAction* tbnComSte = nullptr;

  // The programming field: the client area below the tool bars. It keeps the
  // size of its grid when the window is made smaller, and the scroll area
  // around it lets the user reach the vios that no longer fit.
  QScrollArea* scbVioFld = nullptr;
  QWidget* pnlVioFld = nullptr;
  // The vios on the field (VslCnvEdt.cpp).
  std::unique_ptr<TVioFldViw> FpVioFldViw;
  std::unique_ptr<TPgmViw> FpPgmViw;  // meter, listing, picture, run highlight
  void CrtEdtViw();
  // Until the intro ends, an empty field takes its cells again from the
  // maximized window once a window manager has framed and maximized it.
  void FitCelToWnd();
  void MakCel(QSize fld);  // the cells for a field of this size
  bool FbCelFix = false;

  QTimer tmrVioBlk;
  QTimer tmrMovBckGndPic;
  QTimer tmrAppIto;
  // Keeps the background picture over the field and lets it drift when idle.
  std::unique_ptr<TBkgDrf> FpBkgDrf;

  // Called with the field name at the start of each guarded release; a
  // release that throws is reported and shutdown goes on. Tests inject
  // failures here.
  std::function<void(const std::string&)> FOnRls;

protected:
  void showEvent(QShowEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  bool eventFilter(QObject* obj, QEvent* e) override;

private:
  // The construction steps; a fatal failure ends them early.
  void Crt();
  void BldCtl();
  void SetLck(bool locked);
  void Trc(const std::string& step) const;
  TRlsHok RlsHok() const;
  // The link's view of the window.
  struct TLnkHst;
  struct TLnkHstDel {
    void operator()(TLnkHst* p) const;
  };
  std::unique_ptr<TLnkHst, TLnkHstDel> FpLnkHst;
  std::unique_ptr<TVslLnk> FpLnk;
  void CrtLnk();
  // The document commands' view of the window.
  struct TDocHst;
  struct TDocHstDel {
    void operator()(TDocHst* p) const;
  };
  std::unique_ptr<TDocHst, TDocHstDel> FpDocHst;
  std::unique_ptr<TVslDoc> FpDoc;
  void CrtDoc(QMenuBar& bar);
  // Application and settings messages: code and value.
  void AppMsgHdl(std::uint8_t code, std::intptr_t value);
  std::intptr_t SetMsgHdl(std::uint8_t code, std::intptr_t value);
  // Checks the item, sets the language and keeps it in the settings store (sav).
  void SelLge(std::uint8_t idx, QAction* item, bool sav = true);
  // The language kept in the settings store, at start.
  void LodLge();
  // The tool button hints in the current language.
  void RfsTbnHnt();
  // The menus, the other windows and the toolkit's own texts in the current language.
  void RfsLgeTxt();
  // Starts the background picture's keeper (end of FormShow).
  void StaBkgDrf();

  // Told by the editor when a vio is about to be deleted: a blink target
  // must not outlive its vio.
  struct TVioRmvObs;
  std::unique_ptr<TVioRmvObs> FpVioRmvObs;
  void EndVioBlk(bool show);

  TVslCnvCfg FCfg;
  std::string FsInsDir;
  std::map<const QAction*, int> FTbnImg;
  std::vector<QPixmap> FImgLst;
  std::vector<std::string> FMisPic;
  std::string FsStaRpt;
  void AddStaRpt(const std::string& txt);
  // The message file: its gaps for the start's message, and the identifier
  // of a lookup that fails later in the status bar.
  void ChkSysMsg();
  // The cue files that are not there, for the start's message.
  void ChkSndFil();
  int FiVioBlkShwCnt = 0;  // shows of the running blink
  bool FbShwDon = false;   // FormShow has run
};
