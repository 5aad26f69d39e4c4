#include "sound/PlyWavFil.h"

#include "core/PathUtl.h"
#include "core/Seams.h"

bool TclsPlyWavFil::PlyWavFil(const std::string& path) {
  return PlyWavFilFlg(path, SND_ASYNC);
}

std::string LgeCuePth(const std::string& path, const std::string& dir) {
  const std::size_t fil = path.find_last_of("\\/");
  if (fil == std::string::npos || fil == 0) return {};
  const std::size_t fld = path.find_last_of("\\/", fil - 1);
  if (fld == std::string::npos) return {};
  return path.substr(0, fld + 1) + dir + path[fil] + path.substr(fil + 1);
}

std::string TclsPlyWavFil::LgeFil(const std::string& path) const {
  if (!FsLgeDir.empty()) {
    const std::string lge = LgeCuePth(path, FsLgeDir);
    if (!lge.empty() && FilExs(NativePath(lge))) return lge;
  }
  return path;
}

bool TclsPlyWavFil::PlyWavFilFlg(const std::string& path, std::uint32_t flags) {
  // When neither file exists, the message names the English one.
  const std::string nat = NativePath(LgeFil(path));
  if (!FilExs(nat)) {
    bool tld;
    {
      std::lock_guard<std::mutex> lk(FMtx);
      tld = FMisTld.count(nat) != 0;
    }
    if (!tld) ShwMsgBox("File '" + nat + "' not found");
    return false;
  }
  if (FOnPly) FOnPly(path);
  PrcMsg();
  GuPlatform().Sound->Play(nat, ((flags | SND_FILENAME) & SND_ASYNC) == 0);
  PrcMsg();
  return true;
}

void TclsPlyWavFil::SetMisTld(const std::vector<std::string>& paths) {
  std::lock_guard<std::mutex> lk(FMtx);
  FMisTld.insert(paths.begin(), paths.end());
}
