#include "editor/qt/VioFldAcc.h"

#include "core/Globals.h"
#include "editor/qt/VioFldViw.h"
#include "messages/SysMsgIdf.h"

TVioFldAcc::TVioFldAcc(TVioFldViw& viw) : FViw(viw), FAcc(viw.Mdl()) {
  FTmr.setSingleShot(true);
  FTmr.setInterval(0);
  connect(&FTmr, &QTimer::timeout, this, &TVioFldAcc::Upd);
  FAcc.FOnStl = [this] { FTmr.start(); };
  FAcc.FOnChg = [this](TVio* v) { Apl(v); };
  RfsTxt();
}

void TVioFldAcc::Upd() {
  FTmr.stop();
  FAcc.Upd();
}

void TVioFldAcc::RfsTxt() {
  const std::string keep = GuLstErrMsg;
  std::string nam = FViw.Mdl().GetSysUsrMsg(SUM_ACC_FLD);
  GuLstErrMsg = keep;
  if (QWidget* f = FViw.Fld()) f->setAccessibleName(VioQStr(nam.empty() ? "Programming field" : nam));
  Upd();
}

void TVioFldAcc::Apl(TVio* vio) {
  TVioPnl* pnl = FViw.Pnl(vio);
  if (!pnl) return;
  const QString nam = VioQStr(FAcc.VioNam(vio));
  // Qt tells an assistive technology of each changed name and description.
  if (pnl->accessibleName() != nam) pnl->setAccessibleName(nam);
  for (int c = 0; c < static_cast<int>(pnl->Ctls().size()); ++c) {
    QWidget* w = pnl->Ctl(c);
    const QString ctl = VioQStr(FAcc.CtlNam(vio, c));
    if (!w || ctl.isEmpty()) continue;
    if (w->accessibleName() != ctl) w->setAccessibleName(ctl);
    if (w->accessibleDescription() != nam) w->setAccessibleDescription(nam);
  }
}
