// The world of the simulated Zefor: a walled arena seen from above with a dark
// line track on a light floor, and the robot's body in it.
//
// Lengths are in centimetres, x to the right and y downwards (as on the
// screen); the heading is in degrees, 0 facing +x, growing clockwise on the
// screen, so that a right turn adds 90.
#pragma once

#include <cstdint>


constexpr double GcArnWid = 200.0;  // arena 2 m x 1.5 m
constexpr double GcArnHgt = 150.0;
constexpr double GcRbtRad = 8.0;    // the body is a disc of this radius
constexpr double GcWhlBas = 12.0;   // distance between the wheels
constexpr double GcLinWid = 3.0;    // width of the dark line
// The track's centre line: a rounded rectangle.
constexpr double GcTrkX0 = 30.0, GcTrkY0 = 30.0, GcTrkX1 = 170.0, GcTrkY1 = 120.0, GcTrkRad = 25.0;
// Sensor positions in the robot's frame: ahead of the centre, and to the side.
constexpr double GcLinSnsFwd = 6.0, GcLinSnsSid = 1.0;
constexpr double GcLgtSnsFwd = 4.0;
constexpr double GcBmpAng = 35.0;  // bumper contact points: front, this many degrees to each side
// Reflectance of the floor and of the line, as seen by the light sensor.
constexpr double GcFlrRfl = 1.0, GcLinRfl = 0.2;

struct TuPnt {
  double X = 0, Y = 0;
};

// What the wheels do.
enum class TeWhl : std::uint8_t { Stp, Fwd, Rev, SpnLft, SpnRgt };

class TSimWld {
public:
  TSimWld();
  // Back to the start pose: on the top straight of the track, facing right.
  void RstPos();

  // Wheel command; speed in cm/s for every wheel motion.
  void SetWhl(TeWhl w) { FeWhl = w; }
  TeWhl Whl() const { return FeWhl; }
  void SetSpd(double cmPerS) { FdSpd = cmPerS; }
  double Spd() const { return FdSpd; }
  // Angular speed of a spin on the spot, degrees per second.
  double SpnRat() const;

  // Let dt seconds pass with the current wheel command. The body stays
  // inside the walls (the wheels slip where it meets one).
  void Adv(double dt);
  // Sets the heading exactly (the end of a turn of a known angle).
  void SetHdg(double deg);
  void SetPos(double x, double y, double hdgDeg);

  double X() const { return FdX; }
  double Y() const { return FdY; }
  double Hdg() const { return FdHdg; }

  // A point in the robot's frame (fwd ahead, sid to the right) in the arena.
  TuPnt RbtPnt(double fwd, double sid) const;
  // Where the front bumpers touch: left (true) or right.
  TuPnt BmpPnt(bool lft) const;
  bool BmpWal(bool lft) const;  // that bumper touches a wall
  bool LinAt(TuPnt p) const;    // the floor at p is the dark line
  bool LinSns(bool lft) const { return LinAt(RbtPnt(GcLinSnsFwd, lft ? -GcLinSnsSid : GcLinSnsSid)); }
  // The light sensor's reading, 0 to 100, for a room light of lgt percent.
  double LgtSns(double lgt) const;

  // Distance from p to the centre line of the track.
  static double TrkDst(TuPnt p);

private:
  void Clp();
  double FdX = 0, FdY = 0, FdHdg = 0;
  double FdSpd = 20.0;
  TeWhl FeWhl = TeWhl::Stp;
};

