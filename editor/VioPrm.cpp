// The editor: what the user does in a vio's controls, and the checks of its values.
#include "editor/VioPrm.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>

#include "core/Globals.h"
#include "core/StrUtl.h"
#include "core/WndMsg.h"
#include "core/Seams.h"
#include "editor/VioNum.h"
#include "messages/SysLgeMsg.h"

namespace {

void ShwErrBox(const std::string& txt) { ShwMsgBox(txt, "Error", TeMsgBtn::Ok); }

std::string CelNam(const TVio* vio) {
  return "column " + std::to_string(vio->Rec().GrdCol + 1) + ", row " + std::to_string(vio->Rec().GrdRow + 1);
}

}  // namespace

void TVioPrm::SetCtlTxt(TVio* vio, int ctl, const std::string& txt) {
  TStpGrd stp(FEdt, vio, ctl);
  if (!FEdt.OwnsVio(vio) || !InRng(ctl, vio->FCtls.size())) return;
  TVioCtl& c = vio->FCtls[static_cast<std::size_t>(ctl)];
  // A label box takes no more than it can show.
  const bool cut = c.Knd == TeCtlKnd::Cbx && c.MaxLen > 0 && txt.size() > static_cast<std::size_t>(c.MaxLen);
  const std::string_view t = cut ? std::string_view(txt).substr(0, static_cast<std::size_t>(c.MaxLen)) : txt;
  if (vio->CtlTxt(ctl) == t) {
    if (cut) FEdt.NtfCtl(vio, ctl);  // the view shows more than the box holds
    return;
  }
  vio->PutCtlTxt(ctl, std::string(t));
  FEdt.NtfCtl(vio, ctl);
}

void TVioPrm::SelCtlItm(TVio* vio, int ctl, int itm) {
  TStpGrd stp(FEdt);
  if (!FEdt.OwnsVio(vio) || !InRng(ctl, vio->FCtls.size())) return;
  TVioCtl& c = vio->FCtls[static_cast<std::size_t>(ctl)];
  if (c.Knd != TeCtlKnd::Cbx || !InRng(itm, c.Itms.size())) return;
  vio->PutCtlTxt(ctl, c.Itms[static_cast<std::size_t>(itm)]);
  FEdt.NtfCtl(vio, ctl);
  if (c.CtlRol == CR_SAR_TYP)
    SarTypChg(vio);
  else if (c.CtlRol == CR_SAR_COM)
    SarComChg(vio);
}

void TVioPrm::LblKeyPrs(TVio* vio, char key) {
  TStpGrd stp(FEdt);
  if (!FEdt.OwnsVio(vio)) return;
  FEdt.FpCurVio = vio;
  if (key == 13) LblNamEnt(vio);
}

void TVioPrm::LblNamEnt(TVio* vio) {
  TStpGrd stp(FEdt);
  if (!FEdt.OwnsVio(vio)) return;
  FEdt.FpCurVio = vio;
  const int i = vio->FndCtl(TeCtlKnd::Cbx, CR_LBL_NAM);
  if (i < 0) return;
  TVioCtl& c = vio->FCtls[static_cast<std::size_t>(i)];
  if (FndNoCase(c.Itms, vio->Rec().LblNam) < 0) {
    c.Itms.push_back(vio->Rec().LblNam);
    FEdt.NtfCtl(vio, i);
  }
  FEdt.FPgm.SetLblLst(c.Itms);
}

void TVioPrm::GtoLblRfs(TVio* vio) {
  if (!FEdt.OwnsVio(vio)) return;
  const int i = vio->FndCtl(TeCtlKnd::Cbx, CR_GTO_NAM);
  if (i < 0) return;
  vio->FCtls[static_cast<std::size_t>(i)].Itms = FEdt.FPgm.LblLst();
  FEdt.NtfCtl(vio, i);
}

bool TVioPrm::DgtFlt(TVio* vio, int ctl, char key) {
  if (!FEdt.OwnsVio(vio) || !InRng(ctl, vio->FCtls.size())) return false;
  FEdt.FpCurVio = vio;
  TVioCtl& c = vio->FCtls[static_cast<std::size_t>(ctl)];
  const int maxLen = vio->Rec().VioTyp == VT_SPD ? 2 : 3;
  if (c.MaxLen != maxLen) {
    c.MaxLen = maxLen;
    FEdt.NtfCtl(vio, ctl);
  }
  return (key >= '0' && key <= '9') || key == 13 || key == 8;
}

int TVioPrm::SpdFocGai(TVio* vio) {
  if (!FEdt.OwnsVio(vio)) return 0;
  FEdt.FpCurVio = vio;
  const int i = vio->FndCtl(TeCtlKnd::Edt, CR_SPD);
  return i < 0 ? 0 : vio->FCtls[static_cast<std::size_t>(i)].MaxLen;
}

