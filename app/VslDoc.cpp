#include "app/VslDoc.h"

#include <QAction>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include <chrono>
#include <filesystem>
#include <system_error>

#include "app/RctFil.h"
#include "app/VslCnvLgc.h"
#include "app/platform/QtStr.h"
#include "core/Globals.h"
#include "core/PathUtl.h"
#include "core/Seams.h"
#include "editor/VioKep.h"
#include "editor/VioPgmItp.h"
#include "messages/SysMsgBui.h"

namespace {

const char* const GcVioExt = "vio";
const QString GcDrtMrk = QStringLiteral(" *");

// The one filter of both dialogs: description and pattern.
std::string VioFlt(std::uint8_t lge) {
  return SysMsgOr(SUM_FIL_FLT, lge) + " (" + "*." + GcVioExt + ")|" + "*." + GcVioExt;
}

}  // namespace

struct TVslDoc::THstObs final : public IVioPgmObs {
  explicit THstObs(TVslDoc& d) : D(d) {}
  void HstChg() override { D.RfsEdtMnu(); }
  TVslDoc& D;
};

TVslDoc::TVslDoc(QMainWindow& wnd, IDocHst& hst, TVslDocCfg cfg) : FWnd(wnd), FHst(hst), FCfg(std::move(cfg)) {}

TVslDoc::~TVslDoc() { EndEdt(); }

// ---------------------------------------------------------------------------
// Menus

void TVslDoc::BldMnu(QMenuBar& bar) {
  BldFilMnu(bar);
  BldEdtMnu(bar);
}

void TVslDoc::BldFilMnu(QMenuBar& bar) {
  mmnFil = bar.addMenu("&File");
  mmnFil->setObjectName("mmnFil");
  smnFilOpn = mmnFil->addAction("&Open");
  mmnFil->addSeparator();
  smnFilSav = mmnFil->addAction("&Save");
  smnFilSas = mmnFil->addAction("Save &As...");
  smnFilSav->setEnabled(false);
  smnFilSas->setEnabled(false);
  smnFilOpn->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  smnFilSav->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  smnFilSas->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
  // A shortcut reaches its command also while the menu is locked: the
  // commands run only while it is not.
  auto cmd = [this](void (TVslDoc::*fn)()) {
    return [this, fn]() {
      if (mmnFil->menuAction()->isEnabled()) (this->*fn)();
    };
  };
  connect(smnFilOpn, &QAction::triggered, this, cmd(&TVslDoc::Opn));
  connect(smnFilSav, &QAction::triggered, this, cmd(&TVslDoc::Sav));
  connect(smnFilSas, &QAction::triggered, this, cmd(&TVslDoc::Sas));
}

void TVslDoc::BldEdtMnu(QMenuBar& bar) {
  mmnEdt = bar.addMenu("&Edit");
  mmnEdt->setObjectName("mmnEdt");
  smnEdtUnd = mmnEdt->addAction("&Undo");
  smnEdtRed = mmnEdt->addAction("&Redo");
  smnEdtUnd->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  smnEdtRed->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
  connect(smnEdtUnd, &QAction::triggered, this, [this] { UndRed(true); });
  connect(smnEdtRed, &QAction::triggered, this, [this] { UndRed(false); });
  BldClpMnu();
}

void TVslDoc::BldExt() {
  if (smnFilExt || !mmnFil) return;
  mmnFil->addSeparator();
  smnFilExt = mmnFil->addAction("E&xit");
  smnFilExt->setObjectName("smnFilExt");
  smnFilExt->setShortcut(QKeySequence::Quit);
  // Closing asks about unsaved work first, as the window's close button does.
  connect(smnFilExt, &QAction::triggered, this, [this] { FWnd.close(); });
  connect(mmnFil, &QMenu::aboutToShow, this, [this] {
    if (TVioPgmItp* edt = FHst.Pgm()) smnFilExt->setText(QStr(VioUsrMsg(*edt, SUM_FIL_EXT)));
  });
}

