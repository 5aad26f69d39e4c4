#include "app/VslLnk.h"

#include <QLineEdit>
#include <QMetaObject>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QThread>
#include <QWidget>

#include <deque>
#include <map>
#include <mutex>

#include "app/RlsFld.h"
#include "app/RunMrk.h"
#include "app/VslCnvLgc.h"
#include "app/platform/QtStr.h"
#include "core/Globals.h"
#include "core/PathUtl.h"
#include "core/Seams.h"
#include "editor/VioKep.h"
#include "editor/VioPgmItp.h"
#include "link/UplRbt.h"
#include "link/ComPort2p5.h"
#include "link/LnkSes.h"
#include "link/MeaSto.h"
#include "link/MtxAndRbf.h"
#include "link/PckPrt.h"
#include "core/WndMsg.h"
#include "link/PrtNam.h"
#include "messages/LnkMsg.h"
#include "messages/SysLgeMsg.h"
#include "sim/SimThr.h"
#include "sound/PlyWavFil.h"
#include "translator/InsAndTkn.h"

namespace {

// Tasks waiting for the user interface thread at most; beyond that the
// effects of received bytes are counted and dropped (a robot does not send
// that much while one cue plays, a flood of garbage does).
constexpr std::size_t GcLnkTskMax = 4096;

constexpr const char* GcUpsPic = "upstream.bmp";
constexpr const char* GcDnsPic = "downstream.bmp";

}  // namespace

// The hand-over from the serial component's threads to the user interface thread.
struct TVslLnk::TQue {
  struct TTsk {
    std::vector<TRcvEff> Eff;
    std::function<void()> Fn;
  };
  mutable std::mutex M;
  std::deque<TTsk> Q;
  std::uint64_t Drp = 0;
  // User interface thread only.
  bool Run = false;  // a drain is under way
  bool Cue = false;  // a cue of the link plays: effects wait for its end
  std::map<std::string, QPixmap> Pic;

  // From any thread; true when a drain is due.
  bool Pst(TTsk t) {
    std::lock_guard<std::mutex> lk(M);
    if (!t.Fn) {
      // Effects that later ones replace are merged into the task before
      // them: a burst of frames costs the window one task, not one each.
      if (!Q.empty() && !Q.back().Fn && MrgRcvEff(Q.back().Eff, t.Eff)) return false;
      if (Q.size() >= GcLnkTskMax) {
        ++Drp;
        return false;
      }
    }
    const bool due = Q.empty();
    Q.push_back(std::move(t));
    return due;
  }

  // The next task; false when there is none.
  bool Tak(TTsk& t, std::uint64_t& drp) {
    std::lock_guard<std::mutex> lk(M);
    if (Q.empty()) return false;
    t = std::move(Q.front());
    Q.pop_front();
    drp = std::exchange(Drp, 0);
    return true;
  }

  const QPixmap& LodPic(const std::string& pth) {
    auto it = Pic.find(pth);
    if (it == Pic.end()) it = Pic.emplace(pth, QPixmap(QStr(NativePath(pth)))).first;
    return it->second;
  }
};

TVslLnk::TVslLnk(QWidget& wnd, TLnkWnd win, TLnkTms tms, TClk clk)
    : FWnd(wnd), FW(std::move(win)), FTms(tms), FClk(std::move(clk)), FpQue(std::make_unique<TQue>()),
      FpMea(std::make_unique<TMeaSto>()) {
  CrtDgn(wnd);
  tmrBlkComPrtCupMsg.setInterval(FTms.BlkComPrtCupMsg);
  tmrRcvPckTimOutTmr.setInterval(FTms.RcvPckTimOut);
  tmrUplCfm.setInterval(FTms.UplCfm);
  tmrUplCfm.setSingleShot(true);
  connect(&tmrBlkComPrtCupMsg, &QTimer::timeout, this, &TVslLnk::BlkComPrtCupMsgTimer);
  connect(&tmrRcvPckTimOutTmr, &QTimer::timeout, this, &TVslLnk::RcvPckTimOutTimer);
  connect(&tmrUplCfm, &QTimer::timeout, this, &TVslLnk::UplCfmTimer);
}

TVslLnk::~TVslLnk() = default;

void TVslLnk::CrtDgn(QWidget& wnd) {
  // Diagnostic outputs; never shown.
  mmoComMsg = new QPlainTextEdit(&wnd);
  mmoComMsg->setToolTip("Communication Events");
  mmoComMsg->hide();
  for (int i = 0; i < 5; ++i) {
    FTbx.push_back(new QLineEdit(&wnd));
    FTbx.back()->hide();
  }
}

