// The editor: positions on the grid and the mouse.
#include "editor/VioPgmItp.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>

#include "core/Globals.h"
#include "core/StrUtl.h"
#include "core/WndMsg.h"
#include "core/Seams.h"
#include "editor/VioNum.h"
#include "messages/SysLgeMsg.h"

void TVioPgmItp::SetVioPos(TVio* vio, int left, int top) {
  if (!OwnsVio(vio) || (vio->FiLeft == left && vio->FiTop == top)) return;
  vio->FiLeft = left;
  vio->FiTop = top;
  for (IVioPgmObs* o : FpObsLst) o->VioMov(vio);
}

void TVioPgmItp::PutVioOnCel(TVio* vio, int col, int row) {
  TStpGrd stp(*this);
  if (!OwnsVio(vio)) return;
  SetVioPos(vio, col * FiCelWdt, row * FiCelHgt);
  vio->Rec.GrdCol = col;
  vio->Rec.GrdRow = row;
  FiCurCol = col;
  FiCurRow = row;
}

void TVioPgmItp::DrpVio(TVio* vio) {
  TStpGrd stp(*this);
  if (!OwnsVio(vio)) return;
  const int c = (vio->FiLeft + FiCelWdt / 2) / FiCelWdt;
  const int r = (vio->FiTop + FiCelHgt / 2) / FiCelHgt;
  if (CelFreExc(c, r, vio))
    PutVioOnCel(vio, c, r);
  else
    PutVioOnCel(vio, vio->Rec.GrdCol, vio->Rec.GrdRow);
}

// ---- Mouse ----------------------------------------------------------------------------

namespace {
// Move events received while a drag was on; only every second one is processed.
unsigned GuMouMovCnt = 0;
constexpr const char* GcMouErr = "#126, 'eVisualInstructionOnMouseGoingDown' error";
constexpr int GcGluDst = 25;
}  // namespace

unsigned TVioPgmItp::MouMovCnt() { return GuMouMovCnt; }

void TVioPgmItp::VioMouDwn(TVio* vio, TeMouBtn btn, const std::optional<TuPos>& pos) {
  if (FbStaRun || !OwnsVio(vio)) return;
  if (!FbMouArm) {
    FbMouArm = true;
    return;
  }
  if (btn == TeMouBtn::Lft) {
    FpCurVio = vio;
    if (!pos) {
      ShwMsgBox(GcMouErr);
      return;
    }
    FiDrgOfsX = vio->FiLeft - pos->X;
    FiDrgOfsY = vio->FiTop - pos->Y;
    FbVioDrg = true;
  } else if (btn == TeMouBtn::Rgt) {
    FpCurVio = vio;
  }
}

void TVioPgmItp::VioMouMov(const std::optional<TuPos>& pos) {
  if (FbStaRun || !FbVioDrg) return;
  if (++GuMouMovCnt % 2 == 1) return;
  if (!pos) {
    ShwMsgBox(GcMouErr);
    return;
  }
  TVio* vio = FpCurVio;
  if (!vio) return;
  int l = pos->X + FiDrgOfsX, t = pos->Y + FiDrgOfsY;
  const int maxL = (FiGrdCls - 1) * FiCelWdt, maxT = (FiGrdRws - 1) * FiCelHgt;
  if (l < 0 || l >= maxL || t < 0 || t >= maxT) {
    SetVioPos(vio, std::clamp(l, 0, maxL), std::clamp(t, 0, maxT));
    return;
  }
  const int c = (l + FiCelWdt / 2) / FiCelWdt, r = (t + FiCelHgt / 2) / FiCelHgt;
  FpNbrGluVioLst.clear();
  auto tst = [&](int nc, int nr, int dst, char sid) {
    if (CelOcc(nc, nr) && std::abs(dst) < GcGluDst) FpNbrGluVioLst.push_back({dst, sid});
  };
  tst(c - 1, r, l - c * FiCelWdt, 'L');
  tst(c + 1, r, c * FiCelWdt - l, 'R');
  tst(c, r - 1, t - r * FiCelHgt, 'T');
  tst(c, r + 1, r * FiCelHgt - t, 'B');
  std::stable_sort(FpNbrGluVioLst.begin(), FpNbrGluVioLst.end(),
                   [](const TuGluCnd& a, const TuGluCnd& b) { return a.Dst < b.Dst; });
  if (!FpNbrGluVioLst.empty())
    SetVioPos(vio, c * FiCelWdt, r * FiCelHgt);
  else
    SetVioPos(vio, l, t);
}

void TVioPgmItp::VioMouUp(TeMouBtn btn) {
  TStpGrd stp(*this);
  if (FbStaRun) return;
  TVio* vio = FpCurVio;
  if (btn == TeMouBtn::Lft && vio) {
    DrpVio(vio);
  } else if (btn == TeMouBtn::Rgt && FbCtxPop) {
    FbCtxPop = false;
    if (vio && FpOwnFrm) {
      if (vio->Rec.VioTyp == VT_STA) FpOwnFrm->SndMsg(WM_APP_MSG, AM_ENA_STA, 0);
      if (vio->Rec.VioTyp == VT_SWI) FpOwnFrm->SndMsg(WM_APP_MSG, AM_ENA_SWI, 0);
      FpOwnFrm->SndMsg(WM_SET_MSG, SM_RMV_CUR_VIO, 0);
    }
  }
  FbVioDrg = false;
}

void TVioPgmItp::StaDblClk() {
  FbStaRun = true;
  if (FOnStaDblClk && !FOnStaDblClk()) {
    ShwMsgBox(GuLstErrMsg);
    FbMouArm = false;
  }
  FbStaRun = false;
}
