#include "app/VslFld.h"

#include <QDockWidget>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QWidget>

#include <utility>

#include "app/BkgDrf.h"
#include "app/RbtMon.h"
#include "app/RunMrk.h"
#include "app/SimPan.h"
#include "app/VslAcc.h"
#include "app/VslCnv.h"
#include "app/VslCnvCfg.h"
#include "app/VslDoc.h"
#include "app/VslLnk.h"
#include "app/VslSet.h"
#include "app/VslTbr.h"
#include "app/platform/QtStr.h"
#include "core/Globals.h"
#include "core/PathUtl.h"
#include "core/Seams.h"
#include "editor/VioPgmItp.h"
#include "editor/qt/VioFldKey.h"
#include "editor/qt/VioFldSel.h"
#include "editor/qt/VioFldViw.h"
#include "editor/qt/VioFldZom.h"
#include "editor/qt/VioPgmSht.h"
#include "editor/qt/VioPgmViw.h"
#include "link/PrtNam.h"
#include "sim/SimDrv.h"
#include "sim/SimThr.h"

namespace {
// Beside the docked simulator pane the twelve columns narrow so that all of
// them fit; without it the cells are the field's own again.
void FitCelPan(TVioPgmItp& pgm, const QScrollArea* scr, const QDockWidget* pan) {
  if (!scr || !pan) return;
  const bool bsd = pan->isVisible() && !pan->isFloating();
  pgm.FitCelWdt(bsd ? scr->maximumViewportSize().width() / pgm.GrdCls() : pgm.FldWdt());
}
}  // namespace

TVslFld::TVslFld(TfrmVslCnv& wnd, const TVslCnvCfg& cfg) : QObject(&wnd), FWnd(wnd), FCfg(cfg) {}

TVslFld::~TVslFld() { EndViw(); }

void TVslFld::EndViw() {
  FpBkgDrf.reset();
  tmrMovBckGndPic.stop();
  FpAcc.reset();
  delete std::exchange(FpSimPan, nullptr);  // it draws on the field's views
  delete std::exchange(FpRbtMon, nullptr);
  FpPgmViw.reset();
  FpVioFldSel.reset();
  FpVioFldKey.reset();
  FpVioFldViw.reset();
}

void TVslFld::Bld() {
  // The programming field fills the rest of the client area.
  scbVioFld = new QScrollArea(&FWnd);
  scbVioFld->setFrameShape(QFrame::NoFrame);
  scbVioFld->setWidgetResizable(true);
  // The field, not the scroll area, takes the focus from an edit.
  scbVioFld->setFocusPolicy(Qt::NoFocus);
  pnlVioFld = new QWidget;
  pnlVioFld->setObjectName("pnlVioFld");
  pnlVioFld->setAutoFillBackground(true);
  pnlVioFld->installEventFilter(this);
  scbVioFld->setWidget(pnlVioFld);
  scbVioFld->viewport()->installEventFilter(this);
  FWnd.setCentralWidget(scbVioFld);
}

void TVslFld::CrtViw(TVioPgmItp* edt, TVslSet& set) {
  if (FpVioFldViw || !edt) return;
  FpEdt = edt;
  TVioPgmItp& ed = *edt;
  // The cells are taken from the maximized field. A window manager maximizes
  // only after the window is shown, and without one nothing does: the window
  // takes the screen's size here, so that the cells are not those of the
  // unmaximized window. The status bar, which carries the byte meter, takes
  // its height from the field before the cells are made, not after.
  FWnd.statusBar()->show();
  if ((FWnd.windowState() & Qt::WindowMaximized) && (FWnd.screen() || FCfg.AvlGeo)) {
    const QRect avl = FCfg.AvlGeo ? FCfg.AvlGeo() : FWnd.screen()->availableGeometry();
    if (FWnd.width() < avl.width() || FWnd.height() < avl.height()) FWnd.setGeometry(avl);
  }
  if (FWnd.layout()) FWnd.layout()->activate();
  MakCel(pnlVioFld->size());
  // The field takes the focus from an edit when a tool button is clicked,
  // and by click or Tab for its keys.
  pnlVioFld->setFocusPolicy(Qt::StrongFocus);
  FpVioFldViw = std::make_unique<TVioFldViw>(ed, pnlVioFld);
  FpVioFldKey = std::make_unique<TVioFldKey>(*FpVioFldViw);
  FpVioFldSel = std::make_unique<TVioFldSel>(*FpVioFldViw);
  TfrmVslCnv& w = FWnd;
  FpVioFldViw->SetVioMnuAct(w.Doc().ClpActs());
  // A type key is its tool button's click, placed on the cursor's cell.
  ed.SetOnTypKey([&w](std::uint8_t typ) { w.Tbr().KeyVio(typ); });
  FpPgmViw = std::make_unique<TPgmViw>(ed, pnlVioFld, &FWnd, &w.Doc().FilMnu());
  FpPgmViw->SetOnDocNam([&w] { return QFileInfo(VioQStr(w.Doc().FilNam())).completeBaseName(); });
  // The legend of the program sheet shows the tool bar's pictures.
  if (TPgmSht* sht = FpPgmViw->Sht()) sht->SetOnVioPic([&w](std::uint8_t typ) { return w.Tbr().VioImg(typ); });
  // Breakpoints go to the built-in robot alone: a robot on a serial port gets nothing new.
  FpPgmViw->SetOnBrkAdr([&w](const std::set<int>& adr) {
    TSimThr* sim = w.Lnk().Sim();
    if (sim && sim->Running() && IsSimPrt(w.Lnk().PrtNam())) sim->Do([&adr](TSimDrv& d) { d.Rbt().SetBrk(adr); });
  });
  ed.SetOnStaDblClk([&w] { return w.Lnk().StaDblClkUpr(); });
  // Zoom and high contrast are kept, beside the language.
  FpPgmViw->Zom().Lod(set.RedViw("Zoom"), set.RedViw("HighContrast"));
  FpPgmViw->Zom().SetOnKep([&set](const std::string& nam, const std::string& val) { set.KepViw(nam, val); });
  FpSimPan = new TSimPan(FWnd, FWnd.RunMrk(), *scbVioFld, [&w] { return w.Lnk().Sim(); }, [&w] { return w.LgeIdx(); });
  // The trace names the sensor and actor tokens as the field does.
  FpSimPan->SetOnSim([&ed](TSimDrv& d) { d.Rbt().TknNam().Set(ed.SarAndTkn()); });
  FpRbtMon = new TRbtMon(FWnd, w.Lnk(), [&w] { return w.LgeIdx(); });
  w.Doc().BndHst();
  FpAcc = std::make_unique<TVslAcc>(FWnd);
}