QLineEdit& TVslLnk::Tbx(int num) const { return *FTbx.at(static_cast<std::size_t>(num - 1)); }

std::int64_t TVslLnk::MeaNow() const {
  // Not the receive clock, which is read once a byte and may be made to leap.
  const auto t = std::chrono::steady_clock::now();
  return std::chrono::duration_cast<std::chrono::milliseconds>(t.time_since_epoch()).count();
}

// ---------------------------------------------------------------------------
// Construction and shutdown

void TVslLnk::CrtCom() {
  // No port yet, the robot's line, one character at a time.
  FpSes = std::make_unique<TLnkSes>(&FWnd, TRcvGap{std::chrono::milliseconds(FTms.RcvChrGap), FClk});
  TLnkSes& s = *FpSes;
  s.OnEff = [this](std::vector<TRcvEff> eff) { RcvEff(std::move(eff)); };
  s.OnCtl = [this](std::uint32_t) { ShwCtlEvt(); };
  s.OnErr = [this](TeComErr code, const std::string& text) { ShwErrEvt(code, text); };
  s.OnEnd = [this](TeComErr code, const std::string& text) { ShwErrEvt(code, text); };
  s.OnLer = [this](std::uint32_t evtNum, std::uint32_t lastErr) { ShwLerEvt(evtNum, lastErr); };
  FbComPrtOpn = false;
}

bool TVslLnk::CrtRxb() {
  FbRxb = FpSes && FpSes->Rx().IsCrt();
  if (!FbRxb) GuLstErrMsg = "Rx mutex/ringbuffer creation error";
  return FbRxb;
}

bool TVslLnk::CrtTxb() {
  FbTxb = FpSes && FpSes->Tx().IsCrt();
  if (!FbTxb) GuLstErrMsg = "Tx mutex/ringbuffer creation error";
  return FbTxb;
}

TComport2p5& TVslLnk::Com() { return FpSes->Com(); }
TMtxAndRbf* TVslLnk::Txb() { return FbTxb && FpSes ? &FpSes->Tx() : nullptr; }
std::uint8_t TVslLnk::PckCnt() const { return FpSes ? FpSes->PckCnt() : 0; }

void TVslLnk::StpCom(const TRlsHok& hok) {
  tmrBlkComPrtCupMsg.stop();
  tmrRcvPckTimOutTmr.stop();
  tmrUplCfm.stop();
  // The serial component's threads reach the ring buffers: they stop first.
  if (FpSes && !FpSes->Com().StpThr()) RlsFld(FpSes, "FpcomUsbZefor", hok);
}

namespace {
// The release step of a buffer that goes with the session: told, guarded and
// traced like a field of its own.
void RlsStp(bool& crt, const char* name, const TRlsHok& hok) {
  struct TStp {};
  std::unique_ptr<TStp> stp;
  if (crt) stp = std::make_unique<TStp>();
  crt = false;
  RlsFld(stp, name, hok);
}
}  // namespace

void TVslLnk::RlsTxb(const TRlsHok& hok) { RlsStp(FbTxb, "FpTxMtxAndRbf", hok); }
void TVslLnk::RlsRxb(const TRlsHok& hok) { RlsStp(FbRxb, "FpRxMtxAndRbf", hok); }
void TVslLnk::RlsCom(const TRlsHok& hok) {
  RlsFld(FpSes, "FpcomUsbZefor", hok);
  FpSim.reset();  // the built-in robot's thread ends with the link
  emit SimChg();
}
// ---------------------------------------------------------------------------
// The hand-over to the user interface thread

std::size_t TVslLnk::EffPnd() const {
  std::lock_guard<std::mutex> lk(FpQue->M);
  return FpQue->Q.size();
}

void TVslLnk::PstUi(std::function<void()> fn) {
  TQue& q = *FpQue;
  if (GuPlatform().EvtLoop->OnUiThread() && QThread::currentThread() == thread() && !q.Run && !q.Cue &&
      EffPnd() == 0) {
    fn();
    return;
  }
  // A drain is due whenever the queue turns non-empty; one that is running
  // (perhaps suspended in a local event loop) takes the new task as well.
  if (q.Pst({{}, std::move(fn)})) QMetaObject::invokeMethod(this, [this] { RunQue(); }, Qt::QueuedConnection);
}

