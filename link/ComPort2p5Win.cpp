// The serial component on the Win32 communications services: the port opened
// with CreateFileA for overlapped I/O, the line set with SetCommState and
// SetCommTimeouts, the line events with SetCommMask, and the two threads
// (CreateThread) driven by event objects. The I/O thread is in ComIoThrWin.cpp.
#include "link/ComPort2p5Win.h"

#include <io.h>

#include "core/Globals.h"
#include "core/Seams.h"
#include "link/MtxAndRbf.h"
#include "link/PrtNam.h"

namespace {

const char* const GcTxtPrtUnd = "Error #003, trying to access comport function while comport is not defined";
const char* const GcTxtRxcThr = "Error in 'bRxDataController' thread function";
const char* const GcTxtCbk =
    "Callback function pointers:\n"
    "- FOnComPrtComEvt\n- FOnComPrtCtlEvt\n- FOnComPrtErrEvt\n"
    "should be assigned to functions\nto read received data.\n"
    "- FOnComPrtLerEvt\n not obligatory, for debugging only";

// The line settings of OpnPrt (DCB) from the component's settings.
void FilDcb(DCB& d, std::uint32_t baud, std::uint8_t datIdx, std::uint8_t prt, std::uint8_t stpIdx) {
  d = DCB{};
  d.DCBlength = sizeof(DCB);
  d.BaudRate = baud;
  d.fBinary = 1;
  d.fParity = prt >= 1 && prt <= 4 ? 1 : 0;
  d.fDtrControl = DTR_CONTROL_ENABLE;
  d.fRtsControl = RTS_CONTROL_ENABLE;
  d.XonLim = 2;
  d.XoffLim = 4;
  d.ByteSize = static_cast<BYTE>(LinDatBts(datIdx));
  d.Parity = prt;
  d.StopBits = stpIdx <= 2 ? stpIdx : ONESTOPBIT;
  d.XonChar = 0x13;
  d.XoffChar = 0x19;
}

}  // namespace

TComport2p5::TQtFlg& TComport2p5::TQtFlg::operator=(bool v) {
  const bool old = FbVal.exchange(v, std::memory_order_acq_rel);
  if (old && !v) FOwn.EndQt();
  return *this;
}

TComport2p5::TComport2p5(void* owner) : FpOwn(owner), FpPlf(std::make_unique<TPlf>()) {
  TPlf& p = *FpPlf;
  bool ok = true;
  for (unsigned i = 0; i < TPlf::GcIoCnt; ++i) {
    const bool man = i == IE_RD_CPL || i == IE_WR_CPL || i == IE_MDM_CPL;
    p.Io[i] = ::CreateEventA(nullptr, man, FALSE, nullptr);
    ok = ok && p.Io[i];
  }
  for (unsigned i = 0; i < TPlf::GcRxcCnt; ++i) {
    p.Rxc[i] = ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
    ok = ok && p.Rxc[i];
  }
  p.OvRd.hEvent = p.Io[IE_RD_CPL];
  p.OvWr.hEvent = p.Io[IE_WR_CPL];
  p.OvMdm.hEvent = p.Io[IE_MDM_CPL];
  if (!ok) {
    GuLstErrMsg = "Comport event creation error";
    return;
  }
  FbCrt = true;
}

TComport2p5::~TComport2p5() {
  StpThr();
  TPlf& p = *FpPlf;
  // A thread that did not end in time is waited for all the same: nothing it
  // uses may be released before it has ended.
  for (HANDLE* t : {&p.IoThr, &p.RxcThr}) {
    if (!*t) continue;
    ::WaitForSingleObject(*t, INFINITE);
    ::CloseHandle(*t);
    *t = nullptr;
  }
  ClsPrt();
  bool clsOk = true;
  for (HANDLE h : p.Io)
    if (h && !::CloseHandle(h)) clsOk = false;
  for (HANDLE h : p.Rxc)
    if (h && !::CloseHandle(h)) clsOk = false;
  if (FbCrt && !clsOk) {
    ShwMsgBox("Handle close error", "");
    PrcMsg();
  }
}

