#include "translator/SarTkn.h"

#include <array>

namespace {

struct TuSarTknRow {
  std::uint8_t Fst, Lst;  // the tokens Fst..Lst
  TeActPrm Prm;           // as an actor; Unk: no actor
  bool Sns;               // a condition
};

constexpr std::array<TuSarTknRow, 8> GcSarTknTbl = {{
    {ST_DRV_STP, ST_DRV_STP, TeActPrm::Non, false},
    {ST_DRV_FWD, ST_DRV_REV, TeActPrm::Byt, false},
    {ST_TRN_LFT, ST_SPN_RGT, TeActPrm::Non, false},
    {ST_SYS_ON, ST_SYS_FLS, TeActPrm::Dly, false},
    {ST_BCK_ON, ST_BCK_ALT, TeActPrm::Dly, false},
    {ST_TRK_ON, ST_TRK_OFF, TeActPrm::Dly, true},
    {ST_BMP_LFT, ST_LGT_BRT, TeActPrm::Unk, true},
    {ST_SWI_ON, ST_SWI_LST, TeActPrm::Unk, true},
}};

const TuSarTknRow* FndRow(std::uint8_t tkn) {
  for (const TuSarTknRow& r : GcSarTknTbl)
    if (tkn >= r.Fst && tkn <= r.Lst) return &r;
  return nullptr;
}

}  // namespace

TeActPrm SarActPrm(std::uint8_t tkn) {
  const TuSarTknRow* r = FndRow(tkn);
  return r ? r->Prm : TeActPrm::Unk;
}

bool SarIsAct(std::uint8_t tkn) { return SarActPrm(tkn) != TeActPrm::Unk; }

bool SarIsSns(std::uint8_t tkn) {
  const TuSarTknRow* r = FndRow(tkn);
  return r && r->Sns;
}
