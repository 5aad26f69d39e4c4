#include "app/VslCnv.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QComboBox>
#include <QLineEdit>
#include <QScrollArea>
#include <QToolBar>

#include <filesystem>
#include <system_error>
#include <utility>

#include "app/AppIto.h"
#include "app/BkgDrf.h"
#include "app/FstGui.h"
#include "app/HlpInf.h"
#include "app/Options.h"
#include "app/RlsFld.h"
#include "app/SimPan.h"
#include "app/VioBlk.h"
#include "app/VslAcc.h"
#include "app/PrtMch.h"
#include "app/VslDoc.h"
#include "app/RunMrk.h"
#include "app/VslFld.h"
#include "app/VslLnk.h"
#include "app/VslLsn.h"
#include "app/VslMnu.h"
#include "app/VslSet.h"
#include "app/VslTbr.h"
#include "editor/qt/VioFldAcc.h"
#include "editor/qt/VioFldKey.h"
#include "app/platform/QtStr.h"
#include "core/Globals.h"
#include "core/PathUtl.h"
#include "core/Seams.h"
#include "editor/VioPgmItp.h"
#include "editor/qt/VioFldViw.h"
#include "editor/qt/VioPgmViw.h"
#include "link/PrtNam.h"
#include "translator/InsAndTkn.h"
#include "messages/SysLgeMsg.h"
#include "sound/PlyWavFil.h"
#include "sound/SndCue.h"

TfrmVslCnv* frmVslCnv = nullptr;
TfrmOptions* frmOptions = nullptr;
TfrmAppIto* frmAppIto = nullptr;
TfrmHlpInf* frmHlpInf = nullptr;
QLabel* GuBckGndImg = nullptr;

namespace {

// Asks the application to end before its event loop runs.
void EndApp() {
  GuPlatform().EvtLoop->Terminate();
  PrcMsg();
}

}  // namespace

// ---------------------------------------------------------------------------
// Construction

TfrmVslCnv::TfrmVslCnv(QWidget* owner, TVslCnvCfg cfg) : QMainWindow(owner), FCfg(std::move(cfg)) {
  InsCbxAcc();
  Crt();
  // Runs when construction has finished, also when it ended early.
  FormCreate();
}

void TfrmVslCnv::Crt() {
  // Build the window and its controls; every text field starts empty. The
  // timers are all off.
  BldCtl();
  tmrAppIto.setInterval(FCfg.Tms.AppIto);
  connect(&tmrAppIto, &QTimer::timeout, this, &TfrmVslCnv::tmrAppItoTimer);

  // The editor.
  FpVioPgmItp = std::make_unique<TVioPgmItp>(this);
  Trc("FpVioPgmItp");
  FpBlk->Bnd(*FpVioPgmItp);
  FpDoc->BndEdt();
  // Opening a program sets the Start and switch interrupt buttons by the vios it holds.
  FpVioPgmItp->SetOnTbnEna([this](std::uint8_t typ, bool ena) {
    if (typ == VT_STA) FpTbr->Tbn(TeTbn::Sta)->setEnabled(ena);
    if (typ == VT_SWI) FpTbr->Tbn(TeTbn::Swi)->setEnabled(ena);
  });
  FpLnk->ComMsg().clear();

  FpLnk->CrtCom();
  Trc("FpcomUsbZefor");
  FpTbr->ShwLnkSte(false);
  SetAvlCol(0);
  SelLge(0);
  FpTbr->Tbn(TeTbn::Run)->setEnabled(false);
  if (!CrtObj()) return;

  std::vector<std::string> ports = FCfg.ScnPrt ? FCfg.ScnPrt() : ScnComPrt();
  Trc("ScnComPrt");
  if (!FpSet->Crt()) {
    ShwMsgBox("Could not create registry object1");
    EndApp();
    return;
  }
  Trc("FpRegistry");
  RedSet(ports);
  ports.clear();
  FpFst->BfrSta();
  if (FpLnk->CrtTxb()) Trc("FpTxMtxAndRbf");
}

bool TfrmVslCnv::CrtObj() {
  FpPlyWavFil = std::make_unique<TclsPlyWavFil>();
  FpPlyWavFil->SetLgeDir(SndLgeDir(FbyLgeIdx));
  Trc("FpPlyWavFil");
  SetPth();

  // The message table; a missing file has already been reported and the end requested.
  FpSysLgeMsg = std::make_unique<TSysLgeMsg>(this, FsAppDir);
  GuSysLgeMsg = FpSysLgeMsg.get();
  Trc("FpSysLgeMsg");
  ChkSysMsg();

  if (!FpVioPgmItp->SarAndTkn().LodTknFil(FsAppDir + "ExtComTkn.sys")) {
    ShwErrMsg(GuLstErrMsg);
    PrcMsg();
    EndApp();
    return false;
  }
  Trc("ExtComTkn.sys");
  if (!FpLnk->CrtRxb()) return false;
  Trc("FpRxMtxAndRbf");
  return true;
}

