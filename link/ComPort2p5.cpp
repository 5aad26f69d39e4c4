#include "link/ComPort2p5.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "core/Globals.h"
#include "core/Seams.h"
#include "link/MtxAndRbf.h"
#include "link/PrtNam.h"

namespace {

using TClk = std::chrono::steady_clock;

const char* const GcTxtPrtUnd = "Error #003, trying to access comport function while comport is not defined";
const char* const GcTxtRxFul = "Rx ringbuffer is full";
const char* const GcTxtDevLst = "Error #004, comport device lost";
const char* const GcTxtIoThr = "Error #005, comport I/O thread failed";
const char* const GcTxtRxcThr = "Error in 'bRxDataController' thread function";
const char* const GcTxtCbk =
    "Callback function pointers:\n"
    "- FOnComPrtComEvt\n- FOnComPrtCtlEvt\n- FOnComPrtErrEvt\n"
    "should be assigned to functions\nto read received data.\n"
    "- FOnComPrtLerEvt\n not obligatory, for debugging only";

// Errors that mean the device has gone (hang-up, USB cable pulled).
bool IsLstErr(int e) { return e == EIO || e == ENXIO || e == ENODEV || e == EPIPE || e == EBADF; }

// Milliseconds from now until t, rounded up, never negative.
int MsTil(TClk::time_point t, TClk::time_point now) {
  if (t <= now) return 0;
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(t - now + std::chrono::microseconds(999));
  return static_cast<int>(std::min<std::chrono::milliseconds::rep>(ms.count(), 1000000));
}

int MinTmo(int a, int b) {
  if (a < 0) return b;
  if (b < 0) return a;
  return std::min(a, b);
}

// Outcome of a one-byte read or write.
enum class TeIoRes { Don, Emp, Lst, Err };

}  // namespace

TComport2p5::TQtFlg& TComport2p5::TQtFlg::operator=(bool v) {
  const bool old = FbVal.exchange(v, std::memory_order_acq_rel);
  if (old && !v) FOwn.EndQt();
  return *this;
}

TComport2p5::TComport2p5(void* owner) : FpOwn(owner) {
  if (!FphIoEvt.Ok() || !FphRxcEvt.Ok()) {
    GuLstErrMsg = "Comport event creation error";
    return;
  }
  FbCrt = true;
}

TComport2p5::~TComport2p5() {
  StpThr();
  // A thread that did not end in time is waited for all the same: nothing it
  // uses may be released before it has ended.
  if (FhIoThr.joinable()) FhIoThr.join();
  if (FhRxcThr.joinable()) FhRxcThr.join();
  if (FbCrt) {
    if (!FphIoEvt.Cls()) {
      ShwMsgBox("Handle close error", "");
      PrcMsg();
    }
    if (!FphRxcEvt.Cls()) {
      ShwMsgBox("Handle close error", "");
      PrcMsg();
    }
  }
  ClsPrt();
}

void TComport2p5::FirErr(std::int8_t code, const std::string& text) {
  if (!Qt() && FOnComPrtErrEvt) FOnComPrtErrEvt(this, code, text);
}

void TComport2p5::FirLer(std::uint32_t num, std::uint32_t err) {
  if (!Qt() && FOnComPrtLerEvt) FOnComPrtLerEvt(this, num, err);
}

void TComport2p5::EndQt() {
  // What was queued meanwhile goes out now; the receive controller looks once
  // more for bytes it has not delivered.
  if (!FbCrt) return;
  FphIoEvt.Set(IE_SND);
  FphRxcEvt.Set(RE_DAT);
}

bool TComport2p5::ClsPrt() {
  const int fd = FhPrt.exchange(-1);
  if (fd < 0) return true;
  int q = 0;
  if (::ioctl(fd, TIOCOUTQ, &q) == 0 && q > 0) FiTxDrp.fetch_add(static_cast<std::uint64_t>(q));
  ::tcflush(fd, TCOFLUSH);
  ::ioctl(fd, TIOCNXCL);
  return ::close(fd) == 0;
}

void TComport2p5::DrpRxd() {
  if (!FOnGetRxdChr) return;
  std::uint8_t b;
  while (FOnGetRxdChr(b)) {
  }
}

void TComport2p5::DrpTxd() {
  if (!FOnGetTxdChr) return;
  std::uint8_t b;
  std::uint64_t n = 0;
  while (FOnGetTxdChr(b)) ++n;
  FiTxDrp.fetch_add(n);
}

