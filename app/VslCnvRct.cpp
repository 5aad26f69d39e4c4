// The main window's recent-files submenu in the File menu. The list itself
// is app/RctFil.*; it lives in the settings store.
#include <QAction>
#include <QMenu>

#include <filesystem>
#include <system_error>

#include "app/RctFil.h"
#include "app/VslCnv.h"
#include "core/Globals.h"
#include "core/Seams.h"
#include "editor/VioKep.h"
#include "editor/VioPgmItp.h"

namespace {
QString QStr(const std::string& s) { return QString::fromLocal8Bit(s.data(), static_cast<qsizetype>(s.size())); }
}  // namespace

void TfrmVslCnv::BldRctMnu() {
  if (mmnFilRct || !mmnFil) return;
  mmnFilRct = new QMenu("Recent files", mmnFil);
  mmnFilRct->setObjectName("mmnFilRct");
  mmnFil->insertMenu(smnFilSas, mmnFilRct);
  // Save As stays next to Save: the submenu goes after it.
  mmnFil->removeAction(smnFilSas);
  mmnFil->insertAction(mmnFilRct->menuAction(), smnFilSas);
  connect(mmnFil, &QMenu::aboutToShow, this, [this] { RfsRctMnu(); });
}

bool TfrmVslCnv::RctSto(bool load) {
  auto st = GuPlatform().Settings->Create();
  if (!st || !st->OpenKey(FsRegKey + TRctFil::GcKey, true)) return false;
  if (load) {
    FpRctFil->Lod(*st);
    return true;
  }
  return FpRctFil->Sav(*st);
}

void TfrmVslCnv::RfsRctMnu() {
  if (!mmnFilRct) return;
  if (!FpRctFil) {
    FpRctFil = std::make_unique<TRctFil>();
    RctSto(true);
  }
  if (FpVioPgmItp) mmnFilRct->setTitle(QStr(VioUsrMsg(*FpVioPgmItp, SUM_RCT_MNU, "Recent files")));
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

void TfrmVslCnv::AddRctFil(const std::string& path) {
  if (!mmnFilRct) return;
  RfsRctMnu();  // the list is read before it is changed
  FpRctFil->Add(path);
  RctSto(false);
  RfsRctMnu();
}

void TfrmVslCnv::OpnRctFil(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) {
    RfsRctMnu();
    FpRctFil->Rmv(path);
    RctSto(false);
    RfsRctMnu();
    ShwErrMsg(VioUsrMsg(*FpVioPgmItp, SUM_RCT_MIS, "The file no longer exists and was taken off the recent files:") +
              " " + path);
    return;
  }
  if (!AskDrp()) return;
  GuLstErrMsg.clear();
  OpnVioFil(path);
}
