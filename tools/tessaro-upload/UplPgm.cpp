#include "UplPgm.h"

#include <unistd.h>

#include <cerrno>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <ostream>
#include <sstream>
#include <thread>

#include "core/ArgRdr.h"
#include "core/Globals.h"
#include "link/LnkSes.h"
#include "link/PrtNam.h"
#include "messages/LnkMsg.h"
#include "messages/SysLgeMsg.h"
#include "translator/InsAndTkn.h"

namespace {

const char* const GcUsg =
    "usage: tessaro-upload [--run] [--language 0|1|2] [--tokens FILE] [--messages FILE] [--timeout SECONDS] "
    "--port COMn|PATH [--port COMn|PATH]... PROGRAM.vio";

std::string OpnErr(TOpnPrtRes res, const std::string& prt, const std::string& pth) {
  const std::string nam = prt == pth ? prt : prt + " (" + pth + ")";
  switch (res.Res()) {
    case TeOpnPrt::NoPrt:
      // (A COM port of Windows is no file to look at: the system lists it.)
      if (::access(pth.c_str(), F_OK) != 0 && !PrtPrs(prt))
        return "cannot open the port " + nam + ": there is no such device";
      if (::access(pth.c_str(), R_OK | W_OK) != 0 && errno == EACCES)
        return "cannot open the port " + nam +
               ": permission denied (add yourself to the dialout group and log in again)";
      return "cannot open the port " + nam + ": it is not a serial device, or another program uses it";
    case TeOpnPrt::LinSet:
      return "cannot open the port " + nam + ": it refused the line settings " + LinSetTxt(GcRbtLin);
    default:
      return "cannot open the port " + nam + ": the serial component failed (code " + std::to_string(res.Cod()) + ")";
  }
}

}  // namespace

namespace {

// One option of this tool's own: 1 taken, 0 not one of them, -1 a bad value.
int TakUplOpt(TArgRdr& r, TuUplOpt& opt, bool& havPrt, std::string& why) {
  if (r.IsFlg("--run")) {
    opt.Run = true;
    return 1;
  }
  if (r.Nam() == "--port") {
    std::string prt;
    if (!r.Val(prt, why)) return -1;
    if (prt.empty()) {
      why = "--port needs a port name (COM1 to COM19) or a device path";
      return -1;
    }
    if (std::find(opt.Prt.begin(), opt.Prt.end(), prt) != opt.Prt.end()) {
      why = "the port " + prt + " is given twice";
      return -1;
    }
    opt.Prt.push_back(prt);
    havPrt = true;
    return 1;
  }
  if (r.Nam() == "--timeout") {
    std::string v;
    if (!r.Val(v, why)) return -1;
    const std::optional<double> s = ArgNum(v);
    if (!s || !(*s > 0) || *s > 3600) {
      why = "--timeout takes seconds above 0, not '" + v + "'";
      return -1;
    }
    opt.Tmo = std::chrono::milliseconds(static_cast<long long>(std::ceil(*s * 1000)));
    return 1;
  }
  if (r.Nam() == "--listing") {
    why = "unknown option '" + r.Nam() + "' (tessaro-compile prints listings)";
    return -1;
  }
  return 0;
}

}  // namespace

int PrsUplArg(const std::vector<std::string>& args, TuUplOpt& opt, std::string& err) {
  opt = TuUplOpt{};
  bool havPrt = false, havPgm = false;
  TArgRdr r(args);
  while (r.Nxt()) {
    if (!r.IsOpt()) {
      if (havPgm) {
        err = "only one program file can be translated";
        return GcUplUsg;
      }
      opt.Pgm.PgmPth = r.Arg();
      havPgm = true;
      continue;
    }
    int tak = r.Nam().rfind("--", 0) == 0 ? TakUplOpt(r, opt, havPrt, err) : 0;
    if (tak == 0) tak = TakPgmFilOpt(r, opt.Pgm, err);
    if (tak < 0) return GcUplUsg;
    if (tak == 0) {
      err = "unknown option '" + r.Arg() + "'";
      return GcUplUsg;
    }
  }
  if (!havPgm || opt.Pgm.PgmPth.empty()) {
    err = "no program file given";
    return GcUplUsg;
  }
  if (!havPrt) {
    err = "no port given (--port COMn or --port PATH)";
    return GcUplUsg;
  }
  return GcUplOk;
}

