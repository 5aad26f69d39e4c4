#include "app/TssApp.h"

#include <exception>
#include <string>

#include "core/Seams.h"

void ShwExc() {
  try {
    throw;
  } catch (const std::exception& e) {
    ShwMsgBox(e.what());
  } catch (...) {
    ShwMsgBox("Unknown error");
  }
}

bool TTssApp::notify(QObject* receiver, QEvent* e) {
  try {
    return QApplication::notify(receiver, e);
  } catch (...) {
    ShwExc();
    return false;
  }
}
