#include "app/VslCnv.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include "editor/qt/VioPgmViw.h"
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

#include <algorithm>
#include <exception>
#include <filesystem>
#include <system_error>

#include "app/AppIto.h"
#include "app/BkgDrf.h"
#include "app/HlpInf.h"
#include "app/Options.h"
#include "app/VslCnvLgc.h"
#include "core/Globals.h"
#include "core/PathUtl.h"
#include "core/Seams.h"
#include "app/VslDoc.h"
#include "app/RlsFld.h"
#include "app/VslLnk.h"
#include "app/platform/QtStr.h"
#include "editor/VioKep.h"
#include "editor/VioPgmItp.h"
#include "editor/qt/VioFldViw.h"
#include "link/ComPort2p5.h"
#include "link/MtxAndRbf.h"
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

// Message code: the low byte of the first parameter.
std::uint8_t MsgCod(std::uintptr_t wParam) { return static_cast<std::uint8_t>(wParam & 0xFF); }

}  // namespace

// ---------------------------------------------------------------------------
// Construction

struct TfrmVslCnv::TVioRmvObs final : IVioPgmObs {
  explicit TVioRmvObs(TfrmVslCnv& w) : FWnd(w) {}
  void VioRmv(TVio* vio) override {
    if (FWnd.FpBlkVio == vio) FWnd.EndVioBlk(false);
  }
  void FldClr() override { FWnd.EndVioBlk(false); }
  TfrmVslCnv& FWnd;
};

TfrmVslCnv::TfrmVslCnv(QWidget* owner, TVslCnvCfg cfg) : QMainWindow(owner), FCfg(std::move(cfg)) {
  Crt();
  // Runs when construction has finished, also when it ended early.
  FormCreate();
}

