#include "editor/qt/VioFldAcc.h"

#include <QAccessibleWidget>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QPointer>

#include <vector>

#include "core/Globals.h"
#include "editor/qt/VioFldViw.h"
#include "editor/VioKep.h"
#include "messages/SysMsgIdf.h"

namespace {

// The fields whose interfaces come from here.
std::vector<TVioFldAcc*>& Flds() {
  static std::vector<TVioFldAcc*> f;
  return f;
}

TVioFldAcc* FldOf(const QObject* fld) {
  for (TVioFldAcc* a : Flds())
    if (a->Viw().Fld() == fld) return a;
  return nullptr;
}

// On Linux Qt gives a combo box the item it shows as its name and leaves the
// name to a label that points at the box. The boxes of the vios (and of the
// dialogs) have no such label: a box that was given a name keeps it (one
// without a name is named by its item, as before), and the item it shows is
// its value and its text, which a screen reader reads as what the box holds.
class TCbxAcc final : public QAccessibleWidget, public QAccessibleTextInterface {
public:
  explicit TCbxAcc(QComboBox* cbx) : QAccessibleWidget(cbx, QAccessible::ComboBox) {
    // A new item is told as a change of the text, from the old item to the new.
    QObject::connect(cbx, &QComboBox::currentTextChanged, cbx, [cbx, old = cbx->currentText()](const QString& t) mutable {
      QAccessibleTextUpdateEvent e(cbx, 0, old, t);
      old = t;
      QAccessible::updateAccessibility(&e);
    });
  }
  void* interface_cast(QAccessible::InterfaceType t) override {
    if (t == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
  }
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Value || (t == QAccessible::Name && Cbx()->accessibleName().isEmpty()))
      return Cbx()->currentText();
    return QAccessibleWidget::text(t);
  }
  // The text: the item shown, read-only, without a selection.
  QString text(int from, int to) const override { return Cbx()->currentText().mid(from, to - from); }
  int characterCount() const override { return static_cast<int>(Cbx()->currentText().size()); }
  int cursorPosition() const override { return 0; }
  void setCursorPosition(int) override {}
  void selection(int, int* from, int* to) const override { *from = *to = 0; }
  int selectionCount() const override { return 0; }
  void addSelection(int, int) override {}
  void removeSelection(int) override {}
  void setSelection(int, int, int) override {}
  QRect characterRect(int) const override { return {}; }
  int offsetAtPoint(const QPoint&) const override { return -1; }
  void scrollToSubstring(int, int) override {}
  QString attributes(int, int* from, int* to) const override {
    *from = 0;
    *to = characterCount();
    return {};
  }

private:
  const QComboBox* Cbx() const { return static_cast<const QComboBox*>(widget()); }
};

bool CurHere(TVioFldAcc& fa, int col, int row) {
  const TVioPgmItp& m = fa.Viw().Mdl();
  const QWidget* f = fa.Viw().Fld();
  return f && f->hasFocus() && m.KeyCol() == col && m.KeyRow() == row;
}

// An empty cell, where the cell cursor may stand: named by the editor.
class TCelAcc final : public QAccessibleInterface {
public:
  TCelAcc(TVioFldAcc* fa, int col, int row) : FFa(fa), FiCol(col), FiRow(row) {}
  bool isValid() const override { return FFa && FFa->Viw().Fld(); }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return isValid() ? Fld()->window()->windowHandle() : nullptr; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QAccessibleInterface* parent() const override {
    return isValid() ? QAccessible::queryAccessibleInterface(Fld()) : nullptr;
  }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QString text(QAccessible::Text t) const override {
    if (t != QAccessible::Name || !isValid()) return {};
    return VioQStr(FFa->Acc().CelNam(FiCol, FiRow));
  }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override {
    if (!isValid()) return {};
    const TVioPgmItp& m = FFa->Viw().Mdl();
    const int w = m.CelWdt(), h = m.CelHgt();
    return {Fld()->mapToGlobal(QPoint(FiCol * w, FiRow * h)), QSize(w, h)};
  }
  QAccessible::Role role() const override { return QAccessible::Cell; }
  QAccessible::State state() const override {
    QAccessible::State s;
    s.focusable = true;
    if (!isValid()) {
      s.invisible = true;
      return s;
    }
    s.invisible = !Fld()->isVisible();
    s.focused = CurHere(*FFa, FiCol, FiRow);
    return s;
  }

private:
  QWidget* Fld() const { return FFa->Viw().Fld(); }
  QPointer<TVioFldAcc> FFa;
  int FiCol, FiRow;
};

