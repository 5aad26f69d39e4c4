#include "translator/SarAndTkn.h"

#include "core/Globals.h"
#include "core/PathUtl.h"

TSarAndTkn::TSarAndTkn(IWndMsgTgt* owner) : FpOwn(owner) {}

bool TSarAndTkn::LodTknFil(const std::string& path) {
  FpSarTknMmo.clear();
  const std::string nat = NativePath(path);
  if (!FilExs(nat)) {
    GuLstErrMsg = "#174, File error: Token File '" + nat + "' could not be found";
    return false;
  }
  if (!LodLinFil(nat, FpSarTknMmo)) {
    GuLstErrMsg = "#174, File error: Token File '" + nat + "' could not be read";
    return false;
  }
  return true;
}
