#include "sound/PlyWavFil.h"

#include "core/PathUtl.h"
#include "core/Seams.h"

bool TclsPlyWavFil::PlyWavFil(const std::string& path) {
  return PlyWavFilFlg(path, SND_ASYNC);
}

bool TclsPlyWavFil::PlyWavFilFlg(const std::string& path, std::uint32_t flags) {
  const std::string nat = NativePath(path);
  if (!FilExs(nat)) {
    bool tld;
    {
      std::lock_guard<std::mutex> lk(FMtx);
      tld = FMisTld.count(nat) != 0;
    }
    if (!tld) ShwMsgBox("File '" + nat + "' not found");
    return false;
  }
  PrcMsg();
  GuPlatform().Sound->Play(nat, ((flags | SND_FILENAME) & SND_ASYNC) == 0);
  PrcMsg();
  return true;
}

void TclsPlyWavFil::SetMisTld(const std::vector<std::string>& paths) {
  std::lock_guard<std::mutex> lk(FMtx);
  FMisTld.insert(paths.begin(), paths.end());
}
