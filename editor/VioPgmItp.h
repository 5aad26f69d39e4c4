// The editor: the programming field with its vios (widget-free model).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "translator/InsAndTkn.h"

class IWndMsgTgt;

// One vio on the programming field.
class TVio {
public:
  bool Visible() const { return FbVis; }
  void SetVisible(bool v) { FbVis = v; }

private:
  bool FbVis = true;
};

class TVioPgmItp {
public:
  explicit TVioPgmItp(IWndMsgTgt* owner);
  ~TVioPgmItp();
  TVioPgmItp(const TVioPgmItp&) = delete;
  TVioPgmItp& operator=(const TVioPgmItp&) = delete;

  // Builds the programming field of the given pixel size and fixes the cell size.
  void CrtVioFld(int width, int height);

  void SetLgeIdx(std::uint8_t idx) { FbyLgeIdx = idx; }
  void SetAvlCol(std::uint8_t col) { FbyAvlCol = col; }
  std::uint8_t LgeIdx() const { return FbyLgeIdx; }
  std::uint8_t AvlCol() const { return FbyAvlCol; }

  // Message text in the current language (through GuSysLgeMsg).
  std::string GetSysUsrMsg(std::uint8_t id);

  // Adds a vio of the type next to the last placed one; false with GuLstErrMsg.
  bool AddVio(std::uint8_t typ);
  // Removes the vio from the field.
  void RmvVio(TVio* vio);

  TSarAndTkn& SarAndTkn() { return *FpInsAndTkn->FpSarAndTkn; }

  TVio* FpCurVio = nullptr;
  bool FbDlyErr = false;
  bool FbSpdErr = false;
  bool FbDstErr = false;

  std::function<void(TVio*)> FOnVioBlkReq;
  std::function<void(TVio*)> FOnVioBlk;
  std::function<bool()> FOnStaDblClk;

  std::unique_ptr<TInsAndTkn> FpInsAndTkn;

private:
  IWndMsgTgt* FpOwnFrm;
  std::uint8_t FbyLgeIdx = 0xFF;
  std::uint8_t FbyAvlCol = 0xFF;
};
