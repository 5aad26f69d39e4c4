// The test support's Windows side: temporary folders of a unique name below
// the system's temporary folder. There is no fork: work meant for a child
// process is not run, and says so.
#include "support/FakePlatform.h"

#include <windows.h>

#include <filesystem>
#include <stdexcept>
#include <string>

namespace fs = std::filesystem;

TTmpDir::TTmpDir() {
  static unsigned cnt = 0;
  for (int tries = 0; tries < 100; ++tries) {
    const fs::path p = fs::temp_directory_path() / ("tessaro-test-" + std::to_string(::GetCurrentProcessId()) + "-" +
                                                   std::to_string(::GetTickCount()) + "-" + std::to_string(cnt++));
    std::error_code ec;
    if (fs::create_directory(p, ec)) {
      FPth = p.string() + "\\";
      return;
    }
  }
  throw std::runtime_error("cannot make a temporary folder");
}
