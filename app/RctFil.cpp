#include "app/RctFil.h"

#include <algorithm>

#include "core/Seams.h"

namespace {
std::string ValNam(std::size_t i) { return "File" + std::to_string(i + 1); }
}  // namespace

void TRctFil::Lod(ISettingsStore& st) {
  FLst.clear();
  for (std::size_t i = 0; i < GcMax; ++i) {
    const std::string p = st.ReadString(ValNam(i));
    if (!p.empty() && std::find(FLst.begin(), FLst.end(), p) == FLst.end()) FLst.push_back(p);
  }
}

bool TRctFil::Sav(ISettingsStore& st) const {
  bool ok = true;
  for (std::size_t i = 0; i < GcMax; ++i) ok = st.WriteString(ValNam(i), i < FLst.size() ? FLst[i] : "") && ok;
  return ok;
}

void TRctFil::Add(const std::string& path) {
  if (path.empty()) return;
  Rmv(path);
  FLst.insert(FLst.begin(), path);
  if (FLst.size() > GcMax) FLst.resize(GcMax);
}

bool TRctFil::Rmv(const std::string& path) {
  const auto it = std::find(FLst.begin(), FLst.end(), path);
  if (it == FLst.end()) return false;
  FLst.erase(it);
  return true;
}
