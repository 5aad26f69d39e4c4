// tessaro-compile: read a program file as the Open command does and translate
// it as the upload commands do, without a display.
#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

struct TuCplOpt {
  std::uint8_t Lge = 0;
  std::string TknPth;  // empty: ExtComTkn.sys beside the executable
  std::string MsgPth;  // empty: SysMsgFil.sys beside the executable
  std::string PgmPth;
  bool Lst = false;
};

// Exit codes.
constexpr int GcCplOk = 0;
constexpr int GcCplErr = 1;
constexpr int GcCplUsg = 2;

// Options of a tool that compiles as this one does and adds options of its
// own. Called for every long option before this tool's own, with the reader
// standing on it. Returns GcCplOk when it took the option, GcCplUsg with the
// reason in err, or GcCplNot to leave the option to this tool.
constexpr int GcCplNot = -1;
class TArgRdr;
using TCplArgExt = std::function<int(TArgRdr& rdr, std::string& err)>;

// Parses the arguments (argv[0] is the program name). GcCplOk, or GcCplUsg with
// the reason in err.
int PrsCplArg(const std::vector<std::string>& args, TuCplOpt& opt, std::string& err, const TCplArgExt& ext = {});

class TInsAndTkn;
// Reads and translates the program. On success calls onOk with the
// translation and returns GcCplOk; on failure writes the message-box texts,
// the last-error text and the blink line to err and returns GcCplErr.
int CplPgm(const TuCplOpt& opt, std::ostream& err, const std::function<void(const TInsAndTkn&)>& onOk);

// Runs one compilation. On success writes the stream (and the listing) to out
// and returns GcCplOk; on failure writes the message-box texts, the last-error
// text and the blink line to err and returns GcCplErr.
int RunCpl(const TuCplOpt& opt, std::ostream& out, std::ostream& err);

// The whole tool: arguments, usage text, run.
int CplMai(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
