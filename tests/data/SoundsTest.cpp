// The spoken cues of the installation: every path the program plays must lead
// (folder case ignored, as the program resolves it) to a 16-bit mono PCM wave
// file of a sensible length that is not silent.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "DatFilRdr.h"
#include "core/PathUtl.h"
#include "sound/PlyWavFil.h"

using namespace datatest;

namespace {

struct TWavInf {
  std::uint32_t Format = 0, Channels = 0, Rate = 0, Bits = 0, BlockAlign = 0, ByteRate = 0;
  double Seconds = 0;
  int Peak = 0;  // largest absolute sample value
};

::testing::AssertionResult LodWav(const std::string& path, TWavInf& inf) {
  TBytes b;
  if (!ReadAll(path, b)) return ::testing::AssertionFailure() << "cannot read '" << path << "'";
  if (b.size() < 12 || !Tag(b, 0, "RIFF") || !Tag(b, 8, "WAVE"))
    return ::testing::AssertionFailure() << "'" << path << "' is no RIFF/WAVE file";
  if (U32(b, 4) + 8 != b.size())
    return ::testing::AssertionFailure() << "'" << path << "': RIFF size " << U32(b, 4) << " but file has "
                                         << b.size() << " bytes";
  bool fmt = false;
  std::size_t at = 12;
  while (at + 8 <= b.size()) {
    std::uint32_t len = U32(b, at + 4);
    std::size_t body = at + 8;
    if (len > b.size() - body)
      return ::testing::AssertionFailure() << "'" << path << "': chunk runs past the end";
    if (Tag(b, at, "fmt ")) {
      if (len < 16) return ::testing::AssertionFailure() << "'" << path << "': short fmt chunk";
      inf.Format = U16(b, body);
      inf.Channels = U16(b, body + 2);
      inf.Rate = U32(b, body + 4);
      inf.ByteRate = U32(b, body + 8);
      inf.BlockAlign = U16(b, body + 12);
      inf.Bits = U16(b, body + 14);
      fmt = true;
    } else if (Tag(b, at, "data")) {
      if (!fmt) return ::testing::AssertionFailure() << "'" << path << "': data before fmt";
      if (inf.ByteRate == 0 || inf.Bits != 16)
        return ::testing::AssertionFailure() << "'" << path << "': not 16-bit PCM";
      inf.Seconds = double(len) / inf.ByteRate;
      for (std::size_t i = body; i + 1 < body + len; i += 2) {
        int v = static_cast<std::int16_t>(U16(b, i));
        inf.Peak = std::max(inf.Peak, std::abs(v));
      }
      return ::testing::AssertionSuccess();
    }
    at = body + len + (len & 1);
  }
  return ::testing::AssertionFailure() << "'" << path << "': no data chunk";
}

struct TCue {
  char Base;  // 'A' installation folder + sounds, 'B' executable folder + ..\sounds, 'I' installation folder
  const char* Name;
};

// Every cue, written exactly as the program builds its path.
const TCue kCues[] = {
    {'B', "\\system\\systems online.wav"},
    {'A', "\\system\\datalink offline.wav"},
    {'A', "\\system\\input algorithm not accepted.wav"},
    {'B', "\\system\\access denied.wav"},
    {'B', "\\system\\input algorithm not accepted.wav"},
    {'B', "\\system\\button. upload.wav"},
    {'B', "\\system\\button. run.wav"},
    {'B', "\\system\\button. upload and run.wav"},
    {'A', "\\system\\button. upload and run.wav"},
    {'B', "\\system\\please acknowledge.wav"},
    {'A', "\\system\\incoming subspace signal.wav"},
    {'A', "\\system\\standby.wav"},
    {'A', "\\system\\link established.wav"},
    {'A', "\\System\\transfer complete.wav"},
    {'A', "\\System\\working.wav"},
    {'A', "\\System\\program complete.wav"},
    {'I', "Sounds\\System\\1.wav"},
    {'I', "Sounds\\System\\2.wav"},
    {'I', "Sounds\\System\\3.wav"},
    {'I', "Sounds\\System\\4.wav"},
    {'I', "Sounds\\System\\5.wav"},
    {'I', "Sounds\\System\\6.wav"},
};

std::string CuePath(const TInsRoot& root, const TCue& cue) {
  switch (cue.Base) {
    case 'A': return root.Dir + "sounds" + cue.Name;
    case 'B': return root.FromAppDir("sounds") + cue.Name;
    default: return root.Dir + cue.Name;
  }
}

TEST(InstalledSounds, EveryCueIsASpokenPcmWave) {
  for (const auto& root : InsRoots()) {
    // English, and the Dutch and German folders beside it.
    const char* const lges[] = {"", "nl", "de"};
    for (std::size_t i = 0; i < 3 * std::size(kCues); ++i) {
      const TCue& cue = kCues[i / 3];
      const char* lge = lges[i % 3];
      const std::string eng = CuePath(root, cue);
      std::string path = NativePath(*lge ? LgeCuePth(eng, lge) : eng);
      SCOPED_TRACE(std::string(root.Name) + ": " + cue.Name + " -> " + path);
      ASSERT_TRUE(FilExs(path));
      TWavInf inf;
      ASSERT_TRUE(LodWav(path, inf));
      EXPECT_EQ(inf.Format, 1u) << "plain PCM";
      EXPECT_EQ(inf.Channels, 1u);
      EXPECT_EQ(inf.Rate, 22050u);
      EXPECT_EQ(inf.BlockAlign, 2u);
      EXPECT_EQ(inf.ByteRate, 44100u);
      EXPECT_GE(inf.Seconds, 0.4);
      EXPECT_LE(inf.Seconds, 3.0);
      EXPECT_GT(inf.Peak, 8000) << "audible, not silence";
    }
  }
}

TEST(InstalledSounds, CuesWithDifferentWordsAreDifferentRecordings) {
  // A copied file under a second name would pass the format checks above.
  const TInsRoot root = InsRoots().front();
  std::vector<TBytes> seen;
  std::vector<std::string> names;
  for (const TCue& cue : kCues) {
    std::string name = cue.Name;
    name = name.substr(name.rfind('\\') + 1);
    bool dup = false;
    for (const auto& n : names) dup = dup || n == name;
    if (dup) continue;  // the same cue played from two places
    TBytes b;
    ASSERT_TRUE(ReadAll(NativePath(CuePath(root, cue)), b)) << name;
    for (std::size_t i = 0; i < seen.size(); ++i) EXPECT_NE(seen[i], b) << name << " equals " << names[i];
    seen.push_back(b);
    names.push_back(name);
  }
  EXPECT_EQ(names.size(), 20u);
}

}  // namespace
