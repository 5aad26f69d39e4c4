#include "app/VslLsn.h"

#include <QAction>
#include <QDockWidget>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QStatusBar>

#include <memory>
#include <utility>

#include "app/VslCnvLgc.h"
#include "app/VslDoc.h"
#include "app/VslTbr.h"
#include "app/platform/QtStr.h"
#include "core/Globals.h"
#include "core/PathUtl.h"
#include "core/Seams.h"
#include "editor/VioLsn.h"
#include "editor/VioPgmItp.h"
#include "messages/SysMsgIdf.h"
#include "messages/SysMsgBui.h"

namespace {

QString Utf(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

}  // namespace

TVslLsn::TVslLsn(QMainWindow& wnd, TVioPgmItp& edt, TVslDoc& doc, TVslTbr& tbr, QMenu& fil, QAction* bfr,
                 std::function<std::uint8_t()> lge)
    : QObject(&wnd), FWnd(wnd), FEdt(edt), FDoc(doc), FTbr(tbr), FLge(std::move(lge)) {
  smnLsnOpn = new QAction(&fil);
  smnLsnOpn->setObjectName("smnLsnOpn");
  smnLsnCls = new QAction(&fil);
  smnLsnCls->setObjectName("smnLsnCls");
  smnLsnCls->setEnabled(false);
  fil.insertSeparator(bfr);
  fil.insertActions(bfr, {smnLsnOpn, smnLsnCls});
  connect(smnLsnOpn, &QAction::triggered, this, &TVslLsn::Opn);
  connect(smnLsnCls, &QAction::triggered, this, &TVslLsn::Cls);

  dckLsn = new QDockWidget(&wnd);
  dckLsn->setObjectName("dckLsn");
  dckLsn->setFeatures(QDockWidget::DockWidgetMovable);
  lblLsnTsk = new QLabel(dckLsn);
  lblLsnTsk->setObjectName("lblLsnTsk");
  lblLsnTsk->setWordWrap(true);
  lblLsnTsk->setTextFormat(Qt::RichText);
  lblLsnTsk->setAlignment(Qt::AlignTop | Qt::AlignLeft);
  lblLsnTsk->setMargin(8);
  lblLsnTsk->setMinimumWidth(180);
  dckLsn->setWidget(lblLsnTsk);
  wnd.addDockWidget(Qt::RightDockWidgetArea, dckLsn);
  dckLsn->hide();
  RfsTxt();
}

std::string TVslLsn::LsnDir() { return NativePath(GuInsDir + "lessons"); }

void TVslLsn::Opn() {
  GuLstErrMsg.clear();
  const std::uint8_t lge = FLge();
  const std::string pat = std::string("*.") + GcLsnExt;
  TFilDlgReq req{SysMsgOr(SUM_LSN_PNL, lge) + " (" + pat + ")|" + pat, LsnDir()};
  std::string name;
  if (GuFilDlg().Opn(req, name)) OpnFil(name);
}

bool TVslLsn::OpnFil(const std::string& path) {
  auto lsn = std::make_shared<TVioLsn>();
  if (!LodVioLsn(path, FEdt, *lsn)) {
    ShwMsgBox(GuLstErrMsg);
    return false;
  }
  FEdt.SetLsn(std::move(lsn));
  Aply();
  NtfNot();
  return true;
}

void TVslLsn::Cls() {
  if (!FEdt.Lsn()) return;
  FEdt.SetLsn(nullptr);
  Aply();
  FWnd.statusBar()->clearMessage();
}

void TVslLsn::Aply() {
  FTbr.RfsOfr();
  smnLsnCls->setEnabled(FEdt.Lsn() != nullptr);
  dckLsn->setVisible(FEdt.Lsn() != nullptr);
  RfsTxt();
}

void TVslLsn::RfsTxt() {
  const std::uint8_t lge = FLge();
  smnLsnOpn->setText(QStr(SysMsgOr(SUM_LSN_OPN, lge)));
  smnLsnCls->setText(QStr(SysMsgOr(SUM_LSN_CLS, lge)));
  dckLsn->setWindowTitle(QStr(SysMsgOr(SUM_LSN_PNL, lge)));
  const TVioLsn* lsn = FEdt.Lsn();
  if (!lsn) {
    lblLsnTsk->clear();
    FDoc.SetLsnCap(QString());
    return;
  }
  const QString tit = Utf(lsn->TitIn(lge));
  const QString tsk = Utf(lsn->TskIn(lge)).toHtmlEscaped().replace('\n', "<br>");
  lblLsnTsk->setText("<b>" + tit.toHtmlEscaped() + "</b><p>" + tsk + "</p>");
  FDoc.SetLsnCap(tit);
}

void TVslLsn::NtfNot() {
  const std::string not_ = FEdt.LsnNot();
  if (!not_.empty()) FWnd.statusBar()->showMessage(QStr(not_));
}
