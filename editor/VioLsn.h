// A lesson: what the field offers a pupil (some vio types, some sensor and
// actor commands, a smaller byte budget) and the task it sets, read from a
// small text file with the extension ".lesson":
//
//   [lesson]
//   title.en = First steps: drive
//   task.en  = Let the robot drive forward for two seconds and stop.
//   vios     = START ACTOR DELAY STOP
//   actor    = Driving / Forward
//   actor    = 0x13
//   budget   = 60
//
// Vio types are named by their file keyword or caption (without regard to
// case; "ENGINE SPEED" and "SWITCH INTERRUPT" may be written with a space or
// an underscore). A sensor or actor line names one command ("type / command"
// in any of the three languages), every command of a type ("type") or a token
// ("0x13"). A key that is absent offers everything of its kind. The lesson is
// never written into a program file.
#pragma once

#include <array>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/Globals.h"

class TVioPgmItp;

// The extension of lesson files, without the dot.
constexpr const char* GcLsnExt = "lesson";

struct TVioLsn {
  std::string Pth;                    // the file it was read from
  std::array<std::string, 3> Tit;     // title by language (0 English, 1 Dutch, 2 German); empty: not given
  std::array<std::string, 3> Tsk;     // task text by language
  std::bitset<GcVioTypCnt> Vio;       // the vio types offered, when AllVio is false
  bool AllVio = true;
  std::bitset<256> Act, Sns;          // the actor and sensor tokens offered
  bool AllAct = true, AllSns = true;
  std::size_t Bdg = 255;              // the bytes a program may take

  bool VioOfr(std::uint8_t typ) const { return typ < GcVioTypCnt && (AllVio || Vio.test(typ)); }
  bool AllSar(bool actor) const { return actor ? AllAct : AllSns; }
  bool SarOfr(bool actor, int tkn) const {
    if (AllSar(actor)) return true;
    return tkn >= 0 && tkn < 256 && (actor ? Act : Sns).test(static_cast<std::size_t>(tkn));
  }
  // The title and the task in the language; else in English; else in the
  // first language that has one. The title falls back to the file's name.
  std::string TitIn(std::uint8_t lge) const;
  std::string TskIn(std::uint8_t lge) const;
};

// Reads a lesson file against the editor's sensor and actor definitions.
// False with GuLstErrMsg naming the file and the line, and out untouched.
bool LodVioLsn(const std::string& path, TVioPgmItp& edt, TVioLsn& out);
// The same from the text of a file (path names it in the messages).
bool PrsVioLsn(const std::string& txt, const std::string& path, TVioPgmItp& edt, TVioLsn& out);
