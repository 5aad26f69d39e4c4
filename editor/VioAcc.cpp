#include "editor/VioAcc.h"

#include <utility>
#include <vector>

#include "core/Globals.h"
#include "editor/VioKep.h"
#include "editor/VioTyp.h"
#include "messages/SysMsgBui.h"
#include "messages/SysMsgIdf.h"
#include "translator/InsAndTkn.h"

namespace {

// The Actor's value is a distance when its unit label says "cm".
bool ActDst(const TVio& vio) {
  const int l = vio.FstCtl(TeCtlKnd::Lbl);
  return l >= 0 && vio.CtlTxt(l) == "cm";
}

// The Actor's value edit is shown.
bool ActVal(const TVio& vio) {
  const int e = vio.FndCtl(TeCtlKnd::Edt, CR_VAL);
  return e >= 0 && vio.Ctls()[static_cast<std::size_t>(e)].Vis;
}

std::string Pos(TVioPgmItp& edt, const TVio& vio) {
  return SysMsgArg(VioUsrMsg(edt, SUM_ACC_VIO_POS),
             {VioTypAccNam(edt, vio.Rec().VioTyp), std::to_string(vio.Rec().GrdRow + 1),
              std::to_string(vio.Rec().GrdCol + 1)});
}

}  // namespace

std::string VioTypAccNam(TVioPgmItp& edt, std::uint8_t typ) {
  std::string n = SysMsgItm(VioUsrMsg(edt, SUM_ACC_VIO_NAM), typ);
  return n.empty() ? GetVioCap(typ) : n;
}

std::string VioPrmAcc(TVioPgmItp& edt, const TVio& vio) {
  const TuVioRec& r = vio.Rec();
  auto val = [&](std::uint8_t id, const std::string& v) {
    return v.empty() ? std::string() : SysMsgArg(VioUsrMsg(edt, id), {v});
  };
  const TuVioTypRow* row = GetVioRow(r.VioTyp);
  switch (row ? row->AccPrm : TeVioAccPrm::Non) {
    case TeVioAccPrm::Val: return val(row->AccMsg, r.ValTxt);
    case TeVioAccPrm::Lbl: return val(row->AccMsg, r.LblNam);
    case TeVioAccPrm::Spd: return val(row->AccMsg, r.SpdTxt);
    case TeVioAccPrm::Sar: return r.SarTyp + ", " + r.SarCom;
    case TeVioAccPrm::Act: {
      std::string t = r.SarTyp + ", " + r.SarCom;
      if (!ActVal(vio) || r.ValTxt.empty()) return t;
      return t + ", " + (ActDst(vio) ? val(SUM_ACC_DST_VAL, r.ValTxt) : val(row->AccMsg, r.ValTxt));
    }
    case TeVioAccPrm::Non: return {};
  }
  return {};
}

std::string VioCtlAccNam(TVioPgmItp& edt, const TVio& vio, int ctl) {
  if (!InRng(ctl, vio.Ctls().size())) return {};
  const bool act = vio.Rec().VioTyp == VT_ACT;
  switch (vio.Ctls()[static_cast<std::size_t>(ctl)].CtlRol) {
    case CR_SAR_TYP: return act ? VioUsrMsg(edt, SUM_ACC_ACT_TYP) : VioUsrMsg(edt, SUM_ACC_SNS_TYP);
    case CR_SAR_COM:
      return act ? VioUsrMsg(edt, SUM_ACC_ACT_COM) : VioUsrMsg(edt, SUM_ACC_SNS_COM);
    case CR_VAL:
      if (!act) return VioUsrMsg(edt, SUM_ACC_DLY_EDT);
      return ActDst(vio) ? VioUsrMsg(edt, SUM_ACC_DST_EDT)
                         : VioUsrMsg(edt, SUM_ACC_TIM_EDT);
    case CR_LBL_NAM: return VioUsrMsg(edt, SUM_ACC_LBL_CBX);
    case CR_GTO_NAM: return VioUsrMsg(edt, SUM_ACC_GTO_CBX);
    case CR_SPD: return VioUsrMsg(edt, SUM_ACC_SPD_EDT);
    default: return {};
  }
}

