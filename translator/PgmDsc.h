// A program as the translator reads it: the vios of the field in the field's
// child order, each with its type, place and parameters as plain values. The
// translator names a vio by its index in this list.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/Globals.h"

struct TuPgmVio {
  std::uint8_t Typ = 0;
  std::int32_t Col = 0, Row = 0;  // the grid cell of the vio's record
  int X = 0, Y = 0;               // its pixel position on the field
  std::string Cap;                // its caption
  std::string LblNam;             // Label: its name; Goto: the name of its target
  int SarTkn = -1;                // Actor, Sensor: token of the type and command; -1: not defined
  std::string SarTyp;             // Actor, Sensor: the type name
  // Delay: tenths of a second; Actor: distance or time (0: none); engine speed: cm/s.
  std::int32_t Val = 0;
  bool ValOk = true;              // engine speed: the text is a whole number other than 0
  std::string ValTxt;             // engine speed: the text as typed
  std::string PrmErr;             // why the parameters cannot be sent; empty when they can
};

struct TuPgmDsc {
  int CelWdt = 66, CelHgt = 60;  // cell size in pixels
  int GrdCls = GcGrdCls, GrdRws = GcGrdRws;
  std::vector<TuPgmVio> Vios;
};

// What a translation asks of the one who started it.
class ITrnRpt {
public:
  virtual ~ITrnRpt() = default;
  // Message text in the current language; empty when there is none.
  virtual std::string SysMsg(std::uint8_t id) = 0;
  // A message about a vio of the type: "After <caption> instr: <text>".
  virtual std::string VioMsg(std::uint8_t typ, std::uint8_t id) = 0;
  // Asks for the vio (its index in the description) to blink.
  virtual void Blk(std::size_t vio) = 0;
};
