// The main window's language: the
// Language menu, the tool button hints, menus, dialogs, the toolkit's standard
// buttons and the spoken cues in the chosen language, and the choice kept in
// the settings store for the next start.
#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

#include "app/FstGui.h"
#include "app/HlpInf.h"
#include "app/InsFil.h"
#include "app/Options.h"
#include "app/SimPan.h"
#include "app/VslAcc.h"
#include "app/VslDoc.h"
#include "app/VslFld.h"
#include "app/VslCnv.h"
#include "app/VslCnvLgc.h"
#include "app/VslLsn.h"
#include "app/VslMnu.h"
#include "app/VslSet.h"
#include "app/VslTbr.h"
#include "app/platform/QtPlatform.h"
#include "app/platform/QtStr.h"
#include "core/Globals.h"
#include "core/PathUtl.h"
#include "core/Seams.h"
#include "editor/VioPgmItp.h"
#include "editor/qt/VioPgmViw.h"
#include "sound/PlyWavFil.h"
#include "sound/SndCue.h"

void TfrmVslCnv::SetLgeIdx(std::uint8_t idx) {
  FbyLgeIdx = idx;
  // The editor shows the vios on the field in the new language.
  if (!FpVioPgmItp->SetLgeIdx(idx)) ShwErrMsg(GuLstErrMsg);
  if (FpPlyWavFil) FpPlyWavFil->SetLgeDir(SndLgeDir(idx));
  // Without the toolkit's translations its buttons stay English; the rest follows.
  SetQtLge(idx);
  // Before the message table is loaded there is nothing to show; a missing
  // hint is reported when the mouse comes over its button.
  if (FpSysLgeMsg) FpTbr->RfsHnt();
  RfsLgeTxt();
}

void TfrmVslCnv::RfsLgeTxt() {
  const std::uint8_t lge = FbyLgeIdx;
  FpDoc->RfsTxt(lge);
  FpMnu->RfsTxt(lge);
  FpFld->RfsTxt(lge);
  if (FpLsn) FpLsn->RfsTxt();
  if (FpFst) FpFst->RfsTxt();
  // The other windows exist once the program entry has made them.
  if (frmOptions) frmOptions->SetLge(lge);
  if (frmHlpInf) frmHlpInf->SetLge(lge);
}

void TfrmVslCnv::SelLge(std::uint8_t idx, bool sav) {
  FpMnu->ChkLge(idx);
  const bool chg = idx != FbyLgeIdx;
  FbyLgeIdx = idx;
  SetLgeIdx(idx);
  if (!sav || !chg) return;
  if (!FpSet->KepLge(idx)) {
    const std::string txt = FpVioPgmItp->GetSysUsrMsg(SUM_LGE_SAV_ERR);
    ShwErrMsg(txt.empty() ? "The language could not be kept for the next start" : txt);
  }
}

void TfrmVslCnv::LodLge() {
  const std::uint8_t idx = FpSet->RedLge();
  SelLge(idx, false);
}

