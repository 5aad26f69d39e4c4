// The editor: the rules of placing a vio with the mouse.
#include "editor/VioMou.h"

#include <algorithm>
#include <cstdlib>

#include "core/Globals.h"
#include "core/Seams.h"
#include "core/WndMsg.h"
#include "editor/VioDrg.h"

namespace {
constexpr int GcGluDst = 25;
}  // namespace

void TVioMou::PutVioOnCel(TVio* vio, int col, int row) {
  TStpGrd stp(FEdt);
  if (!FEdt.OwnsVio(vio)) return;
  const bool mov = vio->Rec().GrdCol != col || vio->Rec().GrdRow != row;
  vio->FRec.GrdCol = col;
  vio->FRec.GrdRow = row;
  FEdt.FiCurCol = col;
  FEdt.FiCurRow = row;
  if (mov) ShwVioAt(vio, vio->Left(), vio->Top());
}

TVioMou::TuGlu TVioMou::GluVio(const TVio* vio, TuPos at, int l, int t) const {
  const int maxL = (FEdt.GrdCls() - 1) * FEdt.FiCelWdt, maxT = (FEdt.GrdRws() - 1) * FEdt.FiCelHgt;
  if (l < 0 || l >= maxL || t < 0 || t >= maxT) return {{std::clamp(l, 0, maxL), std::clamp(t, 0, maxT)}, {}};
  const int c = (l + FEdt.FiCelWdt / 2) / FEdt.FiCelWdt, r = (t + FEdt.FiCelHgt / 2) / FEdt.FiCelHgt;
  // Occupied as the field shows it: the dragged vio where it stands, the others on their cells.
  auto occ = [&](int nc, int nr) {
    if (!FEdt.FPgm.CelInGrd(nc, nr)) return false;
    return (at.X == nc * FEdt.FiCelWdt && at.Y == nr * FEdt.FiCelHgt) || !FEdt.FPgm.CelFreExc(nc, nr, vio);
  };
  TuGlu g{{l, t}, {}};
  auto tst = [&](int nc, int nr, int dst, char sid) {
    if (occ(nc, nr) && std::abs(dst) < GcGluDst) g.Cnd.push_back({dst, sid});
  };
  tst(c - 1, r, l - c * FEdt.FiCelWdt, 'L');
  tst(c + 1, r, c * FEdt.FiCelWdt - l, 'R');
  tst(c, r - 1, t - r * FEdt.FiCelHgt, 'T');
  tst(c, r + 1, r * FEdt.FiCelHgt - t, 'B');
  std::stable_sort(g.Cnd.begin(), g.Cnd.end(), [](const TuGluCnd& a, const TuGluCnd& b) { return a.Dst < b.Dst; });
  if (!g.Cnd.empty()) g.Pos = {c * FEdt.FiCelWdt, r * FEdt.FiCelHgt};
  return g;
}

TVioMou::TuCel TVioMou::DrpCel(const TVio* vio, int l, int t) const {
  const int c = (l + FEdt.FiCelWdt / 2) / FEdt.FiCelWdt, r = (t + FEdt.FiCelHgt / 2) / FEdt.FiCelHgt;
  if (FEdt.FPgm.CelFreExc(c, r, vio)) return {c, r};
  return {vio->Rec().GrdCol, vio->Rec().GrdRow};
}

void TVioMou::DrpVio(TVio* vio, int l, int t) {
  TStpGrd stp(FEdt);
  if (!FEdt.OwnsVio(vio)) return;
  const TuCel c = DrpCel(vio, l, t);
  const bool stay = c.Col == vio->Rec().GrdCol && c.Row == vio->Rec().GrdRow;
  PutVioOnCel(vio, c.Col, c.Row);
  // Back onto its own cell from where the drag showed it.
  if (stay && (l != vio->Left() || t != vio->Top())) ShwVioAt(vio, vio->Left(), vio->Top());
}

