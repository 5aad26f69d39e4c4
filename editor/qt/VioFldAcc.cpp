#include "editor/qt/VioFldAcc.h"

#include <QAccessibleWidget>
#include <QComboBox>

#include "core/Globals.h"
#include "editor/qt/VioFldViw.h"
#include "messages/SysMsgIdf.h"

namespace {

// On Linux Qt gives a combo box the item it shows as its name and leaves the
// name to a label that points at the box. The boxes of the vios (and of the
// dialogs) have no such label: a box that was given a name keeps it (one
// without a name is named by its item, as before), and the item it shows is
// its value.
class TCbxAcc final : public QAccessibleWidget {
public:
  explicit TCbxAcc(QComboBox* cbx) : QAccessibleWidget(cbx, QAccessible::ComboBox) {}
  QString text(QAccessible::Text t) const override {
    const auto* cbx = static_cast<const QComboBox*>(widget());
    if (t == QAccessible::Value || (t == QAccessible::Name && cbx->accessibleName().isEmpty()))
      return cbx->currentText();
    return QAccessibleWidget::text(t);
  }
};

QAccessibleInterface* CbxAcc(const QString&, QObject* obj) {
  auto* cbx = qobject_cast<QComboBox*>(obj);
  return cbx ? new TCbxAcc(cbx) : nullptr;
}

}  // namespace

void InsCbxAcc() {
  static const bool ins = [] {
    QAccessible::installFactory(&CbxAcc);
    return true;
  }();
  (void)ins;
}

TVioFldAcc::TVioFldAcc(TVioFldViw& viw) : FViw(viw), FAcc(viw.Mdl()) {
  InsCbxAcc();
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
