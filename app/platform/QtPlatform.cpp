#include "app/platform/QtPlatform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QMetaObject>
#include <QPointer>
#include <QString>
#include <QThread>
#include <QTranslator>
#include <QWidget>

#include <cstdio>

#include "app/platform/QtStr.h"
#include "core/StrUtl.h"
#include "sound/qt/QtSoundOut.h"

namespace {

bool OnAppThread() {
  QCoreApplication* app = QCoreApplication::instance();
  return app && QThread::currentThread() == app->thread();
}

}  // namespace

void PrpMsgBox(QMessageBox& box, const std::string& text, const std::string& caption) {
  box.setWindowTitle(QStr(caption));
  // Plain text, never read as markup, so that a screen reader gets the words;
  // a box without a caption is named by its text.
  box.setTextFormat(Qt::PlainText);
  box.setText(QStr(text));
  box.setAccessibleName(QStr(caption.empty() ? text : caption));
  box.setAccessibleDescription(QStr(text));
}

namespace {

TeMsgAns ShwBox(const std::string& text, const std::string& caption, TeMsgBtn buttons) {
  QMessageBox::StandardButtons btns = QMessageBox::Ok;
  QMessageBox::StandardButton def = QMessageBox::Ok;
  switch (buttons) {
    case TeMsgBtn::Ok: btns = QMessageBox::Ok; def = QMessageBox::Ok; break;
    case TeMsgBtn::OkCancel: btns = QMessageBox::Ok | QMessageBox::Cancel; def = QMessageBox::Ok; break;
    case TeMsgBtn::YesNo: btns = QMessageBox::Yes | QMessageBox::No; def = QMessageBox::Yes; break;
    case TeMsgBtn::YesNoCancel:
      btns = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
      def = QMessageBox::Yes;
      break;
    case TeMsgBtn::SavDscCnc:
      btns = QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel;
      def = QMessageBox::Save;
      break;
  }
  QMessageBox box(QMessageBox::NoIcon, QStr(caption), QStr(text), btns, QApplication::activeWindow());
  box.setDefaultButton(def);
  PrpMsgBox(box, text, caption);
  const int res = box.exec();
  switch (res) {
    case QMessageBox::Ok: return TeMsgAns::Ok;
    case QMessageBox::Cancel: return TeMsgAns::Cancel;
    case QMessageBox::Yes: return TeMsgAns::Yes;
    case QMessageBox::No: return TeMsgAns::No;
    case QMessageBox::Save: return TeMsgAns::Sav;
    case QMessageBox::Discard: return TeMsgAns::Dsc;
    default: break;
  }
  // Closed by the window's close button or Escape without an escape button.
  switch (buttons) {
    case TeMsgBtn::Ok: return TeMsgAns::Ok;
    case TeMsgBtn::YesNo: return TeMsgAns::No;
    default: return TeMsgAns::Cancel;
  }
}

}  // namespace

// ---------------------------------------------------------------- message box

TeMsgAns TQtMsgBox::Show(const std::string& text, const std::string& caption, TeMsgBtn buttons) {
  QCoreApplication* app = QCoreApplication::instance();
  if (!qobject_cast<QApplication*>(app)) {
    // No widgets to show a box with: say it on stderr and take the default.
    std::fprintf(stderr, "%s%s%s\n", caption.c_str(), caption.empty() ? "" : ": ", text.c_str());
    return buttons == TeMsgBtn::YesNo || buttons == TeMsgBtn::YesNoCancel ? TeMsgAns::Yes : TeMsgAns::Ok;
  }
  if (OnAppThread()) return ShwBox(text, caption, buttons);
  // A worker thread. A box with only Ok has nothing to answer: it is queued
  // to the GUI thread and the worker goes on, so that a GUI thread that waits
  // for the worker cannot lock up with it.
  if (buttons == TeMsgBtn::Ok) {
    QMetaObject::invokeMethod(
        app, [text, caption] { ShwBox(text, caption, TeMsgBtn::Ok); }, Qt::QueuedConnection);
    return TeMsgAns::Ok;
  }
  // A question: show it on the GUI thread and wait for the answer.
  TeMsgAns ans = TeMsgAns::Ok;
  QMetaObject::invokeMethod(
      app, [&] { ans = ShwBox(text, caption, buttons); }, Qt::BlockingQueuedConnection);
  return ans;
}

// ---------------------------------------------------------------- event loop

TQtEvtLoop::TQtEvtLoop() : FCrtThr(QThread::currentThread()) {}

void TQtEvtLoop::PrcMsg() {
  if (OnUiThread()) QCoreApplication::processEvents();
}

void TQtEvtLoop::Terminate() {
  FTrm = true;
  QCoreApplication::quit();
}

bool TQtEvtLoop::TerminateRequested() const { return FTrm; }

bool TQtEvtLoop::OnUiThread() const {
  if (QCoreApplication::instance()) return OnAppThread();
  return QThread::currentThread() == FCrtThr;
}

// ---------------------------------------------------------------- all seams

struct TQtPlatform::TImp {
  TQtMsgBox MsgBox;
  TQtSoundOut Sound;
  TQtEvtLoop EvtLoop;
  TQtSettingsFactory Settings;
};

TQtPlatform::TQtPlatform()
    : FImp(std::make_unique<TImp>()),
      FPrv(SetPlatform({&FImp->MsgBox, &FImp->Sound, &FImp->EvtLoop, &FImp->Settings})) {}

TQtPlatform::~TQtPlatform() { SetPlatform(FPrv); }

TQtMsgBox& TQtPlatform::MsgBox() { return FImp->MsgBox; }
TQtSoundOut& TQtPlatform::Sound() { return FImp->Sound; }
TQtEvtLoop& TQtPlatform::EvtLoop() { return FImp->EvtLoop; }
TQtSettingsFactory& TQtPlatform::Settings() { return FImp->Settings; }

// ---------------------------------------------------------------- language

namespace {
// The one translation of the toolkit's texts in use; owned by the application.
QPointer<QTranslator> GpQtTrn;
}  // namespace

bool SetQtLge(std::uint8_t lge) {
  // Dates, sizes and kinds of file in the dialogs follow the language too;
  // English keeps the desktop's own formats.
  static const QLocale GcDskLoc;
  QLocale::setDefault(lge == 1 ? QLocale(QLocale::Dutch, QLocale::Netherlands)
                      : lge == 2 ? QLocale(QLocale::German, QLocale::Germany)
                                 : GcDskLoc);
  if (GpQtTrn) {
    QCoreApplication::removeTranslator(GpQtTrn);
    delete GpQtTrn;
  }
  if (lge != 1 && lge != 2) return true;
  QCoreApplication* app = QCoreApplication::instance();
  if (!app) return false;
  auto* trn = new QTranslator(app);
  const QString fil = QStringLiteral("qtbase_") + (lge == 1 ? QStringLiteral("nl") : QStringLiteral("de"));
  if (!trn->load(fil, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete trn;
    return false;
  }
  QCoreApplication::installTranslator(trn);
  GpQtTrn = trn;
  return true;
}
