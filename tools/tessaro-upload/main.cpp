// tessaro-upload: send a visual program to the robot.
#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "UplPgm.h"

int main(int argc, char** argv) {
  std::signal(SIGPIPE, SIG_IGN);
  std::vector<std::string> args(argv, argv + argc);
  return UplMai(args, std::cout, std::cerr);
}