void TfrmVslCnv::Crt() {
  // Build the window and its controls; every text field starts empty.
  BldCtl();
  // The link, with its timers, all off.
  CrtLnk();
  tmrVioBlk.setInterval(FCfg.Tms.VioBlk);
  tmrAppIto.setInterval(FCfg.Tms.AppIto);
  connect(&tmrVioBlk, &QTimer::timeout, this, &TfrmVslCnv::tmrVioBlkTimer);
  connect(&tmrAppIto, &QTimer::timeout, this, &TfrmVslCnv::tmrAppItoTimer);

  // The editor, with its blink events.
  FpVioPgmItp = std::make_unique<TVioPgmItp>(this);
  Trc("FpVioPgmItp");
  FpVioPgmItp->FOnVioBlk = [this](TVio* v) { StaVioBlk(v); };
  FpVioPgmItp->FOnVioBlkReq = [this](TVio* v) { ReqVioBlk(v); };
  FpVioRmvObs = std::make_unique<TVioRmvObs>(*this);
  FpVioPgmItp->AddObs(FpVioRmvObs.get());
  FpDoc->BndEdt();
  // Opening a program sets the Start and switch interrupt buttons by the vios it holds.
  FpVioPgmItp->FOnTbnEna = [this](std::uint8_t typ, bool ena) {
    if (typ == VT_STA) tbnSta->setEnabled(ena);
    if (typ == VT_SWI) tbnSwi->setEnabled(ena);
  };

  FpLnk->ComMsg().clear();

  FpLnk->CrtCom();
  Trc("FpcomUsbZefor");
  SetTbnImg(tbnComSte, GcImgComNok);

  SetAvlCol(0);
  smnEngClick();
  tbnRun->setEnabled(false);

  FpPlyWavFil = std::make_unique<TclsPlyWavFil>();
  FpPlyWavFil->SetLgeDir(SndLgeDir(FbyLgeIdx));
  Trc("FpPlyWavFil");

  // Paths. Without drive letters the drive and the path below it are the folder itself.
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

  // The message table; a missing file has already been reported and the end requested.
  FpSysLgeMsg = std::make_unique<TSysLgeMsg>(this, FsAppDir);
  GuSysLgeMsg = FpSysLgeMsg.get();
  Trc("FpSysLgeMsg");
  ChkSysMsg();

  FsExtComTknFil = FsAppDir + "ExtComTkn.sys";
  if (!FpVioPgmItp->SarAndTkn().LodTknFil(FsExtComTknFil)) {
    ShwErrMsg(GuLstErrMsg);
    PrcMsg();
    GuPlatform().EvtLoop->Terminate();
    PrcMsg();
    return;
  }
  Trc("ExtComTkn.sys");

  if (!FpLnk->CrtRxb()) return;
  Trc("FpRxMtxAndRbf");

  std::vector<std::string> ports = FCfg.ScnPrt ? FCfg.ScnPrt() : ScnComPrt();
  Trc("ScnComPrt");

  FsRegKey = "SOFTWARE\\Quorel\\TessaroV1.0";
  FpRegistry = GuPlatform().Settings->Create();
  if (!FpRegistry) {
    ShwMsgBox("Could not create registry object1");
    GuPlatform().EvtLoop->Terminate();
    PrcMsg();
    return;
  }
  Trc("FpRegistry");

  // A store that cannot be written is as unusable as one that cannot be
  // opened: the default port could not be kept.
  bool regOky = FpRegistry->OpenKey(FsRegKey + "\\Options", true);
  if (regOky) {
    std::string val = FpRegistry->ReadString("Comport");
    if (val.empty()) {
      val = "COM0";
      regOky = FpRegistry->WriteString("Comport", val);
    }
    if (regOky) {
      FpLnk->SetPrtNam(val);
      FiComPrtIdx = FndComPrtIdx(val, ports);
      LodLge();
    }
  }
  if (!regOky) {
    ShwMsgBox("Could not create registry object2");
    GuPlatform().EvtLoop->Terminate();
    PrcMsg();
    FpLnk->SetPrtNam("");
    FiComPrtIdx = -1;
  }
  ports.clear();

  if (FpLnk->CrtTxb()) Trc("FpTxMtxAndRbf");
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

  // Main menu.
  QMenuBar* mmnMaiMnu = menuBar();
  mmnMaiMnu->setObjectName("mmnMaiMnu");
  CrtDoc(*mmnMaiMnu);
  mmnOpt = mmnMaiMnu->addAction("Options");
  connect(mmnOpt, &QAction::triggered, this, &TfrmVslCnv::mmnOptClick);
  mmnLge = mmnMaiMnu->addMenu("Language");
  mmnLge->setObjectName("mmnLge");
  auto* lge = new QActionGroup(this);
  smnEng = mmnLge->addAction("Englisch");
  smnDut = mmnLge->addAction("Nederlands");
  smnGer = mmnLge->addAction("Deutsch");
  for (QAction* a : {smnEng, smnDut, smnGer}) {
    a->setCheckable(true);
    lge->addAction(a);
  }
  connect(smnEng, &QAction::triggered, this, &TfrmVslCnv::smnEngClick);
  connect(smnDut, &QAction::triggered, this, &TfrmVslCnv::smnDutClick);
  connect(smnGer, &QAction::triggered, this, &TfrmVslCnv::smnGerClick);
  mmnHlp = mmnMaiMnu->addMenu("Help");
  mmnHlp->setObjectName("mmnHlp");
  smnHlpMnlEng = mmnHlp->addAction("Manual (Englisch)");
  HandbuchDeutch1 = mmnHlp->addAction("Anleitung (Deutsch)");
  smnHlpInf = mmnHlp->addAction("Info");
  connect(smnHlpMnlEng, &QAction::triggered, this, &TfrmVslCnv::smnHlpMnlEngClick);
  connect(HandbuchDeutch1, &QAction::triggered, this, &TfrmVslCnv::HandbuchDeutch1Click);
  connect(smnHlpInf, &QAction::triggered, this, &TfrmVslCnv::smnHlpInfClick);

  // Tool bars: the vio buttons above, the robot commands below.
  tbrVioObj = new QToolBar("tbrVioObj", this);
  tbrDatCom = new QToolBar("tbrDatCom", this);
  for (QToolBar* t : {tbrVioObj, tbrDatCom}) {
    t->setObjectName(t->windowTitle());
    t->setMovable(false);
    t->setFloatable(false);
    t->setIconSize(QSize(GcTbnImgSiz, GcTbnImgSiz));
    t->setToolButtonStyle(Qt::ToolButtonIconOnly);
    t->setContextMenuPolicy(Qt::PreventContextMenu);
    t->toggleViewAction()->setVisible(false);
  }
  addToolBar(Qt::TopToolBarArea, tbrVioObj);
  addToolBarBreak(Qt::TopToolBarArea);
  addToolBar(Qt::TopToolBarArea, tbrDatCom);
  setContextMenuPolicy(Qt::NoContextMenu);

  struct TTbn {
    QAction** Fld;
    const char* Nam;
    int Img;
    int VioTyp;  // -1: not a vio button
  };
  const TTbn vioTbn[] = {
      {&tbnSta, "tbnSta", 0, VT_STA},  {&tbnSto, "tbnSto", 1, VT_STO},
      {&tbnIff, "tbnIff", 2, VT_IFF},  {&tbnThn, "tbnThn", 3, VT_THN},
      {&tbnEls, "tbnEls", 4, VT_ELS},  {&tbnLbl, "tbnLbl", 5, VT_LBL},
      {&tbnGto, "tbnGto", 6, VT_GTO},  {&tbnDly, "tbnDly", 7, VT_DLY},
      {&tbnAct, "tbnAct", 8, VT_ACT},  {&tbnSns, "tbnSns", 9, VT_SNS},
      {&tbnSpd, "tbnSpd", 10, VT_SPD}, {&tbnSwi, "tbnSwi", 11, VT_SWI},
      {&tbnRti, "tbnRti", 12, VT_RTI},
  };
  const TTbn comTbn[] = {
      {&tbnUpl, "tbnUpl", 13, -1},
      {&tbnRun, "tbnRun", 16, -1},
      {&tbnUpr, "tbnUpr", 17, -1},
      {&tbnComSte, "tbnComSte", GcImgComNok, -1},
  };
  auto addTbn = [this](QToolBar* tbr, const TTbn& b, int width) {
    QAction* a = tbr->addAction(QString());
    a->setObjectName(b.Nam);
    *b.Fld = a;
    FTbnImg[a] = b.Img;
    QWidget* w = tbr->widgetForAction(a);
    w->setObjectName(b.Nam);
    w->setFixedWidth(width);
    // Every button shows its hint; the message file holds one for each.
    w->setMouseTracking(true);
    w->installEventFilter(this);
    if (b.VioTyp >= 0) {
      const auto typ = static_cast<std::uint8_t>(b.VioTyp);
      connect(a, &QAction::triggered, this, [this, a, typ]() { tbnVioClick(a, typ); });
    }
  };
  for (const TTbn& b : vioTbn) addTbn(tbrVioObj, b, 32 + 6);
  for (std::size_t i = 0; i < std::size(comTbn); ++i) {
    if (i == 3) {
      auto* sep = new QWidget(tbrDatCom);
      sep->setFixedWidth(33);
      tbrDatCom->addWidget(sep);
    }
    addTbn(tbrDatCom, comTbn[i], 33 + 6);
  }

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

  // Hidden, as the link's outputs.
  auto* mmoVioDwgFil = new QPlainTextEdit(this);
  mmoVioDwgFil->setToolTip("Loaded from file");
  mmoVioDwgFil->hide();
}

