// The main window's Edit menu (undo and redo of the field) and the mark of
// unsaved changes in the caption. The history itself is the editor's.
#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

#include "app/VslCnv.h"
#include "editor/VioPgmItp.h"

namespace {
const QString GcDrtMrk = QStringLiteral(" *");
}  // namespace

struct TfrmVslCnv::THstObs final : public IVioPgmObs {
  explicit THstObs(TfrmVslCnv& w) : W(w) {}
  void HstChg() override { W.RfsEdtMnu(); }
  TfrmVslCnv& W;
};

void TfrmVslCnv::THstObsDel::operator()(THstObs* p) const { delete p; }

void TfrmVslCnv::BldEdtMnu(QMenuBar* bar) {
  mmnEdt = bar->addMenu("&Edit");
  mmnEdt->setObjectName("mmnEdt");
  smnEdtUnd = mmnEdt->addAction("&Undo");
  smnEdtRed = mmnEdt->addAction("&Redo");
  smnEdtUnd->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  smnEdtRed->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
  // Not while the window is locked or the Start vio's upload runs.
  auto run = [this](bool und) {
    if (!FpVioPgmItp || Locked() || FpVioPgmItp->FbStaRun || FpVioPgmItp->FbVioDrg) return;
    if (und)
      FpVioPgmItp->Und();
    else
      FpVioPgmItp->Red();
    SynDocNam();
  };
  connect(smnEdtUnd, &QAction::triggered, this, [run] { run(true); });
  connect(smnEdtRed, &QAction::triggered, this, [run] { run(false); });
  BndHstObs();
}

void TfrmVslCnv::BndHstObs() {
  if (!FpVioPgmItp || FpHstObs) return;
  FpHstObs.reset(new THstObs(*this));
  FpVioPgmItp->AddObs(FpHstObs.get());
  RfsEdtMnu();
}

void TfrmVslCnv::RfsEdtMnu() {
  if (!smnEdtUnd || !FpVioPgmItp) return;
  smnEdtUnd->setEnabled(FpVioPgmItp->CanUnd());
  smnEdtRed->setEnabled(FpVioPgmItp->CanRed());
  // The caption is marked when the program becomes unsaved and unmarked when
  // it is saved again; whatever else sets the caption stays as it is.
  const bool drt = FpVioPgmItp->Drt();
  if (drt == FbCapDrt) return;
  FbCapDrt = drt;
  QString cap = windowTitle();
  if (drt) {
    cap += GcDrtMrk;
  } else if (cap.endsWith(GcDrtMrk)) {
    cap.chop(GcDrtMrk.size());
  }
  setWindowTitle(cap);
}

void TfrmVslCnv::SynDocNam() {
  // Undo and Redo across an Open bring back the program's own file: Save
  // writes there, and the caption names it (or is the window's own).
  const std::string& nam = FpVioPgmItp->DocNam();
  if (nam == FsVioFilNam) return;
  FsVioFilNam = nam;
  QString cap = nam.empty() ? FsStaCap : QString::fromLocal8Bit(nam.data(), static_cast<qsizetype>(nam.size()));
  FbCapDrt = FpVioPgmItp->Drt();
  if (FbCapDrt) cap += GcDrtMrk;
  setWindowTitle(cap);
}

void TfrmVslCnv::EndHstObs() {
  if (FpVioPgmItp && FpHstObs) FpVioPgmItp->RmvObs(FpHstObs.get());
  FpHstObs.reset();
}
