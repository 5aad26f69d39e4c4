// The main window's share of the visual editor: the field view over the
// programming field and the Start vio's double click.
#include <QWidget>

#include "app/VslCnv.h"
#include "core/Globals.h"
#include "editor/VioPgmItp.h"
#include "editor/qt/VioFldViw.h"

namespace {
// Message: upload and run from the Start vio is not available in this version.
constexpr std::uint8_t GcMsgStaDblClkNav = 0x30;
}  // namespace

void TfrmVslCnv::CrtEdtViw() {
  if (FpVioFldViw || !FpVioPgmItp) return;
  // The field takes the focus from an edit when a tool button is clicked.
  pnlVioFld->setFocusPolicy(Qt::ClickFocus);
  FpVioFldViw = std::make_unique<TVioFldViw>(*FpVioPgmItp, pnlVioFld);
  FpVioPgmItp->FOnStaDblClk = [this] { return StaDblClkHdl(); };
}

bool TfrmVslCnv::StaDblClkHdl() {
  const std::string txt = FpVioPgmItp->GetSysUsrMsg(GcMsgStaDblClkNav);
  // Without the text the lookup has left its own message.
  if (!txt.empty()) GuLstErrMsg = txt;
  return false;
}