// ---------------------------------------------------------------------------
// Shutdown

TRlsHok TfrmVslCnv::RlsHok() const {
  return {FOnRls, [this](const std::string& s) { Trc(s); }};
}

TfrmVslCnv::~TfrmVslCnv() {
  const TRlsHok hok = RlsHok();
  FpBkgDrf.reset();
  tmrVioBlk.stop();
  tmrMovBckGndPic.stop();
  tmrAppIto.stop();
  FpBlkVio = nullptr;
  FpPgmViw.reset();
  FpVioFldViw.reset();
  if (FpVioPgmItp && FpVioRmvObs) FpVioPgmItp->RmvObs(FpVioRmvObs.get());
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
  RlsFld(FpRegistry, "FpRegistry", hok);
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
    frmOptions->FDocCtx = [this](std::string& prt, std::uint8_t& lge) {
      prt = FpLnk->PrtNam();
      lge = FbyLgeIdx;
    };
  }
  setWindowState(windowState() | Qt::WindowMaximized);
  if (layout()) layout()->activate();

  // The programming field with the background picture below every vio.
  CrtEdtViw();
  FpDoc->BldExt();
  // The items made just now, and the windows made after this one, take the language.
  RfsLgeTxt();
  if (!GuBckGndImg) {
    GuBckGndImg = new QLabel(pnlVioFld);
    GuBckGndImg->setObjectName("GuBckGndImg");
    GuBckGndImg->setScaledContents(true);
    GuBckGndImg->lower();
  }
  FpBckBmp = QPixmap(QStr(NativePath(GuInsDir + "pictures\\background.bmp")));
  if (FpBckBmp.isNull()) FMisPic.push_back(NativePath(GuInsDir + "pictures\\background.bmp"));
  PrcMsg();
  GuBckGndImg->setPixmap(FpBckBmp);
  GuBckGndImg->resize(FpBckBmp.width() / 2, FpBckBmp.height() / 2);
  GuBckGndImg->setGeometry(0, 0, pnlVioFld->width(), pnlVioFld->height());
  GuBckGndImg->show();
  tmrMovBckGndPic.setInterval(FCfg.Tms.MovBckGndPic);

  if (frmAppIto) frmAppIto->ShwOn(this);

  setWindowTitle(QString::fromStdString(BldCap(windowTitle().toStdString(), AppFilVer())));
  FpDoc->SetStaCap(windowTitle());

  PrcMsg();
  BldTbnImgLst();
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
  PrcMsg();
  ShwStaRpt();
  FpPlyWavFil->PlyWavFilFlg(FsAppDir + "..\\" + FsSndDir + "\\system\\systems online.wav", SND_SYNC);
}

