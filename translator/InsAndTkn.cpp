#include "translator/InsAndTkn.h"

#include <array>
#include <utility>

#include "core/Globals.h"
#include "translator/TrnLst.h"

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

// Rows and columns by vio type number (core/Globals.h), the order of the
// editor's type table: row t, column u is '1' when a vio of type u may follow
// one of type t.
constexpr std::array<TuVldNxtRow, GcVldNxtRowCnt> GcVldNxtTbl = {{
    //        SSITEDLGASSSR
    //        TTFHLLBTCNPWT
    //        AOFNSYLOTSDII
    {VT_STA, "0110011110100"},
    {VT_STO, "0000000000000"},
    {VT_IFF, "0000000001000"},
    {VT_THN, "0110011110101"},
    {VT_ELS, "0110011110101"},
    {VT_DLY, "0110011111101"},
    {VT_LBL, "0110011111101"},
    {VT_GTO, "0100000000000"},
    {VT_ACT, "0110011110101"},
    {VT_SNS, "0001100000000"},
    {VT_SPD, "0110011111100"},
    {VT_SWI, "0110011111101"},
    {VT_RTI, "0000000000000"},
}};

// One row and one column for each vio type, at its type number.
constexpr bool VldNxtByTyp() {
  for (std::size_t t = 0; t < GcVldNxtTbl.size(); ++t) {
    if (GcVldNxtTbl[t].Typ != t) return false;
    std::size_t n = 0;
    while (GcVldNxtTbl[t].Nxt[n] == '0' || GcVldNxtTbl[t].Nxt[n] == '1') ++n;
    if (n != GcVioTypCnt || GcVldNxtTbl[t].Nxt[n] != '\0') return false;
  }
  return true;
}
static_assert(GcVldNxtTbl.size() == GcVioTypCnt, "a row of the valid-next table for each vio type");
static_assert(VldNxtByTyp(), "the valid-next table's rows and columns are in the order of the type numbers");

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
  FpPgmVioLst.clear();
  FpVioLnk.clear();
  FpVioTknLst.clear();
  FpTsmTknLst.clear();
}

TuExtComTkn TInsAndTkn::NewExtComTkn(std::uint8_t tkn) const {
  TuExtComTkn r;
  r.Tkn = tkn;
  r.Mne = FpInsTknTbl->GetTknMne(tkn);
  return r;
}

void TInsAndTkn::ReqVioBlk(std::int32_t vio) {
  if (FpRpt && vio >= 0) FpRpt->Blk(static_cast<std::size_t>(vio));
}

// ---- Valid-next table --------------------------------------------------------

bool TInsAndTkn::ChkVldNxtTyp(std::uint8_t cur, std::uint8_t nxt) {
  if (cur < GcVldNxtTbl.size()) return nxt < GcVldNxtRowCnt && GcVldNxtTbl[cur].Nxt[nxt] == '1';
  GuLstErrMsg = "#186, Programming error: Instruction number " + std::to_string(cur) +
                " not found in valid-next-instruction table";
  return false;
}

// ---- Token generation ---------------------------------------------------------

bool TInsAndTkn::GenTknStm() {
  // The passes in their order; the first that fails ends the run and is kept.
  static constexpr std::pair<TeGenPas, bool (TInsAndTkn::*)()> GcPas[] = {
      {TeGenPas::CnvVioTkn, &TInsAndTkn::CnvVioTkn}, {TeGenPas::RslIfThnEls, &TInsAndTkn::RslIfThnEls},
      {TeGenPas::RslJmpLbl, &TInsAndTkn::RslJmpLbl}, {TeGenPas::RmvLblTkn, &TInsAndTkn::RmvLblTkn},
      {TeGenPas::RmvElsTkn, &TInsAndTkn::RmvElsTkn}, {TeGenPas::BldTsmTkn, &TInsAndTkn::BldTsmTkn}};
  for (const auto& [pas, run] : GcPas) {
    FeErrPas = pas;
    if (!(this->*run)()) return false;
  }
  FeErrPas = TeGenPas::Non;
  return true;
}

bool TInsAndTkn::CnvVioTkn() {
  FpVioTknLst.clear();
  for (std::size_t idx : FpPgmVioLst)
    if (!CnvOneVio(idx)) return false;
  return true;
}

void TInsAndTkn::AddValTkn(std::uint8_t tkn, std::int32_t val) {
  TuExtComTkn r = NewExtComTkn(tkn);
  r.Val = val;
  FpVioTknLst.push_back(std::move(r));
}

