#include "app/RunMrk.h"

#include "editor/qt/VioPgmViw.h"

void TRunMrk::Adr(int adr) {
  if (FbHld) return;
  if (TPgmViw* v = FViw()) v->RunAdr(adr);
}

void TRunMrk::End() {
  if (FbHld) return;
  if (TPgmViw* v = FViw()) v->RunEnd();
}

bool TRunMrk::Hld(int adr) {
  if (adr < 0) return false;
  FbHld = true;
  TPgmViw* v = FViw();
  if (!v || v->RunVio() == v->RunMap().VioAt(adr)) return false;
  v->RunAdr(adr);
  return true;
}

TVio* TRunMrk::Vio() const {
  TPgmViw* v = FViw();
  return v ? v->RunVio() : nullptr;
}

TVio* TRunMrk::VioAt(int adr) const {
  TPgmViw* v = FViw();
  return v ? v->RunMap().VioAt(adr) : nullptr;
}

void TRunMrk::Stm(const TInsAndTkn& trn) {
  if (TPgmViw* v = FViw()) v->SetRunStm(trn);
}

void TRunMrk::ClrStm() {
  if (TPgmViw* v = FViw()) v->ClrRunStm();
}

void TRunMrk::SndBrk() {
  if (TPgmViw* v = FViw()) v->SndBrk();
}
