// Every cue of the program's table leads, in each language, to its own spoken
// 16-bit mono PCM wave; the recording script writes exactly the table's files.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "DatFilRdr.h"
#include "core/PathUtl.h"
#include "sound/PlyWavFil.h"
#include "sound/SndCue.h"
#include "sound/WavInf.h"

using namespace datatest;

namespace {

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
