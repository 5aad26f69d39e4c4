// tessaro-upload: compile a program as tessaro-compile does and send it to the
// robot over a serial port, as the upload commands of the main window do.
#pragma once

#include <chrono>
#include <iosfwd>
#include <string>
#include <vector>

#include "editor/PgmFilTrn.h"

struct TuUplOpt {
  TPgmFilOpt Pgm;
  // The robots' ports, "COMn" or a device path each; with more than one the
  // program goes to all of them at once.
  std::vector<std::string> Prt;
  bool Run = false; // upload and run
  // How long to wait for "transfer complete" once the frame is handed over.
  std::chrono::milliseconds Tmo{5000};
  // Silence after opening the port: what the line brings in its first
  // moments is thrown away, as the main window does.
  std::chrono::milliseconds Qt{100};
};

// Exit codes, as tessaro-compile has them: success, failure, usage.
constexpr int GcUplOk = 0, GcUplErr = 1, GcUplUsg = 2;

// GcUplOk, or GcUplUsg with the reason.
int PrsUplArg(const std::vector<std::string>& args, TuUplOpt& opt, std::string& err);

// Compiles, opens the port, sends the frame and waits for the answer. out
// gets one line on success; err gets the reason of a failure. With several
// ports every port is opened and sent the frame, the robots then answer on
// their own lines at the same time, and out gets one line per port in the
// order given, "PORT: " and its result; GcUplOk only when every robot
// confirmed.
int RunUpl(const TuUplOpt& opt, std::ostream& out, std::ostream& err);

// The whole tool: arguments, usage text, run.
int UplMai(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
