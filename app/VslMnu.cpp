#include "app/VslMnu.h"

#include <QAction>
#include <QActionGroup>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include <utility>

#include "app/HlpInf.h"
#include "app/KeyHlp.h"
#include "app/Options.h"
#include "app/VslCnv.h"
#include "app/InsFil.h"
#include "app/platform/QtStr.h"
#include "core/Globals.h"
#include "core/PathUtl.h"
#include "messages/SysMsgBui.h"

TVslMnu::TVslMnu(QMainWindow& wnd, std::function<TVioPgmItp*()> edt, std::function<std::uint8_t()> lge,
                 std::function<void(std::uint8_t idx)> selLge)
    : QObject(&wnd), FWnd(wnd), FEdt(std::move(edt)), FLge(std::move(lge)), FSelLge(std::move(selLge)) {}

void TVslMnu::Bld(QMenuBar& bar) {
  mmnOpt = bar.addAction("Options");
  connect(mmnOpt, &QAction::triggered, this, &TVslMnu::mmnOptClick);
  mmnLge = bar.addMenu("Language");
  mmnLge->setObjectName("mmnLge");
  auto* grp = new QActionGroup(this);
  smnEng = mmnLge->addAction("Englisch");
  smnDut = mmnLge->addAction("Nederlands");
  smnGer = mmnLge->addAction("Deutsch");
  for (QAction* a : {smnEng, smnDut, smnGer}) {
    a->setCheckable(true);
    grp->addAction(a);
  }
  connect(smnEng, &QAction::triggered, this, &TVslMnu::smnEngClick);
  connect(smnDut, &QAction::triggered, this, &TVslMnu::smnDutClick);
  connect(smnGer, &QAction::triggered, this, &TVslMnu::smnGerClick);
  mmnHlp = bar.addMenu("Help");
  mmnHlp->setObjectName("mmnHlp");
  smnHlpMnlEng = mmnHlp->addAction("Manual (Englisch)");
  HandbuchDeutch1 = mmnHlp->addAction("Anleitung (Deutsch)");
  smnHlpInf = mmnHlp->addAction("Info");
  smnHlpKey = mmnHlp->addAction("Keys");
  smnHlpKey->setObjectName("smnHlpKey");
  smnHlpKey->setShortcuts({QKeySequence(Qt::Key_F1), QKeySequence(Qt::CTRL | Qt::Key_Slash)});
  smnHlpKey->setShortcutContext(Qt::WindowShortcut);
  // The window's own key too: the list opens also while the start holds the Help menu shut.
  FWnd.addAction(smnHlpKey);
  // The guided first program; the window gives it to the guide.
  smnHlpFst = mmnHlp->addAction("First program");
  smnHlpFst->setObjectName("smnHlpFst");
  connect(smnHlpMnlEng, &QAction::triggered, this, &TVslMnu::smnHlpMnlEngClick);
  connect(HandbuchDeutch1, &QAction::triggered, this, &TVslMnu::HandbuchDeutch1Click);
  connect(smnHlpInf, &QAction::triggered, this, &TVslMnu::smnHlpInfClick);
  connect(smnHlpKey, &QAction::triggered, this, &TVslMnu::smnHlpKeyClick);
}

void TVslMnu::RfsTxt(std::uint8_t lge) {
  auto txt = [lge](std::uint8_t id) { return QStr(SysMsgOr(id, lge)); };
  mmnOpt->setText(txt(SUM_MNU_OPT));
  mmnLge->setTitle(txt(SUM_MNU_LGE));
  mmnHlp->setTitle(txt(SUM_MNU_HLP));
  smnHlpMnlEng->setText(txt(SUM_MNU_MNL_ENG));
  HandbuchDeutch1->setText(txt(SUM_MNU_MNL_GER));
  smnHlpInf->setText(txt(SUM_MNU_INF));
  smnHlpKey->setText(txt(SUM_KEY_CAP));
  smnHlpFst->setText(txt(SUM_FST_GUI));
  if (FpKeyHlp && FpKeyHlp->isVisible()) FpKeyHlp->Shw();
}

void TVslMnu::ChkLge(std::uint8_t idx) {
  for (QAction* a : {smnEng, smnDut, smnGer}) a->setChecked(a == LgeAct(idx));
}

void TVslMnu::SetLck(bool locked) {
  mmnOpt->setEnabled(!locked);
  mmnHlp->menuAction()->setEnabled(!locked);
}

bool TVslMnu::Lck() const { return !mmnOpt->isEnabled() && !mmnHlp->menuAction()->isEnabled(); }

QAction* TVslMnu::LgeAct(std::uint8_t idx) const {
  QAction* const itm[] = {smnEng, smnDut, smnGer};
  return idx < 3 ? itm[idx] : nullptr;
}

void TVslMnu::mmnOptClick() {
  if (!frmOptions) return;
  frmOptions->show();
  frmOptions->raise();
  frmOptions->activateWindow();
}

void TVslMnu::smnHlpMnlEngClick() { OpnMnl(NativePath(DocDir(GuInsDir) + GcMnlEng), FLge()); }
void TVslMnu::HandbuchDeutch1Click() { OpnMnl(NativePath(DocDir(GuInsDir) + GcMnlGer), FLge()); }

void TVslMnu::smnHlpInfClick() {
  if (frmHlpInf) frmHlpInf->ShwOn(&FWnd);
}

void TVslMnu::smnHlpKeyClick() {
  TVioPgmItp* edt = FEdt();
  if (!edt) return;
  if (!FpKeyHlp) FpKeyHlp = new TfrmKeyHlp(FWnd, *edt);
  FpKeyHlp->Shw();
}
