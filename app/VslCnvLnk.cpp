// The main window's share of the robot link: opening the port, the robot
// commands with their cues, the packets, the effects of the robot's packets,
// the link state and the direction pictures.
//
// The serial component calls RcvComChr, ShwCtlEvt and ShwLerEvt on its own
// threads. They parse there (the receive record is touched by RcvComChr
// alone) and hand what has to happen to a queue that the user interface
// thread works off in the order the bytes came. A synchronous cue or a
// message box runs a local event loop; a drain that finds itself started
// inside another one returns at once, so effects never overtake each other.
#include <QLabel>
#include <QLineEdit>
#include <QMetaObject>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QThread>
#include <QToolBar>

#include <deque>
#include <map>
#include <mutex>

#include "app/BkgDrf.h"
#include "app/VslCnv.h"
#include "app/VslCnvLgc.h"
#include "core/Globals.h"
#include "core/PathUtl.h"
#include "core/Seams.h"
#include "editor/VioPgmItp.h"
#include "editor/qt/VioPgmViw.h"
#include "link/ComPort2p5.h"
#include "link/MtxAndRbf.h"
#include "link/PckPrt.h"
#include "messages/LnkMsg.h"
#include "messages/SysLgeMsg.h"
#include "sound/PlyWavFil.h"
#include "sound/SndCue.h"
#include "translator/InsAndTkn.h"

namespace {

QString QStr(const std::string& s) { return QString::fromLocal8Bit(s.data(), static_cast<qsizetype>(s.size())); }

// Tasks waiting for the user interface thread at most; beyond that the
// effects of received bytes are counted and dropped (a robot does not send
// that much while one cue plays, a flood of garbage does).
constexpr std::size_t GcLnkTskMax = 4096;

// Messages of the link in SysMsgFil.sys.
constexpr std::uint8_t GcMsgDevLst = 0x61;  // follows "Comport <name>": the device has gone
constexpr std::uint8_t GcMsgTxDrp = 0x62;   // follows "Comport <name>": a packet was not sent completely
constexpr std::uint8_t GcMsgPrtHld = 0x63;  // follows "Comport <name>": another program holds the port
constexpr std::uint8_t GcMsgUplNcf = 0x64;  // the robot has not confirmed an upload

const char* const GcTxtPrtHld =
    ": another program holds the port. Close that program (Options, Check connection names it), then try again.";
const char* const GcTxtUplNcf =
    "The robot did not confirm the upload. Is it switched on and connected? Options, Check connection finds out.";

}  // namespace

struct TfrmVslCnv::TLnkUi {
  struct TTsk {
    std::vector<TRcvEff> Eff;
    std::function<void()> Fn;
  };
  explicit TLnkUi(TfrmVslCnv& w) : W(w) {}
  TfrmVslCnv& W;
  mutable std::mutex M;
  std::deque<TTsk> Q;
  std::uint64_t Drp = 0;
  // User interface thread only.
  bool Run = false;   // a drain is under way
  bool Snd = false;   // a packet is being handed to the port
  std::map<std::string, QPixmap> Pic;
  // Receive thread only: when the last byte was delivered, and whether the
  // receive buffer held nothing behind it (only then is the time to the next
  // byte a silence of the line, not a wait in the buffer).
  std::chrono::steady_clock::time_point RxLst{};
  bool RxIdl = false;

  // From any thread.
  void Pst(TTsk t) {
    bool post;
    {
      std::lock_guard<std::mutex> lk(M);
      if (!t.Fn) {
        // Effects that later ones replace are merged into the task before
        // them: a burst of frames costs the window one task, not one each.
        if (!Q.empty() && !Q.back().Fn && MrgRcvEff(Q.back().Eff, t.Eff)) return;
        if (Q.size() >= GcLnkTskMax) {
          ++Drp;
          return;
        }
      }
      post = Q.empty();
      Q.push_back(std::move(t));
    }
    // A drain is due whenever the queue turns non-empty; one that is running
    // (perhaps suspended in a local event loop) takes the new task as well.
    if (post) QMetaObject::invokeMethod(&W, [w = &W] { w->RunLnk(); }, Qt::QueuedConnection);
  }

