#include "sim/SimRbt.h"

#include <algorithm>
#include <cstdio>

#include "translator/InsAndTkn.h"
#include "translator/SarAndTkn.h"
#include "translator/SarTkn.h"

namespace {

std::string Hex2(unsigned v) {
  char b[8];
  std::snprintf(b, sizeof b, "0x%02X", v & 0xFFu);
  return b;
}

// Bytes that a construct of the stream takes, counted from its first token.
int CnsLen(std::uint8_t t) {
  switch (t) {
    case IT_IFF: return 3;
    case IT_DLY:
    case IT_GTO:
    case IT_BYT: return 2;
    case IT_SPD: return 5;
    default: return 1;
  }
}

}  // namespace

void TSimTknNam::Set(const TSarAndTkn& sat) {
  FTkn.clear();
  FNam.clear();
  for (const TuSarDef& d : sat.GetSarDefs(0)) {
    FTkn.push_back(d.Tkn);
    FNam.push_back(d.Typ + " " + d.Com);
  }
}

std::string TSimTknNam::Nam(std::uint8_t tkn) const {
  for (std::size_t i = 0; i < FTkn.size(); ++i)
    if (FTkn[i] == tkn) return FNam[i];
  return {};
}

TSimRbt::TSimRbt() { FWld.SetSpd(GcDefSpd); }

void TSimRbt::Lod(std::vector<std::uint8_t> stm) {
  if (Running()) Hlt("a new program was uploaded");
  FStm = std::move(stm);
  FbHasPgm = true;
  FRec.clear();
  FiRecDrp = 0;
  FWhy = {};
  // The routine begins after the first 0xAC that stands where a construct
  // begins (a value byte may equal 0xAC too).
  FiSwiAdr = -1;
  for (std::size_t a = 0; a < FStm.size(); a += static_cast<std::size_t>(CnsLen(FStm[a]))) {
    if (FStm[a] == IT_SWI) {
      FiSwiAdr = static_cast<int>(a) + 1;
      break;
    }
  }
}

bool TSimRbt::Run() {
  if (!FbHasPgm) {
    Evt("run refused: no program has been uploaded", true);
    return false;
  }
  if (FStm.empty()) {
    Evt("run refused: the uploaded program is empty", true);
    return false;
  }
  FeSte = TeSte::Run;
  FiPc = 0;
  FiNxtIns = FiNow;
  FiBsy = 0;
  FiBckJmp = -1;
  FbInSwi = FbSwiPnd = false;
  FbStpWhl = FbTrn = false;
  FWld.SetWhl(TeWhl::Stp);
  FWld.SetSpd(GcDefSpd);
  FbPau = FbStp = FbToEnd = false;
  FiSkpBrk = -1;
  FWhy = {};
  FRec.clear();
  FiRecDrp = 0;
  FbRecOn = true;
  RecAdd(-1);
  Evt("program started");
  return true;
}

void TSimRbt::Hlt(const std::string& why) {
  if (!Running()) return;
  FeSte = TeSte::Idl;
  FbInSwi = FbSwiPnd = false;
  FWld.SetWhl(TeWhl::Stp);
  EndRun(TeSimWhy::Hlt, -1, why);
  Evt("program halted: " + why);
}

void TSimRbt::Evt(const std::string& txt, bool flt) {
  if (!FOnTrc) return;
  TuSimTrc t;
  t.Tim = FiNow;
  t.Txt = txt;
  t.Flt = flt;
  FOnTrc(t);
}

void TSimRbt::Trc(int adr, const std::string& mne, const std::string& txt) {
  FiLstAdr = adr;
  if (FOnExe) FOnExe(adr);
  if (!FOnTrc) return;
  TuSimTrc t;
  t.Tim = FiNow;
  t.Adr = adr;
  t.Mne = mne;
  t.Txt = txt;
  FOnTrc(t);
}

void TSimRbt::Flt(TeRbtFlt knd, const std::string& why) {
  FeSte = TeSte::Idl;
  FbInSwi = FbSwiPnd = false;
  FWld.SetWhl(TeWhl::Stp);
  EndRun(TeSimWhy::Flt, FiPc, why);
  Evt("fault at address " + std::to_string(FiPc) + ": " + why + "; program stopped", true);
  if (FOnFlt) FOnFlt(FiPc, knd);
}