namespace {

std::string LstTxt(const std::string& pth, const std::string& why) {
  return "the connection to the robot on " + pth + " was lost during the upload (" + why +
         "); the program was not transferred\n";
}

// The link ended during the upload: a device that has gone in the words of
// the message table (lst, its text that follows "Comport <name>"), as the
// window says it; the component's other reasons as it gives them.
std::string EndTxt(TLnkSes& ses, const std::string& pth, const std::string& why, const std::string& lst) {
  if (!ses.DevLst() || lst.empty()) return LstTxt(pth, why);
  return "the program was not transferred, the link was lost during the upload. Comport " + pth + lst + "\n";
}

// Opens the port; false with the reason in err.
bool OpnUpl(TLnkSes& ses, const std::string& prt, const std::string& pth, std::ostream& err) {
  GuLstErrMsg.clear();
  const TOpnPrtRes r = ses.Opn(prt);
  if (r.Ok()) return true;
  if (r == TeOpnPrt::LinSet && ses.Com().LinGon())
    err << LstTxt(pth, "the line hung up while it was opened");
  else
    err << OpnErr(r, prt, pth) << "\n";
  if (!GuLstErrMsg.empty()) err << GuLstErrMsg << "\n";
  return false;
}

// The code of the frame: upload, or upload and run.
std::uint8_t UplCod(const TuUplOpt& opt) { return opt.Run ? MK_UPR : MK_UPL; }

// Queues the frame; it leaves when the quiet start is over.
bool SndUpl(TLnkSes& ses, const TuUplOpt& opt, const std::vector<std::uint8_t>& stm, const std::string& pth,
            std::ostream& err) {
  GuLstErrMsg.clear();
  if (ses.Snd(MC_PGM, UplCod(opt), stm)) return true;
  if (!ses.Com().PrtOpn())
    err << LstTxt(pth, "the port was closed");
  else
    err << "the frame could not be sent: " << GuLstErrMsg << "\n";
  return false;
}

// How long the robot has for "transfer complete" once the quiet start is
// over: the frame's time on the wire and the time-out.
std::chrono::milliseconds AnsTim(const TuUplOpt& opt, std::size_t len) {
  return std::chrono::milliseconds(RbtLinMs(len + 7) + 1) + opt.Tmo;
}

// Waits until lim for "transfer complete".
int WaiUpl(TLnkSes& ses, const TuUplOpt& opt, std::size_t len, const std::string& pth, TLnkSes::TClk::time_point lim,
           const std::string& lst, std::ostream& out, std::ostream& err) {
  std::string why;
  switch (ses.WaiAns(MC_STS, MK_TRF_CMP, lim, why)) {
    case TeAnsWai::Ans:
      out << "transfer complete: " << len << (len == 1 ? " byte" : " bytes") << " to " << pth
          << (opt.Run ? ", the program runs" : "") << "\n";
      return GcUplOk;
    case TeAnsWai::End: err << EndTxt(ses, pth, why, lst); return GcUplErr;
    case TeAnsWai::Tmo: break;
  }
  char b[32];
  std::snprintf(b, sizeof b, "%.1f", std::chrono::duration<double>(AnsTim(opt, len)).count());
  err << "no \"transfer complete\" from the robot on " << pth << " within " << b
      << " s: is the robot switched on and connected?\n";
  return GcUplErr;
}

}  // namespace