TVioAcc::TVioAcc(TVioPgmItp& edt) : FEdt(edt), FpTrn(std::make_unique<TInsAndTkn>(nullptr)) { FEdt.AddObs(this); }

TVioAcc::~TVioAcc() { FEdt.RmvObs(this); }

void TVioAcc::Mrk() {
  if (FbStl) return;
  FbStl = true;
  if (FOnStl) FOnStl();
}

void TVioAcc::VioRmv(TVio* v) {
  FNam.erase(v);
  FAll.erase(v);
  Mrk();
}

void TVioAcc::FldClr() {
  FNam.clear();
  FAll.clear();
  Mrk();
}

const std::string& TVioAcc::VioNam(const TVio* vio) const {
  static const std::string none;
  const auto at = FNam.find(vio);
  return at == FNam.end() ? none : at->second;
}

std::string TVioAcc::CtlNam(const TVio* vio, int ctl) const { return vio ? VioCtlAccNam(FEdt, *vio, ctl) : ""; }

std::string TVioAcc::CelNam(int col, int row) {
  Upd();
  const auto& vios = FEdt.Vios();
  for (auto it = vios.rbegin(); it != vios.rend(); ++it)
    if ((*it)->Rec().GrdCol == col && (*it)->Rec().GrdRow == row) return VioNam(*it);
  return SysMsgArg(VioUsrMsg(FEdt, SUM_ACC_CEL_EMP), {std::to_string(row + 1), std::to_string(col + 1)});
}

std::string TVioAcc::Cmp(const TVio& vio, bool rch, const TVio* frm) const {
  std::string t = Pos(FEdt, vio);
  const std::string prm = VioPrmAcc(FEdt, vio);
  if (!prm.empty()) t += ", " + prm;
  // The entry vios start the run; they follow nothing.
  const TuVioTypRow* row = GetVioRow(vio.Rec().VioTyp);
  if (row && row->Ent) return t;
  if (!rch) return t + ", " + VioUsrMsg(FEdt, SUM_ACC_VIO_NRC);
  if (!frm) return t;
  return t + ", " +
         SysMsgArg(VioUsrMsg(FEdt, SUM_ACC_VIO_FOL),
             {VioTypAccNam(FEdt, frm->Rec().VioTyp), std::to_string(frm->Rec().GrdRow + 1),
              std::to_string(frm->Rec().GrdCol + 1)});
}

void TVioAcc::StpEnd() {
  if (!FbPnd) return;
  FbPnd = false;
  if (FOnStl) FOnStl();
}

void TVioAcc::Upd() {
  if (!FbStl && FbyLge == FEdt.LgeIdx()) return;
  if (FEdt.InStp()) {
    FbPnd = true;
    return;
  }
  FbStl = false;
  FbyLge = FEdt.LgeIdx();
  if (!FOnLnk) {
    std::string keep = std::move(GuLstErrMsg);
    FpTrn->Clr();
    (void)FEdt.TrnVioPgmQui(*FpTrn);
    GuLstErrMsg = std::move(keep);
  }
  const std::vector<TVio*> vios = FEdt.Vios();  // a listener may change nothing, but keep a copy
  const auto& lnk = FOnLnk ? FOnLnk() : FpTrn->FpVioLnk;
  for (std::size_t i = 0; i < vios.size(); ++i) {
    TVio* v = vios[i];
    const bool rch = i < lnk.size() && lnk[i].Rch;
    const std::int32_t frm = rch ? lnk[i].Frm : -1;
    const TVio* from = InRng(frm, vios.size()) ? vios[static_cast<std::size_t>(frm)] : nullptr;
    std::string nam = Cmp(*v, rch, from);
    std::string all = nam;
    for (int c = 0; c < static_cast<int>(v->Ctls().size()); ++c) all += "|" + CtlNam(v, c);
    FNam[v] = std::move(nam);
    if (FAll[v] == all) continue;
    FAll[v] = std::move(all);
    if (FOnChg) FOnChg(v);
  }
}
