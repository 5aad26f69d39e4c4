#include "UplPgm.h"

#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <ostream>
#include <thread>

#include "core/ArgRdr.h"
#include "core/Globals.h"
#include "link/ComBnd.h"
#include "link/ComPort2p5.h"
#include "link/MtxAndRbf.h"
#include "link/PckPrt.h"
#include "link/PrtNam.h"
#include "translator/InsAndTkn.h"

namespace {

const char* const GcUsg =
    "usage: tessaro-upload [--run] [--language 0|1|2] [--tokens FILE] [--messages FILE] [--timeout SECONDS] "
    "--port COMn|PATH PROGRAM.vio";

// What comes back from the line, handed over by the receive controller.
struct TRcvSid {
  std::mutex Mtx;
  std::condition_variable Cv;
  std::deque<std::uint8_t> Byt;
  bool End = false;  // the link ended by itself
  std::string Why;
};

std::string OpnErr(std::uint8_t code, const std::string& prt, const std::string& pth) {
  const std::string nam = prt == pth ? prt : prt + " (" + pth + ")";
  switch (code) {
    case 7:
      if (::access(pth.c_str(), F_OK) != 0) return "cannot open the port " + nam + ": there is no such device";
      if (::access(pth.c_str(), R_OK | W_OK) != 0 && errno == EACCES)
        return "cannot open the port " + nam +
               ": permission denied (add yourself to the dialout group and log in again)";
      return "cannot open the port " + nam + ": it is not a serial device, or another program uses it";
    case 9: return "cannot open the port " + nam + ": it refused the line settings 2400 baud, 8N1";
    default: return "cannot open the port " + nam + ": the serial component failed (code " + std::to_string(code) + ")";
  }
}

}  // namespace

int PrsUplArg(const std::vector<std::string>& args, TuUplOpt& opt, std::string& err) {
  opt = TuUplOpt{};
  bool havPrt = false;
  auto ext = [&](TArgRdr& r, std::string& why) {
    if (r.IsFlg("--run")) {
      opt.Run = true;
      return GcCplOk;
    }
    if (r.Nam() == "--port") {
      if (!r.Val(opt.Prt, why)) return GcCplUsg;
      if (opt.Prt.empty()) {
        why = "--port needs a port name (COM1 to COM19) or a device path";
        return GcCplUsg;
      }
      havPrt = true;
      return GcCplOk;
    }
    if (r.Nam() == "--timeout") {
      std::string v;
      if (!r.Val(v, why)) return GcCplUsg;
      const std::optional<double> s = ArgNum(v);
      if (!s || !(*s > 0) || *s > 3600) {
        why = "--timeout takes seconds above 0, not '" + v + "'";
        return GcCplUsg;
      }
      opt.Tmo = std::chrono::milliseconds(static_cast<long long>(std::ceil(*s * 1000)));
      return GcCplOk;
    }
    if (r.Nam() == "--listing") {
      why = "unknown option '" + r.Nam() + "' (tessaro-compile prints listings)";
      return GcCplUsg;
    }
    return GcCplNot;
  };
  if (PrsCplArg(args, opt.Cpl, err, ext) != GcCplOk) return GcUplUsg;
  if (!havPrt) {
    err = "no port given (--port COMn or --port PATH)";
    return GcUplUsg;
  }
  return GcUplOk;
}

