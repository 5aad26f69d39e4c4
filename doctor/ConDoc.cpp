#include "doctor/ConDoc.h"

#include <algorithm>
#include <map>
#include <memory>
#include <string_view>

#include "link/PckPrt.h"
#include "link/PrtNam.h"
#include "messages/SysLgeMsg.h"
#include "messages/SysMsgBui.h"

namespace {

// The text of a message, or its identifier when the table lacks it, so that
// a step never says nothing.
std::string Msg(const TDocTxt& txt, std::uint8_t id, const std::vector<std::string>& arg = {}) {
  std::string t = txt ? txt(id) : std::string();
  if (t.empty()) {
    static const char hex[] = "0123456789ABCDEF";
    t = std::string("[0x") + hex[id >> 4] + hex[id & 15] + "]";
    for (std::size_t i = 0; i < arg.size(); ++i) t += " %" + std::to_string(i + 1);
  }
  return SysMsgArg(t, arg);
}

TDocRes Res(TeDocStp stp, TeDocSte ste, std::string fnd, std::string dO = {}) {
  TDocRes r;
  r.Stp = stp;
  r.Ste = ste;
  r.Fnd = std::move(fnd);
  r.Do = std::move(dO);
  return r;
}

// May this user read and write a file of that owner and mode?
bool MayOpn(IDocSys& sys, const TFilInf& inf) {
  const TDocUid uid = sys.Uid();
  if (uid == 0) return true;
  if (inf.Uid == uid) return (inf.Mod & 0600) == 0600;
  const std::vector<TDocGid> grp = sys.Groups();
  if (sys.Gid() == inf.Gid || std::find(grp.begin(), grp.end(), inf.Gid) != grp.end())
    return (inf.Mod & 0060) == 0060;
  return (inf.Mod & 0006) == 0006;
}

// Reads until a robot's "link established" frame arrives, the line goes, or
// the time is up. The line is the system layer's (a test stands its own in),
// the frame and its parsing the link session's: BldPck frames, TRcvPrs parses.
bool LnkChk(IDocSys& sys, int fd, int tmoMs) {
  std::vector<std::uint8_t> frm;
  if (!BldPck(0, MC_CTL, MK_LNK_CHK, {}, frm) || !sys.WrtAll(fd, frm)) return false;
  TRcvPrs prs;
  const std::int64_t end = sys.NowMs() + tmoMs;
  for (;;) {
    const std::int64_t left = end - sys.NowMs();
    if (left <= 0) return false;
    std::vector<std::uint8_t> in;
    if (!sys.RdSome(fd, static_cast<int>(left), in)) return false;
    for (std::uint8_t b : in) {
      prs.Put(b);
      if (prs.Ans(MC_CTL, MK_LNK_EST)) return true;
    }
  }
}

}  // namespace

TDocTxt SysDocTxt(std::uint8_t lge) {
  return [lge](std::uint8_t id) -> std::string {
    if (!GuSysLgeMsg) return {};
    return GuSysLgeMsg->GetSysMsg(id, lge);
  };
}

std::string DocStpTtl(TeDocStp stp, const TDocTxt& txt) {
  switch (stp) {
    case TeDocStp::Dev: return Msg(txt, DM_TTL_DEV);
    case TeDocStp::Prt: return Msg(txt, DM_TTL_PRT);
    case TeDocStp::Prm: return Msg(txt, DM_TTL_PRM);
    case TeDocStp::Hld: return Msg(txt, DM_TTL_HLD);
    case TeDocStp::Rob: return Msg(txt, DM_TTL_ROB);
  }
  return {};
}

std::string DocDevTxt(const TSerDev& d, const TDocTxt& txt) {
  std::vector<std::string> prt;
  if (!d.Vid.empty()) prt.push_back("USB " + d.Vid + ":" + d.Pid);
  if (!d.Mfr.empty()) prt.push_back(d.Mfr);
  if (!d.Prd.empty()) prt.push_back(d.Prd);
  if (!d.Ser.empty()) prt.push_back(Msg(txt, DM_WRD_SER) + " " + d.Ser);
  std::string inr;
  for (const std::string& p : prt) inr += (inr.empty() ? "" : ", ") + p;
  for (const std::string& l : d.Lnk) inr += (inr.empty() ? "" : "; ") + l;
  return inr.empty() ? d.Dev : d.Dev + " (" + inr + ")";
}

