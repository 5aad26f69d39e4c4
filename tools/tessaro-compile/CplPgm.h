// tessaro-compile: read a program file as the Open command does and translate
// it as the upload commands do, without a display.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "editor/PgmFilTrn.h"

struct TuCplOpt : TPgmFilOpt {
  bool Lst = false;
};

// Exit codes.
constexpr int GcCplOk = 0;
constexpr int GcCplErr = 1;
constexpr int GcCplUsg = 2;

// Parses the arguments (argv[0] is the program name). GcCplOk, or GcCplUsg with
// the reason in err.
int PrsCplArg(const std::vector<std::string>& args, TuCplOpt& opt, std::string& err);

// TrnPgmFil with the exit codes.
int CplPgm(const TuCplOpt& opt, std::ostream& err, const std::function<void(const TInsAndTkn&)>& onOk);

// Runs one compilation. On success writes the stream (and the listing) to out
// and returns GcCplOk; on failure writes the message-box texts, the last-error
// text and the blink line to err and returns GcCplErr.
int RunCpl(const TuCplOpt& opt, std::ostream& out, std::ostream& err);

// The whole tool: arguments, usage text, run.
int CplMai(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
