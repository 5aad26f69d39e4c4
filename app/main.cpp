// Program entry: the four windows in their order, then the event loop.
#include <QApplication>

#include <memory>

#include "app/AppIto.h"
#include "app/HlpInf.h"
#include "app/Options.h"
#include "app/VslCnv.h"
#include "app/platform/QtPlatform.h"
#include "core/Globals.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // The main window ends the run when it is closed; the other windows may still be open.
  QApplication::setQuitOnLastWindowClosed(false);
  TQtPlatform platform;

  auto vslCnv = std::make_unique<TfrmVslCnv>();
  frmVslCnv = vslCnv.get();
  // A missing data file or settings store has been reported: end before the event loop.
  if (platform.EvtLoop().TerminateRequested()) return 1;
  auto options = std::make_unique<TfrmOptions>();
  frmOptions = options.get();
  auto appIto = std::make_unique<TfrmAppIto>(GuInsDir);
  frmAppIto = appIto.get();
  auto hlpInf = std::make_unique<TfrmHlpInf>();
  frmHlpInf = hlpInf.get();

  vslCnv->show();
  int rc = app.exec();

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
