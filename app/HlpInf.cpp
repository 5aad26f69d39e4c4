#include "app/HlpInf.h"

#include <QLabel>

namespace {

// The product owner's texts. A line the owner has not given stays hidden.
constexpr const char* GcInfRgt = "Copyright (C) Brinkmoor. All rights reserved.";
constexpr const char* GcInfWeb = "";
constexpr const char* GcInfMal = "";
constexpr const char* GcInfMad = "";

}  // namespace

TfrmHlpInf::TfrmHlpInf(QWidget* owner) : QDialog(owner) {
  setObjectName("frmHlpInf");
  setWindowTitle("Info");
  setModal(false);
  setFixedSize(273, 241);
  struct {
    QLabel** Fld;
    const char* Nam;
    int Y;
    QString Txt;
  } lbl[] = {
      {&Label1, "Label1", 40, "Tessaro version 1.1"},
      {&Label3, "Label3", 64, GcInfRgt},
      {&Label2, "Label2", 88, GcInfWeb},
      {&Label4, "Label4", 112, *GcInfMal ? QString("E-mail: ") + GcInfMal : QString()},
      {&Label5, "Label5", 136, GcInfMad},
  };
  for (auto& l : lbl) {
    *l.Fld = new QLabel(l.Txt, this);
    (*l.Fld)->setObjectName(l.Nam);
    (*l.Fld)->move(40, l.Y);
    (*l.Fld)->adjustSize();
    (*l.Fld)->setVisible(!l.Txt.isEmpty());
  }
  // A long notice must not run past the dialog's edge.
  Label3->setWordWrap(true);
  Label3->setFixedWidth(273 - 2 * 40);
  Label3->adjustSize();
}

void TfrmHlpInf::ShwOn(QWidget* mainWnd) {
  if (mainWnd) move(mainWnd->frameGeometry().center() - rect().center());
  show();
  raise();
  activateWindow();
}
