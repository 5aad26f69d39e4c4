// The robot's end of the serial link: frames in and out, the answers to the
// tool's packets, the measurement reports and the pacing of the wire.
//
// Everything here runs on times that the caller passes in (microseconds of
// the wall clock as the driver sees it, or of a test's fake clock); nothing
// reads a clock itself.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "link/PckPrt.h"
#include "sim/SimRbt.h"

using TSimWal = std::int64_t;  // wall time, microseconds

// Bytes on a wire of a given rate: each byte is due when the one before it
// has been carried and its own ten bits have passed. With pacing off every
// byte is due at once.
class TSimPac {
public:
  explicit TSimPac(double bytPerS = 240.0) : FdRat(bytPerS) {}
  void SetOn(bool on) { FbOn = on; }
  bool On() const { return FbOn; }
  void Psh(std::uint8_t b, TSimWal now);
  // Takes the next byte due at now; false when none is due.
  bool Pop(TSimWal now, std::uint8_t& b);
  // Due time of the next byte; -1 when there is none.
  TSimWal NxtDue() const { return FQue.empty() ? -1 : FQue.front().Due; }
  // Due time of the last byte that follows the next one by at most win on
  // the wire; -1 when there is none. A writer that waits for it puts a frame
  // on the line in one go, at the time its last byte is due.
  TSimWal RunDue(TSimWal win) const;
  bool Emp() const { return FQue.empty(); }
  std::size_t Siz() const { return FQue.size(); }
  void Clr() { FQue.clear(); }

private:
  struct TuEnt {
    TSimWal Due;
    std::uint8_t B;
  };
  double FdRat;
  bool FbOn = true;
  double FdLst = 0;  // when the line is free again
  std::deque<TuEnt> FQue;
};

// The bytes that follow one another on the wire within this span are handled
// together (a frame of nine bytes takes 37.5 ms at 2400 baud), as a serial
// adapter hands them on; each keeps its own wire time.
constexpr TSimWal GcWirRun = 40000;
// Interval of the measurement reports (measurement 2 half an interval after
// measurement 1), and the origin the robot sends with.
constexpr TSimWal GcMeaItv = 500000;
// Between the reports, a change of measurement 2 (a switch pressed, a bumper,
// a line sensor, dark or light) is sent at once, as a robot does, but not
// more often than this: the wire carries about 26 frames a second.
constexpr TSimWal GcMeaChg = 100000;
constexpr std::uint8_t GcSimOrg = 0x05;
// A frame that stops half-way is dropped after this much silence.
constexpr TSimWal GcFrmTmo = 500000;

class TSimLnk {
public:
  explicit TSimLnk(TSimRbt& rbt);

  // The peer opened the line (or it went away). Standby follows once the
  // line is up; the reports start with it.
  void SetUp(bool up, TSimWal now);
  bool Up() const { return FbUp; }

  // One received byte, at the time its last bit arrived.
  void RcvByt(std::uint8_t b, TSimWal now);
  // Timed work up to now: standby, measurement reports, the time-out of a
  // cut-off frame. Call it often (and before RcvByt with a later time).
  void Tck(TSimWal now);
  // Time of the next timed work; -1 when none is pending.
  TSimWal NxtTck() const;

  // Bytes for the wire, in order. The driver hands them to an output pacer.
  std::deque<std::uint8_t>& Out() { return FOut; }
  bool OutEmp() const { return FOut.empty(); }

  // Sends a frame with the robot's origin.
  void Snd(std::uint8_t cls, std::uint8_t cod, const std::vector<std::uint8_t>& dat = {});

  // Delay between the line coming up and "standby": the tool throws away
  // what comes in during the first 100 ms after it has opened the port.
  TSimWal FiStbDly = 300000;

  // Bytes the driver still holds for the wire. An executed address is sent
  // only while the line is nearly idle; otherwise the latest one waits, so
  // that a fast program does not bury the other frames.
  std::function<std::size_t()> FOutBkl;
  static constexpr std::size_t GcExeBkl = 16;

  // The two measured values of the reports.
  std::uint16_t MeaVal1() const;
  std::uint16_t MeaVal2(std::uint8_t swiPrs) const;

private:
  void Dsp();
  void SndExe();
  void SndMea2();
  // Measurement 2 differs from what the robot last reported.
  bool Mea2Chg() const;
  int FiExePnd = -1;  // executed address not sent yet
  TSimRbt& FRbt;
  TuRcvPck FPck;
  std::vector<std::uint8_t> FDat;
  TSimWal FiLstByt = 0;
  bool FbUp = false;
  bool FbStbPnd = false;
  TSimWal FiStbAt = 0;
  TSimWal FiNxtMea = 0;
  bool FbMeaSnt = false;       // a report has gone since the line came up
  std::uint16_t FiLstMea2 = 0; // measurement 2 as last sent
  TSimWal FiNxtChg = 0;        // a change may go from then on
  bool FbMea2Pnd = false;      // the report's measurement 2 is still to go,
  TSimWal FiMea2At = 0;        // at this time
  std::uint8_t FbySeq = 0;
  std::deque<std::uint8_t> FOut;
};