namespace {

// One run of the check: what the steps share.
struct TDocRun {
  IDocSys& Sys;
  const TDocCfg& Cfg;
  const TDocTxt& Txt;
  std::string Dev;     // the device the configured port stands for
  TFilInf Inf;         // its owner and mode
  std::string PrtTxt;  // the port as the user knows it, with the device
  std::vector<TDocRes> Out;

  void Add(TeDocStp stp, TeDocSte ste, std::string fnd, std::string dO = {}) {
    Out.push_back(Res(stp, ste, std::move(fnd), std::move(dO)));
  }
  void Skp(TeDocStp stp) { Add(stp, TeDocSte::Skip, Msg(Txt, DM_STP_SKP)); }
  std::string M(std::uint8_t id, const std::vector<std::string>& arg = {}) const { return Msg(Txt, id, arg); }
};

// 1. Serial devices.
void ChkDev(TDocRun& r) {
  const std::vector<TSerDev> devs = r.Sys.SerDevs();
  if (!devs.empty()) {
    std::string lst;
    for (const TSerDev& d : devs) lst += (lst.empty() ? "" : "; ") + DocDevTxt(d, r.Txt);
    r.Add(TeDocStp::Dev, TeDocSte::Ok, r.M(DM_DEV_LST, {lst}));
  } else if (r.Inf.Exs && r.Inf.Chr) {
    // A port that is no device of the computer's own: a simulated robot, say.
    r.Add(TeDocStp::Dev, TeDocSte::Ok, r.M(DM_DEV_NON));
  } else {
    r.Add(TeDocStp::Dev, TeDocSte::Fail, r.M(DM_DEV_NON), r.M(DM_DEV_NON_DO));
  }
}

// 2. The configured port; false (the rest skipped) when it is not there.
bool ChkPrt(TDocRun& r) {
  if (r.Cfg.PrtNam.empty() || !(r.Inf.Exs && r.Inf.Chr)) {
    r.Add(TeDocStp::Prt, TeDocSte::Fail, r.Cfg.PrtNam.empty() ? r.M(DM_PRT_NON) : r.M(DM_PRT_MIS, {r.PrtTxt}),
          r.M(DM_PRT_MIS_DO));
    for (TeDocStp s : {TeDocStp::Prm, TeDocStp::Hld, TeDocStp::Rob}) r.Skp(s);
    return false;
  }
  r.Add(TeDocStp::Prt, TeDocSte::Ok, r.M(DM_PRT_OKY, {r.PrtTxt}));
  return true;
}

// 3. Permission; false when the user may not open the device.
bool ChkPrm(TDocRun& r) {
  IDocSys& sys = r.Sys;
  const TFilInf& inf = r.Inf;
  if (!sys.FilPrm()) {
    r.Add(TeDocStp::Prm, TeDocSte::Ok, r.M(DM_PRM_NAP, {r.Dev}));
    return true;
  }
  if (MayOpn(sys, inf)) {
    r.Add(TeDocStp::Prm, TeDocSte::Ok, r.M(DM_PRM_OKY, {r.Dev}));
    return true;
  }
  const TGrpInf grp = sys.GroupById(inf.Gid);
  const std::vector<std::string> arg{r.Dev, grp.Fnd ? grp.Nam : std::to_string(inf.Gid), sys.UserName()};
  // Named in the group database, but not yet a group of this login.
  const std::vector<TDocGid> now = sys.Groups();
  const bool inNow = sys.Gid() == inf.Gid || std::find(now.begin(), now.end(), inf.Gid) != now.end();
  const bool joined = !inNow && grp.Fnd && std::find(grp.Mbr.begin(), grp.Mbr.end(), arg[2]) != grp.Mbr.end();
  std::uint8_t id = DM_PRM_GRP, dO = DM_PRM_GRP_DO;
  if (inf.Uid != sys.Uid() && (inf.Mod & 0060) != 0060) {
    // The group itself may not read and write: joining it does not help.
    id = DM_PRM_MOD;
    dO = DM_PRM_MOD_DO;
  } else if (joined) {
    id = DM_PRM_LGN;
    dO = DM_PRM_LGN_DO;
  }
  r.Add(TeDocStp::Prm, TeDocSte::Fail, r.M(id, arg), r.M(dO, arg));
  return false;
}

// 4. Other programs; own tells whether this process holds the device, oth
// names the others.
bool ChkHld(TDocRun& r, bool fail, bool& own) {
  std::string oth;
  own = false;
  for (const auto& h : r.Sys.Holders(r.Sys.RealPath(r.Dev))) {
    if (h.Own) {
      own = true;
      continue;
    }
    oth += (oth.empty() ? "" : ", ") + h.Nam + " (" + r.M(DM_WRD_PRC) + " " + std::to_string(h.Pid) + ")";
  }
  // The lock that the serial component and the tools respect: a lock file
  // of a running program, which anyone may read, or a lock on the device.
  if (oth.empty()) {
    const IDocSys::THolder l = r.Sys.Locker(r.Dev);
    if (l.Pid > 0) oth = l.Nam + " (" + r.M(DM_WRD_PRC) + " " + std::to_string(l.Pid) + ")";
    if (l.Pid < 0) {
      own = false;
      r.Add(TeDocStp::Hld, TeDocSte::Fail, r.M(DM_HLD_UNK, {r.Dev}), r.M(DM_HLD_OTH_DO));
      return false;
    }
  }
  if (!oth.empty()) {
    own = false;
    r.Add(TeDocStp::Hld, TeDocSte::Fail, r.M(DM_HLD_OTH, {r.Dev, oth}), r.M(DM_HLD_OTH_DO));
    return false;
  }
  if (own)
    r.Add(TeDocStp::Hld, TeDocSte::Ok, r.M(DM_HLD_OWN, {r.Dev}));
  else if (fail)
    // A user who may not open the device cannot see the other users'
    // programs either: finding none says nothing.
    r.Skp(TeDocStp::Hld);
  else
    r.Add(TeDocStp::Hld, TeDocSte::Ok, r.M(r.Sys.HldByOpn() ? DM_HLD_OPN : DM_HLD_NON, {r.Dev}));
  return true;
}

// 5. The robot.
void ChkRob(TDocRun& r) {
  int fd = -1;
  std::string err;
  switch (r.Sys.OpnPrt(r.Dev, fd, err)) {
    case TeOpnRes::Ok: break;
    case TeOpnRes::Busy:
      r.Out.back() = Res(TeDocStp::Hld, TeDocSte::Fail, r.M(DM_HLD_UNK, {r.Dev}), r.M(DM_HLD_OTH_DO));
      r.Skp(TeDocStp::Rob);
      return;
    case TeOpnRes::Missing:
      r.Add(TeDocStp::Rob, TeDocSte::Fail, r.M(DM_OPN_ERR, {r.Dev, err}), r.M(DM_PRT_MIS_DO));
      return;
    case TeOpnRes::Denied:
      // The rights said yes (step 3), and yet: no cable or robot helps here.
      r.Add(TeDocStp::Rob, TeDocSte::Fail, r.M(DM_OPN_ERR, {r.Dev, err}), r.M(DM_OPN_DEN_DO, {r.Dev}));
      return;
    case TeOpnRes::Other:
      r.Add(TeDocStp::Rob, TeDocSte::Fail, r.M(DM_OPN_ERR, {r.Dev, err}), r.M(DM_ROB_SIL_DO));
      return;
  }
  const bool ans = LnkChk(r.Sys, fd, r.Cfg.TmoMs);
  r.Sys.ClsPrt(fd);
  if (ans)
    r.Add(TeDocStp::Rob, TeDocSte::Ok, r.M(DM_ROB_OKY, {r.Dev}));
  else
    r.Add(TeDocStp::Rob, TeDocSte::Fail, r.M(DM_ROB_SIL, {r.Dev, std::to_string(r.Cfg.TmoMs / 1000)}),
          r.M(DM_ROB_SIL_DO));
}

}  // namespace

