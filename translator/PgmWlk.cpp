// The program walk: from the Start vio (and then the switch-interrupt vio)
// through neighbouring cells into the walk list, then token generation.
#include <utility>
#include <vector>

#include "core/Globals.h"
#include "messages/SysLgeMsg.h"
#include "translator/InsAndTkn.h"
#include "translator/TrnLst.h"

namespace {

// More visits than this cannot give a stream that fits into one upload (a
// vio that yields no byte, an Else or a Label named by a Goto, needs others
// that do). The bound also keeps the recursion shallow for any field a file
// can describe.
constexpr std::size_t GcMaxWlkLen = 1024;

// A vio of the description by its index; -1 is none.
using TVioIdx = std::int32_t;
constexpr TVioIdx GcNoVio = -1;

class TPgmWlk {
public:
  TPgmWlk(TInsAndTkn& trn, ITrnRpt& rpt) : D(trn.PgmDsc()), T(trn), R(rpt) {}

  // 1: found the one entry vio; 0: none (switch interrupt only); -1: failure.
  int FndEtyVio(std::uint8_t typ, TVioIdx& ety);
  bool WlkVio(TVioIdx prv, TVioIdx cur);

private:
  const TuPgmVio& V(TVioIdx i) const { return D.Vios[static_cast<std::size_t>(i)]; }
  bool IsTyp(TVioIdx i, std::uint8_t typ) const { return i != GcNoVio && V(i).Typ == typ; }
  void VioMsg(TVioIdx cur, std::uint8_t id) { GuLstErrMsg = R.VioMsg(V(cur).Typ, id); }
  void SysMsg(std::uint8_t id) {
    std::string s = R.SysMsg(id);
    if (!s.empty()) GuLstErrMsg = s;
  }
  void Blk(TVioIdx vio) { R.Blk(static_cast<std::size_t>(vio)); }
  bool Fail(TVioIdx cur, std::uint8_t id, TVioIdx blk) {
    VioMsg(cur, id);
    if (blk != GcNoVio) Blk(blk);
    return false;
  }
  // The vio has a neighbour in the direction by the cells of the records.
  bool HasNbr(TVioIdx vio, std::uint8_t dir) const;
  // The vios directly left, above, right and below cur by pixel position, in
  // the field's child order, leaving out prv.
  void NbrLst(TVioIdx prv, TVioIdx cur, std::vector<TVioIdx>& out) const;
  bool ChkNxt(TVioIdx cur, TVioIdx nxt);
  void SetLnk(TVioIdx prv, TVioIdx cur, TVioIdx nxt) {
    TInsAndTkn::TuVioLnk& l = T.FpVioLnk[static_cast<std::size_t>(cur)];
    l.Wlk = true;
    l.Prv = prv;
    l.Nxt = nxt;
  }
  bool GoOn(TVioIdx prv, TVioIdx cur, TVioIdx nxt) {
    SetLnk(prv, cur, nxt);
    return WlkVio(cur, nxt);
  }
  bool TooLng(TVioIdx cur);
  bool SeqRul(TVioIdx prv, TVioIdx cur, const std::vector<TVioIdx>& l);
  bool CndRul(TVioIdx prv, TVioIdx cur, const std::vector<TVioIdx>& l);
  bool TwoSuc(TVioIdx prv, TVioIdx cur, const std::vector<TVioIdx>& l);

