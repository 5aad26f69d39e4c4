#include "sim/SimRbt.h"

#include <algorithm>
#include <cstdio>

#include "translator/InsAndTkn.h"
#include "translator/SarAndTkn.h"

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

// Driving commands.
constexpr std::uint8_t AT_STP = 0x11, AT_FWD = 0x12, AT_REV = 0x13, AT_TRL = 0x14, AT_TRR = 0x15,
                       AT_SPL = 0x16, AT_SPR = 0x17;

}  // namespace

void TSimTknNam::SetLines(const std::vector<std::string>& lines) {
  FTkn.clear();
  FNam.clear();
  TStrLst fld;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::string& v = lines[i - 1];
    if (v.size() != 4 || v[0] != '0' || v[1] != 'x') continue;
    SplTknLin(lines[i], fld, 8);
    if (fld.size() != 8) continue;
    const auto d = [](char c) {
      c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
      return c <= '9' ? c - '0' : c - 'a' + 10;
    };
    const auto t = static_cast<std::uint8_t>(16 * d(v[2]) + d(v[3]));
    if (std::find(FTkn.begin(), FTkn.end(), t) != FTkn.end()) continue;
    FTkn.push_back(t);
    FNam.push_back(fld[2] + " " + fld[3]);
  }
}

std::string TSimTknNam::Nam(std::uint8_t tkn) const {
  for (std::size_t i = 0; i < FTkn.size(); ++i)
    if (FTkn[i] == tkn) return FNam[i];
  return {};
}

bool SimActTkn(std::uint8_t t) {
  return (t >= 0x11 && t <= 0x17) || (t >= 0x20 && t <= 0x23) || (t >= 0x30 && t <= 0x33) || t == 0x40 ||
         t == 0x41;
}

bool SimSnsTkn(std::uint8_t t) { return t == 0x40 || t == 0x41 || (t >= 0x50 && t <= 0x59) || (t >= 0x60 && t <= 0x6B); }

TSimRbt::TSimRbt() { FWld.SetSpd(GcDefSpd); }

void TSimRbt::Lod(std::vector<std::uint8_t> stm) {
  if (Running()) Hlt("a new program was uploaded");
  FStm = std::move(stm);
  FbHasPgm = true;
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
  FbInSwi = FbSwiPnd = false;
  FbStpWhl = FbTrn = false;
  FWld.SetWhl(TeWhl::Stp);
  FWld.SetSpd(GcDefSpd);
  Evt("program started");
  return true;
}

void TSimRbt::Hlt(const std::string& why) {
  if (!Running()) return;
  FeSte = TeSte::Idl;
  FbInSwi = FbSwiPnd = false;
  FWld.SetWhl(TeWhl::Stp);
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
  if (FOnExe) FOnExe(adr);
  if (!FOnTrc) return;
  TuSimTrc t;
  t.Tim = FiNow;
  t.Adr = adr;
  t.Mne = mne;
  t.Txt = txt;
  FOnTrc(t);
}

void TSimRbt::Flt(const std::string& why) {
  FeSte = TeSte::Idl;
  FbInSwi = FbSwiPnd = false;
  FWld.SetWhl(TeWhl::Stp);
  Evt("fault at address " + std::to_string(FiPc) + ": " + why + "; program stopped", true);
}

void TSimRbt::AdvTo(TSimTim t) {
  while (FiNow < t) {
    TSimTim nxt = t;
    if (FeSte == TeSte::Run) nxt = std::min(nxt, std::max(FiNxtIns, FiNow));
    if (FeSte == TeSte::Wai) nxt = std::min(nxt, std::max(FiWaiEnd, FiNow));
    FWld.Adv(static_cast<double>(nxt - FiNow) / GcSimSec);
    FiNow = nxt;
    if (FeSte == TeSte::Wai && FiNow >= FiWaiEnd) EndWai();
    // Instructions take no time of their own beyond GcInsTim, so a run of
    // them at one instant cannot happen; each one is followed by a step.
    if (FeSte == TeSte::Run && FiNow >= FiNxtIns) {
      Exe();
      if (FeSte == TeSte::Run) FiNxtIns = FiNow + GcInsTim;
    }
  }
  // Whatever falls due exactly at t.
  if (FeSte == TeSte::Wai && FiNow >= FiWaiEnd) EndWai();
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
  FeSte = TeSte::Wai;
  FiWaiEnd = FiNow + std::max<TSimTim>(dur, 0);
}

