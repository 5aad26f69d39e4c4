#include "doctor/ConDoc.h"

#include <algorithm>
#include <memory>

#include "link/LnkSes.h"
#include "link/PrtNam.h"
#include "messages/SysLgeMsg.h"

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
  return DocFmt(t, arg);
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
  const uid_t uid = sys.Uid();
  if (uid == 0) return true;
  if (inf.Uid == uid) return (inf.Mod & 0600) == 0600;
  const std::vector<gid_t> grp = sys.Groups();
  if (sys.Gid() == inf.Gid || std::find(grp.begin(), grp.end(), inf.Gid) != grp.end())
    return (inf.Mod & 0060) == 0060;
  return (inf.Mod & 0006) == 0006;
}

// Reads until a robot's "link established" frame arrives, the line goes, or
// the time is up.
bool LnkChk(IDocSys& sys, int fd, int tmoMs) {
  std::vector<std::uint8_t> frm;
  if (!BldPck(0, MC_CTL, MK_LNK_CHK, {}, frm) || !sys.WrtAll(fd, frm)) return false;
  TRbtAns ans(MC_CTL, MK_LNK_EST);
  const std::int64_t end = sys.NowMs() + tmoMs;
  for (;;) {
    const std::int64_t left = end - sys.NowMs();
    if (left <= 0) return false;
    std::vector<std::uint8_t> in;
    if (!sys.RdSome(fd, static_cast<int>(left), in)) return false;
    for (std::uint8_t b : in)
      if (ans.Put(b)) return true;
  }
}

}  // namespace

TDocTxt SysDocTxt(std::uint8_t lge) {
  return [lge](std::uint8_t id) -> std::string {
    if (!GuSysLgeMsg) return {};
    return GuSysLgeMsg->GetSysMsg(id, lge);
  };
}

