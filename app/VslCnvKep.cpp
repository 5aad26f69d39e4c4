// The main window's share of keeping the user's work: the question before a
// changed program goes, and the recovery copy with its timer and offer. The
// rules are the editor's (editor/VioKep.*).
#include <QAction>

#include <chrono>

#include "app/VslCnv.h"
#include "editor/VioKep.h"
#include "editor/VioPgmItp.h"

void TfrmVslCnv::CrtKep() {
  BldRctMnu();
  if (!FpVioPgmItp || FpVioRcv || FCfg.RcvPth.empty()) return;
  FpVioRcv = std::make_unique<TVioRcv>(*FpVioPgmItp, FCfg.RcvPth, std::chrono::milliseconds(FCfg.Tms.RcvSav));
  tmrRcvSav.setInterval(FCfg.Tms.RcvPol);
  connect(&tmrRcvSav, &QTimer::timeout, this, &TfrmVslCnv::tmrRcvSavTimer);
  // Looks all the time; the keeper writes nothing before the offer at start.
  tmrRcvSav.start();
}

void TfrmVslCnv::EndKep() {
  tmrRcvSav.stop();
  FpVioRcv.reset();
}

void TfrmVslCnv::tmrRcvSavTimer() {
  // Not while a vio is being dragged: its cell is not yet its own.
  if (FpVioRcv && FpVioPgmItp && !FpVioPgmItp->FbVioDrg) FpVioRcv->Tck();
}

bool TfrmVslCnv::AskDrp() {
  if (!FpVioPgmItp) return true;
  return AskDrpPgm(*FpVioPgmItp, [this] {
    if (FsVioFilNam.empty())
      smnFilSasClick();
    else
      smnFilSavClick();
  });
}

bool TfrmVslCnv::KepCls() {
  if (!AskDrp()) return false;
  if (FpVioRcv) FpVioRcv->Drp();
  return true;
}

void TfrmVslCnv::OfrRcv() {
  if (!FpVioRcv || FpVioRcv->Armed()) return;
  if (FpVioRcv->Ofr() == TVioRcv::TeOfr::Rst) smnFilSas->setEnabled(true);
}
