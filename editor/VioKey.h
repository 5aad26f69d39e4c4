// The programming field from the keyboard: a cell cursor over the grid and
// the keys that act on it with the rules of the tool buttons and the mouse,
// never with rules of their own. Owned by the editor and reached through it.
#pragma once

#include <cstdint>
#include <functional>

#include "editor/VioPgmItp.h"

class TVioKey {
public:
  using TeKey = TVioPgmItp::TeKey;

  explicit TVioKey(TVioPgmItp& edt) : FEdt(edt) {}
  TVioKey(const TVioKey&) = delete;
  TVioKey& operator=(const TVioKey&) = delete;

  // The cursor never leaves the grid, belongs to no program (no undo step)
  // and starts on (0, 0).
  int Col() const { return FiCol; }
  int Row() const { return FiRow; }
  // Puts the cursor on the cell, brought into the grid.
  void SetCur(int col, int row);
  // The vio on the cursor's cell (the last made, where a file stacked two); null when none.
  TVio* Vio() const;
  // A key on the field (TVioPgmItp::FldKey tells the rules); true when it belongs to the field.
  bool Key(TeKey key, bool ctl, char chr);
  // The step of an arrow key, one cell in dc or dr; false for another key.
  static bool ArwStp(TeKey key, int& dc, int& dr);
  // The type key's work: a vio of the type on the cursor's cell when it is
  // free, else where its tool button puts it; the cursor goes to it.
  bool AddVio(std::uint8_t typ);
  // The letter of a vio type's key, and the type of a letter (-1: none).
  static char TypKey(std::uint8_t typ);
  static int KeyTyp(char chr);
  // The vio's parameter controls as Tab visits them; -1 when none.
  static int PrmCtl(const TVio* vio, int ctl, bool back);
  // Escape in a parameter control: the cursor goes onto its vio.
  void PrmEsc(const TVio* vio);
  // The type keys' way through the tool bar's gate; AddVio when unset.
  void SetOnTypKey(std::function<void(std::uint8_t)> fn) { FOnTypKey = std::move(fn); }

private:
  // Delete, Enter and the letters: Key for what is no arrow.
  bool OthKey(TeKey key, bool ctl, char chr);
  using TStpGrd = TVioPgmItp::TStpGrd;

  // Control+arrow: moves the vio under the cursor one cell as a drag would.
  void MovVio(int dc, int dr);

  TVioPgmItp& FEdt;
  int FiCol = 0;
  int FiRow = 0;
  std::function<void(std::uint8_t vioTyp)> FOnTypKey;
};
