#include "translator/InsAndTkn.h"

#include <array>

#include "core/Globals.h"
#include "core/WndMsg.h"
#include "editor/VioNum.h"
#include "editor/VioPgmItp.h"
#include "editor/VioTyp.h"

namespace {

constexpr std::array<TuInsTknEnt, TInsTknTbl::GcEntCnt> GcInsTknTbl = {{
    {0x00, IT_STA, "Sta"},
    {0x01, IT_STO, "Sto"},
    {0x02, IT_IFF, "Iff"},
    {0x03, IT_THN, "Thn"},
    {0x04, IT_ELS, "Els"},
    {0x05, IT_DLY, "Dly"},
    {0x06, IT_LBL, "Lbl"},
    {0x07, IT_GTO, "Gto"},
    {GcInsNon, IT_GOF, "Gof"},
    {0x08, IT_ACT, "Act"},
    {0x09, IT_SNS, "Sns"},
    {0x0A, IT_SPD, "Spd"},
    {0x0B, IT_SWI, "Swi"},
    {0x0C, IT_RTI, "Rti"},
    {GcInsUdf, IT_UDF, "Udf"},
    {GcInsByt, IT_BYT, "Byt"},
}};

// Columns are in row order: Start, Stop, If, Then, Else, Actor, Sensor, Goto,
// Label, Delay, Switch interrupt, RTI, Engine speed.
constexpr std::array<TuVldNxtRow, GcVldNxtRowCnt> GcVldNxtTbl = {{
    {VT_STA, "0110010111001"},
    {VT_STO, "0000000000000"},
    {VT_IFF, "0000001000000"},
    {VT_THN, "0110010111011"},
    {VT_ELS, "0110010111011"},
    {VT_ACT, "0110010111011"},
    {VT_SNS, "0001100000000"},
    {VT_GTO, "0100000000000"},
    {VT_LBL, "0110011111011"},
    {VT_DLY, "0110011111011"},
    {VT_SWI, "0110011111011"},
    {VT_RTI, "0000000000000"},
    {VT_SPD, "0110011111001"},
}};

// Parameter texts are read with the editor's conversions, so that the values
// sent are the values its checks passed.
std::int32_t NumIn32(const std::string& s) { return static_cast<std::int32_t>(NumIn(s)); }

}  // namespace

// ---- Instruction/token table ----------------------------------------------

const TuInsTknEnt& TInsTknTbl::Ent(int i) { return GcInsTknTbl.at(static_cast<std::size_t>(i)); }

std::uint8_t TInsTknTbl::GetInsTkn(std::uint8_t ins) const {
  for (const TuInsTknEnt& e : GcInsTknTbl)
    if (e.Ins == ins) return e.Tkn;
  return 0xFF;
}

std::string TInsTknTbl::GetTknMne(std::uint8_t tkn) const {
  for (const TuInsTknEnt& e : GcInsTknTbl)
    if (e.Tkn == tkn) return e.Mne;
  return {};
}

const TuVldNxtRow& GetVldNxtRow(int i) { return GcVldNxtTbl.at(static_cast<std::size_t>(i)); }

// ---- Translator object ------------------------------------------------------

TInsAndTkn::TInsAndTkn(IWndMsgTgt* owner)
    : FpInsTknTbl(std::make_unique<TInsTknTbl>()),
      FpSarAndTkn(std::make_unique<TSarAndTkn>(owner)),
      FpOwn(owner) {}

TInsAndTkn::~TInsAndTkn() = default;

void TInsAndTkn::Clr() {
  FpMaiPgmLst.clear();
  FiMaiPgmIdx = -1;
  FbMaiPgmEnd = true;
  FpPgmVioLst.clear();
  FpVioTknLst.clear();
  FpTsmTknLst.clear();
}

TuExtComTkn TInsAndTkn::NewExtComTkn(std::uint8_t tkn) const {
  TuExtComTkn r;
  r.Tkn = tkn;
  r.Mne = FpInsTknTbl->GetTknMne(tkn);
  return r;
}

