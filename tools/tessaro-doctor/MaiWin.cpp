// tessaro-doctor on Windows: the settings are the registry key that the main
// window uses, and the system is asked through the Win32 services.
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "DocCli.h"
#include "core/PathUtl.h"
#include "core/RegStg.h"
#include "core/Seams.h"
#include "doctor/DocSys.h"

int main(int argc, char** argv) {
  ::_setmode(::_fileno(stdout), _O_BINARY);
  std::vector<std::string> args(argv, argv + argc);
  TRegSettingsFactory sto;
  TPlatform p = GuPlatform();
  p.Settings = &sto;
  TScopedPlatform scp(p);
  TDocSysWin sys;
  return DocMai(args, sys, ExeDir(), std::cout, std::cerr);
}