void TfrmVslCnv::AddStaRpt(const std::string& txt) {
  if (!txt.empty()) FsStaRpt += (FsStaRpt.empty() ? "" : "\n\n") + txt;
}

void TfrmVslCnv::ShwStaRpt() {
  if (FsStaRpt.empty()) return;
  const std::string txt = std::move(FsStaRpt);
  FsStaRpt.clear();
  // Told once; the start goes on.
  ShwMsgBox(txt, "Tessaro", TeMsgBtn::Ok);
}

void TfrmVslCnv::ChkSysMsg() {
  if (!FpSysLgeMsg || GuPlatform().EvtLoop->TerminateRequested()) return;
  // A lookup may fail on the link's threads: the status bar is the window's.
  FpSysLgeMsg->FOnMis = [this, pth = FpSysLgeMsg->Path()](std::uint8_t id) {
    const std::string txt = "#222, Message " + SysMsgIdfTxt({id}) + " is missing in " + pth;
    QMetaObject::invokeMethod(this, [this, txt] { statusBar()->showMessage(QStr(txt)); });
  };
  const std::vector<std::uint8_t> mis = FpSysLgeMsg->MisIdf();
  if (mis.empty()) return;
  AddStaRpt("#176, The message file '" + FpSysLgeMsg->Path() + "' lacks messages that the program uses: " +
            SysMsgIdfTxt(mis) + ". Where one is needed, its number is shown in the status bar.");
}

void TfrmVslCnv::ChkSndFil() {
  std::vector<std::string> mis;
  for (int c = 0; c < GcSndCueCnt; ++c) {
    const std::string pth = NativePath(SndCuePth(static_cast<TeSndCue>(c), GuInsDir, FsAppDir));
    if (!FilExs(pth) && std::find(mis.begin(), mis.end(), pth) == mis.end()) mis.push_back(pth);
  }
  // Told at the end of the intro: a play of one of them says nothing more.
  if (FpPlyWavFil) FpPlyWavFil->SetMisTld(mis);
  AddStaRpt(MisFilRpt(GuInsDir, FMisPic, mis));
}

void TfrmVslCnv::SetLck(bool locked) {
  tbrVioObj->setEnabled(!locked);
  tbrDatCom->setEnabled(!locked);
  FpDoc->FilMnu().menuAction()->setEnabled(!locked);
  mmnOpt->setEnabled(!locked);
  mmnHlp->menuAction()->setEnabled(!locked);
}

