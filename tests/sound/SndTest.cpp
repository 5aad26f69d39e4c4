// Wave headers, the wave file player and the spoken cues against the
// recording seams.
#include <gtest/gtest.h>

#include "core/PathUtl.h"
#include "sound/PlyWavFil.h"
#include "sound/SndCue.h"
#include "sound/WavGen.h"
#include "sound/WavInf.h"
#include "support/FakePlatform.h"

namespace {

TEST(WavInf, LengthAndCompletenessFromHeader) {
  const std::string fmt = WavFmt(8000), pad(1, '\0');
  const std::string fmt18 = WavChk("fmt ", fmt.substr(8) + std::string(2, '\0'), 18);
  auto smp = [](int ms) { return std::string(std::size_t(16 * ms), '\0'); };  // 16000 bytes a second
  const struct {
    const char* Nam;
    std::string Bytes;
    int Ms;
    bool Cmp;  // complete: every stated sample present
  } cas[] = {
      {"plain", WavBytes(1500), 1500, true},
      {"22050 Hz", WavBytes(1240, 22050), 1240, true},
      {"list chunk before data", WavRiff(fmt + WavChk("LIST", "abcd", 4) + WavChk("data", smp(250), 4000)), 250, true},
      {"odd chunk padded", WavRiff(fmt + WavChk("junk", "abc", 3) + pad + WavChk("data", smp(100), 1600)), 100, true},
      {"extended fmt", WavRiff(fmt18 + WavChk("data", smp(300), 4800)), 300, true},
      {"8 bit", WavRiff(WavFmt(8000, 8) + WavChk("data", std::string(800, '\x80'), 800)), 100, true},
      {"12 bit", WavRiff(WavFmt(8000, 12) + WavChk("data", std::string(1200, '\0'), 1200)), 100, false},
      {"streamed size placeholder", WavRiff(fmt + WavChk("data", smp(400), 0xffffffffu)), 400, false},
      {"data cut off", WavRiff(fmt + WavChk("data", smp(100), 16000)), 100, false},
      {"header only", WavRiff(fmt + WavChk("data", "", 16000)), 0, false},
      {"empty data", WavRiff(fmt + WavChk("data", "", 0)), 0, true},
      {"not RIFF", "RIFX" + WavBytes(100).substr(4), -1, false},
      {"not WAVE", WavBytes(100).replace(8, 4, "AVI "), -1, false},
      {"data before fmt", WavRiff(WavChk("data", smp(100), 1600) + fmt), -1, false},
      {"no data chunk", WavRiff(fmt), -1, false},
      {"byte rate 0", WavRiff(WavFmt(0) + WavChk("data", smp(100), 1600)), -1, false},
      {"short fmt", WavRiff(WavChk("fmt ", std::string(8, '\1'), 8) + WavChk("data", smp(100), 1600)), -1, false},
      {"truncated fmt", WavRiff("fmt " + std::string("\x10\0\0\0\1\0", 6)), -1, false},
      {"too short", "RIFF", -1, false},
      {"empty", "", -1, false},
      {"chunk size beyond end", WavRiff(fmt + WavChk("LIST", "ab", 0xfffffff0u)), -1, false},
      // Beyond the head that is read: the file's size decides completeness.
      {"long", WavBytes(9000), 9000, true},
      {"long cut off", WavBytes(9000).substr(0, 100000), 6247, false},
  };
  TTmpDir tmp;
  for (const auto& c : cas) {
    const auto* b = reinterpret_cast<const std::uint8_t*>(c.Bytes.data());
    TuWavInf inf;
    const std::string pth = tmp.Write("a.wav", c.Bytes);
    EXPECT_EQ(WavInfRd(b, c.Bytes.size(), c.Bytes.size(), inf) && WavCmp(inf), c.Cmp) << c.Nam;
    EXPECT_EQ(WavDurMs(b, c.Bytes.size()), c.Ms) << c.Nam;
    EXPECT_EQ(WavDurMs(pth), c.Ms) << c.Nam;
    EXPECT_EQ(WavCmp(pth), c.Cmp) << c.Nam;
  }
  for (const std::string& p : {tmp.Path() + "missing.wav", tmp.Path()})  // no file; a folder
    EXPECT_EQ(WavDurMs(p) + WavCmp(p), -1);
}

// Sound calls seen by each "let pending events run", to check their order.
TFakePlatform* GpFak = nullptr;
std::vector<std::size_t> GvSndAtPrc;
void RecPrc() { GvSndAtPrc.push_back(GpFak->Sound.Calls.size()); }

TEST(PlyWavFil, PathsFlagsCuesAndLanguages) {
  TFakePlatform fak;
  GpFak = &fak;
  fak.EvtLoop.OnPrcMsg = &RecPrc;
  TTmpDir tmp;
  for (const char* f : {"system/link established", "system/standby", "system/working", "system/access denied", "de/standby"})
    tmp.Write(std::string("sounds/") + f + ".wav", WavBytes(20));
  tmp.Write("bin/tessaro", "");
  const std::string ins = tmp.Path(), lnk = "sounds/system/link established.wav";
  const struct {
    int Lge, Cue;  // a cue, or -1: Path played with Flg (-1: PlyWavFil)
    std::string Path;
    int Flg;
    std::string Exp;  // the file played below ins, or "!" and the path in the message
    bool Sync;
  } cas[] = {
      {0, -1, lnk, -1, lnk, false}, {0, -1, lnk, 0, lnk, true}, {0, -1, lnk, SND_ASYNC, lnk, false},
      {0, -1, lnk, SND_FILENAME, lnk, true}, {0, -1, lnk, SND_FILENAME | SND_ASYNC, lnk, false},
      // The program writes "Sounds\System\..." while the installation holds sounds/system.
      {0, -1, "Sounds\\System\\Link Established.wav", 0, lnk, true},
      {0, -1, "bin\\..\\sounds\\system\\link established.wav", 0, "bin/../" + lnk, true},
      {0, -1, "sounds/system/nothing here.wav", 0, "!sounds/system/nothing here.wav", false},
      {0, -1, "Sounds\\System\\6.wav", SND_ASYNC, "!sounds/system/6.wav", false},
      {0, -1, "sounds/system", 0, "!sounds/system", false}, {0, -1, "", 0, "!", false},
      {0, SC_STB, "", 0, "sounds/system/standby.wav", true},
      {0, SC_WRK, "", 0, "sounds/system/working.wav", false},
      {0, SC_ACC_DEN, "", 0, "bin/../sounds/system/access denied.wav", true},
      {0, SC_SWI_4, "", 0, "!sounds/system/4.wav", false},
      {2, SC_STB, "", 0, "sounds/de/standby.wav", true},
      {2, SC_WRK, "", 0, "sounds/system/working.wav", false},  // no German file: the English one
      {2, SC_SWI_4, "", 0, "!sounds/system/4.wav", false},
  };
  for (const auto& c : cas) {
    TclsPlyWavFil ply;
    ply.SetLgeDir(SndLgeDir(std::uint8_t(c.Lge)));
    fak.Sound.Calls.clear(), fak.MsgBox.Calls.clear(), GvSndAtPrc.clear();
    const std::string pth = c.Path.empty() && c.Cue < 0 ? "" : ins + c.Path;
    const bool ok = c.Cue >= 0 ? PlySndCue(ply, TeSndCue(c.Cue), ins, ins + "bin/")
                    : c.Flg < 0 ? ply.PlyWavFil(pth) : ply.PlyWavFilFlg(pth, std::uint32_t(c.Flg));
    EXPECT_EQ(ok, c.Exp[0] != '!') << c.Exp;
    std::string seen;  // message boxes, then sounds with their mode
    for (const auto& m : fak.MsgBox.Calls) seen += m.Text + "|" + m.Caption + (m.Buttons == TeMsgBtn::Ok ? "|ok " : " ");
    for (const auto& s : fak.Sound.Calls) seen += s.Path + (s.Sync ? " sync" : " async");
    EXPECT_EQ(seen, ok ? ins + c.Exp + (c.Sync ? " sync" : " async")
                       : "File '" + (c.Exp.size() > 1 ? ins : "") + c.Exp.substr(1) + "' not found||ok ");
    EXPECT_EQ(GvSndAtPrc, (ok ? std::vector<std::size_t>{0, 1} : std::vector<std::size_t>{}));  // before the sound and after
  }
  for (int n = 1; n <= 6; ++n)  // the switch numbers play their own number
    EXPECT_EQ(SndCuePth(SndCueSwi(n)->Cue, "I\\", "A\\"), "I\\Sounds\\System\\" + std::to_string(n) + ".wav");
  for (int n : {-1, 0, 7}) EXPECT_EQ(SndCueSwi(n), nullptr);
  EXPECT_EQ(SndCuePth(TeSndCue(GcSndCueCnt), "I\\", "A\\"), "");
  EXPECT_EQ(LgeCuePth("C:\\T\\Sounds\\System\\1.wav", "nl"), "C:\\T\\Sounds\\nl\\1.wav");
  EXPECT_EQ(LgeCuePth("1.wav", "nl"), "");
  GpFak = nullptr;
}

}  // namespace
