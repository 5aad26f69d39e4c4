// The window's side of its components: what each reaches of the window, how
// they are wired to each other, and the window's handlers that go to them.
#include <QLabel>
#include <QMetaObject>
#include <QScrollArea>
#include <QStatusBar>

#include "app/BkgDrf.h"
#include "app/FstGui.h"
#include "app/RunMrk.h"
#include "app/SimPan.h"
#include "app/VioBlk.h"
#include "app/VslCnv.h"
#include "app/VslDoc.h"
#include "app/VslFld.h"
#include "app/VslLnk.h"
#include "app/VslSet.h"
#include "app/VslTbr.h"
#include "core/Globals.h"
#include "core/Seams.h"
#include "editor/VioPgmItp.h"
#include "editor/qt/VioFldViw.h"
#include "sound/PlyWavFil.h"
#include "sound/SndCue.h"

struct TfrmVslCnv::THst final : IDocHst, ITbrHst {
  explicit THst(TfrmVslCnv& w) : W(w) {}
  TfrmVslCnv& W;

  TVioPgmItp& Edt() override { return W.Edt(); }
  TVioPgmItp* Pgm() override { return W.FpVioPgmItp.get(); }
  std::uint8_t Lge() const override { return W.FbyLgeIdx; }
  void ShwErrMsg(const std::string& text) override { W.ShwErrMsg(text); }
  void SetAppDir() override { W.SetAppDir(); }
  bool Locked() const override { return W.Locked(); }

  // The document commands.
  bool LodRct(TRctFil& lst) override { return W.FpSet->LodRct(lst); }
  bool SavRct(const TRctFil& lst) override { return W.FpSet->SavRct(lst); }

  // The tool bars.
  void FocFld() override {
    if (TVioFldViw* v = W.FpFld->Viw())
      v->FocFld();
    else
      W.FpFld->Pnl().setFocus(Qt::OtherFocusReason);
  }
  void OnGat() override { W.FpDoc->EnaSas(); }
  void OnMov() override { W.FpFld->TmrMovBckGndPic().setInterval(W.FCfg.Tms.MovBckGndPic); }
};

void TfrmVslCnv::THstDel::operator()(THst* p) const { delete p; }

void TfrmVslCnv::CrtCmp() {
  FpHst.reset(new THst(*this));
  const TVslCnvTms& t = FCfg.Tms;
  FpSet = std::make_unique<TVslSet>();
  FpBlk = std::make_unique<TVioBlk>(TVioBlkTms{t.VioBlk, t.VioBlkHid, t.VioBlkShw});
  FpDoc = std::make_unique<TVslDoc>(*this, *FpHst, TVslDocCfg{FCfg.RcvPth, t.RcvSav, t.RcvPol});
  FpTbr = std::make_unique<TVslTbr>(*this, *FpHst);
  FpTbr->BldKey(*this);
  FpRunMrk = std::make_unique<TRunMrk>([this] { return FpFld ? FpFld->PgmViw() : nullptr; });
  TLnkWnd lw{[this]() -> TVioPgmItp& { return *FpVioPgmItp; },
             [this]() -> TclsPlyWavFil& { return *FpPlyWavFil; },
             [this]() -> QStatusBar& { return *statusBar(); },
             [this] { return FpTbr->ChkVioInpErr(); },
             [this](const std::string& name) { return FpSet->KepPrt(name); },
             FsAppDir,
             FbyLgeIdx,
             *FpRunMrk};
  FpLnk = std::make_unique<TVslLnk>(*this, std::move(lw),
                                    TLnkTms{t.BlkComPrtCupMsg, t.RcvPckTimOut, t.UplCfm, t.RcvChrGap}, FCfg.Clk);
  WirLnk();
  // The commands bar's buttons are the link's commands.
  connect(FpTbr->Tbn(TeTbn::Upl), &QAction::triggered, FpLnk.get(), &TVslLnk::UplClick);
  connect(FpTbr->Tbn(TeTbn::Run), &QAction::triggered, FpLnk.get(), &TVslLnk::RunClick);
  connect(FpTbr->Tbn(TeTbn::Upr), &QAction::triggered, FpLnk.get(), &TVslLnk::UprClick);
  connect(FpTbr->Tbn(TeTbn::ComSte), &QAction::triggered, FpLnk.get(), &TVslLnk::ComSteClick);
}

// What the link tells the window.
void TfrmVslCnv::WirLnk() {
  TVslLnk* l = FpLnk.get();
  connect(l, &TVslLnk::ErrMsg, this, &TfrmVslCnv::ShwErrMsg);
  connect(l, &TVslLnk::FlsPic, this, &TfrmVslCnv::FlsPic);
  connect(l, &TVslLnk::RunEna, this, [this](bool ena) { FpTbr->SetRunEna(ena); });
  connect(l, &TVslLnk::RunRpn, this, [this] { FpTbr->RpnRun(); });
  connect(l, &TVslLnk::ComSteEna, this, [this] { FpTbr->Tbn(TeTbn::ComSte)->setEnabled(true); });
  connect(l, &TVslLnk::LnkSte, this, [this](bool oky) { FpTbr->ShwLnkSte(oky); });
  connect(l, &TVslLnk::SimChg, this, [this] {
    // Told later: the link may be in the middle of opening or closing.
    if (TSimPan* p = FpFld ? FpFld->SimPan() : nullptr) QMetaObject::invokeMethod(p, &TSimPan::Wak, Qt::QueuedConnection);
  });
  connect(l, &TVslLnk::StaEnd, this, [this] {
    SetLck(false);
    PrcMsg();
    FpFst->AftSta();
    PlySndCue(*FpPlyWavFil, SC_SYS_ONL, GuInsDir, FsAppDir);
  });
}

void TfrmVslCnv::FlsPic(const QPixmap& pic) {
  // The field's background control flashes the picture: shown while pending
  // events run, then the background (still or drifting) is back.
  if (TBkgDrf* d = FpFld ? FpFld->BkgDrf() : nullptr) {
    d->FlsPic(pic);
    return;
  }
  // No field yet (the window is being built): the control alone.
  if (!GuBckGndImg || pic.isNull()) return;
  GuBckGndImg->setPixmap(pic);
  PrcMsg();
  GuBckGndImg->setPixmap(FpFld ? FpFld->BckBmp() : QPixmap());
  PrcMsg();
}

