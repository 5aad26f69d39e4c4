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
#include "app/HlpInf.h"
#include "app/Options.h"
#include "app/RlsFld.h"
#include "app/SimPan.h"
#include "app/VioBlk.h"
#include "app/VslAcc.h"
#include "app/VslCnvLgc.h"
#include "app/VslDoc.h"
#include "app/RunMrk.h"
#include "app/VslLnk.h"
#include "app/VslLsn.h"
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
  smnEngClick();
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

  FsExtComTknFil = FsAppDir + "ExtComTkn.sys";
  if (!FpVioPgmItp->SarAndTkn().LodTknFil(FsExtComTknFil)) {
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

void TfrmVslCnv::SetPth() {
  // Without drive letters the drive and the path below it are the folder itself.
  FsAppDir = FCfg.AppDir.empty() ? ExeDir() : FCfg.AppDir;
#ifdef _WIN32
  FsAppDrv = FsAppDir.substr(0, 1);
  FsAppPth = FsAppDir.size() > 2 ? FsAppDir.substr(2) : std::string();
#else
  FsAppDrv = "";
  FsAppPth = FsAppDir;
#endif
  FsPicDir = "pictures";
  FsSndDir = "sounds";
}

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
  FsInsDir = FCfg.InsDir.empty() ? DefaultInsDir() : FCfg.InsDir;
  GuInsDir = FsInsDir;
  Trc("FormCreate");
}

void TfrmVslCnv::BldCtl() {
  setWindowTitle(QString::fromLatin1(GcVslCnvCap));
  resize(772, 571);
  if (QScreen* scr = QGuiApplication::primaryScreen())
    move(scr->availableGeometry().center() - rect().center());
  CrtCmp();
  BldMnu(*menuBar());
  setContextMenuPolicy(Qt::NoContextMenu);
  BldFld();
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
  FpBkgDrf.reset();
  tmrMovBckGndPic.stop();
  tmrAppIto.stop();
  FpBlk->Unb();
  FpAcc.reset();
  if (FpDoc) FpDoc->FOnOpn = nullptr;
  FpLsn.reset();
  delete std::exchange(FpSimPan, nullptr);  // it draws on the field's views
  FpPgmViw.reset();
  FpVioFldKey.reset();
  FpVioFldViw.reset();
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
    frmOptions->FpMaiFrm = this;
    frmOptions->SetComPrtIdx(FiComPrtIdx);
    // The built-in robot has no place among the scanned ports: it is chosen by its number.
    if (IsSimPrt(FpLnk->PrtNam())) frmOptions->FiSelNum = GcSimPrtNum;
    frmOptions->FDocCtx = [this](std::string& prt, std::uint8_t& lge) {
      prt = FpLnk->PrtNam();
      lge = FbyLgeIdx;
    };
  }
  setWindowState(windowState() | Qt::WindowMaximized);
  if (layout()) layout()->activate();

  // The programming field with the background picture below every vio.
  CrtEdtViw();
  if (!FpLsn && FpVioPgmItp) {
    FpLsn = std::make_unique<TVslLsn>(*this, *FpVioPgmItp, *FpDoc, *FpTbr, FpDoc->FilMnu(), nullptr,
                                      [this] { return FbyLgeIdx; });
    FpDoc->FOnOpn = [this] { FpLsn->NtfNot(); };
  }
  FpDoc->BldExt();
  // The items made just now, and the windows made after this one, take the language.
  RfsLgeTxt();
  ShwBckImg();
  if (frmAppIto) frmAppIto->ShwOn(this);

  setWindowTitle(QString::fromStdString(BldCap(windowTitle().toStdString(), AppFilVer())));
  FpDoc->SetStaCap(windowTitle());

  PrcMsg();
  FpTbr->BldImgLst(FsPicDir);
  FpLnk->LodDirPic();
  ChkSndFil();
  PrcMsg();

  SetLck(true);
  if (GuBckGndImg) GuBckGndImg->resize(pnlVioFld->size());
  tmrAppIto.start(FCfg.Tms.AppIto);
  FbFrmShw = true;
  StaBkgDrf();
}

void TfrmVslCnv::tmrAppItoTimer() {
  tmrAppIto.stop();
  FbCelFix = true;
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
  if (!qobject_cast<QLineEdit*>(focusWidget()) && !qobject_cast<QComboBox*>(focusWidget())) pnlVioFld->setFocus();
  PrcMsg();
  ShwStaRpt();
  FpPlyWavFil->PlyWavFilFlg(FsAppDir + "..\\" + FsSndDir + "\\system\\systems online.wav", SND_SYNC);
}

void TfrmVslCnv::SetLck(bool locked) {
  FpTbr->SetEna(!locked);
  FpDoc->FilMnu().menuAction()->setEnabled(!locked);
  mmnOpt->setEnabled(!locked);
  mmnHlp->menuAction()->setEnabled(!locked);
}

bool TfrmVslCnv::Locked() const {
  return !FpTbr->VioBar().isEnabled() && !FpTbr->ComBar().isEnabled() &&
         !FpDoc->FilMnu().menuAction()->isEnabled() && !mmnOpt->isEnabled() && !mmnHlp->menuAction()->isEnabled();
}

void TfrmVslCnv::resizeEvent(QResizeEvent* e) {
  QMainWindow::resizeEvent(e);
  FormResize();
}

void TfrmVslCnv::FormResize() {
  if (FbFrmShw && GuBckGndImg) GuBckGndImg->resize(pnlVioFld->size());
  if (FbFrmShw && FpBkgDrf) FpBkgDrf->Rsz();
}

void TfrmVslCnv::closeEvent(QCloseEvent* e) {
  if (!FpDoc->KepCls()) return e->ignore();
  FormClose();
  QMainWindow::closeEvent(e);
  // The main window is the application: closing it ends the run.
  if (e->isAccepted()) GuPlatform().EvtLoop->Terminate();
}

void TfrmVslCnv::FormClose() { FbFrmShw = false; }

bool TfrmVslCnv::eventFilter(QObject* obj, QEvent* e) {
  // The scroll area also resizes the field when only its scroll bars come or go.
  if (obj == pnlVioFld && e->type() == QEvent::Resize) FormResize();
  else if (scbVioFld && obj == scbVioFld->viewport() && e->type() == QEvent::Resize) FitCelToWnd();
  else if (e->type() == QEvent::MouseMove) tmrMovBckGndPic.setInterval(FCfg.Tms.MovBckGndPic);
  return QMainWindow::eventFilter(obj, e);
}