void TSimRbt::AdvTo(TSimTim t) {
  // A moving robot is recorded at least every GcRecIvl.
  const auto smp = [this] { return FbRecOn && FWld.Whl() != TeWhl::Stp; };
  while (FiNow < t) {
    TSimTim nxt = t;
    if (FeSte == TeSte::Run && !FbPau) nxt = std::min(nxt, std::max(FiNxtIns, FiNow));
    if (FeSte == TeSte::Wai && !FbPau) nxt = std::min(nxt, std::max(FiWaiEnd, FiNow));
    if (smp()) nxt = std::min(nxt, std::max(FiRecNxt, FiNow));
    FWld.Adv(static_cast<double>(nxt - FiNow) / GcSimSec);
    FiNow = nxt;
    if (FeSte == TeSte::Wai && !FbPau && FiNow >= FiWaiEnd) EndWai();
    // Instructions take no time of their own beyond GcInsTim, so a run of
    // them at one instant cannot happen; each one is followed by a step.
    if (FeSte == TeSte::Run && !FbPau && FiNow >= FiNxtIns && !DbgHld()) {
      FiLstAdr = -1;
      Exe();
      FiSkpBrk = -1;
      FbStpDon = FbStp;
      if (FbRecOn) RecAdd(FiLstAdr);
      if (FeSte == TeSte::Run) FiNxtIns = FiNow + GcInsTim;
    }
    if (smp() && FiNow >= FiRecNxt) RecAdd(-1);
  }
  // Whatever falls due exactly at t.
  if (FeSte == TeSte::Wai && !FbPau && FiNow >= FiWaiEnd) EndWai();
}

void TSimRbt::EndWai() {
  FeSte = TeSte::Run;
  FiNxtIns = FiNow;
  if (FbStpWhl) {
    FWld.SetWhl(TeWhl::Stp);
    FbStpWhl = false;
  }
  if (FbTrn) {
    FWld.SetHdg(FdTrnHdg);
    FbTrn = false;
  }
}

void TSimRbt::Wai(TSimTim dur, const std::string& what) {
  (void)what;
  FiBsy = 0;
  FiBckJmp = -1;
  FiWaiAdr = FiLstAdr;
  FeSte = TeSte::Wai;
  FiWaiEnd = FiNow + std::max<TSimTim>(dur, 0);
}

// The byte off places after the program counter (Need has checked that it
// is there; 0 past the end).
std::uint8_t TSimRbt::Arg(int off) const {
  const int a = FiPc + off;
  return AdrOk(a) ? FStm[static_cast<std::size_t>(a)] : 0;
}

std::string TSimRbt::TknNam(std::uint8_t t) const {
  std::string n = FNam.Nam(t);
  return n.empty() ? Hex2(t) : n;
}

bool TSimRbt::Bmp(bool lft) const { return BmpUsr(lft) || FWld.BmpWal(lft); }

bool TSimRbt::SnsVal(std::uint8_t t, bool& ok) const {
  ok = true;
  const bool bl = Bmp(true), br = Bmp(false);
  const bool ll = Lin(true), lr = Lin(false);
  switch (t) {
    case ST_TRK_ON: return FbTrkLed;
    case ST_TRK_OFF: return !FbTrkLed;
    case ST_BMP_LFT: return bl;
    case ST_BMP_RGT: return br;
    case ST_BMP_BTH: return bl && br;
    case ST_BMP_NON: return !bl && !br;
    case ST_LIN_LFT: return ll;
    case ST_LIN_RGT: return lr;
    case ST_LIN_BTH: return ll && lr;
    case ST_LIN_NON: return !ll && !lr;
    case ST_LGT_DRK: return Drk();
    case ST_LGT_BRT: return !Drk();
    default:
      if (t >= ST_SWI_ON && t <= ST_SWI_LST) {
        const bool on = Swi((t - ST_SWI_ON) / 2);
        return (t & 1) ? !on : on;
      }
      ok = false;
      return false;
  }
}

// Whether a led of that mode is lit now; lft: the left one of a pair.
bool TSimRbt::LedLit(TeLed mod, bool lft) const {
  const TSimTim ms = (FiNow / 1000) % 1000;
  switch (mod) {
    case TeLed::On: return true;
    case TeLed::Blk: return ms < 500;           // 1 Hz, half on
    case TeLed::Alt: return lft == (ms < 500);  // left and right in turn
    case TeLed::Fls: return ms < 100;           // a short flash every second
    default: return false;
  }
}

