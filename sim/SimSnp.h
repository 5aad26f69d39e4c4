// What a view shows of the simulated robot at one moment, taken from the live
// model or from an entry of its recording, so that both are drawn alike; and
// the replay of the recording that a view keeps beside the model.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>

#include "sim/SimRbt.h"

struct TuSimSnp {
  double X = 0, Y = 0, Hdg = 0;
  bool SysLit = false, BckL = false, BckR = false, TrkLed = false;
  bool BmpL = false, BmpR = false, LinL = false, LinR = false;
};
TuSimSnp SimSnp(const TSimRbt& r);
TuSimSnp SimSnp(const TuSimRec& e);
// The same picture: positions to a tenth of a centimetre, headings to a
// tenth of a degree, the same lights and sensors.
bool SimSnpSam(const TuSimSnp& a, const TuSimSnp& b);

// A copy of the model's recording, brought up to date with the entries that
// are new since the last look, and a position in it: the end follows the
// live robot, an earlier one shows that entry again.
class TSimRpl {
public:
  // Takes the new entries (a new run starts the copy again); true when the
  // copy changed.
  bool Tak(const TSimRbt& r);
  void Clr();
  const std::deque<TuSimRec>& Rec() const { return FRec; }
  std::size_t Cnt() const { return FRec.size(); }
  // 0 to Cnt(); Cnt() is the live robot. A live position follows the
  // recording as it grows.
  void SetPos(std::size_t at);
  std::size_t Pos() const { return FbLve ? FRec.size() : FiPos; }
  bool Live() const { return FbLve; }
  // The instruction an entry stands for: its own address, else the last one
  // executed before it, else the first one after it; -1 when none.
  int Adr(std::size_t at) const;

private:
  std::deque<TuSimRec> FRec;
  std::uint64_t FiDrp = 0;
  std::size_t FiPos = 0;
  bool FbLve = true;
};
