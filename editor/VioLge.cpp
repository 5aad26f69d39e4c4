// The language of the editor: switching it shows the vios already on the field
// in the new language, and program files written in another language open.
//
// A sar vio is what its token says: the names on its two lists are only the
// token's spelling in one language. Switching therefore looks the token up in
// the new language and shows that type and command; the token and the value
// edit stay as they were, so the program translates to the same stream.
#include <optional>
#include <string>

#include "core/Globals.h"
#include "core/StrUtl.h"
#include "editor/VioLge.h"

// The lookups below ask the quiet questions of the token table: a name that
// a language lacks is an answer here, not a failure to report.

bool TVioLge::FndSarTkn(std::uint8_t lge, bool actor, const std::string& typTxt, const std::string& comTxt,
                           std::uint8_t& tkn, std::string* typOut, std::string* comOut) {
  const TSarAndTkn& sat = FEdt.SarAndTkn();
  const TStrLst typs = sat.SarTypLst(lge, FbyAvlCol, actor);
  // Names are matched as the lists of a new vio match them: without regard to case.
  const int t = FndNoCase(typs, typTxt);
  if (t < 0) return false;
  const std::string& typ = typs[static_cast<std::size_t>(t)];
  const TStrLst coms = sat.SarComLst(typ, lge, FbyAvlCol, actor);
  const int c = FndNoCase(coms, comTxt);
  if (c < 0) return false;
  const std::string& com = coms[static_cast<std::size_t>(c)];
  const int v = sat.SarTkn(lge, typ, com);
  if (v < 0) return false;
  tkn = static_cast<std::uint8_t>(v);
  if (typOut) *typOut = typ;
  if (comOut) *comOut = com;
  return true;
}

bool TVioLge::FndSarNam(std::uint8_t lge, bool actor, std::uint8_t tkn, std::string& typTxt,
                           std::string& comTxt, TStrLst* typLst, TStrLst* comLst) {
  const TSarAndTkn& sat = FEdt.SarAndTkn();
  const TStrLst typs = sat.SarTypLst(lge, FbyAvlCol, actor);
  for (const std::string& typ : typs) {
    const TStrLst coms = sat.SarComLst(typ, lge, FbyAvlCol, actor);
    for (const std::string& com : coms) {
      if (sat.SarTkn(lge, typ, com) != tkn) continue;
      typTxt = typ;
      comTxt = com;
      if (typLst) *typLst = typs;
      if (comLst) *comLst = coms;
      return true;
    }
  }
  return false;
}

bool TVioLge::SetLgeIdx(std::uint8_t idx) {
  if (idx == FbyLgeIdx) return true;
  FbyLgeIdx = idx;
  if (idx > 2) return true;  // no names to show: the vios keep theirs
  // A switch is no edit: the names change, the program does not. The step
  // on top of the history and, when it was the saved one, the saved program
  // take the new names, so that neither Undo nor the unsaved mark sees a change.
  const bool sav = !FEdt.FHst.Emp() && FEdt.FHst.Cur().Lns == FEdt.FpDoc->SavLns;
  std::optional<TNoRcd> noRcd(std::in_place, FEdt);
  std::string kep;
  for (TVio* vio : FEdt.Vios()) {
    const std::uint8_t typ = vio->Rec().VioTyp;
    if (typ != VT_ACT && typ != VT_SNS) continue;
    const bool actor = typ == VT_ACT;
    const int typCtl = vio->FndCtl(TeCtlKnd::Cbx, CR_SAR_TYP);
    const int comCtl = vio->FndCtl(TeCtlKnd::Cbx, CR_SAR_COM);
    std::string typTxt, comTxt;
    TStrLst typs, coms;
    // A sar vio always has both boxes: a vio whose boxes could not be made is
    // never left on the field.
    if (typCtl < 0 || comCtl < 0) continue;
    if (!FndSarNam(idx, actor, vio->Rec().SarTkn, typTxt, comTxt, &typs, &coms)) {
      // Its token has no name in the new language: the vio shows its old
      // names, which still stand for the same token.
      kep += (kep.empty() ? "" : "; ") + GetVioCap(typ) + " at column " + std::to_string(vio->Rec().GrdCol + 1) +
             ", row " + std::to_string(vio->Rec().GrdRow + 1);
      continue;
    }
    TVioCtl& tc = vio->FCtls[static_cast<std::size_t>(typCtl)];
    tc.Itms = std::move(typs);
    vio->FRec.SarTyp = typTxt;
    FEdt.NtfCtl(vio, typCtl);
    TVioCtl& cc = vio->FCtls[static_cast<std::size_t>(comCtl)];
    cc.Itms = std::move(coms);
    vio->FRec.SarCom = comTxt;
    FEdt.NtfCtl(vio, comCtl);
  }
  // A lesson keeps the lists to what it offers.
  if (FpLsn) RfsSarLst();
  noRcd.reset();
  TStrLst now;
  if (!FEdt.FHst.Emp() && FEdt.BldVioLns(now)) {
    if (sav) FEdt.FpDoc->SavLns = now;
    FEdt.FHst.Cur().Lns = std::move(now);
    FEdt.NtfHst();
  }
  if (kep.empty()) return true;
  GuLstErrMsg = "#415, No names in the chosen language for the sensor or actor command of: " + kep +
                ". These blocks keep their names.";
  return false;
}

