#include "sound/SndCue.h"

#include "sound/PlyWavFil.h"

#include <algorithm>
#include <cctype>

const TuSndCue GcSndCue[GcSndCueCnt] = {
    {SC_SYS_ONL, TeSndBas::SB_APP_SND, "\\system\\systems online.wav", true},
    {SC_LNK_OFL, TeSndBas::SB_INS_SND, "\\system\\datalink offline.wav", true},
    {SC_UPL_NAC, TeSndBas::SB_INS_SND, "\\system\\input algorithm not accepted.wav", false},
    {SC_ACC_DEN, TeSndBas::SB_APP_SND, "\\system\\access denied.wav", true},
    {SC_CMD_NAC, TeSndBas::SB_APP_SND, "\\system\\input algorithm not accepted.wav", false},
    {SC_BTN_UPL, TeSndBas::SB_APP_SND, "\\system\\button. upload.wav", true},
    {SC_BTN_RUN, TeSndBas::SB_APP_SND, "\\system\\button. run.wav", true},
    {SC_BTN_UPR, TeSndBas::SB_APP_SND, "\\system\\button. upload and run.wav", true},
    {SC_STA_DBL_UPR, TeSndBas::SB_INS_SND, "\\system\\button. upload and run.wav", false},
    {SC_PLS_ACK, TeSndBas::SB_APP_SND, "\\system\\please acknowledge.wav", true},
    {SC_INC_SIG, TeSndBas::SB_INS_SND, "\\system\\incoming subspace signal.wav", false},
    {SC_STB, TeSndBas::SB_INS_SND, "\\system\\standby.wav", true},
    {SC_LNK_EST, TeSndBas::SB_INS_SND, "\\system\\link established.wav", true},
    {SC_TRF_CMP, TeSndBas::SB_INS_SND, "\\System\\transfer complete.wav", true},
    {SC_WRK, TeSndBas::SB_INS_SND, "\\System\\working.wav", false},
    {SC_PGM_CMP, TeSndBas::SB_INS_SND, "\\System\\program complete.wav", true},
    {SC_SWI_1, TeSndBas::SB_INS_DIR, "Sounds\\System\\1.wav", false},
    {SC_SWI_2, TeSndBas::SB_INS_DIR, "Sounds\\System\\2.wav", false},
    {SC_SWI_3, TeSndBas::SB_INS_DIR, "Sounds\\System\\3.wav", false},
    {SC_SWI_4, TeSndBas::SB_INS_DIR, "Sounds\\System\\4.wav", false},
    {SC_SWI_5, TeSndBas::SB_INS_DIR, "Sounds\\System\\5.wav", false},
    {SC_SWI_6, TeSndBas::SB_INS_DIR, "Sounds\\System\\6.wav", false},
};

const char* SndLgeDir(std::uint8_t lge) {
  switch (lge) {
    case 1: return "nl";
    case 2: return "de";
    default: return "";
  }
}

const TuSndCue* SndCueSwi(int num) {
  if (num < 1 || num > 6) return nullptr;
  return &GcSndCue[SC_SWI_1 + num - 1];
}

std::string SndCuePth(TeSndCue cue, const std::string& insDir, const std::string& appDir) {
  if (cue >= GcSndCueCnt) return {};
  const TuSndCue& c = GcSndCue[cue];
  switch (c.Bas) {
    case TeSndBas::SB_INS_SND: return insDir + GcSndDir + c.Nam;
    case TeSndBas::SB_APP_SND: return appDir + "..\\" + GcSndDir + c.Nam;
    case TeSndBas::SB_INS_DIR: break;
  }
  return insDir + c.Nam;
}

bool PlySndCue(TclsPlyWavFil& ply, TeSndCue cue, const std::string& insDir, const std::string& appDir) {
  if (cue >= GcSndCueCnt) return false;
  return ply.PlyWavFilFlg(SndCuePth(cue, insDir, appDir), GcSndCue[cue].Syn ? SND_SYNC : SND_ASYNC);
}

int SndCueOfPth(const std::string& path) {
  auto fil = [](const std::string& p) {
    std::string f = p.substr(p.find_last_of("\\/") + 1);
    std::transform(f.begin(), f.end(), f.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return f;
  };
  const std::string want = fil(path);
  for (const TuSndCue& c : GcSndCue)
    if (fil(c.Nam) == want) return static_cast<int>(&c - GcSndCue);
  return -1;
}
