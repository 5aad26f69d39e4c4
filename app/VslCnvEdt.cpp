// The main window's share of the visual editor: the field view over the
// programming field and the Start vio's double click.
#include <QFileInfo>
#include <QLayout>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QWidget>

#include "app/VslCnv.h"
#include "app/VslDoc.h"
#include "core/Globals.h"
#include "editor/VioPgmItp.h"
#include "editor/qt/VioFldViw.h"
#include "editor/qt/VioPgmViw.h"

void TfrmVslCnv::CrtEdtViw() {
  if (FpVioFldViw || !FpVioPgmItp) return;
  // The cells are taken from the maximized field. A window manager maximizes
  // only after the window is shown, and without one nothing does: the window
  // takes the screen's size here, so that the cells are not those of the
  // unmaximized window. The status bar, which carries the byte meter, takes
  // its height from the field before the cells are made, not after.
  statusBar()->show();
  if ((windowState() & Qt::WindowMaximized) && screen()) {
    const QRect avl = screen()->availableGeometry();
    if (width() < avl.width() || height() < avl.height()) setGeometry(avl);
  }
  if (layout()) layout()->activate();
  MakCel(pnlVioFld->size());
  // The field takes the focus from an edit when a tool button is clicked.
  pnlVioFld->setFocusPolicy(Qt::ClickFocus);
  FpVioFldViw = std::make_unique<TVioFldViw>(*FpVioPgmItp, pnlVioFld);
  FpPgmViw = std::make_unique<TPgmViw>(*FpVioPgmItp, pnlVioFld, this, &FpDoc->FilMnu());
  FpPgmViw->FOnDocNam = [this] { return QFileInfo(VioQStr(FpDoc->FilNam())).completeBaseName(); };
  FpVioPgmItp->FOnStaDblClk = [this] { return StaDblClkUpr(); };
  FpDoc->BndHst();
}

void TfrmVslCnv::FitCelToWnd() {
  // A window manager maximizes the window after it has been shown, and its
  // frame takes a part of the screen that the cells were made for. Nothing
  // lies on the field yet: the cells are made again for the field as it is
  // now. After the intro, or with a vio on the field, they stay.
  if (FbCelFix || !FpVioPgmItp || !FpVioFldViw || FpVioPgmItp->GetVioCnt() != 0 || !isMaximized()) return;
  // Only the maximized size itself: not a step on the way out of it.
  if (!screen()) return;
  const QRect avl = screen()->availableGeometry();
  if (frameGeometry().width() < avl.width() || frameGeometry().height() < avl.height()) return;
  const QSize max = scbVioFld->maximumViewportSize();
  if (max.width() == FpVioPgmItp->FldWdt() && max.height() == FpVioPgmItp->FldHgt()) return;
  MakCel(max);
}

void TfrmVslCnv::MakCel(QSize fld) {
  TVioPgmItp& pgm = *FpVioPgmItp;
  pgm.CrtVioFld(fld.width(), fld.height());
  // The grid keeps its cells when the window shrinks; the scroll area shows
  // what does not fit.
  pnlVioFld->setMinimumSize(pgm.GrdCls() * pgm.CelWdt(), pgm.GrdRws() * pgm.CelHgt());
}
