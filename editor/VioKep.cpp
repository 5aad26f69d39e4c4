// The question before a changed program is dropped, and the recovery copy.
#include "editor/VioKep.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

#include "core/Globals.h"
#include "core/Seams.h"
#include "editor/VioKepLck.h"
#include "messages/SysMsgBui.h"

namespace fs = std::filesystem;

std::string VioUsrMsg(TVioPgmItp& edt, std::uint8_t id) { return SysMsgOr(id, edt.LgeIdx()); }

bool AskDrpPgm(TVioPgmItp& edt, const std::function<void()>& sav) {
  if (!edt.Drt() || edt.GetVioCnt() == 0) return true;
  const TeMsgAns ans =
      ShwMsgBox(VioUsrMsg(edt, SUM_KEP_ASK),
                VioUsrMsg(edt, SUM_KEP_ASK_CAP), TeMsgBtn::SavDscCnc);
  switch (ans) {
    case TeMsgAns::Dsc: return true;
    case TeMsgAns::Sav:
      if (sav) sav();
      return !edt.Drt();
    default: return false;  // Cancel, or the box closed without an answer
  }
}

// ---- Recovery copy ----------------------------------------------------------

namespace {

constexpr const char* GcRcvPfx = "recovery";

// "recovery.vio" -> "recovery.lock".
std::string LckPth(const fs::path& copy) {
  fs::path p = copy;
  return p.replace_extension(".lock").string();
}

}  // namespace

TVioRcv::TVioRcv(TVioPgmItp& edt, std::string path, std::chrono::milliseconds intv, TClk clk)
    : FEdt(edt), FsOld(std::move(path)), FIntv(intv), FClk(std::move(clk)) {
  FEdt.AddObs(this);
}

TVioRcv::~TVioRcv() {
  FEdt.RmvObs(this);
  // A copy that is left stays for the next start, with its lock file free.
  std::error_code ec;
  RcvUnl(FiLck, FsLck, FsPth.empty() || !fs::exists(FsPth, ec));
}

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

void TVioRcv::Clm() {
  if (Locked() || FsOld.empty()) return;
  const fs::path dir = fs::path(FsOld).parent_path();
  std::error_code ec;
  if (!dir.empty()) fs::create_directories(dir, ec);
  const std::string pid = std::to_string(RcvPrcId());
  std::string first;
  // A copy left by an earlier process of the same number is not ours.
  for (int k = 0; k < 100; ++k) {
    const std::string nam = std::string(GcRcvPfx) + "-" + pid + (k ? "-" + std::to_string(k) : "");
    const fs::path cpy = dir / (nam + ".vio");
    if (first.empty()) first = cpy.string();
    if (fs::exists(cpy, ec)) continue;
    const std::string lck = LckPth(cpy);
    const int fd = RcvLck(lck);
    if (fd < 0) continue;
    FsPth = cpy.string();
    FsLck = lck;
    FiLck = fd;
    return;
  }
  // No lock (the folder cannot be written): the copy keeps its name, and a
  // write tells why it fails.
  if (FsPth.empty()) FsPth = first;
}

