// The system message table: every user-facing text in three languages, read
// from SysMsgFil.sys beside the executable.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "messages/SysMsgIdf.h"
#include "messages/TxtFil.h"

class IWndMsgTgt;

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
  // The same lookup without a word to the last-error text: false when the
  // text is missing (FOnMis is told).
  bool FndTxt(std::uint8_t id, std::uint8_t lge, std::string& txt) const;

  // The identifiers of GcSysMsgIdf that the file does not hold whole: no
  // block, or a text missing in one of the three languages (empty, cut off
  // by the end of the file, or an identifier line in its place). Ascending.
  std::vector<std::uint8_t> MisIdf() const;

  // Told the identifier of every lookup that fails, on the caller's thread.
  std::function<void(std::uint8_t id)> FOnMis;

  const std::string& Path() const { return FsPth; }
  const TStrLst& Lines() const { return FpLgeFilMmo; }

private:
  std::string FsPth;
  [[maybe_unused]] IWndMsgTgt* FpOwn;  // the window that owns the table
  TStrLst FpLgeFilMmo;
  // The line of each identifier's first block, -1 for none: a lookup costs
  // no search of the file (the names for a screen reader ask for hundreds).
  std::vector<long> FAt = std::vector<long>(256, -1);
  void Idx();
};

// The one message table of the program (set by the main window).
extern TSysLgeMsg* GuSysLgeMsg;

// The text of message id in language lge (0..2) among the lines of a message
// file: the line after the first identifier line of id. False when the
// identifier is missing or its block is cut short.
bool FndSysMsg(const TStrLst& lines, std::uint8_t id, std::uint8_t lge, std::string& txt);

// Value of a "0xHH" identifier line, as the lookups of both data files compute
// it: lower-cased digits, d(c) = c - '0' up to '9', c - 'a' + 10 above, kept
// to 8 bits. False when the line is not exactly 4 characters starting "0x".
bool HexIdfLin(const std::string& line, std::uint8_t& value);
