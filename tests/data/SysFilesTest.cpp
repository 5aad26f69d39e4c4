// The two data files beside the executable: the sensor/actor token
// definitions (ExtComTkn.sys) and the message texts (SysMsgFil.sys). The
// files are read here with an independent reading of their format, so that
// a wrong entry shows up even if the program's own readers tolerate it.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "DatFilRdr.h"
#include "messages/SysMsgIdf.h"
#include "messages/TxtFil.h"
#include "translator/SarTkn.h"

using namespace datatest;

namespace {

bool IsIdfLin(const std::string& l) { return l.size() == 4 && l[0] == '0' && l[1] == 'x'; }

int HexVal(const std::string& l) {
  auto d = [](char c) -> int {
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
  };
  int hi = d(l[2]), lo = d(l[3]);
  return hi < 0 || lo < 0 ? -1 : hi * 16 + lo;
}

// Fields of a line: blanks and control characters separate, a comma ends a
// field, double quotes enclose a field with blanks ("" stands for one quote).
std::vector<std::string> SplitFields(const std::string& line) {
  auto blank = [](char c) { return static_cast<unsigned char>(c) >= 1 && static_cast<unsigned char>(c) <= 32; };
  std::vector<std::string> f;
  std::size_t i = 0, n = line.size();
  while (i < n && blank(line[i])) ++i;
  while (i < n) {
    std::string field;
    if (line[i] == '"') {
      ++i;
      while (i < n) {
        if (line[i] == '"') {
          if (i + 1 < n && line[i + 1] == '"') {
            field += '"';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        field += line[i++];
      }
    } else {
      while (i < n && line[i] != ',' && static_cast<unsigned char>(line[i]) > 32) field += line[i++];
    }
    f.push_back(field);
    while (i < n && blank(line[i])) ++i;
    if (i < n && line[i] == ',') {
      ++i;
      while (i < n && blank(line[i])) ++i;
    }
  }
  return f;
}

TEST(FieldSplitting, FollowsTheFileRule) {
  using V = std::vector<std::string>;
  EXPECT_EQ(SplitFields("A, XXX, Driving, Forward"), (V{"A", "XXX", "Driving", "Forward"}));
  EXPECT_EQ(SplitFields("  \"Back Leds\",On"), (V{"Back Leds", "On"}));
  EXPECT_EQ(SplitFields("a,,b"), (V{"a", "", "b"}));
  EXPECT_EQ(SplitFields("a,"), (V{"a"}));
  EXPECT_EQ(SplitFields("Back Leds"), (V{"Back", "Leds"}));
  EXPECT_EQ(SplitFields("\"say \"\"hi\"\"\""), (V{"say \"hi\""}));
}

struct TDef {
  int Token;
  std::vector<std::string> F;  // the 8 fields
  std::string Type(int lge) const { return F[2 + 2 * lge]; }
  std::string Com(int lge) const { return F[3 + 2 * lge]; }
};

// The source files; the staged ones are checked to be copies of them below.
class ExtComTknFile : public ::testing::Test {
protected:
  void SetUp() override {
    const TInsRoot root = InsRoots()[0];
    ASSERT_TRUE(LodLinFil(root.SysDir + "ExtComTkn.sys", Lines)) << root.Name;
    for (std::size_t i = 0; i < Lines.size(); ++i) {
      auto f = SplitFields(Lines[i]);
      if (f.size() != 8) continue;
      int tok = i > 0 && IsIdfLin(Lines[i - 1]) ? HexVal(Lines[i - 1]) : -1;
      Defs.push_back({tok, f});
    }
  }
  TStrLst Lines;
  std::vector<TDef> Defs;

  const TDef* Find(int lge, const std::string& type, const std::string& com) const {
    for (const auto& d : Defs)
      if (d.Type(lge) == type && d.Com(lge) == com) return &d;
    return nullptr;
  }
};

TEST_F(ExtComTknFile, EveryDefinitionHasItsOwnValidToken) {
  ASSERT_GE(Defs.size(), 20u);
  std::set<int> tokens;
  for (const auto& d : Defs) {
    SCOPED_TRACE(d.F[0] + " " + d.Type(0) + "/" + d.Com(0));
    EXPECT_GE(d.Token, 0) << "no value line with two hexadecimal digits directly before it";
    EXPECT_TRUE(tokens.insert(d.Token).second) << "token used twice";
    EXPECT_TRUE(d.F[0] == "A" || d.F[0] == "S" || d.F[0] == "X");
    EXPECT_EQ(d.F[1], "XXX");
    EXPECT_NE(d.Token, 0x01) << "the placeholder token";
    EXPECT_FALSE(d.Token >= 0xA0 && d.Token <= 0xAE) << "an instruction token";
    for (int l = 0; l < 3; ++l) {
      EXPECT_FALSE(d.Type(l).empty());
      EXPECT_FALSE(d.Com(l).empty());
    }
  }
  // Every value line belongs to a definition: a stray value line would mean
  // that a definition line below it was not read as one.
  for (std::size_t i = 0; i < Lines.size(); ++i) {
    if (IsIdfLin(Lines[i])) {
      EXPECT_TRUE(i + 1 < Lines.size() && SplitFields(Lines[i + 1]).size() == 8) << "line " << i + 1;
    }
  }
}

TEST_F(ExtComTknFile, TypeAndCommandPairsAreUniqueInEveryLanguage) {
  for (int l = 0; l < 3; ++l) {
    std::set<std::pair<std::string, std::string>> pairs;
    for (const auto& d : Defs) EXPECT_TRUE(pairs.insert({d.Type(l), d.Com(l)}).second) << d.Type(l) << "/" << d.Com(l);
  }
}

TEST_F(ExtComTknFile, ActorTokensLieInTheRangesTokenGenerationKnows) {
  auto known = [](int t) { return t >= 0 && SarIsAct(static_cast<std::uint8_t>(t)); };
  int actors = 0, sensors = 0, both = 0;
  for (const auto& d : Defs) {
    if (d.F[0] != "S") {
      ++actors;
      EXPECT_TRUE(known(d.Token)) << d.Type(0) << "/" << d.Com(0) << " has token " << d.Token;
    } else {
      ++sensors;
      EXPECT_FALSE(known(d.Token)) << "sensor " << d.Type(0) << "/" << d.Com(0) << " uses an actor token";
    }
    both += d.F[0] == "X";
  }
  EXPECT_GE(actors, 10);
  EXPECT_GE(sensors, 10);
  EXPECT_GE(both, 1) << "at least one definition usable as actor and as sensor";
}

TEST_F(ExtComTknFile, DrivingAndLightsAsTheEditorAndTranslatorExpect) {
  // The editor shows the value field by these exact names and starts a new
  // Actor with the first actor type and the command "Forward", in every language.
  for (int l = 0; l < 3; ++l) {
    SCOPED_TRACE("language " + std::to_string(l));
    const TDef* firstActor = nullptr;
    for (const auto& d : Defs)
      if (d.F[0] != "S") {
        firstActor = &d;
        break;
      }
    ASSERT_NE(firstActor, nullptr);
    EXPECT_EQ(firstActor->Type(l), "Driving");
    const TDef* fwd = Find(l, "Driving", "Forward");
    const TDef* rev = Find(l, "Driving", "Reverse");
    ASSERT_NE(fwd, nullptr);
    ASSERT_NE(rev, nullptr);
    EXPECT_EQ(fwd->Token, ST_DRV_FWD);
    EXPECT_EQ(rev->Token, ST_DRV_REV);
    EXPECT_NE(fwd->F[0], "S");
    EXPECT_NE(rev->F[0], "S");

    // Driving commands without a distance.
    std::set<int> plain;
    std::map<std::string, std::set<int>> lights;
    for (const auto& d : Defs) {
      if (d.F[0] == "S") continue;
      if (d.Type(l) == "Driving" && d.Token != ST_DRV_FWD && d.Token != ST_DRV_REV) plain.insert(d.Token);
      if (d.Type(l) == "System led" || d.Type(l) == "Back Leds" || d.Type(l) == "Track Led")
        lights[d.Type(l)].insert(d.Token);
    }
    EXPECT_EQ(plain, (std::set<int>{ST_DRV_STP, ST_TRN_LFT, ST_TRN_RGT, ST_SPN_LFT, ST_SPN_RGT}));
    ASSERT_EQ(lights.size(), 3u);
    for (int t : lights["System led"]) EXPECT_TRUE(t >= ST_SYS_ON && t <= ST_SYS_FLS) << t;
    for (int t : lights["Back Leds"]) EXPECT_TRUE(t >= ST_BCK_ON && t <= ST_BCK_ALT) << t;
    for (int t : lights["Track Led"]) EXPECT_TRUE(t == ST_TRK_ON || t == ST_TRK_OFF) << t;
    // A light switched on and off for each.
    for (auto& [type, toks] : lights) EXPECT_GE(toks.size(), 2u) << type;
  }
}

TEST_F(ExtComTknFile, SensorsOfferBumpersLineLightAndSixSwitches) {
  std::set<std::string> types;
  for (const auto& d : Defs)
    if (d.F[0] != "A") types.insert(d.Type(0));
  for (const char* t : {"Bumpers", "Line sensors", "Light", "Switch 1", "Switch 2", "Switch 3", "Switch 4",
                        "Switch 5", "Switch 6"})
    EXPECT_EQ(types.count(t), 1u) << t;
}

TEST_F(ExtComTknFile, CommentLinesCannotBeTakenForEntries) {
  for (std::size_t i = 0; i < Lines.size(); ++i) {
    const std::string& l = Lines[i];
    bool entry = IsIdfLin(l) || SplitFields(l).size() == 8;
    bool comment = l.empty() || l.rfind("//", 0) == 0;
    EXPECT_TRUE(entry != comment) << "line " << i + 1 << ": " << l;
    for (char c : l) EXPECT_LT(static_cast<unsigned char>(c), 128u) << "line " << i + 1 << " is not plain ASCII";
  }
}

// ---- SysMsgFil.sys

class SysMsgFilFile : public ::testing::Test {
protected:
  void SetUp() override {
    const TInsRoot root = InsRoots()[0];
    ASSERT_TRUE(LodLinFil(root.SysDir + "SysMsgFil.sys", Lines)) << root.Name;
    for (std::size_t i = 0; i < Lines.size(); ++i)
      if (IsIdfLin(Lines[i])) {
        int v = HexVal(Lines[i]);
        ASSERT_GE(v, 0) << "line " << i + 1;
        ASSERT_EQ(Blocks.count(v), 0u) << "identifier " << v << " twice";
        Blocks[v] = i;
      }
  }
  std::string Text(int id, int lge) const {
    auto it = Blocks.find(id);
    if (it == Blocks.end() || it->second + 1 + lge >= Lines.size()) return {};
    return Lines[it->second + 1 + lge];
  }
  TStrLst Lines;
  std::map<int, std::size_t> Blocks;
};

TEST_F(SysMsgFilFile, HoldsEveryMessageOfTheRegistryInThreeLanguagesAndNoOther) {
  std::set<int> wanted;
  for (const TSysMsgIdf& m : GcSysMsgIdf) {
    wanted.insert(m.Idf);
    for (int l = 0; l < 3; ++l) {
      const std::string t = Text(m.Idf, l);
      EXPECT_GE(t.size(), 2u) << m.Nam << " language " << l;
      EXPECT_FALSE(IsIdfLin(t)) << m.Nam << " language " << l;
      EXPECT_TRUE(t.empty() || (t.front() != ' ' && t.back() != ' ')) << m.Nam << " language " << l;
    }
  }
  for (const auto& [id, line] : Blocks) EXPECT_EQ(wanted.count(id), 1u) << "identifier " << id << " is used by nothing";
  // The three languages of a hint are three different texts.
  for (int id = SUM_TBN_STA_XXX_HNT; id <= SUM_TBN_COM_STE_HNT; ++id) {
    EXPECT_NE(Text(id, 0), Text(id, 1)) << id;
    EXPECT_NE(Text(id, 0), Text(id, 2)) << id;
  }
}

TEST_F(SysMsgFilFile, ComposedMessagesReadWell) {
  // "After" + " " + caption + " " + "instruction" + ": " + text
  EXPECT_EQ(Text(0x24, 0) + " DELAY " + Text(0x23, 0) + ": " + Text(0x18, 0),
            "After DELAY instruction: " + Text(0x18, 0));
  for (int l = 0; l < 3; ++l) {
    // Single words, to stand inside the composed sentence.
    EXPECT_EQ(SplitFields(Text(0x23, l)).size(), 1u) << l;
    EXPECT_EQ(SplitFields(Text(0x24, l)).size(), 1u) << l;
    // Texts that follow "...instruction: " continue the sentence in lower case.
    for (int id : {0x18, 0x19, 0x1A, 0x1D, 0x1E, 0x1F, 0x20, 0x21, 0x22})
      EXPECT_TRUE(std::islower(static_cast<unsigned char>(Text(id, l)[0]))) << id << " language " << l;
    // "Label A " + text, and "Comport COM1" + text (no blank in between).
    EXPECT_TRUE(std::islower(static_cast<unsigned char>(Text(0x1C, l)[0]))) << l;
    EXPECT_EQ(Text(0x25, l).substr(0, 2), ": ") << l;
  }
}

TEST_F(SysMsgFilFile, OnlyPlainAsciiAndNoFalseIdentifierLines) {
  for (std::size_t i = 0; i < Lines.size(); ++i) {
    for (char c : Lines[i]) EXPECT_LT(static_cast<unsigned char>(c), 128u) << "line " << i + 1;
    // Between blocks, every line is a comment or blank.
    bool inBlock = false;
    for (const auto& [id, at] : Blocks) inBlock = inBlock || (i >= at && i <= at + 3);
    if (!inBlock) {
      EXPECT_TRUE(Lines[i].empty() || Lines[i].rfind("//", 0) == 0) << "line " << i + 1;
    }
  }
}

TEST(StagedSysFiles, AreCopiesOfTheSourceFiles) {
  for (const char* name : {"ExtComTkn.sys", "SysMsgFil.sys"}) {
    TBytes src, staged;
    ASSERT_TRUE(ReadAll(InsRoots()[0].SysDir + name, src)) << name;
    ASSERT_TRUE(ReadAll(InsRoots()[1].SysDir + name, staged)) << name << " is not staged";
    EXPECT_TRUE(src == staged) << "the staged " << name << " differs from the source";
  }
}

}  // namespace
