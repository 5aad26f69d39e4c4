#include "core/qt/QtStgSto.h"

#include <QFile>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariant>

#include "core/StrUtl.h"

namespace {

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
    const bool exs = grp.empty() || Exists(set, QString::fromStdString(grp)) || FOwn.Created(grp);
    if (!exs && !canCreate) return false;
    // A key that may be created must be writable.
    if (canCreate && !set.isWritable()) return false;
    if (!exs) FOwn.MarkCreated(grp);
    FGrp = QString::fromStdString(grp);
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
    set.setValue(FullName(name), QString::fromStdString(value));
    set.sync();
    // FormatError stays from reading the damaged file; the write itself went through.
    return set.status() != QSettings::AccessError;
  }

private:
  QString FullName(const std::string& name) const {
    return FGrp.isEmpty() ? QString::fromStdString(name) : FGrp + '/' + QString::fromStdString(name);
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
