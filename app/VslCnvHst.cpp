// The window's side of its components: what each reaches of the window, and
// the window's handlers that go to them.
#include <QLabel>
#include <QStatusBar>
#include <QToolBar>

#include "app/BkgDrf.h"
#include "app/VslCnv.h"
#include "app/RctFil.h"
#include "app/VslCnvLgc.h"
#include "app/VslDoc.h"
#include "app/VslLnk.h"
#include "core/Globals.h"
#include "core/Seams.h"
#include "editor/VioPgmItp.h"
#include "sound/PlyWavFil.h"
#include "sound/SndCue.h"

struct TfrmVslCnv::TLnkHst final : ILnkHst {
  explicit TLnkHst(TfrmVslCnv& w) : W(w) {}
  TVioPgmItp& Edt() override { return *W.FpVioPgmItp; }
  TPgmViw* PgmViw() override { return W.FpPgmViw.get(); }
  TclsPlyWavFil& Ply() override { return *W.FpPlyWavFil; }
  const std::string& AppDir() const override { return W.FsAppDir; }
  std::uint8_t Lge() const override { return W.FbyLgeIdx; }
  QStatusBar& Sta() override { return *W.statusBar(); }
  bool InpErr() override { return W.ChkVioInpErr(); }
  void ShwErrMsg(const std::string& text) override { W.ShwErrMsg(text); }
  void FlsPic(const QPixmap& pic) override {
    // The field's background control flashes the picture: shown while pending
    // events run, then the background (still or drifting) is back.
    if (W.FpBkgDrf) {
      W.FpBkgDrf->FlsPic(pic);
      return;
    }
    // No field yet (the window is being built): the control alone.
    if (!GuBckGndImg || pic.isNull()) return;
    GuBckGndImg->setPixmap(pic);
    PrcMsg();
    GuBckGndImg->setPixmap(W.FpBckBmp);
    PrcMsg();
  }
  void SetRunEna(bool ena) override {
    W.tbnRun->setEnabled(ena);
    RpnRun();
  }
  void RpnRun() override {
    if (QWidget* b = W.tbrDatCom->widgetForAction(W.tbnRun)) b->update();
  }
  void EnaComSte() override { W.tbnComSte->setEnabled(true); }
  void ShwLnkSte(bool oky) override { W.SetTbnImg(W.tbnComSte, oky ? GcImgComOky : GcImgComNok); }
  bool KepPrt(const std::string& name) override {
    return W.FpRegistry && W.FpRegistry->OpenKey(W.FsRegKey + "\\Options", false) &&
           W.FpRegistry->WriteString("Comport", name);
  }
  void StaEnd() override {
    W.SetLck(false);
    PrcMsg();
    PlySndCue(*W.FpPlyWavFil, SC_SYS_ONL, GuInsDir, W.FsAppDir);
  }
  TfrmVslCnv& W;
};

void TfrmVslCnv::TLnkHstDel::operator()(TLnkHst* p) const { delete p; }

void TfrmVslCnv::CrtLnk() {
  FpLnkHst.reset(new TLnkHst(*this));
  const TVslCnvTms& t = FCfg.Tms;
  FpLnk = std::make_unique<TVslLnk>(*this, *FpLnkHst, TLnkTms{t.BlkComPrtCupMsg, t.RcvPckTimOut, t.UplCfm, t.RcvChrGap},
                                    FCfg.Clk);
  connect(tbnUpl, &QAction::triggered, this, &TfrmVslCnv::tbnUplClick);
  connect(tbnRun, &QAction::triggered, this, &TfrmVslCnv::tbnRunClick);
  connect(tbnUpr, &QAction::triggered, this, &TfrmVslCnv::tbnUprClick);
  connect(tbnComSte, &QAction::triggered, this, &TfrmVslCnv::tbnComSteClick);
}

void TfrmVslCnv::tbnUplClick() { FpLnk->UplClick(); }
void TfrmVslCnv::tbnRunClick() { FpLnk->RunClick(); }
void TfrmVslCnv::tbnUprClick() { FpLnk->UprClick(); }
void TfrmVslCnv::tbnComSteClick() { FpLnk->ComSteClick(); }
bool TfrmVslCnv::StaDblClkUpr() { return FpLnk->StaDblClkUpr(); }

struct TfrmVslCnv::TDocHst final : IDocHst {
  explicit TDocHst(TfrmVslCnv& w) : W(w) {}
  TVioPgmItp* Edt() override { return W.FpVioPgmItp.get(); }
  std::uint8_t Lge() const override { return W.FbyLgeIdx; }
  void ShwErrMsg(const std::string& text) override { W.ShwErrMsg(text); }
  void SetAppDir() override { W.SetAppDir(); }
  bool Locked() const override { return W.Locked(); }
  bool LodRct(TRctFil& lst) override {
    auto st = Opn();
    if (st) lst.Lod(*st);
    return st != nullptr;
  }
  bool SavRct(const TRctFil& lst) override {
    auto st = Opn();
    return st && lst.Sav(*st);
  }
  std::unique_ptr<ISettingsStore> Opn() {
    auto st = GuPlatform().Settings->Create();
    if (!st || !st->OpenKey(W.FsRegKey + TRctFil::GcKey, true)) return nullptr;
    return st;
  }
  TfrmVslCnv& W;
};

void TfrmVslCnv::TDocHstDel::operator()(TDocHst* p) const { delete p; }

void TfrmVslCnv::CrtDoc(QMenuBar& bar) {
  FpDocHst.reset(new TDocHst(*this));
  FpDoc = std::make_unique<TVslDoc>(*this, *FpDocHst, TVslDocCfg{FCfg.RcvPth, FCfg.Tms.RcvSav, FCfg.Tms.RcvPol});
  FpDoc->BldMnu(bar);
}

void TfrmVslCnv::smnFilOpnClick() { FpDoc->Opn(); }
void TfrmVslCnv::smnFilSavClick() { FpDoc->Sav(); }
void TfrmVslCnv::smnFilSasClick() { FpDoc->Sas(); }
