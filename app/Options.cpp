#include "app/Options.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <filesystem>

#include "core/Seams.h"
#include "core/WndMsg.h"
#include "link/PrtNam.h"

TfrmOptions::TfrmOptions(QWidget* owner, TScnPrt scan) : QDialog(owner), FScn(std::move(scan)) {
  setObjectName("frmOptions");
  setWindowTitle("Options");
  setModal(false);

  gbxComport = new QGroupBox("Comport", this);
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

  btnCls = new QPushButton("Close", this);
  btnCls->setObjectName("btnCls");
  btnCls->setAutoDefault(false);
  connect(btnCls, &QPushButton::clicked, this, &QDialog::close);

  btnChk = new QPushButton("Check connection", this);
  btnChk->setObjectName("btnChk");
  btnChk->setAutoDefault(false);
  connect(btnChk, &QPushButton::clicked, this, &TfrmOptions::btnChkClick);

  auto* btl = new QHBoxLayout;
  btl->addWidget(btnChk);
  btl->addStretch();
  btl->addWidget(btnCls);
  auto* lay = new QVBoxLayout(this);
  lay->addWidget(gbxComport);
  lay->addLayout(btl);
  resize(300, 140);
}

void TfrmOptions::showEvent(QShowEvent* e) {
  FormShow();
  QDialog::showEvent(e);
}

bool TfrmOptions::PrbComPrt(int n, bool& inUse) { return ::PrbComPrt(n, inUse); }

void TfrmOptions::ScnComPrt(std::vector<TComPrtEnt>& lst) {
  lst.clear();
  const std::vector<std::string> names = FScn ? FScn() : ::ScnComPrt();
  std::error_code ec;
  const std::filesystem::path zfr = FsZfrLnk.empty() ? std::filesystem::path() : std::filesystem::canonical(FsZfrLnk, ec);
  for (const std::string& nam : names) {
    const int n = PrtNum(nam);
    if (n == 0) continue;
    const std::string dev = PrtDevPth(nam);
    std::string txt = "COM" + std::to_string(n);
    const bool isZfr = !dev.empty() && !zfr.empty() && std::filesystem::canonical(dev, ec) == zfr;
    if (!dev.empty())
      txt += " (" + dev + (isZfr ? ", " + FsZfrLnk : std::string()) + (PrtInUse(dev) ? ", in use" : "") + ")";
    lst.push_back({txt, n});
  }
}

void TfrmOptions::FormShow() {
  ScnComPrt(FpComPrtLst);
  cbxComportSelector->blockSignals(true);
  cbxComportSelector->clear();
  for (const TComPrtEnt& e : FpComPrtLst) cbxComportSelector->addItem(QString::fromStdString(e.Txt), e.Num);
  cbxComportSelector->setCurrentIndex(FiSelIdx >= 0 && FiSelIdx < cbxComportSelector->count() ? FiSelIdx : -1);
  if (FiSelIdx < 0 || FiSelIdx >= cbxComportSelector->count()) cbxComportSelector->setEditText(QString());
  cbxComportSelector->blockSignals(false);
  lblComPrtSte->setText(FpComPrtLst.empty() ? "No COM port present" : "");
}

void TfrmOptions::cbxComportSelectorChange() {
  const int idx = cbxComportSelector->currentIndex();
  // Text typed into the box that names no entry selects nothing.
  if (idx < 0 || cbxComportSelector->currentText() != cbxComportSelector->itemText(idx)) return;
  FiSelIdx = idx;
  if (static_cast<std::size_t>(idx) >= FpComPrtLst.size()) return;
  // The number attached to the entry: COM1 and COM10 to COM19 stay apart.
  const int num = FpComPrtLst[static_cast<std::size_t>(idx)].Num;
  std::intptr_t ok = 0;
  if (FpMaiFrm) ok = FpMaiFrm->SndMsg(WM_SET_MSG, SM_NEW_COM_PRT, num);
  PrcMsg();
  lblComPrtSte->setText(ok ? QString("COM%1 is open").arg(num) : QString("COM%1 could not be opened").arg(num));
}

void TfrmOptions::btnChkClick() {
  std::string prt;
  std::uint8_t lge = 0;
  if (FDocCtx) FDocCtx(prt, lge);
  if (!FpDocDlg) FpDocDlg = new TfrmConDoc(this, FDocMak);
  FpDocDlg->show();
  FpDocDlg->raise();
  FpDocDlg->Run(prt, lge);
}
