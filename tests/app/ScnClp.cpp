// The scenarios' commands and names of the selection and the clipboard: a
// drag of the mouse over the field's cells, the rectangle the field shows,
// the system clipboard's text.
#include <QApplication>
#include <QClipboard>
#include <QMouseEvent>
#include <QTest>

#include "ScnWnd.h"

namespace scn {

bool Wnd::OnClp(const std::vector<std::string>& w) {
  if (w[0] != "drag-cells") return false;
  // From the middle of one cell (from 1) to the middle of another, the left
  // button held: the widget under the pointer at the press takes the moves and
  // the release, as the window system's grab gives them.
  QWidget& fld = W->Fld().Pnl();
  const TVioPgmItp& e = W->Edt();
  auto at = [&](std::size_t i) {
    return QPoint((std::stoi(w.at(i)) - 1) * e.CelWdt() + e.CelWdt() / 2,
                  (std::stoi(w.at(i + 1)) - 1) * e.CelHgt() + e.CelHgt() / 2);
  };
  const QPoint a = at(1), b = at(3);
  QWidget* r = fld.childAt(a);
  if (!r) r = &fld;
  auto snd = [&](QEvent::Type t, QPoint p, Qt::MouseButton btn, Qt::MouseButtons bs) {
    const QPoint l = r->mapFrom(&fld, p);
    QMouseEvent ev(t, l, r->mapToGlobal(l), btn, bs, Qt::NoModifier);
    QApplication::sendEvent(r, &ev);
  };
  snd(QEvent::MouseButtonPress, a, Qt::LeftButton, Qt::LeftButton);
  snd(QEvent::MouseMove, (a + b) / 2, Qt::NoButton, Qt::LeftButton);
  snd(QEvent::MouseMove, b, Qt::NoButton, Qt::LeftButton);
  snd(QEvent::MouseButtonRelease, b, Qt::LeftButton, Qt::NoButton);
  return true;
}

std::optional<std::string> Wnd::ObsClp(const std::string& n) {
  if (n == "clipboard") {  // its lines, " | " between
    const QString t = QApplication::clipboard()->text();
    return t.isEmpty() ? "(empty)" : t.trimmed().replace("\r\n", " | ").toStdString();
  }
  if (n != "selection") return std::nullopt;
  // The cells the rectangle's frame covers, from 1, or hidden.
  const QWidget* f = W->Fld().Pnl().findChild<QWidget*>("frmSelRct");
  if (!f || !f->isVisible()) return "hidden";
  const TVioPgmItp& e = W->Edt();
  const QRect g = f->geometry();
  return std::to_string(g.left() / e.CelWdt() + 1) + " " + std::to_string(g.top() / e.CelHgt() + 1) + " - " +
         std::to_string((g.right() + 1) / e.CelWdt()) + " " + std::to_string((g.bottom() + 1) / e.CelHgt());
}

}  // namespace scn
