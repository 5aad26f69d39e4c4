#include "app/Options.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "link/PrtNam.h"

TfrmOptions::TfrmOptions(QWidget* owner, TScnPrt scan) : QDialog(owner), FScn(std::move(scan)) {
  setObjectName("frmOptions");
  setWindowTitle("Options");
  setModal(false);

  gbxComport = new QGroupBox("Comport", this);
  gbxComport->setObjectName("gbxComport");
  lbxComPrt = new QListWidget(gbxComport);
  lbxComPrt->setObjectName("lbxComPrt");
  lbxComPrt->setSelectionMode(QAbstractItemView::NoSelection);
  lbxComPrt->setFocusPolicy(Qt::NoFocus);
  auto* lblPrs = new QLabel("Ports present on this computer:", gbxComport);
  auto* gbl = new QVBoxLayout(gbxComport);
  gbl->addWidget(lblPrs);
  gbl->addWidget(lbxComPrt);

  btnCls = new QPushButton("Close", this);
  btnCls->setObjectName("btnCls");
  btnCls->setDefault(true);
  connect(btnCls, &QPushButton::clicked, this, &QDialog::close);

  auto* btl = new QHBoxLayout;
  btl->addStretch();
  btl->addWidget(btnCls);
  auto* lay = new QVBoxLayout(this);
  lay->addWidget(gbxComport);
  lay->addLayout(btl);
  resize(260, 220);
}

void TfrmOptions::showEvent(QShowEvent* e) {
  FormShow();
  QDialog::showEvent(e);
}

void TfrmOptions::FormShow() {
  FpComPrtLst = FScn ? FScn() : ScnComPrt();
  lbxComPrt->clear();
  if (FpComPrtLst.empty()) {
    lbxComPrt->addItem("No COM port present");
    return;
  }
  for (std::size_t i = 0; i < FpComPrtLst.size(); ++i) {
    auto* it = new QListWidgetItem(QString::fromStdString(FpComPrtLst[i]), lbxComPrt);
    // The configured port stands out.
    if (static_cast<std::int32_t>(i) == FiSelIdx) {
      QFont f = it->font();
      f.setBold(true);
      it->setFont(f);
    }
  }
}
