// The serial port component.
//
// TComport2p5 opens one serial device, sets up the line and runs two threads
// of its own:
//  - the I/O thread reads one byte at a time, writes one byte at a time and
//    waits for modem-line events where the device has modem lines;
//  - the receive controller hands received bytes, one at a time, to
//    FOnComPrtComEvt. It runs at a lower priority where the system allows it.
// The component holds no byte queues: it reaches its owner's two ring buffers
// (TTxMtxAndRbf, TRxMtxAndRbf) through the six buffer callbacks, which are the
// owner's lock-wrapped operations (LckPutChr, LckGetChr, LckDatAvl).
//
// Threads and events:
//  - FOnComPrtLerEvt fires on the I/O thread (a failed system call, with the
//    site number and errno).
//  - FOnComPrtComEvt and FOnComPrtCtlEvt fire on the receive controller.
//  - FOnComPrtErrEvt fires on the user interface thread from SndChr, and on
//    the receive controller when the link ends by itself (device lost, receive
//    buffer full, a failed wait) or a byte arrives out of single-character
//    mode. Worker threads never touch GuLstErrMsg or show message boxes.
// Handlers must be safe to run on those threads and must not wait for the
// user interface thread (post to it instead): StpThr and the destructor wait
// for the threads to end.
//
// Assign the callbacks and the settings before OpnPrt; they are read by the
// threads without a lock. FbBlkCbk and FbSglChr may change at any time.
// An owner that releases the ring buffers before the component stops the
// threads first (StpThr true, or the component's destructor).
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <memory>
#include <thread>

#include "link/LinSet.h"
#include "link/LnkEvt.h"

class TComport2p5;

using TComEvt = std::function<void(TComport2p5* sender, std::uint8_t kind, std::uint32_t extra, std::uint8_t data)>;
using TCtlEvt = std::function<void(TComport2p5* sender, std::uint32_t mask)>;
using TErrEvt = std::function<void(TComport2p5* sender, std::int8_t code, const std::string& text)>;
using TLerEvt = std::function<void(TComport2p5* sender, std::uint32_t evtNum, std::uint32_t lastErr)>;
using TGetChr = std::function<bool(std::uint8_t& b)>;
using TPutChr = std::function<bool(std::uint8_t b)>;
using TDatAvl = std::function<bool()>;

// Codes of FOnComPrtErrEvt.
enum TeComErr : std::int8_t {
  CE_PRT_UND = 0,  // "Error #003, trying to access comport function while comport is not defined"
  CE_SGL_CHR = 1,  // "Comport not in signle character mode" (the byte was dropped)
  CE_RX_FUL = 2,   // "Rx ringbuffer is full": the link has ended, the port is closed
  CE_DEV_LST = 3,  // "Error #004, comport device lost": the link has ended, the port is closed
  CE_IO_THR = 4,   // "Error #005, comport I/O thread failed": the link has ended, the port is closed
  CE_RXC_THR = 5,  // "Error in 'bRxDataController' thread function"
};

// Set of line events (bit numbers of FstComEvt).
enum TeComEvt : std::uint16_t {
  evBreak = 1u << 0, evCTS = 1u << 1, evDSR = 1u << 2, evError = 1u << 3, evRing = 1u << 4,
  evRlsd = 1u << 5, evRxChar = 1u << 6, evRxFlag = 1u << 7, evTxEmpty = 1u << 8,
};

