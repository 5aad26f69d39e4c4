#include "editor/VioZom.h"

#include <algorithm>

#include "editor/VioPgmItp.h"

int ZomStpUp(int pct) {
  for (int s : GcZomStp)
    if (s > pct) return s;
  return std::max(pct, GcZomStp.back());
}

int ZomStpDwn(int pct) {
  for (auto it = GcZomStp.rbegin(); it != GcZomStp.rend(); ++it)
    if (*it < pct) return *it;
  return std::min(pct, GcZomStp.front());
}

bool IsZomStp(int pct) { return std::find(GcZomStp.begin(), GcZomStp.end(), pct) != GcZomStp.end(); }

int ZomOfTxt(const std::string& txt) {
  if (txt.empty() || txt.size() > 3 || txt.find_first_not_of("0123456789") != std::string::npos) return GcZomOne;
  const int pct = std::stoi(txt);
  return IsZomStp(pct) ? pct : GcZomOne;
}

bool TVioPgmItp::SetZom(int pct) {
  if (!IsZomStp(pct) || VioDrg()) return false;
  if (pct == FiZom) return true;
  FiZom = pct;
  FiCelWdt = FiBasWdt * FiZom / 100;
  FiCelHgt = FiBasHgt * FiZom / 100;
  for (IVioPgmObs* o : FpObsLst) o->FldShw();
  return true;
}

bool TVioPgmItp::FitCelWdt(int wdt) {
  if (VioDrg()) return false;
  const int own = OwnBasWdt();
  wdt = std::clamp(wdt, std::min(40, own), own);
  if (wdt == FiBasWdt) return true;
  FiBasWdt = wdt;
  FiCelWdt = FiBasWdt * FiZom / 100;
  for (IVioPgmObs* o : FpObsLst) o->FldShw();
  return true;
}

void TVioPgmItp::SetHiCtr(bool on) {
  if (on == FbHiCtr) return;
  FbHiCtr = on;
  for (IVioPgmObs* o : FpObsLst) o->FldShw();
}
