// The language of the main window: the Language menu, the tool button hints
// in the chosen language, and the choice kept in the settings store beside the
// COM port for the next start.
#include <QAction>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>

#include "app/VslCnv.h"
#include "app/VslCnvLgc.h"
#include "core/Globals.h"
#include "core/Seams.h"
#include "editor/VioPgmItp.h"

namespace {

QString QStr(const std::string& s) { return QString::fromLocal8Bit(s.data(), static_cast<qsizetype>(s.size())); }

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
  RfsTbnHnt();
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
