// Fuzz target: a lesson file read as File > Open lesson does, given to the
// editor, and every vio type added under it: a type is added exactly when
// the lesson offers it, and closing the lesson offers every type again.
#include <cstdlib>
#include <memory>
#include <string>

#include "FuzEdt.h"
#include "FuzSup.h"
#include "editor/VioLsn.h"
#include "editor/VioMtr.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzSetPlt();
  static TFuzEdt* fe = new TFuzEdt;  // lives for the whole run
  TVioPgmItp& edt = fe->Edt;
  auto lsn = std::make_shared<TVioLsn>();
  if (!LodVioLsn(FuzWrtFil("in.lesson", data, size), edt, *lsn)) return 0;
  if (lsn->Bdg < 1 || lsn->Bdg > 255) std::abort();
  edt.SetLsn(lsn);
  TVioMtr mtr(edt);
  for (std::uint8_t t = 0; t < GcVioTypCnt; ++t) {
    const bool add = edt.AddVio(t);
    if (add && !lsn->VioOfr(t)) std::abort();
  }
  mtr.Upd();
  edt.SetLsn(nullptr);
  for (std::uint8_t t = 0; t < GcVioTypCnt; ++t)
    if (!edt.VioOfr(t)) std::abort();
  edt.RmvAllVio();
  return 0;
}