TOpnPrtRes TComport2p5::OpnPrt() {
  if (!FOnComPrtComEvt || !FOnComPrtCtlEvt || !FOnComPrtErrEvt) {
    ShwMsgBox(GcTxtCbk, "Comport error message");
    PrcMsg();
    return TeOpnPrt::NoCbk;
  }
  bool don = false;
  if (const TeOpnPrt r = ClsForOpn(don); r != TeOpnPrt::Ok || don) return r;
  FbPrtHld = false;
  FbLinGon = false;
  int fd = -1;
  if (const TeOpnPrt r = OpnDev(fd); r != TeOpnPrt::Ok) return r;
  return SetUpDev(fd);
}

TeOpnPrt TComport2p5::ClsForOpn(bool& don) {
  const std::uint64_t drp = FiTxDrp.load();
  if (!StpThr()) return TeOpnPrt::ThrStp;
  if (!PrtOpn()) {
    // Whatever the buffers hold belongs to a link that has ended (a byte may
    // slip into the transmit buffer while a vanishing device is being
    // closed): none of it may reach the robot, or the receive handler, of the
    // port opened now.
    DrpTxd();
    DrpRxd();
    return TeOpnPrt::Ok;
  }
  if (!ClsPrt()) return TeOpnPrt::PrtCls;
  // Queued bytes stay queued for the reopened port, unless bytes before
  // them have been lost in the close: then they are the rest of a frame
  // whose start never reached the line, and go too.
  if (FiTxDrp.load() != drp) DrpTxd();
  PrcMsg();
  // An open started by one of those events has done the work already.
  if (!PrtOpn()) return TeOpnPrt::Ok;
  don = true;
  return FbIoThrRun && FbRxcThrRun ? TeOpnPrt::Ok : TeOpnPrt::NoPrt;
}

TeOpnPrt TComport2p5::OpnDev(int& fd) {
  const std::string pth = PrtDevPth(FsPrtNam);
  if (pth.empty()) return TeOpnPrt::NoPrt;
  const TTtyOpn o = OpnTty(pth);
  // A terminal that another program has opened for itself alone, or holds
  // by a lock on the device.
  if (o.Stp == TeTtyOpn::Opn) FbPrtHld = o.Err == EBUSY;
  if (o.Stp == TeTtyOpn::Lck) FbPrtHld = o.Err == EWOULDBLOCK;
  if (o.Stp != TeTtyOpn::Ok) return TeOpnPrt::NoPrt;
  // Or by a lock file as the serial programs take them.
  if (PrtInUse(pth)) {
    FbPrtHld = true;
    ::close(o.Fd);
    return TeOpnPrt::NoPrt;
  }
  fd = o.Fd;
  return TeOpnPrt::Ok;
}

TeOpnPrt TComport2p5::SetUpDev(int fd) {
  ::ioctl(fd, TIOCEXCL);
  FhPrt.store(fd);
  const int fl = ::fcntl(fd, F_GETFL);
  if (fl < 0 || ::fcntl(fd, F_SETFL, fl | O_NONBLOCK) != 0) {
    ClsPrt();
    return TeOpnPrt::NonBlk;
  }
  if (!SetLinCfg(fd, BauRat(FbyBauIdx), FbyDatBts, FbyPrt, FbyStpBts)) {
    // A line that hung up meanwhile refuses every setting: the robot's end
    // has gone, the settings are not the trouble.
    pollfd p{fd, 0, 0};
    FbLinGon = ::poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR)) != 0;
    return TeOpnPrt::LinSet;
  }
  if (!StaThrImp()) return TeOpnPrt::ThrSta;
  if (!FphIoEvt.Set(IE_RD_STA)) {
    ShwMsgBox("Reading - Master", "SetEvent() error");
    return TeOpnPrt::EvtSig;
  }
  if (FbMdmEvt && !FphIoEvt.Set(IE_MDM_STA)) {
    ShwMsgBox("Modemevents - Master", "SetEvent() error");
    return TeOpnPrt::EvtSig;
  }
  return TeOpnPrt::Ok;
}

bool TComport2p5::SndChr(std::uint8_t b) {
  if (!PrtOpn()) {
    FirErr(CE_PRT_UND, GcTxtPrtUnd);
    GuLstErrMsg = "Comport is not defined";
    return false;
  }
  // Also in the quiet period: the byte waits in the transmit buffer until the
  // period ends.
  if (!FOnPutTxdChr) {
    GuLstErrMsg = "Comport transmit buffer is not assigned";
    return false;
  }
  if (!FOnPutTxdChr(b)) return false;
  if (!FphIoEvt.Set(IE_SND)) {
    GuLstErrMsg = "SetEvent error";
    return false;
  }
  return true;
}