  const TuPgmDsc& D;
  TInsAndTkn& T;
  ITrnRpt& R;
};

bool TPgmWlk::HasNbr(TVioIdx vio, std::uint8_t dir) const {
  std::int32_t col = V(vio).Col, row = V(vio).Row;
  switch (dir) {
    case ND_LFT: --col; break;
    case ND_UPP: --row; break;
    case ND_RGT: ++col; break;
    default: ++row; break;
  }
  if (col < 0 || col >= D.GrdCls || row < 0 || row >= D.GrdRws) return false;
  for (std::size_t i = 0; i < D.Vios.size(); ++i)
    if (static_cast<TVioIdx>(i) != vio && D.Vios[i].Col == col && D.Vios[i].Row == row) return true;
  return false;
}

int TPgmWlk::FndEtyVio(std::uint8_t typ, TVioIdx& ety) {
  ety = GcNoVio;
  int cnt = 0;
  for (std::size_t i = 0; i < D.Vios.size(); ++i) {
    if (D.Vios[i].Typ != typ) continue;
    if (cnt++ == 0) ety = static_cast<TVioIdx>(i);
  }
  const bool sta = typ == VT_STA;
  if (cnt == 0) {
    SysMsg(sta ? SUM_TRN_STA_XXX_MIS : SUM_TRN_SWI_XXX_MIS);
    return sta ? -1 : 0;
  }
  if (cnt > 1) {
    SysMsg(sta ? SUM_TRN_STA_XXX_MNY : SUM_TRN_SWI_XXX_MNY);
    ety = GcNoVio;
    return -1;
  }
  int nbr = 0;
  for (std::uint8_t d = ND_LFT; d <= ND_DWN; ++d)
    if (HasNbr(ety, d)) ++nbr;
  if (nbr == 0) {
    VioMsg(ety, SUM_TRN_NXT_XXX_MIS);
    Blk(ety);
    return -1;
  }
  if (nbr > 1) {
    SysMsg(SUM_TRN_NXT_XXX_MNY);
    Blk(ety);
    return -1;
  }
  return 1;
}

void TPgmWlk::NbrLst(TVioIdx prv, TVioIdx cur, std::vector<TVioIdx>& out) const {
  out.clear();
  const int w = D.CelWdt, h = D.CelHgt;
  const TuPgmVio& c = V(cur);
  for (std::size_t i = 0; i < D.Vios.size(); ++i) {
    const auto idx = static_cast<TVioIdx>(i);
    if (idx == cur || idx == prv) continue;
    const TuPgmVio& v = D.Vios[i];
    const bool vrt = v.X == c.X && (v.Y == c.Y - h || v.Y == c.Y + h);
    const bool hrz = v.Y == c.Y && (v.X == c.X - w || v.X == c.X + w);
    if (vrt || hrz) out.push_back(idx);
  }
}

bool TPgmWlk::ChkNxt(TVioIdx cur, TVioIdx nxt) {
  if (TInsAndTkn::ChkVldNxtIns(V(cur), V(nxt))) return true;
  return Fail(cur, SUM_TRN_NXT_XXX_INV, nxt);
}

bool TPgmWlk::SeqRul(TVioIdx prv, TVioIdx cur, const std::vector<TVioIdx>& l) {
  if (l.empty()) return Fail(cur, SUM_TRN_NXT_XXX_MIS, cur);
  if (l.size() >= 2) return Fail(cur, SUM_TRN_NXT_XXX_MNY, cur);
  if (!ChkNxt(cur, l[0])) return false;
  return CndRul(prv, cur, l);
}

bool TPgmWlk::CndRul(TVioIdx prv, TVioIdx cur, const std::vector<TVioIdx>& l) {
  const bool aftIff = IsTyp(prv, VT_IFF);
  switch (l.size()) {
    case 0:
      return Fail(cur, SUM_TRN_NXT_XXX_MIS, cur);
    case 1:
      if (aftIff) return Fail(cur, SUM_TRN_CND_ONE_SUC, cur);
      // A Then or an Else belongs after the condition of an If; anywhere else
      // it would become a jump to nowhere or a stray byte.
      if ((IsTyp(cur, VT_ACT) || IsTyp(cur, VT_SNS)) && (IsTyp(l[0], VT_THN) || IsTyp(l[0], VT_ELS)))
        return Fail(cur, SUM_TRN_NXT_XXX_INV, l[0]);
      return GoOn(prv, cur, l[0]);
    case 2:
      if (!aftIff) return Fail(cur, SUM_TRN_TWO_SUC_NIF, cur);
      return TwoSuc(prv, cur, l);
    default:
      return Fail(cur, SUM_TRN_NXT_XXX_MNY, cur);
  }
}

// A condition with two successors: the Then branch is walked first, the
// condition goes on with its Else branch.
bool TPgmWlk::TwoSuc(TVioIdx prv, TVioIdx cur, const std::vector<TVioIdx>& l) {
  TVioIdx thn;
  TVioIdx els;
  if (IsTyp(l[0], VT_THN)) {
    if (!IsTyp(l[1], VT_ELS)) return Fail(cur, SUM_TRN_THN_NXT_NEL, cur);
    thn = l[0];
    els = l[1];
  } else if (IsTyp(l[0], VT_ELS)) {
    if (!IsTyp(l[1], VT_THN)) return Fail(cur, SUM_TRN_ELS_NXT_NTH, cur);
    thn = l[1];
    els = l[0];
  } else {
    return Fail(cur, SUM_TRN_CND_NXT_NTE, cur);
  }
  if (!WlkVio(cur, thn)) return false;
  return GoOn(prv, cur, els);
}

bool TPgmWlk::TooLng(TVioIdx cur) {
  GuLstErrMsg = "#314, Program too long: the walk passes more than " + std::to_string(GcMaxWlkLen) +
                " vios, at most " + std::to_string(GcMaxTsmLen) + " bytes can be uploaded; stopped at vio " +
                TrnVioDsc(V(cur));
  Blk(cur);
  return false;
}

bool TPgmWlk::WlkVio(TVioIdx prv, TVioIdx cur) {
  if (T.FpPgmVioLst.size() >= GcMaxWlkLen) return TooLng(cur);
  T.FpPgmVioLst.push_back(static_cast<std::size_t>(cur));
  TInsAndTkn::TuVioLnk& arr = T.FpVioLnk[static_cast<std::size_t>(cur)];
  if (!arr.Rch) arr.Frm = prv;
  arr.Rch = true;
  std::vector<TVioIdx> l;
  NbrLst(prv, cur, l);
  const std::size_t n = l.size();
  switch (V(cur).Typ) {
    case VT_STA:
    case VT_SWI:
      // Entry vios: the entry search admitted exactly one neighbour.
      if (n == 0) return Fail(cur, SUM_TRN_NXT_XXX_MIS, cur);
      if (n > 1) return Fail(cur, SUM_TRN_NXT_XXX_MNY, cur);
      if (!ChkNxt(cur, l[0])) return false;
      return GoOn(prv, cur, l[0]);
    case VT_STO:
    case VT_RTI:
      if (n != 0) return Fail(cur, SUM_TRN_END_XXX_NXT, GcNoVio);
      SetLnk(prv, cur, GcNoVio);
      return true;
    case VT_GTO:
      if (n == 0) {
        SetLnk(prv, cur, GcNoVio);
        return true;
      }
      if (n > 1) return Fail(cur, SUM_TRN_END_XXX_NXT, GcNoVio);
      if (!ChkNxt(cur, l[0])) return false;
      return SeqRul(prv, cur, l);
    case VT_IFF:
    case VT_THN:
    case VT_ELS:
    case VT_DLY:
    case VT_LBL:
    case VT_SPD:
      return SeqRul(prv, cur, l);
    case VT_ACT:
    case VT_SNS:
      return CndRul(prv, cur, l);
    default:
      GuLstErrMsg = "#221, Program error: Unknown instruction number: " + std::to_string(V(cur).Typ);
      return false;
  }
}

// Lends the report to the translation while it runs.
class TRptLnd {
public:
  TRptLnd(ITrnRpt*& slot, ITrnRpt& rpt) : FpSlt(slot) { FpSlt = &rpt; }
  ~TRptLnd() { FpSlt = nullptr; }
  TRptLnd(const TRptLnd&) = delete;
  TRptLnd& operator=(const TRptLnd&) = delete;

private:
  ITrnRpt*& FpSlt;
};

}  // namespace

bool TInsAndTkn::TrnPgm(TuPgmDsc dsc, ITrnRpt& rpt) {
  FpPgmDsc = std::move(dsc);
  FpPgmVioLst.clear();
  FpVioLnk.assign(FpPgmDsc.Vios.size(), TuVioLnk());
  TRptLnd lnd(FpRpt, rpt);
  TPgmWlk wlk(*this, rpt);
  TVioIdx ety = GcNoVio;
  if (wlk.FndEtyVio(VT_STA, ety) < 0) return false;
  if (!wlk.WlkVio(GcNoVio, ety)) return false;
  const int swi = wlk.FndEtyVio(VT_SWI, ety);
  if (swi < 0) return false;
  if (swi > 0 && !wlk.WlkVio(GcNoVio, ety)) return false;
  if (!GenTknStm()) {
    if (LstErrPas() == TeGenPas::RslJmpLbl) GuLstErrMsg = "Label " + GuLstErrMsg + " " + rpt.SysMsg(SUM_GEN_LBL_XXX_MIS);
    return false;
  }
  return true;
}