void TVslLnk::RcvEff(std::vector<TRcvEff> eff) {
  // Every value is kept with the time it came, before the queue merges the
  // read-outs of a burst into the last one.
  if (TMeaSto::Has(eff) && FpMea->Put(eff, MeaNow())) emit Mea();
  if (FpQue->Pst({std::move(eff), {}})) QMetaObject::invokeMethod(this, [this] { RunQue(); }, Qt::QueuedConnection);
}

void TVslLnk::ShwCtlEvt() {
  PstUi([this] { mmoComMsg->appendPlainText("Ctl event"); });
}

void TVslLnk::ShwErrEvt(TeComErr code, const std::string& text) {
  const QString lin = QString::number(code) + ", " + QStr(text);
  PstUi([this, lin, code, text] {
    mmoComMsg->appendPlainText(lin);
    LnkEnd(code, text);
  });
}

void TVslLnk::ShwLerEvt(std::uint32_t evtNum, std::uint32_t lastErr) {
  PstUi([this, evtNum, lastErr] {
    Tbx(1).setText("iEvtNum = " + QString::number(evtNum));
    Tbx(1).setText("dwLstErrNum = " + QString::number(lastErr));
  });
}

void TVslLnk::RunQue() {
  TQue& q = *FpQue;
  // Started inside a running drain's local event loop, or inside a cue's: the
  // effects wait, so that they keep their order and no cue starts inside another.
  if (q.Run || q.Cue) return;
  q.Run = true;
  TQue::TTsk t;
  std::uint64_t drp = 0;
  while (q.Tak(t, drp)) {
    if (drp) mmoComMsg->appendPlainText("Received bytes dropped while busy: " + QString::number(drp));
    if (t.Fn) {
      t.Fn();
      continue;
    }
    for (const TRcvEff& e : t.Eff)
      if (!Exe(e)) break;  // a missing cue: the player has said so
  }
  q.Run = false;
}

