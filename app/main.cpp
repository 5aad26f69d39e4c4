// Program entry: the four windows in their order, then the event loop.
#include <QFileInfo>
#include <QStringList>

#include <memory>

#include "app/AppIto.h"
#include "app/HlpInf.h"
#include "app/Options.h"
#include "app/TssApp.h"
#include "app/VslCnv.h"
#include "app/VslDoc.h"
#include "app/platform/QtFilDlg.h"
#include "app/platform/QtPlatform.h"
#include "core/Globals.h"
#include "editor/VioKep.h"

namespace {

int Run(TQtPlatform& platform, QApplication& app) {
  TVslCnvCfg cfg;
  cfg.RcvPth = TVioRcv::DftPth();  // the recovery copy of a changed program
  auto vslCnv = std::make_unique<TfrmVslCnv>(nullptr, std::move(cfg));
  frmVslCnv = vslCnv.get();
  // A missing data file or settings store has been reported: end before the event loop.
  if (platform.EvtLoop().TerminateRequested()) {
    frmVslCnv = nullptr;
    return 1;
  }
  // "tessaro FILE.vio": the file is opened after the intro.
  const QStringList args = QCoreApplication::arguments();
  if (args.size() > 1) vslCnv->Doc().SetCmdFil(QFileInfo(args[1]).absoluteFilePath().toLocal8Bit().toStdString());
  auto options = std::make_unique<TfrmOptions>();
  frmOptions = options.get();
  auto appIto = std::make_unique<TfrmAppIto>(GuInsDir);
  frmAppIto = appIto.get();
  auto hlpInf = std::make_unique<TfrmHlpInf>();
  frmHlpInf = hlpInf.get();

  vslCnv->show();
  const int rc = app.exec();

  // Windows go in the reverse order of their creation, the main window last.
  frmHlpInf = nullptr;
  hlpInf.reset();
  frmAppIto = nullptr;
  appIto.reset();
  frmOptions = nullptr;
  options.reset();
  frmVslCnv = nullptr;
  vslCnv.reset();
  return rc;
}

}  // namespace

int main(int argc, char** argv) {
  TTssApp app(argc, argv);
  // The main window ends the run when it is closed; the other windows may still be open.
  QApplication::setQuitOnLastWindowClosed(false);
  TQtPlatform platform;
  TQtFilDlgIns filDlg;
  try {
    return Run(platform, app);
  } catch (...) {
    ShwExc();
    return 1;
  }
}
