// The serial component's I/O thread: one read, one write and one modem-event
// wait outstanding at a time, driven by the thread's events and by the port's
// readiness.
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "link/ComPort2p5.h"
#include "link/MtxAndRbf.h"
#include "link/SerLin.h"

namespace {

using TClk = std::chrono::steady_clock;

const char* const GcTxtRxFul = "Rx ringbuffer is full";
const char* const GcTxtDevLst = "Error #004, comport device lost";
const char* const GcTxtIoThr = "Error #005, comport I/O thread failed";

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

// One run of the I/O thread on the port fd.
class TComport2p5::TIoRun {
public:
  TIoRun(TComport2p5& c, int fd)
      : C(c), Fd(fd), Msk(ComEvtMsk(c.FstComEvt)), RdTmo(c.FiRdTmo), SmpItv(c.FiMdmSmp) {}

  void Run() {
    for (;;) {
      if (!Wai()) {
        Fail(CE_IO_THR, GcTxtIoThr);
        break;
      }
      const int ev = C.FphIoEvt.Tak();
      if (ev >= 0 && !Hdl(ev)) break;
    }
    End();
  }

private:
  // Waits, then turns the port's readiness, the silent-read time and the
  // modem lines into completions; false when the wait itself failed.
  bool Wai() {
    pollfd pp{Fd, 0, 0};
    if (RdWai) pp.events |= POLLIN;
    if (WrWai) pp.events |= POLLOUT;
    const auto now = TClk::now();
    int tmo = -1;
    if (RdWai) tmo = MsTil(RdDue, now);
    if (MdmSmp()) tmo = MinTmo(tmo, MsTil(MdmDue, now));
    if (!C.FphIoEvt.Wai(pp.events ? &pp : nullptr, tmo)) return false;
    Now = TClk::now();
    PolRd(pp.revents);
    PolWr(pp.revents);
    if (MdmSmp() && Now >= MdmDue) {
      const TMdmSmp s = SmpMdm(Fd);
      if (const std::uint32_t m = MdmEvt(MdmBas, s) & MdmWnt) CplMdm(m);
      MdmDue = Now + SmpItv;
    }
    return true;
  }

  static constexpr short GcHup = POLLHUP | POLLERR | POLLNVAL;

  void PolRd(short rev) {
    if (RdWai && (rev & (POLLIN | GcHup))) {
      bool cpl = DoRd();
      if (!cpl && (rev & GcHup)) {
        RdRes = TeIoRes::Lst;
        RdErr = 0;
        cpl = true;
      }
      if (cpl) {
        RdWai = false;
        C.FphIoEvt.SetLoc(IE_RD_CPL);
      }
    }
    if (RdWai && Now >= RdDue) {
      RdRes = TeIoRes::Emp;
      RdWai = false;
      C.FphIoEvt.SetLoc(IE_RD_CPL);
    }
  }

  void PolWr(short rev) {
    if (!WrWai || !(rev & (POLLOUT | GcHup))) return;
    bool cpl = DoWr();
    if (!cpl && (rev & GcHup)) {
      WrRes = TeIoRes::Lst;
      WrErr = 0;
      cpl = true;
    }
    if (cpl) {
      WrWai = false;
      C.FphIoEvt.SetLoc(IE_WR_CPL);
    }
  }

  // One event; false when the thread ends.
  bool Hdl(int ev) {
    switch (ev) {
      case IE_STP:
        // A byte taken for writing that the line has not accepted yet.
        if (WrOut && WrWai) C.FiTxDrp.fetch_add(1);
        return false;
      case IE_RD_STA: RdSta(); return true;
      case IE_RD_CPL: return RdEnd();
      case IE_SND: Snd(); return true;
      case IE_WR_CPL: return WrEnd();
      case IE_MDM_STA: MdmSta(); return true;
      case IE_MDM_CPL: MdmEnd(); return true;
      default: return true;
    }
  }