TeActPrm TInsAndTkn::ActTknPrm(std::uint8_t tkn) {
  if (tkn == 0x11 || (tkn >= 0x14 && tkn <= 0x17)) return TeActPrm::Non;
  if (tkn == 0x12 || tkn == 0x13) return TeActPrm::Byt;
  if ((tkn >= 0x20 && tkn <= 0x23) || (tkn >= 0x30 && tkn <= 0x33) || tkn == 0x40 || tkn == 0x41)
    return TeActPrm::Dly;
  return TeActPrm::Unk;
}

void TInsAndTkn::ReqVioBlk(TVio* vio) {
  if (FpOwn && vio) FpOwn->SndMsg(WM_APP_MSG, AM_VIO_BLK, reinterpret_cast<std::intptr_t>(vio));
}

// ---- Valid-next table --------------------------------------------------------

bool TInsAndTkn::ChkVldNxtTyp(std::uint8_t cur, std::uint8_t nxt) {
  for (const TuVldNxtRow& row : GcVldNxtTbl) {
    if (row.Typ != cur) continue;
    for (int j = 0; j < GcVldNxtRowCnt; ++j)
      if (row.Nxt[j] == '1' && GcVldNxtTbl[static_cast<std::size_t>(j)].Typ == nxt) return true;
    return false;
  }
  GuLstErrMsg = "#186, Programming error: Instruction number " + std::to_string(cur) +
                " not found in valid-next-instruction table";
  return false;
}

bool TInsAndTkn::ChkVldNxtIns(const TVio* cur, const TVio* nxt) {
  return ChkVldNxtTyp(cur->Rec.VioTyp, nxt->Rec.VioTyp);
}

// ---- Token generation ---------------------------------------------------------

bool TInsAndTkn::GenTknStm(TVioPgmItp& edt, std::uint8_t lge) {
  FeErrPas = TeGenPas::CnvVioTkn;
  if (!CnvVioTkn(edt, lge)) return false;
  FeErrPas = TeGenPas::RslIfThnEls;
  if (!RslIfThnEls()) return false;
  FeErrPas = TeGenPas::RslJmpLbl;
  if (!RslJmpLbl()) return false;
  FeErrPas = TeGenPas::RmvLblTkn;
  if (!RmvLblTkn()) return false;
  FeErrPas = TeGenPas::RmvElsTkn;
  if (!RmvElsTkn()) return false;
  FeErrPas = TeGenPas::BldTsmTkn;
  if (!BldTsmTkn()) return false;
  FeErrPas = TeGenPas::Non;
  return true;
}