// A vio panel: it can stand for the cell cursor, and has the focus while the cursor is on its vio.
class TPnlAcc final : public QAccessibleWidget {
public:
  TPnlAcc(TVioPnl* pnl, TVioFldAcc* fa) : QAccessibleWidget(pnl), FFa(fa) {}
  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    s.focusable = true;
    const TVio* v = static_cast<TVioPnl*>(widget())->Vio();
    if (FFa && v) s.focused = s.focused || CurHere(*FFa, v->Rec().GrdCol, v->Rec().GrdRow);
    return s;
  }

private:
  QPointer<TVioFldAcc> FFa;
};

// The field: its vios' panels, then its empty cells (the focus frame and the
// picture behind the vios are no part of the program).
class TFldAcc final : public QAccessibleWidget {
public:
  TFldAcc(QWidget* fld, TVioFldAcc* fa) : QAccessibleWidget(fld), FFa(fa) {}
  int childCount() const override {
    return static_cast<int>(Pnls().size() + (FFa ? FFa->EmpCls().size() : 0));
  }
  QAccessibleInterface* child(int idx) const override {
    const QList<TVioPnl*> pnl = Pnls();
    if (idx < 0) return nullptr;
    if (idx < pnl.size()) return QAccessible::queryAccessibleInterface(pnl[idx]);
    const std::vector<int> emp = FFa ? FFa->EmpCls() : std::vector<int>();
    const auto at = static_cast<std::size_t>(idx - pnl.size());
    return at < emp.size() ? FFa->Cel(emp[at]) : nullptr;
  }
  int indexOfChild(const QAccessibleInterface* c) const override {
    const QList<TVioPnl*> pnl = Pnls();
    if (!c) return -1;
    if (auto* p = qobject_cast<TVioPnl*>(c->object())) return static_cast<int>(pnl.indexOf(p));
    const std::vector<int> emp = FFa ? FFa->EmpCls() : std::vector<int>();
    for (std::size_t i = 0; i < emp.size(); ++i)
      if (FFa->Cel(emp[i]) == c) return static_cast<int>(pnl.size() + i);
    return -1;
  }
  QAccessibleInterface* focusChild() const override {
    return FFa && widget()->hasFocus() ? FFa->Cur() : QAccessibleWidget::focusChild();
  }

private:
  QList<TVioPnl*> Pnls() const { return widget()->findChildren<TVioPnl*>(Qt::FindDirectChildrenOnly); }
  QPointer<TVioFldAcc> FFa;
};

QAccessibleInterface* OwnAcc(const QString&, QObject* obj) {
  if (auto* cbx = qobject_cast<QComboBox*>(obj)) return new TCbxAcc(cbx);
  if (auto* pnl = qobject_cast<TVioPnl*>(obj))
    if (TVioFldAcc* fa = FldOf(pnl->parentWidget())) return new TPnlAcc(pnl, fa);
  if (TVioFldAcc* fa = FldOf(obj)) return new TFldAcc(static_cast<QWidget*>(obj), fa);
  return nullptr;
}

// The widget's interface from here: one Qt made before is dropped.
template <class T>
void Own(QWidget* w) {
  QAccessibleInterface* i = w ? QAccessible::queryAccessibleInterface(w) : nullptr;
  if (i && !dynamic_cast<T*>(i)) QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(i));
}

}  // namespace

void InsCbxAcc() {
  static const bool ins = [] {
    QAccessible::installFactory(&OwnAcc);
    return true;
  }();
  (void)ins;
}

