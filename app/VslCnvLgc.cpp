#include "app/VslCnvLgc.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "core/Globals.h"
#include "core/PathUtl.h"
#include "core/StrUtl.h"
#include "messages/SysLgeMsg.h"
#include "messages/SysMsgBui.h"

#ifndef TESSARO_VERSION
#error "TESSARO_VERSION must be set by the build"
#endif

std::string AppFilVer() { return TESSARO_VERSION; }

std::string BldCap(const std::string& designed, const std::string& version) {
  return designed + " (Build: " + version + ")";
}

int FndComPrtIdx(const std::string& name, const std::vector<std::string>& ports) {
  if (name.size() < 4) return -1;
  // Port names are not case-sensitive ("com3" is COM3).
  for (std::size_t i = 0; i < ports.size(); ++i)
    if (EqlNoCase(ports[i], name)) return static_cast<int>(i);
  return -1;
}

std::uint8_t TbnHntIdf(const std::string& name) {
  static const struct {
    const char* Nam;
    std::uint8_t Idf;
  } tbl[] = {
      {"tbnSta", SUM_TBN_STA_XXX_HNT}, {"tbnSto", SUM_TBN_STO_XXX_HNT}, {"tbnIff", SUM_TBN_IFF_XXX_HNT},
      {"tbnThn", SUM_TBN_THN_XXX_HNT}, {"tbnEls", SUM_TBN_ELS_XXX_HNT}, {"tbnGto", SUM_TBN_GTO_XXX_HNT},
      {"tbnLbl", SUM_TBN_LBL_XXX_HNT}, {"tbnDly", SUM_TBN_DLY_XXX_HNT}, {"tbnAct", SUM_TBN_ACT_XXX_HNT},
      {"tbnSns", SUM_TBN_SNS_XXX_HNT}, {"tbnSpd", SUM_TBN_SPD_XXX_HNT}, {"tbnSwi", SUM_TBN_SWI_XXX_HNT},
      {"tbnRti", SUM_TBN_RTI_XXX_HNT}, {"tbnUpl", SUM_TBN_UPL_XXX_HNT}, {"tbnRun", SUM_TBN_RUN_XXX_HNT},
      {"tbnUpr", SUM_TBN_UPR_XXX_HNT}, {"tbnComSte", SUM_TBN_COM_STE_HNT},
  };
  for (const auto& e : tbl)
    if (name == e.Nam) return e.Idf;
  return 0x00;
}

const std::array<const char*, GcTbnImgCnt> GcTbnImgFil = {
    "\\Vio. Start. 32x32. color.bmp",
    "\\Vio. Stop. 32x32. color.bmp",
    "\\Vio. If. 32x32. color.bmp",
    "\\Vio. Then. 32x32. color.bmp",
    "\\Vio. Else. 32x32. color.bmp",
    "\\Vio. Label. 32x32. color.bmp",
    "\\Vio. Goto. 32x32. color.bmp",
    "\\Vio. Delay. 32x32. color.bmp",
    "\\Vio. Actor. 32x32. color.bmp",
    "\\Vio. Sensor. 32x32. color.bmp",
    "\\Vio. EngSpd. 32x32. color.bmp",
    "\\Vio. SwiInt. 32x32. color.bmp",
    "\\Vio. RTI. 32x32. color.bmp",
    "\\Control. Upload. 32x32. color. green.bmp",
    "\\Control. Upload. 32x32. color. orange.bmp",
    "\\Control. Upload. 32x32. color. blue2.bmp",
    "\\Control. Run. 32x32. color. blue.bmp",
    "\\Control. Upload. Run. 32x32. color. yellow.bmp",
    "\\Comm. panel. Comm. Okay. green. 32x32. color.bmp",
    "\\Comm. panel. No Comm.. red. 32x32. color.bmp",
};

const std::array<int, GcTbnImgCnt> GcTbnImgLodOrd = {0,  1,  2,  3,  4,  6,  5,  7,  8,  9,
                                                     10, 11, 12, 13, 14, 15, 16, 17, 19, 18};

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

std::string LgeTxt(std::uint8_t id, std::uint8_t lge) { return SysMsgOr(id, lge); }

std::string SimPrtTxt(std::uint8_t lge) { return LgeTxt(SUM_OPT_SIM, lge); }

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
