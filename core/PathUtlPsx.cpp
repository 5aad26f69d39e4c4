// Paths on a POSIX system: case-insensitive lookup of the program's
// Windows-style names, and the executable's folder from /proc.
#include "core/PathUtl.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

#include "core/StrUtl.h"

namespace fs = std::filesystem;

const char* PathSep() { return "/"; }

std::string NativePath(const std::string& path) {
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
}

std::string ExeDir() {
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec) return "./";
  std::string dir = exe.parent_path().string();
  if (dir.empty() || dir.back() != '/') dir += '/';
  return dir;
}