void TfrmVslCnv::SetPth() { FsAppDir = FCfg.AppDir.empty() ? ExeDir() : FCfg.AppDir; }

void TfrmVslCnv::RedSet(const std::vector<std::string>& ports) {
  std::string prt;
  if (FpSet->RedPrt(prt)) {
    FpLnk->SetPrtNam(prt);
    FiComPrtIdx = FndComPrtIdx(prt, ports);
    LodLge();
    return;
  }
  ShwMsgBox("Could not create registry object2");
  EndApp();
  FpLnk->SetPrtNam("");
  FiComPrtIdx = -1;
}

void TfrmVslCnv::FormCreate() {
  GuInsDir = FCfg.InsDir.empty() ? DefaultInsDir() : FCfg.InsDir;
  Trc("FormCreate");
}

void TfrmVslCnv::BldCtl() {
  setWindowTitle(QString::fromLatin1(GcVslCnvCap));
  resize(772, 571);
  if (QScreen* scr = QGuiApplication::primaryScreen())
    move(scr->availableGeometry().center() - rect().center());
  CrtCmp();
  FpMnu = std::make_unique<TVslMnu>(
      *this, [this] { return FpVioPgmItp.get(); }, [this] { return FbyLgeIdx; },
      [this](std::uint8_t idx) { SelLge(idx); });
  menuBar()->setObjectName("mmnMaiMnu");
  FpDoc->BldMnu(*menuBar());
  FpMnu->Bld(*menuBar());
  FpFst = std::make_unique<TFstGui>(
      TFstWnd{*this, *FpLnk, *FpSet, [this] { return FpVioPgmItp.get(); }, [this] { return FbyLgeIdx; },
              [this]() -> QWidget* { return FpFld ? &FpFld->Pnl() : nullptr; },
              [this](const QString& t) {
                if (TVslAcc* a = FpFld ? FpFld->Acc() : nullptr) a->Anc(t);
              },
              FCfg.FstGui},
      *FpMnu->FstAct());
  setContextMenuPolicy(Qt::NoContextMenu);
  FpFld = std::make_unique<TVslFld>(*this, FCfg);
  FpFld->Bld();
  // Hidden, as the link's outputs.
  auto* mmoVioDwgFil = new QPlainTextEdit(this);
  mmoVioDwgFil->setToolTip("Loaded from file");
  mmoVioDwgFil->hide();
}

// ---------------------------------------------------------------------------
// Shutdown

TRlsHok TfrmVslCnv::RlsHok() const {
  return {FCfg.OnRls, [this](const std::string& s) { Trc(s); }};
}

TfrmVslCnv::~TfrmVslCnv() {
  const TRlsHok hok = RlsHok();
  tmrAppIto.stop();
  FpBlk->Unb();
  if (FpDoc) FpDoc->SetOnOpn(nullptr);
  FpLsn.reset();
  FpFst.reset();
  FpFld->EndViw();
  // The serial component's threads reach the ring buffers: they stop first.
  FpLnk->StpCom(hok);
  FpLnk->RlsTxb(hok);
  FpLnk->RlsRxb(hok);
  if (GuSysLgeMsg == FpSysLgeMsg.get()) GuSysLgeMsg = nullptr;
  RlsFld(FpSysLgeMsg, "FpSysLgeMsg", hok);
  FpDoc->EndEdt();
  RlsFld(FpVioPgmItp, "FpVioPgmItp", hok);
  FpLnk->RlsCom(hok);
  RlsFld(FpPlyWavFil, "FpPlyWavFil", hok);
  FpSet->Rls(hok);
  if (GuBckGndImg && GuBckGndImg->window() == this) GuBckGndImg = nullptr;
}

void TfrmVslCnv::Trc(const std::string& step) const {
  if (FCfg.Trc) FCfg.Trc(step);
}

// ---------------------------------------------------------------------------
// Showing and the end of start-up

void TfrmVslCnv::showEvent(QShowEvent* e) {
  QMainWindow::showEvent(e);
  if (!FbShwDon) {
    FbShwDon = true;
    FormShow();
  }
}

