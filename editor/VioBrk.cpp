// Breakpoints on vios: where the simulated robot is to stop before a vio.
#include <algorithm>
#include <iterator>

#include "editor/VioPgmItp.h"

bool TVioPgmItp::SetBrk(TVio* vio, bool on) {
  if (!OwnsVio(vio)) return false;
  if (vio->FbBrk == on) return true;
  vio->FbBrk = on;
  for (IVioPgmObs* o : FpObsLst) o->VioBrk(vio);
  return true;
}

std::vector<TVio*> TVioPgmItp::BrkVios() const {
  std::vector<TVio*> r;
  std::copy_if(FPgm.Vios().begin(), FPgm.Vios().end(), std::back_inserter(r), [](const TVio* v) { return v->Brk(); });
  return r;
}

std::vector<TVioPgmItp::TuBrkAt> TVioPgmItp::TakBrk() const {
  std::vector<TuBrkAt> r;
  for (std::size_t i = 0; i < FPgm.Vios().size(); ++i) {
    const TVio* v = FPgm.Vios()[i];
    if (v->Brk()) r.push_back({i, v->Rec().GrdCol, v->Rec().GrdRow, v->Rec().VioTyp});
  }
  return r;
}

void TVioPgmItp::PutBrk(const std::vector<TuBrkAt>& brk) {
  for (const TuBrkAt& b : brk) {
    auto on = std::find_if(FPgm.Vios().begin(), FPgm.Vios().end(), [&b](const TVio* v) {
      return v->Rec().GrdCol == b.Col && v->Rec().GrdRow == b.Row && v->Rec().VioTyp == b.Typ;
    });
    if (on != FPgm.Vios().end()) {
      SetBrk(*on, true);
    } else if (b.Idx < FPgm.Vios().size() && FPgm.Vios()[b.Idx]->Rec().VioTyp == b.Typ) {
      SetBrk(FPgm.Vios()[b.Idx], true);
    }
  }
}
