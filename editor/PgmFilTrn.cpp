#include "editor/PgmFilTrn.h"

#include <ostream>
#include <vector>

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

int TakPgmFilOpt(TArgRdr& r, TPgmFilOpt& opt, std::string& err) {
  if (r.Nam() == "--language") {
    std::string v;
    if (!r.Val(v, err)) return -1;
    if (v != "0" && v != "1" && v != "2") {
      err = "--language must be 0, 1 or 2, not '" + v + "'";
      return -1;
    }
    opt.Lge = static_cast<std::uint8_t>(v[0] - '0');
    return 1;
  }
  if (r.Nam() == "--tokens") return r.Val(opt.TknPth, err) ? 1 : -1;
  if (r.Nam() == "--messages") return r.Val(opt.MsgPth, err) ? 1 : -1;
  return 0;
}

bool TrnPgmFil(const TPgmFilOpt& opt, std::ostream& err, const std::function<void(const TInsAndTkn&)>& onOk) {
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
    return false;
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

  onOk(edt.Trn());
  return true;
}

