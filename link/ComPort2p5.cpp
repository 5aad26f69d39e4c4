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
#include "link/SerLin.h"

// The POSIX build keeps all its state in the class itself.
struct TComport2p5::TPlf {};

namespace {

const char* const GcTxtPrtUnd = "Error #003, trying to access comport function while comport is not defined";
const char* const GcTxtRxcThr = "Error in 'bRxDataController' thread function";
const char* const GcTxtCbk =
    "Callback function pointers:\n"
    "- FOnComPrtComEvt\n- FOnComPrtCtlEvt\n- FOnComPrtErrEvt\n"
    "should be assigned to functions\nto read received data.\n"
    "- FOnComPrtLerEvt\n not obligatory, for debugging only";

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
  FbPrtHld = (o.Stp == TeTtyOpn::Opn && o.Err == EBUSY) || (o.Stp == TeTtyOpn::Lck && o.Err == EWOULDBLOCK);
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
    // has gone, the settings are not the trouble. Asked for nothing, the
    // poll reports only a hang-up or an error.
    pollfd p{fd, 0, 0};
    FbLinGon = ::poll(&p, 1, 0) > 0;
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