  // True when the read has completed.
  bool DoRd() {
    std::uint8_t b;
    const ssize_t n = C.FRdSys ? C.FRdSys(Fd, &b, 1) : ::read(Fd, &b, 1);
    if (n == 1) {
      RdRes = TeIoRes::Don;
      RdByt = b;
      return true;
    }
    if (n == 0) {  // end of file: the line has hung up
      RdRes = TeIoRes::Lst;
      RdErr = 0;
      return true;
    }
    if (errno == EAGAIN || errno == EINTR) return false;
    RdErr = errno;
    RdRes = IsLstErr(errno) ? TeIoRes::Lst : TeIoRes::Err;
    return true;
  }

  bool DoWr() {
    const ssize_t n = C.FWrSys ? C.FWrSys(Fd, C.FpTxdBuf, 1) : ::write(Fd, C.FpTxdBuf, 1);
    if (n == 1) {
      WrRes = TeIoRes::Don;
      return true;
    }
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) return false;
    WrErr = n < 0 ? errno : 0;
    WrRes = n < 0 && !IsLstErr(errno) ? TeIoRes::Err : TeIoRes::Lst;
    return true;
  }

  void RdSta() {
    if (Fd < 0 || RdOut) return;
    RdOut = true;
    RdDue = Now + RdTmo;
    if (DoRd())
      C.FphIoEvt.SetLoc(IE_RD_CPL);
    else
      RdWai = true;
  }

  // The read has completed: hand the byte on and start the next read.
  bool RdEnd() {
    if (!RdOut) return true;
    RdOut = false;
    switch (RdRes) {
      case TeIoRes::Don:
        if (!RdByte()) return false;
        break;
      case TeIoRes::Emp: C.FiEmpRdCnt.fetch_add(1, std::memory_order_relaxed); break;
      case TeIoRes::Lst:
        C.FirLer(23, static_cast<std::uint32_t>(RdErr));
        Fail(CE_DEV_LST, GcTxtDevLst);
        return false;
      case TeIoRes::Err:
        C.FirLer(29, static_cast<std::uint32_t>(RdErr));
        Fail(CE_IO_THR, GcTxtIoThr);
        return false;
    }
    C.FphIoEvt.SetLoc(IE_RD_STA);
    return true;
  }

  // A byte has been read; false when the receive buffer refused it.
  bool RdByte() {
    C.FiRxdCnt.fetch_add(1, std::memory_order_relaxed);
    if (!C.Qt() && C.FOnPutRxdChr && !C.FOnPutRxdChr(RdByt)) {
      Fail(CE_RX_FUL, GcTxtRxFul);
      return false;
    }
    C.FphRxcEvt.Set(RE_DAT);
    if (MdmOut) {
      std::uint32_t m = MdmWnt & EV_RXCHAR;
      if (RdByt == 0) m |= MdmWnt & EV_RXFLAG;  // the event character is 0
      if (m) CplMdm(m);
    }
    return true;
  }

  void Snd() {
    if (Fd < 0 || C.Qt() || !C.FOnGetTxdChr) return;
    if (WrOut) {
      SndAgn = true;
      return;
    }
    if (!C.FOnGetTxdChr(C.FpTxdBuf[0])) return;
    WrOut = true;
    if (DoWr())
      C.FphIoEvt.SetLoc(IE_WR_CPL);
    else
      WrWai = true;
  }

  // The write taken by Snd() has completed (only it and PolWr() announce
  // one, each while WrOut holds): the next byte, or the transmitter is empty.
  bool WrEnd() {
    WrOut = false;
    if (WrRes != TeIoRes::Don) C.FiTxDrp.fetch_add(1);  // the byte did not go out
    if (WrRes == TeIoRes::Lst) {
      C.FirLer(69, static_cast<std::uint32_t>(WrErr));
      Fail(CE_DEV_LST, GcTxtDevLst);
      return false;
    }
    if (WrRes == TeIoRes::Err) {
      C.FirLer(89, static_cast<std::uint32_t>(WrErr));
      Fail(CE_IO_THR, GcTxtIoThr);
      return false;
    }
    const bool more = SndAgn || C.Qt() || !C.FOnTxdDatAvl || C.FOnTxdDatAvl();
    SndAgn = false;
    if (more)
      C.FphIoEvt.SetLoc(IE_SND);
    else if (MdmOut && (MdmWnt & EV_TXEMPTY))
      CplMdm(EV_TXEMPTY);
    return true;
  }