void TVioMou::ShwVioAt(TVio* vio, int l, int t) {
  if (!FEdt.OwnsVio(vio)) return;
  for (IVioPgmObs* o : FEdt.FpObsLst) o->VioMov(vio, l, t);
}

// ---- Mouse ----------------------------------------------------------------------------

bool TVioMou::VioPrs(TVio* vio, TeMouBtn btn) {
  if (FbStaRun || !FEdt.OwnsVio(vio)) return false;
  if (!FbMouArm) {
    FbMouArm = true;
    return false;
  }
  if (btn != TeMouBtn::Oth) FEdt.FpCurVio = vio;
  // A press outside the selected rectangle selects the vio alone.
  const std::optional<TuRct>& r = FEdt.SelRct();
  const int c = vio->Rec().GrdCol, w = vio->Rec().GrdRow;
  if (r && btn != TeMouBtn::Oth && (c < r->Col0 || c > r->Col1 || w < r->Row0 || w > r->Row1)) FEdt.ClrSel();
  return btn == TeMouBtn::Lft;
}

void TVioMou::VioRgtUp() {
  if (!FbCtxPop) return;
  FbCtxPop = false;
  TVio* vio = FEdt.FpCurVio;
  if (!vio || !FEdt.FpOwnFrm) return;
  if (vio->Rec().VioTyp == VT_STA) FEdt.FpOwnFrm->SndMsg(WM_APP_MSG, AM_ENA_STA, 0);
  if (vio->Rec().VioTyp == VT_SWI) FEdt.FpOwnFrm->SndMsg(WM_APP_MSG, AM_ENA_SWI, 0);
  FEdt.FpOwnFrm->SndMsg(WM_SET_MSG, SM_RMV_CUR_VIO, 0);
}

bool TVioMou::VioDrg() const { return FpDrg && FpDrg->On(); }

void TVioMou::StaDblClk() {
  FbStaRun = true;
  if (FOnStaDblClk && !FOnStaDblClk()) {
    ShwMsgBox(GuLstErrMsg);
    FbMouArm = false;
  }
  FbStaRun = false;
}

// ---- The editor's own methods, answered here ----------------------------------------

void TVioPgmItp::PutVioOnCel(TVio* vio, int col, int row) { FpMou->PutVioOnCel(vio, col, row); }
TVioPgmItp::TuGlu TVioPgmItp::GluVio(const TVio* vio, TuPos at, int l, int t) const {
  return FpMou->GluVio(vio, at, l, t);
}
TVioPgmItp::TuCel TVioPgmItp::DrpCel(const TVio* vio, int l, int t) const { return FpMou->DrpCel(vio, l, t); }
void TVioPgmItp::DrpVio(TVio* vio, int l, int t) { FpMou->DrpVio(vio, l, t); }
void TVioPgmItp::ShwVioAt(TVio* vio, int l, int t) { FpMou->ShwVioAt(vio, l, t); }
bool TVioPgmItp::VioPrs(TVio* vio, TeMouBtn btn) { return FpMou->VioPrs(vio, btn); }
void TVioPgmItp::VioRgtUp() { FpMou->VioRgtUp(); }
void TVioPgmItp::VioCtxPop() { FpMou->VioCtxPop(); }
void TVioPgmItp::StaDblClk() { FpMou->StaDblClk(); }
void TVioPgmItp::SetDrg(const TVioDrg* drg) { FpMou->SetDrg(drg); }
bool TVioPgmItp::VioDrg() const { return FpMou->VioDrg(); }
bool TVioPgmItp::StaRun() const { return FpMou->StaRun(); }
void TVioPgmItp::SetStaRun(bool on) { FpMou->SetStaRun(on); }
bool TVioPgmItp::MouArm() const { return FpMou->MouArm(); }
void TVioPgmItp::SetOnStaDblClk(std::function<bool()> fn) { FpMou->SetOnStaDblClk(std::move(fn)); }
