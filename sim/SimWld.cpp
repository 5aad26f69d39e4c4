#include "sim/SimWld.h"

#include <algorithm>
#include <cmath>


namespace {
constexpr double GcPi = 3.14159265358979323846;
double Rad(double deg) { return deg * GcPi / 180.0; }
double NrmDeg(double d) {
  d = std::fmod(d, 360.0);
  if (d < 0) d += 360.0;
  // -1e-17 + 360 rounds to 360 itself.
  return d >= 360.0 ? 0.0 : d;
}
}  // namespace

TSimWld::TSimWld() { RstPos(); }

void TSimWld::RstPos() {
  FdX = 75.0;
  FdY = GcTrkY0;
  FdHdg = 0.0;
  FeWhl = TeWhl::Stp;
}

double TSimWld::SpnRat() const {
  // Both wheels at the speed, in opposite directions, around the centre.
  return FdSpd / (GcWhlBas / 2.0) * 180.0 / GcPi;
}

void TSimWld::Adv(double dt) {
  if (dt <= 0 || FeWhl == TeWhl::Stp) return;
  // Straight runs are exact; the body is clipped to the walls at the end of
  // every small step so that it slides along a wall it meets at a slant.
  const double stp = 0.005;
  while (dt > 0) {
    const double h = std::min(dt, stp);
    dt -= h;
    switch (FeWhl) {
      case TeWhl::Fwd:
      case TeWhl::Rev: {
        const double d = (FeWhl == TeWhl::Fwd ? 1.0 : -1.0) * FdSpd * h;
        FdX += d * std::cos(Rad(FdHdg));
        FdY += d * std::sin(Rad(FdHdg));
        Clp();
        break;
      }
      case TeWhl::SpnLft: FdHdg = NrmDeg(FdHdg - SpnRat() * h); break;
      case TeWhl::SpnRgt: FdHdg = NrmDeg(FdHdg + SpnRat() * h); break;
      case TeWhl::Stp: return;
    }
  }
}

void TSimWld::SetHdg(double deg) { FdHdg = NrmDeg(deg); }

void TSimWld::SetPos(double x, double y, double hdgDeg) {
  FdX = x;
  FdY = y;
  FdHdg = NrmDeg(hdgDeg);
  Clp();
}

void TSimWld::Clp() {
  FdX = std::clamp(FdX, GcRbtRad, GcArnWid - GcRbtRad);
  FdY = std::clamp(FdY, GcRbtRad, GcArnHgt - GcRbtRad);
}

TuPnt TSimWld::RbtPnt(double fwd, double sid) const {
  const double c = std::cos(Rad(FdHdg)), s = std::sin(Rad(FdHdg));
  // Right of the heading (c, s) is (-s, c) with y pointing down.
  return {FdX + fwd * c - sid * s, FdY + fwd * s + sid * c};
}

TuPnt TSimWld::BmpPnt(bool lft) const {
  const double a = Rad(FdHdg + (lft ? -GcBmpAng : GcBmpAng));
  return {FdX + GcRbtRad * std::cos(a), FdY + GcRbtRad * std::sin(a)};
}

bool TSimWld::BmpWal(bool lft) const {
  // Each bumper covers a quarter of the rim, from straight ahead to the side.
  const double tol = 0.5;
  for (double a = 3.0; a <= 80.0; a += 7.0) {
    const double r = Rad(FdHdg + (lft ? -a : a));
    const double x = FdX + GcRbtRad * std::cos(r), y = FdY + GcRbtRad * std::sin(r);
    if (x <= tol || y <= tol || x >= GcArnWid - tol || y >= GcArnHgt - tol) return true;
  }
  return false;
}

double TSimWld::TrkDst(TuPnt p) {
  // Distance to a rounded rectangle's outline (signed distance of a rounded box).
  const double cx = (GcTrkX0 + GcTrkX1) / 2, cy = (GcTrkY0 + GcTrkY1) / 2;
  const double qx = std::fabs(p.X - cx) - ((GcTrkX1 - GcTrkX0) / 2 - GcTrkRad);
  const double qy = std::fabs(p.Y - cy) - ((GcTrkY1 - GcTrkY0) / 2 - GcTrkRad);
  const double ox = std::max(qx, 0.0), oy = std::max(qy, 0.0);
  const double sd = std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0) - GcTrkRad;
  return std::fabs(sd);
}

bool TSimWld::LinAt(TuPnt p) const { return TrkDst(p) <= GcLinWid / 2; }

double TSimWld::LgtSns(double lgt) const {
  const bool lin = LinAt(RbtPnt(GcLgtSnsFwd, 0));
  return std::clamp(lgt, 0.0, 100.0) * (lin ? GcLinRfl : GcFlrRfl);
}

