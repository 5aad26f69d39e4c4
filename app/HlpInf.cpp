#include "app/HlpInf.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QUrl>

#include "app/VslCnvLgc.h"
#include "app/platform/QtStr.h"
#include "core/Seams.h"
#include "messages/SysLgeMsg.h"
#include "messages/SysMsgBui.h"

#ifdef _WIN32
QString GuMnlOpnCmd;
#else
QString GuMnlOpnCmd = QStringLiteral("xdg-open");
#endif

namespace {

// Notices about the program, in English when the message table lacks them.
// There is no web or mail address to give, so those lines say where help is
// found instead.
constexpr const char* GcInfVer = "Tessaro version 1.1";
constexpr const char* GcInfRgt = "(C) The Tessaro developers";
constexpr const char* GcInfWhy = "Programs the Zefor robot";
constexpr const char* GcInfHlp = "Help: see the two manuals";
constexpr const char* GcInfMad = "Made with C++20 and Qt 6";

void ShwMnlErr(std::uint8_t id, const std::string& path, std::uint8_t lge) {
  ShwMsgBox(SysMsgOr(id, lge) + " " + path);
}

void NoViw(const std::string& path, std::uint8_t lge) {
  ShwMnlErr(SUM_MNL_NO_VIW,
            path, lge);
}

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
      {&Label1, "Label1", 40, GcInfVer},
      {&Label3, "Label3", 64, GcInfRgt},
      {&Label2, "Label2", 88, GcInfWhy},
      {&Label4, "Label4", 112, GcInfHlp},
      {&Label5, "Label5", 136, GcInfMad},
  };
  for (auto& l : lbl) {
    *l.Fld = new QLabel(l.Txt, this);
    (*l.Fld)->setObjectName(l.Nam);
    (*l.Fld)->move(40, l.Y);
    (*l.Fld)->adjustSize();
  }
  // The build that runs, beside the designed version.
  LblBld = new QLabel(QString::fromStdString("(Build " + AppFilVer() + ")"), this);
  LblBld->setObjectName("LblBld");
  SetLge(0);
}

void TfrmHlpInf::SetLge(std::uint8_t lge) {
  setWindowTitle(QString::fromStdString(SysMsgOr(SUM_MNU_INF, lge)));
  const struct {
    QLabel* Lbl;
    std::uint8_t Id;
  } lbl[] = {{Label1, SUM_INF_VER}, {Label3, SUM_INF_RGT}, {Label2, SUM_INF_WHY}, {Label4, SUM_INF_HLP},
             {Label5, SUM_INF_MAD}};
  for (const auto& l : lbl) {
    l.Lbl->setText(QString::fromStdString(SysMsgOr(l.Id, lge)));
    l.Lbl->adjustSize();
  }
  LblBld->move(Label1->x() + Label1->width() + 6, Label1->y());
  LblBld->adjustSize();
}

void TfrmHlpInf::ShwOn(QWidget* mainWnd) {
  if (mainWnd) move(mainWnd->frameGeometry().center() - rect().center());
  show();
  raise();
  activateWindow();
}

void OpnMnl(const std::string& path, std::uint8_t lge) {
  const QString pth = QStr(path);
  if (!QFileInfo(pth).isFile()) {
    ShwMnlErr(SUM_MNL_MIS,
              path, lge);
    return;
  }
  if (GuMnlOpnCmd.isEmpty()) {
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(pth))) NoViw(path, lge);
    return;
  }
  // The opener may stay until the viewer is closed: it is not waited for. It
  // tells whether it found a program when it ends.
  auto* prc = new QProcess(QCoreApplication::instance());
  QObject::connect(prc, &QProcess::finished, prc, [prc, path, lge](int code, QProcess::ExitStatus sts) {
    prc->deleteLater();
    if (sts != QProcess::NormalExit || code != 0) NoViw(path, lge);
  });
  QObject::connect(prc, &QProcess::errorOccurred, prc, [prc, path, lge](QProcess::ProcessError err) {
    if (err != QProcess::FailedToStart) return;
    prc->deleteLater();
    NoViw(path, lge);
  });
  prc->setProcessChannelMode(QProcess::ForwardedChannels);
  prc->start(GuMnlOpnCmd, {pth});
}