void TVslDoc::BldRctMnu() {
  if (mmnFilRct || !mmnFil) return;
  mmnFilRct = new QMenu("Recent files", mmnFil);
  mmnFilRct->setObjectName("mmnFilRct");
  mmnFil->insertMenu(smnFilSas, mmnFilRct);
  // Save As stays next to Save: the submenu goes after it.
  mmnFil->removeAction(smnFilSas);
  mmnFil->insertAction(mmnFilRct->menuAction(), smnFilSas);
  connect(mmnFil, &QMenu::aboutToShow, this, [this] { RfsRctMnu(); });
}

void TVslDoc::RfsTxt(std::uint8_t lge) {
  auto txt = [lge](std::uint8_t id) { return QStr(SysMsgOr(id, lge)); };
  mmnFil->setTitle(txt(SUM_MNU_FIL));
  smnFilOpn->setText(txt(SUM_MNU_OPN));
  smnFilSav->setText(txt(SUM_MNU_SAV));
  smnFilSas->setText(txt(SUM_MNU_SAS));
  if (smnFilExt) smnFilExt->setText(txt(SUM_FIL_EXT));
  if (mmnFilRct) mmnFilRct->setTitle(txt(SUM_RCT_MNU));
  mmnEdt->setTitle(txt(SUM_MNU_EDT));
  smnEdtUnd->setText(txt(SUM_MNU_UND));
  smnEdtRed->setText(txt(SUM_MNU_RED));
  RfsClpTxt(lge);
}

// ---------------------------------------------------------------------------
// The editor's side

void TVslDoc::BndEdt() {
  BldRctMnu();
  TVioPgmItp* edt = FHst.Pgm();
  if (!edt || FpVioRcv || FCfg.RcvPth.empty()) return;
  FpVioRcv = std::make_unique<TVioRcv>(*edt, FCfg.RcvPth, std::chrono::milliseconds(FCfg.RcvSav));
  tmrRcvSav.setInterval(FCfg.RcvPol);
  connect(&tmrRcvSav, &QTimer::timeout, this, &TVslDoc::tmrRcvSavTimer);
  // Looks all the time; the keeper writes nothing before the offer at start.
  tmrRcvSav.start();
}

void TVslDoc::BndHst() {
  TVioPgmItp* edt = FHst.Pgm();
  if (!edt || FpHstObs) return;
  FpHstObs = std::make_unique<THstObs>(*this);
  edt->AddObs(FpHstObs.get());
  RfsEdtMnu();
}

void TVslDoc::EndEdt() {
  tmrRcvSav.stop();
  FpVioRcv.reset();
  TVioPgmItp* edt = FHst.Pgm();
  if (edt && FpHstObs) edt->RmvObs(FpHstObs.get());
  FpHstObs.reset();
}

// ---------------------------------------------------------------------------
// Open and save

std::string TVslDoc::FilDlgDir() const {
  if (!FsVioFilNam.empty()) {
    const std::filesystem::path dir = std::filesystem::path(FsVioFilNam).parent_path();
    std::error_code ec;
    if (!dir.empty() && std::filesystem::is_directory(dir, ec)) return dir.string();
  }
  return NativePath(GuInsDir + "examples");
}

// Save on a program without a file of its own asks for its name, as Save As does.
void TVslDoc::EnaSas() {
  smnFilSav->setEnabled(true);
  smnFilSas->setEnabled(true);
}

void TVslDoc::SetCap(const QString& cap) {
  FsCap = cap;
  FWnd.setWindowTitle(FsLsnCap.isEmpty() ? cap : cap.isEmpty() ? FsLsnCap : FsLsnCap + " - " + cap);
}

void TVslDoc::SetLsnCap(const QString& tit) {
  // Without a lesson the caption is the window's own (also as set before the document's first).
  if (FsLsnCap.isEmpty()) FsCap = FWnd.windowTitle();
  FsLsnCap = tit;
  SetCap(FsCap);
}

