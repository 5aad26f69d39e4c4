// The robot's fault as the user reads it: the vio that holds the address is
// framed on the field and named in the status bar.
#include <QStatusBar>

#include "app/VslLnk.h"
#include "app/platform/QtStr.h"
#include "editor/VioAcc.h"
#include "editor/VioPgmItp.h"
#include "app/RunMrk.h"
#include "messages/LnkMsg.h"

void TVslLnk::ShwFlt(std::uint16_t val) {
  const auto adr = static_cast<std::uint8_t>(val & 0xFF), knd = static_cast<std::uint8_t>(val >> 8);
  std::string nam;
  // The frame stays on the vio until the next upload, as a paused robot's does.
  FW.Run.Adr(adr);
  if (const TVio* vio = FW.Run.VioAt(adr)) nam = VioTypAccNam(FW.Edt(), vio->Rec().VioTyp);
  FW.Sta().showMessage(QStr(RbtFltMsg(adr, knd, FW.Lge, nam)));
}
