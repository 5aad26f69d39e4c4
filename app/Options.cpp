#include "app/Options.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <filesystem>

#include "app/RolDlg.h"
#include "app/VslCnvLgc.h"
#include "core/Seams.h"
#include "core/WndMsg.h"
#include "editor/qt/VioFldAcc.h"
#include "link/PrtNam.h"
#include "messages/SysMsgBui.h"

TfrmOptions::TfrmOptions(QWidget* owner, TScnPrt scan) : QDialog(owner), FScn(std::move(scan)) {
  setObjectName("frmOptions");
  InsCbxAcc();
  setModal(false);

  gbxComport = new QGroupBox(this);
  gbxComport->setObjectName("gbxComport");
  cbxComportSelector = new QComboBox(gbxComport);
  cbxComportSelector->setObjectName("cbxComportSelector");
  cbxComportSelector->setEditable(true);
  cbxComportSelector->setInsertPolicy(QComboBox::NoInsert);
  cbxComportSelector->setMinimumWidth(240);
  connect(cbxComportSelector, &QComboBox::activated, this, [this](int) { cbxComportSelectorChange(); });
  lblComPrtSte = new QLabel(gbxComport);
  lblComPrtSte->setObjectName("lblComPrtSte");
  auto* gbl = new QVBoxLayout(gbxComport);
  gbl->addWidget(cbxComportSelector);
  gbl->addWidget(lblComPrtSte);

  btnCls = new QPushButton(this);
  btnCls->setObjectName("btnCls");
  btnCls->setAutoDefault(false);
  connect(btnCls, &QPushButton::clicked, this, &QDialog::close);

  btnChk = new QPushButton(this);
  btnChk->setObjectName("btnChk");
  btnChk->setAutoDefault(false);
  connect(btnChk, &QPushButton::clicked, this, &TfrmOptions::btnChkClick);

  btnAll = new QPushButton(this);
  btnAll->setObjectName("btnAll");
  btnAll->setAutoDefault(false);
  connect(btnAll, &QPushButton::clicked, this, &TfrmOptions::btnAllClick);

  auto* btl = new QHBoxLayout;
  btl->addWidget(btnChk);
  btl->addWidget(btnAll);
  btl->addStretch();
  btl->addWidget(btnCls);
  auto* lay = new QVBoxLayout(this);
  lay->addWidget(gbxComport);
  lay->addLayout(btl);
  resize(300, 140);
  SetLge(0);
}

void TfrmOptions::SetLge(std::uint8_t lge) {
  FbyLgeIdx = lge;
  auto txt = [lge](std::uint8_t id) { return QString::fromStdString(SysMsgOr(id, lge)); };
  setWindowTitle(txt(SUM_MNU_OPT));
  gbxComport->setTitle(txt(SUM_OPT_COM));
  btnCls->setText(txt(SUM_BTN_CLS));
  btnChk->setText(txt(DM_TTL_DOC));
  cbxComportSelector->setAccessibleName(gbxComport->title());
  btnAll->setText(txt(DM_ALL_TTL));
  ShwSte(FbySteId, FiSteNum);
  if (FpDocDlg) FpDocDlg->SetLge(lge);
  if (FpRolDlg && !FpRolDlg->Running()) FpRolDlg->SetLge(lge);
}

void TfrmOptions::ShwSte(std::uint8_t id, int num) {
  FbySteId = id;
  FiSteNum = num;
  switch (id) {
    case SUM_OPT_NON:
    case SUM_OPT_NOT_KEP:
    case SUM_OPT_OPN:
    case SUM_OPT_NOT_OPN: break;
    default: lblComPrtSte->clear(); return;
  }
  QString t = QString::fromStdString(SysMsgOr(id, FbyLgeIdx));
  // The built-in robot is named where a port would be.
  if (num == GcSimPrtNum) t.replace("COM%1", QString::fromStdString(SimPrtTxt(FbyLgeIdx)));
  lblComPrtSte->setText(t.contains("%1") ? t.arg(num) : t);
}

void TfrmOptions::showEvent(QShowEvent* e) {
  FormShow();
  QDialog::showEvent(e);
}

bool TfrmOptions::PrbComPrt(int n, bool& inUse) { return ::PrbComPrt(n, inUse); }

namespace {

std::string RealPthOf(const std::string& pth) {
  std::error_code ec;
  const std::filesystem::path p = std::filesystem::canonical(pth, ec);
  return ec ? std::string() : p.string();
}

}  // namespace

