#include "app/FstGuiStp.h"

#include <algorithm>
#include <cstdlib>

#include "app/VslTbrTbl.h"
#include "core/Globals.h"
#include "messages/SysMsgIdf.h"

namespace {
using S = TeFstStp;
constexpr int Tb(TeTbn t) { return static_cast<int>(t); }
}  // namespace

constexpr std::array<TuFstStpRow, GcFstStpCnt> GcFstStp = {{
    // step, tool button, other control, text
    {S::Sta, Tb(TeTbn::Sta), nullptr, SUM_FST_STA},
    {S::Act, Tb(TeTbn::Act), nullptr, SUM_FST_ACT},
    {S::Sto, Tb(TeTbn::Sto), nullptr, SUM_FST_STO},
    {S::Upr, Tb(TeTbn::Upr), nullptr, SUM_FST_UPR},
    {S::Drv, -1, "arnSim", SUM_FST_DRV},  // the built-in robot's arena in its pane
    {S::Don, -1, nullptr, SUM_FST_DON},
}};

namespace {
constexpr bool StpRows() {
  for (std::size_t i = 0; i < GcFstStp.size(); ++i)
    if (static_cast<std::size_t>(GcFstStp[i].Stp) != i || GcFstStp[i].Tbn >= GcTbnCnt) return false;
  return true;
}
static_assert(StpRows(), "one row for each step at its index");
}  // namespace

const char* FstStpPnt(TeFstStp stp) {
  const TuFstStpRow& r = GcFstStp[static_cast<std::size_t>(stp)];
  if (r.Tbn >= 0) return GcTbnDsg[static_cast<std::size_t>(r.Tbn)].Nam;
  return r.Wdg ? r.Wdg : "";
}

const char* FstStpNam(TeFstStp stp) {
  static constexpr const char* GcNam[GcFstStpCnt] = {"Sta", "Act", "Sto", "Upr", "Drv", "Don"};
  return GcNam[static_cast<std::size_t>(stp)];
}

int FstPgmDon(const std::vector<TuFstVio>& vios) {
  const auto sta = std::count_if(vios.begin(), vios.end(), [](const TuFstVio& v) { return v.Typ == VT_STA; });
  if (sta == 0) return 0;
  if (sta > 1) return 1;
  // The row from the Start: each vio has one neighbour besides the one before it.
  const TuFstVio* prv = nullptr;
  const TuFstVio* cur = &*std::find_if(vios.begin(), vios.end(), [](const TuFstVio& v) { return v.Typ == VT_STA; });
  bool act = false;
  for (std::size_t n = 0; n < vios.size(); ++n) {
    const TuFstVio* nxt = nullptr;
    int cnt = 0;
    for (const TuFstVio& v : vios) {
      const int d = std::abs(v.Col - cur->Col) + std::abs(v.Row - cur->Row);
      if (d != 1 || &v == prv) continue;
      ++cnt;
      nxt = &v;
    }
    if (cur->Typ == VT_STO) return act && cnt == 0 ? 3 : (act ? 2 : 1);
    if (cnt != 1) break;
    prv = cur;
    cur = nxt;
    act = act || cur->Typ == VT_ACT;
  }
  return act ? 2 : 1;
}

TeFstStp TFstGuiStp::Cur() const {
  int nat = FiPgm;
  if (FiPgm >= 3) nat = !FbRun ? 3 : (!FbDrv ? 4 : 5);
  return static_cast<TeFstStp>(std::clamp(std::max(nat, FiFrc), 0, GcFstStpCnt - 1));
}

void TFstGuiStp::Pgm(int don) {
  FiPgm = std::clamp(don, 0, 3);
  if (FiPgm < 3) FbRun = FbDrv = false;
}

void TFstGuiStp::Run() {
  if (Cur() >= S::Upr) FbRun = true;
}

void TFstGuiStp::Drv() {
  // The robot may be seen moving before its first report has been read.
  if (Cur() >= S::Upr) FbRun = FbDrv = true;
}

void TFstGuiStp::Nxt() {
  if (FbEnd) return;
  if (Cur() == S::Don) {
    FbEnd = true;
    return;
  }
  FiFrc = static_cast<int>(Cur()) + 1;
}

void TFstGuiStp::Skp() {
  if (FbEnd) return;
  FbEnd = FbSkp = true;
}
