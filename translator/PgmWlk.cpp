// The program walk: from the Start vio (and then the switch-interrupt vio)
// through neighbouring cells into the walk list, then token generation.
#include <utility>
#include <vector>

#include "core/Globals.h"
#include "core/WndMsg.h"
#include "editor/VioPgmItp.h"
#include "editor/VioTyp.h"
#include "messages/SysLgeMsg.h"
#include "translator/InsAndTkn.h"

namespace {

// More visits than this cannot give a stream that fits into one upload (a
// vio that yields no byte, an Else or a Label named by a Goto, needs others
// that do). The bound also keeps the recursion shallow for any field a file
// can describe.
constexpr std::size_t GcMaxWlkLen = 1024;

class TPgmWlk {
public:
  TPgmWlk(TVioPgmItp& edt, TInsAndTkn& trn, bool blk) : E(edt), T(trn), FbBlk(blk) {}

  // 1: found the one entry vio; 0: none (switch interrupt only); -1: failure.
  int FndEtyVio(std::uint8_t typ, TVio*& ety);
  bool WlkVio(TVio* prv, TVio* cur);

private:
  void VioMsg(const TVio* cur, std::uint8_t id) { GuLstErrMsg = E.GetVioErrMsg(cur->Rec.VioTyp, id); }
  void SysMsg(std::uint8_t id) {
    std::string s = E.GetSysUsrMsg(id);
    if (!s.empty()) GuLstErrMsg = s;
  }
  void Blk(TVio* vio) {
    if (IWndMsgTgt* own = FbBlk ? E.OwnFrm() : nullptr) own->SndMsg(WM_APP_MSG, AM_VIO_BLK, reinterpret_cast<std::intptr_t>(vio));
  }
  bool Fail(const TVio* cur, std::uint8_t id, TVio* blk) {
    VioMsg(cur, id);
    if (blk) Blk(blk);
    return false;
  }
  // The vios directly left, above, right and below cur by pixel position, in
  // the field's child order, leaving out prv.
  void NbrLst(const TVio* prv, const TVio* cur, std::vector<TVio*>& out) const;
  bool ChkNxt(TVio* cur, TVio* nxt);
  bool GoOn(TVio* prv, TVio* cur, TVio* nxt) {
    cur->Rec.pPrvVio = prv;
    cur->Rec.pNxtVio = nxt;
    return WlkVio(cur, nxt);
  }
  bool SeqRul(TVio* prv, TVio* cur, const std::vector<TVio*>& l);
  bool CndRul(TVio* prv, TVio* cur, const std::vector<TVio*>& l);

