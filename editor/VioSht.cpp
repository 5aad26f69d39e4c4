#include "editor/VioSht.h"

#include <algorithm>
#include <utility>

#include "core/Globals.h"
#include "core/Seams.h"
#include "editor/VioPgmItp.h"

namespace {

// The sheets' own key beside the window's Options.
constexpr const char* GcShtKey = "SOFTWARE\\Quorel\\TessaroV1.0\\Sheet";
constexpr const char* GcAutVal = "Author";
// "1" once the question has been answered: an empty author is an answer too.
constexpr const char* GcAskVal = "Asked";

}  // namespace

std::vector<TuShtVio> ShtVio(const TInsAndTkn& trn, std::size_t cnt) {
  std::vector<TuShtVio> r(cnt);
  int ord = 0;
  for (std::size_t i : trn.FpPgmVioLst)
    if (i < cnt && r[i].Ord == 0) r[i].Ord = ++ord;
  // Once the stream is built every record is one byte of it.
  const std::size_t n = std::min(trn.FpVioTknLst.size(), trn.FpTsmTknLst.size());
  for (std::size_t a = 0; a < n; ++a) {
    const std::int32_t v = trn.FpVioTknLst[a].VioIdx;
    if (InRng(v, cnt)) ++r[static_cast<std::size_t>(v)].Byt;
  }
  return r;
}

TuShtPgm ShtPgm(TVioPgmItp& edt, std::size_t bdg) {
  TuShtPgm s;
  s.Bdg = std::min(bdg ? bdg : edt.Bdg(), GcMaxTsmLen);
  std::string keep = std::move(GuLstErrMsg);
  GuLstErrMsg.clear();
  TInsAndTkn trn(nullptr);
  s.Ok = edt.TrnVioPgmQui(trn);
  if (s.Ok) {
    s.Len = trn.FpTsmTknLst.size();
    s.Vio = ShtVio(trn, edt.Vios().size());
  } else {
    s.Why = GuLstErrMsg;
  }
  GuLstErrMsg = std::move(keep);
  return s;
}

bool RedShtAut(std::string& nam) {
  nam.clear();
  auto st = GuPlatform().Settings->Create();
  if (!st || !st->OpenKey(GcShtKey, false)) return false;
  nam = st->ReadString(GcAutVal);
  return st->ReadString(GcAskVal) == "1" || !nam.empty();
}

bool KepShtAut(const std::string& nam) {
  auto st = GuPlatform().Settings->Create();
  return st && st->OpenKey(GcShtKey, true) && st->WriteString(GcAutVal, nam) && st->WriteString(GcAskVal, "1");
}
