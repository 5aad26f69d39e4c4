// The system message table: every user-facing text in three languages, read
// from SysMsgFil.sys beside the executable.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "messages/TxtFil.h"

class IWndMsgTgt;

// Message identifiers of SysMsgFil.sys.
enum TeSysUsrMsg : std::uint8_t {
  SUM_XXX_XXX_XXX_NON = 0x00,  // asked for by a control that has no hint
  SUM_TBN_STA_XXX_HNT = 0x02,  // tool button hints, 0x02 to 0x12
  SUM_TBN_STO_XXX_HNT = 0x03,
  SUM_TBN_IFF_XXX_HNT = 0x04,
  SUM_TBN_THN_XXX_HNT = 0x05,
  SUM_TBN_ELS_XXX_HNT = 0x06,
  SUM_TBN_GTO_XXX_HNT = 0x07,
  SUM_TBN_LBL_XXX_HNT = 0x08,
  SUM_TBN_DLY_XXX_HNT = 0x09,
  SUM_TBN_ACT_XXX_HNT = 0x0A,
  SUM_TBN_SNS_XXX_HNT = 0x0B,
  SUM_TBN_SPD_XXX_HNT = 0x0C,
  SUM_TBN_SWI_XXX_HNT = 0x0D,
  SUM_TBN_RTI_XXX_HNT = 0x0E,
  SUM_TBN_UPL_XXX_HNT = 0x0F,
  SUM_TBN_RUN_XXX_HNT = 0x10,
  SUM_TBN_UPR_XXX_HNT = 0x11,
  SUM_TBN_COM_STE_HNT = 0x12,
  SUM_TRN_STA_XXX_MIS = 0x14,  // no Start vio
  SUM_TRN_SWI_XXX_MIS = 0x15,  // no switch-interrupt vio (not an error)
  SUM_TRN_STA_XXX_MNY = 0x16,  // more than one Start vio
  SUM_TRN_SWI_XXX_MNY = 0x17,  // more than one switch-interrupt vio
  SUM_TRN_NXT_XXX_MIS = 0x18,  // nothing connected after this vio
  SUM_TRN_NXT_XXX_INV = 0x19,  // the next vio may not follow this one
  SUM_TRN_NXT_XXX_MNY = 0x1A,  // more than one vio connected after this one
  SUM_GEN_LBL_XXX_MIS = 0x1C,  // completes "Label <name> " for a missing label
  SUM_TRN_CND_ONE_SUC = 0x1D,  // condition after If has only one successor
  SUM_TRN_TWO_SUC_NIF = 0x1E,  // two successors, not after an If
  SUM_TRN_THN_NXT_NEL = 0x1F,  // Then first, second not an Else
  SUM_TRN_ELS_NXT_NTH = 0x20,  // Else first, second not a Then
  SUM_TRN_CND_NXT_NTE = 0x21,  // first successor neither Then nor Else
  SUM_TRN_END_XXX_NXT = 0x22,  // something after Stop/RTI, or more than one after Goto
  SUM_GUM_XXX_XXX_INS = 0x23,  // the word for "instruction"
  SUM_GUM_XXX_XXX_AFT = 0x24,  // the word for "after"
  SUM_LNK_COM_PRT_ERR = 0x25,  // completes "Comport <name>" when the port cannot be used
};

// Every identifier that the program asks for, as ranges of first and last.
// A message added to the program belongs in this table: the check at start
// names the identifiers that the file lacks.
struct TuSysMsgRng {
  std::uint8_t Frs, Lst;
};
extern const std::vector<TuSysMsgRng> GcSysMsgUse;

// "0x02-0x12, 0x14" for the identifiers 0x02 to 0x12 and 0x14 (ascending).
std::string SysMsgIdfTxt(const std::vector<std::uint8_t>& ids);

class TSysLgeMsg {
public:
  // Loads <appDir>SysMsgFil.sys. A missing file shows its message, lets
  // pending events run and asks the application to terminate.
  TSysLgeMsg(IWndMsgTgt* owner, const std::string& appDir);
  ~TSysLgeMsg();
  TSysLgeMsg(const TSysLgeMsg&) = delete;
  TSysLgeMsg& operator=(const TSysLgeMsg&) = delete;

  // Clears the lines, then reads the file. False (and the #174 text in
  // GuLstErrMsg) when no file exists at the path or it cannot be read; the
  // #175 text when it is larger than GcMaxSysFilSiz (the lines stay empty).
  bool LodSysMsgFil(const std::string& path);

  // Text of message id in language lge (0..2). Empty, with the #221 text in
  // GuLstErrMsg, when the identifier is not in the file or its block is cut short.
  std::string GetSysMsg(std::uint8_t id, std::uint8_t lge);

  // The identifiers of GcSysMsgUse that the file does not hold whole: no
  // block, or a text missing in one of the three languages (empty, cut off
  // by the end of the file, or an identifier line in its place). Ascending.
  std::vector<std::uint8_t> MisIdf() const;

  // Told the identifier of every lookup that fails, on the caller's thread.
  std::function<void(std::uint8_t id)> FOnMis;

  const std::string& Path() const { return FsPth; }
  const TStrLst& Lines() const { return FpLgeFilMmo; }

private:
  std::string FsPth;
  IWndMsgTgt* FpOwn;
  TStrLst FpLgeFilMmo;
};

// The one message table of the program (set by the main window).
extern TSysLgeMsg* GuSysLgeMsg;

// Value of a "0xHH" identifier line, as the lookups of both data files compute
// it: lower-cased digits, d(c) = c - '0' up to '9', c - 'a' + 10 above, kept
// to 8 bits. False when the line is not exactly 4 characters starting "0x".
bool HexIdfLin(const std::string& line, std::uint8_t& value);
