#include "DocCli.h"

#include <algorithm>
#include <ostream>
#include <utility>

#include "core/ArgRdr.h"
#include "core/Seams.h"
#include "core/WndMsg.h"
#include "doctor/ConDoc.h"
#include "doctor/RolCal.h"
#include "messages/SysLgeMsg.h"

namespace {

const char* const GcUsg = "usage: tessaro-doctor [--port COMn|PATH]... [--all] [--language 0|1|2]";
const char* const GcHlp =
    "Checks why a robot is not found: the serial devices, the port, your permission,\n"
    "other programs that hold the port, and whether a robot answers within 2 seconds.\n"
    "  --port COMn|PATH  the port to check; without it, the port chosen in Tessaro.\n"
    "                    Given more than once: each of these ports, all at once.\n"
    "  --all             every port that is present, all at once: one line per port\n"
    "                    with what its check found and what to do.\n"
    "  --language N      0 English, 1 Dutch, 2 German; without it, Tessaro's language.\n"
    "Exit code: 0 every check passed (for several ports: a robot answered on each),\n"
    "           1 a check failed or could not be made, 2 wrong options.\n";
const char* const GcOptKey = "SOFTWARE\\Quorel\\TessaroV1.0\\Options";

// The message table asks its owner nothing that a command line must answer.
class TDocOwn final : public IWndMsgTgt {
public:
  std::intptr_t SndMsg(std::uint32_t, std::uintptr_t, std::intptr_t) override { return 0; }
};

// The port and the language as the main window keeps them.
void RdSto(std::string& prt, std::string& lge) {
  auto st = GuPlatform().Settings->Create();
  if (!st || !st->OpenKey(GcOptKey, false)) return;
  prt = st->ReadString("Comport");
  lge = st->ReadString("Language");
}

struct TDocOpt {
  std::vector<std::string> Prt;  // the ports given
  bool All = false;              // every port that is present
  std::string Lge;
  bool HasLge = false;
};

// A usage error: the reason (when there is one) and the usage line.
int Usg(std::ostream& err, const std::string& why = {}) {
  if (!why.empty()) err << "tessaro-doctor: " << why << "\n";
  err << GcUsg << "\n";
  return GcDocUsg;
}

// The options; -1 to go on, or the exit code.
int PrsDocArg(const std::vector<std::string>& args, TDocOpt& o, std::ostream& out, std::ostream& err) {
  TArgRdr r(args);
  std::string why, v;
  while (r.Nxt()) {
    if (r.IsOpt() && r.Nam() == "--port") {
      if (!r.Val(v, why)) return Usg(err);
      if (v.empty()) return Usg(err, "--port needs a name");
      if (std::find(o.Prt.begin(), o.Prt.end(), v) != o.Prt.end()) return Usg(err, "the port " + v + " is given twice");
      o.Prt.push_back(v);
    } else if (r.IsOpt() && r.Nam() == "--language") {
      if (!r.Val(o.Lge, why)) return Usg(err);
      o.HasLge = true;
    } else if (r.IsFlg("--all")) {
      o.All = true;
    } else if (r.IsFlg("--help") || r.IsFlg("-h")) {
      out << GcUsg << "\n" << GcHlp;
      return GcDocAllOky;
    } else {
      return Usg(err);
    }
  }
  if (o.HasLge && o.Lge != "0" && o.Lge != "1" && o.Lge != "2") return Usg(err, "the language is 0, 1 or 2");
  if (o.All && !o.Prt.empty()) return Usg(err, "give --all or --port, not both");
  return -1;
}

// Every port of the roll call at once: a line each.
int RunAll(IDocSys& sys, const TDocOpt& o, const TDocTxt& txt, std::ostream& out) {
  const TDocTxt cpy = DocTxtCpy(txt);  // the checks' threads read no message table
  const std::vector<TRolRow> rows = RunRolCal(sys, o.All ? RolPrts(sys) : RolPrtsOf(o.Prt), cpy);
  out << RolRptTxt(rows, cpy);
  return RolAllOky(rows) ? GcDocAllOky : GcDocFnd;
}

}  // namespace

int DocMai(const std::vector<std::string>& args, IDocSys& sys, const std::string& msgDir,
           std::ostream& out, std::ostream& err) {
  TDocOpt o;
  if (const int rc = PrsDocArg(args, o, out, err); rc >= 0) return rc;
  std::string stoPrt, stoLge;
  RdSto(stoPrt, stoLge);
  std::string prt = o.Prt.empty() ? stoPrt : o.Prt.front();
  const std::string lge = o.HasLge ? o.Lge : stoLge;
  // The main window writes COM0 when no port has been chosen yet.
  if (prt == "COM0") prt.clear();
  const std::uint8_t lgeIdx = lge == "1" ? 1 : lge == "2" ? 2 : 0;

  TDocOwn own;
  TSysLgeMsg msg(&own, msgDir);
  if (msg.Lines().empty()) {
    err << "tessaro-doctor: the messages cannot be read from " << msgDir << "SysMsgFil.sys\n";
    return GcDocFnd;
  }
  TSysLgeMsg* prv = std::exchange(GuSysLgeMsg, &msg);
  const TDocTxt txt = SysDocTxt(lgeIdx);
  int rc = GcDocFnd;
  if (o.All || o.Prt.size() > 1) {
    rc = RunAll(sys, o, txt, out);
  } else {
    TDocCfg cfg;
    cfg.PrtNam = prt;
    const std::vector<TDocRes> res = RunConDoc(sys, cfg, txt);
    out << DocRptTxt(res, txt);
    rc = DocAllOky(res) ? GcDocAllOky : GcDocFnd;
  }
  GuSysLgeMsg = prv;
  return rc;
}
