// The drag of a vio with the mouse, as the field's view sees it: the press,
// the moves and the release that the vio panels forward, in field pixels.
// The drag holds where the vio is shown meanwhile; the editor's rules say
// where it glues and where it lands, and only the drop changes the program.
#pragma once

#include <optional>
#include <vector>

#include "editor/VioPgmItp.h"

class TVioDrg final : private IVioPgmObs {
public:
  using TeMouBtn = TVioPgmItp::TeMouBtn;
  using TuPos = TVioPgmItp::TuPos;
  using TuGluCnd = TVioPgmItp::TuGluCnd;

  explicit TVioDrg(TVioPgmItp& mdl) : FMdl(mdl) { FMdl.AddObs(this); }
  ~TVioDrg() override { FMdl.RmvObs(this); }
  TVioDrg(const TVioDrg&) = delete;
  TVioDrg& operator=(const TVioDrg&) = delete;

  // A position that could not be read is none: the press or move then shows
  // #126 and has no effect.
  void Dwn(TVio* vio, TeMouBtn btn, const std::optional<TuPos>& pos);
  // Acts on the current vio; only every second move while a drag is on counts.
  void Mov(const std::optional<TuPos>& pos);
  // Acts on the current vio: a left release drops it, a right one may remove it.
  void Up(TeMouBtn btn);

  bool On() const { return FbOn; }
  // Where the vio is shown: where the drag holds it, else on its cell.
  TuPos Pos(const TVio* vio) const;
  // The glue candidates of the last processed move.
  const std::vector<TuGluCnd>& Cnd() const { return FCnd; }
  // Move events received while a drag was on, over the whole run.
  static unsigned MovCnt();

private:
  // A removed vio is shown nowhere.
  void VioRmv(TVio* vio) override;
  void FldClr() override { FpAir = nullptr; }
  TVioPgmItp& FMdl;
  bool FbOn = false;
  TuPos FOfs;                     // vio origin minus pointer, taken at the press
  const TVio* FpAir = nullptr;    // the vio shown off its cell, and where
  TuPos FAir;
  std::vector<TuGluCnd> FCnd;
};
