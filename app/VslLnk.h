// The main window's robot link: the link session (the serial component with
// its two ring buffers), opening the port, the robot commands with their cues, the packets,
// the effects of the robot's packets, the link timers, the link state and the
// direction pictures.
//
// The serial component calls its events on its own threads. The session's
// parser turns the received bytes into effects there, and the link hands them
// to a queue that the user interface thread works off in the order the bytes
// came. A synchronous cue or a message box runs a local event loop;
// a drain that finds itself started inside another one returns at once, so
// effects never overtake each other.
#pragma once

#include <QObject>
#include <QPixmap>
#include <QTimer>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "sound/SndCue.h"

class QLineEdit;
class QPlainTextEdit;
class QStatusBar;
class QWidget;
enum TeComErr : std::int8_t;
class TComport2p5;
class TLnkSes;
class TMeaSto;
class TMtxAndRbf;
class TRunMrk;
class TSimThr;
class TVioPgmItp;
class TclsPlyWavFil;
struct TRcvEff;
struct TRlsHok;
enum class TeUplRes : std::uint8_t;

// What the link reads of the window. The editor and the player are made
// after the link and asked for when needed; the language and the install
// folder are the window's own values, read where they are kept.
struct TLnkWnd {
  std::function<TVioPgmItp&()> Edt;
  std::function<TclsPlyWavFil&()> Ply;
  std::function<QStatusBar&()> Sta;
  // The input gate of the tool bar commands: true when the command must not run.
  std::function<bool()> InpErr;
  // Keeps the chosen port in the settings store; false when it cannot.
  std::function<bool(const std::string&)> KepPrt;
  const std::string& AppDir;
  const std::uint8_t& Lge;
  TRunMrk& Run;
};

struct TLnkTms {
  int BlkComPrtCupMsg = 100;
  int RcvPckTimOut = 1100;
  int UplCfm = 5000;   // an upload waits this long for the robot's "transfer complete"
  int RcvChrGap = 200; // a frame whose bytes stop for longer than this is given up
};

class TVslLnk final : public QObject {
  Q_OBJECT
public:
  using TClk = std::function<std::chrono::steady_clock::time_point()>;
  // The diagnostic outputs are hidden children of wnd.
  TVslLnk(QWidget& wnd, TLnkWnd win, TLnkTms tms, TClk clk);
  ~TVslLnk() override;

  // Construction steps: the link session (the serial component on the robot's
  // line, its events here) and the checks of its two ring buffers; false when
  // a buffer could not be made (GuLstErrMsg says which).
  void CrtCom();
  bool CrtRxb();
  bool CrtTxb();
  // Shutdown: stops the serial component's threads; a session whose threads
  // would not stop goes at once (its destructor waits for them). The buffers
  // go with the session; their release steps keep their place and report.
  void StpCom(const TRlsHok& hok);
  void RlsTxb(const TRlsHok& hok);
  void RlsRxb(const TRlsHok& hok);
  void RlsCom(const TRlsHok& hok);

  // The port of the settings store, used from now on.
  void SetPrtNam(const std::string& name) { FsComPrtNam = name; }
  const std::string& PrtNam() const { return FsComPrtNam; }
  // Makes sure that the serial port is open; false with GuLstErrMsg. The
  // name "SIM" is the built-in robot, whose thread starts here.
  bool OpnComPrt(const std::string& name);
  // The built-in robot; null before its port was first opened.
  TSimThr* Sim() { return FpSim.get(); }
  // End of the intro: opens the configured port; on success the receive
  // timeout starts. A failure is remembered: a port chosen later ends the start.
  bool Sta();
  // The direction pictures, read before the first packet needs them.
  void LodDirPic();

  // Robot commands; true on success, else GuLstErrMsg.
  bool UplPgm();
  bool RunPgm();
  bool UprPgm();
  bool StaDblClkUpr();
  // An upload (run: and start) that somebody else waits for, as the roll
  // call's upload to every robot does for the robot on this link: done is
  // called once, when the robot has confirmed the program, or has not in
  // its time, or the link has ended, or the program could not be sent.
  void UplFor(bool run, std::function<void(TeUplRes)> done);
  bool SndPck(std::uint8_t cls, std::uint8_t cod, const std::vector<std::uint8_t>& dat);
  // The tool buttons of the commands bar.
  void UplClick();
  void RunClick();
  void UprClick();
  void ComSteClick();
  void ShwDnsPic();

