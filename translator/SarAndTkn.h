// Sensor and actor ("sar") command definitions, read from ExtComTkn.sys.
#pragma once

#include <string>

#include "messages/TxtFil.h"

class IWndMsgTgt;

class TSarAndTkn {
public:
  explicit TSarAndTkn(IWndMsgTgt* owner);
  // Clears the lines; false with the #174 text when no file exists at the path.
  bool LodTknFil(const std::string& path);
  const TStrLst& Lines() const { return FpSarTknMmo; }

private:
  IWndMsgTgt* FpOwn;
  TStrLst FpSarTknMmo;
  TStrLst FpTmpTknMmo;
};
