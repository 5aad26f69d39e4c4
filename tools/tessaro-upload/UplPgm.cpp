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
#include "link/UplRbt.h"
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

std::string NoDevTxt(const std::string& prt) {
  return "the port " + prt + " has no device: give COM1 to COM12 or a device path\n";
}

// The code of the frame: upload, or upload and run.
std::uint8_t UplCod(const TuUplOpt& opt) { return opt.Run ? MK_UPR : MK_UPL; }

// What an upload that has ended came to, in lines: the success for out, a
// failure for err. lst: the message table's words for a device that has gone
// (its text that follows "Comport <name>"), as the window says it.
bool ResTxt(const TUplRbt& r, const TuUplOpt& opt, std::size_t len, const std::string& lst, std::string& txt) {
  const std::string& pth = r.Pth();
  switch (r.Res()) {
    case TeUplRes::Cfm:
      txt = "transfer complete: " + std::to_string(len) + (len == 1 ? " byte" : " bytes") + " to " + pth +
            (opt.Run ? ", the program runs" : "") + "\n";
      return true;
    case TeUplRes::NoDev: txt = NoDevTxt(r.Prt()); break;
    case TeUplRes::Opn:
      txt = r.LinGon() ? LstTxt(pth, "the line hung up while it was opened") : OpnErr(r.OpnRes(), r.Prt(), pth) + "\n";
      if (!r.Why().empty()) txt += r.Why() + "\n";
      break;
    case TeUplRes::Snd:
      txt = r.PrtOpn() ? "the frame could not be sent: " + r.Why() + "\n" : LstTxt(pth, "the port was closed");
      break;
    case TeUplRes::Lst:
      txt = r.DevLst() && !lst.empty()
                ? "the program was not transferred, the link was lost during the upload. Comport " + pth + lst + "\n"
                : LstTxt(pth, r.Why());
      break;
    case TeUplRes::Tmo:
    case TeUplRes::Pnd: {
      char b[32];
      std::snprintf(b, sizeof b, "%.1f", std::chrono::duration<double>(UplAnsTim(len, opt.Tmo)).count());
      txt = "no \"transfer complete\" from the robot on " + pth + " within " + b +
            " s: is the robot switched on and connected?\n";
      break;
    }
  }
  return false;
}

// Lines of a result as one: "reason; what the component said".
std::string OneLin(std::string s) {
  while (!s.empty() && s.back() == '\n') s.pop_back();
  for (std::size_t p; (p = s.find('\n')) != std::string::npos;) s.replace(p, 1, "; ");
  return s;
}

// The frame to every port at once. With one port its result goes to out or
// err as it is; with several, every port has a line in out.
int UplAll(const TuUplOpt& opt, const std::vector<std::uint8_t>& stm, const std::string& lst, std::ostream& out,
           std::ostream& err) {
  std::vector<std::unique_ptr<TUplRbt>> rbt;
  bool snt = false;
  for (const std::string& p : opt.Prt) {
    rbt.push_back(std::make_unique<TUplRbt>(p));
    snt = rbt.back()->Sta(UplCod(opt), stm) || snt;
  }
  if (snt) std::this_thread::sleep_for(opt.Qt);
  for (auto& r : rbt) r->Go();
  const auto lim = TLnkSes::TClk::now() + UplAnsTim(stm.size(), opt.Tmo);
  int rc = GcUplOk;
  for (auto& r : rbt) {
    r->Wai(lim, true);
    std::string txt;
    const bool ok = ResTxt(*r, opt, stm.size(), lst, txt);
    if (!ok) rc = GcUplErr;
    if (rbt.size() > 1)
      out << r->Prt() << ": " << OneLin(txt) << "\n" << std::flush;
    else
      (ok ? out : err) << txt;
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
  return UplAll(opt, stm, lst, out, err);
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
