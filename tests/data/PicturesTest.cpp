// The pictures of the installation as the program loads them: uncompressed
// 24-bit Windows bitmaps of the sizes the window expects, each a picture of its own.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "DatFilRdr.h"
#include "app/VslCnvLgc.h"
#include "core/PathUtl.h"

using namespace datatest;

namespace {

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
    for (const char* name : GcTbnImgFil) {
      TBmp bmp;
      ASSERT_TRUE(LodBmp(NativePath(root.Dir + "pictures" + name), bmp));
      EXPECT_EQ(bmp.W * 1000 + bmp.H, 32032) << name;
      EXPECT_GE(bmp.Col, 20u) << name << ": a picture, not a plain square";
      tbn.insert(bmp.Data);
    }
    EXPECT_EQ(tbn.size(), GcTbnImgFil.size()) << "every button has its own picture";
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

}  // namespace
