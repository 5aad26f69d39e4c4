// A program file read as the Open command reads it and translated as the
// upload commands translate it, without a window: for the command-line tools.
#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>

struct TPgmFilOpt {
  std::uint8_t Lge = 0;
  std::string TknPth;  // empty: ExtComTkn.sys beside the executable
  std::string MsgPth;  // empty: SysMsgFil.sys beside the executable
  std::string PgmPth;
};

class TArgRdr;
// Takes the option the reader stands on when it is --language, --tokens or
// --messages: 1 taken, 0 none of them, -1 a bad value (the reason in err).
int TakPgmFilOpt(TArgRdr& rdr, TPgmFilOpt& opt, std::string& err);

class TInsAndTkn;
// Reads and translates the program. On success calls onOk with the
// translation and returns true; on failure writes the message-box texts, the
// last-error text and the blink line to err and returns false.
bool TrnPgmFil(const TPgmFilOpt& opt, std::ostream& err, const std::function<void(const TInsAndTkn&)>& onOk);
