// The editor: the rules of placing a vio with the mouse.
#include "editor/VioPgmItp.h"

#include <algorithm>
#include <cstdlib>

#include "core/Globals.h"
#include "core/Seams.h"
#include "core/WndMsg.h"
#include "editor/VioDrg.h"

namespace {
constexpr int GcGluDst = 25;
}  // namespace

void TVioPgmItp::PutVioOnCel(TVio* vio, int col, int row) {
  TStpGrd stp(*this);
  if (!OwnsVio(vio)) return;
  const bool mov = vio->Rec.GrdCol != col || vio->Rec.GrdRow != row;
  vio->Rec.GrdCol = col;
  vio->Rec.GrdRow = row;
  FiCurCol = col;
  FiCurRow = row;
  if (mov) ShwVioAt(vio, vio->Left(), vio->Top());
}

TVioPgmItp::TuGlu TVioPgmItp::GluVio(const TVio* vio, TuPos at, int l, int t) const {
  const int maxL = (FiGrdCls - 1) * FiCelWdt, maxT = (FiGrdRws - 1) * FiCelHgt;
  if (l < 0 || l >= maxL || t < 0 || t >= maxT) return {{std::clamp(l, 0, maxL), std::clamp(t, 0, maxT)}, {}};
  const int c = (l + FiCelWdt / 2) / FiCelWdt, r = (t + FiCelHgt / 2) / FiCelHgt;
  // Occupied as the field shows it: the dragged vio where it stands, the others on their cells.
  auto occ = [&](int nc, int nr) {
    if (!CelInGrd(nc, nr)) return false;
    return (at.X == nc * FiCelWdt && at.Y == nr * FiCelHgt) || !CelFreExc(nc, nr, vio);
  };
  TuGlu g{{l, t}, {}};
  auto tst = [&](int nc, int nr, int dst, char sid) {
    if (occ(nc, nr) && std::abs(dst) < GcGluDst) g.Cnd.push_back({dst, sid});
  };
  tst(c - 1, r, l - c * FiCelWdt, 'L');
  tst(c + 1, r, c * FiCelWdt - l, 'R');
  tst(c, r - 1, t - r * FiCelHgt, 'T');
  tst(c, r + 1, r * FiCelHgt - t, 'B');
  std::stable_sort(g.Cnd.begin(), g.Cnd.end(), [](const TuGluCnd& a, const TuGluCnd& b) { return a.Dst < b.Dst; });
  if (!g.Cnd.empty()) g.Pos = {c * FiCelWdt, r * FiCelHgt};
  return g;
}

TVioPgmItp::TuCel TVioPgmItp::DrpCel(const TVio* vio, int l, int t) const {
  const int c = (l + FiCelWdt / 2) / FiCelWdt, r = (t + FiCelHgt / 2) / FiCelHgt;
  if (CelFreExc(c, r, vio)) return {c, r};
  return {vio->Rec.GrdCol, vio->Rec.GrdRow};
}

void TVioPgmItp::DrpVio(TVio* vio, int l, int t) {
  TStpGrd stp(*this);
  if (!OwnsVio(vio)) return;
  const TuCel c = DrpCel(vio, l, t);
  const bool stay = c.Col == vio->Rec.GrdCol && c.Row == vio->Rec.GrdRow;
  PutVioOnCel(vio, c.Col, c.Row);
  // Back onto its own cell from where the drag showed it.
  if (stay && (l != vio->Left() || t != vio->Top())) ShwVioAt(vio, vio->Left(), vio->Top());
}

void TVioPgmItp::ShwVioAt(TVio* vio, int l, int t) {
  if (!OwnsVio(vio)) return;
  for (IVioPgmObs* o : FpObsLst) o->VioMov(vio, l, t);
}

// ---- Mouse ----------------------------------------------------------------------------

bool TVioPgmItp::VioPrs(TVio* vio, TeMouBtn btn) {
  if (FbStaRun || !OwnsVio(vio)) return false;
  if (!FbMouArm) {
    FbMouArm = true;
    return false;
  }
  if (btn != TeMouBtn::Oth) FpCurVio = vio;
  return btn == TeMouBtn::Lft;
}

void TVioPgmItp::VioRgtUp() {
  if (!FbCtxPop) return;
  FbCtxPop = false;
  TVio* vio = FpCurVio;
  if (!vio || !FpOwnFrm) return;
  if (vio->Rec.VioTyp == VT_STA) FpOwnFrm->SndMsg(WM_APP_MSG, AM_ENA_STA, 0);
  if (vio->Rec.VioTyp == VT_SWI) FpOwnFrm->SndMsg(WM_APP_MSG, AM_ENA_SWI, 0);
  FpOwnFrm->SndMsg(WM_SET_MSG, SM_RMV_CUR_VIO, 0);
}

bool TVioPgmItp::VioDrg() const { return FpDrg && FpDrg->On(); }

void TVioPgmItp::StaDblClk() {
  FbStaRun = true;
  if (FOnStaDblClk && !FOnStaDblClk()) {
    ShwMsgBox(GuLstErrMsg);
    FbMouArm = false;
  }
  FbStaRun = false;
}
