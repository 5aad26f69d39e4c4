// The editor of the fuzz targets that read files into it: the shipped
// messages and sensor/actor definitions, English, the default field.
#pragma once

#include <cstdint>
#include <cstdlib>

#include "core/Globals.h"
#include "core/WndMsg.h"
#include "editor/VioPgmItp.h"
#include "messages/SysLgeMsg.h"

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
