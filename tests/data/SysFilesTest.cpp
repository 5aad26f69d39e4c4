// The two data files beside the executable, read with an independent reading
// of their format, so that a wrong entry shows up even where the program's own
// readers tolerate it; then the staged token file through the program's reader.

#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <regex>
#include <set>
#include <tuple>

#include "DatFilRdr.h"
#include "messages/SysMsgIdf.h"
#include "messages/TxtFil.h"
#include "translator/SarAndTkn.h"
#include "translator/SarTkn.h"

using namespace datatest;

namespace {

bool IsIdf(const std::string& l) { return l.size() == 4 && l.rfind("0x", 0) == 0 && std::isxdigit(l[2]) && std::isxdigit(l[3]); }
bool IsCmt(const std::string& l) { return l.empty() || l.rfind("//", 0) == 0; }

// The lines of a source file, which holds plain ASCII only and is staged as it is.
TStrLst SrcLin(const char* name) {
  TStrLst l;
  TBytes src, stg;
  EXPECT_TRUE(ReadAll(InsRoots()[0].SysDir + name, src) && ReadAll(InsRoots()[1].SysDir + name, stg) && src == stg) << name;
  EXPECT_TRUE(LodLinFil(InsRoots()[0].SysDir + name, l)) << name;
  for (std::size_t i = 0; i < l.size(); ++i)
    for (char c : l[i]) EXPECT_LT(static_cast<unsigned char>(c), 128u) << name << " line " << i + 1;
  return l;
}

TEST(ExtComTknFile, DefinitionsHaveTheirOwnTokensAndTheNamesTheEditorAndTranslatorExpect) {
  const TStrLst l = SrcLin("ExtComTkn.sys");
  const std::regex def(R"re(^([ASX]), XXX(, ("[^"]*"|[^ ",]+)){6}$)re"), fld(R"re("([^"]*)"|([^ ",]+))re");
  std::map<std::string, int> tkn;               // "<language><type>/<command>": token
  std::map<std::string, std::set<int>> act[3];  // actor tokens by type, per language
  std::string first[3];                         // the first actor type, per language
  std::map<char, int> knd;                      // definitions by kind
  std::set<int> seen;                           // tokens
  std::set<std::string> sns;                    // sensor types
  for (std::size_t i = 0; i < l.size(); ++i) {
    if (IsCmt(l[i])) continue;
    // Every other line is a token line with a definition below it.
    ASSERT_TRUE(IsIdf(l[i]) && i + 1 < l.size() && std::regex_match(l[i + 1], def)) << "line " << i + 1 << ": " << l[i];
    const int t = std::stoi(l[i].substr(2), nullptr, 16);
    const char k = l[++i][0];
    std::vector<std::string> f;  // the names: type and command in each language
    for (std::sregex_iterator m(l[i].begin() + 7, l[i].end(), fld), e; m != e; ++m) f.push_back((*m)[(*m)[1].matched ? 1 : 2]);
    EXPECT_TRUE(seen.insert(t).second) << "token twice: " << t;
    EXPECT_FALSE(t == 0x01 || (t >= 0xA0 && t <= 0xAE)) << "the placeholder or an instruction token: " << t;
    EXPECT_EQ(SarIsAct(static_cast<std::uint8_t>(t)), k != 'S') << l[i] << ": token generation's actor ranges";
    ++knd[k];
    if (k != 'A') sns.insert(f[0]);
    for (int g = 0; g < 3; ++g) {
      EXPECT_TRUE(tkn.emplace(std::to_string(g) + f[2 * g] + "/" + f[2 * g + 1], t).second) << l[i];
      if (k == 'S') continue;
      act[g][f[2 * g]].insert(t);
      if (first[g].empty()) first[g] = f[2 * g];
    }
  }
  EXPECT_TRUE(knd['A'] + knd['X'] >= 10 && knd['S'] + knd['X'] >= 10 && knd['X'] >= 1) << "actors, sensors, both";
  for (const char* t : {"Bumpers", "Line sensors", "Light", "Switch 1", "Switch 2", "Switch 3", "Switch 4", "Switch 5", "Switch 6"})
    EXPECT_EQ(sns.count(t), 1u) << t;
  // A new Actor starts with the first actor type and "Forward"; the editor shows
  // the value field by the names of the driving commands.
  for (int g = 0; g < 3; ++g) {
    const std::string lg = std::to_string(g);
    EXPECT_EQ(first[g], "Driving");
    EXPECT_EQ(tkn[lg + "Driving/Forward"] * 256 + tkn[lg + "Driving/Reverse"], ST_DRV_FWD * 256 + ST_DRV_REV) << g;
    EXPECT_EQ(act[g]["Driving"], (std::set<int>{ST_DRV_STP, ST_DRV_FWD, ST_DRV_REV, ST_TRN_LFT, ST_TRN_RGT, ST_SPN_LFT, ST_SPN_RGT}));
    for (const auto& [type, lo, hi] : {std::tuple{"System led", ST_SYS_ON, ST_SYS_FLS}, {"Back Leds", ST_BCK_ON, ST_BCK_ALT},
                                       {"Track Led", ST_TRK_ON, ST_TRK_OFF}}) {
      EXPECT_GE(act[g][type].size(), 2u) << type << " switched on and off";
      for (int t : act[g][type]) EXPECT_TRUE(t >= lo && t <= hi) << type << " " << t;
    }
  }
}

TEST(SysMsgFilFile, HoldsEveryMessageOfTheRegistryInThreeLanguagesAndNoOther) {
  const TStrLst l = SrcLin("SysMsgFil.sys");
  std::map<int, std::size_t> at;
  for (std::size_t i = 0; i < l.size(); ++i) {
    EXPECT_TRUE(!IsIdf(l[i]) || at.emplace(std::stoi(l[i].substr(2), nullptr, 16), i).second) << "twice: " << l[i];
    // Between blocks, every line is a comment or blank.
    bool inBlk = false;
    for (std::size_t k = 0; k < 4 && k <= i; ++k) inBlk = inBlk || IsIdf(l[i - k]);
    EXPECT_TRUE(inBlk || IsCmt(l[i])) << "line " << i + 1;
  }
  auto txt = [&](int id, int g) { return at.count(id) && at[id] + 1 + g < l.size() ? l[at[id] + 1 + g] : std::string(); };
  std::set<int> wanted;
  for (const TSysMsgIdf& m : GcSysMsgIdf) {
    wanted.insert(m.Idf);
    for (int g = 0; g < 3; ++g) {
      const std::string t = txt(m.Idf, g);
      EXPECT_TRUE(t.size() >= 2 && !IsIdf(t) && t.front() != ' ' && t.back() != ' ') << m.Nam << " language " << g;
    }
  }
  for (const auto& [id, line] : at) EXPECT_EQ(wanted.count(id), 1u) << "identifier " << id << " is used by nothing";
  for (int id = SUM_TBN_STA_XXX_HNT; id <= SUM_TBN_COM_STE_HNT; ++id)
    EXPECT_TRUE(txt(id, 0) != txt(id, 1) && txt(id, 0) != txt(id, 2)) << "three languages, three hints: " << id;
  // Composed: "After" + " " + caption + " " + "instruction" + ": " + text; "Label A " + text; "Comport COM1" + text.
  EXPECT_EQ(txt(SUM_GUM_XXX_XXX_AFT, 0) + " DELAY " + txt(SUM_GUM_XXX_XXX_INS, 0), "After DELAY instruction");
  for (int g = 0; g < 3; ++g) {
    EXPECT_EQ((txt(SUM_GUM_XXX_XXX_INS, g) + txt(SUM_GUM_XXX_XXX_AFT, g)).find(' '), std::string::npos) << "words";
    for (int id : {0x18, 0x19, 0x1A, 0x1C, 0x1D, 0x1E, 0x1F, 0x20, 0x21, 0x22})
      EXPECT_TRUE(std::islower(static_cast<unsigned char>(txt(id, g)[0]))) << id << " language " << g;
    EXPECT_EQ(txt(SUM_LNK_COM_PRT_ERR, g).substr(0, 2), ": ") << g;
  }
}

TEST(DataFilesThroughTheReaders, EveryOfferedSarCommandHasAToken) {
  TSarAndTkn sar(nullptr);
  ASSERT_TRUE(sar.LodTknFil(std::string(TESSARO_STAGE_DIR) + "/bin/ExtComTkn.sys"));
  for (std::uint8_t lge = 0; lge < 3; ++lge)
    for (bool actor : {true, false}) {
      TStrLst types, coms;
      ASSERT_TRUE(sar.GetSarTypLst(types, lge, 0, actor) && types.size() >= 4) << int(lge) << actor;
      std::size_t n = 0;
      for (const auto& type : types) {
        ASSERT_TRUE(sar.GetSarComLst(coms, type, lge, 0, actor)) << type;
        for (const auto& com : coms) EXPECT_GE(sar.GetSarTkn(lge, type, com), 0) << type << "/" << com;
        n += coms.size();
      }
      EXPECT_GE(n, 10u);
      // A new Actor vio takes the first type and "Forward".
      EXPECT_TRUE(!actor || (types.front() == "Driving" && sar.GetSarTkn(lge, "Driving", "Forward") == ST_DRV_FWD));
    }
}

}  // namespace
