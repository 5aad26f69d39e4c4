#include "DocCli.h"

#include <ostream>

#include "core/ArgRdr.h"
#include "core/Seams.h"
#include "core/WndMsg.h"
#include "doctor/ConDoc.h"
#include "messages/SysLgeMsg.h"

namespace {

const char* const GcUsg = "usage: tessaro-doctor [--port COMn|PATH] [--language 0|1|2]";
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

}  // namespace

int DocMai(const std::vector<std::string>& args, IDocSys& sys, const std::string& msgDir,
           std::ostream& out, std::ostream& err) {
  std::string prt, lge;
  bool hasPrt = false, hasLge = false;
  TArgRdr r(args);
  std::string why;
  while (r.Nxt()) {
    if (r.IsOpt() && (r.Nam() == "--port" || r.Nam() == "--language")) {
      const bool isPrt = r.Nam() == "--port";
      if (!r.Val(isPrt ? prt : lge, why)) {
        err << GcUsg << "\n";
        return GcDocUsg;
      }
      (isPrt ? hasPrt : hasLge) = true;
    } else if (r.IsFlg("--help") || r.IsFlg("-h")) {
      out << GcUsg << "\n";
      return GcDocAllOky;
    } else {
      err << GcUsg << "\n";
      return GcDocUsg;
    }
  }
  if (hasLge && lge != "0" && lge != "1" && lge != "2") {
    err << "tessaro-doctor: the language is 0, 1 or 2\n" << GcUsg << "\n";
    return GcDocUsg;
  }
  if (hasPrt && prt.empty()) {
    err << "tessaro-doctor: --port needs a name\n" << GcUsg << "\n";
    return GcDocUsg;
  }
  std::string stoPrt, stoLge;
  RdSto(stoPrt, stoLge);
  if (!hasPrt) prt = stoPrt;
  if (!hasLge) lge = stoLge;
  // The main window writes COM0 when no port has been chosen yet.
  if (prt == "COM0") prt.clear();
  const std::uint8_t lgeIdx = lge == "1" ? 1 : lge == "2" ? 2 : 0;

  TDocOwn own;
  TSysLgeMsg msg(&own, msgDir);
  if (msg.Lines().empty()) {
    err << "tessaro-doctor: the messages cannot be read from " << msgDir << "SysMsgFil.sys\n";
    return GcDocFnd;
  }
  TSysLgeMsg* prv = GuSysLgeMsg;
  GuSysLgeMsg = &msg;
  const TDocTxt txt = SysDocTxt(lgeIdx);
  TDocCfg cfg;
  cfg.PrtNam = prt;
  const std::vector<TDocRes> res = RunConDoc(sys, cfg, txt);

  out << DocRptTxt(res, txt);
  GuSysLgeMsg = prv;
  return DocAllOky(res) ? GcDocAllOky : GcDocFnd;
}