namespace {
// The refusal of a text that is not a whole number.
std::string CnvErr(const std::string& txt) { return "'" + txt + "' is not a valid integer value"; }
}  // namespace

bool TVioPrm::RfsVal(TVio* vio, int edt, const std::string& msg, bool& errFlg, const TVio*& errVio) {
  ++FiRfsCnt;
  ShwErrBox(msg);
  errFlg = true;
  errVio = vio;
  FEdt.ReqFoc(vio, edt);
  return false;
}

bool TVioPrm::ChkDlyVal(TVio* vio) {
  TStpGrd stp(FEdt);
  if (!FEdt.OwnsVio(vio)) return false;
  const int e = vio->FndCtl(TeCtlKnd::Edt, CR_VAL);
  if (e < 0) return false;
  const std::string txt = vio->Rec().ValTxt;
  long long v;
  if (!StrToInt(txt, v)) return RfsVal(vio, e, CnvErr(txt), FEdt.FbDlyErr, FEdt.FpDlyErrVio);
  if (v < 0 || v > 255)
    return RfsVal(vio, e, "Illigal delay value '" + txt + "', valid values are 0 - 255", FEdt.FbDlyErr, FEdt.FpDlyErrVio);
  FEdt.FbDlyErr = false;
  FEdt.FpDlyErrVio = nullptr;
  return true;
}

bool TVioPrm::ChkDstVal(TVio* vio) {
  TStpGrd stp(FEdt);
  if (!FEdt.OwnsVio(vio)) return false;
  FEdt.FpCurVio = vio;
  const int e = vio->FndCtl(TeCtlKnd::Edt, CR_VAL);
  if (e < 0) return false;
  const std::string txt = vio->Rec().ValTxt;
  std::string msg;
  if (txt.empty()) {
    msg = "No distance value found";
  } else {
    long long v;
    if (!StrToInt(txt, v))
      msg = CnvErr(txt);
    else if (v > 255)
      msg = "Distance value '" + txt + "' above maximum value 255";
  }
  if (!msg.empty()) return RfsVal(vio, e, msg, FEdt.FbDstErr, FEdt.FpDstErrVio);
  FEdt.FbDstErr = false;
  FEdt.FpDstErrVio = nullptr;
  return true;
}

bool TVioPrm::ChkSpdVal(TVio* vio) {
  TStpGrd stp(FEdt);
  if (!FEdt.OwnsVio(vio)) return false;
  FEdt.FpCurVio = vio;
  const int e = vio->FndCtl(TeCtlKnd::Edt, CR_SPD);
  if (e < 0) return false;
  const std::string txt = vio->Rec().SpdTxt;
  long long v;
  if (!StrToInt(txt, v)) return RfsVal(vio, e, CnvErr(txt), FEdt.FbSpdErr, FEdt.FpSpdErrVio);
  if (v >= 61 || v < 3)
    return RfsVal(vio, e, "Illegal left engine speed value '" + txt + "', valid values are 3 - 60", FEdt.FbSpdErr,
                  FEdt.FpSpdErrVio);
  FEdt.FbSpdErr = false;
  FEdt.FpSpdErrVio = nullptr;
  return true;
}

bool TVioPrm::ChkPndInp(unsigned rfsBfr) {
  if (FiRfsCnt != rfsBfr) return true;  // the check that just ran has said why
  // The flag's vio is one of the field's own (removing it clears the flag).
  auto own = [](const TVio* v) { return const_cast<TVio*>(v); };
  if (FEdt.FbDlyErr && !ChkDlyVal(own(FEdt.FpDlyErrVio))) return true;
  if (FEdt.FbSpdErr && !ChkSpdVal(own(FEdt.FpSpdErrVio))) return true;
  if (FEdt.FbDstErr && !ChkDstVal(own(FEdt.FpDstErrVio))) return true;
  return false;  // each check that ran has passed and cleared its flag
}

void TVioPrm::SarTypChg(TVio* vio) {
  TStpGrd stp(FEdt);
  if (!FEdt.OwnsVio(vio)) return;
  FEdt.FpCurVio = vio;
  const std::string typ = vio->Rec().SarTyp;
  bool actor;
  if (vio->Rec().VioTyp == VT_ACT) {
    FEdt.UpdActUnt();
    actor = true;
  } else if (vio->Rec().VioTyp == VT_SNS) {
    actor = false;
  } else {
    GuLstErrMsg = "#181, unknown vio type on Combobox change event";
    ShwMsgBox(GuLstErrMsg);
    return;
  }
  if (!FEdt.FilSarComCbx(vio, FEdt.LgeIdx(), FEdt.AvlCol(), typ, actor)) {
    ShwMsgBox(GuLstErrMsg);
    return;
  }
  const int c = vio->FndCtl(TeCtlKnd::Cbx, CR_SAR_COM);
  if (c < 0) {
    GuLstErrMsg = "#202, Sar vio type-combobox OnChange event: no command-combobox found";
    ShwMsgBox(GuLstErrMsg);
    return;
  }
  TVioCtl& cc = vio->FCtls[static_cast<std::size_t>(c)];
  vio->PutCtlTxt(c, cc.Itms.empty() ? std::string() : cc.Itms[0]);
  FEdt.NtfCtl(vio, c);
  // The unit follows the command now shown.
  if (actor) FEdt.UpdActUnt();
  if (!FEdt.SetSarTkn(FEdt.LgeIdx(), typ, vio->Rec().SarCom, vio)) ShwMsgBox(GuLstErrMsg);
}

