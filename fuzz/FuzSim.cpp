// Fuzz target: the simulated robot as the tool's side of the line drives it.
// Bytes from the line go into the robot's receive path at paced times of a
// fake clock; an upload frame among them loads its data as a token stream,
// which then runs for a bounded stretch of model time while the user's
// switches, bumpers and light change.
//
// Input: four setting bytes, then the bytes of the line.
//   s0  bit 0: the line goes down and up again half-way through the bytes
//       bit 1: a long run afterwards (12 s of model time instead of 2 s)
//       bit 2: a "run" frame of its own after the bytes
//   s1  gap between line bytes: 0 the wire's own 1/240 s, else s1 * 4 ms
//       (the whole byte phase lasts at most 10 s)
//   s2  bit k: the chosen switch goes on at the k-th eighth of the run
//   s3  bits 0-2 the switch (mod 6), bit 3/4 left/right bumper pressed
//       during the run, bits 5-7 the room light in steps of 14 %
//
// Besides crashes and sanitizer reports it stops on: a byte from the robot
// outside a well-formed frame, a frame with the tool's origin or of a kind
// the robot never sends, the body outside the walls, or a program counter
// outside the program while it runs.
#include <cmath>
#include <cstdlib>
#include <vector>

#include "FuzSup.h"
#include "link/PckPrt.h"
#include "messages/TxtFil.h"
#include "sim/SimCmd.h"
#include "sim/SimLnk.h"
#include "sim/SimRbt.h"
#include "translator/SarAndTkn.h"

namespace {

constexpr TSimWal GcWirGap = 1000000 / 240;
constexpr TSimWal GcBytPhsMax = 10 * 1000000;

const TSarAndTkn& TknDef() {
  static const TSarAndTkn* const s = [] {
    auto* r = new TSarAndTkn(nullptr);
    if (!r->LodTknFil(TESSARO_DATA_DIR "/ExtComTkn.sys")) std::abort();
    return r;
  }();
  return *s;
}

bool KnwMsg(std::uint8_t cls, std::uint8_t cod) {
  switch (cls) {
    case MC_CTL: return cod == MK_STB || cod == MK_LNK_EST;
    case MC_MEA: return cod == MK_MEA_1 || cod == MK_MEA_2;
    case MC_STS: return cod == MK_TRF_CMP || cod == MK_WRK || cod == MK_PGM_CMP;
    case MC_SIM: return cod == MK_SIM_EXE || cod == MK_SIM_FLT;
    default: return false;
  }
}

// The tool's end of the line: reads what the robot sent as the tool does.
struct TFuzTol {
  TuRcvPck P;
  TFuzTol() { RstRcvPck(P); }
  void Tak(std::deque<std::uint8_t>& out) {
    for (std::uint8_t b : out) {
      if (P.PckSte == PS_STA && b != GcPckSta) std::abort();  // garbage from the robot
      const std::uint8_t was = P.PckSte;
      PrsRcvChr(P, b);
      if (was == PS_DAT && P.PckSte == PS_STA) std::abort();  // a frame without its end byte
      if (P.PckSte == PS_CPL) {
        if (P.PckOrg == GcPckOrgOwn || !KnwMsg(P.MsgCls, P.MsgCod)) std::abort();
        if ((P.MsgCls == MC_MEA || P.MsgCod == MK_SIM_FLT) && P.DatIdx != 2) std::abort();
        RstRcvPck(P);
      }
    }
    out.clear();
  }
};

void ChkRbt(const TSimRbt& r) {
  const TSimWld& w = r.Wld();
  if (!(w.X() >= GcRbtRad - 1e-9 && w.X() <= GcArnWid - GcRbtRad + 1e-9)) std::abort();
  if (!(w.Y() >= GcRbtRad - 1e-9 && w.Y() <= GcArnHgt - GcRbtRad + 1e-9)) std::abort();
  if (!(w.Hdg() >= 0 && w.Hdg() < 360)) std::abort();
  if (r.Running() && (r.Pc() < 0 || r.Pc() > static_cast<int>(r.Pgm().size()))) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzSetPlt();
  if (size < 4) return 0;
  const std::uint8_t s0 = data[0], s1 = data[1], s2 = data[2], s3 = data[3];
  data += 4;
  size -= 4;

  TSimRbt rbt;
  rbt.TknNam().Set(TknDef());
  TSimLnk lnk(rbt);
  TFuzTol tol;
  // The trace as the headless simulator prints it, for the first lines.
  int trc = 0;
  rbt.FOnTrc = [&trc](const TuSimTrc& t) {
    if (trc++ < 64 && FmtTrc(t).empty()) std::abort();
  };

  // The model runs on the wall clock, one to one.
  TSimWal now = 0;
  auto stp = [&](TSimWal to) {
    rbt.AdvTo(std::max(rbt.Now(), to));
    lnk.Tck(to);
    now = to;
    tol.Tak(lnk.Out());
    ChkRbt(rbt);
  };

  lnk.SetUp(true, now);
  stp(lnk.FiStbDly);
  rbt.SetLgt(((s3 >> 5) & 7) * 14.0);

  TSimWal gap = s1 ? static_cast<TSimWal>(s1) * 4000 : GcWirGap;
  if (size) gap = std::min<TSimWal>(gap, GcBytPhsMax / static_cast<TSimWal>(size));
  for (std::size_t i = 0; i < size; ++i) {
    if ((s0 & 1) && i == size / 2) {
      lnk.SetUp(false, now);
      stp(now + 1000);
      lnk.SetUp(true, now);
    }
    stp(now + gap);
    lnk.RcvByt(data[i], now);
    tol.Tak(lnk.Out());
    ChkRbt(rbt);
  }
  if (s0 & 4) {
    std::vector<std::uint8_t> f;
    if (!BldPck(0, MC_PGM, MK_RUN, {}, f)) std::abort();
    for (std::uint8_t b : f) {
      stp(now + GcWirGap);
      lnk.RcvByt(b, now);
    }
  }

  // The run, in steps of 50 ms, with the user at the switches and bumpers.
  const TSimWal run = (s0 & 2) ? 12 * 1000000 : 2 * 1000000;
  const int stps = static_cast<int>(run / 50000);
  const int swi = (s3 & 7) % 6;
  if (s3 & 0x08) rbt.SetBmpUsr(true, true);
  if (s3 & 0x10) rbt.SetBmpUsr(false, true);
  for (int k = 0; k < stps; ++k) {
    const bool on = (s2 >> (k * 8 / stps)) & 1;
    if (on != rbt.Swi(swi)) rbt.SetSwi(swi, on);
    stp(now + 50000);
  }
  rbt.FOnTrc = nullptr;
  return 0;
}
