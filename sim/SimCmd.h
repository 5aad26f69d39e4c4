// Commands to the simulated robot as a user types them (the headless
// simulator reads them on its standard input), and the text form of a trace
// line.
#pragma once

#include <string>

#include "sim/SimDrv.h"

enum class TeSimCmd { Ok, Qit, Err };

// Carries out one command line at wall time now. out receives a reply or the
// reason of an error. Empty lines and lines starting with # do nothing.
//   press bumper left|right      release bumper left|right
//   switch N  (turns switch N on or off)   switch N on|off
//   light P   (room light, 0 to 100 %)     place X Y [HEADING]  (cm, degrees)
//   run       stop        speed F          status       help       quit
// and the debugger's (the robot's link carries none of them):
//   pause     continue    step     end (on to the end, past breakpoints)
//   break [ADDRESS...] (the breakpoints; none clears them)     why
//   record [FROM [COUNT]] (the recording's size, and its entries from FROM)
TeSimCmd SimCmd(TSimDrv& drv, const std::string& line, TSimWal now, std::string& out);

// "   12.345  [  5]  Dly   delay 1.0 s"; events have no address.
std::string FmtTrc(const TuSimTrc& t);

// Why the program stands still, in words.
std::string SimWhyTxt(const TSimRbt& r);
// One entry of the recording, in the trace's columns.
std::string FmtRec(const TuSimRec& e);

// What the robot senses and shows, in one line.
std::string SimSts(const TSimRbt& r);