bool TSimRbt::SysLit() const { return LedLit(FeSysLed, true); }

bool TSimRbt::BckLit(bool lft) const { return LedLit(FeBckLed, lft); }

void TSimRbt::SetSwi(int idx, bool on) {
  if (idx < 0 || idx > 5) return;
  const auto bit = static_cast<std::uint8_t>(1u << idx);
  const bool was = FbySwi & bit;
  FbySwi = static_cast<std::uint8_t>(on ? FbySwi | bit : FbySwi & ~bit);
  Evt("switch " + std::to_string(idx + 1) + (on ? " on" : " off"));
  if (!on || was) return;
  FbySwiPrs |= static_cast<std::uint8_t>(0x20u >> idx);
  if (!Running() || FiSwiAdr < 0) return;
  if (FbInSwi || FbPau) {
    if (!FbSwiPnd)
      Evt(FbInSwi ? "switch press remembered until the interrupt routine returns"
                  : "switch press remembered until the program goes on");
    FbSwiPnd = true;
    return;
  }
  EntSwi();
}

std::uint8_t TSimRbt::TakSwiPrs() {
  const std::uint8_t b = FbySwiPrs;
  FbySwiPrs = 0;
  return b;
}

void TSimRbt::EntSwi() {
  FiRetPc = FiPc;
  FeRetSte = FeSte;
  FiRetWai = FeSte == TeSte::Wai ? std::max<TSimTim>(FiWaiEnd - FiNow, 0) : 0;
  FiRetWaiAdr = FiWaiAdr;
  // A drive of a distance or a turn belongs to the main program: it waits
  // with its clock for the routine, so that it still covers its distance or
  // angle, and the routine's own waits do not end it.
  FbRetStpWhl = FbStpWhl;
  FbRetTrn = FbTrn;
  FdRetTrnHdg = FdTrnHdg;
  FeRetWhl = FWld.Whl();
  if (FbStpWhl) FWld.SetWhl(TeWhl::Stp);
  FbStpWhl = FbTrn = false;
  FbInSwi = true;
  FiPc = FiSwiAdr;
  FeSte = TeSte::Run;
  FiNxtIns = FiNow;
  Evt("switch interrupt: routine entered at address " + std::to_string(FiSwiAdr) + ", return to address " +
      std::to_string(FiRetPc));
}

void TSimRbt::SetBmpUsr(bool lft, bool prs) {
  (lft ? FbBmpUsrL : FbBmpUsrR) = prs;
  Evt(std::string(prs ? "press" : "release") + " bumper " + (lft ? "left" : "right"));
}

void TSimRbt::SetLgt(double pct) {
  FdLgt = std::clamp(pct, 0.0, 100.0);
  Evt("room light " + std::to_string(static_cast<int>(FdLgt + 0.5)) + " %");
}

void TSimRbt::Exe() {
  if (!AdrOk(FiPc)) {
    Flt(TeRbtFlt::PstEnd, "the program runs past its end");
    return;
  }
  if (++FiBsy > GcMaxBsyIns) {
    // The loop is told by the jump that closes it, not by where the count ran out.
    if (FiBckJmp >= 0) FiPc = FiBckJmp;
    Flt(TeRbtFlt::BsyLop, std::to_string(GcMaxBsyIns) + " instructions without a Delay, a motion or a wait");
    return;
  }
  const int adr = FiPc;
  const std::uint8_t t = FStm[static_cast<std::size_t>(adr)];
  static const TInsTknTbl tbl;
  const std::string mne = tbl.GetTknMne(t);
  if (ExeIns(adr, t, mne)) return;
  if (!SarIsAct(t)) {
    Flt(TeRbtFlt::UnkTkn, mne.empty() ? "unknown token " + Hex2(t) : "token " + Hex2(t) + " (" + mne + ") cannot be executed");
    return;
  }
  ExeAct(adr, t, mne);
}

bool TSimRbt::Need(int adr, int n, const std::string& mne) {
  for (int i = 1; i <= n; ++i)
    if (!AdrOk(adr + i)) {
      Flt(TeRbtFlt::PstEnd, "the " + mne + " instruction is cut off by the end of the program");
      return false;
    }
  return true;
}

