// Fuzz target: a program file read as the Open command does, translated as
// the upload commands do, and saved and read again.
#include <cstdlib>
#include <string>

#include "FuzEdt.h"
#include "FuzSup.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzSetPlt();
  static TFuzEdt* fe = new TFuzEdt;  // lives for the whole run
  TVioPgmItp& edt = fe->Edt;
  const std::string p = FuzWrtFil("in.vio", data, size);
  if (!edt.LodVioFil(p)) return 0;
  edt.TrnVioPgm();
  // What was loaded saves, and the saved file loads back to the same lines.
  TStrLst one;
  if (!edt.BldVioLns(one)) return 0;
  const std::string q = p + ".sav";
  if (!edt.SavVioFil(q)) std::abort();
  if (!edt.LodVioFil(q)) std::abort();
  TStrLst two;
  if (!edt.BldVioLns(two) || one != two) std::abort();
  return 0;
}