  // The cue that answers a report of the robot.
  static TeSndCue RptCue(TeRbtRpt r, std::uint16_t swi) {
    switch (r) {
      case TeRbtRpt::IncSig: return SC_INC_SIG;
      case TeRbtRpt::Stb: return SC_STB;
      case TeRbtRpt::LnkEst: return SC_LNK_EST;
      case TeRbtRpt::Swi: return SndCueSwi(swi)->Cue;
      case TeRbtRpt::TrfCmp: return SC_TRF_CMP;
      case TeRbtRpt::Wrk: return SC_WRK;
      case TeRbtRpt::PgmCmp: return SC_PGM_CMP;
    }
    return SC_SYS_ONL;
  }

  bool Ply(TeSndCue c) { return PlySndCue(*W.FpPlyWavFil, c, GuInsDir, W.FsAppDir); }

  void RpnRun() {
    if (QWidget* b = W.tbrDatCom->widgetForAction(W.tbnRun)) b->update();
  }

  // One effect; false when the rest of its list must not run.
  bool Exe(const TRcvEff& e) {
    switch (e.Knd) {
      case TeRcvEff::RstTmo:
        W.tmrRcvPckTimOutTmr.stop();
        W.tmrRcvPckTimOutTmr.start();
        break;
      case TeRcvEff::ShwSeq: W.tbxTst003->setText(QString::number(e.Val)); break;
      case TeRcvEff::LnkUp:
        W.FbComLnkOky = true;
        W.SetTbnImg(W.tbnComSte, GcImgComOky);
        break;
      case TeRcvEff::PrcMsg: PrcMsg(); break;
      case TeRcvEff::DisRun:
        W.tbnRun->setEnabled(false);
        RpnRun();
        break;
      case TeRcvEff::EnaRun:
        W.tbnRun->setEnabled(true);
        RpnRun();
        break;
      case TeRcvEff::RpnRun: RpnRun(); break;
      case TeRcvEff::EnaComSte: W.tbnComSte->setEnabled(true); break;
      case TeRcvEff::Flash: W.ShwUpsPic(); break;
      case TeRcvEff::Play: return Ply(RptCue(e.Rpt, e.Val));
      case TeRcvEff::ShwMea1: W.tbxAdcMeaVal1->setText(QStr(Hex4(e.Val))); break;
      case TeRcvEff::ShwMea2: W.tbxAdcMeaVal2->setText(QStr(Hex4(e.Val))); break;
      case TeRcvEff::SetLstErr: GuLstErrMsg = e.Txt; break;
      case TeRcvEff::RunAdr:
        if (W.FpPgmViw) W.FpPgmViw->RunAdr(e.Val);
        break;
      case TeRcvEff::RunEnd: W.EndRunViw(); break;
      case TeRcvEff::ShwRbtFlt:
        W.statusBar()->showMessage(QStr(RbtFltMsg(static_cast<std::uint8_t>(e.Val & 0xFF),
                                                  static_cast<std::uint8_t>(e.Val >> 8), W.FbyLgeIdx)));
        break;
      case TeRcvEff::UplCfm: W.EndUplCfm(); break;
    }
    return true;
  }
};

void TfrmVslCnv::TLnkUiDel::operator()(TLnkUi* p) const { delete p; }

void TfrmVslCnv::CrtLnk() {
  FpLnkUi.reset(new TLnkUi(*this));
  RstRcvPck();
  connect(tbnUpl, &QAction::triggered, this, &TfrmVslCnv::tbnUplClick);
  connect(tbnRun, &QAction::triggered, this, &TfrmVslCnv::tbnRunClick);
  connect(tbnUpr, &QAction::triggered, this, &TfrmVslCnv::tbnUprClick);
  connect(tbnComSte, &QAction::triggered, this, &TfrmVslCnv::tbnComSteClick);
}

std::size_t TfrmVslCnv::LnkEffPnd() const {
  if (!FpLnkUi) return 0;
  std::lock_guard<std::mutex> lk(FpLnkUi->M);
  return FpLnkUi->Q.size();
}

void TfrmVslCnv::PstLnk(std::function<void()> fn) {
  if (!FpLnkUi) return;
  TLnkUi& l = *FpLnkUi;
  if (GuPlatform().EvtLoop->OnUiThread() && QThread::currentThread() == thread() && !l.Run && LnkEffPnd() == 0) {
    fn();
    return;
  }
  l.Pst({{}, std::move(fn)});
}

