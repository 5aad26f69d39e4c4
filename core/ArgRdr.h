// The command line of a tool, read one argument at a time. Options are
// "--name VALUE", "--name=VALUE", flags "--name" and short options "-x";
// every other argument is a word. A "--" ends the options: what follows it
// is taken as words, even when it begins with '-'. An option given twice
// keeps the value of the last one; that is the caller's to decide.
#pragma once

#include <optional>
#include <string>
#include <vector>

class TArgRdr {
public:
  // args[0] is the program's name and is passed over.
  explicit TArgRdr(const std::vector<std::string>& args) : FArg(args) {}

  // Moves to the next argument; false when there is none left.
  bool Nxt();

  // The argument as it was given.
  const std::string& Arg() const { return FArg[FiCur]; }
  // The option's name without "=VALUE"; for a word, the word.
  const std::string& Nam() const { return FsNam; }
  // An option (it begins with '-', is not "-" alone and stands before "--").
  bool IsOpt() const { return FbOpt; }
  // A long option written with "=VALUE".
  bool HasVal() const { return FbHasVal; }
  // The option nam written without "=VALUE": a flag.
  bool IsFlg(const std::string& nam) const { return FbOpt && !FbHasVal && FsNam == nam; }

  // The option's value: the text after '=', or else the next argument (which
  // is then used up). Without one, err is "option NAME needs a value" and the
  // result false; likewise for an empty value when nonEmp is set.
  bool Val(std::string& dst, std::string& err, bool nonEmp = false);

private:
  const std::vector<std::string>& FArg;
  std::size_t FiCur = 0;
  std::string FsNam;
  std::string FsVal;
  bool FbOpt = false;
  bool FbHasVal = false;
  bool FbEnd = false;  // "--" was read
};

// The whole text as a number (as std::stod reads it), or nothing.
std::optional<double> ArgNum(const std::string& txt);