  // Window messages that end here.
  void AppMsg(std::uint8_t code, std::intptr_t value);
  std::intptr_t SetPrt(std::intptr_t value);
  // Opens that port (GcSimPrt: the built-in robot) from now on, without
  // keeping it for the next start; false when it cannot be opened (said in a box).
  bool UsePrt(const std::string& name);

  // Timer handlers.
  void BlkComPrtCupMsgTimer();
  void RcvPckTimOutTimer();
  void UplCfmTimer();

  // State and outputs, for diagnostics and tests.
  TComport2p5& Com();
  TMtxAndRbf* Txb();
  bool PrtOpn() const { return FbComPrtOpn; }
  bool LnkOky() const { return FbComLnkOky; }
  std::uint8_t PckCnt() const;
  // Effects handed over by the serial component's threads and not yet carried out.
  std::size_t EffPnd() const;
  QTimer& TmrCupMsg() { return tmrBlkComPrtCupMsg; }
  QTimer& TmrRcvTmo() { return tmrRcvPckTimOutTmr; }
  QTimer& TmrUplCfm() { return tmrUplCfm; }
  QPlainTextEdit& ComMsg() { return *mmoComMsg; }
  // tbxTst001 ... tbxTst003 (1 to 3) and tbxAdcMeaVal1, 2 (4, 5).
  QLineEdit& Tbx(int num) const;
  // The robot's measurements of the last minute, kept as they come (the
  // monitor shows them), and their clock: the steady clock in milliseconds.
  TMeaSto& MeaSto() const { return *FpMea; }
  std::int64_t MeaNow() const;

signals:
  // What the window shows or does for the link.
  void ErrMsg(const std::string& text);
  // Shows the picture over the field while pending events run.
  void FlsPic(const QPixmap& pic);
  // The buttons of the commands bar.
  void RunEna(bool ena);
  void RunRpn();
  void ComSteEna();
  void LnkSte(bool oky);
  // The port opened late: start-up ends now, as it would have at its end.
  void StaEnd();
  // The built-in robot's thread started or ended.
  void SimChg();
  // The robot reports the address that it executes: a program runs.
  void RbtRun();
  // The store took a measurement (raised on the receive controller's thread).
  void Mea();

private:
  struct TQue;
  void CrtDgn(QWidget& wnd);
  void RcvEff(std::vector<TRcvEff> eff);
  void ShwCtlEvt();
  void ShwErrEvt(TeComErr code, const std::string& text);
  void ShwLerEvt(std::uint32_t evtNum, std::uint32_t lastErr);
  void PstUi(std::function<void()> fn);
  void RunQue();
  bool Exe(const TRcvEff& e);
  void ShwFlt(std::uint16_t val);  // the robot's fault (address | kind << 8)
  bool PlyCue(TeSndCue cue);
  void LnkEnd(TeComErr code, const std::string& text);
  bool SndPckRun(std::uint8_t cod);
  void EndUplCfm();
  void EndUplFor(TeUplRes res);
  void LnkDwn();
  void FlsDirPic(const char* fil);
  std::string PrtMsg(const std::string& nam, std::uint8_t id);
  // The device of a port name: the built-in robot's line (its thread
  // started first), or the name itself; empty with GuLstErrMsg.
  std::string PrtDev(const std::string& name);

  std::function<void(TeUplRes)> FUplFor;  // the waiter of UplFor
  QWidget& FWnd;
  TLnkWnd FW;
  TLnkTms FTms;
  TClk FClk;
  // The built-in robot, started by the first open of its port; it goes
  // after the session, whose threads use its line.
  std::unique_ptr<TSimThr> FpSim;
  std::unique_ptr<TLnkSes> FpSes;
  bool FbRxb = false;  // the construction has checked the receive buffer
  bool FbTxb = false;  // ... and the transmit buffer
  std::unique_ptr<TQue> FpQue;
  std::unique_ptr<TMeaSto> FpMea;
  std::string FsComPrtNam;
  bool FbComPrtOpn = false;
  bool FbComLnkOky = false;
  bool FbStaFai = false;  // the port could not be opened at the end of start-up
  bool FbSnd = false;     // a packet is being handed to the port
  QTimer tmrBlkComPrtCupMsg;
  QTimer tmrRcvPckTimOutTmr;
  QTimer tmrUplCfm;  // single shot: an upload that the robot has not confirmed yet
  QPlainTextEdit* mmoComMsg = nullptr;
  std::vector<QLineEdit*> FTbx;
};
