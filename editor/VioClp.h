// The selection of the field and its block of vios on the clipboard: copy,
// cut, paste and duplicate. The block travels as the text of a program file,
// written and read by the file's own writer and reader, so that it can go
// from one window to another and into a file. Owned by the editor and
// reached through it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "editor/VioPgmItp.h"

class TVioClp {
public:
  using TuRct = TVioPgmItp::TuRct;
  using TeKey = TVioPgmItp::TeKey;

  explicit TVioClp(TVioPgmItp& edt) : FEdt(edt) {}
  TVioClp(const TVioClp&) = delete;
  TVioClp& operator=(const TVioClp&) = delete;

  // The rules as TVioPgmItp tells them at its methods of the same names.
  const std::optional<TuRct>& SelRct() const { return FRct; }
  void SetSelRct(int col0, int row0, int col1, int row1);
  void ClrSel();
  bool SelKey(TeKey key);
  std::vector<TVio*> SelVios() const;
  bool Cpy(std::string& txt);
  bool Cut(std::string& txt);
  bool Pst(const std::string& txt, std::string& note);
  bool Dup(std::string& note);

private:
  using TStpGrd = TVioPgmItp::TStpGrd;

  // The text's blocks, or false with the message of a text that is no program.
  bool Prs(const std::string& txt, std::vector<TuVioBlk>& blks);
  // The blocks with their top-left one on (col, row); what Pst tells.
  bool PstAt(const std::vector<TuVioBlk>& blks, int col, int row, std::string& note);
  // The blocks that go onto the field: a Start or switch interrupt vio the
  // field (or the block before it) has is left out, its caption told in note.
  std::vector<const TuVioBlk*> Kep(const std::vector<TuVioBlk>& blks, std::string& note) const;
  // Takes the vio off the field; a Start or switch interrupt vio gives its tool button back.
  void Rmv(TVio* vio);

  TVioPgmItp& FEdt;
  std::optional<TuRct> FRct;
  int FiAncCol = 0, FiAncRow = 0;  // where Shift+arrow began the rectangle
};
