// The serial component's I/O thread on Win32: one overlapped read, one
// overlapped write and one WaitCommEvent outstanding at a time, each bound to
// its manual-reset event; the thread waits for its eight events with
// WaitForMultipleObjects and takes the results with GetOverlappedResult.
#include "link/ComPort2p5Win.h"

#include "link/MtxAndRbf.h"

namespace {

const char* const GcTxtRxFul = "Rx ringbuffer is full";
const char* const GcTxtDevLst = "Error #004, comport device lost";
const char* const GcTxtIoThr = "Error #005, comport I/O thread failed";

// Errors that mean the device has gone: the far end hung up, the USB cable
// was pulled, the driver gave the port up.
bool IsLstErr(DWORD e) {
  return e == ERROR_BROKEN_PIPE || e == ERROR_NOT_READY || e == ERROR_DEVICE_NOT_CONNECTED ||
         e == ERROR_BAD_COMMAND || e == ERROR_GEN_FAILURE || e == ERROR_ACCESS_DENIED ||
         e == ERROR_HANDLE_EOF || e == ERROR_OPERATION_ABORTED || e == ERROR_DEVICE_REMOVED;
}

// Failed completion queries in a row after which the thread gives up: the
// completion event stays signalled, so each failed query repeats at once.
constexpr int GcMaxQryRep = 1000;

}  // namespace

// One run of the I/O thread on the open port.
class TComport2p5::TIoRun {
public:
  explicit TIoRun(TComport2p5& c) : C(c), P(*c.FpPlf), H(P.Prt), Msk(ComEvtMsk(c.FstComEvt)) {}

  void Run() {
    for (;;) {
      const DWORD w = ::WaitForMultipleObjects(TPlf::GcIoCnt, P.Io, FALSE, INFINITE);
      if (w >= WAIT_OBJECT_0 + TPlf::GcIoCnt) {
        Fail(CE_IO_THR, GcTxtIoThr);
        break;
      }
      if (!Hdl(w - WAIT_OBJECT_0)) break;
    }
    End();
  }

private:
  // One event; false when the thread ends.
  bool Hdl(unsigned ev) {
    switch (ev) {
      case IE_STP: return false;
      case IE_RD_STA: return RdSta();
      case IE_RD_CPL: return RdEnd();
      case IE_SND: return Snd();
      case IE_WR_CPL: return WrEnd();
      case IE_MDM_STA: MdmSta(); return true;
      case IE_MDM_CPL: MdmEnd(); return true;
      default: return true;  // IE_END: ignored
    }
  }

  // Starts the one-byte read; its completion is handled at IE_RD_CPL.
  bool RdSta() {
    if (H == INVALID_HANDLE_VALUE || RdOut) return true;
    RdOut = true;
    DWORD n = 0;
    if (::ReadFile(H, &RdByt, 1, &n, &P.OvRd)) return true;
    const DWORD e = ::GetLastError();
    if (e == ERROR_IO_PENDING || e == 0) return true;
    RdOut = false;
    C.FirLer(e == ERROR_HANDLE_EOF ? 23 : 29, e);
    Fail(IsLstErr(e) ? CE_DEV_LST : CE_IO_THR, IsLstErr(e) ? GcTxtDevLst : GcTxtIoThr);
    return false;
  }

  // A failed completion query that leads back to waiting; false when it has
  // repeated too often.
  bool QryRep(std::uint32_t num, DWORD e) {
    C.FirLer(num, e);
    if (++QryCnt < GcMaxQryRep) return true;
    Fail(CE_IO_THR, GcTxtIoThr);
    return false;
  }

  // The read has completed: hand the byte on and start the next read.
  bool RdEnd() {
    if (!RdOut) {
      ::ResetEvent(P.Io[IE_RD_CPL]);
      return true;
    }
    DWORD n = 0;
    if (!::GetOverlappedResult(H, &P.OvRd, &n, FALSE)) {
      const DWORD e = ::GetLastError();
      switch (e) {
        case 0: return QryRep(41, e);
        case ERROR_INVALID_HANDLE: return QryRep(44, e);
        case ERROR_IO_INCOMPLETE: return QryRep(43, e);
        case ERROR_IO_PENDING: return QryRep(42, e);
        case ERROR_TIMEOUT: n = 0; break;  // a silent read, as some drivers end it
        default:
          RdOut = false;
          C.FirLer(49, e);
          Fail(IsLstErr(e) ? CE_DEV_LST : CE_IO_THR, IsLstErr(e) ? GcTxtDevLst : GcTxtIoThr);
          return false;
      }
    }
    QryCnt = 0;
    RdOut = false;
    if (n == 1) {
      if (!RdByte()) return false;
    } else {
      C.FiEmpRdCnt.fetch_add(1, std::memory_order_relaxed);
    }
    ::ResetEvent(P.Io[IE_RD_CPL]);
    ::SetEvent(P.Io[IE_RD_STA]);
    return true;
  }

  // A byte has been read; false when the receive buffer refused it.
  bool RdByte() {
    C.FiRxdCnt.fetch_add(1, std::memory_order_relaxed);
    if (!C.Qt() && C.FOnPutRxdChr && !C.FOnPutRxdChr(RdByt)) {
      Fail(CE_RX_FUL, GcTxtRxFul);
      return false;
    }
    ::SetEvent(P.Rxc[RE_DAT]);
    return true;
  }

