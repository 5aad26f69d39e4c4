#include "CplPgm.h"

#include <ostream>

#include "core/ArgRdr.h"
#include "translator/InsAndTkn.h"
#include "translator/TrnLst.h"

namespace {

const char* const GcUsg =
    "usage: tessaro-compile [--help] [--language 0|1|2] [--tokens FILE] [--messages FILE] [--listing] PROGRAM.vio";

}  // namespace

int PrsCplArg(const std::vector<std::string>& args, TuCplOpt& opt, std::string& err) {
  opt = TuCplOpt{};
  bool havPgm = false;
  TArgRdr r(args);
  while (r.Nxt()) {
    if (!r.IsOpt()) {
      if (havPgm) {
        err = "only one program file can be translated";
        return GcCplUsg;
      }
      opt.PgmPth = r.Arg();
      havPgm = true;
    } else if (const int tak = TakPgmFilOpt(r, opt, err); tak != 0) {
      if (tak < 0) return GcCplUsg;
    } else if (r.IsFlg("--listing")) {
      opt.Lst = true;
    } else {
      err = "unknown option '" + r.Arg() + "'";
      return GcCplUsg;
    }
  }
  if (!havPgm || opt.PgmPth.empty()) {
    err = "no program file given";
    return GcCplUsg;
  }
  return GcCplOk;
}

int CplPgm(const TuCplOpt& opt, std::ostream& err, const std::function<void(const TInsAndTkn&)>& onOk) {
  return TrnPgmFil(opt, err, onOk) ? GcCplOk : GcCplErr;
}

int RunCpl(const TuCplOpt& opt, std::ostream& out, std::ostream& err) {
  return CplPgm(opt, err, [&](const TInsAndTkn& trn) {
    out << FmtTrnStm(trn) << "\n";
    if (opt.Lst) out << FmtTrnLst(trn);
  });
}

int CplMai(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  // --help (or -h) among the options: the usage, and nothing else is done.
  for (TArgRdr r(args); r.Nxt();) {
    if (r.IsFlg("--help") || r.IsFlg("-h")) {
      out << GcUsg << "\n";
      return GcCplOk;
    }
  }
  TuCplOpt opt;
  std::string why;
  if (PrsCplArg(args, opt, why) != GcCplOk) {
    err << "tessaro-compile: " << why << "\n" << GcUsg << "\n";
    return GcCplUsg;
  }
  return RunCpl(opt, out, err);
}
