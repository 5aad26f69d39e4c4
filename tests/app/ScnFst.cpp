// The scenarios' commands and names of the guided first program (app/FstGui.h):
// a block of its own beside the other tables.
#include "ScnWnd.h"

#include "app/FstGui.h"

namespace scn {

// guide (before the window: it may show by itself), click-pointed, guide-next, guide-skip.
bool Wnd::OnGuide(const std::vector<std::string>& w) {
  const std::string& c = w[0];
  if (c == "guide") Gui = true;
  else if (c == "click-pointed") {
    // The user clicks what the mark shows: it must be a button that can be clicked.
    auto* b = qobject_cast<QAbstractButton*>(W->Fst().Pnt());
    if (!b || !b->isEnabled() || !W->Fst().Mrk().isVisible()) return ADD_FAILURE() << Where << "nothing marked to click", true;
    b->click();
  } else if (c == "guide-next" || c == "guide-skip") {
    QPushButton& b = W->Fst().Btn(c == "guide-skip");
    if (!b.isVisible()) return ADD_FAILURE() << Where << "no such button shown", true;
    b.click();
  } else return false;
  return true;
}

// guide (the step shown, or none), guide-title, guide-text, guide-buttons,
// guide-points (the control inside the mark's ring, or none) and guide-covers
// (the vios that the panel lies over, or none).
std::optional<std::string> Wnd::ObsGui(const std::string& n) {
  if (n.rfind("guide", 0) != 0) return std::nullopt;
  TFstGui& g = W->Fst();
  if (n == "guide") return g.Shown() ? FstStpNam(g.Stp().Cur()) : "none";
  if (n == "guide-title") return Kid<QLabel>(&g.Pnl(), "lblFstNum")->text().toStdString();
  if (n == "guide-text") return Kid<QLabel>(&g.Pnl(), "lblFstTxt")->text().toStdString();
  if (n == "guide-buttons") {
    std::string s;
    for (bool skp : {true, false})
      if (g.Btn(skp).isVisible()) s += (s.empty() ? "" : " ") + g.Btn(skp).text().toStdString();
    return s;
  }
  if (n == "guide-points") {
    QWidget* p = g.Pnt();
    if (!p || !g.Mrk().isVisible()) return "none";
    const QRect r(p->mapTo(W.get(), QPoint(0, 0)), p->size());
    return g.Mrk().geometry().contains(r) ? p->objectName().toStdString() : "outside the mark";
  }
  if (n == "guide-covers") {
    std::string s;
    const QRect pnl = g.Pnl().geometry();
    for (TVio* v : W->Edt().Vios()) {
      QWidget* vp = W->Fld().Viw()->Pnl(v);
      if (vp && vp->isVisible() && QRect(vp->mapTo(W.get(), QPoint(0, 0)), vp->size()).intersects(pnl))
        s += (s.empty() ? "" : " ") + VioNo(v);
    }
    return s.empty() ? "none" : s;
  }
  return std::nullopt;
}

}  // namespace scn
