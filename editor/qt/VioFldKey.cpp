#include "editor/qt/VioFldKey.h"

#include <QKeyEvent>
#include <algorithm>
#include <QPainter>
#include <QScrollArea>

#include "editor/qt/VioFldViw.h"

namespace {

using TeKey = TVioPgmItp::TeKey;

// A black, a white and a black line: the frame stands out on every vio
// colour and on any picture behind the field.
class TKeyFrm final : public QWidget {
public:
  explicit TKeyFrm(QWidget* fld) : QWidget(fld) {
    setObjectName("frmKeyCur");
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
  }

protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    const QRect r = rect();
    p.setPen(Qt::NoPen);
    const QColor lin[] = {Qt::black, Qt::black, Qt::white, Qt::white, Qt::black};
    for (int i = 0; i < 5; ++i) {
      p.setBrush(lin[i]);
      const QRect in = r.adjusted(i, i, -i, -i);
      p.drawRect(in.left(), in.top(), in.width(), 1);
      p.drawRect(in.left(), in.bottom(), in.width(), 1);
      p.drawRect(in.left(), in.top(), 1, in.height());
      p.drawRect(in.right(), in.top(), 1, in.height());
    }
  }
};

bool Arrow(int key, TeKey& k) {
  switch (key) {
    case Qt::Key_Left: k = TeKey::Lft; return true;
    case Qt::Key_Right: k = TeKey::Rgt; return true;
    case Qt::Key_Up: k = TeKey::Upp; return true;
    case Qt::Key_Down: k = TeKey::Dwn; return true;
    default: return false;
  }
}

}  // namespace

TVioFldKey::TVioFldKey(TVioFldViw& viw) : FViw(viw), FMdl(viw.Mdl()) {
  QWidget* fld = FViw.Fld();
  if (fld) {
    FpFrm = new TKeyFrm(fld);
    fld->installEventFilter(this);
  }
  FMdl.AddObs(this);
  for (TVio* v : FMdl.Vios()) {
    VioAdd(v);
    for (std::size_t i = 0; i < v->Ctls().size(); ++i) CtlChg(v, static_cast<int>(i));
  }
  ShwFrm();
}

TVioFldKey::~TVioFldKey() {
  FMdl.RmvObs(this);
  delete FpFrm.data();
}

void TVioFldKey::VioAdd(TVio* vio) {
  // A click on a vio puts the cursor on it once the press and release are done.
  if (TVioPnl* p = FViw.Pnl(vio)) p->installEventFilter(this);
  ShwFrm();
}

void TVioFldKey::CtlChg(TVio* vio, int ctl) {
  TVioPnl* p = FViw.Pnl(vio);
  QWidget* w = p ? p->Ctl(ctl) : nullptr;
  if (!w || !(qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w))) return;
  w->installEventFilter(this);
  if (auto* b = qobject_cast<QComboBox*>(w); b && b->lineEdit()) b->lineEdit()->installEventFilter(this);
}

void TVioFldKey::ShwFrm() {
  QWidget* fld = FViw.Fld();
  if (!FpFrm || !fld) return;
  const int w = FMdl.CelWdt(), h = FMdl.CelHgt();
  FpFrm->setGeometry(FMdl.KeyCol() * w, FMdl.KeyRow() * h, w, h);
  FpFrm->raise();
  FpFrm->setVisible(fld->hasFocus());
  if (!fld->hasFocus()) return;
  // The cell comes into sight where the window shows only a part of the field.
  for (QWidget* up = fld->parentWidget(); up; up = up->parentWidget())
    if (auto* sa = qobject_cast<QScrollArea*>(up)) {
      sa->ensureWidgetVisible(FpFrm, 0, 0);
      break;
    }
}

bool TVioFldKey::eventFilter(QObject* obj, QEvent* e) {
  QWidget* fld = FViw.Fld();
  if (obj == fld) {
    if (e->type() == QEvent::FocusIn || e->type() == QEvent::FocusOut) ShwFrm();
    if (e->type() == QEvent::KeyPress && FldKey(static_cast<QKeyEvent*>(e))) return true;
    return false;
  }
  if (qobject_cast<TVioPnl*>(obj)) {
    if (e->type() == QEvent::MouseButtonRelease)
      QMetaObject::invokeMethod(this, [this] {
        if (TVio* v = FMdl.CurVio()) FMdl.SetKeyCur(v->Rec().GrdCol, v->Rec().GrdRow);
        ShwFrm();
      }, Qt::QueuedConnection);
    return false;
  }
  if (e->type() == QEvent::KeyPress && PrmKey(qobject_cast<QWidget*>(obj), static_cast<QKeyEvent*>(e))) return true;
  return false;
}

bool TVioFldKey::FldKey(const QKeyEvent* e) {
  const Qt::KeyboardModifiers mod = e->modifiers() & ~Qt::KeypadModifier;
  const bool ctl = mod == Qt::ControlModifier;
  TeKey k;
  if (mod == Qt::ShiftModifier && Arrow(e->key(), k)) return FMdl.SelKey(k);
  if (mod != Qt::NoModifier && !ctl) return false;
  if (Arrow(e->key(), k)) return FMdl.FldKey(k, ctl);
  switch (e->key()) {
    case Qt::Key_Delete: return FMdl.FldKey(TeKey::Del, ctl);
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_F2: {
      const bool done = FMdl.FldKey(TeKey::Ent, ctl);
      // What is typed replaces the value, as after Tab.
      QWidget* f = FViw.Fld() ? FViw.Fld()->window()->focusWidget() : nullptr;
      if (auto* cbx = qobject_cast<QComboBox*>(f); cbx && cbx->lineEdit()) f = cbx->lineEdit();
      if (auto* edt = qobject_cast<QLineEdit*>(f)) edt->selectAll();
      return done;
    }
    default: break;
  }
  const QString t = e->text();
  if (ctl || t.size() != 1 || !t.at(0).isLetter()) return false;
  return FMdl.FldKey(TeKey::Chr, false, t.at(0).toLatin1());
}

bool TVioFldKey::PrmKey(QWidget* ctl, const QKeyEvent* e) {
  // A combo box's own line edit stands for the box.
  if (ctl && qobject_cast<QComboBox*>(ctl->parentWidget())) ctl = ctl->parentWidget();
  auto* p = ctl ? qobject_cast<TVioPnl*>(ctl->parentWidget()) : nullptr;
  TVio* vio = p ? p->Vio() : nullptr;
  if (!vio) return false;
  if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier) {
    FMdl.PrmEsc(vio);
    // The field takes the focus: the control's check runs, and a refused
    // value keeps it there.
    FViw.FocFld();
    return true;
  }
  const bool back = e->key() == Qt::Key_Backtab || (e->key() == Qt::Key_Tab && (e->modifiers() & Qt::ShiftModifier));
  if (!back && e->key() != Qt::Key_Tab) return false;
  const auto& ctls = p->Ctls();
  const auto at = std::find(ctls.begin(), ctls.end(), ctl);
  const int idx = at == ctls.end() ? -1 : static_cast<int>(at - ctls.begin());
  if (QWidget* nxt = p->Ctl(FMdl.PrmCtl(vio, idx, back)); nxt && nxt != ctl)
    nxt->setFocus(back ? Qt::BacktabFocusReason : Qt::TabFocusReason);
  return true;
}