  // Writes the next byte of the transmit buffer. While a write is out, the
  // request waits for its completion.
  bool Snd() {
    if (H == INVALID_HANDLE_VALUE || C.Qt() || !C.FOnGetTxdChr) return true;
    if (WrOut) {
      SndAgn = true;
      return true;
    }
    if (!C.FOnGetTxdChr(C.FpTxdBuf[0])) return true;
    WrOut = true;
    DWORD n = 0;
    if (!::WriteFile(H, C.FpTxdBuf, 1, &n, &P.OvWr)) {
      const DWORD e = ::GetLastError();
      if (e != ERROR_IO_PENDING) {
        WrOut = false;
        C.FiTxDrp.fetch_add(1);  // the byte did not go out
        if (e != 0) C.FirLer(69, e);
        Fail(IsLstErr(e) ? CE_DEV_LST : CE_IO_THR, IsLstErr(e) ? GcTxtDevLst : GcTxtIoThr);
        return false;
      }
    }
    return true;
  }

  // The write has completed: the next byte, or the transmitter is empty.
  bool WrEnd() {
    if (!WrOut) {
      ::ResetEvent(P.Io[IE_WR_CPL]);
      return true;
    }
    DWORD n = 0;
    if (!::GetOverlappedResult(H, &P.OvWr, &n, FALSE)) {
      const DWORD e = ::GetLastError();
      if (e == 0 || e == ERROR_IO_PENDING || e == ERROR_IO_INCOMPLETE) return QryRep(89, e);
      WrOut = false;
      C.FiTxDrp.fetch_add(1);
      C.FirLer(89, e);
      Fail(IsLstErr(e) ? CE_DEV_LST : CE_IO_THR, IsLstErr(e) ? GcTxtDevLst : GcTxtIoThr);
      return false;
    }
    QryCnt = 0;
    WrOut = false;
    if (n != 1) C.FiTxDrp.fetch_add(1);  // the write timed out
    ::ResetEvent(P.Io[IE_WR_CPL]);
    const bool more = SndAgn || C.Qt() || !C.FOnTxdDatAvl || C.FOnTxdDatAvl();
    SndAgn = false;
    if (more) ::SetEvent(P.Io[IE_SND]);
    return true;
  }

  // Starts WaitCommEvent. A port that cannot wait for its line events (a
  // driver without modem lines refuses the wait) is read and written all the
  // same; it reports no line events.
  void MdmSta() {
    if (H == INVALID_HANDLE_VALUE || MdmOut || MdmOff || Msk == 0) return;
    MdmOut = true;
    MdmMsk = 0;
    if (::WaitCommEvent(H, &MdmMsk, &P.OvMdm)) return;
    const DWORD e = ::GetLastError();
    if (e == ERROR_IO_PENDING) return;
    MdmOut = false;
    MdmOff = true;
  }

  void MdmEnd() {
    ::ResetEvent(P.Io[IE_MDM_CPL]);
    if (!MdmOut) return;
    MdmOut = false;
    DWORD n = 0;
    if (!::GetOverlappedResult(H, &P.OvMdm, &n, FALSE)) {
      MdmOff = true;
      return;
    }
    if (MdmMsk != 0) {
      C.FdwMdmEvt.store(MdmMsk);
      ::SetEvent(P.Rxc[RE_MDM]);
    }
    ::SetEvent(P.Io[IE_MDM_STA]);
  }

  void Fail(TeComErr c, const char* t) {
    FbFail = true;
    ErrCod = c;
    ErrTxt = t;
  }

  // Ends what is outstanding, so that the records are free for the next
  // run; a byte that arrived meanwhile is kept, one being written is lost.
  void CnlOut() {
    if (H == INVALID_HANDLE_VALUE || !(RdOut || WrOut || MdmOut)) return;
    ::CancelIo(H);
    DWORD n = 0;
    if (RdOut && ::GetOverlappedResult(H, &P.OvRd, &n, TRUE) && n == 1 && !FbFail) RdByte();
    if (WrOut && !(::GetOverlappedResult(H, &P.OvWr, &n, TRUE) && n == 1)) C.FiTxDrp.fetch_add(1);
    if (MdmOut) ::GetOverlappedResult(H, &P.OvMdm, &n, TRUE);
    RdOut = WrOut = MdmOut = false;
    ::ResetEvent(P.Io[IE_RD_CPL]);
    ::ResetEvent(P.Io[IE_WR_CPL]);
    ::ResetEvent(P.Io[IE_MDM_CPL]);
  }

  void End() {
    CnlOut();
    if (FbFail) {
      // The link has ended by itself: close the port at once and let the
      // receive controller deliver what it has and then report.
      C.DrpTxd();
      C.ClsPrt();
      C.FeIoErr = ErrCod;
      C.FsIoErr = ErrTxt;
      ::SetEvent(P.Rxc[RE_IO_END]);
    }
    C.FbIoThrRun = false;
    ::SetEvent(P.Io[TPlf::IE_END]);
  }

  TComport2p5& C;
  TPlf& P;
  const HANDLE H;
  const std::uint32_t Msk;
  std::uint8_t RdByt = 0;
  bool RdOut = false;
  bool WrOut = false, SndAgn = false;
  bool MdmOut = false, MdmOff = false;
  DWORD MdmMsk = 0;
  int QryCnt = 0;
  bool FbFail = false;
  TeComErr ErrCod = CE_IO_THR;
  const char* ErrTxt = GcTxtIoThr;
};

DWORD WINAPI TComport2p5::TPlf::IoPrc(LPVOID arg) {
  auto* c = static_cast<TComport2p5*>(arg);
  c->IoThr(-1);
  return 0;
}

void TComport2p5::IoThr(int) {
  LnkMrkWrkThr();
  TIoRun(*this).Run();
}
