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

// A small definition file exercising every rule of the lookups.
const TStrLst GcDef = {
    "; header comment, ignored",
    "0x12",
    "A,XXX,Driving,Forward,Rijden,Vooruit,Fahren,Vorwaerts",
    "0x13",
    "A,XXX,Driving,Reverse,Rijden,Achteruit,Fahren,Rueckwaerts",
    "0x20",
    "X,XXX,\"Back Leds\",On,Achterlichten,Aan,Ruecklichter,An",
    "0x50",
    "S,XXX,Bumper,Pressed,Bumper,Ingedrukt,Stossstange,Gedrueckt",
    "0x51",
    "S,-XX,Hidden,Thing,Verborgen,Ding,Versteckt,Ding",
    "0x21",
    "A,XXX,\"back leds\",Off,achterlichten,Uit,ruecklichter,Aus",
    "A,XXX,Driving,Spin,Rijden,Draaien,Fahren,Drehen",
    "0x30",
    "A,XXX,Driving,Forward,Rijden,Vooruit,Fahren,Vorwaerts",
    "0x40",
    "A,XXX,Track Led,On,Spoor,Aan,Spur,An",
    "0x41",
    "A,X,Short,Flags,Kort,Vlag,Kurz,Flagge",
    "0xA7",
    "S,XXX,Line,Left,Lijn,Links,Linie,Links",
    "0xa8",
    "S,XXX,Line,Right,Lijn,Rechts,Linie,Rechts",
};

class SarAndTknTest : public testing::Test {
protected:
  void SetUp() override {
    Sar.SetLines(GcDef);
    GuLstErrMsg.clear();
  }
  TFakePlatform Pf;
  TSarAndTkn Sar{nullptr};
};

TEST_F(SarAndTknTest, ActorTypesInFirstOrderOnceRegardlessOfCase) {
  TStrLst l;
  ASSERT_TRUE(Sar.GetSarTypLst(l, 0, 0, true));
  // "Track Led" unquoted splits into 9 fields and is no definition; "back leds"
  // is the same type as "Back Leds" written first; kind X counts as actor.
  EXPECT_EQ(l, (TStrLst{"Driving", "Back Leds", "Short"}));
  ASSERT_TRUE(Sar.GetSarTypLst(l, 1, 0, true));
  EXPECT_EQ(l, (TStrLst{"Rijden", "Achterlichten", "Kort"}));
  ASSERT_TRUE(Sar.GetSarTypLst(l, 2, 0, true));
  EXPECT_EQ(l, (TStrLst{"Fahren", "Ruecklichter", "Kurz"}));
}

TEST_F(SarAndTknTest, SensorTypesIncludeKindXAndSkipUnavailable) {
  TStrLst l;
  ASSERT_TRUE(Sar.GetSarTypLst(l, 0, 0, false));
  EXPECT_EQ(l, (TStrLst{"Back Leds", "Bumper", "Line"}));
  // Column 1 looks at the second flag character: "-XX" is offered there,
  // "X" (too short) is not.
  ASSERT_TRUE(Sar.GetSarTypLst(l, 0, 1, false));
  EXPECT_EQ(l, (TStrLst{"Back Leds", "Bumper", "Hidden", "Line"}));
  ASSERT_TRUE(Sar.GetSarTypLst(l, 0, 1, true));
  EXPECT_EQ(l, (TStrLst{"Driving", "Back Leds"}));
}

TEST_F(SarAndTknTest, CommandsOfATypeComparedExactly) {
  TStrLst l;
  ASSERT_TRUE(Sar.GetSarComLst(l, "Driving", 0, 0, true));
  EXPECT_EQ(l, (TStrLst{"Forward", "Reverse", "Spin"}));
  ASSERT_TRUE(Sar.GetSarComLst(l, "Back Leds", 0, 0, true));
  EXPECT_EQ(l, (TStrLst{"On"}));
  ASSERT_TRUE(Sar.GetSarComLst(l, "back leds", 0, 0, true));
  EXPECT_EQ(l, (TStrLst{"Off"}));
  ASSERT_TRUE(Sar.GetSarComLst(l, "Lijn", 1, 0, false));
  EXPECT_EQ(l, (TStrLst{"Links", "Rechts"}));
}

struct TEmptyCase {
  const char* Typ;  // null: the type list
  std::uint8_t Lge, AvlCol;
  bool Actor;
  const char* Msg;
};

TEST_F(SarAndTknTest, EmptyResultsFailAndLeaveTheListEmpty) {
  const TEmptyCase cases[] = {
      {nullptr, 0, 5, true, "#191, no sar types found in memo"},
      {nullptr, 3, 0, true, "#191, no sar types found in memo"},
      {"Bumper", 0, 0, true, "#194, no sar commands found in memo"},
      {"driving", 0, 0, true, "#194, no sar commands found in memo"},
      {"Hidden", 0, 0, false, "#194, no sar commands found in memo"},
      {"Track Led", 0, 0, true, "#194, no sar commands found in memo"},
  };
  for (const TEmptyCase& c : cases) {
    TStrLst l = {"left over"};
    GuLstErrMsg.clear();
    bool ok = c.Typ ? Sar.GetSarComLst(l, c.Typ, c.Lge, c.AvlCol, c.Actor)
                    : Sar.GetSarTypLst(l, c.Lge, c.AvlCol, c.Actor);
    EXPECT_FALSE(ok) << (c.Typ ? c.Typ : "types");
    EXPECT_TRUE(l.empty());
    EXPECT_EQ(GuLstErrMsg, c.Msg);
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

TEST(SarAndTknLoad, MissingFileAndReload) {
  TFakePlatform pf;
  TTmpDir dir;
  TSarAndTkn sar(nullptr);
  EXPECT_FALSE(sar.LodTknFil(dir.Path() + "nope.sys"));
  EXPECT_EQ(GuLstErrMsg, "#174, File error: Token File '" + dir.Path() + "nope.sys' could not be found");
  std::string f = dir.Write("t.sys", "0x12\r\nA,XXX,Driving,Forward,a,b,c,d\r\n");
  ASSERT_TRUE(sar.LodTknFil(f));
  EXPECT_EQ(sar.GetSarTkn(0, "Driving", "Forward"), 0x12);
  EXPECT_FALSE(sar.LodTknFil(dir.Path() + "nope.sys"));
  EXPECT_TRUE(sar.Lines().empty());
}

}  // namespace