bool TInsAndTkn::CnvOneVio(std::size_t idx) {
  const TuPgmVio& v = FpPgmDsc.Vios[idx];
  const std::uint8_t tkn = FpInsTknTbl->GetInsTkn(v.Typ);
  if (tkn == 0xFF) {
    GuLstErrMsg = "Requested token not found in 'InsTknTbl' table";
    return false;
  }
  // The numeric parameters must fit into what the robot is sent.
  if (!v.PrmErr.empty()) {
    GuLstErrMsg = v.PrmErr;
    ReqVioBlk(static_cast<std::int32_t>(idx));
    return false;
  }
  const std::size_t fst = FpVioTknLst.size();
  FpVioTknLst.push_back(NewExtComTkn(tkn));
  bool ok = true;
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
      FpVioTknLst[fst].LblNam = v.LblNam;
      break;
    case IT_GTO:
      FpVioTknLst[fst].LblNam = v.LblNam;
      AddValTkn(IT_UDF, -1);
      break;
    case IT_DLY:
      FpVioTknLst[fst].Val = v.Val;
      AddValTkn(IT_UDF, -1);
      break;
    case IT_ACT:
    case IT_SNS:
      ok = CnvSarVio(fst, v, tkn == IT_ACT);
      break;
    case IT_SPD:
      ok = CnvSpdVio(fst, idx);
      break;
    default:
      GuLstErrMsg = "#311, Switch 'default': Vio-to-token conversion, unhandled Viotype/Token found (" +
                    std::to_string(v.Typ) + "/" + std::to_string(tkn) + ")";
      return false;
  }
  if (!ok) return false;
  // Every record remembers its vio (the listing shows where each byte came from).
  for (std::size_t i = fst; i < FpVioTknLst.size(); ++i) FpVioTknLst[i].VioIdx = static_cast<std::int32_t>(idx);
  return true;
}

bool TInsAndTkn::CnvSarVio(std::size_t fst, const TuPgmVio& v, bool actor) {
  if (v.SarTkn < 0) {
    GuLstErrMsg = "#301, vio sar type '" + v.SarTyp + "', no corresponding token found in valid token list";
    return false;
  }
  const auto sar = static_cast<std::uint8_t>(v.SarTkn);
  FpVioTknLst[fst].Tkn = sar;
  FpVioTknLst[fst].Sar = true;
  if (!actor) return true;
  const TeActPrm kind = SarActPrm(sar);
  if (kind == TeActPrm::Unk) {
    GuLstErrMsg = "#302, unknown sar type '" + v.SarTyp +
                  "'. Not known in file 'Project.h' or not defined in switch statement";
    return false;
  }
  if (v.Val == 0 || kind == TeActPrm::Non) return true;
  if (kind == TeActPrm::Byt) {
    AddValTkn(IT_BYT, v.Val);
    AddValTkn(IT_UDF, v.Val);
  } else {
    AddValTkn(IT_DLY, v.Val);
    AddValTkn(IT_UDF, -1);
  }
  return true;
}

bool TInsAndTkn::CnvSpdVio(std::size_t fst, std::size_t idx) {
  const TuPgmVio& v = FpPgmDsc.Vios[idx];
  if (!v.ValOk) {
    // The parameter check has refused these; this only guards the division of the stream.
    GuLstErrMsg = "#313, Programming error: unchecked engine speed '" + v.ValTxt + "' in token generation";
    ReqVioBlk(static_cast<std::int32_t>(idx));
    return false;
  }
  FpVioTknLst[fst].Val = v.Val;
  for (int i = 0; i < 2; ++i) {
    AddValTkn(IT_BYT, v.Val);
    AddValTkn(IT_UDF, v.Val);
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
      ReqVioBlk(gto.VioIdx);
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
    if (InRng(t, FpVioTknLst.size()) && IsIns(FpVioTknLst[t], IT_LBL))
      RmvTknAt(static_cast<std::size_t>(t));
  }
  return true;
}

bool TInsAndTkn::RmvElsTkn() {
  for (std::size_t i = 0; i < FpVioTknLst.size(); ++i) {
    if (!IsIns(FpVioTknLst[i], IT_THN)) continue;
    const std::int32_t e = FpVioTknLst[i].TgtIdx;
    if (InRng(e, FpVioTknLst.size()) && IsIns(FpVioTknLst[e], IT_ELS))
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
    const std::int32_t vio = FpVioTknLst[GcMaxTsmLen].VioIdx;
    GuLstErrMsg = "#314, Program too long: its token stream has " + std::to_string(FpTsmTknLst.size()) +
                  " bytes, at most " + std::to_string(GcMaxTsmLen) + " can be uploaded";
    if (vio >= 0) GuLstErrMsg += "; the stream overflows at vio " + TrnVioDsc(FpPgmDsc.Vios[static_cast<std::size_t>(vio)]);
    ReqVioBlk(vio);
    return false;
  }
  return true;
}
