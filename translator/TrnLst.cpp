#include "translator/TrnLst.h"

#include <cstdio>

#include "translator/InsAndTkn.h"
#include "translator/PgmDsc.h"

namespace {

std::string OneLin(std::string s) {
  for (char& c : s)
    if (c == '\n' || c == '\r') c = ' ';
  return s;
}

std::string Hex2(unsigned v) {
  char b[4];
  std::snprintf(b, sizeof b, "%02X", v & 0xFFu);
  return b;
}

std::string PadL(const std::string& s, std::size_t w) { return s.size() >= w ? s : std::string(w - s.size(), ' ') + s; }
std::string PadR(const std::string& s, std::size_t w) { return s.size() >= w ? s : s + std::string(w - s.size(), ' '); }

}  // namespace

std::string TrnVioDsc(const TuPgmVio& vio) {
  return OneLin(vio.Cap) + " at column " + std::to_string(vio.Col + 1) + ", row " + std::to_string(vio.Row + 1);
}

std::string FmtTrnStm(const TInsAndTkn& trn) {
  std::string s;
  for (std::size_t i = 0; i < trn.FpTsmTknLst.size(); ++i) s += (i ? " " : "") + Hex2(trn.FpTsmTknLst[i]);
  return s;
}

std::string FmtTrnLst(const TInsAndTkn& trn) {
  std::string out = "addr  byte  mne  target  vio\n";
  const auto& recs = trn.FpVioTknLst;
  const auto& tsm = trn.FpTsmTknLst;
  for (std::size_t i = 0; i < tsm.size(); ++i) {
    std::string mne = "-", tgt, vio;
    if (i < recs.size()) {
      const TuExtComTkn& r = recs[i];
      if (!r.Mne.empty()) mne = r.Mne;
      if (!r.Sar && (r.Tkn == IT_GTO || r.Tkn == IT_THN)) tgt = std::to_string(r.TgtIdx);
      const auto& vios = trn.PgmDsc().Vios;
      if (InRng(r.VioIdx, vios.size()))
        vio = TrnVioDsc(vios[static_cast<std::size_t>(r.VioIdx)]);
    }
    out += PadL(std::to_string(i), 4) + "  " + PadR(Hex2(tsm[i]), 4) + "  " + PadR(mne, 3) + "  " + PadL(tgt, 6) +
           "  " + vio + "\n";
  }
  return out;
}
