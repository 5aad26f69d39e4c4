// Sensor/actor definitions: splitting, the two list queries and the token lookup.
#include <gtest/gtest.h>

#include "core/Globals.h"
#include "support/FakePlatform.h"
#include "translator/SarAndTkn.h"

namespace {

struct TSplCase {
  std::string Line;
  TStrLst Fields;
  int Max = -1;  // fields asked for; -1 all
};

TEST(SplTknLin, SplitsByTheFileRule) {
  const TSplCase cases[] = {
      {"A,XXX,Driving,Forward,Rijden,Vooruit,Fahren,Vorwaerts",
       {"A", "XXX", "Driving", "Forward", "Rijden", "Vooruit", "Fahren", "Vorwaerts"}},
      {"  \tA , XXX,\"Back Leds\",On", {"A", "XXX", "Back Leds", "On"}},
      {"Back Leds,On", {"Back", "Leds", "On"}},
      {"a,,b", {"a", "", "b"}},
      {"a,b,", {"a", "b"}},
      {",a", {"", "a"}},
      {"\"say \"\"hi\"\", ok\",x", {"say \"hi\", ok", "x"}},
      {"\"unterminated, still", {"unterminated, still"}},
      {"\"ab\"cd", {"ab", "cd"}},
      {"", {}},
      {"   ", {}},
      {"0x12", {"0x12"}},
      {std::string("a,b\0,c", 6), {"a", "b"}},  // a NUL character ends the line
      {std::string("\0", 1), {}},
      {"a b c d e", {"a", "b", "c"}, 2},  // stops after one field more than asked
      {"a,b", {"a", "b"}, 2},
  };
  for (const TSplCase& c : cases) {
    TStrLst f = {"old", "values", "x", "y", "z"};
    if (c.Max < 0)
      SplTknLin(c.Line, f);
    else
      SplTknLin(c.Line, f, c.Max);
    EXPECT_EQ(f, c.Fields) << c.Line;
  }
}

class SarAndTknTest : public testing::Test {
protected:
  // A small definition file exercising every rule of the lookups.
  void SetUp() override { ASSERT_TRUE(Sar.LodTknFil(TESSARO_SOURCE_DIR "/tests/translator/data/sar_rules.sys")); }
  TFakePlatform Pf;
  TSarAndTkn Sar{nullptr};
};

struct TLstCase {
  const char* Typ;  // null: the type list
  std::uint8_t Lge, AvlCol;
  bool Actor;
  TStrLst Exp;  // empty: the query fails
};

TEST_F(SarAndTknTest, TypeAndCommandLists) {
  // Types in their first order, once regardless of case; kind X counts as
  // both; "Track Led" unquoted splits into 9 fields and is no definition.
  // Column 1 looks at the second flag character: "-XX" is offered there, "X"
  // (too short) is not. Commands are found by their exact type.
  const TLstCase cases[] = {
      {nullptr, 0, 0, true, {"Driving", "Back Leds", "Short"}},
      {nullptr, 1, 0, true, {"Rijden", "Achterlichten", "Kort"}},
      {nullptr, 2, 0, true, {"Fahren", "Ruecklichter", "Kurz"}},
      {nullptr, 0, 0, false, {"Back Leds", "Bumper", "Line"}},
      {nullptr, 0, 1, false, {"Back Leds", "Bumper", "Hidden", "Line"}},
      {nullptr, 0, 1, true, {"Driving", "Back Leds"}},
      {nullptr, 0, 5, true, {}},
      {nullptr, 3, 0, true, {}},
      {"Driving", 0, 0, true, {"Forward", "Reverse", "Spin"}},
      {"Back Leds", 0, 0, true, {"On"}},
      {"back leds", 0, 0, true, {"Off"}},
      {"Lijn", 1, 0, false, {"Links", "Rechts"}},
      {"Bumper", 0, 0, true, {}},
      {"driving", 0, 0, true, {}},
      {"Hidden", 0, 0, false, {}},
      {"Track Led", 0, 0, true, {}},
  };
  for (const TLstCase& c : cases) {
    TStrLst l = {"left over"};
    GuLstErrMsg.clear();
    const bool ok = c.Typ ? Sar.GetSarComLst(l, c.Typ, c.Lge, c.AvlCol, c.Actor)
                          : Sar.GetSarTypLst(l, c.Lge, c.AvlCol, c.Actor);
    EXPECT_EQ(ok, !c.Exp.empty()) << (c.Typ ? c.Typ : "types");
    EXPECT_EQ(l, c.Exp) << (c.Typ ? c.Typ : "types");
    EXPECT_EQ(GuLstErrMsg, ok ? "" : c.Typ ? "#194, no sar commands found in memo" : "#191, no sar types found in memo");
  }
}

struct TTknCase {
  std::uint8_t Lge;
  const char* Typ;
  const char* Com;
  int Tkn;
};

TEST_F(SarAndTknTest, TokenLookup) {
  const TTknCase cases[] = {
      {0, "Driving", "Forward", 0x12},   // first of two occurrences
      {1, "Rijden", "Achteruit", 0x13},
      {2, "Ruecklichter", "An", 0x20},
      {0, "Hidden", "Thing", 0x51},      // not offered, still found
      {0, "Line", "Left", 0xA7},
      {0, "Line", "Right", 0xA8},        // lower-case digits
      {0, "Short", "Flags", 0x41},
      {0, "Driving", "Spin", -1},        // no value line in front
      {0, "Driving", "forward", -1},     // exact comparison
      {1, "Driving", "Forward", -1},     // wrong language
      {0, "Track", "Led", -1},
      {3, "Driving", "Forward", -1},
  };
  for (const TTknCase& c : cases) {
    GuLstErrMsg.clear();
    EXPECT_EQ(Sar.GetSarTkn(c.Lge, c.Typ, c.Com), c.Tkn) << c.Typ << "/" << c.Com;
    if (c.Tkn < 0) {
      EXPECT_EQ(GuLstErrMsg, std::string("#183, sar type/command combination '") + c.Typ + "'/'" + c.Com +
                                 "' not found in language memo");
    }
  }
}

TEST_F(SarAndTknTest, ValueLineMustStandRightBeforeTheDefinition) {
  const struct {
    TStrLst Lines;
    const char* Typ;
    int Tkn;
  } cases[] = {
      // A definition in the first line has no value line.
      {{"A,XXX,Driving,Forward,a,b,c,d", "0x12", "A,XXX,Driving,Forward,a,b,c,d"}, "Driving", 0x12},
      {{"A,XXX,Driving,Forward,a,b,c,d"}, "Driving", -1},
      // 'g' counts as 16: 16 * 1 + 16 = 32; "0X12" is no value line.
      {{"0x1g", "A,XXX,T,Forward,a,b,c,d"}, "T", 0x20},
      {{"0X12", "A,XXX,U,Forward,a,b,c,d"}, "U", -1},
  };
  for (const auto& c : cases) {
    Sar.SetLines(c.Lines);
    EXPECT_EQ(Sar.GetSarTkn(0, c.Typ, "Forward"), c.Tkn) << c.Lines[0];
  }
}

TEST_F(SarAndTknTest, AFailedLoadLeavesNoDefinitions) {
  EXPECT_FALSE(Sar.LodTknFil("/nonexistent/none.sys"));
  EXPECT_TRUE(Sar.Lines().empty());
  EXPECT_EQ(Sar.GetSarTkn(0, "Driving", "Forward"), -1);
}

}  // namespace
