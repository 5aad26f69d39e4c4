// The translator: the fixed instruction/token table, the token records of a
// translation, the valid-next table, and token generation.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "translator/PgmDsc.h"
#include "translator/SarAndTkn.h"
#include "translator/SarTkn.h"

class IWndMsgTgt;

// Instruction tokens of the robot's interpreter.
enum TeInsTkn : std::uint8_t {
  IT_STA = 0xA0,  // start of the main program
  IT_STO = 0xA1,  // stop
  IT_IFF = 0xA2,  // if: condition token and else address follow
  IT_THN = 0xA3,  // then: becomes the else address byte
  IT_ELS = 0xA4,  // else: removed from the stream
  IT_LBL = 0xA5,  // label: removed when a goto names it
  IT_GTO = 0xA6,  // goto: address byte follows
  IT_GOF = 0xA7,  // produced by no vio
  IT_DLY = 0xA8,  // delay: value byte follows
  IT_ACT = 0xA9,  // actor: replaced by the sar token
  IT_SNS = 0xAA,  // sensor: replaced by the sar token
  IT_SPD = 0xAB,  // engine speed: two byte arguments follow
  IT_SWI = 0xAC,  // start of the switch-interrupt routine
  IT_RTI = 0xAD,  // return from the interrupt routine
  IT_UDF = 0x01,  // placeholder for the value of the record before it
  IT_BYT = 0xAE,  // byte parameter marker: value byte follows
};

// Instruction numbers besides the vio types 0..12.
constexpr std::uint8_t GcInsUdf = 0x0D;
constexpr std::uint8_t GcInsByt = 0x0E;
constexpr std::uint8_t GcInsNon = 0xFF;  // entry that no vio produces

struct TuInsTknEnt {
  std::uint8_t Ins;
  std::uint8_t Tkn;
  const char* Mne;
};

// The instruction/token table: 16 fixed entries.
class TInsTknTbl {
public:
  static constexpr int GcEntCnt = 16;
  // Token of the instruction; 0xFF when the number is not in the table.
  std::uint8_t GetInsTkn(std::uint8_t ins) const;
  // Mnemonic of the token; empty when the token is not in the table.
  std::string GetTknMne(std::uint8_t tkn) const;
  static const TuInsTknEnt& Ent(int i);
};

// One record of a translation; one per byte of the final stream once Label
// and Else records are removed.
struct TuExtComTkn {
  std::uint8_t Tkn = 0;
  std::string Mne;
  std::string LblNam;
  std::int32_t Val = -1;
  std::int32_t TgtIdx = -1;
  std::int32_t VioIdx = -1;  // the vio that made it: its index in the description; -1: none
  // The token is a sensor or actor command byte, never an instruction, even
  // when its value happens to equal an instruction token.
  bool Sar = false;
};

// A record of the translator's own program list; nothing fills it.
struct TuMaiPgmRec {
  std::string Nam;
  std::string Val;
  std::string Cmt;
};

// The valid-next-instruction table: a row for each vio type, at its type
// number, each a text of one '0'/'1' character for each type, column j for
// type j ('1': a vio of type j may follow).
struct TuVldNxtRow {
  std::uint8_t Typ;
  const char* Nxt;
};
constexpr int GcVldNxtRowCnt = GcVioTypCnt;
const TuVldNxtRow& GetVldNxtRow(int i);

// Which pass of token generation failed last (RslJmpLbl's caller composes
// the missing-label text).
enum class TeGenPas : std::uint8_t { Non, CnvVioTkn, RslIfThnEls, RslJmpLbl, RmvLblTkn, RmvElsTkn, BldTsmTkn };

// Largest token stream: addresses and the packet's length byte are one byte.
constexpr std::size_t GcMaxTsmLen = 255;

class TInsAndTkn {
public:
  explicit TInsAndTkn(IWndMsgTgt* owner);
  ~TInsAndTkn();
  TInsAndTkn(const TInsAndTkn&) = delete;
  TInsAndTkn& operator=(const TInsAndTkn&) = delete;

  // A new record: the token, its mnemonic, no label, value and target -1, no vio.
  TuExtComTkn NewExtComTkn(std::uint8_t tkn) const;

  // The translation of the program: the walk from the Start vio (then from
  // the switch-interrupt vio, if any) into the walk list, then token
  // generation. The description is kept (PgmDsc) until the next translation.
  // False with GuLstErrMsg; rpt supplies the message texts and hears the
  // blink requests.
  bool TrnPgm(TuPgmDsc dsc, ITrnRpt& rpt);
  const TuPgmDsc& PgmDsc() const { return FpPgmDsc; }

  // May the type of nxt follow the type of cur? False without a message when
  // not; false with the #186 text when cur's type has no row.
  static bool ChkVldNxtIns(const TuPgmVio& cur, const TuPgmVio& nxt) { return ChkVldNxtTyp(cur.Typ, nxt.Typ); }
  static bool ChkVldNxtTyp(std::uint8_t cur, std::uint8_t nxt);

  // Token generation from the walk list: the six passes in order. False with
  // GuLstErrMsg at the first failure.
  bool GenTknStm();
  bool CnvVioTkn();
  bool RslIfThnEls();
  bool RslJmpLbl();
  bool RmvLblTkn();
  bool RmvElsTkn();
  bool BldTsmTkn();

  // Removes the record at r and applies the index fix-up to every Goto and Then.
  void RmvTknAt(std::size_t r);

  // Empties every list.
  void Clr();

  TeGenPas LstErrPas() const { return FeErrPas; }

  std::vector<TuMaiPgmRec> FpMaiPgmLst;

  // Where the walk came from and went on to at each vio it passed (indices
  // in the description, -1 for none).
  // Rch: the walk reached the vio, coming from Frm (-1 for an entry vio),
  // even when it then stopped at it with a mistake.
  struct TuVioLnk {
    bool Wlk = false;
    std::int32_t Prv = -1, Nxt = -1;
    bool Rch = false;
    std::int32_t Frm = -1;
  };

  std::unique_ptr<TInsTknTbl> FpInsTknTbl;
  std::vector<std::size_t> FpPgmVioLst;  // the walk list: indices in the description
  std::vector<TuVioLnk> FpVioLnk;        // one per vio of the description
  std::vector<TuExtComTkn> FpVioTknLst;
  std::vector<std::uint8_t> FpTsmTknLst;
  std::unique_ptr<TSarAndTkn> FpSarAndTkn;

  IWndMsgTgt* Owner() const { return FpOwn; }

private:
  // Asks for the vio to blink (while a translation runs).
  void ReqVioBlk(std::int32_t vio);
  // Records of one vio of the walk list; false with GuLstErrMsg.
  bool CnvOneVio(std::size_t idx);
  bool CnvSarVio(std::size_t fst, const TuPgmVio& v, bool actor);
  bool CnvSpdVio(std::size_t fst, std::size_t idx);
  void AddValTkn(std::uint8_t tkn, std::int32_t val);

  IWndMsgTgt* FpOwn;
  TuPgmDsc FpPgmDsc;
  ITrnRpt* FpRpt = nullptr;
  TeGenPas FeErrPas = TeGenPas::Non;
};