bool TComport2p5::StaThrImp() {
  if (!FbCrt || FbIoThrRun || FbRxcThrRun) return false;
  if (FhIoThr.joinable()) FhIoThr.join();
  if (FhRxcThr.joinable()) FhRxcThr.join();
  // Signals left from threads that have ended mean nothing to new ones; the
  // requests to read, send and wait stay.
  FphIoEvt.Rst(IE_STP);
  FphIoEvt.Rst(IE_RD_CPL);
  FphIoEvt.Rst(IE_WR_CPL);
  FphIoEvt.Rst(IE_MDM_CPL);
  FphRxcEvt.Rst(RE_STP);
  FphRxcEvt.Rst(RE_IO_END);
  const int fd = FhPrt.load();
  FbIoThrRun = true;
  try {
    FhIoThr = std::thread(&TComport2p5::IoThr, this, fd);
  } catch (...) {
    FbIoThrRun = false;
    return false;
  }
  FbRxcThrRun = true;
  try {
    FhRxcThr = std::thread(&TComport2p5::RxcThr, this);
  } catch (...) {
    FbRxcThrRun = false;
    return false;
  }
  // Bytes queued while no thread ran go out now.
  FphIoEvt.Set(IE_SND);
  return true;
}

bool TComport2p5::StaThr() {
  if (!StaThrImp()) return false;
  if (PrtOpn()) {
    if (!FphIoEvt.Set(IE_RD_STA)) return false;
    if (FbMdmEvt && !FphIoEvt.Set(IE_MDM_STA)) return false;
  }
  return true;
}

bool TComport2p5::WaiEnd(std::atomic<bool>& run, std::thread& thr) {
  {
    std::unique_lock<std::mutex> lk(FmtxEnd);
    FcvEnd.wait_for(lk, FiStpTmo, [&] { return !run.load(); });
  }
  if (!run.load() && thr.joinable() && thr.get_id() != std::this_thread::get_id()) thr.join();
  return !run.load();
}

bool TComport2p5::StpThr() {
  if (FbIoThrRun) FphIoEvt.Set(IE_STP);
  WaiEnd(FbIoThrRun, FhIoThr);
  if (FbRxcThrRun) FphRxcEvt.Set(RE_STP);
  WaiEnd(FbRxcThrRun, FhRxcThr);
  return !FbIoThrRun && !FbRxcThrRun;
}