  TVioPgmItp& E;
  TInsAndTkn& T;
  bool FbBlk;
};

bool IsTyp(const TVio* v, std::uint8_t typ) { return v && v->Rec.VioTyp == typ; }

int TPgmWlk::FndEtyVio(std::uint8_t typ, TVio*& ety) {
  ety = nullptr;
  int cnt = 0;
  for (TVio* v : E.Vios()) {
    if (v->Rec.VioTyp != typ) continue;
    if (cnt++ == 0) ety = v;
  }
  const bool sta = typ == VT_STA;
  if (cnt == 0) {
    SysMsg(sta ? SUM_TRN_STA_XXX_MIS : SUM_TRN_SWI_XXX_MIS);
    return sta ? -1 : 0;
  }
  if (cnt > 1) {
    SysMsg(sta ? SUM_TRN_STA_XXX_MNY : SUM_TRN_SWI_XXX_MNY);
    ety = nullptr;
    return -1;
  }
  int nbr = 0;
  for (std::uint8_t d = ND_LFT; d <= ND_DWN; ++d)
    if (E.GetNbrVio(ety, d)) ++nbr;
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

void TPgmWlk::NbrLst(const TVio* prv, const TVio* cur, std::vector<TVio*>& out) const {
  out.clear();
  const int w = E.CelWdt(), h = E.CelHgt();
  for (TVio* v : E.Vios()) {
    if (v == cur || v == prv) continue;
    const bool vrt = v->Left() == cur->Left() && (v->Top() == cur->Top() - h || v->Top() == cur->Top() + h);
    const bool hrz = v->Top() == cur->Top() && (v->Left() == cur->Left() - w || v->Left() == cur->Left() + w);
    if (vrt || hrz) out.push_back(v);
  }
}

bool TPgmWlk::ChkNxt(TVio* cur, TVio* nxt) {
  if (T.ChkVldNxtIns(cur, nxt)) return true;
  return Fail(cur, SUM_TRN_NXT_XXX_INV, nxt);
}

bool TPgmWlk::SeqRul(TVio* prv, TVio* cur, const std::vector<TVio*>& l) {
  if (l.empty()) return Fail(cur, SUM_TRN_NXT_XXX_MIS, cur);
  if (l.size() >= 2) return Fail(cur, SUM_TRN_NXT_XXX_MNY, cur);
  if (!ChkNxt(cur, l[0])) return false;
  return CndRul(prv, cur, l);
}

bool TPgmWlk::CndRul(TVio* prv, TVio* cur, const std::vector<TVio*>& l) {
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
    case 2: {
      if (!aftIff) return Fail(cur, SUM_TRN_TWO_SUC_NIF, cur);
      TVio* thn;
      TVio* els;
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
    default:
      return Fail(cur, SUM_TRN_NXT_XXX_MNY, cur);
  }
}

bool TPgmWlk::WlkVio(TVio* prv, TVio* cur) {
  if (T.FpPgmVioLst.size() >= GcMaxWlkLen) {
    std::string cap = GetVioCap(cur->Rec.VioTyp);
    for (char& c : cap)
      if (c == '\n') c = ' ';
    GuLstErrMsg = "#314, Program too long: the walk passes more than " + std::to_string(GcMaxWlkLen) +
                  " vios, at most " + std::to_string(GcMaxTsmLen) + " bytes can be uploaded; stopped at vio " +
                  cap + " at column " + std::to_string(cur->Rec.GrdCol + 1) + ", row " +
                  std::to_string(cur->Rec.GrdRow + 1);
    Blk(cur);
    return false;
  }
  T.AddPgmVio(cur);
  std::vector<TVio*> l;
  NbrLst(prv, cur, l);
  const std::size_t n = l.size();
  switch (cur->Rec.VioTyp) {
    case VT_STA:
    case VT_SWI:
      // Entry vios: the entry search admitted exactly one neighbour.
      if (n == 0) return Fail(cur, SUM_TRN_NXT_XXX_MIS, cur);
      if (n > 1) return Fail(cur, SUM_TRN_NXT_XXX_MNY, cur);
      if (!ChkNxt(cur, l[0])) return false;
      return GoOn(prv, cur, l[0]);
    case VT_STO:
    case VT_RTI:
      if (n != 0) return Fail(cur, SUM_TRN_END_XXX_NXT, nullptr);
      cur->Rec.pPrvVio = prv;
      cur->Rec.pNxtVio = nullptr;
      return true;
    case VT_GTO:
      if (n == 0) {
        cur->Rec.pPrvVio = prv;
        cur->Rec.pNxtVio = nullptr;
        return true;
      }
      if (n > 1) return Fail(cur, SUM_TRN_END_XXX_NXT, nullptr);
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
      GuLstErrMsg = "#221, Program error: Unknown instruction number: " + std::to_string(cur->Rec.VioTyp);
      return false;
  }
}

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

bool TVioPgmItp::TrnVioPgm() { return TrnVioPgmInt(*FpInsAndTkn, true); }

bool TVioPgmItp::TrnVioPgmQui(TInsAndTkn& trn) {
  // The definitions are the editor's: lend them for the translation.
  struct TLnd {
    TLnd(TInsAndTkn& a, TInsAndTkn& b) : A(a), B(b) { std::swap(A.FpSarAndTkn, B.FpSarAndTkn); }
    ~TLnd() { std::swap(A.FpSarAndTkn, B.FpSarAndTkn); }
    TInsAndTkn& A;
    TInsAndTkn& B;
  };
  if (&trn == FpInsAndTkn.get()) return TrnVioPgmInt(trn, false);
  TLnd lnd(trn, *FpInsAndTkn);
  return TrnVioPgmInt(trn, false);
}

bool TVioPgmItp::TrnVioPgmInt(TInsAndTkn& trn, bool blk) {
  TPgmWlk wlk(*this, trn, blk);
  TVio* ety = nullptr;
  if (wlk.FndEtyVio(VT_STA, ety) < 0) return false;
  trn.ClrPgmVioLst();
  if (!wlk.WlkVio(nullptr, ety)) return false;
  const int swi = wlk.FndEtyVio(VT_SWI, ety);
  if (swi < 0) return false;
  if (swi > 0 && !wlk.WlkVio(nullptr, ety)) return false;
  if (!trn.GenTknStm(*this, FbyLgeIdx)) {
    if (trn.LstErrPas() == TeGenPas::RslJmpLbl)
      GuLstErrMsg = "Label " + GuLstErrMsg + " " + GetSysUsrMsg(SUM_GEN_LBL_XXX_MIS);
    return false;
  }
  return true;
}
