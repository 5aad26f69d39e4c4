// Serial line helpers of the serial component on a POSIX terminal device:
// line settings and the sampling of the modem-line state.
#pragma once

#include <termios.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "link/LinSet.h"

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