void TVioPrm::SarComChg(TVio* vio) {
  TStpGrd stp(FEdt);
  if (!FEdt.OwnsVio(vio)) return;
  FEdt.FpCurVio = vio;
  if (vio->Rec().VioTyp == VT_ACT) FEdt.UpdActUnt();
  if (!FEdt.SetSarTkn(FEdt.LgeIdx(), vio->Rec().SarTyp, vio->Rec().SarCom, vio)) ShwMsgBox(GuLstErrMsg);
}

// ---- Parameter limits for translation ------------------------------------------------

std::string TVioPrm::PrmErr(const TVio* vio) {
  if (!vio) return {};
  switch (vio->Rec().VioTyp) {
    case VT_DLY: {
      const std::string& txt = vio->Rec().ValTxt;
      const long long v = NumIn(txt);
      if (v < 0 || v > 255) {
        return "#410, DELAY vio at " + CelNam(vio) + ": delay value '" + txt +
               "' does not fit, valid values are 0 - 255";
      }
      return {};
    }
    case VT_ACT: {
      const std::string& txt = vio->Rec().ValTxt;
      const long long v = NumIn(txt);
      if (v < 0 || v > 255) {
        return "#411, ACTOR vio at " + CelNam(vio) + ": distance or time value '" + txt +
               "' does not fit, valid values are 0 - 255";
      }
      return {};
    }
    case VT_SPD: {
      const std::string& txt = vio->Rec().SpdTxt;
      long long v;
      if (!StrToInt(txt, v)) {
        return "#412, ENGINE SPEED vio at " + CelNam(vio) + ": engine speed '" + txt +
               "' is not a whole number";
      }
      if (v < 1) {
        return "#413, ENGINE SPEED vio at " + CelNam(vio) + ": engine speed '" + txt +
               "' is not allowed, the speed must be at least 1";
      }
      return {};
    }
    default:
      return {};
  }
}

bool TVioPrm::ChkVioPrm(const TVio* vio) {
  std::string err = PrmErr(vio);
  if (err.empty()) return true;
  GuLstErrMsg = std::move(err);
  return false;
}

// ---- The editor's own methods, answered here ----------------------------------------

void TVioPgmItp::SetCtlTxt(TVio* vio, int ctl, const std::string& txt) { FpPrm->SetCtlTxt(vio, ctl, txt); }
void TVioPgmItp::SelCtlItm(TVio* vio, int ctl, int itm) { FpPrm->SelCtlItm(vio, ctl, itm); }
void TVioPgmItp::LblKeyPrs(TVio* vio, char key) { FpPrm->LblKeyPrs(vio, key); }
void TVioPgmItp::LblNamEnt(TVio* vio) { FpPrm->LblNamEnt(vio); }
void TVioPgmItp::GtoLblRfs(TVio* vio) { FpPrm->GtoLblRfs(vio); }
bool TVioPgmItp::DgtFlt(TVio* vio, int ctl, char key) { return FpPrm->DgtFlt(vio, ctl, key); }
int TVioPgmItp::SpdFocGai(TVio* vio) { return FpPrm->SpdFocGai(vio); }
bool TVioPgmItp::ChkDlyVal(TVio* vio) { return FpPrm->ChkDlyVal(vio); }
bool TVioPgmItp::ChkDstVal(TVio* vio) { return FpPrm->ChkDstVal(vio); }
bool TVioPgmItp::ChkSpdVal(TVio* vio) { return FpPrm->ChkSpdVal(vio); }
bool TVioPgmItp::ChkPndInp(unsigned rfsBfr) { return FpPrm->ChkPndInp(rfsBfr); }
unsigned TVioPgmItp::RfsCnt() const { return FpPrm->RfsCnt(); }
void TVioPgmItp::SarTypChg(TVio* vio) { FpPrm->SarTypChg(vio); }
void TVioPgmItp::SarComChg(TVio* vio) { FpPrm->SarComChg(vio); }
bool TVioPgmItp::ChkVioPrm(const TVio* vio) { return TVioPrm::ChkVioPrm(vio); }
