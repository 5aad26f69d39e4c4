#include "core/PathUtl.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

#include "core/StrUtl.h"

namespace fs = std::filesystem;

const char* PathSep() {
#ifdef _WIN32
  return "\\";
#else
  return "/";
#endif
}

std::string NativePath(const std::string& path) {
#ifdef _WIN32
  return path;
#else
  std::string p = path;
  std::replace(p.begin(), p.end(), '\\', '/');
  if (p.empty()) return p;

  // Split into components and rebuild, matching case where needed.
  std::vector<std::string> parts;
  std::string cur;
  for (char c : p) {
    if (c == '/') {
      parts.push_back(cur);
      cur.clear();
    } else {
      cur += c;
    }
  }
  parts.push_back(cur);

  std::string out;
  bool abs = p[0] == '/';
  bool missing = false;  // once a component is missing, keep the rest as written
  for (std::size_t i = 0; i < parts.size(); ++i) {
    const std::string& part = parts[i];
    if (i == 0 && abs) {
      out.assign(1, '/');
      continue;
    }
    if (part.empty()) {
      // Doubled or trailing separator.
      if (i + 1 == parts.size() && !out.empty() && out.back() != '/') out += '/';
      continue;
    }
    std::string base = out.empty() ? std::string(".") : out;
    std::string pick = part;
    if (!missing && part != "." && part != "..") {
      std::error_code ec;
      if (!fs::exists(fs::path(base) / part, ec)) {
        bool found = false;
        for (fs::directory_iterator it(base, ec), end; !ec && it != end; it.increment(ec)) {
          std::string name = it->path().filename().string();
          if (EqlNoCase(name, part)) {
            pick = name;
            found = true;
            break;
          }
        }
        missing = !found;
      }
    }
    if (!out.empty() && out.back() != '/') out += '/';
    out += pick;
  }
  return out;
#endif
}

bool FilExs(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(fs::path(NativePath(path)), ec);
}

std::string ExeDir() {
  std::error_code ec;
#ifdef _WIN32
  return ".\\";
#else
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec) return "./";
  std::string dir = exe.parent_path().string();
  if (dir.empty() || dir.back() != '/') dir += '/';
  return dir;
#endif
}

std::string DefaultInsDir() {
#ifdef _WIN32
  return "C:\\Brinkmoor\\Tessaro\\";
#else
  if (const char* env = std::getenv("TESSARO_INSTALL_DIR"); env && *env) {
    std::string dir = env;
    if (dir.back() != '/') dir += '/';
    return dir;
  }
  std::string exeDir = ExeDir();
  fs::path parent = fs::path(exeDir.substr(0, exeDir.size() - 1)).parent_path();
  std::string dir = parent.string();
  if (dir.empty() || dir.back() != '/') dir += '/';
  return dir;
#endif
}