TVioFldAcc::TVioFldAcc(TVioFldViw& viw) : FViw(viw), FAcc(viw.Mdl()) {
  InsCbxAcc();
  Flds().push_back(this);
  Own<TFldAcc>(FViw.Fld());
  if (QWidget* f = FViw.Fld()) f->installEventFilter(this);
  FViw.Mdl().AddObs(this);
  FTmr.setSingleShot(true);
  FTmr.setInterval(0);
  connect(&FTmr, &QTimer::timeout, this, &TVioFldAcc::Upd);
  FAcc.SetOnStl([this] { FTmr.start(); });
  FAcc.SetOnChg([this](TVio* v) { Apl(v); });
  RfsTxt();
}

TVioFldAcc::~TVioFldAcc() {
  FViw.Mdl().RmvObs(this);
  std::erase(Flds(), this);
  for (const auto& [idx, c] : FCls) QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(c));
}

void TVioFldAcc::Upd() {
  FTmr.stop();
  FAcc.Upd();
}

void TVioFldAcc::RfsTxt() {
  if (QWidget* f = FViw.Fld()) f->setAccessibleName(VioQStr(VioUsrMsg(FViw.Mdl(), SUM_ACC_FLD)));
  Upd();
}

std::vector<int> TVioFldAcc::EmpCls() const {
  const TVioPgmItp& m = FViw.Mdl();
  std::vector<int> out;
  for (int r = 0; r < m.GrdRws(); ++r)
    for (int c = 0; c < m.GrdCls(); ++c)
      if (m.Pgm().CelFre(c, r)) out.push_back(c + r * m.GrdCls());
  return out;
}

QAccessibleInterface* TVioFldAcc::Cel(int idx) {
  QAccessibleInterface*& c = FCls[idx];
  if (!c) {
    const int cls = FViw.Mdl().GrdCls();
    c = new TCelAcc(this, idx % cls, idx / cls);
    QAccessible::registerAccessibleInterface(c);
  }
  return c;
}

QAccessibleInterface* TVioFldAcc::Cur() {
  const TVioPgmItp& m = FViw.Mdl();
  if (TVioPnl* p = FViw.Pnl(m.KeyVio())) return QAccessible::queryAccessibleInterface(p);
  return Cel(m.KeyCol() + m.KeyRow() * m.GrdCls());
}

bool TVioFldAcc::eventFilter(QObject* obj, QEvent* e) {
  // Qt tells of the field's own focus after this event: the cursor follows it.
  if (obj == FViw.Fld() && e->type() == QEvent::FocusIn)
    QMetaObject::invokeMethod(this, &TVioFldAcc::TelCur, Qt::QueuedConnection);
  return false;
}

void TVioFldAcc::TelCur() {
  const QWidget* f = FViw.Fld();
  if (!f || !f->hasFocus()) return;
  Upd();
  if (QAccessibleInterface* c = Cur()) {
    QAccessibleEvent e(c, QAccessible::Focus);
    QAccessible::updateAccessibility(&e);
  }
}

void TVioFldAcc::Apl(TVio* vio) {
  TVioPnl* pnl = FViw.Pnl(vio);
  if (!pnl) return;
  Own<TPnlAcc>(pnl);
  const QString nam = VioQStr(FAcc.VioNam(vio));
  // Qt tells an assistive technology of each changed name and description.
  if (pnl->accessibleName() != nam) pnl->setAccessibleName(nam);
  for (int c = 0; c < static_cast<int>(pnl->Ctls().size()); ++c) {
    QWidget* w = pnl->Ctl(c);
    const QString ctl = VioQStr(FAcc.CtlNam(vio, c));
    if (!w || ctl.isEmpty()) continue;
    std::vector<QWidget*> tgt{w};
    // The text field of a box one types into is named as the box.
    if (auto* cbx = qobject_cast<QComboBox*>(w); cbx && cbx->lineEdit()) tgt.push_back(cbx->lineEdit());
    for (QWidget* t : tgt) {
      if (t->accessibleName() != ctl) t->setAccessibleName(ctl);
      if (t->accessibleDescription() != nam) t->setAccessibleDescription(nam);
    }
  }
}
