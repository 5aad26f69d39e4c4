// The pictures of the installation: the 20 tool bar bitmaps, the field
// background, the two direction pictures and the intro, as the program loads
// them, must be Windows bitmaps with 24 bits per pixel and the right sizes.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "DatFilRdr.h"
#include "app/VslCnvLgc.h"
#include "core/PathUtl.h"

using namespace datatest;

namespace {

struct TBmp {
  std::int32_t Width = 0;
  std::int32_t Height = 0;  // positive: rows stored bottom-up
  TBytes Data;
  std::uint32_t PixOff = 0;
  std::uint32_t Stride = 0;
  // Red, green and blue of pixel (x, y), y counted from the top.
  std::uint32_t Rgb(int x, int y) const {
    int row = Height > 0 ? Height - 1 - y : y;
    std::size_t at = PixOff + std::size_t(row) * Stride + std::size_t(x) * 3;
    return std::uint32_t(Data[at + 2]) << 16 | std::uint32_t(Data[at + 1]) << 8 | Data[at];
  }
};

// Checks a 24-bit uncompressed Windows bitmap; on success fills bmp.
::testing::AssertionResult LodBmp24(const std::string& path, TBmp& bmp) {
  if (!ReadAll(path, bmp.Data)) return ::testing::AssertionFailure() << "cannot read '" << path << "'";
  const TBytes& b = bmp.Data;
  if (b.size() < 54 || !(b[0] == 'B' && b[1] == 'M'))
    return ::testing::AssertionFailure() << "'" << path << "' is no Windows bitmap";
  if (U32(b, 2) != b.size())
    return ::testing::AssertionFailure() << "'" << path << "': size field " << U32(b, 2) << " but file has "
                                         << b.size() << " bytes";
  std::uint32_t dib = U32(b, 14);
  if (dib < 40) return ::testing::AssertionFailure() << "'" << path << "': old style header " << dib;
  bmp.Width = I32(b, 18);
  bmp.Height = I32(b, 22);
  if (U16(b, 26) != 1) return ::testing::AssertionFailure() << "'" << path << "': planes " << U16(b, 26);
  if (U16(b, 28) != 24)
    return ::testing::AssertionFailure() << "'" << path << "': " << U16(b, 28) << " bits per pixel, not 24";
  if (U32(b, 30) != 0)
    return ::testing::AssertionFailure() << "'" << path << "': compressed (" << U32(b, 30) << ")";
  bmp.PixOff = U32(b, 10);
  std::int32_t h = bmp.Height < 0 ? -bmp.Height : bmp.Height;
  bmp.Stride = (std::uint32_t(bmp.Width) * 3 + 3) / 4 * 4;
  if (bmp.Width <= 0 || h == 0 || bmp.PixOff < 14 + dib ||
      std::uint64_t(bmp.PixOff) + std::uint64_t(bmp.Stride) * std::uint64_t(h) > b.size())
    return ::testing::AssertionFailure() << "'" << path << "': pixel data cut short or misplaced";
  return ::testing::AssertionSuccess();
}

// Mean brightness 0..255 and the number of different colours.
void Survey(const TBmp& bmp, double& meanLum, std::size_t& colours) {
  std::set<std::uint32_t> seen;
  double sum = 0;
  int h = bmp.Height < 0 ? -bmp.Height : bmp.Height;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < bmp.Width; ++x) {
      std::uint32_t c = bmp.Rgb(x, y);
      if (seen.size() < 1000) seen.insert(c);  // enough to tell a picture from a plain area
      sum += 0.299 * (c >> 16) + 0.587 * (c >> 8 & 0xFF) + 0.114 * (c & 0xFF);
    }
  meanLum = sum / (double(bmp.Width) * h);
  colours = seen.size();
}

TEST(InstalledPictures, ToolBarBitmapsAre32x32With24Bits) {
  for (const auto& root : InsRoots()) {
    std::set<TBytes> contents;
    // The program's own table: the picture folder + each name, which begins with a backslash.
    for (const char* name : GcTbnImgFil) {
      SCOPED_TRACE(std::string(root.Name) + ": " + name);
      std::string path = NativePath(root.Dir + "pictures" + name);
      TBmp bmp;
      ASSERT_TRUE(LodBmp24(path, bmp));
      EXPECT_EQ(bmp.Width, 32);
      EXPECT_EQ(bmp.Height < 0 ? -bmp.Height : bmp.Height, 32);
      double lum = 0;
      std::size_t colours = 0;
      Survey(bmp, lum, colours);
      EXPECT_GE(colours, 20u) << "a picture, not a plain square";
      contents.insert(bmp.Data);
    }
    EXPECT_EQ(contents.size(), 20u) << root.Name << ": every button has its own picture";
  }
}

TEST(InstalledPictures, FieldPicturesShareOneSizeAndTheBackgroundIsPale) {
  for (const auto& root : InsRoots()) {
    SCOPED_TRACE(root.Name);
    TBmp back, up, down;
    // The background is loaded below the installation folder; the direction
    // pictures relative to the executable's folder.
    ASSERT_TRUE(LodBmp24(NativePath(root.Dir + "pictures\\background.bmp"), back));
    ASSERT_TRUE(LodBmp24(NativePath(root.FromAppDir("pictures\\upstream.bmp")), up));
    ASSERT_TRUE(LodBmp24(NativePath(root.FromAppDir("pictures\\downstream.bmp")), down));
    EXPECT_GE(back.Width, 640);
    EXPECT_GE(back.Height, 480);
    EXPECT_EQ(up.Width, back.Width);
    EXPECT_EQ(up.Height, back.Height);
    EXPECT_EQ(down.Width, back.Width);
    EXPECT_EQ(down.Height, back.Height);

    double lumBack = 0, lumUp = 0, lumDown = 0;
    std::size_t colours = 0;
    Survey(back, lumBack, colours);
    EXPECT_GT(lumBack, 225.0) << "the background must stay pale behind the coloured vios";
    Survey(up, lumUp, colours);
    EXPECT_GE(colours, 20u);
    Survey(down, lumDown, colours);
    EXPECT_GE(colours, 20u);
    EXPECT_NE(up.Data, back.Data);
    EXPECT_NE(down.Data, back.Data);
    EXPECT_NE(up.Data, down.Data);
  }
}

TEST(InstalledPictures, IntroIs474x390With24Bits) {
  for (const auto& root : InsRoots()) {
    SCOPED_TRACE(root.Name);
    TBmp intro;
    ASSERT_TRUE(LodBmp24(NativePath(root.Dir + "pictures\\intro.bmp"), intro));
    EXPECT_EQ(intro.Width, 474);
    EXPECT_EQ(intro.Height < 0 ? -intro.Height : intro.Height, 390);
    double lum = 0;
    std::size_t colours = 0;
    Survey(intro, lum, colours);
    EXPECT_GE(colours, 100u);
  }
}

}  // namespace