void TVslFld::FitCelToWnd() {
  // A window manager maximizes the window after it has been shown, and its
  // frame takes a part of the screen that the cells were made for. Nothing
  // lies on the field yet: the cells are made again for the field as it is
  // now. After the intro, or with a vio on the field, they stay.
  if (!FpEdt) return;
  TVioPgmItp& ed = *FpEdt;
  FitCelPan(ed, scbVioFld, FpSimPan);
  if (FbCelFix || !FpVioFldViw || ed.GetVioCnt() != 0 || !FWnd.isMaximized()) return;
  // Only the maximized size itself: not a step on the way out of it.
  if (!FWnd.screen() && !FCfg.AvlGeo) return;
  const QRect avl = FCfg.AvlGeo ? FCfg.AvlGeo() : FWnd.screen()->availableGeometry();
  if (FWnd.frameGeometry().width() < avl.width() || FWnd.frameGeometry().height() < avl.height()) return;
  const QSize max = scbVioFld->maximumViewportSize();
  if (max.width() == ed.FldWdt() && max.height() == ed.FldHgt()) return;
  MakCel(max);
}

void TVslFld::MakCel(QSize fld) {
  TVioPgmItp& ed = *FpEdt;
  ed.CrtVioFld(fld.width(), fld.height());
  FitCelPan(ed, scbVioFld, FpSimPan);
  // The grid keeps its cells when the window shrinks; the scroll area shows
  // what does not fit.
  pnlVioFld->setMinimumSize(ed.GrdCls() * ed.CelWdt(), ed.GrdRws() * ed.CelHgt());
}

void TVslFld::ShwBckImg() {
  if (!GuBckGndImg) {
    GuBckGndImg = new QLabel(pnlVioFld);
    GuBckGndImg->setObjectName("GuBckGndImg");
    GuBckGndImg->setScaledContents(true);
    GuBckGndImg->lower();
  }
  const std::string pth = NativePath(GuInsDir + "pictures\\background.bmp");
  FpBckBmp = QPixmap(QStr(pth));
  if (FpBckBmp.isNull()) FWnd.Tbr().AddMisPic(pth);
  PrcMsg();
  GuBckGndImg->setPixmap(FpBckBmp);
  GuBckGndImg->resize(FpBckBmp.width() / 2, FpBckBmp.height() / 2);
  GuBckGndImg->setGeometry(0, 0, pnlVioFld->width(), pnlVioFld->height());
  GuBckGndImg->show();
  if (FpPgmViw) FpPgmViw->Zom().SetBkg(GuBckGndImg);
  tmrMovBckGndPic.setInterval(FCfg.Tms.MovBckGndPic);
}

void TVslFld::StaBkgDrf() {
  if (!GuBckGndImg || !pnlVioFld) return;
  if (!FpBkgDrf)
    FpBkgDrf = std::make_unique<TBkgDrf>(pnlVioFld, GuBckGndImg, tmrMovBckGndPic,
                                         TBkgDrfTms{FCfg.Tms.MovBckGndPic});
  FpBkgDrf->SetBmp(FpBckBmp);
  FpBkgDrf->Start();
}

void TVslFld::Rsz() {
  if (GuBckGndImg) GuBckGndImg->resize(pnlVioFld->size());
  if (FpBkgDrf) FpBkgDrf->Rsz();
}

void TVslFld::RfsTxt(std::uint8_t lge) {
  if (FpPgmViw) FpPgmViw->RfsTxt();
  if (FpSimPan) FpSimPan->RfsTxt();
  if (FpRbtMon) FpRbtMon->RfsTxt();
  if (FpAcc) FpAcc->RfsTxt(lge);
}

bool TVslFld::eventFilter(QObject* obj, QEvent* e) {
  // The scroll area also resizes the field when only its scroll bars come or go.
  if (obj == pnlVioFld && e->type() == QEvent::Resize) FWnd.FormResize();
  else if (scbVioFld && obj == scbVioFld->viewport() && e->type() == QEvent::Resize) FitCelToWnd();
  else if (e->type() == QEvent::MouseMove) tmrMovBckGndPic.setInterval(FCfg.Tms.MovBckGndPic);
  return QObject::eventFilter(obj, e);
}