int RunUpl(const TuUplOpt& opt, std::ostream& out, std::ostream& err) {
  std::vector<std::uint8_t> stm;
  if (CplPgm(opt.Cpl, err, [&](const TInsAndTkn& trn) { stm = trn.FpTsmTknLst; }) != GcCplOk) return GcUplErr;
  if (stm.size() > GcPckMaxDat) {
    err << PckTooLngMsg(stm.size(), opt.Cpl.Lge) << "\n";
    return GcUplErr;
  }

  const std::string pth = PrtDevPth(opt.Prt);
  if (pth.empty()) {
    err << "the port " << opt.Prt << " has no device: give COM1 to COM12 or a device path\n";
    return GcUplErr;
  }

  TTxMtxAndRbf tx;
  TRxMtxAndRbf rx;
  TRcvSid rcv;
  {
    TComport2p5 com(nullptr);
    SetZefLin(com, opt.Prt);
    com.FOnComPrtComEvt = [&](TComport2p5*, std::uint8_t, std::uint32_t, std::uint8_t b) {
      std::lock_guard<std::mutex> l(rcv.Mtx);
      rcv.Byt.push_back(b);
      rcv.Cv.notify_all();
    };
    com.FOnComPrtCtlEvt = [](TComport2p5*, std::uint32_t) {};
    com.FOnComPrtErrEvt = [&](TComport2p5*, std::int8_t code, const std::string& text) {
      if (code != CE_RX_FUL && code != CE_DEV_LST && code != CE_IO_THR) return;
      std::lock_guard<std::mutex> l(rcv.Mtx);
      rcv.End = true;
      rcv.Why = text;
      rcv.Cv.notify_all();
    };
    com.FOnComPrtLerEvt = [](TComport2p5*, std::uint32_t, std::uint32_t) {};
    BndComRbf(com, tx, rx);

    GuLstErrMsg.clear();
    if (const std::uint8_t c = com.OpnPrt(); c != 0) {
      if (c == 9 && com.LinGon())
        err << "the connection to the robot on " << pth
            << " was lost during the upload (the line hung up while it was opened); the program was not transferred\n";
      else
        err << OpnErr(c, opt.Prt, pth) << "\n";
      if (!GuLstErrMsg.empty()) err << GuLstErrMsg << "\n";
      return GcUplErr;
    }
    // The frame is queued now and leaves when the quiet start is over.
    std::uint8_t cnt = 0;
    TPckOut po;
    po.Lge = opt.Cpl.Lge;
    po.OpnPrt = [] { return true; };
    po.Rsv = [&](std::size_t n) {
      if (LckFreSpc(tx) < n) {
        GuLstErrMsg = "Tx ringbuffer is full";
        return false;
      }
      return true;
    };
    po.SndChr = [&](std::uint8_t b) { return com.SndChr(b); };
    GuLstErrMsg.clear();
    if (!(opt.Run ? SndUprPck(cnt, stm, po) : SndUplPck(cnt, stm, po))) {
      if (!com.PrtOpn())
        err << "the connection to the robot on " << pth
            << " was lost during the upload (the port was closed); the program was not transferred\n";
      else
        err << "the frame could not be sent: " << GuLstErrMsg << "\n";
      return GcUplErr;
    }
    std::this_thread::sleep_for(opt.Qt);
    com.FbBlkCbk = false;

    // The frame takes its wire time; the answer is waited for after it.
    const auto wir = std::chrono::milliseconds((stm.size() + 7) * 10 * 1000 / 2400 + 1);
    const auto lim = std::chrono::steady_clock::now() + wir + opt.Tmo;
    TuRcvPck p;
    RstRcvPck(p);
    std::unique_lock<std::mutex> l(rcv.Mtx);
    for (;;) {
      while (!rcv.Byt.empty()) {
        PrsRcvChr(p, rcv.Byt.front());
        rcv.Byt.pop_front();
        if (p.PckSte != PS_CPL) continue;
        const bool cpl = p.PckOrg != GcPckOrgOwn && p.MsgCls == MC_STS && p.MsgCod == MK_TRF_CMP;
        RstRcvPck(p);
        if (cpl) {
          out << "transfer complete: " << stm.size() << (stm.size() == 1 ? " byte" : " bytes") << " to " << pth
              << (opt.Run ? ", the program runs" : "") << "\n";
          return GcUplOk;
        }
      }
      // The component says nothing of a link that ended during its quiet
      // start; the closed port tells.
      if (!rcv.End && !com.PrtOpn()) {
        rcv.End = true;
        rcv.Why = "the port was closed";
      }
      if (rcv.End) {
        err << "the connection to the robot on " << pth << " was lost during the upload (" << rcv.Why
            << "); the program was not transferred\n";
        return GcUplErr;
      }
      const auto now = std::chrono::steady_clock::now();
      if (now >= lim && rcv.Byt.empty()) {
        const double s = std::chrono::duration<double>(wir + opt.Tmo).count();
        char b[32];
        std::snprintf(b, sizeof b, "%.1f", s);
        err << "no \"transfer complete\" from the robot on " << pth << " within " << b
            << " s: is the robot switched on and connected?\n";
        return GcUplErr;
      }
      rcv.Cv.wait_until(l, std::min(lim, now + std::chrono::milliseconds(50)));
    }
  }
}

int UplMai(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  TuUplOpt opt;
  std::string why;
  if (PrsUplArg(args, opt, why) != GcUplOk) {
    err << "tessaro-upload: " << why << "\n" << GcUsg << "\n";
    return GcUplUsg;
  }
  return RunUpl(opt, out, err);
}
