// tessaro-upload on Windows: as on every system, with lines that end in "\n".
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "UplPgm.h"

int main(int argc, char** argv) {
  ::_setmode(::_fileno(stdout), _O_BINARY);
  std::vector<std::string> args(argv, argv + argc);
  return UplMai(args, std::cout, std::cerr);
}
