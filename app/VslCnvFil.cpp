// The main window's File menu: Open, Save and Save As of visual programs.
#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QString>

#include <filesystem>
#include <system_error>

#include "app/RctFil.h"
#include "app/VslCnv.h"
#include "app/VslCnvLgc.h"
#include "core/Globals.h"
#include "core/PathUtl.h"
#include "core/Seams.h"
#include "editor/VioKep.h"
#include "editor/VioPgmItp.h"

namespace {

const char* const GcVioExt = "vio";

// The one filter of both dialogs: description and pattern.
std::string VioFlt(std::uint8_t lge) {
  return LgeTxt(SUM_FIL_FLT, lge, "Visual program files") + " (" + "*." + GcVioExt + ")|" + "*." + GcVioExt;
}

QString QStr(const std::string& s) { return QString::fromLocal8Bit(s.data(), static_cast<qsizetype>(s.size())); }

}  // namespace

void TfrmVslCnv::BldFilMnu() {
  smnFilOpn->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  smnFilSav->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  smnFilSas->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
  // A shortcut reaches its command also while the menu is locked: the
  // commands run only while it is not.
  auto cmd = [this](void (TfrmVslCnv::*fn)()) {
    return [this, fn]() {
      if (mmnFil->menuAction()->isEnabled()) (this->*fn)();
    };
  };
  connect(smnFilOpn, &QAction::triggered, this, cmd(&TfrmVslCnv::smnFilOpnClick));
  connect(smnFilSav, &QAction::triggered, this, cmd(&TfrmVslCnv::smnFilSavClick));
  connect(smnFilSas, &QAction::triggered, this, cmd(&TfrmVslCnv::smnFilSasClick));
}

void TfrmVslCnv::BldFilExt() {
  if (smnFilExt || !mmnFil) return;
  mmnFil->addSeparator();
  smnFilExt = mmnFil->addAction("E&xit");
  smnFilExt->setObjectName("smnFilExt");
  smnFilExt->setShortcut(QKeySequence::Quit);
  // Closing asks about unsaved work first, as the window's close button does.
  connect(smnFilExt, &QAction::triggered, this, [this] { close(); });
  connect(mmnFil, &QMenu::aboutToShow, this, [this] {
    if (FpVioPgmItp) smnFilExt->setText(QStr(VioUsrMsg(*FpVioPgmItp, SUM_FIL_EXT, "E&xit")));
  });
}

std::string TfrmVslCnv::FilDlgDir() const {
  if (!FsVioFilNam.empty()) {
    const std::filesystem::path dir = std::filesystem::path(FsVioFilNam).parent_path();
    std::error_code ec;
    if (!dir.empty() && std::filesystem::is_directory(dir, ec)) return dir.string();
  }
  return NativePath(GuInsDir + "examples");
}

bool TfrmVslCnv::LodVioFilKep(const std::string& name) {
  TStrLst bfr;
  FpVioPgmItp->BldVioLns(bfr);
  if (FpVioPgmItp->LodVioFil(name)) return true;
  // The file is checked whole before the field is cleared; a vio that cannot
  // be created (a sensor the tables do not know, say) fails only later. Then
  // the program that was on the field comes back.
  TStrLst aft;
  FpVioPgmItp->BldVioLns(aft);
  if (aft == bfr) return false;
  const std::string why = GuLstErrMsg;
  // The history takes the half-loaded field back; it never becomes a step.
  if (!FpVioPgmItp->DrpStp()) FpVioPgmItp->RmvAllVio();
  GuLstErrMsg = why;
  return false;
}

void TfrmVslCnv::smnFilOpnClick() {
  if (!AskDrp()) return;
  // A message left by an earlier command must not be shown for this one.
  GuLstErrMsg.clear();
  TFilDlgReq req{VioFlt(FbyLgeIdx), FilDlgDir()};
  std::string name;
  if (GuFilDlg().Opn(req, name)) {
    OpnVioFil(name);
    return;
  }
  if (!GuLstErrMsg.empty()) ShwErrMsg(GuLstErrMsg);
  SetAppDir();
}

bool TfrmVslCnv::OpnVioFil(const std::string& name) {
  if (LodVioFilKep(name)) {
    FsVioFilNam = name;
    setWindowTitle(QStr(name));
    SetAppDir();
    smnFilSav->setEnabled(true);
    smnFilSas->setEnabled(true);
    AddRctFil(name);
    return true;
  }
  if (!GuLstErrMsg.empty()) ShwErrMsg(GuLstErrMsg);
  SetAppDir();
  return false;
}

void TfrmVslCnv::OpnCmdFil() {
  if (FsCmdFil.empty()) return;
  const std::string name = FsCmdFil;
  FsCmdFil.clear();  // once
  if (!AskDrp()) return;  // a restored recovery copy is on the field
  GuLstErrMsg.clear();
  OpnVioFil(name);
}

void TfrmVslCnv::smnFilSavClick() {
  if (FpVioPgmItp->GetVioCnt() == 0) return;
  // A program that Undo took back to before any file was opened has no file
  // of its own: it is not written into the one opened after it.
  if (FsVioFilNam.empty()) {
    smnFilSasClick();
    return;
  }
  GuLstErrMsg.clear();
  if (!FpVioPgmItp->SavVioFil(FsVioFilNam) && !GuLstErrMsg.empty()) ShwErrMsg(GuLstErrMsg);
}

void TfrmVslCnv::smnFilSasClick() {
  if (FpVioPgmItp->GetVioCnt() == 0) return;
  TFilDlgReq req{VioFlt(FbyLgeIdx), FilDlgDir()};
  std::string name;
  if (!GuFilDlg().Sav(req, name)) return;
  const std::string ext = std::string(".") + GcVioExt;
  if (name.size() > 5 && (name.size() < ext.size() || name.compare(name.size() - ext.size(), ext.size(), ext) != 0))
    name += ext;
  std::error_code ec;
  if (std::filesystem::exists(name, ec)) {
    const TeMsgAns ans = ShwMsgBox(LgeTxt(SUM_FIL_OVR, FbyLgeIdx, "Overwrite existing file?"),
                                   LgeTxt(SUM_FIL_OVR_CAP, FbyLgeIdx, "Warning, file allready exists"),
                                   TeMsgBtn::YesNoCancel);
    if (ans != TeMsgAns::Yes) return;
    // The old file stays until the new one is complete: the writer replaces it
    // in one step.
  }
  GuLstErrMsg.clear();
  if (!FpVioPgmItp->SavVioFil(name)) {
    if (!GuLstErrMsg.empty()) ShwErrMsg(GuLstErrMsg);
    return;
  }
  FsVioFilNam = name;
  setWindowTitle(QString());
  AddRctFil(name);
}
