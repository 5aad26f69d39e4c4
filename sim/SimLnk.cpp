#include "sim/SimLnk.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

void TSimPac::Psh(std::uint8_t b, TSimWal now) {
  if (!FbOn) {
    FQue.push_back({now, b});
    return;
  }
  // A line that has been idle starts at now; otherwise the byte follows the
  // last one. The fraction of a microsecond is carried on.
  const double beg = std::max(static_cast<double>(now), FdLst);
  FdLst = beg + 1e6 / FdRat;
  FQue.push_back({static_cast<TSimWal>(std::ceil(FdLst - 1e-6)), b});
}

bool TSimPac::Pop(TSimWal now, std::uint8_t& b) {
  if (FQue.empty() || FQue.front().Due > now) return false;
  b = FQue.front().B;
  FQue.pop_front();
  return true;
}

TSimWal TSimPac::RunDue(TSimWal win) const {
  if (FQue.empty()) return -1;
  const TSimWal lim = FQue.front().Due + win;
  TSimWal t = FQue.front().Due;
  for (const TuEnt& e : FQue) {
    if (e.Due > lim) break;
    t = e.Due;
  }
  return t;
}

namespace {
std::string Hx(unsigned v) {
  char b[8];
  std::snprintf(b, sizeof b, "0x%02X", v & 0xFFu);
  return b;
}
}  // namespace

TSimLnk::TSimLnk(TSimRbt& rbt) : FRbt(rbt) {
  RstRcvPck(FPck);
  FRbt.FOnExe = [this](int adr) {
    FiExePnd = adr;
    SndExe();
  };
  // A paused program shows where it stands as an executed address would.
  FRbt.FOnPau = FRbt.FOnExe;
  // An executed address still waiting for room is dropped when the program
  // ends: sent after the end, it would show the program as running again.
  FRbt.FOnCpl = [this] {
    FiExePnd = -1;
    if (FbUp) Snd(MC_STS, MK_PGM_CMP);
  };
  // The tool learns that the program has ended, and why, in a frame that
  // only the simulated robot sends.
  FRbt.FOnFlt = [this](int adr, TeRbtFlt knd) {
    FiExePnd = -1;
    if (FbUp) Snd(MC_SIM, MK_SIM_FLT, {static_cast<std::uint8_t>(adr), static_cast<std::uint8_t>(knd)});
  };
}

void TSimLnk::SndExe() {
  if (FiExePnd < 0 || !FbUp) return;
  if (FOut.size() + (FOutBkl ? FOutBkl() : 0) >= GcExeBkl) return;
  Snd(MC_SIM, MK_SIM_EXE, {static_cast<std::uint8_t>(FiExePnd)});
  FiExePnd = -1;
}

void TSimLnk::SetUp(bool up, TSimWal now) {
  if (up == FbUp) return;
  FbUp = up;
  RstRcvPck(FPck);
  FDat.clear();
  if (up) {
    FbStbPnd = true;
    FiStbAt = now + FiStbDly;
    FiNxtMea = FiStbAt + GcMeaItv;
    FbMeaSnt = FbMea2Pnd = false;
    FRbt.Evt("link up");
  } else {
    // The standby still pending is of no account: a link that is down sends
    // nothing, and the next one that comes up starts its own.
    FiExePnd = -1;
    FOut.clear();
    FRbt.Evt("link down");
  }
}

void TSimLnk::Snd(std::uint8_t cls, std::uint8_t cod, const std::vector<std::uint8_t>& dat) {
  std::vector<std::uint8_t> f;
  if (!BldPck(FbySeq, cls, cod, dat, f)) return;
  ++FbySeq;
  f[1] = GcSimOrg;
  FOut.insert(FOut.end(), f.begin(), f.end());
}

std::uint16_t TSimLnk::MeaVal1() const {
  // A 10-bit reading of the light sensor.
  return static_cast<std::uint16_t>(std::lround(FRbt.LgtVal() * 1023.0 / 100.0));
}

std::uint16_t TSimLnk::MeaVal2(std::uint8_t swiPrs) const {
  // Low byte: the switches pressed since the last report (0x20 switch 1 to
  // 0x01 switch 6), 0x40 left and 0x80 right bumper. High byte: 0x01 left and
  // 0x02 right line sensor on the line, 0x04 dark.
  unsigned v = swiPrs & 0x3Fu;
  if (FRbt.Bmp(true)) v |= 0x40;
  if (FRbt.Bmp(false)) v |= 0x80;
  if (FRbt.Lin(true)) v |= 0x100;
  if (FRbt.Lin(false)) v |= 0x200;
  if (FRbt.Drk()) v |= 0x400;
  return static_cast<std::uint16_t>(v);
}

