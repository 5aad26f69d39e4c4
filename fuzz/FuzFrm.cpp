// Fuzz target: bytes from the line through the frame parser and the dispatch
// of complete frames, as the packet receive handler takes them one at a time.
// The input is also framed and parsed back, which must give what was framed.
#include <cstdlib>
#include <vector>

#include "FuzSup.h"
#include "link/PckPrt.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzSetPlt();
  TRcvPrs p;
  for (std::size_t i = 0; i < size; ++i) {
    const std::vector<TRcvEff> eff = p.Put(data[i]);
    if (p.Pck().PckSte == PS_CPL) std::abort();  // the handler takes every complete frame
    // A frame of the robot's is dispatched: its sequence, the link, the events.
    if (p.RbtFrm() && (eff.size() < 3 || eff[0].Knd != TeRcvEff::ShwSeq || eff[1].Knd != TeRcvEff::LnkUp)) std::abort();
    for (const TRcvEff& e : eff)
      if (static_cast<unsigned>(e.Knd) > static_cast<unsigned>(TeRcvEff::UplCfm)) std::abort();
  }
  // Round trip: the first bytes give the header, the rest up to 60 the data.
  if (size >= 3) {
    const std::vector<std::uint8_t> dat(data + 3, data + std::min<std::size_t>(size, 3 + GcRcvDatMax));
    std::vector<std::uint8_t> frm;
    if (!BldPck(data[0], data[1], data[2], dat, frm)) std::abort();
    TuRcvPck q;
    RstRcvPck(q);
    for (std::uint8_t b : frm) PrsRcvChr(q, b);
    if (q.PckSte != PS_CPL || q.PckSeq != data[0] || q.MsgCls != data[1] || q.MsgCod != data[2] ||
        q.PckOrg != GcPckOrgOwn || q.DatIdx != dat.size())
      std::abort();
    for (std::size_t i = 0; i < dat.size(); ++i)
      if (q.DatBuf[i] != dat[i]) std::abort();
  }
  return 0;
}
