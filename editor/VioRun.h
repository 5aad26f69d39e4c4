// Where the robot is in its program: the vio that made each byte of the
// stream that was last uploaded.
//
// The map is taken when the stream goes out and is not translated again
// afterwards: the robot runs what it got, not what the field shows now. A vio
// that goes is forgotten (its addresses name no vio any more), and a cleared
// field forgets the whole map, so an address never points at a vio that did
// not make its byte. A vio that is moved or changed after the upload keeps its
// addresses: it is still the block the robot's bytes came from.
#pragma once

#include <cstddef>
#include <set>
#include <vector>

#include "editor/VioPgmItp.h"

class TInsAndTkn;

class TVioRunMap final : public IVioPgmObs {
public:
  explicit TVioRunMap(TVioPgmItp& edt);
  ~TVioRunMap() override;
  TVioRunMap(const TVioRunMap&) = delete;
  TVioRunMap& operator=(const TVioRunMap&) = delete;

  // The vio of each address of the translation's final stream.
  void Set(const TInsAndTkn& trn);
  void Set(std::vector<TVio*> vioAt);
  void Clr() { FVio.clear(); }
  // The vio that made the byte at the address; null when none (beyond the
  // stream, or the vio has gone).
  TVio* VioAt(int adr) const;
  std::size_t Len() const { return FVio.size(); }
  // Where the robot stops for the breakpoints: the first address of each
  // vio of the stream that has one.
  std::set<int> BrkAdr() const;

  void VioRmv(TVio* vio) override;
  void FldClr() override { Clr(); }

private:
  TVioPgmItp& FEdt;
  std::vector<TVio*> FVio;
};
