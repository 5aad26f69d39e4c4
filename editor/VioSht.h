// What a program sheet says about the program on the field: each vio's place
// in the run order and the bytes it adds to the robot's stream, the total
// against a byte budget, or why the program does not translate; and the
// author printed on the sheets, kept in the per-user settings store.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "translator/InsAndTkn.h"

class TVioPgmItp;

struct TuShtVio {
  int Ord = 0;          // 1, 2, 3 ... in the order the walk first reaches it; 0: never reached
  std::size_t Byt = 0;  // bytes of its tokens in the stream (a removed Label or Else: 0)
};

struct TuShtPgm {
  bool Ok = false;                // the program translates
  std::string Why;                // the translator's reason when it does not
  std::size_t Len = 0;            // bytes of the stream
  std::size_t Bdg = GcMaxTsmLen;  // the byte budget the total is held against
  std::vector<TuShtVio> Vio;      // one per vio in the field's child order; empty when not Ok
  bool Ovr() const { return Ok && Len > Bdg; }
};

// Order and bytes of the cnt vios of a translation that went through.
std::vector<TuShtVio> ShtVio(const TInsAndTkn& trn, std::size_t cnt);

// Translates the field as the byte meter does (no blink, the last-error text
// left as it was) and describes it against the budget (at most the robot's
// 255; 0: the editor's, an open lesson's budget or else the robot's).
TuShtPgm ShtPgm(TVioPgmItp& edt, std::size_t bdg = 0);

// The author of the sheets. RedShtAut: false when the question was never
// answered (nam is then empty). KepShtAut keeps the answer, an empty one too,
// so that it is not asked again; false when the store refuses.
bool RedShtAut(std::string& nam);
bool KepShtAut(const std::string& nam);