void TfrmVslCnv::FormShow() {
  if (frmOptions) {
    frmOptions->SetMaiFrm(this);
    frmOptions->SetComPrtIdx(FiComPrtIdx);
    // The built-in robot has no place among the scanned ports: it is chosen by its number.
    if (IsSimPrt(FpLnk->PrtNam())) frmOptions->SetSelNum(GcSimPrtNum);
    frmOptions->SetDocCtx([this](std::string& prt, std::uint8_t& lge) {
      prt = FpLnk->PrtNam();
      lge = FbyLgeIdx;
    });
    // The roll call can upload this window's program to every robot that answered.
    frmOptions->SetRolUpl({[this](std::vector<std::uint8_t>& stm) {
                             if (FpTbr->ChkVioInpErr()) return false;
                             if (!FpVioPgmItp->TrnVioPgm()) {
                               ShwErrMsg(GuLstErrMsg);
                               return false;
                             }
                             stm = FpVioPgmItp->Trn().FpTsmTknLst;
                             return true;
                           },
                           [this](bool run, std::function<void(TeUplRes)> done) { FpLnk->UplFor(run, std::move(done)); }});
  }
  setWindowState(windowState() | Qt::WindowMaximized);
  if (layout()) layout()->activate();

  // The programming field with the background picture below every vio.
  FpFld->CrtViw(FpVioPgmItp.get(), *FpSet);
  if (!FpLsn && FpVioPgmItp) {
    FpLsn = std::make_unique<TVslLsn>(*this, *FpVioPgmItp, *FpDoc, *FpTbr, FpDoc->FilMnu(), nullptr,
                                      [this] { return FbyLgeIdx; });
    FpDoc->SetOnOpn([this] { FpLsn->NtfNot(); });
  }
  FpDoc->BldExt();
  // The items made just now, and the windows made after this one, take the language.
  RfsLgeTxt();
  FpFld->ShwBckImg();
  if (frmAppIto) frmAppIto->ShwOn(this);

  setWindowTitle(QString::fromStdString(BldCap(windowTitle().toStdString(), AppFilVer())));
  FpDoc->SetStaCap(windowTitle());

  PrcMsg();
  FpTbr->BldImgLst("pictures");
  FpLnk->LodDirPic();
  ChkSndFil();
  PrcMsg();

  SetLck(true);
  if (GuBckGndImg) GuBckGndImg->resize(FpFld->Pnl().size());
  tmrAppIto.start(FCfg.Tms.AppIto);
  FbFrmShw = true;
  FpFld->StaBkgDrf();
}

void TfrmVslCnv::tmrAppItoTimer() {
  tmrAppIto.stop();
  FpFld->FixCel();
  if (frmAppIto) frmAppIto->hide();
  FpDoc->OfrRcv();
  FpDoc->OpnCmdFil();
  if (!FpLnk->Sta()) {
    // The port's own message first, then what the start found missing.
    if (!GuLstErrMsg.empty()) ShwMsgBox(GuLstErrMsg);
    ShwStaRpt();
    if (frmOptions) {
      frmOptions->show();
      frmOptions->raise();
    }
    return;
  }
  SetLck(false);
  // The keys work at once: the field takes the focus, unless a box or edit has it.
  if (!qobject_cast<QLineEdit*>(focusWidget()) && !qobject_cast<QComboBox*>(focusWidget())) FpFld->Pnl().setFocus();
  PrcMsg();
  ShwStaRpt();
  FpFst->AftSta();
  FpPlyWavFil->PlyWavFilFlg(FsAppDir + "..\\sounds\\system\\systems online.wav", SND_SYNC);
}

void TfrmVslCnv::SetLck(bool locked) {
  FpTbr->SetEna(!locked);
  FpDoc->FilMnu().menuAction()->setEnabled(!locked);
  FpMnu->SetLck(locked);
}

bool TfrmVslCnv::Locked() const {
  return !FpTbr->VioBar().isEnabled() && !FpTbr->ComBar().isEnabled() &&
         !FpDoc->FilMnu().menuAction()->isEnabled() && FpMnu->Lck();
}

void TfrmVslCnv::resizeEvent(QResizeEvent* e) {
  QMainWindow::resizeEvent(e);
  FormResize();
}

void TfrmVslCnv::FormResize() {
  if (FbFrmShw) FpFld->Rsz();
}

void TfrmVslCnv::closeEvent(QCloseEvent* e) {
  if (!FpDoc->KepCls()) return e->ignore();
  FormClose();
  QMainWindow::closeEvent(e);
  // The main window is the application: closing it ends the run.
  if (e->isAccepted()) GuPlatform().EvtLoop->Terminate();
}

void TfrmVslCnv::FormClose() { FbFrmShw = false; }
