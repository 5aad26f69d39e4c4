// The language and the lesson of the field: in which language the sensor and
// actor vios show their names, and what a lesson lets their lists and the
// tool bar offer. Owned by the editor and reached through it; the lesson's
// part is in VioLsn.cpp beside the lesson file's reader.
//
// A sar vio is what its token says: the names on its two lists are only the
// token's spelling in one language.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "editor/VioLsn.h"
#include "editor/VioPgmItp.h"

class TVioLge {
public:
  explicit TVioLge(TVioPgmItp& edt) : FEdt(edt) {}
  TVioLge(const TVioLge&) = delete;
  TVioLge& operator=(const TVioLge&) = delete;

  // The rules as TVioPgmItp tells them at its methods of the same names.
  bool SetLgeIdx(std::uint8_t idx);
  bool SarInCurLge(bool actor, std::string& typTxt, std::string& comTxt);
  std::uint8_t LgeIdx() const { return FbyLgeIdx; }
  std::uint8_t AvlCol() const { return FbyAvlCol; }
  void SetAvlCol(std::uint8_t col) { FbyAvlCol = col; }

  void SetLsn(std::shared_ptr<const TVioLsn> lsn);
  const TVioLsn* Lsn() const { return FpLsn.get(); }
  bool VioOfr(std::uint8_t typ) const;
  std::size_t Bdg() const;
  std::string LsnNot(const std::vector<std::uint8_t>& typs);

  // Token of a type/command pair offered in the language (names without regard
  // to case), optionally with the names as the lists spell them; and the
  // names of a token. False when there is none; GuLstErrMsg is kept.
  bool FndSarTkn(std::uint8_t lge, bool actor, const std::string& typTxt, const std::string& comTxt,
                 std::uint8_t& tkn, std::string* typOut = nullptr, std::string* comOut = nullptr);
  // The lists, when asked for, receive the type and command lists the names come from.
  bool FndSarNam(std::uint8_t lge, bool actor, std::uint8_t tkn, std::string& typTxt, std::string& comTxt,
                 TStrLst* typLst = nullptr, TStrLst* comLst = nullptr);
  // Keeps of a type list (typ null) or of the command list of a type what the
  // lesson offers, and the vio's own token.
  void FltSarLst(TStrLst& lst, const TVio* vio, std::uint8_t lge, std::uint8_t avlCol, bool actor,
                 const std::string* typ);

private:
  using TNoRcd = TVioPgmItp::TNoRcd;

  // The token of a sar vio's own type and command; -1 when they have none.
  int OwnTkn(const TVio* vio, std::uint8_t lge, bool actor);
  // The sar lists of the vios on the field filled anew in the current language.
  void RfsSarLst();

  TVioPgmItp& FEdt;
  std::shared_ptr<const TVioLsn> FpLsn;
  std::uint8_t FbyLgeIdx = 0xFF;
  std::uint8_t FbyAvlCol = 0xFF;
};
