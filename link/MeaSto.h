// The robot's measurements as the monitor keeps them: every value of the
// frames 0x02 0x12 (measurement 1) and 0x02 0x13 (measurement 2, whose low
// byte carries the six switch bits), with the time it came, for the last
// minute; paused, it takes nothing; its text for a spreadsheet (CSV); and
// where each sample lies on a plot of that minute.
//
// The link's receive controller puts, the user interface thread reads: every
// operation takes the store's own lock.
#pragma once

#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "link/PckPrt.h"

// One value: when it came (milliseconds on the link's clock), which
// measurement (0 or 1) and the value.
struct TuMeaSmp {
  std::int64_t Ms = 0;
  std::uint8_t Chn = 0;
  std::uint16_t Val = 0;
  bool operator==(const TuMeaSmp&) const = default;
};

// A point of a plot, in pixels.
struct TuPltPt {
  int X = 0, Y = 0;
  bool operator==(const TuPltPt&) const = default;
};

// The span that the store keeps and the plot shows.
constexpr std::int64_t GcMeaSpnMs = 60000;
// Measurements of a robot.
constexpr int GcMeaChn = 2;
// Switch n (1 to 6) of measurement 2: bit 0x20 is switch 1, 0x01 switch 6.
constexpr bool MeaSwi(std::uint16_t v2, int n) { return n >= 1 && n <= 6 && (v2 & (0x40u >> n)) != 0; }

class TMeaSto {
public:
  // The values among the effects of received bytes (ShwMea1, ShwMea2), at
  // ms; true when one was taken (none while paused).
  bool Put(const std::vector<TRcvEff>& eff, std::int64_t ms);
  // The effects hold a value.
  static bool Has(const std::vector<TRcvEff>& eff);
  bool Put(std::uint8_t chn, std::uint16_t val, std::int64_t ms);

  // Paused, the store takes nothing and the plot stands at the time of the pause.
  void SetPau(bool pau, std::int64_t ms);
  bool Pau() const;
  void Clr();

  // The samples of the last minute before now (the time of the pause while
  // paused), oldest first.
  std::vector<TuMeaSmp> Smp(std::int64_t now) const;
  // The last value of a measurement; none before the first or after Clr.
  std::optional<std::uint16_t> Lst(std::uint8_t chn) const;
  // The time the plot ends at: now, or the time of the pause.
  std::int64_t End(std::int64_t now) const;
  // Samples taken since the store was made (a view repaints when it changes).
  std::uint64_t Ver() const;

  // One line a sample, oldest first, after a heading: the seconds since the
  // first sample, both measurements as they stood then (empty before their
  // first value), and the six switches of measurement 2 (1 on, 0 off).
  std::string Csv(std::int64_t now) const;

private:
  void Cut(std::int64_t now);  // drops what is older than the span

  mutable std::mutex FMtx;
  std::deque<TuMeaSmp> FSmp;
  std::optional<std::uint16_t> FLst[GcMeaChn];
  bool FbPau = false;
  std::int64_t FiPauMs = 0;
  std::uint64_t FiVer = 0;
};

// Where a plot of the span ending at end draws one measurement (or, with
// bit, one bit of it as 0 or 1): steps from sample to sample, the last value
// held up to the right edge. The plot is wdt pixels wide from x0, its band
// hgt pixels high from y0 (0 at the bottom, max at the top); points of one
// pixel column that stay on one level are drawn once.
std::vector<TuPltPt> MeaPlt(const std::vector<TuMeaSmp>& smp, std::uint8_t chn, std::int64_t end, int x0, int wdt,
                            int y0, int hgt, std::uint16_t max, std::uint16_t bit = 0);
// The greatest value of a measurement among the samples (at least 1).
std::uint16_t MeaMax(const std::vector<TuMeaSmp>& smp, std::uint8_t chn);
