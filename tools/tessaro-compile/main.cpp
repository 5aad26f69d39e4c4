// tessaro-compile: translate a visual program file into the robot's token stream.
#include <iostream>
#include <string>
#include <vector>

#include "CplPgm.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv, argv + argc);
  return CplMai(args, std::cout, std::cerr);
}
