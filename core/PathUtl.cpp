#include "core/PathUtl.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

bool FilExs(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(fs::path(NativePath(path)), ec);
}

std::string DefaultInsDir() {
  const std::string sep = PathSep();
  if (const char* env = std::getenv("TESSARO_INSTALL_DIR"); env && *env) {
    std::string dir = env;
    if (dir.back() != '/' && dir.back() != sep[0]) dir += sep;
    return dir;
  }
  std::string exeDir = ExeDir();
  fs::path parent = fs::path(exeDir.substr(0, exeDir.size() - 1)).parent_path();
  std::string dir = parent.string();
  if (dir.empty() || (dir.back() != '/' && dir.back() != sep[0])) dir += sep;
  return dir;
}
