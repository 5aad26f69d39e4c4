// The window's side of its components: what each reaches of the window, how
// they are wired to each other, and the window's handlers that go to them.
#include <QLabel>
#include <QMetaObject>
#include <QScrollArea>
#include <QStatusBar>

#include "app/BkgDrf.h"
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

struct TfrmVslCnv::THst final : ILnkHst, IDocHst, ITbrHst {
  explicit THst(TfrmVslCnv& w) : W(w) {}
  TfrmVslCnv& W;

  TVioPgmItp& Edt() override { return W.Edt(); }
  TVioPgmItp* Pgm() override { return W.FpVioPgmItp.get(); }
  TPgmViw* PgmViw() override { return W.FpFld->PgmViw(); }
  TclsPlyWavFil& Ply() override { return *W.FpPlyWavFil; }
  const std::string& AppDir() const override { return W.FsAppDir; }
  std::uint8_t Lge() const override { return W.FbyLgeIdx; }
  QStatusBar& Sta() override { return *W.statusBar(); }
  void ShwErrMsg(const std::string& text) override { W.ShwErrMsg(text); }
  void SetAppDir() override { W.SetAppDir(); }
  bool Locked() const override { return W.Locked(); }

  // The link.
  bool InpErr() override { return W.FpTbr->ChkVioInpErr(); }
  void FlsPic(const QPixmap& pic) override {
    // The field's background control flashes the picture: shown while pending
    // events run, then the background (still or drifting) is back.
    if (TBkgDrf* d = W.FpFld->BkgDrf()) {
      d->FlsPic(pic);
      return;
    }
    // No field yet (the window is being built): the control alone.
    if (!GuBckGndImg || pic.isNull()) return;
    GuBckGndImg->setPixmap(pic);
    PrcMsg();
    GuBckGndImg->setPixmap(W.FpFld->BckBmp());
    PrcMsg();
  }
  void SetRunEna(bool ena) override { W.FpTbr->SetRunEna(ena); }
  void RpnRun() override { W.FpTbr->RpnRun(); }
  void EnaComSte() override { W.FpTbr->Tbn(TeTbn::ComSte)->setEnabled(true); }
  void ShwLnkSte(bool oky) override { W.FpTbr->ShwLnkSte(oky); }
  bool KepPrt(const std::string& name) override { return W.FpSet->KepPrt(name); }
  void SimChg() override {
    // Told later: the link may be in the middle of opening or closing.
    if (TSimPan* p = W.FpFld->SimPan()) QMetaObject::invokeMethod(p, &TSimPan::Wak, Qt::QueuedConnection);
  }
  void StaEnd() override {
    W.SetLck(false);
    PrcMsg();
    PlySndCue(*W.FpPlyWavFil, SC_SYS_ONL, GuInsDir, W.FsAppDir);
  }

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
  FpLnk = std::make_unique<TVslLnk>(*this, *FpHst, TLnkTms{t.BlkComPrtCupMsg, t.RcvPckTimOut, t.UplCfm, t.RcvChrGap},
                                    FCfg.Clk);
  connect(FpTbr->Tbn(TeTbn::Upl), &QAction::triggered, this, &TfrmVslCnv::tbnUplClick);
  connect(FpTbr->Tbn(TeTbn::Run), &QAction::triggered, this, &TfrmVslCnv::tbnRunClick);
  connect(FpTbr->Tbn(TeTbn::Upr), &QAction::triggered, this, &TfrmVslCnv::tbnUprClick);
  connect(FpTbr->Tbn(TeTbn::ComSte), &QAction::triggered, this, &TfrmVslCnv::tbnComSteClick);
}

void TfrmVslCnv::tbnUplClick() { FpLnk->UplClick(); }
void TfrmVslCnv::tbnRunClick() { FpLnk->RunClick(); }
void TfrmVslCnv::tbnUprClick() { FpLnk->UprClick(); }
void TfrmVslCnv::tbnComSteClick() { FpLnk->ComSteClick(); }
bool TfrmVslCnv::StaDblClkUpr() { return FpLnk->StaDblClkUpr(); }
void TfrmVslCnv::smnFilOpnClick() { FpDoc->Opn(); }
void TfrmVslCnv::smnFilSavClick() { FpDoc->Sav(); }
void TfrmVslCnv::smnFilSasClick() { FpDoc->Sas(); }
