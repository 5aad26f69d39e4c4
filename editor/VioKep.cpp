// The question before a changed program is dropped, and the recovery copy.
#include "editor/VioKep.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "core/Globals.h"
#include "core/Seams.h"

namespace fs = std::filesystem;

std::string VioUsrMsg(TVioPgmItp& edt, std::uint8_t id, const char* dft) {
  const std::string err = GuLstErrMsg;  // a missing message is no failure of the caller's
  std::string s = edt.GetSysUsrMsg(id);
  GuLstErrMsg = err;
  return s.empty() ? std::string(dft) : s;
}

bool AskDrpPgm(TVioPgmItp& edt, const std::function<void()>& sav) {
  if (!edt.Drt() || edt.GetVioCnt() == 0) return true;
  const TeMsgAns ans =
      ShwMsgBox(VioUsrMsg(edt, SUM_KEP_ASK, "The program has changes that are not saved. Save them?"),
                VioUsrMsg(edt, SUM_KEP_ASK_CAP, "Unsaved changes"), TeMsgBtn::SavDscCnc);
  switch (ans) {
    case TeMsgAns::Dsc: return true;
    case TeMsgAns::Sav:
      if (sav) sav();
      return !edt.Drt();
    default: return false;  // Cancel, or the box closed without an answer
  }
}

// ---- Recovery copy ----------------------------------------------------------

TVioRcv::TVioRcv(TVioPgmItp& edt, std::string path, std::chrono::milliseconds intv, TClk clk)
    : FEdt(edt), FsPth(std::move(path)), FIntv(intv), FClk(std::move(clk)) {
  FEdt.AddObs(this);
}

TVioRcv::~TVioRcv() { FEdt.RmvObs(this); }

std::string TVioRcv::DftPth() {
  fs::path dir;
  const char* xdg = std::getenv("XDG_DATA_HOME");
  if (xdg && *xdg && fs::path(xdg).is_absolute()) {
    dir = xdg;
  } else {
    const char* home = std::getenv("HOME");
    if (!home || !*home) return {};
    dir = fs::path(home) / ".local" / "share";
  }
  return (dir / "tessaro" / "recovery.vio").string();
}

std::chrono::steady_clock::time_point TVioRcv::Now() const {
  return FClk ? FClk() : std::chrono::steady_clock::now();
}

TVioRcv::TeOfr TVioRcv::Ofr() {
  // Armed once the offer is over: what the load does to the field must not
  // remove or rewrite the file on the way.
  struct TArm {
    bool& B;
    ~TArm() { B = true; }
  } arm{FbArm};
  FbArm = false;
  std::error_code ec;
  if (FsPth.empty() || !fs::exists(FsPth, ec)) return TeOfr::Non;
  const std::string cap = VioUsrMsg(FEdt, SUM_RCV_CAP, "Recovery");
  const TeMsgAns ans = ShwMsgBox(
      VioUsrMsg(FEdt, SUM_RCV_OFR,
                "Tessaro was not closed properly. A recovery copy of the program you were working on was kept. "
                "Restore it?"),
      cap, TeMsgBtn::YesNo);
  if (ans != TeMsgAns::Yes) {
    Rmv();
    return TeOfr::Dcl;
  }
  TStrLst bfr;
  FEdt.BldVioLns(bfr);
  GuLstErrMsg.clear();
  if (FEdt.LodVioFil(FsPth, false)) {
    FEdt.BldVioLns(FLstWrt);  // the file holds what the field shows
    FbPnd = false;
    return TeOfr::Rst;
  }
  std::string why = GuLstErrMsg;
  // The whole file is checked before the field is cleared; a vio that cannot
  // be created fails only later: the field goes back to what it was.
  TStrLst aft;
  FEdt.BldVioLns(aft);
  if (aft != bfr && !FEdt.DrpStp()) FEdt.RmvAllVio();
  FbPnd = false;
  fs::rename(FsPth, BadPth(), ec);
  const std::string kept = ec ? FsPth : BadPth();
  std::string txt = VioUsrMsg(FEdt, SUM_RCV_BAD, "The recovery copy is damaged and could not be restored. It was kept as:");
  txt += " " + kept;
  if (!why.empty()) txt += "\n" + why;
  ShwMsgBox(txt, cap, TeMsgBtn::Ok);
  GuLstErrMsg.clear();
  return TeOfr::Bad;
}

void TVioRcv::HstChg() {
  if (!FbArm) return;
  if (!FEdt.Drt()) {
    // Saved, opened or undone to the saved state: nothing to recover.
    FbPnd = false;
    Rmv();
    return;
  }
  if (!FbPnd) {
    FbPnd = true;
    FDue = Now() + FIntv;
  }
}

bool TVioRcv::Tck() {
  if (!FbArm || !FbPnd || Now() < FDue) return false;
  FbPnd = false;
  return Wrt();
}

bool TVioRcv::Wrt() {
  if (!FbArm || FsPth.empty()) return false;
  TStrLst lines;
  if (!FEdt.BldVioLns(lines)) return false;
  std::error_code ec;
  if (lines == FLstWrt && fs::exists(FsPth, ec)) return false;
  const fs::path dst(FsPth);
  bool ok = true;
  if (dst.has_parent_path()) {
    fs::create_directories(dst.parent_path(), ec);
    ok = !ec || fs::is_directory(dst.parent_path());
  }
  ok = ok && TVioPgmItp::WrtVioLns(lines, FsPth);
  if (!ok) {
    GuLstErrMsg = VioUsrMsg(FEdt, SUM_RCV_WRT, "The recovery copy of the program could not be written:") + " " + FsPth;
    if (!FbWrtTld) {
      FbWrtTld = true;
      ShwMsgBox(GuLstErrMsg, VioUsrMsg(FEdt, SUM_RCV_CAP, "Recovery"), TeMsgBtn::Ok);
    }
    return false;
  }
  FLstWrt = std::move(lines);
  return true;
}

void TVioRcv::Drp() {
  if (!FbArm) return;
  FbPnd = false;
  Rmv();
}

void TVioRcv::Rmv() {
  FLstWrt.clear();
  if (FsPth.empty()) return;
  std::error_code ec;
  fs::remove(FsPth, ec);
}