void TSimRbt::Jmp(int adr, const std::string& mne, std::uint8_t to, const std::string& txt) {
  if (!AdrOk(to)) {
    Flt(TeRbtFlt::JmpOut, "jump to address " + std::to_string(to) + ", outside the program of " + std::to_string(FStm.size()) +
        " bytes");
    return;
  }
  Trc(adr, mne, txt);
  if (to <= adr) FiBckJmp = adr;
  FiPc = to;
}

bool TSimRbt::ExeIns(int adr, std::uint8_t t, const std::string& mne) {
  std::uint8_t a = 0;
  switch (t) {
    case IT_STA:
      Trc(adr, mne, adr != 0 ? "start marker" : "start");
      FiPc = adr + 1;
      return true;
    case IT_STO:
      Trc(adr, mne, "stop: program complete");
      FeSte = TeSte::Idl;
      FbInSwi = FbSwiPnd = false;
      FWld.SetWhl(TeWhl::Stp);
      EndRun(TeSimWhy::Cpl, adr, {});
      if (FOnCpl) FOnCpl();
      return true;
    case IT_IFF: ExeIff(adr, mne); return true;
    case IT_GTO:
      if (!Need(adr, 1, mne)) return true;
      a = Arg(1);
      Jmp(adr, mne, a, "goto " + std::to_string(a));
      return true;
    case IT_LBL:
      Trc(adr, mne, "label (skipped)");
      FiPc = adr + 1;
      return true;
    case IT_DLY:
      if (!Need(adr, 1, mne)) return true;
      a = Arg(1);
      Trc(adr, mne, "delay " + std::to_string(a / 10) + "." + std::to_string(a % 10) + " s");
      FiPc = adr + 2;
      Wai(static_cast<TSimTim>(a) * GcSimSec / 10, "delay");
      return true;
    case IT_SPD: ExeSpd(adr, mne); return true;
    case IT_SWI:
      Trc(adr, mne, "switch-interrupt routine marker");
      FiPc = adr + 1;
      return true;
    case IT_RTI: ExeRti(adr, mne); return true;
    case IT_BYT:
      if (!Need(adr, 1, mne)) return true;
      a = Arg(1);
      Trc(adr, mne, "byte argument " + std::to_string(a) + " without a command (skipped)");
      FiPc = adr + 2;
      return true;
    default: return false;
  }
}

void TSimRbt::ExeIff(int adr, const std::string& mne) {
  if (!Need(adr, 2, mne)) return;
  std::uint8_t a = 0, b = 0;
  a = Arg(1);
  b = Arg(2);
  bool ok = false;
  const bool v = SnsVal(a, ok);
  if (!ok) {
    Flt(TeRbtFlt::UnkTkn, "unknown sensor token " + Hex2(a) + " in the If condition");
    return;
  }
  if (v) {
    Trc(adr, mne, TknNam(a) + ": true, then branch at " + std::to_string(adr + 3));
    FiPc = adr + 3;
  } else {
    Jmp(adr, mne, b, TknNam(a) + ": false, else branch at " + std::to_string(b));
  }
}

void TSimRbt::ExeSpd(int adr, const std::string& mne) {
  if (!Need(adr, 4, mne)) return;
  std::uint8_t m1 = 0, a = 0, m2 = 0, b = 0;
  m1 = Arg(1);
  a = Arg(2);
  m2 = Arg(3);
  b = Arg(4);
  if (m1 != IT_BYT || m2 != IT_BYT) {
    Flt(TeRbtFlt::SpdArg, "engine speed without its two byte arguments");
    return;
  }
  // 200 / byte gives cm/s; 0 stands for the top speed.
  const double l = a ? 200.0 / a : 200.0, r = b ? 200.0 / b : 200.0;
  FWld.SetSpd((l + r) / 2);
  char buf[64];
  std::snprintf(buf, sizeof buf, "engine speed %.1f cm/s", (l + r) / 2);
  Trc(adr, mne, buf);
  FiPc = adr + 5;
}

