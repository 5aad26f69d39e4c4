#include "core/ArgRdr.h"

#include <gtest/gtest.h>

namespace {

// Reads the line as a tool would whose options all take a value, except the
// flag "--f" and the short option "-h". One entry per argument read; "!" and
// the reason where the reader refused.
std::vector<std::string> Trc(std::vector<std::string> args, bool nonEmp = false) {
  args.insert(args.begin(), "tool");
  TArgRdr r(args);
  std::vector<std::string> out;
  while (r.Nxt()) {
    if (!r.IsOpt()) {
      out.push_back("word " + r.Arg());
    } else if (r.IsFlg("--f") || r.IsFlg("-h")) {
      out.push_back("flag " + r.Nam());
    } else if (r.Nam() == "--f") {
      out.push_back("flag with value " + r.Arg());
    } else {
      std::string v, err;
      if (!r.Val(v, err, nonEmp)) {
        out.push_back("! " + err);
        break;
      }
      out.push_back(r.Nam() + " = " + v);
    }
  }
  return out;
}

using TLst = std::vector<std::string>;

}  // namespace

TEST(ArgRdr, ReadsOptionsFlagsAndWords) {
  const std::vector<std::pair<TLst, TLst>> cases = {
      {{}, {}},
      {{"--a", "1", "--b=2", "x.vio"}, {"--a = 1", "--b = 2", "word x.vio"}},
      {{"--a=b=c"}, {"--a = b=c"}},                      // the first '=' splits
      {{"--a="}, {"--a = "}},                             // an empty value is a value
      {{"--a", "--b"}, {"--a = --b"}},                    // the next argument, whatever it is
      {{"--f", "-h", "--f=1"}, {"flag --f", "flag -h", "flag with value --f=1"}},
      {{"-", "", "a=b"}, {"word -", "word ", "word a=b"}},  // not options
      {{"-x=1", "v"}, {"-x=1 = v"}},  // a short option is not split at '='
  };
  for (const auto& [args, exp] : cases) {
    EXPECT_EQ(Trc(args), exp) << (args.empty() ? "" : args[0]);
  }
}

TEST(ArgRdr, MissingOrEmptyValueIsRefusedWithTheOptionsName) {
  EXPECT_EQ(Trc({"w", "--port"}), (TLst{"word w", "! option --port needs a value"}));
  EXPECT_EQ(Trc({"--port=x"}, true), (TLst{"--port = x"}));
  EXPECT_EQ(Trc({"--port="}, true), (TLst{"! option --port needs a value"}));
  EXPECT_EQ(Trc({"--port", ""}, true), (TLst{"! option --port needs a value"}));
}

TEST(ArgRdr, RepeatedOptionsComeInTheirOrder) {
  EXPECT_EQ(Trc({"--a", "1", "--a=2", "--f", "--f"}), (TLst{"--a = 1", "--a = 2", "flag --f", "flag --f"}));
}

TEST(ArgRdr, DoubleDashEndsTheOptions) {
  EXPECT_EQ(Trc({"--a", "1", "--", "--a", "-h", "--", "x"}),
            (TLst{"--a = 1", "word --a", "word -h", "word --", "word x"}));
  EXPECT_EQ(Trc({"--"}), TLst{});
  // As a value it is a value, and the options go on.
  EXPECT_EQ(Trc({"--a", "--", "--f"}), (TLst{"--a = --", "flag --f"}));
}

TEST(ArgRdr, NumbersAreTheWholeText) {
  EXPECT_EQ(ArgNum("2"), 2.0);
  EXPECT_EQ(ArgNum("0.25"), 0.25);
  EXPECT_EQ(ArgNum("1e3"), 1000.0);
  for (const char* bad : {"", "x", "2s", "1,5", "--1"}) EXPECT_FALSE(ArgNum(bad).has_value()) << bad;
}
