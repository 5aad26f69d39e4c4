// The vio type table: one row for each vio type, at its type number, with
// every fact of the type that needs no widget: its caption, file keyword,
// colours, key letter, place in the printed sheet's legend and what a screen
// reader says of its parameters. The window's tool buttons keep their own
// table (app/VslTbrTbl.cpp), one row for each button; the translator keeps
// which type may follow which (translator/InsAndTkn.cpp), by the same numbers.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/Globals.h"

// Colours are 24-bit values 0xRRGGBB; black is 0.
constexpr std::int32_t RgbClr(int r, int g, int b) { return (r << 16) | (g << 8) | b; }

// The symbol a vio shows in high contrast, beside its caption: the types that
// share a colour are told apart by more than their words.
enum class TeVioSym : std::uint8_t { Non, Tri, Sqr, Blt, Ret, Dmd, Chk, Crs, Clk, Flg, Arw, Sun, Ffw };

// What a screen reader says of a vio's parameters, after its name and place.
enum class TeVioAccPrm : std::uint8_t {
  Non,  // nothing
  Val,  // the value, in the row's words
  Lbl,  // the label's name, in the row's words
  Spd,  // the speed, in the row's words
  Sar,  // the sensor and its condition
  Act,  // the actor and its command, then its value as a distance or in the row's words
};

struct TuVioTypRow {
  std::uint8_t Typ;  // the type number, the row's index
  const char* Cap;   // display caption (the same in every language)
  const char* Key;   // keyword in program files
  std::int32_t Clr;
  std::int32_t FntClr;
  // High contrast: a saturated fill, its caption colour at 7:1 or more, the symbol.
  std::int32_t HcClr;
  std::int32_t HcFntClr;
  TeVioSym Sym;
  char Ltr;          // the key that adds it on the field's cursor
  std::uint8_t Lgd;  // its place in the sheet's legend, from 0: the order of the tool bar
  bool Ent;          // an entry of the run: it follows no vio
  TeVioAccPrm AccPrm;
  std::uint8_t AccMsg;  // the message of the parameter's words (%1: the value); 0 for none
};

extern const std::array<TuVioTypRow, GcVioTypCnt> GuVioTyp;

// Lookups by type number. A type that is not in the table shows a message box
// and gives the empty text or -1.
std::string GetVioCap(std::uint8_t typ);
std::string GetVioKey(std::uint8_t typ);
// Exact, case-sensitive match of a file keyword; -1 (with a message box) when unknown.
int GetVioTypOfKey(const std::string& key);
// The same without the box: -1 is an answer (a text that may be no program).
int VioTypOfKeyQui(const std::string& key);
std::int32_t GetVioClr(std::uint8_t typ);
std::int32_t GetVioFntClr(std::uint8_t typ);
// The high-contrast row of a type; null for a type that is not in the table.
const TuVioTypRow* GetVioRow(std::uint8_t typ);
// The contrast ratio of two colours (relative luminance), from 1 to 21.
double ClrCtrRat(std::int32_t a, std::int32_t b);

// Colours of the child controls.
constexpr std::int32_t GcPrmBluClr = RgbClr(148, 204, 252);  // edits and sar combo boxes
constexpr std::int32_t GcLblCynClr = RgbClr(204, 252, 252);  // Label and Goto combo boxes
constexpr std::int32_t GcDlyGrnClr = RgbClr(204, 252, 204);  // Delay unit label
constexpr std::int32_t GcActOrgClr = RgbClr(252, 204, 148);  // Actor and engine speed unit labels

// High contrast: the vios' dark outline, the parameter controls' fill and
// text, and the plain field behind the vios.
constexpr std::int32_t GcHcOutClr = RgbClr(0, 0, 0);
constexpr std::int32_t GcHcCtlClr = RgbClr(255, 255, 255);
constexpr std::int32_t GcHcCtlFntClr = RgbClr(0, 0, 0);
constexpr std::int32_t GcHcFldClr = RgbClr(40, 40, 40);
