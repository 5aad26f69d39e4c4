#include "sim/SimSnp.h"

#include <algorithm>
#include <cmath>

TuSimSnp SimSnp(const TSimRbt& r) {
  const TSimWld& w = r.Wld();
  TuSimSnp s;
  s.X = w.X();
  s.Y = w.Y();
  s.Hdg = w.Hdg();
  s.SysLit = r.SysLit();
  s.BckL = r.BckLit(true);
  s.BckR = r.BckLit(false);
  s.TrkLed = r.TrkLed();
  s.BmpL = r.Bmp(true);
  s.BmpR = r.Bmp(false);
  s.LinL = r.Lin(true);
  s.LinR = r.Lin(false);
  return s;
}

TuSimSnp SimSnp(const TuSimRec& e) {
  TuSimSnp s;
  s.X = e.X;
  s.Y = e.Y;
  s.Hdg = e.Hdg;
  // A recorded LED that blinks is drawn lit: the entry holds its mode only.
  s.SysLit = e.SysLed != TeLed::Off;
  s.BckL = s.BckR = e.BckLed != TeLed::Off;
  s.TrkLed = e.TrkLed;
  s.BmpL = e.BmpL;
  s.BmpR = e.BmpR;
  s.LinL = e.LinL;
  s.LinR = e.LinR;
  return s;
}

bool SimSnpSam(const TuSimSnp& a, const TuSimSnp& b) {
  auto t = [](double v) { return std::lround(v * 10); };
  return t(a.X) == t(b.X) && t(a.Y) == t(b.Y) && t(a.Hdg) == t(b.Hdg) && a.SysLit == b.SysLit &&
         a.BckL == b.BckL && a.BckR == b.BckR && a.TrkLed == b.TrkLed && a.BmpL == b.BmpL && a.BmpR == b.BmpR &&
         a.LinL == b.LinL && a.LinR == b.LinR;
}

bool TSimRpl::Tak(const TSimRbt& r) {
  const std::deque<TuSimRec>& src = r.Rec();
  const std::uint64_t drp = r.RecDrp();
  // The copy goes on from where it stopped when the model still holds its
  // newest entry (the oldest ones may have gone); otherwise a new run has
  // begun and the copy starts again.
  const std::uint64_t gon = drp >= FiDrp ? drp - FiDrp : FRec.size() + 1;
  bool goOn = gon <= FRec.size();
  if (goOn && gon < FRec.size()) {
    const std::size_t lst = FRec.size() - static_cast<std::size_t>(gon) - 1;  // FRec.back() in src
    goOn = lst < src.size() && src[lst].Tim == FRec.back().Tim && src.front().Tim == FRec[gon].Tim;
  }
  if (!goOn) {
    FRec.assign(src.begin(), src.end());
    FiDrp = drp;
    FiPos = std::min(FiPos, FRec.size());
    return true;
  }
  if (gon == 0 && FRec.size() == src.size()) return false;
  FRec.erase(FRec.begin(), FRec.begin() + static_cast<std::ptrdiff_t>(gon));
  FiDrp = drp;
  FRec.insert(FRec.end(), src.begin() + static_cast<std::ptrdiff_t>(FRec.size()), src.end());
  FiPos = std::min(FiPos, FRec.size());
  return true;
}

void TSimRpl::Clr() {
  FRec.clear();
  FiDrp = 0;
  FbLve = true;
}

void TSimRpl::SetPos(std::size_t at) {
  FbLve = at >= FRec.size();
  FiPos = FbLve ? FRec.size() : at;
}

int TSimRpl::Adr(std::size_t at) const {
  if (FRec.empty()) return -1;
  at = std::min(at, FRec.size() - 1);
  for (std::size_t i = at + 1; i-- > 0;)
    if (FRec[i].Adr >= 0) return FRec[i].Adr;
  for (std::size_t i = at + 1; i < FRec.size(); ++i)
    if (FRec[i].Adr >= 0) return FRec[i].Adr;
  return -1;
}
