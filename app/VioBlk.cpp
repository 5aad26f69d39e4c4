#include "app/VioBlk.h"

#include "editor/VioPgmItp.h"

struct TVioBlk::TRmvObs final : IVioPgmObs {
  explicit TRmvObs(TVioBlk& b) : B(b) {}
  void VioRmv(TVio* vio) override {
    if (B.FpBlkVio == vio) B.End(false);
  }
  void FldClr() override { B.End(false); }
  TVioBlk& B;
};

TVioBlk::TVioBlk(TVioBlkTms tms) : FTms(tms), FpObs(std::make_unique<TRmvObs>(*this)) {
  tmrVioBlk.setInterval(FTms.Fst);
  connect(&tmrVioBlk, &QTimer::timeout, this, &TVioBlk::Tck);
}

TVioBlk::~TVioBlk() { Unb(); }

void TVioBlk::Bnd(TVioPgmItp& edt) {
  FpEdt = &edt;
  edt.AddObs(FpObs.get());
}

void TVioBlk::Unb() {
  tmrVioBlk.stop();
  FpBlkVio = nullptr;
  if (FpEdt) FpEdt->RmvObs(FpObs.get());
  FpEdt = nullptr;
}

void TVioBlk::End(bool show) {
  tmrVioBlk.stop();
  if (show && FpBlkVio) FpBlkVio->SetVisible(true);
  FpBlkVio = nullptr;
  // A blink cut short starts the next one afresh.
  FiVioBlkShwCnt = 0;
}

void TVioBlk::Sta(TVio* vio) {
  // A new target while another blinks: the earlier one ends visible.
  if (FpBlkVio && FpBlkVio != vio && tmrVioBlk.isActive()) FpBlkVio->SetVisible(true);
  FpBlkVio = vio;
  if (vio) tmrVioBlk.start();
}

void TVioBlk::Tck() {
  if (!FpBlkVio) {
    tmrVioBlk.stop();
    return;
  }
  if (FpBlkVio->Visible()) {
    FpBlkVio->SetVisible(false);
    tmrVioBlk.stop();
    tmrVioBlk.setInterval(FTms.Hid);
    tmrVioBlk.start();
    return;
  }
  FpBlkVio->SetVisible(true);
  tmrVioBlk.setInterval(FTms.Shw);
  if (++FiVioBlkShwCnt >= 5) {
    tmrVioBlk.stop();
    FiVioBlkShwCnt = 0;
    // The blink is over; the target may be removed from now on.
    FpBlkVio = nullptr;
  }
}
