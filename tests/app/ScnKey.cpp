#include "ScnKey.h"

#include <QApplication>
#include <QComboBox>
#include <QKeySequence>
#include <QLineEdit>
#include <QTest>
#include <QWindow>

#include "app/VslCnv.h"
#include "app/VslFld.h"
#include "core/Globals.h"
#include "editor/VioPgmItp.h"
#include "editor/qt/VioFldViw.h"

namespace {

void Key(TfrmVslCnv& w, Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) { QTest::keyClick(ScnFoc(w), k, m); }

// A combo box's own line edit stands for the box.
QWidget* Own(QWidget* f) {
  if (f && qobject_cast<QComboBox*>(f->parentWidget())) return f->parentWidget();
  return f;
}

std::string At(const TVio& v) {
  return " at " + std::to_string(v.Rec().GrdCol) + "," + std::to_string(v.Rec().GrdRow);
}

// Sets one parameter control, which has the focus, to the wanted text.
std::string SetPrm(TfrmVslCnv& w, QWidget* ctl, const std::string& want) {
  auto* b = qobject_cast<QComboBox*>(ctl);
  if (b && !b->isEditable()) {
    const int to = b->findText(VioQStr(want), Qt::MatchFixedString);
    if (to < 0) return "no item " + want;
    for (int i = b->currentIndex(); i < to; ++i) Key(w, Qt::Key_Down);
    for (int i = b->currentIndex(); i > to; --i) Key(w, Qt::Key_Up);
    return {};
  }
  const QString now = b ? b->currentText() : static_cast<QLineEdit*>(ctl)->text();
  Key(w, Qt::Key_End);
  for (qsizetype i = 0; i < now.size(); ++i) Key(w, Qt::Key_Backspace);
  ScnTyp(w, want);
  return {};
}

// Into the vio's parameters, each that differs from the file's set, and back.
std::string TypPrm(TfrmVslCnv& w, TVio& vio, const TuVioRec& want, bool f2) {
  TVioPgmItp& edt = w.Edt();
  if (edt.PrmCtl(&vio, -1, false) < 0) return {};
  // An engine speed vio takes the focus into its edit when it is made.
  if (ScnFoc(w) == &w.Fld().Pnl()) Key(w, f2 ? Qt::Key_F2 : Qt::Key_Return);
  TVioPnl* pnl = w.Fld().Viw()->Pnl(&vio);
  // The value before the command: a command may hide the value's edit.
  for (std::uint8_t rol : {CR_SAR_TYP, CR_VAL, CR_SAR_COM, CR_LBL_NAM, CR_GTO_NAM, CR_SPD}) {
    const std::string* txt = want.Prm(rol);
    const bool cbx = rol != CR_VAL && rol != CR_SPD;
    const int ctl = vio.FndCtl(cbx ? TeCtlKnd::Cbx : TeCtlKnd::Edt, rol);
    if (!txt || ctl < 0 || vio.CtlTxt(ctl) == *txt) continue;
    QWidget* tgt = pnl->Ctl(ctl);
    for (int i = 0; i < 6 && Own(ScnFoc(w)) != tgt; ++i) Key(w, Qt::Key_Tab);
    if (Own(ScnFoc(w)) != tgt) return "Tab does not reach control " + std::to_string(ctl) + At(vio);
    if (std::string e = SetPrm(w, tgt, *txt); !e.empty()) return e + At(vio);
    if (rol == CR_LBL_NAM) Key(w, Qt::Key_Return);
    if (vio.CtlTxt(ctl) != *txt) return "control " + std::to_string(ctl) + " shows " + vio.CtlTxt(ctl) + At(vio);
  }
  Key(w, Qt::Key_Escape);
  if (ScnFoc(w) != &w.Fld().Pnl()) return "Escape does not return to the field from" + At(vio);
  return {};
}

}  // namespace

QWidget* ScnFoc(TfrmVslCnv& w) {
  QWidget* f = QApplication::focusWidget();
  if (!f) f = w.focusWidget();
  return f ? f : &w;
}

void ScnKey(TfrmVslCnv& w, const std::string& key) {
  const QKeyCombination c = QKeySequence(QString::fromStdString(key))[0];
  QTest::keyClick(ScnFoc(w), c.key(), c.keyboardModifiers());
}

void ScnTyp(TfrmVslCnv& w, const std::string& txt) { QTest::keyClicks(ScnFoc(w), QString::fromStdString(txt)); }

std::string ScnFocNam() {
  QWidget* f = Own(QApplication::focusWidget());
  if (!f) return "none";
  if (auto* p = qobject_cast<TVioPnl*>(f->parentWidget()))
    for (std::size_t i = 0; i < p->Ctls().size(); ++i)
      if (p->Ctls()[i] == f) return "ctl" + std::to_string(i);
  return f->objectName().isEmpty() ? f->metaObject()->className() : f->objectName().toStdString();
}

std::string ScnTypPgm(TfrmVslCnv& w, const std::string& path, const std::string& tknFil) {
  TVioPgmItp src(nullptr);
  src.CrtVioFld(800, 600);
  src.SetLgeIdx(0);
  src.SetAvlCol(0);
  if (!src.SarAndTkn().LodTknFil(tknFil) || !src.LodVioFil(path)) return "cannot read: " + GuLstErrMsg;
  TVioPgmItp& edt = w.Edt();
  bool f2 = false;
  for (const TVio* v : src.Vios()) {
    if (ScnFoc(w) != &w.Fld().Pnl()) return "the field has not the focus before the vio" + At(*v);
    for (int i = 0; i < 24 && edt.KeyCol() != v->Rec().GrdCol; ++i)
      Key(w, edt.KeyCol() < v->Rec().GrdCol ? Qt::Key_Right : Qt::Key_Left);
    for (int i = 0; i < 24 && edt.KeyRow() != v->Rec().GrdRow; ++i)
      Key(w, edt.KeyRow() < v->Rec().GrdRow ? Qt::Key_Down : Qt::Key_Up);
    const int cnt = edt.GetVioCnt();
    const char k = TVioPgmItp::VioTypKey(v->Rec().VioTyp);
    Key(w, static_cast<Qt::Key>(Qt::Key_A + (k - 'A')));
    if (edt.GetVioCnt() != cnt + 1) return std::string("the key ") + k + " made no vio" + At(*v);
    TVio* nv = edt.Vios().back();
    if (nv->Rec().GrdCol != v->Rec().GrdCol || nv->Rec().GrdRow != v->Rec().GrdRow) return "the new vio stands" + At(*nv);
    if (std::string e = TypPrm(w, *nv, v->Rec(), f2); !e.empty()) return e;
    f2 = !f2;
  }
  return {};
}

bool ScnDblClkSta(TfrmVslCnv& w) {
  TVio* sta = nullptr;
  for (TVio* v : w.Edt().Vios())
    if (v->Rec().VioTyp == VT_STA) sta = v;
  TVioPnl* pnl = sta ? w.Fld().Viw()->Pnl(sta) : nullptr;
  QWindow* win = w.windowHandle();
  if (!pnl || !win) return false;
  // A point of the panel itself, clear of its frame and of any control.
  const QPoint at = win->mapFromGlobal(pnl->mapToGlobal(QPoint(pnl->width() / 2, pnl->height() - 4)));
  QTest::mouseDClick(win, Qt::LeftButton, Qt::NoModifier, at);
  QApplication::processEvents();
  return true;
}