void TfrmVslCnv::RunLnk() {
  if (!FpLnkUi) return;
  TLnkUi& l = *FpLnkUi;
  if (l.Run) return;  // started inside a running drain's local event loop
  l.Run = true;
  for (;;) {
    TLnkUi::TTsk t;
    std::uint64_t drp = 0;
    {
      std::lock_guard<std::mutex> lk(l.M);
      if (l.Q.empty()) break;
      t = std::move(l.Q.front());
      l.Q.pop_front();
      drp = std::exchange(l.Drp, 0);
    }
    if (drp) mmoComMsg->appendPlainText("Received bytes dropped while busy: " + QString::number(drp));
    if (t.Fn) {
      t.Fn();
      continue;
    }
    for (const TRcvEff& e : t.Eff)
      if (!l.Exe(e)) break;  // a missing cue: the player has said so
  }
  l.Run = false;
}

// ---------------------------------------------------------------------------
// Events of the serial component

void TfrmVslCnv::RcvComChr(TComport2p5*, std::uint8_t, std::uint32_t, std::uint8_t data) {
  if (!FpLnkUi) return;
  TLnkUi& l = *FpLnkUi;
  // Nothing waits behind this byte: the next one is still on its way.
  const bool idl = !FpRxMtxAndRbf || !LckDatAvl(*FpRxMtxAndRbf);
  const auto now = FCfg.Clk ? FCfg.Clk() : std::chrono::steady_clock::now();
  const bool gap = l.RxIdl && now - l.RxLst > std::chrono::milliseconds(FCfg.Tms.RcvChrGap);
  l.RxLst = now;
  l.RxIdl = idl;
  l.Pst({RcvChrEff(GuRcvPck, data, gap), {}});
}

void TfrmVslCnv::ShwCtlEvt(TComport2p5*, std::uint32_t) {
  PstLnk([this] { mmoComMsg->appendPlainText("Ctl event"); });
}

void TfrmVslCnv::ShwErrEvt(TComport2p5*, std::int8_t code, const std::string& text) {
  const QString lin = QString::number(code) + ", " + QStr(text);
  PstLnk([this, lin, code, text] {
    mmoComMsg->appendPlainText(lin);
    LnkEnd(code, text);
  });
}

void TfrmVslCnv::ShwLerEvt(TComport2p5*, std::uint32_t evtNum, std::uint32_t lastErr) {
  PstLnk([this, evtNum, lastErr] {
    tbxTst001->setText("iEvtNum = " + QString::number(evtNum));
    tbxTst001->setText("dwLstErrNum = " + QString::number(lastErr));
  });
}

namespace {
// "Comport <name>" and the message, or its stand-in when the table lacks it.
std::string PrtMsg(TVioPgmItp& edt, const std::string& nam, std::uint8_t id, const char* dflt) {
  const std::string keep = GuLstErrMsg;
  std::string t = edt.GetSysUsrMsg(id);
  GuLstErrMsg = keep;
  return "Comport " + nam + (t.empty() ? std::string(dflt) : t);
}
const char* const GcTxtDevLst = ": the connection to the robot was lost. The next command opens the port again.";
const char* const GcTxtPrtErr = ": the port could not be opened. Choose the robot's port under Options.";
const char* const GcTxtTxDrp = ": a packet to the robot was not sent completely. Send it again.";
}  // namespace

void TfrmVslCnv::LnkEnd(std::int8_t code, const std::string& text) {
  if (code != CE_RX_FUL && code != CE_DEV_LST && code != CE_IO_THR) return;
  // The link ended by itself and the component has closed the port. A
  // command given since may have opened it again: then this is history.
  if (!FpcomUsbZefor || FpcomUsbZefor->PrtOpn()) return;
  FbComPrtOpn = false;
  FbComLnkOky = false;
  SetTbnImg(tbnComSte, GcImgComNok);
  EndRunViw();
  // Its own message says what happened to the upload.
  tmrUplCfm.stop();
  const std::string& nam = FpcomUsbZefor->FsPrtNam;
  std::string msg = code == CE_DEV_LST ? PrtMsg(*FpVioPgmItp, nam, GcMsgDevLst, GcTxtDevLst) : text;
  if (FpcomUsbZefor->TakTxDrp() > 0) msg += "\n" + PrtMsg(*FpVioPgmItp, nam, GcMsgTxDrp, GcTxtTxDrp);
  if (code == CE_DEV_LST)
    ShwMsgBox(msg);
  else
    ShwMsgBox(msg, "Error message");
}