std::vector<TDocRes> RunConDoc(IDocSys& sys, const TDocCfg& cfg, const TDocTxt& txt) {
  TDocRun r{sys, cfg, txt, {}, {}, {}, {}};
  // The robot inside the program has no device to check: its own link
  // button in the tool bar asks it.
  if (IsSimPrt(cfg.PrtNam)) {
    r.Add(TeDocStp::Rob, TeDocSte::Skip, r.M(DM_SIM_OWN));
    return std::move(r.Out);
  }
  r.Dev = cfg.Dev ? *cfg.Dev : cfg.PrtNam.empty() ? std::string() : PrtDevPth(cfg.PrtNam);
  r.Inf = sys.Stat(r.Dev);
  r.PrtTxt = r.Dev.empty() || r.Dev == cfg.PrtNam ? cfg.PrtNam : cfg.PrtNam + " (" + r.Dev + ")";
  ChkDev(r);
  if (!ChkPrt(r)) return std::move(r.Out);
  bool fail = !ChkPrm(r);
  bool own = false;
  fail = !ChkHld(r, fail, own) || fail;
  if (fail)
    r.Skp(TeDocStp::Rob);
  else if (own && cfg.OwnAns)
    r.Add(TeDocStp::Rob, TeDocSte::Ok, r.M(DM_ROB_OWN_OKY, {r.Dev}));
  else if (own)
    // This program holds the port: its own link button makes the check.
    r.Add(TeDocStp::Rob, TeDocSte::Skip, r.M(DM_ROB_OWN, {r.Dev}));
  else
    ChkRob(r);
  return std::move(r.Out);
}

