// The vio type table: display captions, file keywords and colours.
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

struct TuVioTypRow {
  std::uint8_t Typ;
  const char* Cap;  // display caption (the same in every language)
  const char* Key;  // keyword in program files
  std::int32_t Clr;
  std::int32_t FntClr;
  // High contrast: a saturated fill, its caption colour at 7:1 or more, the symbol.
  std::int32_t HcClr;
  std::int32_t HcFntClr;
  TeVioSym Sym;
};

extern const std::array<TuVioTypRow, GcVioTypCnt> GuVioTyp;

// Lookups by type number. A type that is not in the table shows a message box
// and gives the empty text or -1.
std::string GetVioCap(std::uint8_t typ);
std::string GetVioKey(std::uint8_t typ);
// Exact, case-sensitive match of a file keyword; -1 (with a message box) when unknown.
int GetVioTypOfKey(const std::string& key);
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