bool TfrmVslCnv::Locked() const {
  return !tbrVioObj->isEnabled() && !tbrDatCom->isEnabled() && !FpDoc->FilMnu().menuAction()->isEnabled() &&
         !mmnOpt->isEnabled() && !mmnHlp->menuAction()->isEnabled();
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

// ---------------------------------------------------------------------------
// Error box and blink

void TfrmVslCnv::ShwErrMsg(const std::string& text) {
  ShwMsgBox(text, "", TeMsgBtn::Ok);
  PrcMsg();
  if (FpBlkVio) EndVioBlk(true);
}

void TfrmVslCnv::EndVioBlk(bool show) {
  tmrVioBlk.stop();
  if (show && FpBlkVio) FpBlkVio->SetVisible(true);
  FpBlkVio = nullptr;
  // A blink cut short starts the next one afresh.
  FiVioBlkShwCnt = 0;
}

void TfrmVslCnv::StaVioBlk(TVio* vio) {
  // A new target while another blinks: the earlier one ends visible.
  if (FpBlkVio && FpBlkVio != vio && tmrVioBlk.isActive()) FpBlkVio->SetVisible(true);
  FpBlkVio = vio;
  if (vio) tmrVioBlk.start();
}

void TfrmVslCnv::ReqVioBlk(TVio* vio) {
  if (FpVioPgmItp->FOnVioBlk) FpVioPgmItp->FOnVioBlk(vio);
}

void TfrmVslCnv::tmrVioBlkTimer() {
  if (!FpBlkVio) {
    tmrVioBlk.stop();
    return;
  }
  if (FpBlkVio->Visible()) {
    FpBlkVio->SetVisible(false);
    tmrVioBlk.stop();
    tmrVioBlk.setInterval(FCfg.Tms.VioBlkHid);
    tmrVioBlk.start();
    return;
  }
  FpBlkVio->SetVisible(true);
  tmrVioBlk.setInterval(FCfg.Tms.VioBlkShw);
  if (++FiVioBlkShwCnt >= 5) {
    tmrVioBlk.stop();
    FiVioBlkShwCnt = 0;
    // The blink is over; the target may be removed from now on.
    FpBlkVio = nullptr;
  }
}

// ---------------------------------------------------------------------------
// Folders, availability

void TfrmVslCnv::SetAppDir() {
  std::error_code ec;
  std::filesystem::current_path(NativePath(FsAppDir), ec);
}

void TfrmVslCnv::SetAvlCol(std::uint8_t idx) {
  FbyAvlCol = idx;
  FpVioPgmItp->SetAvlCol(idx);
}

// Language: VslCnvLge.cpp.

// ---------------------------------------------------------------------------
// Window messages

std::intptr_t TfrmVslCnv::SndMsg(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) {
  switch (msg) {
    case WM_APP_MSG: AppMsgHdl(MsgCod(wParam), lParam); break;
    case WM_SET_MSG: return SetMsgHdl(MsgCod(wParam), lParam);
    case WM_NOP_MSG: break;
    default: break;
  }
  return 0;
}

void TfrmVslCnv::AppMsgHdl(std::uint8_t code, std::intptr_t value) {
  switch (code) {
    case AM_ENA_STA: tbnSta->setEnabled(true); break;
    case AM_ENA_SWI: tbnSwi->setEnabled(true); break;
    case AM_VIO_BLK: ReqVioBlk(reinterpret_cast<TVio*>(value)); break;
    default: FpLnk->AppMsg(code, value); break;
  }
}

std::intptr_t TfrmVslCnv::SetMsgHdl(std::uint8_t code, std::intptr_t value) {
  switch (code) {
    case SM_NEW_COM_PRT: return FpLnk->SetPrt(value);
    case SM_RMV_CUR_VIO: {
      // The blink ends here; a target other than the current vio is left visible.
      EndVioBlk(true);
      PrcMsg();
      TVio* cur = FpVioPgmItp->FpCurVio;
      if (!cur) break;
      cur->SetVisible(true);
      FpVioPgmItp->RmvVio(cur);
      break;
    }
    default: break;
  }
  return 0;
}

// ---------------------------------------------------------------------------
// Tool bars

bool TfrmVslCnv::ChkVioInpErr() {
  FpDoc->EnaSas();
  const unsigned rfs = FpVioPgmItp->RfsCnt();
  if (FpVioFldViw)
    FpVioFldViw->FocFld();
  else
    pnlVioFld->setFocus(Qt::OtherFocusReason);
  return FpVioPgmItp->ChkPndInp(rfs);
}

void TfrmVslCnv::tbnVioClick(QAction* tbn, std::uint8_t vioTyp) {
  if (ChkVioInpErr()) return;
  if (!FpVioPgmItp->AddVio(vioTyp)) {
    ShwErrMsg(GuLstErrMsg);
    return;
  }
  if (tbn == tbnSta || tbn == tbnSwi) tbn->setEnabled(false);
}

void TfrmVslCnv::BldTbnImgLst() {
  auto lod = [this](int idx, QPixmap& bmp) {
    const std::string pth = NativePath(GuInsDir + FsPicDir + GcTbnImgFil[idx]);
    if (bmp.load(QStr(pth))) return true;
    FMisPic.push_back(pth);
    return false;
  };
  QPixmap bmp;
  lod(0, bmp);
  FImgLst.assign(GcTbnImgCnt, bmp);
  PrcMsg();
  for (int idx : GcTbnImgLodOrd) {
    if (idx == 0) continue;  // loaded above
    QPixmap pic;
    // A picture that cannot be loaded keeps the Start picture.
    if (lod(idx, pic)) FImgLst[idx] = pic;
  }
  PrcMsg();
  for (auto& [tbn, img] : FTbnImg) SetTbnImg(const_cast<QAction*>(tbn), img);
}

int TfrmVslCnv::TbnImgIdx(const QAction* tbn) const {
  auto it = FTbnImg.find(tbn);
  return it == FTbnImg.end() ? -1 : it->second;
}

void TfrmVslCnv::SetTbnImg(QAction* tbn, int idx) {
  if (!tbn || idx < 0 || idx >= GcTbnImgCnt) return;
  FTbnImg[tbn] = idx;
  if (static_cast<std::size_t>(idx) < FImgLst.size()) tbn->setIcon(QIcon(FImgLst[idx]));
}

QPixmap TfrmVslCnv::TbnImg(int idx) const {
  return idx >= 0 && static_cast<std::size_t>(idx) < FImgLst.size() ? FImgLst[idx] : QPixmap();
}

bool TfrmVslCnv::eventFilter(QObject* obj, QEvent* e) {
  // The scroll area also resizes the field when only its scroll bars come or go.
  if (obj == pnlVioFld && e->type() == QEvent::Resize) FormResize();
  else if (scbVioFld && obj == scbVioFld->viewport() && e->type() == QEvent::Resize) FitCelToWnd();
  else if (e->type() == QEvent::MouseMove) tbnToolButtonMouseMove(obj);
  return QMainWindow::eventFilter(obj, e);
}

void TfrmVslCnv::tbnToolButtonMouseMove(QObject* sender) {
  tmrMovBckGndPic.setInterval(FCfg.Tms.MovBckGndPic);
  auto* btn = qobject_cast<QToolButton*>(sender);
  if (!btn) return;
  const std::string txt = FpVioPgmItp->GetSysUsrMsg(TbnHntIdf(btn->objectName().toStdString()));
  if (txt.empty()) {
    // Never a box here: it would come back with every movement of the mouse.
    statusBar()->showMessage(QStr("Toolbutton Hint: " + GuLstErrMsg));
    return;
  }
  if (QAction* a = btn->defaultAction()) a->setToolTip(QStr(txt));
  btn->setToolTip(QStr(txt));
}

// ---------------------------------------------------------------------------
// Menus

void TfrmVslCnv::mmnOptClick() {
  if (!frmOptions) return;
  frmOptions->show();
  frmOptions->raise();
  frmOptions->activateWindow();
}

void TfrmVslCnv::smnHlpMnlEngClick() {
  OpnMnl(NativePath(DocDir(GuInsDir) + GcMnlEng), FbyLgeIdx);
}

void TfrmVslCnv::HandbuchDeutch1Click() {
  OpnMnl(NativePath(DocDir(GuInsDir) + GcMnlGer), FbyLgeIdx);
}

void TfrmVslCnv::smnHlpInfClick() {
  if (!frmHlpInf) return;
  frmHlpInf->ShwOn(this);
}
