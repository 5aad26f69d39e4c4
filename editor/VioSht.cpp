#include "editor/VioSht.h"

#include <algorithm>
#include <array>
#include <utility>

#include "core/Globals.h"
#include "core/Seams.h"
#include "editor/VioPgmItp.h"
#include "editor/VioTyp.h"

namespace {

// The sheets' own key beside the window's Options.
constexpr const char* GcShtKey = "SOFTWARE\\Quorel\\TessaroV1.0\\Sheet";
constexpr const char* GcAutVal = "Author";
// "1" once the question has been answered: an empty author is an answer too.
constexpr const char* GcAskVal = "Asked";

}  // namespace

std::vector<TuShtVio> ShtVio(const TInsAndTkn& trn, std::size_t cnt) {
  std::vector<TuShtVio> r(cnt);
  int ord = 0;
  for (std::size_t i : trn.FpPgmVioLst)
    if (i < cnt && r[i].Ord == 0) r[i].Ord = ++ord;
  // Once the stream is built every record is one byte of it.
  const std::size_t n = std::min(trn.FpVioTknLst.size(), trn.FpTsmTknLst.size());
  for (std::size_t a = 0; a < n; ++a) {
    const std::int32_t v = trn.FpVioTknLst[a].VioIdx;
    if (InRng(v, cnt)) ++r[static_cast<std::size_t>(v)].Byt;
  }
  return r;
}

TuShtPgm ShtPgm(TVioPgmItp& edt, std::size_t bdg) {
  TuShtPgm s;
  s.Bdg = std::min(bdg ? bdg : edt.Bdg(), GcMaxTsmLen);
  std::string keep = std::move(GuLstErrMsg);
  GuLstErrMsg.clear();
  TInsAndTkn trn(nullptr);
  s.Ok = edt.TrnVioPgmQui(trn, &s.Flt);
  if (s.Ok) {
    s.Len = trn.FpTsmTknLst.size();
    s.Vio = ShtVio(trn, edt.Vios().size());
    s.Flt = -1;
  } else {
    s.Why = GuLstErrMsg;
  }
  GuLstErrMsg = std::move(keep);
  return s;
}

TuShtCel ShtCel(const TuShtCelIn& in) {
  TuShtCel c;
  const double pad = std::min(0.4, in.W * 0.04), gap = 0.5;
  const double w = std::max(0.0, in.W - 2 * pad), bdg = in.OrdW + in.BytW;
  const bool any = bdg > 0;
  // The line height for a number of rows, and whether the badges and the
  // caption then share the first row.
  auto lin = [&](std::size_t rows) { return rows ? std::min(in.Lin, (in.H - 2 * pad) / rows) : in.Lin; };
  const std::size_t rows = in.CapN + in.PrmN;
  double l = lin(rows);
  double k = in.Lin > 0 ? l / in.Lin : 0;  // the measured widths at this height
  const bool shr = !any || in.CapN == 0 || (in.CapW + bdg) * k + 2 * gap <= w;
  if (!shr) {
    l = lin(rows + 1);
    k = in.Lin > 0 ? l / in.Lin : 0;
  }
  c.Lin = l;
  double y = pad;
  // The badges: the run order at the left, the bytes at the right, each
  // centred on its row and no wider than half of it.
  const double bh = l * 0.9, by = y + (l - bh) / 2;
  if (in.OrdW > 0) c.Ord = {pad, by, std::min(in.OrdW * k, w / 2), bh};
  if (in.BytW > 0) {
    const double bw = std::min(in.BytW * k, w / 2);
    c.Byt = {pad + w - bw, by, bw, bh};
  }
  if (!shr) y += l;
  for (std::size_t i = 0; i < in.CapN; ++i, y += l) {
    // Beside the badges the caption keeps to the room between them.
    const double lft = i == 0 && shr && any ? (c.Ord.W > 0 ? c.Ord.W + gap : 0) : 0;
    const double rgt = i == 0 && shr && any ? (c.Byt.W > 0 ? c.Byt.W + gap : 0) : 0;
    c.Cap.push_back({pad + lft, y, std::max(0.0, w - lft - rgt), l});
  }
  for (std::size_t i = 0; i < in.PrmN; ++i, y += l) c.Prm.push_back({pad, y, w, l});
  return c;
}

std::vector<std::string> ShtPrm(const TVio& vio) {
  std::vector<std::string> out;
  bool val = false;  // the last line is an edit's value: a unit goes after it
  const auto& ctl = vio.Ctls();
  for (std::size_t i = 0; i < ctl.size(); ++i) {
    if (!ctl[i].Vis) continue;
    const std::string& t = vio.CtlTxt(static_cast<int>(i));
    if (ctl[i].Knd == TeCtlKnd::Lbl) {
      if (val && !t.empty()) out.back() += " " + t;
      val = false;
      continue;
    }
    out.push_back(t);
    val = ctl[i].Knd == TeCtlKnd::Edt;
  }
  return out;
}

std::vector<std::uint8_t> ShtLgd(const TVioPgmItp& edt) {
  std::array<bool, GcVioTypCnt> use{};
  bool any = false;
  for (const TVio* v : edt.Vios())
    if (v->Rec().VioTyp < GcVioTypCnt) use[v->Rec().VioTyp] = any = true;
  if (edt.Lsn())
    for (std::uint8_t t = 0; t < GcVioTypCnt; ++t)
      if (edt.VioOfr(t)) use[t] = any = true;
  // In the order of the legend places of the type table.
  std::vector<std::uint8_t> out(GcVioTypCnt);
  for (const TuVioTypRow& r : GuVioTyp) out[r.Lgd] = r.Typ;
  std::erase_if(out, [&](std::uint8_t t) { return any && !use[t]; });
  return out;
}

bool RedShtAut(std::string& nam) {
  nam.clear();
  auto st = GuPlatform().Settings->Create();
  if (!st || !st->OpenKey(GcShtKey, false)) return false;
  nam = st->ReadString(GcAutVal);
  return st->ReadString(GcAskVal) == "1" || !nam.empty();
}

bool KepShtAut(const std::string& nam) {
  auto st = GuPlatform().Settings->Create();
  return st && st->OpenKey(GcShtKey, true) && st->WriteString(GcAutVal, nam) && st->WriteString(GcAskVal, "1");
}