void TfrmOptions::ScnComPrt(std::vector<TComPrtEnt>& lst) {
  lst.clear();
  FiZfrNum = 0;
  const std::vector<std::string> names = FScn ? FScn() : ::ScnComPrt();
  // The device the robot's link leads to, and the port that stands for it.
  const TLnkPrt zfr = FsZfrLnk.empty() ? TLnkPrt() : LnkPrt(FsZfrLnk);
  bool zfrLst = false;
  for (const std::string& nam : names) {
    const int n = PrtNum(nam);
    if (n == 0) continue;
    const std::string dev = PrtDevPth(nam);
    std::string txt = "COM" + std::to_string(n);
    if (!dev.empty()) {
      std::string inr = dev;
      if (!zfr.Dev.empty() && RealPthOf(dev) == zfr.Dev) {
        zfrLst = true;
        // "COM5 (/dev/ttyUSB0, /dev/zefor)"; mapped to the link itself: "COM13 (/dev/zefor, /dev/ttyUSB7)".
        inr = dev == FsZfrLnk ? FsZfrLnk + ", " + zfr.Dev : dev + ", " + FsZfrLnk;
      }
      txt += " (" + inr + (PrtInUse(dev) ? ", " + SysMsgOr(SUM_OPT_USE, FbyLgeIdx) : "") + ")";
    }
    lst.push_back({txt, n});
  }
  // A link to a device that no port stands for yet: listed last (the
  // entries above keep their places), with the port that choosing it maps.
  if (!zfrLst && zfr.Num > 0) {
    lst.push_back({"COM" + std::to_string(zfr.Num) + " (" + FsZfrLnk + ", " + zfr.Dev +
                       (PrtInUse(zfr.Dev) ? ", " + SysMsgOr(SUM_OPT_USE, FbyLgeIdx) : "") + ")",
                   zfr.Num});
    if (!zfr.Lst) FiZfrNum = zfr.Num;
  }
  // The robot inside the program, always there, after every port.
  lst.push_back({SimPrtTxt(FbyLgeIdx), GcSimPrtNum});
}

void TfrmOptions::FormShow() {
  ScnComPrt(FpComPrtLst);
  // Once the user has chosen, the chosen port is selected wherever the scan puts it.
  if (FiSelNum > 0) {
    FiSelIdx = -1;
    for (std::size_t i = 0; i < FpComPrtLst.size(); ++i)
      if (FpComPrtLst[i].Num == FiSelNum) FiSelIdx = static_cast<std::int32_t>(i);
  }
  cbxComportSelector->blockSignals(true);
  cbxComportSelector->clear();
  for (const TComPrtEnt& e : FpComPrtLst) cbxComportSelector->addItem(QString::fromStdString(e.Txt), e.Num);
  cbxComportSelector->setCurrentIndex(FiSelIdx >= 0 && FiSelIdx < cbxComportSelector->count() ? FiSelIdx : -1);
  if (FiSelIdx < 0 || FiSelIdx >= cbxComportSelector->count()) cbxComportSelector->setEditText(QString());
  cbxComportSelector->blockSignals(false);
  ShwSte(FpComPrtLst.size() <= 1 ? SUM_OPT_NON : 0);
}

void TfrmOptions::cbxComportSelectorChange() {
  const int idx = cbxComportSelector->currentIndex();
  // Text typed into the box that names no entry selects nothing.
  if (idx < 0 || cbxComportSelector->currentText() != cbxComportSelector->itemText(idx)) return;
  if (static_cast<std::size_t>(idx) >= FpComPrtLst.size()) return;
  // The number attached to the entry: COM1 and COM10 to COM19 stay apart.
  const int num = FpComPrtLst[static_cast<std::size_t>(idx)].Num;
  // The robot's link gets its port: the mapping follows the link, not the
  // device it leads to today.
  if (num == FiZfrNum) {
    if (!MapPrt(num, FsZfrLnk)) {
      ShwSte(SUM_OPT_NOT_KEP, num);
      return;
    }
    FiZfrNum = 0;
  }
  FiSelIdx = idx;
  FiSelNum = num;
  std::intptr_t ok = 0;
  if (FpMaiFrm) ok = FpMaiFrm->SndMsg(WM_SET_MSG, SM_NEW_COM_PRT, num);
  PrcMsg();
  ShwSte(ok ? SUM_OPT_OPN : SUM_OPT_NOT_OPN, num);
}

void TfrmOptions::btnChkClick() {
  std::string prt;
  std::uint8_t lge = 0;
  if (FDocCtx) FDocCtx(prt, lge);
  if (!FpDocDlg) {
    FpDocDlg = new TfrmConDoc(this, FDocMak);
    FpDocDlg->SetLge(lge);
  }
  FpDocDlg->show();
  FpDocDlg->raise();
  FpDocDlg->Run(prt, lge);
}

void TfrmOptions::btnAllClick() {
  std::string prt;
  std::uint8_t lge = FbyLgeIdx;
  if (FDocCtx) FDocCtx(prt, lge);
  bool ans = false;
  if (FpMaiFrm && !prt.empty()) FpMaiFrm->SndMsg(WM_APP_MSG, AM_LNK_OKY, reinterpret_cast<std::intptr_t>(&ans));
  if (!FpRolDlg) {
    FpRolDlg = new TfrmRolCal(this, FDocMak);
    if (FRolUpl.Stm) FpRolDlg->SetUplHst(FRolUpl);
  }
  FpRolDlg->show();
  FpRolDlg->raise();
  FpRolDlg->Run(lge, ans ? prt : std::string());
}

void TfrmOptions::SetRolUpl(TRolUplHst hst) {
  FRolUpl = std::move(hst);
  if (FpRolDlg) FpRolDlg->SetUplHst(FRolUpl);
}
