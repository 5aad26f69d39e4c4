// Serial line helpers of the serial component: line settings on a terminal
// device and the sampling of the modem-line state.
#pragma once

#include <termios.h>

#include <cstddef>
#include <cstdint>
#include <string>

// Line event flags (the values the rest of the program knows from the
// communications services of the original platform).
constexpr std::uint32_t EV_RXCHAR = 0x0001;
constexpr std::uint32_t EV_RXFLAG = 0x0002;
constexpr std::uint32_t EV_TXEMPTY = 0x0004;
constexpr std::uint32_t EV_CTS = 0x0008;
constexpr std::uint32_t EV_DSR = 0x0010;
constexpr std::uint32_t EV_RLSD = 0x0020;
constexpr std::uint32_t EV_BREAK = 0x0040;
constexpr std::uint32_t EV_ERR = 0x0080;
constexpr std::uint32_t EV_RING = 0x0100;
// Events that come from the modem lines and the line status (the others come
// from the data stream).
constexpr std::uint32_t GcLinEvtMsk = EV_CTS | EV_DSR | EV_RLSD | EV_BREAK | EV_ERR | EV_RING;

// Baud rate of a baud-rate index: 0 = 110 ... 14 = 256000; any other 9600.
std::uint32_t BauRat(std::uint8_t idx);

// Event flags of a set of line events: bit 0 evBreak, 1 evCTS, 2 evDSR,
// 3 evError, 4 evRing, 5 evRlsd, 6 evRxChar, 7 evRxFlag, 8 evTxEmpty.
std::uint32_t ComEvtMsk(std::uint16_t set);

// Line settings for a raw binary line: the baud rate, data bits index (0 to 7
// give 1 to 8 bits, other 8), parity (0 none, 1 odd, 2 even, 3 mark, 4 space;
// checked for 1 to 4), stop bits index (0 one, 1 one and a half, 2 two, other
// one). No flow control of any kind, receiver on, modem lines not required
// for reading, a read returns as soon as one byte is there. DTR and RTS are
// switched on where the device has them. False when the device refuses the
// settings or cannot carry them (fewer than 5 data bits, an unknown parity,
// one and a half stop bits with more than 5 data bits); the settings are
// read back and compared.
bool SetLinCfg(int fd, std::uint32_t baud, std::uint8_t datIdx, std::uint8_t prt, std::uint8_t stpIdx);

// The settings of SetLinCfg without the device: t is made raw and carries the
// size, parity and stop bits (the baud rate is not touched). False when they
// cannot be expressed.
bool MakLinCfg(termios& t, std::uint8_t datIdx, std::uint8_t prt, std::uint8_t stpIdx);

// The baud rate a terminal device is set to (both directions), 0 when it
// cannot be read.
std::uint32_t GetLinBau(int fd);
// Rates the standard terminal interface has no constant for.
bool SetBauOth(int fd, std::uint32_t baud);
std::uint32_t GetBauOth(int fd);

// One look at the modem lines and the line-status counters.
struct TMdmSmp {
  bool Cnt = false;  // the counters below were read (the driver keeps them)
  bool Lin = false;  // the line states below were read
  // Counters of transitions and line errors.
  std::uint32_t Cts = 0, Dsr = 0, Rng = 0, Dcd = 0, Brk = 0, Err = 0;
  // Line states (TIOCM_ bits).
  int Sts = 0;
};

// Read the modem lines of fd. A device without modem lines (a pseudo-terminal)
// gives a sample with neither Cnt nor Lin set.
TMdmSmp SmpMdm(int fd);

// Event flags for what changed between two samples of the same device: with
// counters, every transition counts even if it was undone in between; with
// line states only, a changed state counts (breaks and errors cannot be seen).
std::uint32_t MdmEvt(const TMdmSmp& a, const TMdmSmp& b);

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
// Sets a terminal device to the robot's line; false when it refuses (see SetLinCfg).
bool SetRbtLin(int fd);

// Opening a terminal device for the link: read and write, non-blocking, not
// as the controlling terminal; it must be a terminal, and no other program
// may hold its lock (the lock is taken).
enum class TeTtyOpn : std::uint8_t {
  Ok,
  Opn,  // the device could not be opened (Err tells why)
  Tty,  // it is no terminal
  Lck,  // another program holds its lock (Err tells how the lock failed)
};
struct TTtyOpn {
  TeTtyOpn Stp = TeTtyOpn::Opn;
  int Fd = -1;   // open only with Ok
  int Err = 0;   // errno of the failed step
};
TTtyOpn OpnTty(const std::string& pth);