  // A wait on the modem lines is outstanding and they are sampled for it.
  bool MdmSmp() const { return MdmOut && !MdmCpl && MdmLin; }

  void MdmSta() {
    if (Fd < 0 || MdmOut) return;
    MdmWnt = Msk;
    MdmLin = false;
    if (Msk & GcLinEvtMsk) {
      MdmBas = SmpMdm(Fd);
      MdmLin = MdmBas.Cnt || MdmBas.Lin;
      if (!MdmLin) MdmWnt &= ~GcLinEvtMsk;  // a device without modem lines
    }
    if (MdmWnt == 0) return;  // nothing this device can report
    MdmOut = true;
    MdmCpl = false;
    MdmRes = 0;
    MdmDue = Now + SmpItv;
  }

  void CplMdm(std::uint32_t m) {
    MdmRes |= m;
    if (!MdmCpl) {
      MdmCpl = true;
      C.FphIoEvt.SetLoc(IE_MDM_CPL);
    }
  }

  void MdmEnd() {
    if (!MdmOut) return;
    MdmOut = false;
    MdmCpl = false;
    C.FdwMdmEvt.store(MdmRes);
    MdmRes = 0;
    C.FphRxcEvt.Set(RE_MDM);
    C.FphIoEvt.SetLoc(IE_MDM_STA);
  }

  void Fail(TeComErr c, const char* t) {
    FbFail = true;
    ErrCod = c;
    ErrTxt = t;
  }

  void End() {
    if (FbFail) {
      // The link has ended by itself: close the port at once (a USB device
      // that comes back gets its old name only when nobody holds the old one),
      // and let the receive controller deliver what it has and then report.
      // What waits to be sent will never reach this line.
      if (WrOut && WrWai) C.FiTxDrp.fetch_add(1);
      C.DrpTxd();
      C.ClsPrt();
      C.FeIoErr = ErrCod;
      C.FsIoErr = ErrTxt;
      C.FphRxcEvt.Set(RE_IO_END);
    }
    {
      std::lock_guard<std::mutex> lk(C.FmtxEnd);
      C.FbIoThrRun = false;
    }
    C.FcvEnd.notify_all();
  }

  TComport2p5& C;
  const int Fd;
  const std::uint32_t Msk;
  const std::chrono::milliseconds RdTmo, SmpItv;
  TClk::time_point Now{};
  // The read: outstanding from its start until its completion has been
  // handled; waiting while the port has nothing.
  bool RdOut = false, RdWai = false;
  TClk::time_point RdDue{};
  TeIoRes RdRes = TeIoRes::Emp;
  std::uint8_t RdByt = 0;
  int RdErr = 0;
  // The write, likewise; SndAgn: a send request came while it was out.
  bool WrOut = false, WrWai = false, SndAgn = false;
  TeIoRes WrRes = TeIoRes::Don;
  int WrErr = 0;
  // The modem-event wait.
  bool MdmOut = false, MdmCpl = false, MdmLin = false;
  std::uint32_t MdmWnt = 0, MdmRes = 0;
  TMdmSmp MdmBas;
  TClk::time_point MdmDue{};
  bool FbFail = false;
  TeComErr ErrCod = CE_IO_THR;
  const char* ErrTxt = GcTxtIoThr;
};

void TComport2p5::IoThr(int fd) {
  LnkMrkWrkThr();
  TIoRun(*this, fd).Run();
}
