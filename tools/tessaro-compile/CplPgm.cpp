#include "CplPgm.h"

#include <ostream>

#include "core/ArgRdr.h"
#include "core/Globals.h"
#include "core/PathUtl.h"
#include "core/Seams.h"
#include "core/WndMsg.h"
#include "editor/VioPgmItp.h"
#include "editor/VioTyp.h"
#include "messages/SysLgeMsg.h"
#include "translator/InsAndTkn.h"
#include "translator/TrnLst.h"

namespace {

const char* const GcUsg =
    "usage: tessaro-compile [--language 0|1|2] [--tokens FILE] [--messages FILE] [--listing] PROGRAM.vio";

// Keeps the texts of the message boxes; answers every box with its default.
class TRecMsgBox final : public IMsgBox {
public:
  TeMsgAns Show(const std::string& text, const std::string&, TeMsgBtn buttons) override {
    if (FbRec) Txts.push_back(text);
    return buttons == TeMsgBtn::YesNo || buttons == TeMsgBtn::YesNoCancel ? TeMsgAns::Yes : TeMsgAns::Ok;
  }
  bool FbRec = true;
  std::vector<std::string> Txts;
};

// Stands in for the main window: keeps the vio that it is asked to blink.
class TCplOwn final : public IWndMsgTgt {
public:
  std::intptr_t SndMsg(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) override {
    if (msg == WM_APP_MSG && (wParam & 0xFF) == AM_VIO_BLK) BlkVio = reinterpret_cast<TVio*>(lParam);
    return 0;
  }
  TVio* BlkVio = nullptr;
};

class TQuietLoop final : public IEvtLoop {
public:
  void PrcMsg() override {}
  void Terminate() override { FbTrm = true; }
  bool TerminateRequested() const override { return FbTrm; }
  bool OnUiThread() const override { return true; }
private:
  bool FbTrm = false;
};

}  // namespace

int PrsCplArg(const std::vector<std::string>& args, TuCplOpt& opt, std::string& err, const TCplArgExt& ext) {
  opt = TuCplOpt{};
  bool havPgm = false;
  TArgRdr r(args);
  while (r.Nxt()) {
    if (ext && r.IsOpt() && r.Nam().rfind("--", 0) == 0) {
      const int rc = ext(r, err);
      if (rc == GcCplUsg) return GcCplUsg;
      if (rc == GcCplOk) continue;
    }
    if (!r.IsOpt()) {
      if (havPgm) {
        err = "only one program file can be translated";
        return GcCplUsg;
      }
      opt.PgmPth = r.Arg();
      havPgm = true;
    } else if (r.Nam() == "--language") {
      std::string v;
      if (!r.Val(v, err)) return GcCplUsg;
      if (v != "0" && v != "1" && v != "2") {
        err = "--language must be 0, 1 or 2, not '" + v + "'";
        return GcCplUsg;
      }
      opt.Lge = static_cast<std::uint8_t>(v[0] - '0');
    } else if (r.Nam() == "--tokens") {
      if (!r.Val(opt.TknPth, err)) return GcCplUsg;
    } else if (r.Nam() == "--messages") {
      if (!r.Val(opt.MsgPth, err)) return GcCplUsg;
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
  TRecMsgBox box;
  TQuietLoop lop;
  TScopedPlatform pf(TPlatform{&box, nullptr, &lop, nullptr});
  TCplOwn own;
  GuLstErrMsg.clear();

  // The editor with its translator first, then the messages, then the token
  // definitions: the order of the main window's start-up.
  TVioPgmItp edt(&own);
  edt.CrtVioFld(0, 0);
  edt.SetLgeIdx(opt.Lge);
  edt.SetAvlCol(0);

  auto fail = [&]() {
    for (const std::string& t : box.Txts) err << t << "\n";
    if (!GuLstErrMsg.empty()) err << GuLstErrMsg << "\n";
    if (own.BlkVio) err << "blink: " << TrnVioDsc(edt.DscVio(own.BlkVio)) << "\n";
    return GcCplErr;
  };

  const std::string exeDir = ExeDir();
  // The message table loads the file beside the executable when it is built;
  // with --messages that file need not exist, so its complaint is not shown.
  box.FbRec = opt.MsgPth.empty();
  TSysLgeMsg msg(&own, exeDir);
  box.FbRec = true;
  if (!opt.MsgPth.empty()) {
    GuLstErrMsg.clear();
    if (!msg.LodSysMsgFil(NativePath(opt.MsgPth))) return fail();
  } else if (lop.TerminateRequested()) {
    box.Txts.clear();  // the box repeated the last-error text
    return fail();
  }
  struct TMsgReg {
    explicit TMsgReg(TSysLgeMsg* m) : FpPrv(GuSysLgeMsg) { GuSysLgeMsg = m; }
    ~TMsgReg() { GuSysLgeMsg = FpPrv; }
    TSysLgeMsg* FpPrv;
  } reg(&msg);

  GuLstErrMsg.clear();
  if (!edt.SarAndTkn().LodTknFil(opt.TknPth.empty() ? exeDir + "ExtComTkn.sys" : opt.TknPth)) return fail();

  // Open: read the program.
  GuLstErrMsg.clear();
  if (!edt.LodVioFil(NativePath(opt.PgmPth))) return fail();

  // Upload: translate.
  GuLstErrMsg.clear();
  if (!edt.TrnVioPgm()) return fail();

  onOk(*edt.FpInsAndTkn);
  return GcCplOk;
}

int RunCpl(const TuCplOpt& opt, std::ostream& out, std::ostream& err) {
  return CplPgm(opt, err, [&](const TInsAndTkn& trn) {
    out << FmtTrnStm(trn) << "\n";
    if (opt.Lst) out << FmtTrnLst(trn);
  });
}

int CplMai(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  TuCplOpt opt;
  std::string why;
  if (PrsCplArg(args, opt, why) != GcCplOk) {
    err << "tessaro-compile: " << why << "\n" << GcUsg << "\n";
    return GcCplUsg;
  }
  return RunCpl(opt, out, err);
}
