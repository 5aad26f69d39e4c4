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
#include <QSettings>
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
  box.setWindowTitle(QStr(caption));
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

// One open key. Every operation works on a QSettings of its own, so that the
// status it looks at is that of this operation (QSettings keeps the first
// error it met); the file's contents are shared and cached by Qt.
class TQtStore final : public ISettingsStore {
public:
  explicit TQtStore(TQtSettingsFactory& own) : FOwn(own) {}

  bool OpenKey(const std::string& key, bool canCreate) override {
    FOpn = false;
    std::string grp;
    if (!TQtSettingsFactory::KeyToGroup(key, grp)) return false;
    QSettings set(QSettings::NativeFormat, QSettings::UserScope, TQtSettingsFactory::GcOrg,
                  TQtSettingsFactory::GcApp);
    if (set.status() == QSettings::AccessError) return false;
    // A damaged file is read as far as it goes and written anew with the next
    // value: keep the original beside it. (Qt reports the damage to the
    // access that reads the changed file, at start-up this one.)
    if (set.status() == QSettings::FormatError) {
      const QString bad = set.fileName() + ".damaged";
      QFile::remove(bad);
      QFile::copy(set.fileName(), bad);
    }
    const bool exs = grp.empty() || Exists(set, QStr(grp)) || FOwn.Created(grp);
    if (!exs && !canCreate) return false;
    // A key that may be created must be writable.
    if (canCreate && !set.isWritable()) return false;
    if (!exs) FOwn.MarkCreated(grp);
    FGrp = QStr(grp);
    FOpn = true;
    return true;
  }

  std::string ReadString(const std::string& name) override {
    if (!FOpn) return {};
    QSettings set(QSettings::NativeFormat, QSettings::UserScope, TQtSettingsFactory::GcOrg,
                  TQtSettingsFactory::GcApp);
    const QVariant v = set.value(FullName(name));
    if (!v.isValid()) return {};
    // An INI value with unquoted commas reads as a list: give it back as written.
    if (v.typeId() == QMetaType::QStringList) return v.toStringList().join(", ").toStdString();
    return v.toString().toStdString();
  }

  bool WriteString(const std::string& name, const std::string& value) override {
    if (!FOpn || name.empty()) return false;
    QSettings set(QSettings::NativeFormat, QSettings::UserScope, TQtSettingsFactory::GcOrg,
                  TQtSettingsFactory::GcApp);
    if (!set.isWritable()) return false;
    set.setValue(FullName(name), QStr(value));
    set.sync();
    // FormatError stays from reading the damaged file; the write itself went through.
    return set.status() != QSettings::AccessError;
  }

private:
  QString FullName(const std::string& name) const {
    return FGrp.isEmpty() ? QStr(name) : FGrp + '/' + QStr(name);
  }

  // A group exists when it holds a value or a sub-group.
  static bool Exists(QSettings& set, const QString& grp) {
    set.beginGroup(grp);
    const bool any = !set.childKeys().isEmpty() || !set.childGroups().isEmpty();
    set.endGroup();
    return any;
  }

  TQtSettingsFactory& FOwn;
  QString FGrp;
  bool FOpn = false;
};

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

// ---------------------------------------------------------------- settings

bool TQtSettingsFactory::KeyToGroup(const std::string& key, std::string& group) {
  const std::string pfx = GcKeyPfx;
  std::string k = key;
  while (!k.empty() && k.back() == '\\') k.pop_back();
  if (k.size() < pfx.size() || !EqlNoCase(std::string_view(k).substr(0, pfx.size()), pfx)) return false;
  if (k.size() > pfx.size() && k[pfx.size()] != '\\') return false;
  std::string rest = k.size() > pfx.size() ? k.substr(pfx.size() + 1) : std::string();
  std::string grp;
  bool sep = false;
  for (char c : rest) {
    if (c == '\\' || c == '/') {
      sep = true;  // doubled separators make no empty group
      continue;
    }
    if (sep && !grp.empty()) grp += '/';
    sep = false;
    grp += c;
  }
  group = grp;
  return true;
}

bool TQtSettingsFactory::Created(const std::string& group) const {
  std::lock_guard<std::mutex> lk(FMtx);
  return FCrt.count(group) != 0;
}

void TQtSettingsFactory::MarkCreated(const std::string& group) {
  std::lock_guard<std::mutex> lk(FMtx);
  FCrt.insert(group);
}

std::unique_ptr<ISettingsStore> TQtSettingsFactory::Create() {
  return std::make_unique<TQtStore>(*this);
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