// ---------------------------------------------------------------------------
// Port and timers

bool TfrmVslCnv::OpnComPrt(const std::string& name) {
  GuLstErrMsg.clear();
  // Open only while the component says so: a device that has gone (and
  // whose end has not been reported yet) is opened again.
  if (FbComPrtOpn && FpcomUsbZefor->PrtOpn()) return true;
  FbComPrtOpn = false;
  const std::string old = FpcomUsbZefor->FsPrtNam;
  FpcomUsbZefor->FsPrtNam = name;
  // Every open starts a new receive record: the start of a frame read before
  // the device went away must not swallow the first frame of the new link.
  // Only while no receive thread runs, which owns the record otherwise.
  if (FpcomUsbZefor->StpThr()) RstRcvPck();
  const std::uint8_t res = FpcomUsbZefor->OpnPrt();
  // Closing the old port may have cut a packet short: say so, it was not sent.
  if (FpcomUsbZefor->TakTxDrp() > 0) ShwMsgBox(PrtMsg(*FpVioPgmItp, old, GcMsgTxDrp, GcTxtTxDrp));
  if (res == 0) {
    FbComPrtOpn = true;
    tmrBlkComPrtCupMsg.start();
    return true;
  }
  // A missing cue has been told (at start, or by the player); the port's
  // own message is composed all the same.
  FpLnkUi->Ply(SC_LNK_OFL);
  // The cue ran a local event loop; an open started there may have succeeded.
  if (FbComPrtOpn && FpcomUsbZefor->PrtOpn()) {
    GuLstErrMsg.clear();
    return true;
  }
  if (FpcomUsbZefor->PrtHld()) {
    // The port is there: the cable is not the trouble.
    GuLstErrMsg = PrtMsg(*FpVioPgmItp, FpcomUsbZefor->FsPrtNam, GcMsgPrtHld, GcTxtPrtHld);
    return false;
  }
  GuLstErrMsg = PrtMsg(*FpVioPgmItp, FpcomUsbZefor->FsPrtNam, SUM_LNK_COM_PRT_ERR, GcTxtPrtErr);
  return false;
}

void TfrmVslCnv::tmrBlkComPrtCupMsgTimer() {
  FpcomUsbZefor->FbBlkCbk = false;
  tmrBlkComPrtCupMsg.stop();
}

void TfrmVslCnv::tmrRcvPckTimOutTmrTimer() {
  FbComLnkOky = false;
  SetTbnImg(tbnComSte, GcImgComNok);
  EndRunViw();
}

namespace {
std::string UplNcfMsg(TVioPgmItp& edt) {
  const std::string keep = GuLstErrMsg;
  const std::string t = edt.GetSysUsrMsg(GcMsgUplNcf);
  GuLstErrMsg = keep;
  return t.empty() ? GcTxtUplNcf : t;
}
}  // namespace

void TfrmVslCnv::tmrUplCfmTimer() {
  tmrUplCfm.stop();
  statusBar()->showMessage(QStr(UplNcfMsg(*FpVioPgmItp)));
}

void TfrmVslCnv::EndUplCfm() {
  tmrUplCfm.stop();
  // A confirmation that came late takes the warning back.
  if (statusBar()->currentMessage() == QStr(UplNcfMsg(*FpVioPgmItp))) statusBar()->clearMessage();
}

// ---------------------------------------------------------------------------
// Packets

