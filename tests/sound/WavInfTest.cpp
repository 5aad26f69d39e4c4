// Length of a wave file from its header.
#include <gtest/gtest.h>

#include <string>

#include "sound/WavGen.h"
#include "sound/WavInf.h"
#include "support/FakePlatform.h"

namespace {

int Dur(const std::string& s) { return WavDurMs(reinterpret_cast<const std::uint8_t*>(s.data()), s.size()); }

std::string Riff(const std::string& body) {
  std::string s = "RIFF";
  WavPut32(s, std::uint32_t(4 + body.size()));
  return s + "WAVE" + body;
}

std::string Chunk(const char* id, const std::string& data, std::uint32_t size) {
  std::string s = id;
  WavPut32(s, size);
  return s + data;
}

// 8000 Hz, 16 bit mono: 16000 bytes a second.
std::string Samples(int ms) { return std::string(std::size_t(16 * ms), '\0'); }

}  // namespace

std::string Fmt(std::uint16_t tag, std::uint16_t bits) {
  std::string s = "fmt ";
  WavPut32(s, 16);
  WavPut16(s, tag);
  WavPut16(s, 1);
  WavPut32(s, 8000);
  WavPut32(s, 8000u * bits / 8);
  WavPut16(s, std::uint16_t(bits / 8));
  WavPut16(s, bits);
  return s;
}

TEST(WavInf, LengthAndCompletenessFromHeader) {
  const std::string fmt = WavFmtChunk(8000);
  std::string fmt18 = "fmt ";  // extended format chunk of 18 bytes
  WavPut32(fmt18, 18);
  fmt18 += fmt.substr(8) + std::string(2, '\0');
  const std::string pad(1, '\0');
  struct TCas {
    const char* Nam;
    std::string Bytes;
    int Ms;
    bool Cmp;  // complete: every stated sample present
  } const cas[] = {
      {"plain", WavBytes(1500), 1500, true},
      {"22050 Hz", WavBytes(1240, 22050), 1240, true},
      {"list chunk before data", Riff(fmt + Chunk("LIST", "abcd", 4) + Chunk("data", Samples(250), 4000)), 250, true},
      {"odd chunk padded", Riff(fmt + Chunk("junk", "abc", 3) + pad + Chunk("data", Samples(100), 1600)), 100, true},
      {"extended fmt", Riff(fmt18 + Chunk("data", Samples(300), 4800)), 300, true},
      {"8 bit", Riff(Fmt(1, 8) + Chunk("data", std::string(800, '\x80'), 800)), 100, true},
      {"12 bit", Riff(Fmt(1, 12) + Chunk("data", std::string(1200, '\0'), 1200)), 100, false},
      {"streamed size placeholder", Riff(fmt + Chunk("data", Samples(400), 0xffffffffu)), 400, false},
      {"data cut off", Riff(fmt + Chunk("data", Samples(100), 16000)), 100, false},
      {"header only", Riff(fmt + Chunk("data", "", 16000)), 0, false},
      {"empty data", Riff(fmt + Chunk("data", "", 0)), 0, true},
      {"not RIFF", "RIFX" + WavBytes(100).substr(4), -1, false},
      {"not WAVE", WavBytes(100).replace(8, 4, "AVI "), -1, false},
      {"data before fmt", Riff(Chunk("data", Samples(100), 1600) + fmt), -1, false},
      {"no data chunk", Riff(fmt), -1, false},
      {"byte rate 0", Riff(WavFmtChunk(0) + Chunk("data", Samples(100), 1600)), -1, false},
      {"short fmt", Riff(Chunk("fmt ", std::string(8, '\1'), 8) + Chunk("data", Samples(100), 1600)), -1, false},
      {"truncated fmt", Riff("fmt " + std::string("\x10\0\0\0", 4) + "\1\0"), -1, false},
      {"too short", "RIFF", -1, false},
      {"empty", "", -1, false},
      {"chunk size beyond end", Riff(fmt + Chunk("LIST", "ab", 0xfffffff0u)), -1, false},
  };
  for (const auto& c : cas) {
    EXPECT_EQ(Dur(c.Bytes), c.Ms) << c.Nam;
    TuWavInf inf;
    const bool ok = WavInfRd(reinterpret_cast<const std::uint8_t*>(c.Bytes.data()), c.Bytes.size(), c.Bytes.size(), inf);
    EXPECT_EQ(ok && WavCmp(inf), c.Cmp) << c.Nam;
  }
  // The samples begin after every chunk before them.
  const std::string lst = Riff(fmt + Chunk("LIST", "abcd", 4) + Chunk("data", Samples(250), 4000));
  TuWavInf inf;
  ASSERT_TRUE(WavInfRd(reinterpret_cast<const std::uint8_t*>(lst.data()), lst.size(), lst.size(), inf));
  EXPECT_EQ(inf.DatOff, 56u);
  EXPECT_EQ(inf.Chn, 1u);
}

TEST(WavInf, FromFile) {
  TTmpDir tmp;
  EXPECT_EQ(WavDurMs(tmp.Write("a.wav", WavBytes(2000))), 2000);
  EXPECT_EQ(WavDurMs(tmp.Write("b.wav", "garbage")), -1);
  EXPECT_EQ(WavDurMs(tmp.Write("c.wav", "")), -1);
  EXPECT_EQ(WavDurMs(tmp.Path() + "missing.wav"), -1);
  EXPECT_EQ(WavDurMs(tmp.Path()), -1);  // a folder
  // A header followed by more than the head that is read.
  const std::string big = tmp.Write("d.wav", WavBytes(9000));
  EXPECT_EQ(WavDurMs(big), 9000);
  EXPECT_TRUE(WavCmp(big));
  EXPECT_FALSE(WavCmp(tmp.Write("e.wav", WavBytes(9000).substr(0, 100000))));
  EXPECT_FALSE(WavCmp(tmp.Path() + "missing.wav"));
}