namespace {
// The cue that answers a report of the robot.
TeSndCue RptCue(TeRbtRpt r, std::uint16_t swi) {
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
}  // namespace

bool TVslLnk::Exe(const TRcvEff& e) {
  switch (e.Knd) {
    case TeRcvEff::RstTmo:
      tmrRcvPckTimOutTmr.stop();
      tmrRcvPckTimOutTmr.start();
      break;
    case TeRcvEff::ShwSeq: Tbx(3).setText(QString::number(e.Val)); break;
    case TeRcvEff::LnkUp:
      FbComLnkOky = true;
      emit LnkSte(true);
      break;
    case TeRcvEff::PrcMsg: PrcMsg(); break;
    case TeRcvEff::DisRun: emit RunEna(false); break;
    case TeRcvEff::EnaRun: emit RunEna(true); break;
    case TeRcvEff::RpnRun: emit RunRpn(); break;
    case TeRcvEff::EnaComSte: emit ComSteEna(); break;
    case TeRcvEff::Flash: FlsDirPic(GcUpsPic); break;
    case TeRcvEff::Play: return PlyCue(RptCue(e.Rpt, e.Val));
    case TeRcvEff::ShwMea1: Tbx(4).setText(QStr(Hex4(e.Val))); break;
    case TeRcvEff::ShwMea2: Tbx(5).setText(QStr(Hex4(e.Val))); break;
    case TeRcvEff::SetLstErr: GuLstErrMsg = e.Txt; break;
    case TeRcvEff::RunAdr:
      FW.Run.Adr(e.Val);
      emit RbtRun();
      break;
    case TeRcvEff::RunEnd: FW.Run.End(); break;
    case TeRcvEff::ShwRbtFlt: ShwFlt(e.Val); break;
    case TeRcvEff::UplCfm:
      EndUplCfm();
      EndUplFor(TeUplRes::Cfm);
      break;
  }
  return true;
}

bool TVslLnk::PlyCue(TeSndCue cue) {
  // A command's cue holds the robot's effects back as a frame's own cue does
  // (the drain is under way then); they are taken when it has ended.
  TQue& q = *FpQue;
  const bool own = !q.Cue;
  q.Cue = true;
  const bool ok = PlySndCue(FW.Ply(), cue, GuInsDir, FW.AppDir);
  if (own) {
    q.Cue = false;
    if (!q.Run && EffPnd() > 0) QMetaObject::invokeMethod(this, [this] { RunQue(); }, Qt::QueuedConnection);
  }
  return ok;
}

// ---------------------------------------------------------------------------
// Port and timers

// "Comport <name>" and the message.
std::string TVslLnk::PrtMsg(const std::string& nam, std::uint8_t id) {
  // The built-in robot is named, not the pseudo-terminal that it uses.
  if (IsSimPrt(nam) || (FpSim && FpSim->Running() && nam == FpSim->Pth()))
    return SimPrtTxt(FW.Lge) + VioUsrMsg(FW.Edt(), id);
  return "Comport " + nam + VioUsrMsg(FW.Edt(), id);
}

std::string TVslLnk::PrtDev(const std::string& name) {
  if (!IsSimPrt(name)) return name;
  if (!FpSim) FpSim = std::make_unique<TSimThr>();
  std::string err;
  if (FpSim->Sta(err)) {
    emit SimChg();
    return FpSim->Pth();
  }
  GuLstErrMsg = SimPrtTxt(FW.Lge) + ": " + err;
  return {};
}

void TVslLnk::LnkDwn() {
  FbComLnkOky = false;
  emit LnkSte(false);
  FW.Run.End();
}

void TVslLnk::LnkEnd(TeComErr code, const std::string& text) {
  if (code != CE_RX_FUL && code != CE_DEV_LST && code != CE_IO_THR) return;
  // The link ended by itself and the component has closed the port. A
  // command given since may have opened it again: then this is history.
  if (!FpSes || FpSes->Com().PrtOpn()) return;
  TComport2p5& com = FpSes->Com();
  FbComPrtOpn = false;
  LnkDwn();
  // Its own message says what happened to the upload.
  tmrUplCfm.stop();
  EndUplFor(TeUplRes::Lst);
  const std::string& nam = com.FsPrtNam;
  std::string msg = code == CE_DEV_LST ? PrtMsg(nam, SUM_LNK_DEV_LST) : text;
  if (com.TakTxDrp() > 0) msg += "\n" + PrtMsg(nam, SUM_LNK_TX_DRP);
  if (code == CE_DEV_LST)
    ShwMsgBox(msg);
  else
    ShwMsgBox(msg, "Error message");
}

bool TVslLnk::OpnComPrt(const std::string& name) {
  GuLstErrMsg.clear();
  TComport2p5& com = FpSes->Com();
  // Open only while the component says so: a device that has gone (and
  // whose end has not been reported yet) is opened again.
  if (FbComPrtOpn && com.PrtOpn()) return true;
  FbComPrtOpn = false;
  const std::string old = com.FsPrtNam;
  // The threads stop first, whatever follows: the session's open then starts
  // a new receive record.
  com.StpThr();
  const std::string dev = PrtDev(name);
  if (dev.empty() && !name.empty()) return false;
  const TOpnPrtRes res = FpSes->Opn(dev);
  // Closing the old port may have cut a packet short: say so, it was not sent.
  if (com.TakTxDrp() > 0) ShwMsgBox(PrtMsg(old, SUM_LNK_TX_DRP));
  if (res.Ok()) {
    FbComPrtOpn = true;
    tmrBlkComPrtCupMsg.start();
    return true;
  }
  // A missing cue has been told (at start, or by the player); the port's
  // own message is composed all the same.
  PlyCue(SC_LNK_OFL);
  // The cue ran a local event loop; an open started there may have succeeded.
  if (FbComPrtOpn && com.PrtOpn()) {
    GuLstErrMsg.clear();
    return true;
  }
  // A port that is there but held: the cable is not the trouble.
  GuLstErrMsg = com.PrtHld() ? PrtMsg(com.FsPrtNam, SUM_LNK_PRT_HLD)
                             : PrtMsg(com.FsPrtNam, SUM_LNK_COM_PRT_ERR);
  return false;
}

bool TVslLnk::Sta() {
  if (!OpnComPrt(FsComPrtNam)) {
    FbStaFai = true;
    return false;
  }
  tmrRcvPckTimOutTmr.start();
  return true;
}

void TVslLnk::BlkComPrtCupMsgTimer() {
  FpSes->Com().FbBlkCbk = false;
  tmrBlkComPrtCupMsg.stop();
}

void TVslLnk::RcvPckTimOutTimer() {
  // Frames that wait for a cue's end have come: the line was not silent.
  if (EffPnd() > 0) {
    tmrRcvPckTimOutTmr.start();
    return;
  }
  LnkDwn();
}

void TVslLnk::UplCfmTimer() {
  tmrUplCfm.stop();
  EndUplFor(TeUplRes::Tmo);
  FW.Sta().showMessage(QStr(VioUsrMsg(FW.Edt(), SUM_LNK_UPL_NCF)));
}

void TVslLnk::EndUplCfm() {
  tmrUplCfm.stop();
  // A confirmation that came late takes the warning back.
  QStatusBar& sta = FW.Sta();
  if (sta.currentMessage() == QStr(VioUsrMsg(FW.Edt(), SUM_LNK_UPL_NCF))) sta.clearMessage();
}

// ---------------------------------------------------------------------------
// Packets

bool TVslLnk::SndPck(std::uint8_t cls, std::uint8_t cod, const std::vector<std::uint8_t>& dat) {
  // Opening the port and waiting for a buffer lock let events run; a second
  // packet started there would mix its bytes into this one.
  if (FbSnd) {
    GuLstErrMsg = "#602, Another packet to the robot is still being sent";
    return false;
  }
  // The length first: a stream that cannot be framed opens no port.
  FbSnd = true;
  const bool ok = FpSes->Snd(cls, cod, dat,
                             {[this](std::size_t n) { GuLstErrMsg = PckTooLngMsg(n, FW.Lge); },
                              [this] { return OpnComPrt(FsComPrtNam); }});
  FbSnd = false;
  return ok;
}

bool TVslLnk::SndPckRun(std::uint8_t cod) {
  const TInsAndTkn& trn = FW.Edt().Trn();
  // What the last run said is history now.
  FW.Sta().clearMessage();
  // The run highlight follows the stream that goes out now. Its vios are
  // taken before sending (which lets events run): the map then hears of every
  // vio that goes. A stream that did not go out completely maps nothing.
  FW.Run.Stm(trn);
  const bool ok = SndPck(MC_PGM, cod, trn.FpTsmTknLst);
  if (!ok) FW.Run.ClrStm();
  // The robot answers an upload with "transfer complete"; the wait for it
  // starts again with each upload.
  if (ok) {
    EndUplCfm();
    tmrUplCfm.start();
    FW.Run.SndBrk();  // the built-in robot's line is open now
  }
  return ok;
}

// ---------------------------------------------------------------------------
// Direction pictures

void TVslLnk::FlsDirPic(const char* fil) {
  emit FlsPic(FpQue->LodPic(FW.AppDir + "..\\pictures\\" + fil));
}

void TVslLnk::ShwDnsPic() { FlsDirPic(GcDnsPic); }

void TVslLnk::LodDirPic() {
  // Reading a picture from the disk at the first flash would hold up that
  // packet's effects by the read.
  for (const char* fil : {GcUpsPic, GcDnsPic}) FpQue->LodPic(FW.AppDir + "..\\pictures\\" + fil);
}

// ---------------------------------------------------------------------------
// Window messages of the link

void TVslLnk::AppMsg(std::uint8_t code, std::intptr_t value) {
  switch (code) {
    case 3: Tbx(1).setText(QString::number(value)); break;
    case 4: Tbx(2).setText(QString::number(value)); break;
    case 5: Tbx(3).setText(QString::number(value)); break;
    case AM_LNK_OKY:
      if (value) *reinterpret_cast<bool*>(value) = FbComPrtOpn && FbComLnkOky;
      break;
    case 33:
      emit RunEna(false);
      PrcMsg();
      break;
    default: ShwMsgBox("#156, Unknown application message received"); break;
  }
}

std::intptr_t TVslLnk::SetPrt(std::intptr_t value) {
  const std::string nam = value == GcSimPrtNum ? std::string(GcSimPrt) : "COM" + std::to_string(value);
  if (!FW.KepPrt(nam)) ShwMsgBox("#157, The chosen Comport could not be kept in the settings store");
  return UsePrt(nam) ? 1 : 0;
}

bool TVslLnk::UsePrt(const std::string& nam) {
  // The choice holds from now on, not only from the next start.
  FsComPrtNam = nam;
  FbComPrtOpn = false;
  // Another port may be another robot: it does not hold the last upload.
  FW.Run.ClrStm();
  const bool ok = OpnComPrt(nam);
  // Another port leaves the built-in robot without a peer: it stops.
  if (!IsSimPrt(nam) && FpSim) {
    FpSim.reset();
    emit SimChg();
  }
  if (!ok) {
    if (!GuLstErrMsg.empty()) ShwMsgBox(GuLstErrMsg);
  } else if (FbStaFai) {
    // Start-up could not open its port: it ends now, as it would have then.
    FbStaFai = false;
    tmrRcvPckTimOutTmr.start();
    emit StaEnd();
  }
  PrcMsg();
  return ok;
}