bool TfrmVslCnv::SndPck(std::uint8_t cls, std::uint8_t cod, const std::vector<std::uint8_t>& dat) {
  TLnkUi& l = *FpLnkUi;
  // Opening the port and waiting for a buffer lock let events run; a second
  // packet started there would mix its bytes into this one.
  if (l.Snd) {
    GuLstErrMsg = "#602, Another packet to the robot is still being sent";
    return false;
  }
  l.Snd = true;
  TPckOut out;
  out.TooLng = [this](std::size_t n) { GuLstErrMsg = PckTooLngMsg(n, FbyLgeIdx); };
  out.OpnPrt = [this] { return OpnComPrt(FsComPrtNam); };
  // The whole frame or nothing: a frame cut short by a full transmit buffer
  // would reach the robot as garbage.
  out.Rsv = [this](std::size_t n) {
    if (FpTxMtxAndRbf && LckFreSpc(*FpTxMtxAndRbf) < n) {
      GuLstErrMsg = "Tx ringbuffer is full";
      return false;
    }
    return true;
  };
  out.SndChr = [this](std::uint8_t b) { return FpcomUsbZefor->SndChr(b); };
  const bool ok = ::SndPck(FbyPckCnt, cls, cod, dat, out);
  l.Snd = false;
  return ok;
}

bool TfrmVslCnv::SndUplPck() { return SndPckRun(MK_UPL); }
bool TfrmVslCnv::SndRunPck() { return SndPck(MC_PGM, MK_RUN, {}); }
bool TfrmVslCnv::SndUprPck() { return SndPckRun(MK_UPR); }
bool TfrmVslCnv::SndLnkChkPck() { return SndPck(MC_CTL, MK_LNK_CHK, {}); }

bool TfrmVslCnv::SndPckRun(std::uint8_t cod) {
  const TInsAndTkn& trn = *FpVioPgmItp->FpInsAndTkn;
  // The run highlight follows the stream that goes out now. Its vios are
  // taken before sending (which lets events run): the map then hears of every
  // vio that goes. A stream that did not go out completely maps nothing.
  if (FpPgmViw) FpPgmViw->SetRunStm(trn);
  const bool ok = SndPck(MC_PGM, cod, trn.FpTsmTknLst);
  if (!ok && FpPgmViw) FpPgmViw->ClrRunStm();
  // The robot answers an upload with "transfer complete"; the wait for it
  // starts again with each upload.
  if (ok) {
    EndUplCfm();
    tmrUplCfm.start();
  }
  return ok;
}

void TfrmVslCnv::EndRunViw() {
  if (FpPgmViw) FpPgmViw->RunEnd();
}

// ---------------------------------------------------------------------------
// Commands

bool TfrmVslCnv::UplPgm() {
  if (!FpVioPgmItp->TrnVioPgm()) {
    FpLnkUi->Ply(SC_UPL_NAC);
    return false;
  }
  return SndUplPck();
}

bool TfrmVslCnv::RunPgm() { return SndRunPck(); }

bool TfrmVslCnv::UprPgm() {
  if (!FpVioPgmItp->TrnVioPgm()) return false;
  if (!SndUprPck()) {
    ShwErrMsg(GuLstErrMsg);
    return false;
  }
  return true;
}

bool TfrmVslCnv::StaDblClkUpr() {
  if (!FpLnkUi->Ply(SC_STA_DBL_UPR)) return false;
  return UprPgm();
}

// A failed command: its cue, then its reason. The reason is taken before the
// cue, whose local event loop may run link effects that write the last-error text.
namespace {
template <class F>
void CmdFai(TeSndCue cue, F&& ply, TfrmVslCnv& w) {
  const std::string msg = GuLstErrMsg;
  if (ply(cue) && !msg.empty()) w.ShwErrMsg(msg);
}
}  // namespace

void TfrmVslCnv::tbnUplClick() {
  if (ChkVioInpErr()) return;
  auto ply = [this](TeSndCue c) { return FpLnkUi->Ply(c); };
  if (!UplPgm()) {
    CmdFai(SC_ACC_DEN, ply, *this);
    return;
  }
  ShwDnsPic();
  ply(SC_BTN_UPL);
}

void TfrmVslCnv::tbnRunClick() {
  if (ChkVioInpErr()) return;
  auto ply = [this](TeSndCue c) { return FpLnkUi->Ply(c); };
  if (!RunPgm()) {
    CmdFai(SC_CMD_NAC, ply, *this);
    return;
  }
  ShwDnsPic();
  ply(SC_BTN_RUN);
}

