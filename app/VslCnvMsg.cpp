// The main window's services to the other parts (the error box, the blink,
// the program's folder, availability) and the routing of its window messages.
#include "app/VioBlk.h"
#include "app/VslCnv.h"
#include "app/VslLnk.h"
#include "app/VslTbr.h"
#include "core/Globals.h"
#include "core/PathUtl.h"
#include "core/Seams.h"
#include "editor/VioPgmItp.h"

#include <filesystem>
#include <system_error>

namespace {

// Message code: the low byte of the first parameter.
std::uint8_t MsgCod(std::uintptr_t wParam) { return static_cast<std::uint8_t>(wParam & 0xFF); }

}  // namespace

// ---------------------------------------------------------------------------
// Services: the error box, the blink, the folder, availability

void TfrmVslCnv::ShwErrMsg(const std::string& text) {
  ShwMsgBox(text, "", TeMsgBtn::Ok);
  PrcMsg();
  if (FpBlk->Vio()) FpBlk->End(true);
}

void TfrmVslCnv::StaVioBlk(TVio* vio) { FpBlk->Sta(vio); }

void TfrmVslCnv::tmrVioBlkTimer() { FpBlk->Tck(); }

void TfrmVslCnv::SetAppDir() {
  std::error_code ec;
  std::filesystem::current_path(NativePath(FsAppDir), ec);
}

void TfrmVslCnv::SetAvlCol(std::uint8_t idx) {
  FbyAvlCol = idx;
  FpVioPgmItp->SetAvlCol(idx);
}

// ---------------------------------------------------------------------------
// Window messages

std::intptr_t TfrmVslCnv::SndMsg(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) {
  switch (msg) {
    case WM_APP_MSG: AppMsgHdl(MsgCod(wParam), lParam); break;
    case WM_SET_MSG: return SetMsgHdl(MsgCod(wParam), lParam);
    case WM_NOP_MSG: break;
    default: break;
  }
  return 0;
}

void TfrmVslCnv::AppMsgHdl(std::uint8_t code, std::intptr_t value) {
  switch (code) {
    case AM_ENA_STA: FpTbr->Tbn(TeTbn::Sta)->setEnabled(true); break;
    case AM_ENA_SWI: FpTbr->Tbn(TeTbn::Swi)->setEnabled(true); break;
    case AM_VIO_BLK: StaVioBlk(reinterpret_cast<TVio*>(value)); break;
    default: FpLnk->AppMsg(code, value); break;
  }
}

std::intptr_t TfrmVslCnv::SetMsgHdl(std::uint8_t code, std::intptr_t value) {
  switch (code) {
    case SM_NEW_COM_PRT: return FpLnk->SetPrt(value);
    case SM_RMV_CUR_VIO: {
      // The blink ends here; a target other than the current vio is left visible.
      FpBlk->End(true);
      PrcMsg();
      TVio* cur = FpVioPgmItp->CurVio();
      if (!cur) break;
      cur->SetVisible(true);
      FpVioPgmItp->RmvVio(cur);
      break;
    }
    default: break;
  }
  return 0;
}