bool TSimRbt::Arg(int off, std::uint8_t& b) const {
  const int a = FiPc + off;
  if (!AdrOk(a)) return false;
  b = FStm[static_cast<std::size_t>(a)];
  return true;
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
    case 0x40: return FbTrkLed;
    case 0x41: return !FbTrkLed;
    case 0x50: return bl;
    case 0x51: return br;
    case 0x52: return bl && br;
    case 0x53: return !bl && !br;
    case 0x54: return ll;
    case 0x55: return lr;
    case 0x56: return ll && lr;
    case 0x57: return !ll && !lr;
    case 0x58: return Drk();
    case 0x59: return !Drk();
    default:
      if (t >= 0x60 && t <= 0x6B) {
        const bool on = Swi((t - 0x60) / 2);
        return (t & 1) ? !on : on;
      }
      ok = false;
      return false;
  }
}

bool TSimRbt::SysLit() const {
  const TSimTim ms = (FiNow / 1000) % 1000;
  switch (FeSysLed) {
    case TeLed::On: return true;
    case TeLed::Blk: return ms < 500;   // 1 Hz, half on
    case TeLed::Fls: return ms < 100;   // a short flash every second
    default: return false;
  }
}

bool TSimRbt::BckLit(bool lft) const {
  const TSimTim ms = (FiNow / 1000) % 1000;
  switch (FeBckLed) {
    case TeLed::On: return true;
    case TeLed::Blk: return ms < 500;
    case TeLed::Alt: return lft == (ms < 500);  // left and right in turn
    case TeLed::Fls: return ms < 100;
    default: return false;
  }
}

