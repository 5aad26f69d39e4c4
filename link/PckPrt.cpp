#include "link/PckPrt.h"

#include <algorithm>
#include <cstdio>

#include "core/Globals.h"

void RstRcvPck(TuRcvPck& p) { p.PckSte = PS_STA; }

void PrsRcvChr(TuRcvPck& p, std::uint8_t b) {
  switch (p.PckSte) {
    case PS_STA:
      if (b == GcPckSta) p.PckSte = PS_ORG;
      break;
    case PS_ORG:
      p.PckOrg = b;
      p.PckSte = PS_SEQ;
      break;
    case PS_SEQ:
      p.PckSeq = b;
      p.PckSte = PS_LEN;
      break;
    case PS_LEN:
      p.PckLen = b;
      p.DatCnt = 0;
      p.PckSte = PS_CLS;
      break;
    case PS_CLS:
      p.MsgCls = b;
      p.PckSte = PS_COD;
      break;
    case PS_COD:
      p.MsgCod = b;
      p.DatIdx = 0;
      p.PckSte = PS_DAT;
      break;
    case PS_DAT:
      if (p.DatCnt < p.PckLen) {
        ++p.DatCnt;
        if (p.DatIdx == GcRcvDatMax) {
          // Too long to keep: the frame is abandoned.
          p.PckSte = PS_STA;
          break;
        }
        p.DatBuf[p.DatIdx++] = b;
      } else {
        // The byte after the data ends the frame or breaks it; either way it
        // is not looked at again as a start byte.
        p.PckSte = b == GcPckEnd ? PS_CPL : PS_STA;
      }
      break;
    case PS_CPL:
      break;
    default:
      // A state no step produces: start over.
      p.PckSte = PS_STA;
      break;
  }
}

// ---------------------------------------------------------------------------
// Sending

bool BldPck(std::uint8_t seq, std::uint8_t cls, std::uint8_t cod, const std::vector<std::uint8_t>& dat,
            std::vector<std::uint8_t>& out) {
  if (dat.size() > GcPckMaxDat) return false;
  out.clear();
  out.reserve(dat.size() + 7);
  out.push_back(GcPckSta);
  out.push_back(GcPckOrgOwn);
  out.push_back(seq);
  out.push_back(static_cast<std::uint8_t>(dat.size()));
  out.push_back(cls);
  out.push_back(cod);
  out.insert(out.end(), dat.begin(), dat.end());
  out.push_back(GcPckEnd);
  return true;
}

bool SndPck(std::uint8_t& pckCnt, std::uint8_t cls, std::uint8_t cod, const std::vector<std::uint8_t>& dat,
            const TPckOut& out) {
  // Framed before anything happens: the length byte cannot carry more.
  std::vector<std::uint8_t> frm;
  if (!BldPck(pckCnt, cls, cod, dat, frm)) {
    if (out.TooLng) out.TooLng(dat.size());
    return false;
  }
  if (!out.OpnPrt || !out.OpnPrt()) return false;
  if (!out.SndChr) {
    GuLstErrMsg = "Comport is not defined";
    return false;
  }
  if (out.Rsv && !out.Rsv(frm.size())) return false;
  for (std::size_t i = 0; i < frm.size(); ++i) {
    // The sequence byte is taken once the line has accepted the frame's start.
    if (i == 2) ++pckCnt;
    if (!out.SndChr(frm[i])) return false;
  }
  return true;
}

// ---------------------------------------------------------------------------
// Receiving

std::string Hex4(std::uint16_t v) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%04X", static_cast<unsigned>(v));
  return buf;
}

namespace {

TRcvEff Eff(TeRcvEff k) { return TRcvEff{k}; }
TRcvEff Ply(TeRbtRpt r, std::uint16_t v = 0) {
  TRcvEff e{TeRcvEff::Play};
  e.Rpt = r;
  e.Val = v;
  return e;
}
TRcvEff Val(TeRcvEff k, std::uint16_t v) {
  TRcvEff e{k};
  e.Val = v;
  return e;
}

// The 16-bit value of the first two kept data bytes, low byte first; a byte
// the frame did not carry counts as 0.
std::uint16_t DatVal(const TuRcvPck& p) {
  const unsigned d0 = p.DatIdx > 0 ? p.DatBuf[0] : 0;
  const unsigned d1 = p.DatIdx > 1 ? p.DatBuf[1] : 0;
  return static_cast<std::uint16_t>(d0 + 256 * d1);
}

}  // namespace

