// The main window. It owns every long-lived object of the program, creates
// them in a fixed order, shows the intro for five seconds while its tool bars
// and menus are locked, then opens the serial link and unlocks itself. On
// shutdown it releases the owned objects in a second fixed order, each release
// guarded on its own. Its parts are components of their own: the robot link,
// the document commands, the tool bars, the settings and the vio blink.
#pragma once

#include <QMainWindow>
#include <QPixmap>
#include <QTimer>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/VslCnvCfg.h"
#include "core/WndMsg.h"

// Designed caption of the main window; the build number is appended at start.
inline constexpr const char* GcVslCnvCap = "Brinkmoor - Tessaro 1.3";
// Caption after start: designed caption + " (Build: " + version + ")".
inline std::string BldCap(const std::string& designed, const std::string& version) {
  return designed + " (Build: " + version + ")";
}

class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QScrollArea;
class TBkgDrf;
class TFstGui;
class TPgmViw;
class TRunMrk;
class TSimPan;
class TSysLgeMsg;
class TVio;
class TVioBlk;
class TVioFldViw;
class TVioFldKey;
class TVioPgmItp;
class TVslAcc;
class TVslDoc;
class TVslLnk;
class TVslLsn;
class TVslMnu;
class TVslFld;
class TVslSet;
class TVslTbr;
class TclsPlyWavFil;
class TfrmAppIto;
class TfrmHlpInf;
class TfrmOptions;
class TfrmVslCnv;
struct TRlsHok;

// The four windows of the program, created by the program entry in this order.
extern TfrmVslCnv* frmVslCnv;
extern TfrmOptions* frmOptions;
extern TfrmAppIto* frmAppIto;
extern TfrmHlpInf* frmHlpInf;

// The background image control on the programming field.
extern QLabel* GuBckGndImg;

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
  // Makes the executable's folder the current folder.
  void SetAppDir();
  void SetLgeIdx(std::uint8_t idx);
  void SetAvlCol(std::uint8_t idx);
  std::uint8_t LgeIdx() const { return FbyLgeIdx; }
  // Index of the configured port among the present ones; -1 when absent.
  std::int32_t ComPrtIdx() const { return FiComPrtIdx; }
  // True while the tool bars and the File, Options and Help menus are disabled.
  bool Locked() const;

  void FormCreate();
  void FormShow();
  void FormResize();
  void FormClose();
  void tmrAppItoTimer();
  void tmrVioBlkTimer();
  // Tells what the start found missing (message file, pictures, sounds) in
  // one message, once: at the end of the intro, after the port's own message.
  void ShwStaRpt();

  // Handlers of the menus and tool buttons.

  // The components.
  TVslLnk& Lnk() { return *FpLnk; }
  TVslDoc& Doc() { return *FpDoc; }
  TVslTbr& Tbr() { return *FpTbr; }
  TVioBlk& Blk() { return *FpBlk; }
  TVslMnu& Mnu() { return *FpMnu; }
  TRunMrk& RunMrk() const { return *FpRunMrk; }
  TFstGui& Fst() const { return *FpFst; }

  // The editor, which the other windows and the field reach.
  TVioPgmItp& Edt() const { return *FpVioPgmItp; }

  // The programming field with its views and the background picture.
  TVslFld& Fld() const { return *FpFld; }
  TSysLgeMsg* SysLgeMsg() const { return FpSysLgeMsg.get(); }
  TclsPlyWavFil* PlyWavFil() const { return FpPlyWavFil.get(); }
  QTimer& TmrAppIto() { return tmrAppIto; }
  bool FrmShw() const { return FbFrmShw; }

protected:
  void showEvent(QShowEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

private:
  std::unique_ptr<TVioPgmItp> FpVioPgmItp;
  // Construction steps; a fatal failure ends them early.
  void Crt();
  bool CrtObj();
  void RedSet(const std::vector<std::string>& ports);
  void SetPth();
  void BldCtl();
  void SetLck(bool locked);
  void Trc(const std::string& step) const;
  TRlsHok RlsHok() const;
  // Application and settings messages: code and value.
  void AppMsgHdl(std::uint8_t code, std::intptr_t value);
  std::intptr_t SetMsgHdl(std::uint8_t code, std::intptr_t value);
  // Language (app/VslCnvLge.cpp): checks the item, sets the language and
  // keeps it in the settings store (sav).
  void SelLge(std::uint8_t idx, bool sav = true);
  void LodLge();
  void RfsLgeTxt();
  // The start's report (app/VslCnvSta.cpp).
  void AddStaRpt(const std::string& txt);
  void ChkSysMsg();
  void ChkSndFil();
  // The components' views of the window (app/VslCnvHst.cpp).
  void CrtCmp();
  void WirLnk();
  void FlsPic(const QPixmap& pic);
  struct THst;
  struct THstDel {
    void operator()(THst* p) const;
  };

  TVslCnvCfg FCfg;
  // Owned objects, in the order of their creation (the link owns the serial
  // component and the ring buffers, the settings own the store).
  std::unique_ptr<TclsPlyWavFil> FpPlyWavFil;
  std::unique_ptr<TSysLgeMsg> FpSysLgeMsg;

  std::uint8_t FbyLgeIdx = 0;
  std::uint8_t FbyAvlCol = 0;
  std::string FsAppDir;
  std::int32_t FiComPrtIdx = -1;
  bool FbFrmShw = false;
  bool FbShwDon = false;  // FormShow has run
  std::string FsStaRpt;

  std::unique_ptr<TVslFld> FpFld;
  QTimer tmrAppIto;

  std::unique_ptr<THst, THstDel> FpHst;
  std::unique_ptr<TRunMrk> FpRunMrk;  // which vio shows running; the link and the pane ask it
  std::unique_ptr<TVslSet> FpSet;
  std::unique_ptr<TVioBlk> FpBlk;
  std::unique_ptr<TVslTbr> FpTbr;
  std::unique_ptr<TVslDoc> FpDoc;
  std::unique_ptr<TVslLnk> FpLnk;
  std::unique_ptr<TVslLsn> FpLsn;
  std::unique_ptr<TVslMnu> FpMnu;
  std::unique_ptr<TFstGui> FpFst;  // the guided first program
};
