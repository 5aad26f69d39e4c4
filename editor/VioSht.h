// What a program sheet says about the program on the field: each vio's place
// in the run order and the bytes it adds to the robot's stream, the total
// against a byte budget, or why the program does not translate and the vio
// that is wrong; where each part of a vio's cell goes on paper, which vio
// types the legend lists; and the author printed on the sheets, kept in the
// per-user settings store.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "translator/InsAndTkn.h"

class TVio;
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
  int Flt = -1;                   // when not Ok: the index of the vio that is wrong (-1: none)
  bool Ovr() const { return Ok && Len > Bdg; }
};

// Order and bytes of the cnt vios of a translation that went through.
std::vector<TuShtVio> ShtVio(const TInsAndTkn& trn, std::size_t cnt);

// Translates the field as the byte meter does (no blink, the last-error text
// left as it was) and describes it against the budget (at most the robot's
// 255; 0: the editor's, an open lesson's budget or else the robot's).
TuShtPgm ShtPgm(TVioPgmItp& edt, std::size_t bdg = 0);

// A rectangle on the sheet, in millimetres.
struct TuShtBox {
  double X = 0, Y = 0, W = 0, H = 0;
  bool Cut(const TuShtBox& o) const { return X < o.X + o.W && o.X < X + W && Y < o.Y + o.H && o.Y < Y + H; }
  bool In(const TuShtBox& o) const {
    constexpr double e = 1e-9;
    return X >= o.X - e && Y >= o.Y - e && X + W <= o.X + o.W + e && Y + H <= o.Y + o.H + e;
  }
};

// The letters on the sheet are the line height divided by this.
constexpr double GcShtLinEm = 1.2;

// What one vio's cell has to hold, measured at the largest line height.
struct TuShtCelIn {
  double W = 0, H = 0;         // the cell
  double Lin = 0;              // the largest line height
  double CapW = 0;             // the caption's widest line at that height
  std::size_t CapN = 1;        // the caption's lines
  double OrdW = 0, BytW = 0;   // the two badges' widths at that height; 0: the vio has none
  std::size_t PrmN = 0;        // the parameter lines
};

// Where the parts of a vio go, from its cell's top left corner: the badges
// stand beside the caption's first line when it leaves them room, else in a
// row of their own above it; the parameters have the rows below, the whole
// width each, so that no badge covers a parameter. The line height is the
// largest one that lets every row into the cell, at most the one asked for.
struct TuShtCel {
  double Lin = 0;                  // the line height used; the texts' sizes follow it
  TuShtBox Ord, Byt;               // the badges (W 0: none)
  std::vector<TuShtBox> Cap, Prm;  // one box per caption line and per parameter line
};
TuShtCel ShtCel(const TuShtCelIn& in);

// The parameter lines the sheet prints on a vio: the text of each visible
// list box and edit, with the unit that stands after it on the same line.
std::vector<std::string> ShtPrm(const TVio& vio);

// The vio types the legend lists, in the tool bar's order: those an open
// lesson offers and those on the field; every type when neither narrows it.
std::vector<std::uint8_t> ShtLgd(const TVioPgmItp& edt);

// The author of the sheets. RedShtAut: false when the question was never
// answered (nam is then empty). KepShtAut keeps the answer, an empty one too,
// so that it is not asked again; false when the store refuses.
bool RedShtAut(std::string& nam);
bool KepShtAut(const std::string& nam);
