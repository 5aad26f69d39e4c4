// The scenarios' commands and names of the robot monitor and of the built-in
// robot's bumpers (a block of their own beside ScnCmd.cpp and ScnObs.cpp).
#include "ScnWnd.h"

#include "app/RbtMon.h"
#include "link/MeaSto.h"

namespace scn {

// sim-bumper left|right press|release; push NAME (a button of the window by its object name).
bool Wnd::OnMonitor(const std::vector<std::string>& w) {
  const std::string& c = w[0];
  if (c == "sim-bumper") {
    TSimThr* s = W->Lnk().Sim();
    if (!s || !s->Running()) return ADD_FAILURE() << Where << "no built-in robot", true;
    const bool lft = w.at(1) == "left", prs = w.at(2) == "press";
    s->Do([lft, prs](TSimDrv& d) { d.Rbt().SetBmpUsr(lft, prs); });
  } else if (c == "push") {
    auto* b = W->findChild<QAbstractButton*>(QString::fromStdString(w.at(1)));
    if (!b || !b->isVisibleTo(W.get()) || !b->isEnabled()) return ADD_FAILURE() << Where << "no button " << w[1], true;
    b->click();
  } else return false;
  return true;
}

// monitor: the robot monitor is shown; monitor-samples: the values it holds of
// the last minute; monitor-buttons: the texts of its buttons.
std::optional<std::string> Wnd::ObsMon(const std::string& n) {
  TRbtMon* m = W->Fld().RbtMon();
  if (n == "monitor") return std::string(m && m->isVisible() ? "yes" : "no");
  if (n == "monitor-buttons") {
    std::string s;
    for (const char* b : {"btnMonPau", "btnMonClr", "btnMonExp"})
      if (auto* p = W->findChild<QPushButton*>(b)) s += (s.empty() ? "" : " | ") + p->text().toStdString();
    return s;
  }
  if (n == "monitor-samples") return std::to_string(W->Lnk().MeaSto().Smp(W->Lnk().MeaNow()).size());
  return std::nullopt;
}

}  // namespace scn
