// Mutation run over the kept program files: every mutant either loads, and
// then saves and reloads to the same bytes, or is refused with a message.
// The mutator has a fixed seed, so every run sees the same mutants; the seed
// files stay in tests/editor/corpus beside the examples in data/examples.
#include "EdtTstSup.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {

class TMutRng {
public:
  explicit TMutRng(std::uint64_t s) : FSta(s ? s : 1) {}
  std::uint64_t Nxt() {
    FSta ^= FSta << 13;
    FSta ^= FSta >> 7;
    FSta ^= FSta << 17;
    return FSta;
  }
  std::size_t Blw(std::size_t n) { return n ? static_cast<std::size_t>(Nxt() % n) : 0; }

private:
  std::uint64_t FSta;
};

std::vector<std::string> Lns(const std::string& s) {
  std::vector<std::string> l;
  std::size_t p = 0;
  while (p < s.size()) {
    std::size_t e = s.find('\n', p);
    if (e == std::string::npos) e = s.size() - 1;
    l.push_back(s.substr(p, e - p + 1));
    p = e + 1;
  }
  return l;
}

std::string Jn(const std::vector<std::string>& l) {
  std::string s;
  for (const auto& x : l) s += x;
  return s;
}

std::string Mutate(const std::string& in, TMutRng& rng) {
  std::string s = in;
  const int n = 1 + static_cast<int>(rng.Blw(3));
  for (int k = 0; k < n; ++k) {
    std::vector<std::string> l = Lns(s);
    switch (rng.Blw(10)) {
      case 0:  // one byte changed
        if (!s.empty()) s[rng.Blw(s.size())] = static_cast<char>(rng.Nxt() & 0xFF);
        break;
      case 1:  // cut short
        s.resize(rng.Blw(s.size() + 1));
        break;
      case 2:  // a run of bytes removed
        if (!s.empty()) {
          const std::size_t p = rng.Blw(s.size());
          s.erase(p, 1 + rng.Blw(20));
        }
        break;
      case 3:  // random bytes put in
        for (std::size_t i = 0, c = 1 + rng.Blw(12), p = rng.Blw(s.size() + 1); i < c; ++i)
          s.insert(s.begin() + static_cast<std::ptrdiff_t>(p), static_cast<char>(rng.Nxt() & 0xFF));
        break;
      case 4:  // a line dropped
        if (!l.empty()) l.erase(l.begin() + static_cast<std::ptrdiff_t>(rng.Blw(l.size())));
        s = Jn(l);
        break;
      case 5:  // a line doubled
        if (!l.empty()) {
          const std::size_t i = rng.Blw(l.size());
          l.insert(l.begin() + static_cast<std::ptrdiff_t>(i), l[i]);
        }
        s = Jn(l);
        break;
      case 6:  // two lines swapped
        if (l.size() > 1) std::swap(l[rng.Blw(l.size())], l[rng.Blw(l.size())]);
        s = Jn(l);
        break;
      case 7: {  // a digit turned into something else
        std::vector<std::size_t> dg;
        for (std::size_t i = 0; i < s.size(); ++i)
          if (s[i] >= '0' && s[i] <= '9') dg.push_back(i);
        if (!dg.empty()) s[dg[rng.Blw(dg.size())]] = "x-9 0+\0"[rng.Blw(7)];
        break;
      }
      case 8:  // a very long line
        s.insert(rng.Blw(s.size() + 1), std::string(5000 + rng.Blw(3000), 'Q'));
        break;
      default:  // line ends changed
        for (char& c : s)
          if (c == '\r' && rng.Blw(3) == 0) c = '\n';
        break;
    }
  }
  return s;
}

TEST(VioMut, MutantsOfEveryKeptFileLoadOrFailCleanly) {
  std::vector<std::string> seeds;
  for (const char* dir : {TESSARO_DATA_DIR "/examples", TESSARO_SOURCE_DIR "/tests/editor/corpus"}) {
    std::error_code ec;
    for (const auto& e : fs::recursive_directory_iterator(dir, ec))
      if (e.path().extension() == ".vio") seeds.push_back(e.path().string());
  }
  std::sort(seeds.begin(), seeds.end());
  ASSERT_GE(seeds.size(), 5u);

  TFakePlatform fake;
  TTmpDir tmp;
  TVioPgmItp edt(nullptr);
  edt.SetLgeIdx(0);
  edt.SetAvlCol(0);
  ASSERT_TRUE(edt.SarAndTkn().LodTknFil(TESSARO_DATA_DIR "/ExtComTkn.sys"));

  TMutRng rng(0x7E55A50);
  int lod = 0, rfs = 0;
  for (const std::string& sd : seeds) {
    std::ifstream in(sd, std::ios::binary);
    const std::string org((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (int m = 0; m < 150; ++m) {
      const std::string mut = Mutate(org, rng);
      const std::string p = tmp.Write("m.vio", mut);
      GuLstErrMsg.clear();
      fake.MsgBox.Calls.clear();
      if (!edt.LodVioFil(p)) {
        ++rfs;
        ASSERT_FALSE(GuLstErrMsg.empty()) << sd << " mutant " << m;
        EXPECT_EQ(GuLstErrMsg[0], '#') << GuLstErrMsg;
        continue;
      }
      ++lod;
      // A loaded program is written, read back and written again unchanged.
      ASSERT_TRUE(edt.SavVioFil(tmp.Path() + "a.vio")) << sd << " mutant " << m;
      ASSERT_TRUE(edt.LodVioFil(tmp.Path() + "a.vio")) << GuLstErrMsg << " " << sd << " mutant " << m;
      ASSERT_TRUE(edt.SavVioFil(tmp.Path() + "b.vio"));
      std::ifstream a(tmp.Path() + "a.vio", std::ios::binary), b(tmp.Path() + "b.vio", std::ios::binary);
      ASSERT_EQ(std::string((std::istreambuf_iterator<char>(a)), std::istreambuf_iterator<char>()),
                std::string((std::istreambuf_iterator<char>(b)), std::istreambuf_iterator<char>()))
          << sd << " mutant " << m;
    }
  }
  // The mutator must reach both outcomes, or it tests nothing.
  EXPECT_GT(lod, 50);
  EXPECT_GT(rfs, 50);
}

}  // namespace
