// Fuzz target: a program file read as the Open command does, translated as
// the upload commands do, and saved and read again.
#include <cstdlib>
#include <string>

#include "FuzSup.h"
#include "core/Globals.h"
#include "core/WndMsg.h"
#include "editor/VioPgmItp.h"
#include "messages/SysLgeMsg.h"

namespace {

class TFuzOwn final : public IWndMsgTgt {
public:
  std::intptr_t SndMsg(std::uint32_t, std::uintptr_t, std::intptr_t) override { return 0; }
};

struct TFuzEdt {
  TFuzOwn Own;
  TSysLgeMsg Msg{&Own, TESSARO_DATA_DIR "/"};
  TVioPgmItp Edt{&Own};
  TFuzEdt() {
    GuSysLgeMsg = &Msg;
    Edt.CrtVioFld(0, 0);
    Edt.SetLgeIdx(0);
    Edt.SetAvlCol(0);
    if (!Edt.SarAndTkn().LodTknFil(TESSARO_DATA_DIR "/ExtComTkn.sys")) std::abort();
  }
};

}  // namespace

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
