#include "ScnAcc.h"

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QWidget>

#include <algorithm>
#include <set>

#include "app/VslAcc.h"
#include "editor/qt/VioFldViw.h"

namespace {

bool IsCtl(QAccessibleInterface* i) {
  using A = QAccessible;
  static const std::set<A::Role> ctl = {A::PushButton, A::CheckBox, A::RadioButton, A::ComboBox, A::EditableText,
                                        A::Slider,     A::SpinBox,  A::Dial,        A::MenuItem, A::ButtonMenu,
                                        A::ButtonDropDown, A::List, A::Table,       A::Tree,     A::PageTab};
  return ctl.count(i->role()) || qobject_cast<TVioPnl*>(i->object());
}

QString AccNam(QAccessibleInterface* i) { return i->text(QAccessible::Name); }

bool CbxPrt(QAccessibleInterface* i) {
  auto* e = qobject_cast<QLineEdit*>(i->object());
  return e && qobject_cast<QComboBox*>(e->parent());
}

std::string Nam(QAccessibleInterface* i) {
  QObject* o = i->object();
  if (!o) return "?";
  if (!o->objectName().isEmpty()) return o->objectName().toStdString();
  const QObject* p = o->parent();
  return std::string(o->metaObject()->className()) + (p ? " in " + p->objectName().toStdString() : "");
}

void Walk(QAccessibleInterface* i, std::set<std::string>& out, int depth) {
  if (!i || depth > 40 || i->state().invisible) return;
  if (IsCtl(i) && !CbxPrt(i) && AccNam(i).trimmed().isEmpty())
    out.insert(Nam(i));
  for (int k = 0; k < i->childCount(); ++k) Walk(i->child(k), out, depth + 1);
}

}  // namespace

std::string UnnamedCtls(const std::vector<QObject*>& roots) {
  std::set<std::string> out;
  for (QObject* r : roots) {
    Walk(QAccessible::queryAccessibleInterface(r), out, 0);
    // The items of the menus, which are hidden until they open.
    for (QMenu* m : r->findChildren<QMenu*>()) {
      QAccessibleInterface* i = QAccessible::queryAccessibleInterface(m);
      for (int k = 0; i && k < i->childCount(); ++k) {
        QAccessibleInterface* c = i->child(k);
        const auto* a = qobject_cast<QAction*>(c->object());
        if (a && a->isVisible() && !a->isSeparator() && c->text(QAccessible::Name).trimmed().isEmpty())
          out.insert(m->objectName().toStdString() + " item " + std::to_string(k + 1));
      }
    }
  }
  std::string s;
  for (const auto& n : out) s += (s.empty() ? "" : ", ") + n;
  return s.empty() ? "none" : s;
}

QObject* FndObj(const std::vector<QObject*>& roots, const std::string& name) {
  for (QObject* r : roots) {
    if (r->objectName().toStdString() == name) return r;
    // A tool button's action shares its name: the widget is meant.
    if (QObject* o = r->findChild<QWidget*>(QString::fromStdString(name))) return o;
  }
  return nullptr;
}

std::string AccTxt(QObject* obj) {
  QAccessibleInterface* i = obj ? QAccessible::queryAccessibleInterface(obj) : nullptr;
  if (!i) return "(none)";
  const QString d = i->text(QAccessible::Description);
  return (AccNam(i) + (d.isEmpty() ? QString() : "|" + d)).toStdString();
}

std::vector<std::string>& Anced() {
  static std::vector<std::string> a;
  return a;
}

void RecAnc(bool on) {
  Anced().clear();
  // What a screen reader hears: a notification that shows, by its name.
  TVslAcc::GpUpd = on ? +[](QAccessibleEvent* e) {
    QAccessibleInterface* i = e->type() == QAccessible::ObjectShow ? e->accessibleInterface() : nullptr;
    const auto* w = i ? qobject_cast<QWidget*>(i->object()) : nullptr;
    if (w && w->isVisible() && i->role() == QAccessible::Notification)
      Anced().push_back(i->text(QAccessible::Name).toStdString());
  } : nullptr;
}