bool TVioLge::SarInCurLge(bool actor, std::string& typTxt, std::string& comTxt) {
  std::uint8_t tkn;
  if (FbyLgeIdx > 2 || FndSarTkn(FbyLgeIdx, actor, typTxt, comTxt, tkn)) return true;
  for (std::uint8_t lge = 0; lge <= 2; ++lge) {
    if (lge == FbyLgeIdx || !FndSarTkn(lge, actor, typTxt, comTxt, tkn)) continue;
    return FndSarNam(FbyLgeIdx, actor, tkn, typTxt, comTxt);
  }
  return false;
}

bool TVioPgmItp::CrtFilSarVio(int col, int row, std::string typTxt, std::string comTxt, const std::string& valTxt,
                              bool actor) {
  // A pair no language knows goes on as written and is refused by the vio's lists.
  SarInCurLge(actor, typTxt, comTxt);
  return CrtSarVio(LgeIdx(), AvlCol(), col, row, typTxt, comTxt, valTxt, actor);
}

// ---- The editor's own methods, answered here ----------------------------------------

bool TVioPgmItp::SetLgeIdx(std::uint8_t idx) { return FpLge->SetLgeIdx(idx); }
bool TVioPgmItp::SarInCurLge(bool actor, std::string& typTxt, std::string& comTxt) {
  return FpLge->SarInCurLge(actor, typTxt, comTxt);
}
void TVioPgmItp::SetAvlCol(std::uint8_t col) { FpLge->SetAvlCol(col); }
std::uint8_t TVioPgmItp::LgeIdx() const { return FpLge->LgeIdx(); }
std::uint8_t TVioPgmItp::AvlCol() const { return FpLge->AvlCol(); }
void TVioPgmItp::SetLsn(std::shared_ptr<const TVioLsn> lsn) { FpLge->SetLsn(std::move(lsn)); }
const TVioLsn* TVioPgmItp::Lsn() const { return FpLge->Lsn(); }
bool TVioPgmItp::VioOfr(std::uint8_t typ) const { return FpLge->VioOfr(typ); }
std::size_t TVioPgmItp::Bdg() const { return FpLge->Bdg(); }
std::string TVioPgmItp::LsnNot(const std::vector<std::uint8_t>& typs) { return FpLge->LsnNot(typs); }
std::string TVioPgmItp::LsnNot() {
  std::vector<std::uint8_t> typs;
  for (const TVio* v : FPgm.Vios()) typs.push_back(v->Rec().VioTyp);
  return FpLge->LsnNot(typs);
}