// Result of OpnPrt. The numbers are the component's 8-bit result codes.
enum class TeOpnPrt : std::uint8_t {
  Ok = 0,
  ThrSta = 2,   // a thread could not be started
  ThrStp = 3,   // the running threads could not be stopped
  PrtCls = 5,   // closing the open port failed
  EvtMsk = 6,   // the line events to wait for were refused (Win32: SetCommMask)
  NoPrt = 7,    // the port could not be opened (no device, not a terminal, used by another program)
  NonBlk = 8,   // the port could not be made non-blocking (Win32: SetCommTimeouts failed)
  LinSet = 9,   // the line settings were refused
  EvtSig = 11,  // an event could not be signalled (or created: see IsCrt)
  NoCbk = 12,   // one of FOnComPrtComEvt, FOnComPrtCtlEvt, FOnComPrtErrEvt is not assigned
};
class TOpnPrtRes {
public:
  constexpr TOpnPrtRes(TeOpnPrt r) : FeRes(r) {}
  constexpr TeOpnPrt Res() const { return FeRes; }
  constexpr bool Ok() const { return FeRes == TeOpnPrt::Ok; }
  // The 8-bit result code: 0 success, otherwise the failure's number.
  constexpr std::uint8_t Cod() const { return static_cast<std::uint8_t>(FeRes); }
  constexpr operator std::uint8_t() const { return Cod(); }
  friend constexpr bool operator==(TOpnPrtRes a, TeOpnPrt b) { return a.FeRes == b; }

private:
  TeOpnPrt FeRes;
};

class TComport2p5 {
public:
  // The quiet flag. While it is set no event is fired, received bytes are
  // thrown away and nothing is written to the line; bytes handed to SndChr
  // meanwhile stay queued in the transmit buffer and go out when the flag is
  // cleared.
  class TQtFlg {
  public:
    explicit TQtFlg(TComport2p5& own) : FOwn(own) {}
    TQtFlg(const TQtFlg&) = delete;
    TQtFlg& operator=(bool v);
    operator bool() const { return FbVal.load(std::memory_order_acquire); }
  private:
    TComport2p5& FOwn;
    std::atomic<bool> FbVal{true};
  };

  explicit TComport2p5(void* owner);
  ~TComport2p5();
  TComport2p5(const TComport2p5&) = delete;
  TComport2p5& operator=(const TComport2p5&) = delete;

  // The constructor could create its events. Otherwise GuLstErrMsg tells why
  // and OpnPrt fails with EvtSig.
  bool IsCrt() const { return FbCrt; }

  // Opens the port FsPrtNam (see PrtDevPth) and starts the threads. NoCbk
  // and EvtSig come with a message box.
  TOpnPrtRes OpnPrt();
  // Queue one byte for sending. False with GuLstErrMsg: "Comport is not
  // defined" (port not open, or the link has ended), the transmit buffer's
  // refusal ("Tx ringbuffer is full"), "SetEvent error".
  bool SndChr(std::uint8_t b);
  // Stop both threads (waiting up to FiStpTmo for each); true when neither runs.
  bool StpThr();
  // Start both threads; false when one runs already or cannot be started. On
  // an open port the read and the modem-event wait are started again.
  bool StaThr();

  // The port is open.
  bool PrtOpn() const { return FhPrt.load() >= 0; }
  // The last OpnPrt failed with NoPrt because another program holds the port (it
  // has it open for itself alone, or holds a lock on it or a lock file of it).
  bool PrtHld() const { return FbPrtHld; }
  // The last OpnPrt failed with LinSet because the other end of the line went
  // away while the port was being set up (the line hung up).
  bool LinGon() const { return FbLinGon; }
  // Bytes handed to SndChr that never reached the line since the last call
  // (taken and reset): what was still queued when the port was closed for a
  // reopen, or when the link ended by itself. A frame cut this way is not
  // finished on the reopened port either: its rest is dropped and counted too.
  // Opening a port that is closed starts with empty buffers: what they still
  // hold is dropped (sent bytes counted here).
  std::uint64_t TakTxDrp() { return FiTxDrp.exchange(0); }
  void* Owner() const { return FpOwn; }

  // Settings.
  std::uint8_t FbyDatBts = 7;   // data bits index: 0..7 give 1..8 bits, other 8
  std::uint8_t FbyPrt = 0;      // 0 none, 1 odd, 2 even, 3 mark, 4 space
  std::uint8_t FbyStpBts = 0;   // 0 one, 1 one and a half, 2 two, other one
  std::uint8_t FbyBauIdx = 6;   // baud-rate index, see BauRat; the main window sets 4 (2400)
  std::uint16_t FstComEvt = evRing | evRlsd;  // line events to wait for
  std::string FsPrtNam = "COM1";
  bool FbMdmEvt = true;         // OpnPrt starts the modem-event wait
  std::atomic<bool> FbSglChr{false};  // single-character mode
  TQtFlg FbBlkCbk{*this};       // quiet flag, set after construction