void TComport2p5::IoThr(int fd) {
  LnkMrkWrkThr();
  const std::uint32_t msk = ComEvtMsk(FstComEvt);
  const auto rdTmo = FiRdTmo;
  const auto smpItv = FiMdmSmp;

  // The read: outstanding from its start until its completion has been
  // handled; waiting while the port has nothing.
  bool rdOut = false, rdWai = false;
  TClk::time_point rdDue{};
  TeIoRes rdRes = TeIoRes::Emp;
  std::uint8_t rdByt = 0;
  int rdErr = 0;
  // The write, likewise; sndAgn: a send request came while it was out.
  bool wrOut = false, wrWai = false, sndAgn = false;
  TeIoRes wrRes = TeIoRes::Don;
  int wrErr = 0;
  // The modem-event wait.
  bool mdmOut = false, mdmCpl = false, mdmLin = false;
  std::uint32_t mdmWnt = 0, mdmRes = 0;
  TMdmSmp mdmBas;
  TClk::time_point mdmDue{};

  bool fail = false;
  TeComErr errCod = CE_IO_THR;
  const char* errTxt = GcTxtIoThr;
  auto endFail = [&](TeComErr c, const char* t) {
    fail = true;
    errCod = c;
    errTxt = t;
  };

  auto doRd = [&]() -> bool {  // true when the read has completed
    std::uint8_t b;
    const ssize_t n = ::read(fd, &b, 1);
    if (n == 1) {
      rdRes = TeIoRes::Don;
      rdByt = b;
      return true;
    }
    if (n == 0) {  // end of file: the line has hung up
      rdRes = TeIoRes::Lst;
      rdErr = 0;
      return true;
    }
    if (errno == EAGAIN || errno == EINTR) return false;
    rdErr = errno;
    rdRes = IsLstErr(errno) ? TeIoRes::Lst : TeIoRes::Err;
    return true;
  };
  auto doWr = [&]() -> bool {
    const ssize_t n = ::write(fd, FpTxdBuf, 1);
    if (n == 1) {
      wrRes = TeIoRes::Don;
      return true;
    }
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) return false;
    wrErr = n < 0 ? errno : 0;
    wrRes = n < 0 && !IsLstErr(errno) ? TeIoRes::Err : TeIoRes::Lst;
    return true;
  };
  auto cplMdm = [&](std::uint32_t m) {
    mdmRes |= m;
    if (!mdmCpl) {
      mdmCpl = true;
      FphIoEvt.SetLoc(IE_MDM_CPL);
    }
  };

  for (;;) {
    // Turn the port's readiness, the silent-read time and the modem lines
    // into completions.
    auto now = TClk::now();
    pollfd pp{fd, 0, 0};
    if (rdWai) pp.events |= POLLIN;
    if (wrWai) pp.events |= POLLOUT;
    int tmo = -1;
    if (rdWai) tmo = MsTil(rdDue, now);
    if (mdmOut && !mdmCpl && mdmLin) tmo = MinTmo(tmo, MsTil(mdmDue, now));
    if (!FphIoEvt.Wai(pp.events ? &pp : nullptr, tmo)) {
      endFail(CE_IO_THR, GcTxtIoThr);
      break;
    }
    const short hup = POLLHUP | POLLERR | POLLNVAL;
    now = TClk::now();
    if (rdWai && (pp.revents & (POLLIN | hup))) {
      bool cpl = doRd();
      if (!cpl && (pp.revents & hup)) {
        rdRes = TeIoRes::Lst;
        rdErr = 0;
        cpl = true;
      }
      if (cpl) {
        rdWai = false;
        FphIoEvt.SetLoc(IE_RD_CPL);
      }
    }
    if (rdWai && now >= rdDue) {
      rdRes = TeIoRes::Emp;
      rdWai = false;
      FphIoEvt.SetLoc(IE_RD_CPL);
    }
    if (wrWai && (pp.revents & (POLLOUT | hup))) {
      bool cpl = doWr();
      if (!cpl && (pp.revents & hup)) {
        wrRes = TeIoRes::Lst;
        wrErr = 0;
        cpl = true;
      }
      if (cpl) {
        wrWai = false;
        FphIoEvt.SetLoc(IE_WR_CPL);
      }
    }
    if (mdmOut && !mdmCpl && mdmLin && now >= mdmDue) {
      const TMdmSmp s = SmpMdm(fd);
      if (const std::uint32_t m = MdmEvt(mdmBas, s) & mdmWnt) cplMdm(m);
      mdmDue = now + smpItv;
    }

    const int ev = FphIoEvt.Tak();
    if (ev < 0) continue;
    if (ev == IE_STP) {
      // A byte taken for writing that the line has not accepted yet.
      if (wrOut && wrWai) FiTxDrp.fetch_add(1);
      break;
    }
    if (ev == IE_RD_STA) {
      if (fd < 0 || rdOut) continue;
      rdOut = true;
      rdDue = now + rdTmo;
      if (doRd())
        FphIoEvt.SetLoc(IE_RD_CPL);
      else
        rdWai = true;
    } else if (ev == IE_RD_CPL) {
      if (!rdOut) continue;
      rdOut = false;
      if (rdRes == TeIoRes::Don) {
        FiRxdCnt.fetch_add(1, std::memory_order_relaxed);
        if (!Qt() && FOnPutRxdChr && !FOnPutRxdChr(rdByt)) {
          endFail(CE_RX_FUL, GcTxtRxFul);
          break;
        }
        FphRxcEvt.Set(RE_DAT);
        if (mdmOut) {
          std::uint32_t m = mdmWnt & EV_RXCHAR;
          if (rdByt == 0) m |= mdmWnt & EV_RXFLAG;  // the event character is 0
          if (m) cplMdm(m);
        }
      } else if (rdRes == TeIoRes::Emp) {
        FiEmpRdCnt.fetch_add(1, std::memory_order_relaxed);
      } else if (rdRes == TeIoRes::Lst) {
        FirLer(23, static_cast<std::uint32_t>(rdErr));
        endFail(CE_DEV_LST, GcTxtDevLst);
        break;
      } else {
        FirLer(29, static_cast<std::uint32_t>(rdErr));
        endFail(CE_IO_THR, GcTxtIoThr);
        break;
      }
      FphIoEvt.SetLoc(IE_RD_STA);
    } else if (ev == IE_SND) {
      if (fd < 0 || Qt() || !FOnGetTxdChr) continue;
      if (wrOut) {
        sndAgn = true;
        continue;
      }
      if (!FOnGetTxdChr(FpTxdBuf[0])) continue;
      wrOut = true;
      if (doWr())
        FphIoEvt.SetLoc(IE_WR_CPL);
      else
        wrWai = true;
    } else if (ev == IE_WR_CPL) {
      if (!wrOut) continue;
      wrOut = false;
      if (wrRes != TeIoRes::Don) FiTxDrp.fetch_add(1);  // the byte did not go out
      if (wrRes == TeIoRes::Lst) {
        FirLer(69, static_cast<std::uint32_t>(wrErr));
        endFail(CE_DEV_LST, GcTxtDevLst);
        break;
      }
      if (wrRes == TeIoRes::Err) {
        FirLer(89, static_cast<std::uint32_t>(wrErr));
        endFail(CE_IO_THR, GcTxtIoThr);
        break;
      }
      const bool more = sndAgn || Qt() || !FOnTxdDatAvl || FOnTxdDatAvl();
      sndAgn = false;
      if (more)
        FphIoEvt.SetLoc(IE_SND);
      else if (mdmOut && (mdmWnt & EV_TXEMPTY))
        cplMdm(EV_TXEMPTY);
    } else if (ev == IE_MDM_STA) {
      if (fd < 0 || mdmOut) continue;
      mdmWnt = msk;
      mdmLin = false;
      if (msk & GcLinEvtMsk) {
        mdmBas = SmpMdm(fd);
        mdmLin = mdmBas.Cnt || mdmBas.Lin;
        if (!mdmLin) mdmWnt &= ~GcLinEvtMsk;  // a device without modem lines
      }
      if (mdmWnt == 0) continue;  // nothing this device can report
      mdmOut = true;
      mdmCpl = false;
      mdmRes = 0;
      mdmDue = now + smpItv;
    } else if (ev == IE_MDM_CPL) {
      if (!mdmOut) continue;
      mdmOut = false;
      mdmCpl = false;
      FdwMdmEvt.store(mdmRes);
      mdmRes = 0;
      FphRxcEvt.Set(RE_MDM);
      FphIoEvt.SetLoc(IE_MDM_STA);
    }
  }

  if (fail) {
    // The link has ended by itself: close the port at once (a USB device that
    // comes back gets its old name only when nobody holds the old one), and let
    // the receive controller deliver what it has and then report. What waits
    // to be sent will never reach this line.
    if (wrOut && wrWai) FiTxDrp.fetch_add(1);
    DrpTxd();
    ClsPrt();
    FeIoErr = errCod;
    FsIoErr = errTxt;
    FphRxcEvt.Set(RE_IO_END);
  }
  {
    std::lock_guard<std::mutex> lk(FmtxEnd);
    FbIoThrRun = false;
  }
  FcvEnd.notify_all();
}

