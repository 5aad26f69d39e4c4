// What the user does in a vio's controls, and the checks of its values: the
// focus-loss checks with their input-error flags, the tool bar's gate over
// them, and the limits a vio's numbers keep when the program is translated.
// Owned by the editor and reached through it.
#pragma once

#include <string>

#include "editor/VioPgmItp.h"

class TVioPrm {
public:
  explicit TVioPrm(TVioPgmItp& edt) : FEdt(edt) {}
  TVioPrm(const TVioPrm&) = delete;
  TVioPrm& operator=(const TVioPrm&) = delete;

  // The actions and checks as TVioPgmItp tells them at its methods of the same names.
  void SetCtlTxt(TVio* vio, int ctl, const std::string& txt);
  void SelCtlItm(TVio* vio, int ctl, int itm);
  void LblKeyPrs(TVio* vio, char key);
  void LblNamEnt(TVio* vio);
  void GtoLblRfs(TVio* vio);
  bool DgtFlt(TVio* vio, int ctl, char key);
  int SpdFocGai(TVio* vio);
  bool ChkDlyVal(TVio* vio);
  bool ChkDstVal(TVio* vio);
  bool ChkSpdVal(TVio* vio);
  bool ChkPndInp(unsigned rfsBfr);
  unsigned RfsCnt() const { return FiRfsCnt; }
  void SarTypChg(TVio* vio);
  void SarComChg(TVio* vio);
  static bool ChkVioPrm(const TVio* vio);
  // What ChkVioPrm would refuse the vio's parameters with; empty when they pass.
  static std::string PrmErr(const TVio* vio);

private:
  using TStpGrd = TVioPgmItp::TStpGrd;

  // A refused value: shows the message, sets the input-error flag and gives
  // the edit the focus back. Returns false.
  bool RfsVal(TVio* vio, int edt, const std::string& msg, bool& errFlg, const TVio*& errVio);

  TVioPgmItp& FEdt;
  unsigned FiRfsCnt = 0;
};
