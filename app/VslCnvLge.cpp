// The main window's menus beside File and Edit, and its language: the
// Language menu, the tool button hints, menus, dialogs, the toolkit's standard
// buttons and the spoken cues in the chosen language, and the choice kept in
// the settings store for the next start.
#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

#include "app/HlpInf.h"
#include "app/InsFil.h"
#include "app/Options.h"
#include "app/SimPan.h"
#include "app/VslAcc.h"
#include "app/VslDoc.h"
#include "app/VslCnv.h"
#include "app/VslCnvLgc.h"
#include "app/VslLsn.h"
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
  auto txt = [lge](std::uint8_t id) { return QStr(LgeTxt(id, lge)); };
  FpDoc->RfsTxt(lge);
  mmnOpt->setText(txt(SUM_MNU_OPT));
  mmnLge->setTitle(txt(SUM_MNU_LGE));
  mmnHlp->setTitle(txt(SUM_MNU_HLP));
  smnHlpMnlEng->setText(txt(SUM_MNU_MNL_ENG));
  HandbuchDeutch1->setText(txt(SUM_MNU_MNL_GER));
  smnHlpInf->setText(txt(SUM_MNU_INF));
  if (FpPgmViw) FpPgmViw->RfsTxt();
  if (FpSimPan) FpSimPan->RfsTxt();
  if (FpAcc) FpAcc->RfsTxt(lge);
  if (FpLsn) FpLsn->RfsTxt();
  // The other windows exist once the program entry has made them.
  if (frmOptions) frmOptions->SetLge(lge);
  if (frmHlpInf) frmHlpInf->SetLge(lge);
}

void TfrmVslCnv::SelLge(std::uint8_t idx, QAction* item, bool sav) {
  for (QAction* a : {smnEng, smnDut, smnGer}) a->setChecked(a == item);
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
  SelLge(idx, LgeAct(idx), false);
}

QAction* TfrmVslCnv::LgeAct(std::uint8_t idx) const {
  QAction* const itm[] = {smnEng, smnDut, smnGer};
  return idx < 3 ? itm[idx] : nullptr;
}

void TfrmVslCnv::smnEngClick() { SelLge(0, smnEng); }
void TfrmVslCnv::smnDutClick() { SelLge(1, smnDut); }
void TfrmVslCnv::smnGerClick() { SelLge(2, smnGer); }

// ---------------------------------------------------------------------------
// The menus beside File and Edit

void TfrmVslCnv::BldMnu(QMenuBar& bar) {
  bar.setObjectName("mmnMaiMnu");
  FpDoc->BldMnu(bar);
  mmnOpt = bar.addAction("Options");
  connect(mmnOpt, &QAction::triggered, this, &TfrmVslCnv::mmnOptClick);
  mmnLge = bar.addMenu("Language");
  mmnLge->setObjectName("mmnLge");
  auto* lge = new QActionGroup(this);
  smnEng = mmnLge->addAction("Englisch");
  smnDut = mmnLge->addAction("Nederlands");
  smnGer = mmnLge->addAction("Deutsch");
  for (QAction* a : {smnEng, smnDut, smnGer}) {
    a->setCheckable(true);
    lge->addAction(a);
  }
  connect(smnEng, &QAction::triggered, this, &TfrmVslCnv::smnEngClick);
  connect(smnDut, &QAction::triggered, this, &TfrmVslCnv::smnDutClick);
  connect(smnGer, &QAction::triggered, this, &TfrmVslCnv::smnGerClick);
  mmnHlp = bar.addMenu("Help");
  mmnHlp->setObjectName("mmnHlp");
  smnHlpMnlEng = mmnHlp->addAction("Manual (Englisch)");
  HandbuchDeutch1 = mmnHlp->addAction("Anleitung (Deutsch)");
  smnHlpInf = mmnHlp->addAction("Info");
  connect(smnHlpMnlEng, &QAction::triggered, this, &TfrmVslCnv::smnHlpMnlEngClick);
  connect(HandbuchDeutch1, &QAction::triggered, this, &TfrmVslCnv::HandbuchDeutch1Click);
  connect(smnHlpInf, &QAction::triggered, this, &TfrmVslCnv::smnHlpInfClick);
}

void TfrmVslCnv::mmnOptClick() {
  if (!frmOptions) return;
  frmOptions->show();
  frmOptions->raise();
  frmOptions->activateWindow();
}

void TfrmVslCnv::smnHlpMnlEngClick() { OpnMnl(NativePath(DocDir(GuInsDir) + GcMnlEng), FbyLgeIdx); }
void TfrmVslCnv::HandbuchDeutch1Click() { OpnMnl(NativePath(DocDir(GuInsDir) + GcMnlGer), FbyLgeIdx); }

void TfrmVslCnv::smnHlpInfClick() {
  if (frmHlpInf) frmHlpInf->ShwOn(this);
}