void TComport2p5::EndQt() {
  // What was queued meanwhile goes out now; the receive controller looks once
  // more for bytes it has not delivered.
  if (!FbCrt) return;
  ::SetEvent(FpPlf->Io[IE_SND]);
  ::SetEvent(FpPlf->Rxc[RE_DAT]);
}

bool TComport2p5::ClsPrt() {
  const int fd = FhPrt.exchange(-1);
  if (fd < 0) return true;
  // Output the driver still holds never reaches the line.
  COMSTAT st{};
  DWORD err = 0;
  if (::ClearCommError(FpPlf->Prt, &err, &st) && st.cbOutQue > 0) FiTxDrp.fetch_add(st.cbOutQue);
  ::PurgeComm(FpPlf->Prt, PURGE_TXABORT | PURGE_TXCLEAR);
  FpPlf->Prt = INVALID_HANDLE_VALUE;
  return ::_close(fd) == 0;
}

TOpnPrtRes TComport2p5::OpnPrt() {
  if (!FOnComPrtComEvt || !FOnComPrtCtlEvt || !FOnComPrtErrEvt) {
    ShwMsgBox(GcTxtCbk, "Comport error message");
    PrcMsg();
    return TeOpnPrt::NoCbk;
  }
  if (!FbCrt) {
    ShwMsgBox("Reading - Master", "SetEvent() error");
    return TeOpnPrt::EvtSig;
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
  don = false;
  if (!StpThr()) return TeOpnPrt::ThrStp;
  if (!PrtOpn()) {
    // What the buffers hold belongs to a link that has ended.
    DrpTxd();
    DrpRxd();
    return TeOpnPrt::Ok;
  }
  const std::uint64_t drp = FiTxDrp.load();
  if (!ClsPrt()) return TeOpnPrt::PrtCls;
  // Bytes queued after ones lost in the close are the rest of a frame whose
  // start never reached the line.
  if (FiTxDrp.load() != drp) DrpTxd();
  PrcMsg();
  return TeOpnPrt::Ok;
}

TeOpnPrt TComport2p5::OpnDev(int& fd) {
  const std::string pth = PrtDevPth(FsPrtNam);
  if (pth.empty()) return TeOpnPrt::NoPrt;
  HANDLE h = ::CreateFileA(pth.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_FLAG_OVERLAPPED, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    // Windows refuses a second open of a port that another program holds.
    const DWORD e = ::GetLastError();
    FbPrtHld = e == ERROR_ACCESS_DENIED || e == ERROR_SHARING_VIOLATION;
    return TeOpnPrt::NoPrt;
  }
  fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(h), 0);
  if (fd < 0) {
    ::CloseHandle(h);
    return TeOpnPrt::NoPrt;
  }
  FpPlf->Prt = h;
  FhPrt.store(fd);
  return TeOpnPrt::Ok;
}