std::vector<TRcvEff> DspRcvPck(const TuRcvPck& p) {
  std::vector<TRcvEff> e;
  const unsigned key = static_cast<unsigned>(p.MsgCls) << 8 | p.MsgCod;
  switch (key) {
    case MC_CTL << 8 | MK_INC_SIG:
      e = {Eff(TeRcvEff::Flash), Ply(TeRbtRpt::IncSig)};
      break;
    case MC_CTL << 8 | MK_STB:
      e = {Eff(TeRcvEff::DisRun), Eff(TeRcvEff::Flash), Ply(TeRbtRpt::Stb)};
      break;
    case MC_CTL << 8 | MK_LNK_EST:
      e = {Eff(TeRcvEff::DisRun), Eff(TeRcvEff::Flash), Ply(TeRbtRpt::LnkEst)};
      break;
    case MC_MEA << 8 | MK_MEA_1:
      if (p.DatCnt != 2) {
        TRcvEff err{TeRcvEff::SetLstErr};
        err.Txt = GcTxtMeaCnt;
        return {err};  // nothing shown, the time-out not restarted
      }
      e = {Val(TeRcvEff::ShwMea1, DatVal(p))};
      break;
    case MC_MEA << 8 | MK_MEA_2: {
      const std::uint16_t v = DatVal(p);
      e = {Val(TeRcvEff::ShwMea2, v), Eff(TeRcvEff::PrcMsg)};
      // One number per report: the highest of the six switch bits.
      const std::uint8_t d0 = static_cast<std::uint8_t>(v & 0xFF);
      for (int n = 1; n <= 6; ++n) {
        if (d0 & (0x40 >> n)) {
          e.push_back(Eff(TeRcvEff::Flash));
          e.push_back(Ply(TeRbtRpt::Swi, static_cast<std::uint16_t>(n)));
          break;
        }
      }
      break;
    }
    case MC_STS << 8 | MK_TRF_CMP:
      // A new program is on the robot: addresses of the old run mean nothing now.
      e = {Eff(TeRcvEff::UplCfm), Eff(TeRcvEff::RunEnd), Eff(TeRcvEff::EnaComSte), Eff(TeRcvEff::EnaRun),
           Eff(TeRcvEff::Flash), Ply(TeRbtRpt::TrfCmp)};
      break;
    case MC_STS << 8 | MK_WRK:
      e = {Eff(TeRcvEff::EnaComSte), Eff(TeRcvEff::RpnRun), Eff(TeRcvEff::Flash), Ply(TeRbtRpt::Wrk)};
      break;
    case MC_STS << 8 | MK_PGM_CMP:
      e = {Eff(TeRcvEff::RunEnd), Eff(TeRcvEff::EnaComSte), Eff(TeRcvEff::EnaRun), Eff(TeRcvEff::Flash),
           Ply(TeRbtRpt::PgmCmp)};
      break;
    case MC_SIM << 8 | MK_SIM_EXE:
      // Quietly: it comes with every instruction. Without its byte it says nothing.
      if (p.DatIdx > 0) e = {Val(TeRcvEff::RunAdr, p.DatBuf[0])};
      break;
    case MC_SIM << 8 | MK_SIM_FLT: {
      // The program has ended, though not at its Stop: Run is offered again,
      // and the user reads why.
      if (p.DatCnt != 2) break;
      TRcvEff f{TeRcvEff::ShwRbtFlt};
      f.Val = static_cast<std::uint16_t>(p.DatBuf[0] | p.DatBuf[1] << 8);
      e = {Eff(TeRcvEff::RunEnd), Eff(TeRcvEff::EnaComSte), Eff(TeRcvEff::EnaRun), Eff(TeRcvEff::Flash), f};
      break;
    }
    default:
      break;
  }
  e.push_back(Eff(TeRcvEff::RstTmo));
  return e;
}

std::vector<TRcvEff> TRcvPrs::Put(std::uint8_t b, bool gap) {
  TuRcvPck& p = FuPck;
  FbRbt = false;
  if (gap) RstRcvPck(p);
  PrsRcvChr(p, b);
  if (p.PckSte != PS_CPL) return {Eff(TeRcvEff::RstTmo)};
  RstRcvPck(p);
  std::vector<TRcvEff> e{Val(TeRcvEff::ShwSeq, p.PckSeq)};
  if (p.PckOrg == GcPckOrgOwn) {
    // Our own packet coming back: not dispatched.
    e.push_back(Eff(TeRcvEff::RstTmo));
    return e;
  }
  FbRbt = true;
  e.push_back(Eff(TeRcvEff::LnkUp));
  e.push_back(Eff(TeRcvEff::PrcMsg));
  std::vector<TRcvEff> d = DspRcvPck(p);
  e.insert(e.end(), std::make_move_iterator(d.begin()), std::make_move_iterator(d.end()));
  return e;
}

namespace {
bool Rpl(TeRcvEff k) {
  switch (k) {
    case TeRcvEff::RstTmo:
    case TeRcvEff::ShwSeq:
    case TeRcvEff::LnkUp:
    case TeRcvEff::PrcMsg:
    case TeRcvEff::ShwMea1:
    case TeRcvEff::ShwMea2:
    case TeRcvEff::SetLstErr:
    case TeRcvEff::RunAdr: return true;
    default: return false;
  }
}
bool AllRpl(const std::vector<TRcvEff>& e) {
  return std::all_of(e.begin(), e.end(), [](const TRcvEff& x) { return Rpl(x.Knd); });
}
}  // namespace

bool MrgRcvEff(std::vector<TRcvEff>& into, const std::vector<TRcvEff>& add) {
  if (!AllRpl(into) || !AllRpl(add)) return false;
  for (const TRcvEff& e : add) {
    auto it = std::find_if(into.begin(), into.end(), [&](const TRcvEff& x) { return x.Knd == e.Knd; });
    if (it != into.end())
      *it = e;
    else
      into.push_back(e);
  }
  return true;
}
