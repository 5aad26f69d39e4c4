#include "editor/VioTyp.h"

#include <algorithm>
#include <cmath>

#include "core/Seams.h"
#include "messages/SysMsgIdf.h"

namespace {
constexpr std::int32_t GcYel = RgbClr(252, 204, 4);
constexpr std::int32_t GcLgtYel = RgbClr(252, 252, 148);
constexpr std::int32_t GcGrn = RgbClr(204, 252, 204);
constexpr std::int32_t GcOrg = RgbClr(252, 204, 148);
constexpr std::int32_t GcCyn = RgbClr(204, 252, 252);
// High contrast: the same hues, saturated, with black captions.
constexpr std::int32_t GcHcYel = RgbClr(255, 196, 0);
constexpr std::int32_t GcHcLgtYel = RgbClr(255, 255, 0);
constexpr std::int32_t GcHcGrn = RgbClr(0, 220, 80);
constexpr std::int32_t GcHcOrg = RgbClr(255, 150, 40);
constexpr std::int32_t GcHcCyn = RgbClr(0, 220, 255);
using S = TeVioSym;
using A = TeVioAccPrm;

const TuVioTypRow* FndRow(std::uint8_t typ) { return typ < GuVioTyp.size() ? &GuVioTyp[typ] : nullptr; }
}  // namespace

constexpr std::array<TuVioTypRow, GcVioTypCnt> GuVioTyp = {{
    // type, caption, keyword, colour, caption colour, high contrast: colour, caption colour, symbol;
    // key, legend place, entry, screen reader: parameter words, their message
    {VT_STA, "START", "START1", GcYel, 0, GcHcYel, 0, S::Tri, 'S', 0, true, A::Non, 0},
    {VT_STO, "STOP", "STOP1", GcYel, 0, GcHcYel, 0, S::Sqr, 'P', 1, false, A::Non, 0},
    {VT_IFF, "IF", "IF1", GcLgtYel, 0, GcHcLgtYel, 0, S::Dmd, 'I', 2, false, A::Non, 0},
    {VT_THN, "THEN", "THEN1", GcLgtYel, 0, GcHcLgtYel, 0, S::Chk, 'T', 3, false, A::Non, 0},
    {VT_ELS, "ELSE", "ELSE1", GcLgtYel, 0, GcHcLgtYel, 0, S::Crs, 'E', 4, false, A::Non, 0},
    {VT_DLY, "DELAY", "DELAY1", GcGrn, 0, GcHcGrn, 0, S::Clk, 'D', 7, false, A::Val, SUM_ACC_DLY_VAL},
    {VT_LBL, "LABEL", "LABEL1", GcGrn, 0, GcHcGrn, 0, S::Flg, 'L', 5, false, A::Lbl, SUM_ACC_LBL_VAL},
    {VT_GTO, "GOTO", "GOTO1", GcGrn, 0, GcHcGrn, 0, S::Arw, 'G', 6, false, A::Lbl, SUM_ACC_GTO_VAL},
    {VT_ACT, "ACTOR", "ACTOR1", GcOrg, 0, GcHcOrg, 0, S::Sun, 'A', 8, false, A::Act, SUM_ACC_DLY_VAL},
    {VT_SNS, "SENSOR", "SENSOR1", GcCyn, 0, GcHcCyn, 0, S::Non, 'N', 9, false, A::Sar, 0},
    // V: velocity
    {VT_SPD, "ENGINE SPEED", "ENGINE SPEED1", GcOrg, 0, GcHcOrg, 0, S::Ffw, 'V', 10, false, A::Spd, SUM_ACC_SPD_VAL},
    {VT_SWI, "SWITCH\nINTERRUPT", "SWITCH_INTERRUPT1", GcYel, 0, GcHcYel, 0, S::Blt, 'W', 11, true, A::Non, 0},
    {VT_RTI, "RTI", "RTI1", GcYel, 0, GcHcYel, 0, S::Ret, 'R', 12, false, A::Non, 0},
}};

namespace {
// Each row at its type number, the legend places and the keys each given once.
constexpr bool RowsByTyp() {
  for (std::size_t t = 0; t < GuVioTyp.size(); ++t) {
    if (GuVioTyp[t].Typ != t || GuVioTyp[t].Lgd >= GuVioTyp.size() || GuVioTyp[t].Ltr == '\0') return false;
    for (std::size_t o = 0; o < t; ++o)
      if (GuVioTyp[o].Lgd == GuVioTyp[t].Lgd || GuVioTyp[o].Ltr == GuVioTyp[t].Ltr) return false;
  }
  return true;
}
static_assert(RowsByTyp(), "one row for each vio type at its number, its own legend place and key");
}  // namespace

std::string GetVioCap(std::uint8_t typ) {
  if (const TuVioTypRow* r = FndRow(typ)) return r->Cap;
  ShwMsgBox("#141a, vio caption not found in list");
  return {};
}

std::string GetVioKey(std::uint8_t typ) {
  if (const TuVioTypRow* r = FndRow(typ)) return r->Key;
  ShwMsgBox("#141b, vio caption not found in list");
  return {};
}

int VioTypOfKeyQui(const std::string& key) {
  for (const TuVioTypRow& r : GuVioTyp)
    if (key == r.Key) return r.Typ;
  return -1;
}

int GetVioTypOfKey(const std::string& key) {
  if (const int typ = VioTypOfKeyQui(key); typ >= 0) return typ;
  ShwMsgBox("#141c, vio caption not found in list");
  return -1;
}

std::int32_t GetVioClr(std::uint8_t typ) {
  if (const TuVioTypRow* r = FndRow(typ)) return r->Clr;
  ShwMsgBox("#142, vio color not found in list 'GuVioTyp'");
  return -1;
}

const TuVioTypRow* GetVioRow(std::uint8_t typ) { return FndRow(typ); }

double ClrCtrRat(std::int32_t a, std::int32_t b) {
  auto lum = [](std::int32_t c) {
    auto lin = [](int v) {
      const double s = v / 255.0;
      return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * lin((c >> 16) & 0xFF) + 0.7152 * lin((c >> 8) & 0xFF) + 0.0722 * lin(c & 0xFF);
  };
  const double la = lum(a), lb = lum(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

std::int32_t GetVioFntClr(std::uint8_t typ) {
  if (const TuVioTypRow* r = FndRow(typ)) return r->FntClr;
  ShwMsgBox("#143, vio font color not found in list");
  return -1;
}