std::string DocFmt(const std::string& msg, const std::vector<std::string>& arg) {
  std::string out;
  for (std::size_t i = 0; i < msg.size(); ++i) {
    if (msg[i] == '%' && i + 1 < msg.size() && msg[i + 1] >= '1' && msg[i + 1] <= '9') {
      const std::size_t n = static_cast<std::size_t>(msg[i + 1] - '1');
      if (n < arg.size()) {
        out += arg[n];
        ++i;
        continue;
      }
    }
    out += msg[i];
  }
  return out;
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

std::vector<TDocRes> RunConDoc(IDocSys& sys, const TDocCfg& cfg, const TDocTxt& txt) {
  std::vector<TDocRes> out;
  const std::string dev = cfg.PrtNam.empty() ? std::string() : PrtDevPth(cfg.PrtNam);
  const TFilInf inf = sys.Stat(dev);
  const bool prtOky = inf.Exs && inf.Chr;
  // The port as the user knows it, with the device it stands for.
  const std::string prtTxt = dev.empty() || dev == cfg.PrtNam ? cfg.PrtNam : cfg.PrtNam + " (" + dev + ")";

  // 1. Serial devices.
  const std::vector<TSerDev> devs = sys.SerDevs();
  if (!devs.empty()) {
    std::string lst;
    for (const TSerDev& d : devs) lst += (lst.empty() ? "" : "; ") + DocDevTxt(d, txt);
    out.push_back(Res(TeDocStp::Dev, TeDocSte::Ok, Msg(txt, DM_DEV_LST, {lst})));
  } else if (prtOky) {
    // A port that is no device of the computer's own: a simulated robot, say.
    out.push_back(Res(TeDocStp::Dev, TeDocSte::Ok, Msg(txt, DM_DEV_NON)));
  } else {
    out.push_back(Res(TeDocStp::Dev, TeDocSte::Fail, Msg(txt, DM_DEV_NON), Msg(txt, DM_DEV_NON_DO)));
  }

  // 2. The configured port.
  auto skpRst = [&](TeDocStp from) {
    for (TeDocStp s : {TeDocStp::Prm, TeDocStp::Hld, TeDocStp::Rob})
      if (s >= from) out.push_back(Res(s, TeDocSte::Skip, Msg(txt, DM_STP_SKP)));
  };
  if (cfg.PrtNam.empty()) {
    out.push_back(Res(TeDocStp::Prt, TeDocSte::Fail, Msg(txt, DM_PRT_NON), Msg(txt, DM_PRT_MIS_DO)));
    skpRst(TeDocStp::Prm);
    return out;
  }
  if (!prtOky) {
    out.push_back(Res(TeDocStp::Prt, TeDocSte::Fail, Msg(txt, DM_PRT_MIS, {prtTxt}), Msg(txt, DM_PRT_MIS_DO)));
    skpRst(TeDocStp::Prm);
    return out;
  }
  out.push_back(Res(TeDocStp::Prt, TeDocSte::Ok, Msg(txt, DM_PRT_OKY, {prtTxt})));

  // 3. Permission.
  bool fail = false;
  if (MayOpn(sys, inf)) {
    out.push_back(Res(TeDocStp::Prm, TeDocSte::Ok, Msg(txt, DM_PRM_OKY, {dev})));
  } else {
    fail = true;
    const TGrpInf grp = sys.GroupById(inf.Gid);
    const std::string grpNam = grp.Fnd ? grp.Nam : std::to_string(inf.Gid);
    const std::string usr = sys.UserName();
    // Named in the group database, but not yet a group of this login.
    const std::vector<gid_t> now = sys.Groups();
    const bool inNow = sys.Gid() == inf.Gid || std::find(now.begin(), now.end(), inf.Gid) != now.end();
    const bool joined =
        !inNow && grp.Fnd && std::find(grp.Mbr.begin(), grp.Mbr.end(), usr) != grp.Mbr.end();
    if (inf.Uid != sys.Uid() && (inf.Mod & 0060) != 0060)
      // The group itself may not read and write: joining it does not help.
      out.push_back(Res(TeDocStp::Prm, TeDocSte::Fail, Msg(txt, DM_PRM_MOD, {dev, grpNam, usr}),
                        Msg(txt, DM_PRM_MOD_DO, {dev, grpNam, usr})));
    else if (joined)
      out.push_back(Res(TeDocStp::Prm, TeDocSte::Fail, Msg(txt, DM_PRM_LGN, {dev, grpNam, usr}),
                        Msg(txt, DM_PRM_LGN_DO, {dev, grpNam, usr})));
    else
      out.push_back(Res(TeDocStp::Prm, TeDocSte::Fail, Msg(txt, DM_PRM_GRP, {dev, grpNam, usr}),
                        Msg(txt, DM_PRM_GRP_DO, {dev, grpNam, usr})));
  }

  // 4. Other programs.
  const std::vector<IDocSys::THolder> hld = sys.Holders(sys.RealPath(dev));
  std::string oth;
  bool own = false;
  for (const auto& h : hld) {
    if (h.Own) {
      own = true;
      continue;
    }
    oth += (oth.empty() ? "" : ", ") + h.Nam + " (" + Msg(txt, DM_WRD_PRC) + " " + std::to_string(h.Pid) + ")";
  }
  if (!oth.empty()) {
    fail = true;
    out.push_back(Res(TeDocStp::Hld, TeDocSte::Fail, Msg(txt, DM_HLD_OTH, {dev, oth}), Msg(txt, DM_HLD_OTH_DO)));
  } else if (own) {
    out.push_back(Res(TeDocStp::Hld, TeDocSte::Ok, Msg(txt, DM_HLD_OWN, {dev})));
  } else if (fail) {
    // A user who may not open the device cannot see the other users'
    // programs either: finding none says nothing.
    out.push_back(Res(TeDocStp::Hld, TeDocSte::Skip, Msg(txt, DM_STP_SKP)));
  } else {
    out.push_back(Res(TeDocStp::Hld, TeDocSte::Ok, Msg(txt, DM_HLD_NON, {dev})));
  }

  // 5. The robot.
  if (fail) {
    out.push_back(Res(TeDocStp::Rob, TeDocSte::Skip, Msg(txt, DM_STP_SKP)));
    return out;
  }
  if (own && oth.empty()) {
    // This program holds the port: its own link button makes the check.
    out.push_back(Res(TeDocStp::Rob, TeDocSte::Skip, Msg(txt, DM_ROB_OWN, {dev})));
    return out;
  }
  int fd = -1;
  std::string err;
  switch (sys.OpnPrt(dev, fd, err)) {
    case TeOpnRes::Ok: break;
    case TeOpnRes::Busy:
      out.back() = Res(TeDocStp::Hld, TeDocSte::Fail, Msg(txt, DM_HLD_UNK, {dev}), Msg(txt, DM_HLD_OTH_DO));
      out.push_back(Res(TeDocStp::Rob, TeDocSte::Skip, Msg(txt, DM_STP_SKP)));
      return out;
    case TeOpnRes::Missing:
      out.push_back(Res(TeDocStp::Rob, TeDocSte::Fail, Msg(txt, DM_OPN_ERR, {dev, err}), Msg(txt, DM_PRT_MIS_DO)));
      return out;
    case TeOpnRes::Denied:
    case TeOpnRes::Other:
      out.push_back(Res(TeDocStp::Rob, TeDocSte::Fail, Msg(txt, DM_OPN_ERR, {dev, err}), Msg(txt, DM_ROB_SIL_DO)));
      return out;
  }
  const bool ans = LnkChk(sys, fd, cfg.TmoMs);
  sys.ClsPrt(fd);
  if (ans)
    out.push_back(Res(TeDocStp::Rob, TeDocSte::Ok, Msg(txt, DM_ROB_OKY, {dev})));
  else
    out.push_back(Res(TeDocStp::Rob, TeDocSte::Fail, Msg(txt, DM_ROB_SIL, {dev, std::to_string(cfg.TmoMs / 1000)}),
                      Msg(txt, DM_ROB_SIL_DO)));
  return out;
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

TDocTxt DocTxtCpy(const TDocTxt& txt) {
  auto tbl = std::make_shared<std::vector<std::string>>();
  for (int id = DM_DEV_LST; id <= DM_TTL_DOC; ++id) tbl->push_back(txt(static_cast<std::uint8_t>(id)));
  return [tbl](std::uint8_t id) -> std::string {
    if (id < DM_DEV_LST || id > DM_TTL_DOC) return {};
    return (*tbl)[id - DM_DEV_LST];
  };
}