void TSimRbt::SetSwi(int idx, bool on) {
  if (idx < 0 || idx > 5) return;
  const auto bit = static_cast<std::uint8_t>(1u << idx);
  const bool was = FbySwi & bit;
  FbySwi = static_cast<std::uint8_t>(on ? FbySwi | bit : FbySwi & ~bit);
  Evt("switch " + std::to_string(idx + 1) + (on ? " on" : " off"));
  if (!on || was) return;
  FbySwiPrs |= static_cast<std::uint8_t>(0x20u >> idx);
  if (!Running() || FiSwiAdr < 0) return;
  if (FbInSwi) {
    if (!FbSwiPnd) Evt("switch press remembered until the interrupt routine returns");
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
    Flt("the program runs past its end");
    return;
  }
  if (++FiBsy > GcMaxBsyIns) {
    Flt(std::to_string(GcMaxBsyIns) + " instructions without a Delay, a motion or a wait");
    return;
  }
  ++FiInsCnt;
  const int adr = FiPc;
  const std::uint8_t t = FStm[static_cast<std::size_t>(adr)];
  static const TInsTknTbl tbl;
  const std::string mne = tbl.GetTknMne(t);
  std::uint8_t a = 0, b = 0;
  auto need = [&](int n) {
    for (int i = 1; i <= n; ++i)
      if (!AdrOk(adr + i)) {
        Flt("the " + mne + " instruction is cut off by the end of the program");
        return false;
      }
    return true;
  };
  auto jmp = [&](std::uint8_t to, const std::string& txt) {
    if (!AdrOk(to)) {
      Flt("jump to address " + std::to_string(to) + ", outside the program of " + std::to_string(FStm.size()) +
          " bytes");
      return;
    }
    Trc(adr, mne, txt);
    FiPc = to;
  };

  switch (t) {
    case IT_STA:
      if (adr != 0) {
        Trc(adr, mne, "start marker");
      } else {
        Trc(adr, mne, "start");
      }
      FiPc = adr + 1;
      return;
    case IT_STO:
      Trc(adr, mne, "stop: program complete");
      FeSte = TeSte::Idl;
      FbInSwi = FbSwiPnd = false;
      FWld.SetWhl(TeWhl::Stp);
      if (FOnCpl) FOnCpl();
      return;
    case IT_IFF: {
      if (!need(2)) return;
      Arg(1, a);
      Arg(2, b);
      bool ok = false;
      const bool v = SnsVal(a, ok);
      if (!ok) {
        Flt("unknown sensor token " + Hex2(a) + " in the If condition");
        return;
      }
      if (v) {
        Trc(adr, mne, TknNam(a) + ": true, then branch at " + std::to_string(adr + 3));
        FiPc = adr + 3;
      } else {
        jmp(b, TknNam(a) + ": false, else branch at " + std::to_string(b));
      }
      return;
    }
    case IT_GTO:
      if (!need(1)) return;
      Arg(1, a);
      jmp(a, "goto " + std::to_string(a));
      return;
    case IT_LBL:
      Trc(adr, mne, "label (skipped)");
      FiPc = adr + 1;
      return;
    case IT_DLY:
      if (!need(1)) return;
      Arg(1, a);
      Trc(adr, mne, "delay " + std::to_string(a / 10) + "." + std::to_string(a % 10) + " s");
      FiPc = adr + 2;
      Wai(static_cast<TSimTim>(a) * GcSimSec / 10, "delay");
      return;
    case IT_SPD: {
      if (!need(4)) return;
      std::uint8_t m1 = 0, m2 = 0;
      Arg(1, m1);
      Arg(2, a);
      Arg(3, m2);
      Arg(4, b);
      if (m1 != IT_BYT || m2 != IT_BYT) {
        Flt("engine speed without its two byte arguments");
        return;
      }
      // 200 / byte gives cm/s; 0 stands for the top speed.
      const double l = a ? 200.0 / a : 200.0, r = b ? 200.0 / b : 200.0;
      FWld.SetSpd((l + r) / 2);
      char buf[64];
      std::snprintf(buf, sizeof buf, "engine speed %.1f cm/s", (l + r) / 2);
      Trc(adr, mne, buf);
      FiPc = adr + 5;
      return;
    }
    case IT_SWI:
      Trc(adr, mne, "switch-interrupt routine marker");
      FiPc = adr + 1;
      return;
    case IT_RTI: {
      if (!FbInSwi) {
        Flt("return from interrupt outside the switch-interrupt routine");
        return;
      }
      Trc(adr, mne, "return to address " + std::to_string(FiRetPc));
      FbInSwi = false;
      FiPc = FiRetPc;
      if (FeRetSte == TeSte::Wai) {
        FeSte = TeSte::Wai;
        FiWaiEnd = FiNow + FiRetWai;
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
      return;
    }
    case IT_BYT:
      if (!need(1)) return;
      Arg(1, a);
      Trc(adr, mne, "byte argument " + std::to_string(a) + " without a command (skipped)");
      FiPc = adr + 2;
      return;
    default: break;
  }

  if (!SimActTkn(t)) {
    Flt(mne.empty() ? "unknown token " + Hex2(t) : "token " + Hex2(t) + " (" + mne + ") cannot be executed");
    return;
  }

  const std::string nam = TknNam(t);
  FiPc = adr + 1;
  // The driving commands with a distance carry it as a byte argument.
  int dst = 0;
  if ((t == AT_FWD || t == AT_REV) && AdrOk(adr + 1) && FStm[static_cast<std::size_t>(adr + 1)] == IT_BYT) {
    if (!need(2)) return;
    dst = FStm[static_cast<std::size_t>(adr + 2)];
    FiPc = adr + 3;
  }
  const double spd = FWld.Spd();
  switch (t) {
    case AT_STP:
      FWld.SetWhl(TeWhl::Stp);
      Trc(adr, Hex2(t), nam);
      return;
    case AT_FWD:
    case AT_REV:
      FiBsy = 0;
      FbStpWhl = false;
      FWld.SetWhl(t == AT_FWD ? TeWhl::Fwd : TeWhl::Rev);
      if (dst == 0) {
        Trc(adr, Hex2(t), nam + ", on until the next driving command");
      } else {
        const auto dur = static_cast<TSimTim>(dst / spd * GcSimSec + 0.5);
        char buf[96];
        std::snprintf(buf, sizeof buf, "%s %d cm (%.2f s)", nam.c_str(), dst, static_cast<double>(dur) / GcSimSec);
        Trc(adr, Hex2(t), buf);
        Wai(dur, "drive");
        FbStpWhl = true;
      }
      return;
    case AT_TRL:
    case AT_TRR: {
      const double rat = FWld.SpnRat();
      const auto dur = static_cast<TSimTim>(90.0 / rat * GcSimSec + 0.5);
      FdTrnHdg = FWld.Hdg() + (t == AT_TRR ? 90.0 : -90.0);
      FWld.SetWhl(t == AT_TRR ? TeWhl::SpnRgt : TeWhl::SpnLft);
      char buf[96];
      std::snprintf(buf, sizeof buf, "%s 90 degrees (%.2f s)", nam.c_str(), static_cast<double>(dur) / GcSimSec);
      Trc(adr, Hex2(t), buf);
      Wai(dur, "turn");
      FbStpWhl = true;
      FbTrn = true;
      return;
    }
    case AT_SPL:
    case AT_SPR:
      FiBsy = 0;
      FbStpWhl = false;
      FWld.SetWhl(t == AT_SPR ? TeWhl::SpnRgt : TeWhl::SpnLft);
      Trc(adr, Hex2(t), nam + ", on until the next driving command");
      return;
    default: break;
  }
  // Lights.
  switch (t) {
    case 0x20: FeSysLed = TeLed::On; break;
    case 0x21: FeSysLed = TeLed::Off; break;
    case 0x22: FeSysLed = TeLed::Blk; break;
    case 0x23: FeSysLed = TeLed::Fls; break;
    case 0x30: FeBckLed = TeLed::On; break;
    case 0x31: FeBckLed = TeLed::Off; break;
    case 0x32: FeBckLed = TeLed::Blk; break;
    case 0x33: FeBckLed = TeLed::Alt; break;
    case 0x40: FbTrkLed = true; break;
    case 0x41: FbTrkLed = false; break;
    default: break;
  }
  Trc(adr, Hex2(t), nam);
}
