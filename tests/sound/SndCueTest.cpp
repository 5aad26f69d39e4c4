// The spoken cues: the switch numbers, the folder each cue is played from, its
// mode, and the cues of the chosen language.
#include <gtest/gtest.h>

#include <string>

#include "core/PathUtl.h"
#include "sound/PlyWavFil.h"
#include "sound/SndCue.h"
#include "sound/WavGen.h"
#include "support/FakePlatform.h"

TEST(SndCue, SwitchNumbersPlayTheirOwnNumber) {
  for (int n = 1; n <= 6; ++n) {
    ASSERT_NE(SndCueSwi(n), nullptr) << n;
    const std::string pth = SndCuePth(SndCueSwi(n)->Cue, "I\\", "A\\");
    EXPECT_EQ(pth.substr(pth.rfind('\\') + 1), std::to_string(n) + ".wav");
  }
  for (int n : {-1, 0, 7}) EXPECT_EQ(SndCueSwi(n), nullptr);
  EXPECT_EQ(SndCuePth(TeSndCue(GcSndCueCnt), "I\\", "A\\"), "");
}

TEST(SndCue, PlayedInItsModeThroughThePlayer) {
  TFakePlatform fak;
  TTmpDir tmp;
  tmp.Write("sounds/system/standby.wav", WavBytes(20));
  tmp.Write("sounds/system/working.wav", WavBytes(20));
  tmp.Write("sounds/system/access denied.wav", WavBytes(20));
  const std::string ins = tmp.Path(), app = tmp.Path() + "bin/";
  tmp.Write("bin/tessaro", "");
  TclsPlyWavFil ply;
  EXPECT_TRUE(PlySndCue(ply, SC_STB, ins, app));      // sync, base A
  EXPECT_TRUE(PlySndCue(ply, SC_WRK, ins, app));      // async, "System"
  EXPECT_TRUE(PlySndCue(ply, SC_ACC_DEN, ins, app));  // sync, base B
  EXPECT_FALSE(PlySndCue(ply, SC_SWI_4, ins, app));   // not installed
  ASSERT_EQ(fak.Sound.Calls.size(), 3u);
  EXPECT_EQ(fak.Sound.Calls[0].Path, ins + "sounds/system/standby.wav");
  EXPECT_TRUE(fak.Sound.Calls[0].Sync);
  EXPECT_EQ(fak.Sound.Calls[1].Path, ins + "sounds/system/working.wav");
  EXPECT_FALSE(fak.Sound.Calls[1].Sync);
  EXPECT_TRUE(FilExs(fak.Sound.Calls[2].Path));
  EXPECT_TRUE(fak.Sound.Calls[2].Sync);
  EXPECT_EQ(fak.MsgBox.Texts(), (std::vector<std::string>{"File '" + ins + "sounds/system/4.wav' not found"}));
}

TEST(SndCue, ALanguagePlaysFromItsFolderAndFallsBackToEnglish) {
  TFakePlatform fak;
  TTmpDir tmp;
  for (const char* f : {"sounds/system/standby.wav", "sounds/de/standby.wav", "sounds/system/working.wav"})
    tmp.Write(f, WavBytes(20));
  const std::string ins = tmp.Path(), app = tmp.Path() + "bin/";
  TclsPlyWavFil ply;
  ply.SetLgeDir(SndLgeDir(2));
  EXPECT_TRUE(PlySndCue(ply, SC_STB, ins, app));
  EXPECT_TRUE(PlySndCue(ply, SC_WRK, ins, app));     // no German file: the English one
  EXPECT_FALSE(PlySndCue(ply, SC_SWI_4, ins, app));  // neither: the English path is named
  ASSERT_EQ(fak.Sound.Calls.size(), 2u);
  EXPECT_EQ(fak.Sound.Calls[0].Path, ins + "sounds/de/standby.wav");
  EXPECT_EQ(fak.Sound.Calls[1].Path, ins + "sounds/system/working.wav");
  EXPECT_EQ(fak.MsgBox.Texts(), (std::vector<std::string>{"File '" + ins + "sounds/system/4.wav' not found"}));
  EXPECT_EQ(LgeCuePth("C:\\T\\Sounds\\System\\1.wav", "nl"), "C:\\T\\Sounds\\nl\\1.wav");
  EXPECT_EQ(LgeCuePth("1.wav", "nl"), "");
}
