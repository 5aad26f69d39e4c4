// The program on the field as plain data: the vios in the field's child
// order (creation order), the names the Label and Goto boxes offer, and the
// grid with its queries. It knows nothing of views, history or files; the
// editor (TVioPgmItp) owns it and is the only one that changes it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/Globals.h"
#include "editor/ShrStrLst.h"
#include "editor/Vio.h"

// Steps (col, row) one cell in the direction (ND_...); an unknown direction
// leads outside every grid.
void StpDir(std::uint8_t dir, int& col, int& row);

class TVioPgm {
public:
  TVioPgm() = default;
  ~TVioPgm();
  TVioPgm(const TVioPgm&) = delete;
  TVioPgm& operator=(const TVioPgm&) = delete;

  // The vios in the field's child order.
  const std::vector<TVio*>& Vios() const { return FVio; }
  std::size_t Cnt() const { return FVio.size(); }
  // The vio belongs to this program.
  bool Has(const TVio* vio) const;
  // The index of the vio in the child order; -1 for a vio of no program here.
  int Idx(const TVio* vio) const;
  // The vio at the index; null outside the list.
  TVio* At(int idx) const;

  // Grid size in cells.
  int GrdCls() const { return FiGrdCls; }
  int GrdRws() const { return FiGrdRws; }
  void SetGrd(int cls, int rws) {
    FiGrdCls = cls;
    FiGrdRws = rws;
  }

  // Grid queries on the cells of the records.
  bool CelInGrd(int col, int row) const;
  bool CelFre(int col, int row) const { return CelFreExc(col, row, nullptr); }
  // Free but for the vio given (which may stand there).
  bool CelFreExc(int col, int row, const TVio* vio) const;
  bool CelOcc(int col, int row) const { return CelInGrd(col, row) && !CelFre(col, row); }
  // The cell next to (col, row) in the direction (ND_...) is in the grid and free.
  bool NbrCelFre(int col, int row, std::uint8_t dir) const;
  // First free cell of column 0; false when every row is taken.
  bool FstFreCelCol0(int& col, int& row) const;
  // The other vio whose record holds the neighbouring cell; none outside the grid.
  TVio* GetNbrVio(const TVio* vio, std::uint8_t dir) const;

  // The label names that every Label and Goto box offers.
  const TShrStrLst& LblLst() const { return FLbl; }

private:
  friend class TVioPgmItp;
  friend class TVioPrm;
  friend class TVioClp;
  // Takes the vio into the program, at the end of the child order.
  void Add(std::unique_ptr<TVio> vio);
  // Hands the vio back, out of the program; null for a vio of no program here.
  std::unique_ptr<TVio> Tak(TVio* vio);
  void SetLblLst(TShrStrLst lst) { FLbl = std::move(lst); }
  TShrStrLst& LblLstMut() { return FLbl; }

  std::vector<TVio*> FVio;  // owned
  int FiGrdCls = GcGrdCls;
  int FiGrdRws = GcGrdRws;
  TShrStrLst FLbl;
};
