// Sensor and actor ("sar") command definitions, read from ExtComTkn.sys.
//
// The file is kept as its lines, each split into its fields once when the
// lines are set; every question is answered by scanning them in file order. A value line "0xHH" gives the token byte of the definition line right
// after it. A definition line splits into exactly 8 fields:
//   kind (A, S or X), availability flags, then type and command name for each
//   of the three languages.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "messages/TxtFil.h"

class IWndMsgTgt;

// Splits one line into fields: blanks (codes 1..32) separate, commas separate,
// double quotes enclose a field that may hold blanks and commas ("" inside
// stands for one quote). A comma at the very end gives no further field.
// Stops after maxFld + 1 fields (enough to tell that a line has more).
void SplTknLin(const std::string& line, TStrLst& fields, std::size_t maxFld = SIZE_MAX);

// One definition of a token: its kind (A, S or X) and its names in a language.
struct TuSarDef {
  std::uint8_t Tkn = 0;
  std::string Knd;
  std::string Typ, Com;
};

class TSarAndTkn {
public:
  explicit TSarAndTkn(IWndMsgTgt* owner);
  ~TSarAndTkn();
  TSarAndTkn(const TSarAndTkn&) = delete;
  TSarAndTkn& operator=(const TSarAndTkn&) = delete;

  // Clears the lines; false with the #174 text when no file exists at the path
  // or it cannot be read, the #176 text when it is larger than GcMaxSysFilSiz.
  bool LodTknFil(const std::string& path);
  const TStrLst& Lines() const { return FpSarTknMmo; }
  // Replaces the lines (tests and tools that build definitions in memory).
  void SetLines(TStrLst lines);

  // Sar type names offered for an Actor (actor = true) or Sensor vio, in the
  // order of first appearance, each once (compared without regard to case).
  // False with the #191 text when there is none.
  bool GetSarTypLst(TStrLst& out, std::uint8_t lge, std::uint8_t avlCol, bool actor);
  // Commands offered for the type (type compared exactly). False with the
  // #194 text when there is none.
  bool GetSarComLst(TStrLst& out, const std::string& sarTyp, std::uint8_t lge, std::uint8_t avlCol,
                    bool actor);
  // Token byte of the type/command pair in the language; -1 with the #183 text
  // when no definition with a value line in front of it matches.
  int GetSarTkn(std::uint8_t lge, const std::string& sarTyp, const std::string& sarCom);
  // The same three questions where "none" is an answer, not a failure: the
  // last-error text is left alone; an empty list or -1 when there is none.
  TStrLst SarTypLst(std::uint8_t lge, std::uint8_t avlCol, bool actor) const;
  TStrLst SarComLst(const std::string& sarTyp, std::uint8_t lge, std::uint8_t avlCol, bool actor) const;
  int SarTkn(std::uint8_t lge, const std::string& sarTyp, const std::string& sarCom) const;

  // The definitions with a value line in front of them, in file order, each
  // token once (its first definition), with the names of the language.
  std::vector<TuSarDef> GetSarDefs(std::uint8_t lge) const;

private:
  // Splits every line; a line that is no definition keeps no fields.
  void SplAllLin();
  // The definition's fields pass the kind and availability filter.
  static bool DefOfr(const TStrLst& def, std::uint8_t avlCol, bool actor);

  IWndMsgTgt* FpOwn;
  TStrLst FpSarTknMmo;
  std::vector<TStrLst> FpDefFld;  // fields of line i, or none
};