bool TVslDoc::LodVioFilKep(const std::string& name) {
  TVioPgmItp& edt = *FHst.Pgm();
  TStrLst bfr;
  edt.BldVioLns(bfr);
  if (edt.LodVioFil(name)) return true;
  // The file is checked whole before the field is cleared; a vio that cannot
  // be created (a sensor the tables do not know, say) fails only later. Then
  // the program that was on the field comes back.
  TStrLst aft;
  edt.BldVioLns(aft);
  if (aft == bfr) return false;
  const std::string why = GuLstErrMsg;
  // The history takes the half-loaded field back; it never becomes a step.
  if (!edt.DrpStp()) edt.RmvAllVio();
  GuLstErrMsg = why;
  return false;
}

void TVslDoc::Opn() {
  if (!AskDrp()) return;
  // A message left by an earlier command must not be shown for this one.
  GuLstErrMsg.clear();
  TFilDlgReq req{VioFlt(FHst.Lge()), FilDlgDir()};
  std::string name;
  if (GuFilDlg().Opn(req, name)) {
    OpnFil(name);
    return;
  }
  if (!GuLstErrMsg.empty()) FHst.ShwErrMsg(GuLstErrMsg);
  FHst.SetAppDir();
}

bool TVslDoc::OpnFil(const std::string& name) {
  if (LodVioFilKep(name)) {
    FsVioFilNam = name;
    SetCap(QStr(name));
    FHst.SetAppDir();
    smnFilSav->setEnabled(true);
    smnFilSas->setEnabled(true);
    AddRctFil(name);
    if (FOnOpn) FOnOpn();
    return true;
  }
  if (!GuLstErrMsg.empty()) FHst.ShwErrMsg(GuLstErrMsg);
  FHst.SetAppDir();
  return false;
}

void TVslDoc::OpnCmdFil() {
  if (FsCmdFil.empty()) return;
  const std::string name = FsCmdFil;
  FsCmdFil.clear();  // once
  if (!AskDrp()) return;  // a restored recovery copy is on the field
  GuLstErrMsg.clear();
  OpnFil(name);
}

void TVslDoc::Sav() {
  TVioPgmItp& edt = *FHst.Pgm();
  if (edt.GetVioCnt() == 0) return;
  // A program that Undo took back to before any file was opened has no file
  // of its own: it is not written into the one opened after it.
  if (FsVioFilNam.empty()) {
    Sas();
    return;
  }
  GuLstErrMsg.clear();
  if (!edt.SavVioFil(FsVioFilNam) && !GuLstErrMsg.empty()) FHst.ShwErrMsg(GuLstErrMsg);
}

void TVslDoc::Sas() {
  TVioPgmItp& edt = *FHst.Pgm();
  if (edt.GetVioCnt() == 0) return;
  const std::uint8_t lge = FHst.Lge();
  TFilDlgReq req{VioFlt(lge), FilDlgDir()};
  std::string name;
  if (!GuFilDlg().Sav(req, name)) return;
  const std::string ext = std::string(".") + GcVioExt;
  if (name.size() > 5 && (name.size() < ext.size() || name.compare(name.size() - ext.size(), ext.size(), ext) != 0))
    name += ext;
  std::error_code ec;
  if (std::filesystem::exists(name, ec)) {
    const TeMsgAns ans = ShwMsgBox(SysMsgOr(SUM_FIL_OVR, lge),
                                   SysMsgOr(SUM_FIL_OVR_CAP, lge),
                                   TeMsgBtn::YesNoCancel);
    if (ans != TeMsgAns::Yes) return;
    // The old file stays until the new one is complete: the writer replaces it
    // in one step.
  }
  GuLstErrMsg.clear();
  if (!edt.SavVioFil(name)) {
    if (!GuLstErrMsg.empty()) FHst.ShwErrMsg(GuLstErrMsg);
    return;
  }
  FsVioFilNam = name;
  SetCap(QString());
  AddRctFil(name);
}

// ---------------------------------------------------------------------------
// Keeping the user's work

void TVslDoc::tmrRcvSavTimer() {
  // Not while a vio is being dragged: its cell is not yet its own.
  TVioPgmItp* edt = FHst.Pgm();
  if (FpVioRcv && edt && !edt->VioDrg()) FpVioRcv->Tck();
}