TeOpnPrt TComport2p5::SetUpDev(int) {
  TPlf& p = *FpPlf;
  if (!::SetCommMask(p.Prt, ComEvtMsk(FstComEvt))) {
    ClsPrt();
    return TeOpnPrt::EvtMsk;
  }
  // A one-byte read completes when the byte is there or, empty, after FiRdTmo.
  const DWORD rdTmo = static_cast<DWORD>(FiRdTmo.count() > 1 ? FiRdTmo.count() : 2);
  COMMTIMEOUTS to{10, rdTmo - 1, 1, 20, 1};
  if (!::SetCommTimeouts(p.Prt, &to)) {
    ClsPrt();
    return TeOpnPrt::NonBlk;
  }
  FilDcb(p.Dcb, BauRat(FbyBauIdx), FbyDatBts, FbyPrt, FbyStpBts);
  if (!::SetCommState(p.Prt, &p.Dcb)) {
    // A line whose far end has gone refuses its settings too.
    FbLinGon = ::GetLastError() == ERROR_BROKEN_PIPE;
    return TeOpnPrt::LinSet;
  }
  if (!StaThrImp()) return TeOpnPrt::ThrSta;
  if (!::SetEvent(p.Io[IE_RD_STA])) {
    ShwMsgBox("Reading - Master", "SetEvent() error");
    return TeOpnPrt::EvtSig;
  }
  if (FbMdmEvt && !::SetEvent(p.Io[IE_MDM_STA])) {
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
  if (!::SetEvent(FpPlf->Io[IE_SND])) {
    GuLstErrMsg = "SetEvent error";
    return false;
  }
  return true;
}

bool TComport2p5::StaThrImp() {
  if (!FbCrt || FbIoThrRun || FbRxcThrRun) return false;
  TPlf& p = *FpPlf;
  for (HANDLE* t : {&p.IoThr, &p.RxcThr}) {
    if (!*t) continue;
    ::WaitForSingleObject(*t, INFINITE);
    ::CloseHandle(*t);
    *t = nullptr;
  }
  // Signals left from threads that have ended mean nothing to new ones; the
  // requests to read, send and wait stay.
  for (unsigned i : {unsigned(IE_STP), unsigned(IE_RD_CPL), unsigned(IE_WR_CPL), unsigned(IE_MDM_CPL),
                     unsigned(TPlf::IE_END)})
    ::ResetEvent(p.Io[i]);
  for (unsigned i : {unsigned(RE_STP), unsigned(RE_IO_END), unsigned(TPlf::RE_END)}) ::ResetEvent(p.Rxc[i]);
  // A thread that runs without its priority is ended by the next StpThr.
  FbIoThrRun = true;
  p.IoThr = ::CreateThread(nullptr, 0, &TPlf::IoPrc, this, 0, nullptr);
  if (!p.IoThr) {
    FbIoThrRun = false;
    return false;
  }
  if (!::SetThreadPriority(p.IoThr, THREAD_PRIORITY_NORMAL)) return false;
  FbRxcThrRun = true;
  p.RxcThr = ::CreateThread(nullptr, 0, &TPlf::RxcPrc, this, 0, nullptr);
  if (!p.RxcThr) {
    FbRxcThrRun = false;
    return false;
  }
  if (!::SetThreadPriority(p.RxcThr, THREAD_PRIORITY_BELOW_NORMAL)) return false;
  // Bytes queued while no thread ran go out now.
  ::SetEvent(p.Io[IE_SND]);
  return true;
}

bool TComport2p5::StaThr() {
  if (!StaThrImp()) return false;
  if (PrtOpn()) {
    if (!::SetEvent(FpPlf->Io[IE_RD_STA])) return false;
    if (FbMdmEvt && !::SetEvent(FpPlf->Io[IE_MDM_STA])) return false;
  }
  return true;
}

bool TComport2p5::StpThr() {
  if (!FbCrt) return true;
  TPlf& p = *FpPlf;
  const DWORD tmo = static_cast<DWORD>(FiStpTmo.count());
  if (FbIoThrRun) {
    ::SetEvent(p.Io[IE_STP]);
    ::WaitForSingleObject(p.Io[TPlf::IE_END], tmo);
  }
  if (FbRxcThrRun) {
    ::SetEvent(p.Rxc[RE_STP]);
    ::WaitForSingleObject(p.Rxc[TPlf::RE_END], tmo);
  }
  return !FbIoThrRun && !FbRxcThrRun;
}

DWORD WINAPI TComport2p5::TPlf::RxcPrc(LPVOID arg) {
  static_cast<TComport2p5*>(arg)->RxcThr();
  return 0;
}

void TComport2p5::RxcThr() {
  LnkMrkWrkThr();
  TPlf& p = *FpPlf;
  bool fail = false;
  for (;;) {
    const DWORD w = ::WaitForMultipleObjects(TPlf::GcRxcWai, p.Rxc, FALSE, INFINITE);
    if (w >= WAIT_OBJECT_0 + TPlf::GcRxcWai) {
      fail = true;
      break;
    }
    const unsigned ev = w - WAIT_OBJECT_0;
    if (ev == RE_STP) break;
    if (ev == RE_DAT) {
      if (Qt() || !FOnGetRxdChr) continue;
      if (FOnRxdDatAvl && !FOnRxdDatAvl()) continue;
      std::uint8_t b;
      if (!FOnGetRxdChr(b)) continue;
      if (FbSglChr) {
        if (FOnComPrtComEvt && !Qt()) FOnComPrtComEvt(this, 2, 0, b);
        ::SetEvent(p.Rxc[RE_DAT]);  // the next byte in a later pass
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
  FbRxcThrRun = false;
  ::SetEvent(p.Rxc[TPlf::RE_END]);
}
