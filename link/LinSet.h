// Settings of a serial line as the serial component takes them, the same on
// every platform: the baud-rate table, the set of line events and the robot's
// line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Baud rate of a baud-rate index: 0 = 110 ... 14 = 256000; any other 9600.
std::uint32_t BauRat(std::uint8_t idx);

// Event flags of a set of line events: bit 0 evBreak, 1 evCTS, 2 evDSR,
// 3 evError, 4 evRing, 5 evRlsd, 6 evRxChar, 7 evRxFlag, 8 evTxEmpty. The
// flags have the values of the Win32 communications services (EV_BREAK ...).
std::uint32_t ComEvtMsk(std::uint16_t set);

// Settings of a serial line, as the serial component takes them.
struct TLinSet {
  std::uint8_t BauIdx;  // see BauRat
  std::uint8_t DatIdx;  // 0..7 give 1..8 data bits
  std::uint8_t Prt;     // 0 none, 1 odd, 2 even, 3 mark, 4 space
  std::uint8_t StpIdx;  // 0 one, 1 one and a half, 2 two
};
// The robot's line: 2400 baud, 8 data bits, no parity, one stop bit.
inline constexpr TLinSet GcRbtLin{4, 7, 0, 0};
// "2400 baud, 8N1".
std::string LinSetTxt(const TLinSet& s);
// Milliseconds that n bytes take on the robot's line (start and stop bit
// included), rounded down.
std::int64_t RbtLinMs(std::size_t n);
// The data bits of a data-bits index: 0 is one bit, up to 8.
int LinDatBts(std::uint8_t idx);
