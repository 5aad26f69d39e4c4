// The data beside and below the executable, in the source folder and in the
// staged installation: the two .sys files read with an independent reading of
// their format (so that a wrong entry shows even where the program's readers
// tolerate it) and the token file through the program's reader; the pictures
// as the window loads them; the spoken cues of the program's table.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "app/VslTbrTbl.h"
#include "core/PathUtl.h"
#include "messages/SysMsgBui.h"
#include "messages/SysMsgIdf.h"
#include "messages/TxtFil.h"
#include "sound/PlyWavFil.h"
#include "sound/SndCue.h"
#include "sound/WavInf.h"
#include "translator/SarAndTkn.h"
#include "translator/SarTkn.h"

namespace {

using TBytes = std::vector<std::uint8_t>;

inline bool ReadAll(const std::string& path, TBytes& out) {
  std::ifstream in(path, std::ios::binary);
  out.assign(std::istreambuf_iterator<char>(in), {});
  return in.is_open();
}
inline std::uint32_t U16(const TBytes& b, std::size_t at) { return at + 2 <= b.size() ? b[at] | b[at + 1] << 8 : 0; }
inline std::uint32_t U32(const TBytes& b, std::size_t at) { return U16(b, at) | U16(b, at + 2) << 16; }

// data/ and the staged installation: the installation folder Dir and the
// executable's folder SysDir (where the .sys files lie), both ending in '/'.
struct TInsRoot {
  const char* Name;
  std::string Dir, SysDir;
  // A file named relative to the executable's folder ("..\pictures\x" in the program).
  std::string FromAppDir(const std::string& rel) const { return SysDir == Dir ? Dir + rel : SysDir + "..\\" + rel; }
};
inline std::vector<TInsRoot> InsRoots() {
  const std::string data = std::string(TESSARO_DATA_DIR) + "/", stage = std::string(TESSARO_STAGE_DIR) + "/";
  return {{"source data", data, data}, {"staged installation", stage, stage + "bin/"}};
}

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
  // The stand-ins built into the program are this file's English lines.
  for (const TSysMsgIdf& m : GcSysMsgIdf) EXPECT_EQ(SysMsgEng(m.Idf), txt(m.Idf, 0)) << m.Nam;
  EXPECT_EQ(SysMsgEng(SUM_XXX_XXX_XXX_NON), "");
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

struct TBmp {
  int W = 0, H = 0;  // H as stored: positive for rows bottom-up
  TBytes Data;
  double Lum = 0;       // mean brightness 0..255
  std::size_t Col = 0;  // colours, counted up to 1000
};

// Reads and surveys a 24-bit bitmap; the failure says what is wrong.
::testing::AssertionResult LodBmp(const std::string& path, TBmp& bmp) {
  auto bad = [&](const char* why) { return ::testing::AssertionFailure() << "'" << path << "': " << why; };
  const TBytes& b = bmp.Data;
  if (!ReadAll(path, bmp.Data)) return bad("cannot be read");
  if (b.size() < 54 || b[0] != 'B' || b[1] != 'M' || U32(b, 2) != b.size()) return bad("no whole Windows bitmap");
  const std::uint32_t dib = U32(b, 14), off = U32(b, 10);
  bmp.W = static_cast<std::int32_t>(U32(b, 18)), bmp.H = static_cast<std::int32_t>(U32(b, 22));
  if (dib < 40 || U16(b, 26) != 1 || U16(b, 28) != 24 || U32(b, 30) != 0) return bad("not 24 bits uncompressed");
  const std::size_t h = static_cast<std::size_t>(bmp.H < 0 ? -bmp.H : bmp.H), stride = (std::size_t(bmp.W) * 3 + 3) / 4 * 4;
  if (bmp.W <= 0 || h == 0 || off < 14 + dib || off + stride * h > b.size()) return bad("pixel data cut short or misplaced");
  std::set<std::uint32_t> seen;
  double sum = 0;
  for (std::size_t y = 0; y < h; ++y)
    for (std::size_t x = 0, at = off + y * stride; x < std::size_t(bmp.W); ++x, at += 3) {
      if (seen.size() < 1000) seen.insert(std::uint32_t(b[at + 2]) << 16 | U16(b, at));
      sum += 0.299 * b[at + 2] + 0.587 * b[at + 1] + 0.114 * b[at];
    }
  bmp.Lum = sum / (double(bmp.W) * double(h)), bmp.Col = seen.size(), bmp.H = static_cast<int>(h);
  return ::testing::AssertionSuccess();
}

TEST(InstalledPictures, HaveTheirSizesAndEachIsAPictureOfItsOwn) {
  for (const auto& root : InsRoots()) {
    SCOPED_TRACE(root.Name);
    std::set<TBytes> tbn;
    // The program's own table: the picture folder + each name, which begins with a backslash.
    for (const TuTbnImg& img : GcTbnImg) {
      const char* name = img.Fil;
      TBmp bmp;
      ASSERT_TRUE(LodBmp(NativePath(root.Dir + "pictures" + name), bmp));
      EXPECT_EQ(bmp.W * 1000 + bmp.H, 32032) << name;
      EXPECT_GE(bmp.Col, 20u) << name << ": a picture, not a plain square";
      tbn.insert(bmp.Data);
      // Beside it the same at twice the size, as bright, for a scaled desktop.
      std::string big = name;
      TBmp b2;
      ASSERT_TRUE(LodBmp(NativePath(root.Dir + "pictures" + big.insert(big.size() - 4, "@2x")), b2));
      EXPECT_EQ(b2.W * 1000 + b2.H, 64064) << big;
      EXPECT_NEAR(b2.Lum, bmp.Lum, 8.0) << big << ": not the same picture";
    }
    EXPECT_EQ(tbn.size(), GcTbnImg.size()) << "every button has its own picture";
    // The background below the installation folder, the direction pictures
    // beside the executable's folder and of its size, the intro.
    TBmp pic[4];
    const char* const nam[4] = {"background", "upstream", "downstream", "intro"};
    for (int i = 0; i < 4; ++i) {
      const std::string rel = std::string("pictures\\") + nam[i] + ".bmp";
      ASSERT_TRUE(LodBmp(NativePath(i == 1 || i == 2 ? root.FromAppDir(rel) : root.Dir + rel), pic[i]));
      EXPECT_GE(pic[i].Col, i == 3 ? 100u : i ? 20u : 1u) << nam[i];
      EXPECT_TRUE(i % 3 == 0 || (pic[i].W == pic[0].W && pic[i].H == pic[0].H)) << nam[i] << ": the field's size";
    }
    EXPECT_TRUE(pic[0].W >= 640 && pic[0].H >= 480);
    EXPECT_GT(pic[0].Lum, 225.0) << "the background must stay pale behind the coloured vios";
    EXPECT_EQ((std::set<TBytes>{pic[0].Data, pic[1].Data, pic[2].Data}).size(), 3u);
    EXPECT_EQ(pic[3].W * 1000 + pic[3].H, 474390);
  }
}

// The file name of a cue, as the recording script writes it.
std::string CueFil(const TuSndCue& cue) { return std::string(cue.Nam).substr(std::string(cue.Nam).rfind('\\') + 1); }

TEST(InstalledSounds, EveryCueIsItsOwnSpokenPcmWaveInEveryLanguageAndTheScriptRecordsThem) {
  const std::string stg = std::string(TESSARO_STAGE_DIR) + "/";
  std::map<TBytes, std::string> seen;  // a copied file under a second name would pass the format checks
  for (const TuSndCue& cue : GcSndCue)
    for (const char* lge : {"", "nl", "de"}) {
      const std::string eng = SndCuePth(cue.Cue, stg, stg + "bin/"), path = NativePath(*lge ? LgeCuePth(eng, lge) : eng);
      SCOPED_TRACE(path);
      TBytes b;
      TuWavInf inf;
      ASSERT_TRUE(ReadAll(path, b) && WavInfRd(b.data(), b.size(), b.size(), inf)) << "no wave file";
      EXPECT_TRUE(WavCmp(inf)) << "cut off";
      EXPECT_EQ(inf.FmtTag * 1000 + inf.Chn * 100 + inf.Bits, 1116u) << "plain PCM, mono, 16 bits";
      EXPECT_EQ(inf.ByteRate, 44100u) << "22050 Hz";
      const int ms = WavDurMs(b.data(), b.size());
      EXPECT_TRUE(ms >= 400 && ms <= 3000) << ms;
      int peak = 0;
      for (std::uint64_t i = inf.DatOff; i + 1 < inf.DatOff + inf.DatHav; i += 2)
        peak = std::max(peak, std::abs(static_cast<std::int16_t>(U16(b, i))));
      EXPECT_GT(peak, 8000) << "audible, not silence";
      const auto [at, fresh] = seen.emplace(b, CueFil(cue) + lge);
      EXPECT_TRUE(fresh || at->second == CueFil(cue) + lge) << "equals " << at->second;
    }
  // The recording script: its say "NAME" lines, with "$n.wav" taken for every n of the loop around it.
  std::ifstream in(TESSARO_DATA_DIR "/sounds/make_sounds.sh");
  const std::regex fnRx(R"(^(\w+)\(\) \{)"), forRx(R"(^\s*for n in ([0-9 ]+); do)"), sayRx(R"re(^\s*say "([^"]+)")re");
  std::map<std::string, std::set<std::string>> files;
  std::string fn, loop, line;
  std::smatch m;
  while (std::getline(in, line)) {
    if (std::regex_search(line, m, fnRx)) fn = m[1];
    else if (std::regex_search(line, m, forRx)) loop = m[1];
    else if (std::regex_search(line, m, sayRx)) {
      std::istringstream ns(m[1] == "$n.wav" ? loop : std::string());
      if (m[1] != "$n.wav") files[fn].insert(m[1]);
      for (std::string n; ns >> n;) files[fn].insert(n + ".wav");
    }
  }
  std::set<std::string> cues;
  for (const TuSndCue& cue : GcSndCue) cues.insert(CueFil(cue));
  EXPECT_EQ(files.size(), 3u) << "english, dutch, german";
  for (const auto& [lge, names] : files) EXPECT_EQ(names, cues) << lge;
}

}  // namespace
