// The spoken cues of the program: which wave file each event plays, from
// which folder, and whether its caller waits for the end of the sound.
#pragma once

#include <cstdint>
#include <string>

class TclsPlyWavFil;

// Folder a cue path starts from.
enum class TeSndBas : std::uint8_t {
  SB_INS_SND,  // base A: GuInsDir + "sounds"
  SB_APP_SND,  // base B: FsAppDir + "..\" + "sounds"
  SB_INS_DIR,  // GuInsDir itself (the switch numbers)
};

enum TeSndCue : std::uint8_t {
  SC_SYS_ONL,      // B  systems online: the port was opened at the end of the intro
  SC_LNK_OFL,      // A  datalink offline: the serial port cannot be opened
  SC_UPL_NAC,      // A  input algorithm not accepted: upload, the program cannot be translated
  SC_ACC_DEN,      // B  access denied: the upload command failed
  SC_CMD_NAC,      // B  input algorithm not accepted: run or upload-and-run failed
  SC_BTN_UPL,      // B  button. upload: the upload packet was queued
  SC_BTN_RUN,      // B  button. run: the run packet was queued
  SC_BTN_UPR,      // B  button. upload and run: queued from the tool button
  SC_STA_DBL_UPR,  // A  button. upload and run: the Start vio was double-clicked
  SC_PLS_ACK,      // B  please acknowledge: the link state button was clicked
  SC_INC_SIG,      // A  incoming subspace signal: robot class 0x00 code 0x03
  SC_STB,          // A  standby: robot class 0x00 code 0x04
  SC_LNK_EST,      // A  link established: robot class 0x00 code 0x06
  SC_TRF_CMP,      // A  transfer complete: robot class 0x03 code 0x14
  SC_WRK,          // A  working: robot class 0x03 code 0x15
  SC_PGM_CMP,      // A  program complete: robot class 0x03 code 0x16
  SC_SWI_1,        // switch report (class 0x02, code 0x13), highest set bit 0x20
  SC_SWI_2,        // 0x10
  SC_SWI_3,        // 0x08
  SC_SWI_4,        // 0x04
  SC_SWI_5,        // 0x02
  SC_SWI_6,        // 0x01
};
constexpr int GcSndCueCnt = SC_SWI_6 + 1;

struct TuSndCue {
  TeSndCue Cue;
  TeSndBas Bas;
  const char* Nam;  // appended to the base as written (backslashes, mixed case)
  bool Syn;         // synchronous: the caller waits for the end of the sound
};

// The table, indexed by TeSndCue.
extern const TuSndCue GcSndCue[GcSndCueCnt];

// The folder of the sounds below the installation folder and the executable's folder.
constexpr const char* GcSndDir = "sounds";

// The folder of the cues in language lge (0 English, 1 Dutch, 2 German) beside
// the English ones; "" for English and any other value.
const char* SndLgeDir(std::uint8_t lge);

// The cue for a switch number 1 to 6; nullptr outside that range.
const TuSndCue* SndCueSwi(int num);

// Full program path of a cue ("" for a value outside the table): the base built from insDir (GuInsDir) or appDir
// (FsAppDir, the executable's folder), both ending in a separator, followed
// by the name. The path keeps the backslashes and the case of the names;
// NativePath turns it into the native path.
std::string SndCuePth(TeSndCue cue, const std::string& insDir, const std::string& appDir);

// The first cue whose file has the name of path's file (without regard to
// case, either separator); -1 when none.
int SndCueOfPth(const std::string& path);

// Plays a cue through the player in the cue's mode: PlyWavFilFlg with 0 for a
// synchronous cue, 1 for an asynchronous one. False when its file is missing
// (the player has shown the message).
bool PlySndCue(TclsPlyWavFil& ply, TeSndCue cue, const std::string& insDir, const std::string& appDir);