void TfrmVslCnv::tbnUprClick() {
  if (ChkVioInpErr()) return;
  auto ply = [this](TeSndCue c) { return FpLnkUi->Ply(c); };
  if (!UprPgm()) {
    CmdFai(SC_CMD_NAC, ply, *this);
    return;
  }
  ShwDnsPic();
  if (ply(SC_BTN_UPR)) {
    tbnRun->setEnabled(true);
    PrcMsg();
  }
}

void TfrmVslCnv::tbnComSteClick() {
  ShwDnsPic();
  if (FpLnkUi->Ply(SC_PLS_ACK)) SndLnkChkPck();
}

// ---------------------------------------------------------------------------
// Direction pictures

namespace {
const QPixmap& LodPic(std::map<std::string, QPixmap>& cache, const std::string& pth) {
  auto it = cache.find(pth);
  if (it == cache.end()) it = cache.emplace(pth, QPixmap(QStr(NativePath(pth)))).first;
  return it->second;
}

constexpr const char* GcUpsPic = "upstream.bmp";
constexpr const char* GcDnsPic = "downstream.bmp";

std::string DirPicPth(const TfrmVslCnv& w, const char* fil) { return w.FsAppDir + "..\\" + w.FsPicDir + "\\" + fil; }

// The field's background control flashes the picture: shown while pending
// events run, then the background (still or drifting) is back.
void FlsDirPic(TfrmVslCnv& w, std::map<std::string, QPixmap>& cache, const char* fil) {
  const QPixmap& pic = LodPic(cache, DirPicPth(w, fil));
  if (w.FpBkgDrf) {
    w.FpBkgDrf->FlsPic(pic);
    return;
  }
  // No field yet (the window is being built): the control alone.
  if (!GuBckGndImg || pic.isNull()) return;
  GuBckGndImg->setPixmap(pic);
  PrcMsg();
  w.ShwBckPic();
}
}  // namespace

void TfrmVslCnv::ShwUpsPic() { FlsDirPic(*this, FpLnkUi->Pic, GcUpsPic); }
void TfrmVslCnv::ShwDnsPic() { FlsDirPic(*this, FpLnkUi->Pic, GcDnsPic); }

void TfrmVslCnv::LodDirPic() {
  // Reading a picture from the disk at the first flash would hold up that
  // packet's effects by the read.
  if (!FpLnkUi) return;
  for (const char* fil : {GcUpsPic, GcDnsPic}) LodPic(FpLnkUi->Pic, DirPicPth(*this, fil));
}

void TfrmVslCnv::ShwBckPic() {
  if (GuBckGndImg) GuBckGndImg->setPixmap(FpBckBmp);
  PrcMsg();
}

// ---------------------------------------------------------------------------
// Window messages of the link

void TfrmVslCnv::LnkAppMsg(std::uint8_t code, std::intptr_t value) {
  switch (code) {
    case 3: tbxTst001->setText(QString::number(value)); break;
    case 4: tbxTst002->setText(QString::number(value)); break;
    case 5: tbxTst003->setText(QString::number(value)); break;
    case 33:
      tbnRun->setEnabled(false);
      PrcMsg();
      break;
    default: ShwMsgBox("#156, Unknown application message received"); break;
  }
}

std::intptr_t TfrmVslCnv::LnkSetMsg(std::intptr_t value) {
  const std::string nam = "COM" + std::to_string(value);
  bool kept = FpRegistry && FpRegistry->OpenKey(FsRegKey + "\\Options", false);
  kept = kept && FpRegistry->WriteString("Comport", nam);
  if (!kept) ShwMsgBox("#157, The chosen Comport could not be kept in the settings store");
  // The choice holds from now on, not only from the next start.
  FsComPrtNam = nam;
  FbComPrtOpn = false;
  // Another port may be another robot: it does not hold the last upload.
  if (FpPgmViw) FpPgmViw->ClrRunStm();
  const bool ok = OpnComPrt(nam);
  if (!ok) {
    if (!GuLstErrMsg.empty()) ShwMsgBox(GuLstErrMsg);
  } else if (FbStaFai) {
    // Start-up could not open its port: it ends now, as it would have then.
    FbStaFai = false;
    tmrRcvPckTimOutTmr.start();
    SetLck(false);
    PrcMsg();
    PlySndCue(*FpPlyWavFil, SC_SYS_ONL, GuInsDir, FsAppDir);
  }
  PrcMsg();
  return ok ? 1 : 0;
}
