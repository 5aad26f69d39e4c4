#include "editor/VioRun.h"

#include <algorithm>
#include <utility>

#include "translator/InsAndTkn.h"

TVioRunMap::TVioRunMap(TVioPgmItp& edt) : FEdt(edt) { FEdt.AddObs(this); }

TVioRunMap::~TVioRunMap() { FEdt.RmvObs(this); }

void TVioRunMap::Set(const TInsAndTkn& trn) {
  // One record per byte once the stream is built; a translation that stopped
  // half-way has records that are no bytes and maps nothing.
  const auto& r = trn.FpVioTknLst;
  const std::size_t n = trn.FpTsmTknLst.size();
  FVio.clear();
  if (r.size() != n) return;
  FVio.reserve(n);
  for (std::size_t a = 0; a < n; ++a) FVio.push_back(TVioPgmItp::TknVio(r[a], FEdt.Vios()));
}

void TVioRunMap::Set(std::vector<TVio*> vioAt) { FVio = std::move(vioAt); }

TVio* TVioRunMap::VioAt(int adr) const {
  if (!InRng(adr, FVio.size())) return nullptr;
  return FVio[static_cast<std::size_t>(adr)];
}

std::set<int> TVioRunMap::BrkAdr() const {
  std::set<int> r;
  for (auto it = FVio.begin(); it != FVio.end(); ++it)
    if (*it && (*it)->Brk() && std::find(FVio.begin(), it, *it) == it) r.insert(static_cast<int>(it - FVio.begin()));
  return r;
}

void TVioRunMap::VioRmv(TVio* vio) { std::replace(FVio.begin(), FVio.end(), vio, static_cast<TVio*>(nullptr)); }
