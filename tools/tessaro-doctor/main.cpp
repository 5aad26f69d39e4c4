// tessaro-doctor: why the robot is not found, step by step.
#include <iostream>
#include <string>
#include <vector>

#include "DocCli.h"
#include "core/qt/QtStgSto.h"
#include "core/PathUtl.h"
#include "core/Seams.h"
#include "doctor/DocSys.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv, argv + argc);
  // The settings store is the one of the main window.
  TQtSettingsFactory sto;
  TPlatform p = GuPlatform();
  p.Settings = &sto;
  TScopedPlatform scp(p);
  TDocSysLnx sys;
  return DocMai(args, sys, ExeDir(), std::cout, std::cerr);
}
