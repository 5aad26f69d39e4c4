// One vio block of a program file, read and checked before the field is
// touched: what the file reader gives and what the editor makes a vio of
// (the loader, the clipboard).
#pragma once

#include <cstdint>
#include <string>

struct TuVioBlk {
  std::uint8_t Typ;
  int Col;
  int Row;
  std::string Prm[3];
};