bool TVslDoc::AskDrp() {
  TVioPgmItp* edt = FHst.Pgm();
  if (!edt) return true;
  return AskDrpPgm(*edt, [this] {
    if (FsVioFilNam.empty())
      Sas();
    else
      Sav();
  });
}

bool TVslDoc::KepCls() {
  if (!AskDrp()) return false;
  if (FpVioRcv) FpVioRcv->Drp();
  return true;
}

void TVslDoc::OfrRcv() {
  if (!FpVioRcv || FpVioRcv->Armed()) return;
  if (FpVioRcv->Ofr() == TVioRcv::TeOfr::Rst) EnaSas();
}

// ---------------------------------------------------------------------------
// Recent files

void TVslDoc::RfsRctMnu() {
  if (!mmnFilRct) return;
  if (!FpRctFil) {
    FpRctFil = std::make_unique<TRctFil>();
    FHst.LodRct(*FpRctFil);
  }
  if (TVioPgmItp* edt = FHst.Pgm()) mmnFilRct->setTitle(QStr(VioUsrMsg(*edt, SUM_RCT_MNU)));
  mmnFilRct->clear();
  int n = 0;
  for (const std::string& p : FpRctFil->Lst()) {
    ++n;
    QAction* a = mmnFilRct->addAction(QStringLiteral("&%1 %2").arg(n).arg(QStr(p)));
    connect(a, &QAction::triggered, this, [this, p] {
      if (mmnFil->menuAction()->isEnabled()) OpnRctFil(p);
    });
  }
  mmnFilRct->setEnabled(n > 0);
}

void TVslDoc::AddRctFil(const std::string& path) {
  if (!mmnFilRct) return;
  RfsRctMnu();  // the list is read before it is changed
  FpRctFil->Add(path);
  FHst.SavRct(*FpRctFil);
  RfsRctMnu();
}

void TVslDoc::OpnRctFil(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) {
    RfsRctMnu();
    FpRctFil->Rmv(path);
    FHst.SavRct(*FpRctFil);
    RfsRctMnu();
    FHst.ShwErrMsg(
        VioUsrMsg(*FHst.Pgm(), SUM_RCT_MIS) + " " +
        path);
    return;
  }
  if (!AskDrp()) return;
  GuLstErrMsg.clear();
  OpnFil(path);
}

// ---------------------------------------------------------------------------
// Undo, redo and the caption

void TVslDoc::UndRed(bool und) {
  // Not while the window is locked or the Start vio's upload runs.
  TVioPgmItp* edt = FHst.Pgm();
  if (!edt || FHst.Locked() || edt->StaRun() || edt->VioDrg()) return;
  if (und)
    edt->Und();
  else
    edt->Red();
  SynDocNam();
}

void TVslDoc::RfsEdtMnu() {
  TVioPgmItp* edt = FHst.Pgm();
  if (!smnEdtUnd || !edt) return;
  smnEdtUnd->setEnabled(edt->CanUnd());
  smnEdtRed->setEnabled(edt->CanRed());
  // The caption is marked when the program becomes unsaved and unmarked when
  // it is saved again; whatever else sets the caption stays as it is.
  const bool drt = edt->Drt();
  if (drt == FbCapDrt) return;
  FbCapDrt = drt;
  QString cap = FsLsnCap.isEmpty() ? FWnd.windowTitle() : FsCap;
  if (drt) {
    cap += GcDrtMrk;
  } else if (cap.endsWith(GcDrtMrk)) {
    cap.chop(GcDrtMrk.size());
  }
  SetCap(cap);
}

void TVslDoc::SynDocNam() {
  // Undo and Redo across an Open bring back the program's own file: Save
  // writes there, and the caption names it (or is the window's own).
  TVioPgmItp& edt = *FHst.Pgm();
  const std::string& nam = edt.DocNam();
  if (nam == FsVioFilNam) return;
  FsVioFilNam = nam;
  QString cap = nam.empty() ? FsStaCap : QStr(nam);
  FbCapDrt = edt.Drt();
  if (FbCapDrt) cap += GcDrtMrk;
  SetCap(cap);
}
