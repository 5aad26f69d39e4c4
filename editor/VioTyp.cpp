#include "editor/VioTyp.h"

#include "core/Seams.h"

namespace {
constexpr std::int32_t GcYel = RgbClr(252, 204, 4);
constexpr std::int32_t GcLgtYel = RgbClr(252, 252, 148);
constexpr std::int32_t GcGrn = RgbClr(204, 252, 204);
constexpr std::int32_t GcOrg = RgbClr(252, 204, 148);
constexpr std::int32_t GcCyn = RgbClr(204, 252, 252);

const TuVioTypRow* FndRow(std::uint8_t typ) {
  for (const TuVioTypRow& r : GuVioTyp)
    if (r.Typ == typ) return &r;
  return nullptr;
}
}  // namespace

const std::array<TuVioTypRow, GcVioTypCnt> GuVioTyp = {{
    {VT_STA, "START", "START1", GcYel, 0},
    {VT_STO, "STOP", "STOP1", GcYel, 0},
    {VT_IFF, "IF", "IF1", GcLgtYel, 0},
    {VT_THN, "THEN", "THEN1", GcLgtYel, 0},
    {VT_ELS, "ELSE", "ELSE1", GcLgtYel, 0},
    {VT_DLY, "DELAY", "DELAY1", GcGrn, 0},
    {VT_LBL, "LABEL", "LABEL1", GcGrn, 0},
    {VT_GTO, "GOTO", "GOTO1", GcGrn, 0},
    {VT_ACT, "ACTOR", "ACTOR1", GcOrg, 0},
    {VT_SNS, "SENSOR", "SENSOR1", GcCyn, 0},
    {VT_SPD, "ENGINE SPEED", "ENGINE SPEED1", GcOrg, 0},
    {VT_SWI, "SWITCH\nINTERRUPT", "SWITCH_INTERRUPT1", GcYel, 0},
    {VT_RTI, "RTI", "RTI1", GcYel, 0},
}};

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

int GetVioTypOfKey(const std::string& key) {
  for (const TuVioTypRow& r : GuVioTyp)
    if (key == r.Key) return r.Typ;
  ShwMsgBox("#141c, vio caption not found in list");
  return -1;
}

std::int32_t GetVioClr(std::uint8_t typ) {
  if (const TuVioTypRow* r = FndRow(typ)) return r->Clr;
  ShwMsgBox("#142, vio color not found in list 'GuVioTyp'");
  return -1;
}

std::int32_t GetVioFntClr(std::uint8_t typ) {
  if (const TuVioTypRow* r = FndRow(typ)) return r->FntClr;
  ShwMsgBox("#143, vio font color not found in list");
  return -1;
}