bool TInsAndTkn::CnvVioTkn(TVioPgmItp& edt, std::uint8_t lge) {
  FpVioTknLst.clear();
  for (TVio* vio : FpPgmVioLst) {
    const std::uint8_t typ = vio->Rec.VioTyp;
    const std::uint8_t tkn = FpInsTknTbl->GetInsTkn(typ);
    if (tkn == 0xFF) {
      GuLstErrMsg = "Requested token not found in 'InsTknTbl' table";
      return false;
    }
    // The numeric parameters must fit into what the robot is sent.
    if (!edt.ChkVioPrm(vio)) {
      ReqVioBlk(vio);
      return false;
    }
    const std::size_t fst = FpVioTknLst.size();
    FpVioTknLst.push_back(NewExtComTkn(tkn));
    auto add = [&](std::uint8_t t, std::int32_t val) {
      TuExtComTkn r = NewExtComTkn(t);
      r.Val = val;
      FpVioTknLst.push_back(std::move(r));
    };
    std::uint8_t fstTkn = tkn;
    switch (tkn) {
      case IT_STA:
      case IT_STO:
      case IT_IFF:
      case IT_THN:
      case IT_ELS:
      case IT_SWI:
      case IT_RTI:
        break;
      case IT_LBL:
        FpVioTknLst[fst].LblNam = edt.GetCtlTxt(vio, TeCtlKnd::Cbx, CR_LBL_NAM);
        break;
      case IT_GTO:
        FpVioTknLst[fst].LblNam = edt.GetCtlTxt(vio, TeCtlKnd::Cbx, CR_GTO_NAM);
        add(IT_UDF, -1);
        break;
      case IT_DLY:
        FpVioTknLst[fst].Val = NumIn32(edt.GetCtlTxt(vio, TeCtlKnd::Edt, CR_VAL));
        add(IT_UDF, -1);
        break;
      case IT_ACT:
      case IT_SNS: {
        const std::string sarTyp = edt.GetCtlTxt(vio, TeCtlKnd::Cbx, CR_SAR_TYP);
        const int sar = FpSarAndTkn->GetSarTkn(lge, sarTyp, edt.GetCtlTxt(vio, TeCtlKnd::Cbx, CR_SAR_COM));
        if (sar < 0) {
          GuLstErrMsg = "#301, vio sar type '" + sarTyp + "', no corresponding token found in valid token list";
          return false;
        }
        fstTkn = static_cast<std::uint8_t>(sar);
        FpVioTknLst[fst].Sar = true;
        if (tkn == IT_SNS) break;
        const TeActPrm kind = ActTknPrm(fstTkn);
        if (kind == TeActPrm::Unk) {
          GuLstErrMsg = "#302, unknown sar type '" + sarTyp +
                        "'. Not known in file 'Project.h' or not defined in switch statement";
          return false;
        }
        const std::string valTxt = edt.GetCtlTxt(vio, TeCtlKnd::Edt, CR_VAL);
        const std::int32_t prm = (valTxt.empty() || valTxt == "0") ? 0 : NumIn32(valTxt);
        if (prm == 0 || kind == TeActPrm::Non) break;
        if (kind == TeActPrm::Byt) {
          add(IT_BYT, prm);
          add(IT_UDF, prm);
        } else {
          add(IT_DLY, prm);
          add(IT_UDF, -1);
        }
        break;
      }
      case IT_SPD: {
        const std::string spdTxt = edt.GetCtlTxt(vio, TeCtlKnd::Edt, CR_SPD);
        long long spd = 0;
        if (!StrToInt(spdTxt, spd) || spd == 0) {
          // ChkVioPrm has refused these; this only guards the division below.
          GuLstErrMsg = "#313, Programming error: unchecked engine speed '" + spdTxt + "' in token generation";
          ReqVioBlk(vio);
          return false;
        }
        const auto v = static_cast<std::int32_t>(spd);
        FpVioTknLst[fst].Val = v;
        add(IT_BYT, v);
        add(IT_UDF, v);
        add(IT_BYT, v);
        add(IT_UDF, v);
        break;
      }
      default:
        GuLstErrMsg = "#311, Switch 'default': Vio-to-token conversion, unhandled Viotype/Token found (" +
                      std::to_string(typ) + "/" + std::to_string(tkn) + ")";
        return false;
    }
    FpVioTknLst[fst].Tkn = fstTkn;
    // Every record remembers its vio (the listing shows where each byte came from).
    for (std::size_t i = fst; i < FpVioTknLst.size(); ++i) FpVioTknLst[i].Vio = vio;
  }
  return true;
}

namespace {
bool IsIns(const TuExtComTkn& r, std::uint8_t tkn) { return !r.Sar && r.Tkn == tkn; }
}  // namespace

bool TInsAndTkn::RslIfThnEls() {
  const std::size_t n = FpVioTknLst.size();
  for (std::size_t i = 0; i < n; ++i) {
    if (!IsIns(FpVioTknLst[i], IT_IFF)) continue;
    int dpt = 1;
    std::size_t j = i + 1;
    for (; j < n; ++j) {
      if (IsIns(FpVioTknLst[j], IT_IFF)) ++dpt;
      if (IsIns(FpVioTknLst[j], IT_ELS) && --dpt == 0) break;
    }
    if (j >= n) continue;
    if (i + 2 >= n || !IsIns(FpVioTknLst[i + 2], IT_THN)) {
      GuLstErrMsg = "#312, IfThenElse resolving, no 'Then' token detected";
      return false;
    }
    FpVioTknLst[i + 2].TgtIdx = static_cast<std::int32_t>(j);
  }
  return true;
}

