// Translation of the field: the editor describes its program to the
// translator and maps what the translator says about vios back onto them.
#include <utility>

#include "core/Globals.h"
#include "core/WndMsg.h"
#include "editor/VioNum.h"
#include "editor/VioPgmItp.h"
#include "editor/VioPrm.h"
#include "editor/VioTyp.h"
#include "messages/SysLgeMsg.h"
#include "translator/InsAndTkn.h"

namespace {

// The translator's messages in the editor's language; blink requests go to the
// main window when asked for.
class TEdtRpt final : public ITrnRpt {
public:
  TEdtRpt(TVioPgmItp& edt, bool blk, int* idx) : E(edt), FbBlk(blk), FpIdx(idx) {}
  std::string SysMsg(std::uint8_t id) override { return E.GetSysUsrMsg(id); }
  std::string VioMsg(std::uint8_t typ, std::uint8_t id) override { return E.GetVioErrMsg(typ, id); }
  void Blk(std::size_t vio) override {
    if (FpIdx && *FpIdx < 0 && vio < E.Vios().size()) *FpIdx = static_cast<int>(vio);
    IWndMsgTgt* own = FbBlk ? E.OwnFrm() : nullptr;
    if (own && vio < E.Vios().size())
      own->SndMsg(WM_APP_MSG, AM_VIO_BLK, reinterpret_cast<std::intptr_t>(E.Vios()[vio]));
  }

private:
  TVioPgmItp& E;
  bool FbBlk;
  int* FpIdx;  // the first vio to blink, when asked
};

// Parameter texts are read with the editor's conversions, so that the values
// sent are the values its checks passed.
std::int32_t NumIn32(const std::string& s) { return static_cast<std::int32_t>(NumIn(s)); }

}  // namespace

std::string TVioPgmItp::GetVioErrMsg(std::uint8_t vioTyp, std::uint8_t msgId) {
  const std::string aft = GetSysUsrMsg(SUM_GUM_XXX_XXX_AFT);
  if (aft.empty())
    return "#305, Constante 'SUM_GUM_XXX_XXX_AFT'TeSysUsrMsg' niet kunnen vinden in memo uit language file";
  const std::string ins = GetSysUsrMsg(SUM_GUM_XXX_XXX_INS);
  if (ins.empty())
    return "#305, Constante 'SUM_GUM_XXX_XXX_INS'TeSysUsrMsg' niet kunnen vinden in memo uit language file";
  const std::string txt = GetSysUsrMsg(msgId);
  if (txt.empty())
    return "#304, Constante 'TeSysUsrMsg' = " + std::to_string(msgId) +
           ", niet kunnen vinden in memo uit language file";
  return aft + " " + GetVioCap(vioTyp) + " " + ins + ": " + txt;
}

TuPgmVio TVioPgmItp::DscVio(const TVio* vio) {
  TuPgmVio d;
  d.Typ = vio->Rec().VioTyp;
  d.Col = vio->Rec().GrdCol;
  d.Row = vio->Rec().GrdRow;
  d.X = vio->Left();
  d.Y = vio->Top();
  // A type the table does not know is refused by the walk before any of this is read.
  if (d.Typ >= GcVioTypCnt) return d;
  d.Cap = GetVioCap(d.Typ);
  d.PrmErr = TVioPrm::PrmErr(vio);
  switch (d.Typ) {
    case VT_LBL: case VT_GTO: d.LblNam = vio->Rec().LblNam; break;
    case VT_DLY: d.Val = NumIn32(vio->Rec().ValTxt); break;
    case VT_ACT:
    case VT_SNS: {
      d.SarTyp = vio->Rec().SarTyp;
      d.SarTkn = SarAndTkn().SarTkn(LgeIdx(), d.SarTyp, vio->Rec().SarCom);
      const std::string& val = vio->Rec().ValTxt;
      if (d.Typ == VT_ACT) d.Val = (val.empty() || val == "0") ? 0 : NumIn32(val);
      break;
    }
    case VT_SPD: {
      d.ValTxt = vio->Rec().SpdTxt;
      long long spd = 0;
      d.ValOk = StrToInt(d.ValTxt, spd) && spd != 0;
      d.Val = static_cast<std::int32_t>(spd);
      break;
    }
    default: break;
  }
  return d;
}

TuPgmDsc TVioPgmItp::BldPgmDsc() {
  TuPgmDsc dsc;
  dsc.CelWdt = FiCelWdt;
  dsc.CelHgt = FiCelHgt;
  dsc.GrdCls = FPgm.GrdCls();
  dsc.GrdRws = FPgm.GrdRws();
  dsc.Vios.reserve(FPgm.Vios().size());
  for (const TVio* v : FPgm.Vios()) dsc.Vios.push_back(DscVio(v));
  return dsc;
}

TVio* TVioPgmItp::TknVio(const TuExtComTkn& rec, const std::vector<TVio*>& vios) {
  if (!InRng(rec.VioIdx, vios.size())) return nullptr;
  return vios[static_cast<std::size_t>(rec.VioIdx)];
}

bool TVioPgmItp::TrnVioPgm() { return TrnVioPgmInt(*FpInsAndTkn, true); }

bool TVioPgmItp::TrnVioPgmQui(TInsAndTkn& trn, int* blk) {
  if (blk) *blk = -1;
  return TrnVioPgmInt(trn, false, blk);
}

bool TVioPgmItp::TrnVioPgmInt(TInsAndTkn& trn, bool blk, int* blkIdx) {
  TEdtRpt rpt(*this, blk, blkIdx);
  const bool ok = trn.TrnPgm(BldPgmDsc(), rpt);
  SetWlkLnk(trn);
  return ok;
}

void TVioPgmItp::SetWlkLnk(const TInsAndTkn& trn) {
  auto vio = [&](std::int32_t i) { return i < 0 ? nullptr : FPgm.Vios()[static_cast<std::size_t>(i)]; };
  for (std::size_t i = 0; i < trn.FpVioLnk.size() && i < FPgm.Vios().size(); ++i) {
    const TInsAndTkn::TuVioLnk& l = trn.FpVioLnk[i];
    if (!l.Wlk) continue;
    FPgm.Vios()[i]->FRec.pPrvVio = vio(l.Prv);
    FPgm.Vios()[i]->FRec.pNxtVio = vio(l.Nxt);
  }
}
