// zefor-sim: options and the two ways of running it.
#pragma once

#include <string>
#include <vector>

struct TuSimOpt {
  bool Hdl = false;       // no window: commands on stdin, trace on stdout
  std::string Dev;        // a device to use instead of a new pseudo-terminal
  std::string Lnk;        // a symbolic link to the device, made at start
  std::string Tkn;        // token definitions for the names in the trace
  double Spd = 1.0;       // speed factor of the model
  bool Pac = true;        // pace the wire at 2400 baud
};

constexpr int GcSimOk = 0, GcSimErr = 1, GcSimUsg = 2;

// GcSimOk, or GcSimUsg with the reason.
int PrsSimArg(const std::vector<std::string>& args, TuSimOpt& o, std::string& err);

class TSimDrv;
// Opens the line and makes the link; prints the device path. GcSimOk or GcSimErr.
int OpnSimLin(const TuSimOpt& o, TSimDrv& drv);
// The robot on its open line: pacing, speed and the token names; prints the
// device path.
void SetUpSim(const TuSimOpt& o, TSimDrv& drv);
// Wall clock in microseconds.
long long SimWalNow();
// A signal asked the program to end.
bool SimQitReq();
// Removes the link made by OpnSimLin.
void RmvSimLnk(const TuSimOpt& o);

#ifdef TESSARO_SIM_GUI
int RunSimWnd(int argc, char** argv, const TuSimOpt& o, TSimDrv& drv);
#endif
