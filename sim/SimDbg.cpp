// The simulated robot's debugging (pause, step, breakpoints) and the
// recording of its runs; the interpreter itself is in SimRbt.cpp.
#include <algorithm>

#include "sim/SimRbt.h"

bool TSimRbt::Pause() {
  if (!Running() || FbPau) return false;
  PauAt(TeSimWhy::Usr);
  return true;
}

bool TSimRbt::Cont() {
  if (!FbPau) return false;
  FbStp = false;
  Rsm();
  return true;
}

bool TSimRbt::Step() {
  if (!FbPau) return false;
  FbStp = true;
  // Paused inside a Delay or a motion, the step is that instruction's end.
  FbStpDon = FeSte == TeSte::Wai;
  Rsm();
  return true;
}

bool TSimRbt::RunToEnd() {
  if (!Running()) return false;
  FbToEnd = true;
  if (FbPau) Cont();
  return true;
}

void TSimRbt::PauAt(TeSimWhy knd) {
  FbPau = true;
  FbStp = false;
  // The wait (or the instruction time) under way keeps its rest, and the
  // wheels their command, for when the program goes on.
  FiPauRst = std::max<TSimTim>((FeSte == TeSte::Wai ? FiWaiEnd : FiNxtIns) - FiNow, 0);
  FePauWhl = FWld.Whl();
  FWld.SetWhl(TeWhl::Stp);
  FWhy = {knd, At(), {}};
  const std::string adr = std::to_string(At());
  Evt(knd == TeSimWhy::Brk   ? "breakpoint at address " + adr
      : knd == TeSimWhy::Stp ? "step done: paused before address " + adr
                             : "paused at address " + adr);
  if (FOnPau) FOnPau(At());
}

void TSimRbt::Rsm() {
  FbPau = false;
  FWhy = {};
  // It does not stop again at the breakpoint it stands at.
  FiSkpBrk = FeSte == TeSte::Run ? FiPc : -1;
  (FeSte == TeSte::Wai ? FiWaiEnd : FiNxtIns) = FiNow + FiPauRst;
  FWld.SetWhl(FePauWhl);
  Evt(FbStp ? "step" : FbToEnd ? "run to the end" : "continued");
  if (FbSwiPnd && !FbInSwi) {
    FbSwiPnd = false;
    Evt("remembered switch press");
    EntSwi();
    FiSkpBrk = -1;
  }
}

bool TSimRbt::DbgHld() {
  if (!FbToEnd && FiPc != FiSkpBrk && FBrk.count(FiPc)) {
    PauAt(TeSimWhy::Brk);
    return true;
  }
  if (FbStp && FbStpDon) {
    PauAt(TeSimWhy::Stp);
    return true;
  }
  return false;
}

void TSimRbt::EndRun(TeSimWhy knd, int adr, const std::string& txt) {
  FbPau = FbStp = FbToEnd = false;
  FWhy = {knd, adr, txt};
  if (!FbRecOn) return;
  RecAdd(knd == TeSimWhy::Cpl ? adr : -1);
  FbRecOn = false;
}

void TSimRbt::RecAdd(int adr) {
  TuSimRec e;
  e.Tim = FiNow;
  e.Adr = adr;
  e.X = FWld.X();
  e.Y = FWld.Y();
  e.Hdg = FWld.Hdg();
  e.Whl = FWld.Whl();
  e.Spd = FWld.Spd();
  e.BmpL = Bmp(true);
  e.BmpR = Bmp(false);
  e.LinL = Lin(true);
  e.LinR = Lin(false);
  e.Lgt = LgtVal();
  e.Swi = FbySwi;
  e.SysLed = FeSysLed;
  e.BckLed = FeBckLed;
  e.TrkLed = FbTrkLed;
  if (FRec.size() == GcRecMax) {
    FRec.pop_front();
    ++FiRecDrp;
  }
  FRec.push_back(e);
  FiRecNxt = FiNow + GcRecIvl;
}
