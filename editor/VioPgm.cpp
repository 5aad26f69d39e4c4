#include "editor/VioPgm.h"

#include <algorithm>
#include <climits>

TVioPgm::~TVioPgm() {
  for (TVio* v : FVio) delete v;
}

bool TVioPgm::Has(const TVio* vio) const { return Idx(vio) >= 0; }

int TVioPgm::Idx(const TVio* vio) const {
  if (!vio) return -1;
  const auto it = std::find(FVio.begin(), FVio.end(), vio);
  return it == FVio.end() ? -1 : static_cast<int>(it - FVio.begin());
}

TVio* TVioPgm::At(int idx) const {
  return idx >= 0 && static_cast<std::size_t>(idx) < FVio.size() ? FVio[static_cast<std::size_t>(idx)] : nullptr;
}

void TVioPgm::Add(std::unique_ptr<TVio> vio) { FVio.push_back(vio.release()); }

std::unique_ptr<TVio> TVioPgm::Tak(TVio* vio) {
  const auto it = std::find(FVio.begin(), FVio.end(), vio);
  if (!vio || it == FVio.end()) return nullptr;
  FVio.erase(it);
  return std::unique_ptr<TVio>(vio);
}

bool TVioPgm::CelInGrd(int col, int row) const {
  return col >= 0 && col < FiGrdCls && row >= 0 && row < FiGrdRws;
}

bool TVioPgm::CelFreExc(int col, int row, const TVio* vio) const {
  if (!CelInGrd(col, row)) return false;
  for (const TVio* v : FVio)
    if (v != vio && v->Rec().GrdCol == col && v->Rec().GrdRow == row) return false;
  return true;
}

void StpDir(std::uint8_t dir, int& col, int& row) {
  switch (dir) {
    case ND_LFT: --col; break;
    case ND_UPP: --row; break;
    case ND_RGT: ++col; break;
    case ND_DWN: ++row; break;
    default: col = INT_MIN / 2; break;
  }
}

bool TVioPgm::NbrCelFre(int col, int row, std::uint8_t dir) const {
  StpDir(dir, col, row);
  return CelFre(col, row);
}

bool TVioPgm::FstFreCelCol0(int& col, int& row) const {
  col = 0;
  if (FVio.empty()) {
    row = 0;
    return true;
  }
  for (int r = 0; r < FiGrdRws; ++r) {
    if (CelFre(0, r)) {
      row = r;
      return true;
    }
  }
  return false;
}

TVio* TVioPgm::GetNbrVio(const TVio* vio, std::uint8_t dir) const {
  if (!vio) return nullptr;
  int col = vio->Rec().GrdCol, row = vio->Rec().GrdRow;
  StpDir(dir, col, row);
  if (!CelInGrd(col, row)) return nullptr;
  for (TVio* v : FVio)
    if (v != vio && v->Rec().GrdCol == col && v->Rec().GrdRow == row) return v;
  return nullptr;
}
