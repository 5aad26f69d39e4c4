// The roll call: every port of the computer checked at once, one row each, so
// that a room of robots is checked in the time one robot has to answer. Each
// row is the one-port check of ConDoc.h on that port, on a thread of its own
// with a system of its own (IDocSys::Dup); the row carries the verdict and the
// fix of the step that decided it.
#pragma once

#include <string>
#include <vector>

#include "doctor/ConDoc.h"

// A port to check: its name as the user knows it ("COM5", or a device that no
// port name stands for) and its device.
struct TRolPrt {
  std::string Nam;
  std::string Dev;
  bool OwnAns = false;  // this program's own link, where the robot answers (TDocCfg::OwnAns)
};

// The ports that are present: the COM ports of sys.ComPrts() with their
// devices, then each serial device of the computer that none of them leads
// to (a hub of robots reaches past /dev/ttyUSB3, the last device of a COM
// name). Asks the settings store for the port mappings: call it on the
// thread that owns the store.
std::vector<TRolPrt> RolPrts(IDocSys& sys);
// The ports named by the user, their devices looked up the same way.
std::vector<TRolPrt> RolPrtsOf(const std::vector<std::string>& names);

// One port's row.
struct TRolRow {
  std::string Prt;                // "COM5 (/dev/ttyUSB0)", or "/dev/ttyUSB4"
  TeDocSte Ste = TeDocSte::Fail;  // Ok: a robot answered; Skip: not checked here
  std::string Fnd;                // the verdict: what the deciding step found
  std::string Do;                 // what to do; empty when nothing needs doing
};

// The row of a port from its check: the first step of the port that failed,
// else the robot's step (the list of the computer's devices is no verdict
// on a port).
TRolRow RolRow(const TRolPrt& prt, const std::vector<TDocRes>& res);

// Checks every port at once, each on a thread of its own with sys.Dup(), and
// returns the rows in the ports' order once every check has ended. txt is
// called on those threads: pass a copy (DocTxtCpy).
std::vector<TRolRow> RunRolCal(const IDocSys& sys, const std::vector<TRolPrt>& prt, const TDocTxt& txt,
                               int tmoMs = 2000);

// A row as a line: its state ("[ ok ]", "[FAIL]", "[ -- ]"), the port, the
// verdict and what to do.
std::string RolRowTxt(const TRolRow& row, const TDocTxt& txt);
// The report of a roll call as text: the title, a line per port (a line that
// no port is present, when none is) and how many answered.
std::string RolRptTxt(const std::vector<TRolRow>& rows, const TDocTxt& txt);
// True when a robot answered on every port (and there was a port).
bool RolAllOky(const std::vector<TRolRow>& rows);