void TComport2p5::RxcThr() {
  LnkMrkWrkThr();
  // Below normal priority: one step nicer than the process.
  const pid_t tid = ::gettid();
  errno = 0;
  const int nic = ::getpriority(PRIO_PROCESS, static_cast<id_t>(tid));
  if (errno == 0) ::setpriority(PRIO_PROCESS, static_cast<id_t>(tid), nic + 1);

  bool fail = false;
  for (;;) {
    const int ev = FphRxcEvt.Tak();
    if (ev < 0) {
      if (!FphRxcEvt.Wai(nullptr, -1)) {
        fail = true;
        break;
      }
      continue;
    }
    if (ev == RE_STP) break;
    if (ev == RE_DAT) {
      if (Qt() || !FOnGetRxdChr) continue;
      if (FOnRxdDatAvl && !FOnRxdDatAvl()) continue;
      std::uint8_t b;
      if (!FOnGetRxdChr(b)) continue;
      if (FbSglChr) {
        if (FOnComPrtComEvt && !Qt()) FOnComPrtComEvt(this, 2, 0, b);
        FphRxcEvt.SetLoc(RE_DAT);  // the next byte in a later pass
      } else {
        FirErr(CE_SGL_CHR, "Comport not in signle character mode");
      }
    } else if (ev == RE_MDM) {
      if (!Qt() && FOnComPrtCtlEvt) FOnComPrtCtlEvt(this, FdwMdmEvt.load());
    } else if (ev == RE_IO_END) {
      // Reached only when no received byte is left to deliver.
      FirErr(FeIoErr, FsIoErr);
      break;
    } else {
      fail = true;
      break;
    }
  }
  if (fail) FirErr(CE_RXC_THR, GcTxtRxcThr);
  {
    std::lock_guard<std::mutex> lk(FmtxEnd);
    FbRxcThrRun = false;
  }
  FcvEnd.notify_all();
}
