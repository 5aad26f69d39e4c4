// Runs the simulated robot behind a serial device: a pseudo-terminal of its
// own or a device it is given. It maps the wall clock to the model's clock
// with a speed factor, paces the wire in both directions and tells when the
// peer has opened the line.
//
// The wall time is always passed in, so that tests run it on a fake clock.
#pragma once

#include <cstddef>
#include <string>

#include "sim/SimLnk.h"
#include "sim/SimRbt.h"

class TSimDrv {
public:
  TSimDrv();
  ~TSimDrv();
  TSimDrv(const TSimDrv&) = delete;
  TSimDrv& operator=(const TSimDrv&) = delete;

  // A new pseudo-terminal; its device path is Pth(). False with the reason
  // (always on Windows, which has none: give it a COM port with OpnDev).
  bool OpnPty(std::string& err);
  // A device given by path ("\\.\COM3" on Windows), set to 2400 baud raw.
  // The peer is taken to be there from the start.
  bool OpnDev(const std::string& path, std::string& err);
  void Cls();
  int Fd() const { return FhFd; }
  const std::string& Pth() const { return FsPth; }

  // Wire pacing (on by default) and the speed factor of the model.
  void SetPac(bool on);
  bool Pac() const { return FIn.On(); }
  void SetSpd(double fac, TSimWal now);
  double Spd() const { return FdSpd; }

  // Starts the clocks; call once before the first Poll (a first Poll without
  // it starts them itself; a second call does nothing). A speed factor set
  // before counts from here.
  void Sta(TSimWal now);
  // All work due at now: the peer's state, reading, pacing, the model, the
  // reports, writing.
  void Poll(TSimWal now);
  // When the next work falls due (for the wait of the main loop); at most
  // the given limit ahead.
  TSimWal NxtDue(TSimWal now, TSimWal lim) const;
  // The peer has the line open.
  bool PeerUp() const { return FLnk.Up(); }
  // Something moves that a view shows: a program runs (not paused), the
  // wheels turn, or an LED blinks. Otherwise the robot lies still until a
  // command or a byte from the peer comes.
  bool Mov() const;
  // Bytes read from the peer so far.
  std::uint64_t RcvCnt() const { return FiRcvCnt; }
  // Wall time of a model time (to show the program's timing), and back.
  TSimTim MdlAt(TSimWal w) const;

  TSimRbt& Rbt() { return FRbt; }
  const TSimRbt& Rbt() const { return FRbt; }
  TSimLnk& Lnk() { return FLnk; }

private:
  // The platform's side of the line (SimDrvPsx.cpp, SimDrvWin.cpp): the
  // bytes that have come, without waiting (0 none, -1 the peer has just
  // closed the line), and the bytes the line took (0 when it is full or gone).
  std::ptrdiff_t RdDev(std::uint8_t* buf, std::size_t n);
  std::size_t WrDev(const std::uint8_t* buf, std::size_t n);
  void ChkPeer(TSimWal now);
  void Rd(TSimWal now);
  void Wr(TSimWal now);

  TSimRbt FRbt;
  TSimLnk FLnk{FRbt};
  TSimPac FIn, FOut;
  int FhFd = -1;
  bool FbPty = false;
  std::string FsPth;
  double FdSpd = 1.0;
  TSimWal FiWalBas = 0;
  TSimTim FiMdlBas = 0;
  TSimWal FiNxtPeer = 0;
  std::uint64_t FiRcvCnt = 0;
  bool FbSta = false;
};
