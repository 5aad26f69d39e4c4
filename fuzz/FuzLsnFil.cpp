// Fuzz target: a lesson file read as File > Open lesson does, given to the
// editor, and every vio type added under it: a type is added exactly when
// the lesson offers it, and closing the lesson offers every type again.
#include <cstdlib>
#include <memory>
#include <string>

#include "FuzSup.h"
#include "core/Globals.h"
#include "core/WndMsg.h"
#include "editor/VioLsn.h"
#include "editor/VioMtr.h"
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