  // Timing. Set before OpnPrt or StaThr.
  std::chrono::milliseconds FiRdTmo{1001};   // a silent read completes empty after this
  std::chrono::milliseconds FiMdmSmp{100};   // modem lines are looked at this often
  std::chrono::milliseconds FiStpTmo{1000};  // StpThr waits this long for each thread

  // State, read-only for others.
  std::atomic<bool> FbIoThrRun{false};
  std::atomic<bool> FbRxcThrRun{false};
  std::atomic<std::uint32_t> FdwMdmEvt{0};
  std::atomic<std::uint64_t> FiEmpRdCnt{0};  // silent reads completed (diagnostics)
  std::atomic<std::uint64_t> FiRxdCnt{0};    // bytes read from the line, kept or not

  // The system calls that move one byte on a POSIX port; null: ::read and
  // ::write. A test puts failures of the line in their place. (The Win32
  // build moves its bytes with overlapped ReadFile and WriteFile.)
  std::function<std::ptrdiff_t(int fd, void* buf, std::size_t n)> FRdSys;
  std::function<std::ptrdiff_t(int fd, const void* buf, std::size_t n)> FWrSys;

  TComEvt FOnComPrtComEvt;
  TCtlEvt FOnComPrtCtlEvt;
  TErrEvt FOnComPrtErrEvt;
  TLerEvt FOnComPrtLerEvt;
  TGetChr FOnGetTxdChr;
  TPutChr FOnPutTxdChr;
  TDatAvl FOnTxdDatAvl;
  TGetChr FOnGetRxdChr;
  TPutChr FOnPutRxdChr;
  TDatAvl FOnRxdDatAvl;

private:
  // I/O thread events.
  enum : unsigned { IE_STP = 0, IE_RD_CPL = 1, IE_RD_STA = 2, IE_WR_CPL = 3, IE_SND = 4,
                    IE_MDM_CPL = 5, IE_MDM_STA = 6 };
  // Receive controller events.
  enum : unsigned { RE_STP = 0, RE_DAT = 1, RE_MDM = 2, RE_IO_END = 4 };

  bool StaThrImp();
  class TIoRun;
  // OpnPrt's steps: closing what is open, opening the device, setting it up
  // and starting the threads.
  TeOpnPrt ClsForOpn(bool& don);
  TeOpnPrt OpnDev(int& fd);
  TeOpnPrt SetUpDev(int fd);
  void IoThr(int fd);
  void RxcThr();
  bool Qt() const { return FbBlkCbk; }
  void FirErr(std::int8_t code, const std::string& text);
  void FirLer(std::uint32_t num, std::uint32_t err);
  void EndQt();
  bool WaiEnd(std::atomic<bool>& run, std::thread& thr);
  // Closes the port without waiting for unsent output (a terminal's close
  // would wait for it to drain, up to 30 s); adds what was thrown away to FiTxDrp.
  bool ClsPrt();
  // Empties the transmit buffer into FiTxDrp.
  void DrpTxd();
  // Empties the receive buffer.
  void DrpRxd();
  std::atomic<std::uint64_t> FiTxDrp{0};
  bool FbPrtHld = false;
  bool FbLinGon = false;

  void* FpOwn;
  bool FbCrt = false;
  // The open port: a descriptor, -1 when closed.
  std::atomic<int> FhPrt{-1};
  // What only one platform's implementation holds (the Win32 build: the
  // port's handle, the events, the overlapped records and the threads).
  struct TPlf;
  std::unique_ptr<TPlf> FpPlf;
  TLnkEvt FphIoEvt;
  TLnkEvt FphRxcEvt;
  std::thread FhIoThr;
  std::thread FhRxcThr;
  std::mutex FmtxEnd;
  std::condition_variable FcvEnd;
  // The report of an I/O thread that ended by itself; written before RE_IO_END
  // is signalled, read by the receive controller after it.
  TeComErr FeIoErr = CE_IO_THR;
  std::string FsIoErr;
  std::uint8_t FpTxdBuf[1] = {0};
};