TVioRcv::TeOfr TVioRcv::Ofr() {
  // Armed once the offer is over: what the load does to the field must not
  // remove or rewrite the file on the way.
  struct TArm {
    bool& B;
    ~TArm() { B = true; }
  } arm{FbArm};
  FbArm = false;
  Clm();
  if (FsOld.empty()) return TeOfr::Non;
  // The copies (and lone lock files) in the folder, newest first.
  const fs::path dir = fs::path(FsOld).parent_path();
  const fs::path own = fs::path(FsPth).stem();
  std::vector<std::pair<fs::file_time_type, fs::path>> cnd;
  std::error_code ec;
  for (fs::directory_iterator it(dir.empty() ? fs::path(".") : dir, ec), end; !ec && it != end; it.increment(ec)) {
    const fs::path p = it->path();
    const std::string nam = p.filename().string();
    const std::string ext = p.extension().string();
    if (ext != ".vio" && ext != ".lock") continue;
    const std::string stm = p.stem().string();
    if (stm != GcRcvPfx && stm.rfind(std::string(GcRcvPfx) + "-", 0) != 0) continue;
    if (p.stem() == own) continue;
    const fs::path cpy = dir / (stm + ".vio");
    if (ext == ".lock" && fs::exists(cpy, ec)) continue;  // listed with its copy
    std::error_code tec;
    fs::file_time_type t = fs::last_write_time(cpy, tec);
    if (tec) t = fs::file_time_type::min();
    cnd.emplace_back(t, cpy);
  }
  std::sort(cnd.begin(), cnd.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
  TeOfr res = TeOfr::Non;
  for (const auto& c : cnd) {
    const std::string cpy = c.second.string();
    const std::string lck = LckPth(c.second);
    int fd = RcvLck(lck);
    if (fd < 0) continue;  // its window runs, or another one is offering it now
    if (!fs::exists(cpy, ec)) {
      RcvUnl(fd, lck, true);  // a window that ended without a copy
      continue;
    }
    const TeOfr one = OfrOne(cpy, lck, fd);
    if (one == TeOfr::Rst) return one;
    if (one == TeOfr::Bad || res == TeOfr::Non) res = one;
  }
  return res;
}

TVioRcv::TeOfr TVioRcv::OfrOne(const std::string& cpy, const std::string& lck, int fd) {
  std::error_code ec;
  const std::string cap = VioUsrMsg(FEdt, SUM_RCV_CAP);
  const TeMsgAns ans = ShwMsgBox(
      VioUsrMsg(FEdt, SUM_RCV_OFR),
      cap, TeMsgBtn::YesNo);
  if (ans != TeMsgAns::Yes) {
    fs::remove(cpy, ec);
    RcvUnl(fd, lck, true);
    return TeOfr::Dcl;
  }
  TStrLst bfr;
  FEdt.BldVioLns(bfr);
  GuLstErrMsg.clear();
  if (FEdt.LodVioFil(cpy, false)) {
    // It is this window's copy from now on.
    if (!FsPth.empty()) fs::rename(cpy, FsPth, ec);
    if (FsPth.empty() || ec) {
      FLstWrt.clear();  // written under this window's name at the next look
      FbPnd = true;
      FDue = Now();
    } else {
      FEdt.BldVioLns(FLstWrt);  // the file holds what the field shows
      FbPnd = false;
    }
    RcvUnl(fd, lck, !ec);
    return TeOfr::Rst;
  }
  std::string why = GuLstErrMsg;
  // The whole file is checked before the field is cleared; a vio that cannot
  // be created fails only later: the field goes back to what it was.
  TStrLst aft;
  FEdt.BldVioLns(aft);
  if (aft != bfr && !FEdt.DrpStp()) FEdt.RmvAllVio();
  FbPnd = false;
  fs::rename(cpy, BadPth(cpy), ec);
  const std::string kept = ec ? cpy : BadPth(cpy);
  RcvUnl(fd, lck, !ec);
  std::string txt = VioUsrMsg(FEdt, SUM_RCV_BAD);
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
  if (!FbArm) return false;
  std::error_code ec;
  // Not locked at the offer (the folder could not be made then, or every
  // name was taken): try again until a copy has been written.
  if (!Locked() && (FsPth.empty() || FLstWrt.empty() || !fs::exists(FsPth, ec))) {
    FsPth.clear();
    Clm();
  }
  if (FsPth.empty()) return false;
  TStrLst lines;
  if (!FEdt.BldVioLns(lines)) return false;
  if (lines == FLstWrt && fs::exists(FsPth, ec)) return false;
  const fs::path dst(FsPth);
  // Without the lock the name is only borrowed: a copy that an earlier run
  // left there is never written over.
  bool ok = Locked() || !FLstWrt.empty() || !fs::exists(dst, ec);
  if (ok && dst.has_parent_path()) {
    fs::create_directories(dst.parent_path(), ec);
    std::error_code dec;
    ok = !ec || fs::is_directory(dst.parent_path(), dec);
  }
  ok = ok && TVioPgmItp::WrtVioLns(lines, FsPth);
  if (!ok) {
    GuLstErrMsg = VioUsrMsg(FEdt, SUM_RCV_WRT) + " " + FsPth;
    if (!FbWrtTld) {
      FbWrtTld = true;
      ShwMsgBox(GuLstErrMsg, VioUsrMsg(FEdt, SUM_RCV_CAP), TeMsgBtn::Ok);
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
