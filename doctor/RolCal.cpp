#include "doctor/RolCal.h"

#include <set>
#include <thread>

#include "link/PrtNam.h"

namespace {

// The port as a row names it: "COM5 (/dev/ttyUSB0)"; a device by itself.
std::string PrtTxt(const TRolPrt& p) {
  return p.Dev.empty() || p.Dev == p.Nam ? p.Nam : p.Nam + " (" + p.Dev + ")";
}

}  // namespace

std::vector<TRolPrt> RolPrts(IDocSys& sys) {
  std::vector<TRolPrt> out;
  std::set<std::string> seen;  // the devices listed, as the links lead
  for (const std::string& nam : sys.ComPrts()) {
    const std::string dev = PrtDevPth(nam);
    out.push_back({nam, dev, false});
    seen.insert(sys.RealPath(dev));
  }
  for (const TSerDev& d : sys.SerDevs()) {
    const std::string real = sys.RealPath(d.Dev);
    if (!real.empty() && !seen.insert(real).second) continue;
    out.push_back({d.Dev, d.Dev, false});
  }
  return out;
}

std::vector<TRolPrt> RolPrtsOf(const std::vector<std::string>& names) {
  std::vector<TRolPrt> out;
  for (const std::string& n : names) out.push_back({n, PrtDevPth(n), false});
  return out;
}

TRolRow RolRow(const TRolPrt& prt, const std::vector<TDocRes>& res) {
  TRolRow w;
  w.Prt = PrtTxt(prt);
  const TDocRes* dcd = res.empty() ? nullptr : &res.back();
  for (const TDocRes& r : res)
    if (r.Stp != TeDocStp::Dev && r.Ste == TeDocSte::Fail) {
      dcd = &r;
      break;
    }
  if (dcd) {
    w.Ste = dcd->Ste;
    w.Fnd = dcd->Fnd;
    w.Do = dcd->Do;
  }
  return w;
}

std::vector<TRolRow> RunRolCal(const IDocSys& sys, const std::vector<TRolPrt>& prt, const TDocTxt& txt,
                               int tmoMs) {
  std::vector<TRolRow> rows(prt.size());
  std::vector<std::thread> thr;
  thr.reserve(prt.size());
  for (std::size_t i = 0; i < prt.size(); ++i)
    thr.emplace_back([&, i, own = sys.Dup()] {
      TDocCfg cfg;
      cfg.PrtNam = prt[i].Nam;
      cfg.Dev = prt[i].Dev;
      cfg.TmoMs = tmoMs;
      cfg.OwnAns = prt[i].OwnAns;
      rows[i] = RolRow(prt[i], RunConDoc(*own, cfg, txt));
    });
  for (std::thread& t : thr) t.join();
  return rows;
}

std::string RolRowTxt(const TRolRow& row, const TDocTxt& txt) {
  std::string l = DocSteTag(row.Ste) + row.Prt + ": " + row.Fnd;
  if (!row.Do.empty()) l += " " + DocMsg(txt, DM_WRD_DO) + " " + row.Do;
  return l;
}

std::string RolRptTxt(const std::vector<TRolRow>& rows, const TDocTxt& txt) {
  std::string out = DocMsg(txt, DM_ALL_TTL) + "\n\n";
  if (rows.empty())
    return out + DocSteTag(TeDocSte::Fail) + DocMsg(txt, DM_ALL_NON) + " " + DocMsg(txt, DM_WRD_DO) + " " +
           DocMsg(txt, DM_DEV_NON_DO) + "\n";
  std::size_t oky = 0;
  for (const TRolRow& r : rows) {
    out += RolRowTxt(r, txt) + "\n";
    oky += r.Ste == TeDocSte::Ok;
  }
  return out + "\n" + DocMsg(txt, DM_ALL_SUM, {std::to_string(oky), std::to_string(rows.size())}) + "\n";
}

bool RolAllOky(const std::vector<TRolRow>& rows) {
  for (const TRolRow& r : rows)
    if (r.Ste != TeDocSte::Ok) return false;
  return !rows.empty();
}
