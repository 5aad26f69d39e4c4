#include "editor/VioMtr.h"

#include <utility>

#include "core/Globals.h"
#include "editor/VioKep.h"
#include "translator/InsAndTkn.h"

TuMtrStt MtrStt(bool ok, std::size_t len, const std::string& why, const std::string& unit,
                const std::string& lead, std::size_t bdg) {
  TuMtrStt s;
  const std::string max = " / " + std::to_string(bdg) + " " + unit;
  // A stream longer than one upload (or the lesson's budget) does not count
  // as translated, whatever the passes said; its count is still shown.
  const bool ovr = ok && len > bdg;
  if (ovr) ok = false;
  s.Ok = ok;
  s.Len = ok ? len : 0;
  s.Txt = (ok || ovr ? std::to_string(len) : std::string("-")) + max;
  if (!ok) {
    std::string r = why.empty() ? std::to_string(len) + max : why;
    s.Why = lead.empty() ? r : lead + " " + r;
  }
  return s;
}

TVioMtr::TVioMtr(TVioPgmItp& edt) : FEdt(edt), FpTrn(std::make_unique<TInsAndTkn>(nullptr)) { FEdt.AddObs(this); }

TVioMtr::~TVioMtr() { FEdt.RmvObs(this); }

void TVioMtr::Mrk() {
  if (FbStl) return;
  FbStl = true;
  if (FOnStl) FOnStl();
}

void TVioMtr::StpEnd() {
  if (!FbPnd) return;
  FbPnd = false;
  if (FOnStl) FOnStl();
}

const TuMtrStt& TVioMtr::Upd() {
  if (!FbStl) return FStt;
  if (FEdt.InStp()) {
    FbPnd = true;
    return FStt;
  }
  FbStl = false;
  std::string keep = std::move(GuLstErrMsg);
  GuLstErrMsg.clear();
  FpTrn->Clr();
  const bool ok = FEdt.TrnVioPgmQui(*FpTrn);
  FVios = FEdt.Vios();
  FLnk = FpTrn->FpVioLnk;
  std::string why = ok ? std::string() : GuLstErrMsg;
  FStt = MtrStt(ok, FpTrn->FpTsmTknLst.size(), why, VioUsrMsg(FEdt, SUM_MTR_BYT), VioUsrMsg(FEdt, SUM_MTR_NOT_TRN),
                FEdt.Bdg());
  FStt.Emp = FEdt.GetVioCnt() == 0;
  GuLstErrMsg = std::move(keep);
  if (!FStt.Ok) FpTrn->Clr();
  return FStt;
}

// The token list has one entry for each byte of the stream (a cleared
// translation neither).
TVio* TVioMtr::VioAt(std::size_t adr) const {
  const auto& r = FpTrn->FpVioTknLst;
  return adr < FpTrn->FpTsmTknLst.size() ? TVioPgmItp::TknVio(r[adr], FVios) : nullptr;
}
