// The language of the main window: the Language menu, the tool button hints,
// menus, dialogs, the toolkit's standard buttons and the spoken cues in the
// chosen language, and the choice kept in the settings store beside the COM
// port for the next start.
#include <QAction>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>

#include "app/HlpInf.h"
#include "app/Options.h"
#include "app/VslDoc.h"
#include "app/VslCnv.h"
#include "app/VslCnvLgc.h"
#include "app/platform/QtPlatform.h"
#include "app/platform/QtStr.h"
#include "core/Globals.h"
#include "core/Seams.h"
#include "editor/VioPgmItp.h"
#include "editor/qt/VioPgmViw.h"
#include "sound/PlyWavFil.h"
#include "sound/SndCue.h"

namespace {

// The value beside "Comport" in the Options key: the language index as a digit.
constexpr const char* GcLgeVal = "Language";
// "The language could not be kept ..."
constexpr std::uint8_t GcMsgLgeSavErr = 0x70;

// An absent or unknown value is English.
std::uint8_t LgeOfVal(const std::string& val) {
  if (val == "1") return 1;
  if (val == "2") return 2;
  return 0;
}

}  // namespace

void TfrmVslCnv::SetLgeIdx(std::uint8_t idx) {
  FbyLgeIdx = idx;
  // The editor shows the vios on the field in the new language.
  if (!FpVioPgmItp->SetLgeIdx(idx)) ShwErrMsg(GuLstErrMsg);
  if (FpPlyWavFil) FpPlyWavFil->SetLgeDir(SndLgeDir(idx));
  // Without the toolkit's translations its buttons stay English; the rest follows.
  SetQtLge(idx);
  RfsTbnHnt();
  RfsLgeTxt();
}

void TfrmVslCnv::RfsLgeTxt() {
  const std::uint8_t lge = FbyLgeIdx;
  auto txt = [lge](std::uint8_t id, const char* dft) { return QStr(LgeTxt(id, lge, dft)); };
  FpDoc->RfsTxt(lge);
  mmnOpt->setText(txt(SUM_MNU_OPT, "Options"));
  mmnLge->setTitle(txt(SUM_MNU_LGE, "Language"));
  mmnHlp->setTitle(txt(SUM_MNU_HLP, "Help"));
  smnHlpMnlEng->setText(txt(SUM_MNU_MNL_ENG, "Manual (Englisch)"));
  HandbuchDeutch1->setText(txt(SUM_MNU_MNL_GER, "Anleitung (Deutsch)"));
  smnHlpInf->setText(txt(SUM_MNU_INF, "Info"));
  if (FpPgmViw) FpPgmViw->RfsTxt();
  // The other windows exist once the program entry has made them.
  if (frmOptions) frmOptions->SetLge(lge);
  if (frmHlpInf) frmHlpInf->SetLge(lge);
}

void TfrmVslCnv::RfsTbnHnt() {
  // Before the message table is loaded there is nothing to show; a missing
  // hint is reported when the mouse comes over its button.
  if (!FpSysLgeMsg) return;
  QToolTip::hideText();
  for (QToolBar* tbr : {tbrVioObj, tbrDatCom}) {
    if (!tbr) continue;
    for (QAction* a : tbr->actions()) {
      auto* btn = qobject_cast<QToolButton*>(tbr->widgetForAction(a));
      if (!btn) continue;
      const std::uint8_t idf = TbnHntIdf(btn->objectName().toStdString());
      if (idf == 0) continue;
      const std::string kep = GuLstErrMsg;
      const std::string txt = FpVioPgmItp->GetSysUsrMsg(idf);
      GuLstErrMsg = kep;
      if (txt.empty()) continue;
      a->setToolTip(QStr(txt));
      btn->setToolTip(QStr(txt));
    }
  }
}

void TfrmVslCnv::SelLge(std::uint8_t idx, QAction* item, bool sav) {
  for (QAction* a : {smnEng, smnDut, smnGer}) a->setChecked(a == item);
  const bool chg = idx != FbyLgeIdx;
  FbyLgeIdx = idx;
  SetLgeIdx(idx);
  if (!sav || !chg || !FpRegistry) return;
  // The Options key is the open key of the store (opened at start).
  if (!FpRegistry->WriteString(GcLgeVal, std::to_string(idx))) {
    const std::string txt = FpVioPgmItp->GetSysUsrMsg(GcMsgLgeSavErr);
    ShwErrMsg(txt.empty() ? "The language could not be kept for the next start" : txt);
  }
}

void TfrmVslCnv::LodLge() {
  if (!FpRegistry) return;
  const std::uint8_t idx = LgeOfVal(FpRegistry->ReadString(GcLgeVal));
  QAction* itm[] = {smnEng, smnDut, smnGer};
  SelLge(idx, itm[idx], false);
}

void TfrmVslCnv::smnEngClick() { SelLge(0, smnEng); }
void TfrmVslCnv::smnDutClick() { SelLge(1, smnDut); }
void TfrmVslCnv::smnGerClick() { SelLge(2, smnGer); }