bool TInsAndTkn::RslJmpLbl() {
  for (TuExtComTkn& gto : FpVioTknLst) {
    if (!IsIns(gto, IT_GTO)) continue;
    gto.TgtIdx = -1;
    for (std::size_t k = 0; k < FpVioTknLst.size(); ++k) {
      if (IsIns(FpVioTknLst[k], IT_LBL) && FpVioTknLst[k].LblNam == gto.LblNam) {
        gto.TgtIdx = static_cast<std::int32_t>(k);
        break;
      }
    }
    if (gto.TgtIdx < 0) {
      GuLstErrMsg = gto.LblNam;
      ReqVioBlk(gto.Vio);
      return false;
    }
  }
  return true;
}

void TInsAndTkn::RmvTknAt(std::size_t r) {
  FpVioTknLst.erase(FpVioTknLst.begin() + static_cast<std::ptrdiff_t>(r));
  for (TuExtComTkn& t : FpVioTknLst) {
    if ((IsIns(t, IT_GTO) || IsIns(t, IT_THN)) && t.TgtIdx > static_cast<std::int32_t>(r)) --t.TgtIdx;
  }
}

bool TInsAndTkn::RmvLblTkn() {
  for (std::size_t i = 0; i < FpVioTknLst.size(); ++i) {
    if (!IsIns(FpVioTknLst[i], IT_GTO)) continue;
    const std::int32_t t = FpVioTknLst[i].TgtIdx;
    if (t >= 0 && static_cast<std::size_t>(t) < FpVioTknLst.size() && IsIns(FpVioTknLst[t], IT_LBL))
      RmvTknAt(static_cast<std::size_t>(t));
  }
  return true;
}

bool TInsAndTkn::RmvElsTkn() {
  for (std::size_t i = 0; i < FpVioTknLst.size(); ++i) {
    if (!IsIns(FpVioTknLst[i], IT_THN)) continue;
    const std::int32_t e = FpVioTknLst[i].TgtIdx;
    if (e >= 0 && static_cast<std::size_t>(e) < FpVioTknLst.size() && IsIns(FpVioTknLst[e], IT_ELS))
      RmvTknAt(static_cast<std::size_t>(e));
  }
  return true;
}

bool TInsAndTkn::BldTsmTkn() {
  FpTsmTknLst.clear();
  const std::size_t n = FpVioTknLst.size();
  auto byt = [](std::int32_t v) { return static_cast<std::uint8_t>(v & 0xFF); };
  for (std::size_t i = 0; i < n; ++i) {
    const TuExtComTkn& r = FpVioTknLst[i];
    if (IsIns(r, IT_THN)) {
      FpTsmTknLst.push_back(byt(r.TgtIdx));
    } else if ((IsIns(r, IT_GTO) || IsIns(r, IT_DLY) || IsIns(r, IT_BYT)) && i + 1 < n) {
      FpTsmTknLst.push_back(r.Tkn);
      FpTsmTknLst.push_back(byt(IsIns(r, IT_GTO) ? r.TgtIdx : r.Val));
      ++i;
    } else if (IsIns(r, IT_SPD) && i + 4 < n) {
      FpTsmTknLst.push_back(r.Tkn);
      for (std::size_t k = 1; k <= 4; k += 2) {
        const std::int32_t spd = FpVioTknLst[i + k + 1].Val;
        FpTsmTknLst.push_back(FpVioTknLst[i + k].Tkn);
        FpTsmTknLst.push_back(byt(spd == 0 ? 0 : 200 / spd));
      }
      i += 4;
    } else {
      FpTsmTknLst.push_back(r.Tkn);
    }
  }
  if (FpTsmTknLst.size() > GcMaxTsmLen) {
    TVio* vio = FpVioTknLst[GcMaxTsmLen].Vio;
    GuLstErrMsg = "#314, Program too long: its token stream has " + std::to_string(FpTsmTknLst.size()) +
                  " bytes, at most " + std::to_string(GcMaxTsmLen) + " can be uploaded";
    if (vio) {
      std::string cap = GetVioCap(vio->Rec.VioTyp);
      for (char& c : cap)
        if (c == '\n') c = ' ';
      GuLstErrMsg += "; the stream overflows at vio " + cap + " at column " + std::to_string(vio->Rec.GrdCol + 1) +
                     ", row " + std::to_string(vio->Rec.GrdRow + 1);
    }
    ReqVioBlk(vio);
    return false;
  }
  return true;
}
