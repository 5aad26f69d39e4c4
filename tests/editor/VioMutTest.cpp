// Mutants of every kept program file either load, and then save and reload
// to the same bytes, or are refused with a message. The generator has a fixed
// seed, so every run sees the same mutants.
#include <filesystem>
#include <random>

#include "EdtTstSup.h"

namespace fs = std::filesystem;

namespace {

std::string Mutate(std::string s, std::mt19937_64& rng) {
  auto blw = [&](std::size_t n) { return n ? static_cast<std::size_t>(rng() % n) : 0; };
  auto lineAt = [&](std::size_t p) {  // the line around p: [begin, end past its LF)
    const std::size_t b = p ? s.rfind('\n', p - 1) : std::string::npos, e = s.find('\n', p);
    return std::make_pair(b == std::string::npos ? 0 : b + 1, e == std::string::npos ? s.size() : e + 1);
  };
  for (std::size_t k = 0, n = 1 + blw(3); k < n; ++k) {
    const std::size_t p = blw(s.size() + 1), q = blw(s.size() + 1);
    const auto [b, e] = lineAt(std::min(p, s.empty() ? 0 : s.size() - 1));
    switch (blw(10)) {
      case 0: if (p < s.size()) s[p] = static_cast<char>(rng()); break;  // one byte changed
      case 1: s.resize(p); break;                                        // cut short
      case 2: if (p < s.size()) s.erase(p, 1 + blw(20)); break;          // a run of bytes removed
      case 3: for (std::size_t i = blw(12); i-- > 0;) s.insert(s.begin() + static_cast<long>(p), static_cast<char>(rng())); break;
      case 4: s.erase(b, e - b); break;                                  // a line dropped
      case 5: s.insert(b, s.substr(b, e - b)); break;                    // a line doubled
      case 6: { const auto [b2, e2] = lineAt(std::min(q, s.empty() ? 0 : s.size() - 1));  // a line moved
        if (e2 <= b || b2 >= e) { const std::string l = s.substr(b2, e2 - b2); s.erase(b2, e2 - b2); s.insert(b2 < b ? b - l.size() : b, l); }
        break; }
      case 7: for (std::size_t i = p; i < s.size(); ++i)                 // a digit turned into something else
          if (std::isdigit(static_cast<unsigned char>(s[i]))) { s[i] = "x-9 0+\0"[blw(7)]; break; }
        break;
      case 8: s.insert(p, std::string(5000 + blw(3000), 'Q')); break;    // a very long line
      default: for (char& c : s) if (c == '\r' && blw(3) == 0) c = '\n';  // line ends changed
    }
  }
  return s;
}

TEST(VioMut, MutantsOfEveryKeptFileLoadOrFailCleanly) {
  TFakePlatform fake;
  TTmpDir tmp;
  TVioPgmItp edt(nullptr);
  PrpEdt(edt);
  std::mt19937_64 rng(0x7E55A50);
  int lod = 0, rfs = 0;
  for (const char* dir : {TESSARO_DATA_DIR "/examples", TESSARO_SOURCE_DIR "/tests/editor/corpus"})
    for (const auto& f : fs::directory_iterator(dir)) {
      if (f.path().extension() != ".vio") continue;
      const std::string org = RdAll(f.path().string());
      for (int m = 0; m < 150; ++m) {
        SCOPED_TRACE(f.path().string() + " mutant " + std::to_string(m));
        GuLstErrMsg.clear();
        if (!edt.LodVioFil(tmp.Write("m.vio", Mutate(org, rng)))) {
          ++rfs;
          ASSERT_EQ(GuLstErrMsg.substr(0, 1), "#");
          continue;
        }
        ++lod;
        // A loaded program is written, read back and written again unchanged.
        const std::string a = PgmTxt(edt);
        ASSERT_TRUE(edt.SavVioFil(tmp.Path() + "a.vio"));
        ASSERT_TRUE(edt.LodVioFil(tmp.Path() + "a.vio")) << GuLstErrMsg;
        ASSERT_EQ(PgmTxt(edt), a);
      }
    }
  // The mutator must reach both outcomes, or it tests nothing.
  EXPECT_GT(lod, 50);
  EXPECT_GT(rfs, 50);
}

}  // namespace
