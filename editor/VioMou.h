// The rules of placing a vio with the mouse (positions in field pixels): the
// glue and drop rules a drag follows, the presses and releases the vio panels
// forward, and the double click that runs the program from its Start vio.
// Owned by the editor and reached through it.
#pragma once

#include <functional>

#include "editor/VioPgmItp.h"

class TVioMou {
public:
  using TuPos = TVioPgmItp::TuPos;
  using TuCel = TVioPgmItp::TuCel;
  using TuGlu = TVioPgmItp::TuGlu;
  using TuGluCnd = TVioPgmItp::TuGluCnd;
  using TeMouBtn = TVioPgmItp::TeMouBtn;
  using TuRct = TVioPgmItp::TuRct;

  explicit TVioMou(TVioPgmItp& edt) : FEdt(edt) {}
  TVioMou(const TVioMou&) = delete;
  TVioMou& operator=(const TVioMou&) = delete;

  // The rules as TVioPgmItp tells them at its methods of the same names.
  void PutVioOnCel(TVio* vio, int col, int row);
  TuGlu GluVio(const TVio* vio, TuPos at, int l, int t) const;
  TuCel DrpCel(const TVio* vio, int l, int t) const;
  void DrpVio(TVio* vio, int l, int t);
  void ShwVioAt(TVio* vio, int l, int t);
  bool VioPrs(TVio* vio, TeMouBtn btn);
  void VioRgtUp();
  void VioCtxPop() { FbCtxPop = true; }
  void StaDblClk();
  void SetDrg(const TVioDrg* drg) { FpDrg = drg; }
  bool VioDrg() const;

  // The Start action runs (the double click's hook is under way).
  bool StaRun() const { return FbStaRun; }
  void SetStaRun(bool on) { FbStaRun = on; }
  // The next press counts; a failed Start action disarms it once.
  bool MouArm() const { return FbMouArm; }
  void SetOnStaDblClk(std::function<bool()> fn) { FOnStaDblClk = std::move(fn); }

private:
  using TStpGrd = TVioPgmItp::TStpGrd;

  TVioPgmItp& FEdt;
  const TVioDrg* FpDrg = nullptr;
  bool FbStaRun = false;
  bool FbMouArm = true;
  bool FbCtxPop = false;
  std::function<bool()> FOnStaDblClk;
};
