#include "app/AppIto.h"

#include <QLabel>
#include <QPixmap>

#include "app/platform/QtStr.h"
#include "core/PathUtl.h"

TfrmAppIto::TfrmAppIto(const std::string& insDir, QWidget* owner)
    : QWidget(owner, Qt::Dialog | Qt::WindowStaysOnTopHint) {
  setObjectName("frmAppIto");
  setWindowTitle("Intro");
  resize(563, 410);
  Image1 = new QLabel(this);
  Image1->setObjectName("Image1");
  Image1->setGeometry(24, 8, GcImgWdt, GcImgHgt);
  // Not stretched: the control shows the top left part of the picture.
  Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  QPixmap pic;
  const std::string pth = NativePath(insDir + "pictures\\intro.bmp");
  FbPicLod = pic.load(QStr(pth));
  if (FbPicLod) Image1->setPixmap(pic.copy(0, 0, GcImgWdt, GcImgHgt));
}

void TfrmAppIto::ShwOn(QWidget* mainWnd) {
  setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
  setFixedSize(GcImgWdt, GcImgHgt);
  Image1->move(0, 0);
  if (mainWnd) {
    const QRect g = mainWnd->frameGeometry();
    move(g.center() - QPoint(GcImgWdt / 2, GcImgHgt / 2));
  }
  show();
  raise();
}
