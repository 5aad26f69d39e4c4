// The main window's programming field: the scroll area, the field views over
// it, its cells and the background picture.
#include <QDockWidget>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QWidget>

#include "app/BkgDrf.h"
#include "app/RunMrk.h"
#include "app/SimPan.h"
#include "app/VslAcc.h"
#include "app/VslCnv.h"
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
void FitCelPan(TVioPgmItp* pgm, const QScrollArea* scr, const QDockWidget* pan) {
  if (!pgm || !scr || !pan) return;
  const bool bsd = pan->isVisible() && !pan->isFloating();
  pgm->FitCelWdt(bsd ? scr->maximumViewportSize().width() / pgm->GrdCls() : pgm->FldWdt());
}
}  // namespace

void TfrmVslCnv::CrtEdtViw() {
  if (FpVioFldViw || !FpVioPgmItp) return;
  // The cells are taken from the maximized field. A window manager maximizes
  // only after the window is shown, and without one nothing does: the window
  // takes the screen's size here, so that the cells are not those of the
  // unmaximized window. The status bar, which carries the byte meter, takes
  // its height from the field before the cells are made, not after.
  statusBar()->show();
  if ((windowState() & Qt::WindowMaximized) && (screen() || FCfg.AvlGeo)) {
    const QRect avl = FCfg.AvlGeo ? FCfg.AvlGeo() : screen()->availableGeometry();
    if (width() < avl.width() || height() < avl.height()) setGeometry(avl);
  }
  if (layout()) layout()->activate();
  MakCel(pnlVioFld->size());
  // The field takes the focus from an edit when a tool button is clicked,
  // and by click or Tab for its keys.
  pnlVioFld->setFocusPolicy(Qt::StrongFocus);
  FpVioFldViw = std::make_unique<TVioFldViw>(*FpVioPgmItp, pnlVioFld);
  FpVioFldKey = std::make_unique<TVioFldKey>(*FpVioFldViw);
  // A type key is its tool button's click, placed on the cursor's cell.
  FpVioPgmItp->SetOnTypKey([this](std::uint8_t typ) { FpTbr->KeyVio(typ); });
  FpPgmViw = std::make_unique<TPgmViw>(*FpVioPgmItp, pnlVioFld, this, &FpDoc->FilMnu());
  FpPgmViw->FOnDocNam = [this] { return QFileInfo(VioQStr(FpDoc->FilNam())).completeBaseName(); };
  // The legend of the program sheet shows the tool bar's pictures.
  if (TPgmSht* sht = FpPgmViw->Sht()) sht->FOnVioPic = [this](std::uint8_t typ) { return FpTbr->VioImg(typ); };
  // Breakpoints go to the built-in robot alone: a robot on a serial port gets nothing new.
  FpPgmViw->FOnBrkAdr = [this](const std::set<int>& adr) {
    TSimThr* sim = FpLnk ? FpLnk->Sim() : nullptr;
    if (sim && sim->Running() && IsSimPrt(FpLnk->PrtNam())) sim->Do([&adr](TSimDrv& d) { d.Rbt().SetBrk(adr); });
  };
  FpVioPgmItp->SetOnStaDblClk([this] { return StaDblClkUpr(); });
  // Zoom and high contrast are kept, beside the language.
  FpPgmViw->Zom().Lod(FpSet->RedViw("Zoom"), FpSet->RedViw("HighContrast"));
  FpPgmViw->Zom().FOnKep = [this](const std::string& nam, const std::string& val) { FpSet->KepViw(nam, val); };
  FpSimPan = new TSimPan(*this, *FpRunMrk, *scbVioFld, [this] { return FpLnk ? FpLnk->Sim() : nullptr; },
                         [this] { return FbyLgeIdx; });
  // The trace names the sensor and actor tokens as the field does.
  FpSimPan->FOnSim = [this](TSimDrv& d) { d.Rbt().TknNam().Set(FpVioPgmItp->SarAndTkn()); };
  FpDoc->BndHst();
  FpAcc = std::make_unique<TVslAcc>(*this);
}

void TfrmVslCnv::FitCelToWnd() {
  // A window manager maximizes the window after it has been shown, and its
  // frame takes a part of the screen that the cells were made for. Nothing
  // lies on the field yet: the cells are made again for the field as it is
  // now. After the intro, or with a vio on the field, they stay.
  FitCelPan(FpVioPgmItp.get(), scbVioFld, FpSimPan);
  if (FbCelFix || !FpVioPgmItp || !FpVioFldViw || FpVioPgmItp->GetVioCnt() != 0 || !isMaximized()) return;
  // Only the maximized size itself: not a step on the way out of it.
  if (!screen() && !FCfg.AvlGeo) return;
  const QRect avl = FCfg.AvlGeo ? FCfg.AvlGeo() : screen()->availableGeometry();
  if (frameGeometry().width() < avl.width() || frameGeometry().height() < avl.height()) return;
  const QSize max = scbVioFld->maximumViewportSize();
  if (max.width() == FpVioPgmItp->FldWdt() && max.height() == FpVioPgmItp->FldHgt()) return;
  MakCel(max);
}

void TfrmVslCnv::MakCel(QSize fld) {
  TVioPgmItp& pgm = *FpVioPgmItp;
  pgm.CrtVioFld(fld.width(), fld.height());
  FitCelPan(&pgm, scbVioFld, FpSimPan);
  // The grid keeps its cells when the window shrinks; the scroll area shows
  // what does not fit.
  pnlVioFld->setMinimumSize(pgm.GrdCls() * pgm.CelWdt(), pgm.GrdRws() * pgm.CelHgt());
}

void TfrmVslCnv::BldFld() {
  // The programming field fills the rest of the client area.
  scbVioFld = new QScrollArea(this);
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
  setCentralWidget(scbVioFld);
}

void TfrmVslCnv::ShwBckImg() {
  if (!GuBckGndImg) {
    GuBckGndImg = new QLabel(pnlVioFld);
    GuBckGndImg->setObjectName("GuBckGndImg");
    GuBckGndImg->setScaledContents(true);
    GuBckGndImg->lower();
  }
  const std::string pth = NativePath(GuInsDir + "pictures\\background.bmp");
  FpBckBmp = QPixmap(QStr(pth));
  if (FpBckBmp.isNull()) FpTbr->AddMisPic(pth);
  PrcMsg();
  GuBckGndImg->setPixmap(FpBckBmp);
  GuBckGndImg->resize(FpBckBmp.width() / 2, FpBckBmp.height() / 2);
  GuBckGndImg->setGeometry(0, 0, pnlVioFld->width(), pnlVioFld->height());
  GuBckGndImg->show();
  if (FpPgmViw) FpPgmViw->Zom().SetBkg(GuBckGndImg);
  tmrMovBckGndPic.setInterval(FCfg.Tms.MovBckGndPic);
}

void TfrmVslCnv::StaBkgDrf() {
  if (!GuBckGndImg || !pnlVioFld) return;
  if (!FpBkgDrf)
    FpBkgDrf = std::make_unique<TBkgDrf>(pnlVioFld, GuBckGndImg, tmrMovBckGndPic,
                                         TBkgDrfTms{FCfg.Tms.MovBckGndPic});
  FpBkgDrf->SetBmp(FpBckBmp);
  FpBkgDrf->Start();
}