namespace {

std::string NoDevTxt(const std::string& prt) {
  return "the port " + prt + " has no device: give COM1 to COM12 or a device path\n";
}

// One robot of an upload to several: its link and what it came to.
struct TUplRbt {
  std::string Prt, Pth;
  std::unique_ptr<TLnkSes> Ses;  // while the frame is under way
  std::ostringstream Out, Err;
  int Rc = GcUplErr;
};

// Lines of a result as one: "reason; what the component said".
std::string OneLin(std::string s) {
  while (!s.empty() && s.back() == '\n') s.pop_back();
  for (std::size_t p; (p = s.find('\n')) != std::string::npos;) s.replace(p, 1, "; ");
  return s;
}

// The frame to every port at once: each is opened and sent the frame in
// turn (milliseconds each); the frames then cross their lines together, and
// every robot has the same deadline for its answer, so that eight robots take
// the time of one.
int UplMny(const TuUplOpt& opt, const std::vector<std::uint8_t>& stm, const std::string& lst, std::ostream& out) {
  std::vector<TUplRbt> rbt(opt.Prt.size());
  for (std::size_t i = 0; i < rbt.size(); ++i) {
    TUplRbt& r = rbt[i];
    r.Prt = opt.Prt[i];
    r.Pth = PrtDevPth(r.Prt);
    if (r.Pth.empty()) {
      r.Err << NoDevTxt(r.Prt);
      continue;
    }
    r.Ses = std::make_unique<TLnkSes>();
    if (!OpnUpl(*r.Ses, r.Prt, r.Pth, r.Err) || !SndUpl(*r.Ses, opt, stm, r.Pth, r.Err)) r.Ses.reset();
  }
  std::this_thread::sleep_for(opt.Qt);
  for (TUplRbt& r : rbt)
    if (r.Ses) r.Ses->Com().FbBlkCbk = false;
  const auto lim = TLnkSes::TClk::now() + AnsTim(opt, stm.size());
  int rc = GcUplOk;
  for (TUplRbt& r : rbt) {
    if (r.Ses) r.Rc = WaiUpl(*r.Ses, opt, stm.size(), r.Pth, lim, lst, r.Out, r.Err);
    r.Ses.reset();  // the port is closed as soon as its robot has answered
    if (r.Rc != GcUplOk) rc = GcUplErr;
    out << r.Prt << ": " << OneLin(r.Rc == GcUplOk ? r.Out.str() : r.Err.str()) << "\n" << std::flush;
  }
  return rc;
}

}  // namespace

int RunUpl(const TuUplOpt& opt, std::ostream& out, std::ostream& err) {
  std::vector<std::uint8_t> stm;
  std::string lst;  // the words for a device that goes, read while the message table is there
  if (!TrnPgmFil(opt.Pgm, err, [&](const TInsAndTkn& trn) {
        stm = trn.FpTsmTknLst;
        if (GuSysLgeMsg) lst = GuSysLgeMsg->GetSysMsg(SUM_LNK_DEV_LST, opt.Pgm.Lge);
      }))
    return GcUplErr;
  // Refused before any port is opened: every robot would get the same frame.
  if (std::vector<std::uint8_t> frm; !BldPck(0, MC_PGM, UplCod(opt), stm, frm)) {
    err << PckTooLngMsg(stm.size(), opt.Pgm.Lge) << "\n";
    return GcUplErr;
  }
  if (opt.Prt.size() > 1) return UplMny(opt, stm, lst, out);
  const std::string& prt = opt.Prt.front();
  const std::string pth = PrtDevPth(prt);
  if (pth.empty()) {
    err << NoDevTxt(prt);
    return GcUplErr;
  }
  TLnkSes ses;
  if (!OpnUpl(ses, prt, pth, err) || !SndUpl(ses, opt, stm, pth, err)) return GcUplErr;
  std::this_thread::sleep_for(opt.Qt);
  ses.Com().FbBlkCbk = false;
  return WaiUpl(ses, opt, stm.size(), pth, TLnkSes::TClk::now() + AnsTim(opt, stm.size()), lst, out, err);
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
