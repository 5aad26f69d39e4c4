#include "editor/VioDrg.h"

#include "core/Seams.h"

namespace {
// Move events received while a drag was on; only every second one is processed.
unsigned GuMovCnt = 0;
constexpr const char* GcMouErr = "#126, 'eVisualInstructionOnMouseGoingDown' error";
}  // namespace

unsigned TVioDrg::MovCnt() { return GuMovCnt; }

void TVioDrg::VioRmv(TVio* vio) {
  if (vio == FpAir) FpAir = nullptr;
}

TVioDrg::TuPos TVioDrg::Pos(const TVio* vio) const {
  if (vio && vio == FpAir) return FAir;
  return vio ? TuPos{vio->Left(), vio->Top()} : TuPos{};
}

void TVioDrg::Dwn(TVio* vio, TeMouBtn btn, const std::optional<TuPos>& pos) {
  if (!FMdl.VioPrs(vio, btn)) return;
  if (!pos) {
    ShwMsgBox(GcMouErr);
    return;
  }
  const TuPos at = Pos(vio);
  FOfs = {at.X - pos->X, at.Y - pos->Y};
  FbOn = true;
}

void TVioDrg::Mov(const std::optional<TuPos>& pos) {
  if (FMdl.StaRun() || !FbOn) return;
  if (++GuMovCnt % 2 == 1) return;
  if (!pos) {
    ShwMsgBox(GcMouErr);
    return;
  }
  TVio* vio = FMdl.CurVio();
  if (!vio) return;
  const TuPos at = Pos(vio);
  TVioPgmItp::TuGlu g = FMdl.GluVio(vio, at, pos->X + FOfs.X, pos->Y + FOfs.Y);
  FCnd = std::move(g.Cnd);
  FpAir = vio;
  FAir = g.Pos;
  if (!(g.Pos == at)) FMdl.ShwVioAt(vio, g.Pos.X, g.Pos.Y);
}

void TVioDrg::Up(TeMouBtn btn) {
  if (FMdl.StaRun()) return;
  TVio* vio = FMdl.CurVio();
  if (btn == TeMouBtn::Lft && vio) {
    const TuPos at = Pos(vio);
    FpAir = nullptr;
    FMdl.DrpVio(vio, at.X, at.Y);
  } else if (btn == TeMouBtn::Rgt) {
    FMdl.VioRgtUp();
  }
  FbOn = false;
}
