// The undo history of the field: a copy of the program file and of the
// editor state around it after every finished user action.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "editor/ShrStrLst.h"
#include "messages/TxtFil.h"

class TVio;

class TVioHst {
public:
  // One program file's name and the lines it holds as last saved or opened;
  // shared by every step of the history taken while it was on the field.
  struct TuDoc {
    std::string Nam;
    TStrLst SavLns{"EOF"};
  };
  // The program and the editor state undo brings back with it.
  struct TuSnp {
    std::shared_ptr<TuDoc> Doc;
    TStrLst Lns;
    TShrStrLst LblLst;
    int DlyErr = -1, SpdErr = -1, DstErr = -1;  // index of the vio of each set flag
    int CurCol = -1, CurRow = -1;
    const TVio* MrgVio = nullptr;  // a typing step: its vio and control
    int MrgCtl = -1;
  };
  static constexpr std::size_t GcMaxStp = 500;

  bool CanUnd() const { return FiPos > 0; }
  bool CanRed() const { return FiPos + 1 < FStps.size(); }
  bool Emp() const { return FStps.empty(); }
  // Steps held (the start included).
  std::size_t Cnt() const { return FStps.size(); }
  // The step the field shows; only while the history is not empty.
  TuSnp& Cur() { return FStps[FiPos]; }
  const TuSnp& Cur() const { return FStps[FiPos]; }

  // Records the field after an action. A program like the current step's
  // refreshes that step; typing on in the same control (mrgVio, mrgCtl)
  // extends the step; anything else is a new step and ends the redo. True
  // when the steps changed in a way the views show.
  bool Rcd(TuSnp s, const TVio* mrgVio, int mrgCtl);
  // One step back or on: the step to bring back. Typing after it is a step of its own.
  const TuSnp& Und();
  const TuSnp& Red();
  // Forgets the steps after the current one.
  void CutRed() { FStps.resize(FiPos + 1); }
  void Clr() {
    FStps.clear();
    FiPos = 0;
  }

private:
  std::vector<TuSnp> FStps;
  std::size_t FiPos = 0;
};
