#include "CplPgm.h"

#include <cstdio>
#include <ostream>

#include "core/Globals.h"
#include "core/PathUtl.h"
#include "core/Seams.h"
#include "core/WndMsg.h"
#include "editor/VioPgmItp.h"
#include "editor/VioTyp.h"
#include "messages/SysLgeMsg.h"
#include "translator/InsAndTkn.h"

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

std::string OneLin(std::string s) {
  for (char& c : s)
    if (c == '\n' || c == '\r') c = ' ';
  return s;
}

std::string VioDsc(const TVio* vio) {
  return OneLin(GetVioCap(vio->Rec.VioTyp)) + " at column " + std::to_string(vio->Rec.GrdCol + 1) + ", row " +
         std::to_string(vio->Rec.GrdRow + 1);
}

std::string Hex2(unsigned v) {
  char b[4];
  std::snprintf(b, sizeof b, "%02X", v & 0xFFu);
  return b;
}

std::string PadL(const std::string& s, std::size_t w) { return s.size() >= w ? s : std::string(w - s.size(), ' ') + s; }
std::string PadR(const std::string& s, std::size_t w) { return s.size() >= w ? s : s + std::string(w - s.size(), ' '); }

// One line per byte: address, byte, mnemonic, jump target (Goto, Then), vio.
void WrtLst(const TInsAndTkn& trn, std::ostream& out) {
  out << "addr  byte  mne  target  vio\n";
  const auto& recs = trn.FpVioTknLst;
  const auto& tsm = trn.FpTsmTknLst;
  for (std::size_t i = 0; i < tsm.size(); ++i) {
    std::string mne = "-", tgt, vio;
    if (i < recs.size()) {
      const TuExtComTkn& r = recs[i];
      if (!r.Mne.empty()) mne = r.Mne;
      if (!r.Sar && (r.Tkn == IT_GTO || r.Tkn == IT_THN)) tgt = std::to_string(r.TgtIdx);
      if (r.Vio) vio = VioDsc(r.Vio);
    }
    out << PadL(std::to_string(i), 4) << "  " << PadR(Hex2(tsm[i]), 4) << "  " << PadR(mne, 3) << "  "
        << PadL(tgt, 6) << "  " << vio << "\n";
  }
}

}  // namespace

int PrsCplArg(const std::vector<std::string>& args, TuCplOpt& opt, std::string& err, const TCplArgExt& ext) {
  opt = TuCplOpt{};
  bool havPgm = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    std::string a = args[i];
    std::string val;
    bool hasVal = false;
    const std::size_t eq = a.find('=');
    if (a.rfind("--", 0) == 0 && eq != std::string::npos) {
      val = a.substr(eq + 1);
      a.resize(eq);
      hasVal = true;
    }
    auto nxt = [&](std::string& dst) {
      if (hasVal) {
        dst = val;
        return true;
      }
      if (i + 1 >= args.size()) {
        err = "option " + a + " needs a value";
        return false;
      }
      dst = args[++i];
      return true;
    };
    if (ext && a.rfind("--", 0) == 0) {
      const int r = ext(a, hasVal, nxt, err);
      if (r == GcCplUsg) return GcCplUsg;
      if (r == GcCplOk) continue;
    }
    if (a == "--language") {
      std::string v;
      if (!nxt(v)) return GcCplUsg;
      if (v != "0" && v != "1" && v != "2") {
        err = "--language must be 0, 1 or 2, not '" + v + "'";
        return GcCplUsg;
      }
      opt.Lge = static_cast<std::uint8_t>(v[0] - '0');
    } else if (a == "--tokens") {
      if (!nxt(opt.TknPth)) return GcCplUsg;
    } else if (a == "--messages") {
      if (!nxt(opt.MsgPth)) return GcCplUsg;
    } else if (a == "--listing" && !hasVal) {
      opt.Lst = true;
    } else if (a.size() > 1 && a[0] == '-') {
      err = "unknown option '" + args[i] + "'";
      return GcCplUsg;
    } else {
      if (havPgm) {
        err = "only one program file can be translated";
        return GcCplUsg;
      }
      opt.PgmPth = a;
      havPgm = true;
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

  auto fail = [&]() {
    for (const std::string& t : box.Txts) err << t << "\n";
    if (!GuLstErrMsg.empty()) err << GuLstErrMsg << "\n";
    if (own.BlkVio) err << "blink: " << VioDsc(own.BlkVio) << "\n";
    return GcCplErr;
  };

  // The editor with its translator first, then the messages, then the token
  // definitions: the order of the main window's start-up.
  TVioPgmItp edt(&own);
  edt.CrtVioFld(0, 0);
  edt.SetLgeIdx(opt.Lge);
  edt.SetAvlCol(0);

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
    for (std::size_t i = 0; i < trn.FpTsmTknLst.size(); ++i) out << (i ? " " : "") << Hex2(trn.FpTsmTknLst[i]);
    out << "\n";
    if (opt.Lst) WrtLst(trn, out);
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
