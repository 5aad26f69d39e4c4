// The spoken cues of the installation: every cue of the program's table leads,
// in each language and with folder case ignored as the program resolves it, to
// a complete 16-bit mono PCM wave of a sensible length that is not silent; and
// the script that records them writes exactly the table's files.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "DatFilRdr.h"
#include "core/PathUtl.h"
#include "sound/PlyWavFil.h"
#include "sound/SndCue.h"
#include "sound/WavInf.h"

using namespace datatest;

namespace {

// Path of a cue in the staged installation, in language lge ("" for English).
std::string StgCuePth(const TuSndCue& cue, const char* lge) {
  const std::string stg = std::string(TESSARO_STAGE_DIR) + "/";
  const std::string eng = SndCuePth(cue.Cue, stg, stg + "bin/");
  return NativePath(*lge ? LgeCuePth(eng, lge) : eng);
}

// The file name of a cue, as the recording script writes it.
std::string CueFil(const TuSndCue& cue) {
  const std::string n = cue.Nam;
  return n.substr(n.rfind('\\') + 1);
}

// Largest absolute sample value of a 16-bit wave.
int Peak(const TBytes& b, const TuWavInf& inf) {
  int peak = 0;
  for (std::uint64_t i = inf.DatOff; i + 1 < inf.DatOff + inf.DatHav; i += 2)
    peak = std::max(peak, std::abs(static_cast<std::int16_t>(U16(b, i))));
  return peak;
}

TEST(InstalledSounds, EveryCueIsASpokenPcmWaveInEveryLanguage) {
  for (const TuSndCue& cue : GcSndCue)
    for (const char* lge : {"", "nl", "de"}) {
      const std::string path = StgCuePth(cue, lge);
      SCOPED_TRACE(path);
      TBytes b;
      TuWavInf inf;
      ASSERT_TRUE(ReadAll(path, b));
      ASSERT_TRUE(WavInfRd(b.data(), b.size(), b.size(), inf)) << "no wave file";
      EXPECT_TRUE(WavCmp(inf)) << "cut off";
      EXPECT_EQ(inf.FmtTag, 1u) << "plain PCM";
      EXPECT_EQ(inf.Chn, 1u);
      EXPECT_EQ(inf.Bits, 16u);
      EXPECT_EQ(inf.ByteRate, 44100u) << "22050 Hz";
      const int ms = WavDurMs(b.data(), b.size());
      EXPECT_GE(ms, 400);
      EXPECT_LE(ms, 3000);
      EXPECT_GT(Peak(b, inf), 8000) << "audible, not silence";
    }
}

TEST(InstalledSounds, CuesWithDifferentWordsAreDifferentRecordings) {
  // A copied file under a second name would pass the format checks above.
  std::map<TBytes, std::string> seen;
  for (const TuSndCue& cue : GcSndCue) {
    TBytes b;
    ASSERT_TRUE(ReadAll(StgCuePth(cue, ""), b)) << cue.Nam;
    const auto [at, fresh] = seen.emplace(b, CueFil(cue));
    EXPECT_TRUE(fresh || at->second == CueFil(cue)) << CueFil(cue) << " equals " << at->second;
  }
}

// The files that each language of data/sounds/make_sounds.sh records: its
// say "NAME" lines, with "$n.wav" taken for every n of the loop around it.
std::map<std::string, std::set<std::string>> ScriptFiles() {
  std::ifstream in(TESSARO_DATA_DIR "/sounds/make_sounds.sh");
  const std::regex fnRx(R"(^(\w+)\(\) \{)"), forRx(R"(^\s*for n in ([0-9 ]+); do)"), sayRx(R"re(^\s*say "([^"]+)")re");
  std::map<std::string, std::set<std::string>> files;
  std::string fn, loop, line;
  std::smatch m;
  while (std::getline(in, line)) {
    if (std::regex_search(line, m, fnRx)) {
      fn = m[1];
    } else if (std::regex_search(line, m, forRx)) {
      loop = m[1];
    } else if (std::regex_search(line, m, sayRx)) {
      std::istringstream ns(m[1] == "$n.wav" ? loop : std::string());
      if (m[1] != "$n.wav") files[fn].insert(m[1]);
      for (std::string n; ns >> n;) files[fn].insert(n + ".wav");
    }
  }
  return files;
}

TEST(InstalledSounds, TheRecordingScriptWritesEveryCueInEachLanguage) {
  std::set<std::string> cues;
  for (const TuSndCue& cue : GcSndCue) cues.insert(CueFil(cue));
  const auto files = ScriptFiles();
  EXPECT_EQ(files.size(), 3u) << "english, dutch, german";
  for (const auto& [lge, names] : files) EXPECT_EQ(names, cues) << lge;
}

}  // namespace
