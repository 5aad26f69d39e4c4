// The table of spoken cues and the files of the installation.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/PathUtl.h"
#include "sound/PlyWavFil.h"
#include "sound/SndCue.h"
#include "sound/WavGen.h"
#include "sound/WavInf.h"
#include "support/FakePlatform.h"

namespace {

const std::string GcIns = "C:\\Brinkmoor\\Tessaro\\";
const std::string GcApp = "C:\\Brinkmoor\\Tessaro\\bin\\";

struct TCueCas {
  TeSndCue Cue;
  const char* Pth;
  bool Syn;
};

// Every cue of the program with its full path on the designed installation.
const TCueCas GcCue[] = {
    {SC_SYS_ONL, "C:\\Brinkmoor\\Tessaro\\bin\\..\\sounds\\system\\systems online.wav", true},
    {SC_LNK_OFL, "C:\\Brinkmoor\\Tessaro\\sounds\\system\\datalink offline.wav", true},
    {SC_UPL_NAC, "C:\\Brinkmoor\\Tessaro\\sounds\\system\\input algorithm not accepted.wav", false},
    {SC_ACC_DEN, "C:\\Brinkmoor\\Tessaro\\bin\\..\\sounds\\system\\access denied.wav", true},
    {SC_CMD_NAC, "C:\\Brinkmoor\\Tessaro\\bin\\..\\sounds\\system\\input algorithm not accepted.wav", false},
    {SC_BTN_UPL, "C:\\Brinkmoor\\Tessaro\\bin\\..\\sounds\\system\\button. upload.wav", true},
    {SC_BTN_RUN, "C:\\Brinkmoor\\Tessaro\\bin\\..\\sounds\\system\\button. run.wav", true},
    {SC_BTN_UPR, "C:\\Brinkmoor\\Tessaro\\bin\\..\\sounds\\system\\button. upload and run.wav", true},
    {SC_STA_DBL_UPR, "C:\\Brinkmoor\\Tessaro\\sounds\\system\\button. upload and run.wav", false},
    {SC_PLS_ACK, "C:\\Brinkmoor\\Tessaro\\bin\\..\\sounds\\system\\please acknowledge.wav", true},
    {SC_INC_SIG, "C:\\Brinkmoor\\Tessaro\\sounds\\system\\incoming subspace signal.wav", false},
    {SC_STB, "C:\\Brinkmoor\\Tessaro\\sounds\\system\\standby.wav", true},
    {SC_LNK_EST, "C:\\Brinkmoor\\Tessaro\\sounds\\system\\link established.wav", true},
    {SC_TRF_CMP, "C:\\Brinkmoor\\Tessaro\\sounds\\System\\transfer complete.wav", true},
    {SC_WRK, "C:\\Brinkmoor\\Tessaro\\sounds\\System\\working.wav", false},
    {SC_PGM_CMP, "C:\\Brinkmoor\\Tessaro\\sounds\\System\\program complete.wav", true},
    {SC_SWI_1, "C:\\Brinkmoor\\Tessaro\\Sounds\\System\\1.wav", false},
    {SC_SWI_2, "C:\\Brinkmoor\\Tessaro\\Sounds\\System\\2.wav", false},
    {SC_SWI_3, "C:\\Brinkmoor\\Tessaro\\Sounds\\System\\3.wav", false},
    {SC_SWI_4, "C:\\Brinkmoor\\Tessaro\\Sounds\\System\\4.wav", false},
    {SC_SWI_5, "C:\\Brinkmoor\\Tessaro\\Sounds\\System\\5.wav", false},
    {SC_SWI_6, "C:\\Brinkmoor\\Tessaro\\Sounds\\System\\6.wav", false},
};

}  // namespace

TEST(SndCue, FullPathAndModeOfEveryCue) {
  ASSERT_EQ(std::size(GcCue), std::size_t(GcSndCueCnt));
  for (const TCueCas& c : GcCue) {
    EXPECT_EQ(GcSndCue[c.Cue].Cue, c.Cue);
    EXPECT_EQ(SndCuePth(c.Cue, GcIns, GcApp), c.Pth);
    EXPECT_EQ(GcSndCue[c.Cue].Syn, c.Syn) << c.Pth;
  }
  EXPECT_EQ(SndCuePth(TeSndCue(GcSndCueCnt), GcIns, GcApp), "");
}

TEST(SndCue, SwitchNumbers) {
  for (int n = 1; n <= 6; ++n) EXPECT_EQ(SndCueSwi(n), &GcSndCue[SC_SWI_1 + n - 1]);
  for (int n : {-1, 0, 7}) EXPECT_EQ(SndCueSwi(n), nullptr);
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

// The staged installation holds a playable file for every cue, in every language.
TEST(SndCue, EveryCueIsInstalled) {
  const std::string stg = TESSARO_STAGE_DIR;
  const std::string ins = stg + "/", app = stg + "/bin/";
  for (int i = 0; i < GcSndCueCnt; ++i) {
    const std::string pth = SndCuePth(TeSndCue(i), ins, app);
    EXPECT_TRUE(FilExs(pth)) << "missing: " << NativePath(pth);
    EXPECT_GT(WavDurMs(NativePath(pth)), 0) << "not a wave file with sound: " << NativePath(pth);
    for (std::uint8_t lge : {1, 2}) {
      const std::string own = NativePath(LgeCuePth(pth, SndLgeDir(lge)));
      EXPECT_GT(WavDurMs(own), 0) << "missing or silent: " << own;
    }
  }
}