void TSimRbt::ExeRti(int adr, const std::string& mne) {
  if (!FbInSwi) {
    Flt(TeRbtFlt::RtiOut, "return from interrupt outside the switch-interrupt routine");
    return;
  }
  Trc(adr, mne, "return to address " + std::to_string(FiRetPc));
  FbInSwi = false;
  FiPc = FiRetPc;
  if (FeRetSte == TeSte::Wai) {
    FeSte = TeSte::Wai;
    FiWaiEnd = FiNow + FiRetWai;
    FiWaiAdr = FiRetWaiAdr;
  }
  if (FbRetStpWhl) {
    FbStpWhl = true;
    FbTrn = FbRetTrn;
    FdTrnHdg = FdRetTrnHdg;
    FWld.SetWhl(FeRetWhl);
  }
  if (FbSwiPnd) {
    FbSwiPnd = false;
    Evt("remembered switch press");
    EntSwi();
  }
}

void TSimRbt::ExeAct(int adr, std::uint8_t t, const std::string& mne) {
  const std::string nam = TknNam(t);
  FiPc = adr + 1;
  switch (t) {
    case ST_DRV_STP:
      FWld.SetWhl(TeWhl::Stp);
      Trc(adr, Hex2(t), nam);
      return;
    case ST_DRV_FWD:
    case ST_DRV_REV: ExeDrv(adr, t, mne, nam); return;
    case ST_TRN_LFT:
    case ST_TRN_RGT: ExeTrn(adr, t, nam); return;
    case ST_SPN_LFT:
    case ST_SPN_RGT:
      FiBsy = 0;
      FbStpWhl = false;
      FWld.SetWhl(t == ST_SPN_RGT ? TeWhl::SpnRgt : TeWhl::SpnLft);
      Trc(adr, Hex2(t), nam + ", on until the next driving command");
      return;
    default:
      SetLed(t);
      Trc(adr, Hex2(t), nam);
      return;
  }
}

void TSimRbt::ExeDrv(int adr, std::uint8_t t, const std::string& mne, const std::string& nam) {
  // A distance comes as a byte argument.
  int dst = 0;
  if (AdrOk(adr + 1) && FStm[static_cast<std::size_t>(adr + 1)] == IT_BYT) {
    if (!Need(adr, 2, mne)) return;
    dst = FStm[static_cast<std::size_t>(adr + 2)];
    FiPc = adr + 3;
  }
  const double spd = FWld.Spd();
  FiBsy = 0;
  FbStpWhl = false;
  FWld.SetWhl(t == ST_DRV_FWD ? TeWhl::Fwd : TeWhl::Rev);
  if (dst == 0) {
    Trc(adr, Hex2(t), nam + ", on until the next driving command");
    return;
  }
  const auto dur = static_cast<TSimTim>(dst / spd * GcSimSec + 0.5);
  char buf[96];
  std::snprintf(buf, sizeof buf, "%s %d cm (%.2f s)", nam.c_str(), dst, static_cast<double>(dur) / GcSimSec);
  Trc(adr, Hex2(t), buf);
  Wai(dur, "drive");
  FbStpWhl = true;
}

void TSimRbt::ExeTrn(int adr, std::uint8_t t, const std::string& nam) {
  const double rat = FWld.SpnRat();
  const auto dur = static_cast<TSimTim>(90.0 / rat * GcSimSec + 0.5);
  FdTrnHdg = FWld.Hdg() + (t == ST_TRN_RGT ? 90.0 : -90.0);
  FWld.SetWhl(t == ST_TRN_RGT ? TeWhl::SpnRgt : TeWhl::SpnLft);
  char buf[96];
  std::snprintf(buf, sizeof buf, "%s 90 degrees (%.2f s)", nam.c_str(), static_cast<double>(dur) / GcSimSec);
  Trc(adr, Hex2(t), buf);
  Wai(dur, "turn");
  FbStpWhl = true;
  FbTrn = true;
}

void TSimRbt::SetLed(std::uint8_t t) {
  switch (t) {
    case ST_SYS_ON: FeSysLed = TeLed::On; break;
    case ST_SYS_OFF: FeSysLed = TeLed::Off; break;
    case ST_SYS_BLK: FeSysLed = TeLed::Blk; break;
    case ST_SYS_FLS: FeSysLed = TeLed::Fls; break;
    case ST_BCK_ON: FeBckLed = TeLed::On; break;
    case ST_BCK_OFF: FeBckLed = TeLed::Off; break;
    case ST_BCK_BLK: FeBckLed = TeLed::Blk; break;
    case ST_BCK_ALT: FeBckLed = TeLed::Alt; break;
    case ST_TRK_ON: FbTrkLed = true; break;
    case ST_TRK_OFF: FbTrkLed = false; break;
    default: break;
  }
}