void TSimLnk::Tck(TSimWal now) {
  if (FPck.PckSte != PS_STA && now - FiLstByt >= GcFrmTmo) {
    FRbt.Evt("cut-off frame dropped: no byte for " + std::to_string(GcFrmTmo / 1000) + " ms in the middle of it",
             true);
    RstRcvPck(FPck);
    FDat.clear();
  }
  if (!FbUp) return;
  if (FbStbPnd && now >= FiStbAt) {
    FbStbPnd = false;
    Snd(MC_CTL, MK_STB);
  }
  // Measurement 2 of a report (a late one before the next report).
  const bool rpt2 = FbMea2Pnd && now >= FiMea2At;
  if (rpt2) {
    FbMea2Pnd = false;
    SndMea2();
    FbMeaSnt = true;
  }
  if (!FbStbPnd && now >= FiNxtMea) {
    // Reports that fell behind (a stalled host) are not caught up one by one.
    FiNxtMea = std::max(FiNxtMea + GcMeaItv, now - GcMeaItv + 1);
    // Measurement 2 follows half an interval later: the wire is never busy
    // with both at once, so that a change waits for one frame at most.
    FbMea2Pnd = true;
    FiMea2At = FiNxtMea - GcMeaItv / 2;
    const std::uint16_t v1 = MeaVal1();
    Snd(MC_MEA, MK_MEA_1, {static_cast<std::uint8_t>(v1 & 0xFF), static_cast<std::uint8_t>(v1 >> 8)});
  }
  if (!rpt2 && FbMeaSnt && now >= FiNxtChg && Mea2Chg()) {
    SndMea2();
    FiNxtChg = now + GcMeaChg;
  }
  SndExe();
}

void TSimLnk::SndMea2() {
  const std::uint16_t v2 = MeaVal2(FRbt.TakSwiPrs());
  Snd(MC_MEA, MK_MEA_2, {static_cast<std::uint8_t>(v2 & 0xFF), static_cast<std::uint8_t>(v2 >> 8)});
  FiLstMea2 = v2;
}

bool TSimLnk::Mea2Chg() const { return MeaVal2(FRbt.SwiPrs()) != FiLstMea2; }

TSimWal TSimLnk::NxtTck() const {
  TSimWal t = -1;
  auto mn = [&](TSimWal x) { t = t < 0 ? x : std::min(t, x); };
  if (FPck.PckSte != PS_STA) mn(FiLstByt + GcFrmTmo);
  if (FbUp) mn(FbStbPnd ? FiStbAt : FiNxtMea);
  if (FbUp && FbMea2Pnd) mn(FiMea2At);
  if (FbUp && !FbStbPnd && FbMeaSnt && Mea2Chg()) mn(FiNxtChg);
  return t;
}

void TSimLnk::RcvByt(std::uint8_t b, TSimWal now) {
  Tck(now);
  FiLstByt = now;
  const std::uint8_t was = FPck.PckSte;
  const std::uint8_t cnt = FPck.DatCnt;
  // The robot keeps every data byte itself (a program has up to 255), so the
  // parser's own store of 60 never fills.
  if (was == PS_DAT) FPck.DatIdx = 0;
  PrsRcvChr(FPck, b);
  const std::uint8_t now8 = FPck.PckSte;
  if (was == PS_COD) FDat.clear();
  if (was == PS_DAT && now8 == PS_DAT && FPck.DatCnt != cnt) FDat.push_back(b);
  if (was == PS_STA && now8 == PS_STA) {
    FRbt.Evt("garbled input: byte " + Hx(b) + " outside a frame ignored", true);
  } else if (was == PS_DAT && now8 == PS_STA) {
    FRbt.Evt("garbled frame dropped: byte " + Hx(b) + " where the end byte 0x04 belongs", true);
    FDat.clear();
  } else if (now8 == PS_CPL) {
    RstRcvPck(FPck);
    Dsp();
  }
}

void TSimLnk::Dsp() {
  const std::uint8_t cls = FPck.MsgCls, cod = FPck.MsgCod;
  const std::string frm = "frame " + Hx(cls) + " " + Hx(cod) + " with " + std::to_string(FDat.size()) + " data bytes";
  if (cls == MC_PGM && (cod == MK_UPL || cod == MK_UPR)) {
    FRbt.Evt(std::string(cod == MK_UPL ? "upload" : "upload and run") + ": program of " +
             std::to_string(FDat.size()) + (FDat.size() == 1 ? " byte" : " bytes") + " received");
    FRbt.Lod(FDat);
    Snd(MC_STS, MK_TRF_CMP);
    if (cod == MK_UPR && FRbt.Run()) Snd(MC_STS, MK_WRK);
  } else if (cls == MC_PGM && cod == MK_RUN) {
    FRbt.Evt("run");
    if (FRbt.Running()) FRbt.Hlt("run again from the start");
    if (FRbt.Run()) Snd(MC_STS, MK_WRK);
  } else if (cls == MC_CTL && cod == MK_LNK_CHK) {
    FRbt.Evt("link check");
    Snd(MC_CTL, MK_LNK_EST);
  } else {
    FRbt.Evt("unknown " + frm + " ignored", true);
  }
  FDat.clear();
}
