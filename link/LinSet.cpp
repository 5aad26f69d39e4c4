#include "link/LinSet.h"

#include <algorithm>

namespace {
constexpr std::uint32_t GcBau[15] = {110,   300,   600,   1200,   2400,   4800,   9600,  14400,
                                     19200, 38400, 56000, 57600, 115200, 128000, 256000};
}  // namespace

std::uint32_t BauRat(std::uint8_t idx) { return idx < 15 ? GcBau[idx] : 9600; }

int LinDatBts(std::uint8_t idx) { return std::min(idx + 1, 8); }

std::string LinSetTxt(const TLinSet& s) {
  static const char* const stp[] = {"1", "1.5", "2"};
  return std::to_string(BauRat(s.BauIdx)) + " baud, " + std::to_string(LinDatBts(s.DatIdx)) +
         "NOEMS"[s.Prt <= 4 ? s.Prt : 0] + stp[s.StpIdx <= 2 ? s.StpIdx : 0];
}

std::int64_t RbtLinMs(std::size_t n) {
  const TLinSet& s = GcRbtLin;
  const std::int64_t bits = 1 + LinDatBts(s.DatIdx) + (s.Prt ? 1 : 0) + (s.StpIdx == 2 ? 2 : 1);
  return static_cast<std::int64_t>(n) * bits * 1000 / BauRat(s.BauIdx);
}

std::uint32_t ComEvtMsk(std::uint16_t set) {
  // In the order of the set's bits, from bit 0: EV_BREAK, EV_CTS, EV_DSR,
  // EV_ERR, EV_RING, EV_RLSD, EV_RXCHAR, EV_RXFLAG, EV_TXEMPTY.
  static constexpr std::uint32_t flg[] = {0x0040, 0x0008, 0x0010, 0x0080, 0x0100,
                                          0x0020, 0x0001, 0x0002, 0x0004};
  std::uint32_t m = 0;
  unsigned bit = 1;
  for (std::uint32_t f : flg) {
    if (set & bit) m |= f;
    bit <<= 1;
  }
  return m;
}
