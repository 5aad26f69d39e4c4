#include "app/InsFil.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

#include "core/PathUtl.h"
#include "core/StrUtl.h"

std::string DocDir(const std::string& insDir) {
  namespace fs = std::filesystem;
#ifdef _WIN32
  (void)insDir;
  return "C:\\Brinkmoor\\Documentation\\";
#else
  // An installed package keeps the manuals inside its own folder.
  if (fs::is_directory(fs::path(NativePath(insDir + "Documentation")))) return insDir + "Documentation\\";
  // Beside the installation folder. The path is resolved, so that a message
  // that names it shows no "..".
  const fs::path bsd = fs::path(NativePath(insDir + "..\\Documentation"));
  std::error_code err;
  const fs::path res = fs::weakly_canonical(bsd, err);
  if (err || res.empty()) return insDir + "..\\Documentation\\";
  return res.string() + "/";
#endif
}

std::string MisFilRpt(const std::string& insDir, const std::vector<std::string>& pics,
                      const std::vector<std::string>& snds) {
  namespace fs = std::filesystem;
  std::error_code ec;
  std::string rpt;
  auto add = [&rpt](const std::string& l) { rpt += (rpt.empty() ? "" : "\n") + l; };
  fs::path ins = fs::path(NativePath(insDir)).lexically_normal();
  if (!ins.has_filename()) ins = ins.parent_path();
  const bool insMis = !fs::is_directory(ins, ec);
  if (insMis)
    add("#177, The installation folder '" + ins.string() + "' does not exist: the pictures and sounds below it are missing.");
  auto below = [&ins](const fs::path& p) {
    const fs::path rel = p.lexically_relative(ins);
    return !rel.empty() && *rel.begin() != "..";
  };
  auto grp = [&](const char* what, const std::vector<std::string>& files) {
    std::vector<std::pair<fs::path, std::string>> dirs;  // folder, names not found there ("": the folder is missing)
    for (const std::string& f : files) {
      const fs::path p = fs::path(f).lexically_normal();
      fs::path dir = p.parent_path();
      if (insMis && below(dir)) continue;
      const bool gone = !fs::is_directory(dir, ec);
      // A missing folder is named once, as the outermost one that is missing.
      while (gone && dir.has_relative_path() && dir.has_parent_path() && dir.parent_path() != dir &&
             !fs::is_directory(dir.parent_path(), ec))
        dir = dir.parent_path();
      auto it = std::find_if(dirs.begin(), dirs.end(),
                             [&dir](const auto& d) { return EqlNoCase(d.first.string(), dir.string()); });
      if (it == dirs.end()) it = dirs.insert(dirs.end(), {dir, std::string()});
      if (!gone) it->second += (it->second.empty() ? "" : ", ") + p.filename().string();
    }
    for (const auto& [dir, names] : dirs) {
      if (names.empty())
        add(std::string(what) + ": the folder '" + dir.string() + "' does not exist.");
      else
        add(std::string(what) + " not found in '" + dir.string() + "': " + names);
    }
  };
  grp("#178, Pictures", pics);
  grp("#179, Sounds", snds);
  return rpt;
}