namespace {
const char* SteTag(TeDocSte s) {
  switch (s) {
    case TeDocSte::Ok: return "[ ok ] ";
    case TeDocSte::Fail: return "[FAIL] ";
    case TeDocSte::Skip: return "[ -- ] ";
  }
  return "";
}
}  // namespace

std::string DocMsg(const TDocTxt& txt, std::uint8_t id, const std::vector<std::string>& arg) {
  return Msg(txt, id, arg);
}

const char* DocSteTag(TeDocSte ste) { return SteTag(ste); }

std::string DocRptTxt(const std::vector<TDocRes>& res, const TDocTxt& txt) {
  std::string out = Msg(txt, DM_TTL_DOC) + "\n\n";
  for (const TDocRes& r : res) {
    out += SteTag(r.Ste) + DocStpTtl(r.Stp, txt) + "\n       " + r.Fnd + "\n";
    if (!r.Do.empty()) out += "       " + Msg(txt, DM_WRD_DO) + " " + r.Do + "\n";
  }
  return out;
}

bool DocAllOky(const std::vector<TDocRes>& res) {
  for (const TDocRes& r : res)
    if (r.Ste != TeDocSte::Ok) return false;
  return !res.empty();
}

std::vector<std::uint8_t> DocMsgIds() {
  std::vector<std::uint8_t> ids;
  for (const TSysMsgIdf& m : GcSysMsgIdf)
    if (std::string_view(m.Nam).substr(0, 3) == "DM_") ids.push_back(m.Idf);
  return ids;
}

TDocTxt DocTxtCpy(const TDocTxt& txt) {
  auto tbl = std::make_shared<std::map<std::uint8_t, std::string>>();
  for (std::uint8_t id : DocMsgIds()) (*tbl)[id] = txt(id);
  return [tbl](std::uint8_t id) -> std::string {
    const auto it = tbl->find(id);
    return it == tbl->end() ? std::string() : it->second;
  };
}
