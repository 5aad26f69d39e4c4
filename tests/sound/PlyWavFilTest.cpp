// The wave file player against the recording seams.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/PathUtl.h"
#include "sound/PlyWavFil.h"
#include "sound/WavGen.h"
#include "support/FakePlatform.h"

namespace {

// Sound calls seen by each "let pending events run", to check their order.
TFakePlatform* GpFak = nullptr;
std::vector<std::size_t> GvSndAtPrc;
void RecPrc() { GvSndAtPrc.push_back(GpFak->Sound.Calls.size()); }

class PlyWavFilTest : public ::testing::Test {
protected:
  void SetUp() override {
    GpFak = &Fak;
    GvSndAtPrc.clear();
    Fak.EvtLoop.OnPrcMsg = &RecPrc;
    Wav = Tmp.Write("sounds/system/link established.wav", WavBytes(50));
  }
  void TearDown() override { GpFak = nullptr; }
  TFakePlatform Fak;
  TTmpDir Tmp;
  TclsPlyWavFil Ply;
  std::string Wav;
};

struct TPlyCas {
  const char* Nam;
  bool UseFlg;  // PlyWavFilFlg, else PlyWavFil
  std::uint32_t Flg;
  bool Syn;
};

const TPlyCas GcPlyCas[] = {
    {"PlyWavFil", false, 0, false},
    {"Flg0", true, 0, true},
    {"Flg1", true, 1, false},
    {"FlgFilenameOnly", true, SND_FILENAME, true},
    {"FlgFilenameAsync", true, SND_FILENAME | SND_ASYNC, false},
};

bool Call(TclsPlyWavFil& p, const TPlyCas& c, const std::string& path) {
  return c.UseFlg ? p.PlyWavFilFlg(path, c.Flg) : p.PlyWavFil(path);
}

}  // namespace

TEST_F(PlyWavFilTest, ModeFollowsFlagsAndEventsRunBeforeAndAfter) {
  for (const TPlyCas& c : GcPlyCas) {
    SCOPED_TRACE(c.Nam);
    Fak.Sound.Calls.clear();
    GvSndAtPrc.clear();
    EXPECT_TRUE(Call(Ply, c, Wav));
    ASSERT_EQ(Fak.Sound.Calls.size(), 1u);
    EXPECT_EQ(Fak.Sound.Calls[0].Path, Wav);
    EXPECT_EQ(Fak.Sound.Calls[0].Sync, c.Syn);
    // Once before the sound starts, once after.
    EXPECT_EQ(GvSndAtPrc, (std::vector<std::size_t>{0, 1}));
  }
  EXPECT_TRUE(Fak.MsgBox.Calls.empty());
}

TEST_F(PlyWavFilTest, MissingFileShowsMessageOncePerAttemptAndPlaysNothing) {
  const std::string dir = Tmp.Path();
  // Path given, full path shown: separators made native, existing folders in
  // their own case, the rest as written.
  const std::pair<std::string, std::string> pths[] = {
      {dir + "sounds/system/nothing here.wav", dir + "sounds/system/nothing here.wav"},
      {dir + "Sounds\\System\\6.wav", dir + "sounds/system/6.wav"},
      {dir + "sounds/system", dir + "sounds/system"},  // a folder
      {"", ""},
  };
  std::size_t att = 0;
  for (const auto& [pth, shown] : pths) {
    for (const TPlyCas& c : GcPlyCas) {
      SCOPED_TRACE(std::string(c.Nam) + " " + pth);
      EXPECT_FALSE(Call(Ply, c, pth));
      ASSERT_EQ(Fak.MsgBox.Calls.size(), ++att);
      EXPECT_EQ(Fak.MsgBox.Calls.back().Text, "File '" + shown + "' not found");
      EXPECT_EQ(Fak.MsgBox.Calls.back().Caption, "");
      EXPECT_EQ(Fak.MsgBox.Calls.back().Buttons, TeMsgBtn::Ok);
    }
  }
  EXPECT_TRUE(Fak.Sound.Calls.empty());
  EXPECT_TRUE(GvSndAtPrc.empty());
}

TEST_F(PlyWavFilTest, ProgramPathWithBackslashesAndMixedCaseFindsTheFile) {
  // The program writes "Sounds\System\..." and "\System\..." while the
  // installation holds sounds/system.
  const std::string pth = Tmp.Path() + "Sounds\\System\\Link Established.wav";
  EXPECT_TRUE(Ply.PlyWavFilFlg(pth, SND_SYNC));
  ASSERT_EQ(Fak.Sound.Calls.size(), 1u);
  EXPECT_EQ(Fak.Sound.Calls[0].Path, Wav);
  EXPECT_TRUE(Fak.Sound.Calls[0].Sync);

  // Going up from a sibling folder, as the cues beside the executable do.
  Tmp.Write("bin/tessaro", "");
  EXPECT_TRUE(Ply.PlyWavFil(Tmp.Path() + "bin\\..\\sounds\\system\\link established.wav"));
  ASSERT_EQ(Fak.Sound.Calls.size(), 2u);
  EXPECT_TRUE(FilExs(Fak.Sound.Calls[1].Path));
  EXPECT_FALSE(Fak.Sound.Calls[1].Sync);
  EXPECT_TRUE(Fak.MsgBox.Calls.empty());
}
