// The simulated Zefor: its resident interpreter running an uploaded token
// stream, its LEDs, bumpers, line and light sensors and six switches, in the
// world of SimWld.h.
//
// Time is the model's own: nothing here reads a clock. AdvTo moves the model
// to a later time and runs whatever happens up to it, so that tests step it
// and a driver maps it to the wall clock with a speed factor.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "link/PckPrt.h"
#include "sim/SimWld.h"

// Model time in microseconds.
using TSimTim = std::int64_t;
constexpr TSimTim GcSimSec = 1000000;

// Time the interpreter takes for one instruction.
constexpr TSimTim GcInsTim = 1000;
// Instructions in a row without a Delay, a motion or a wait after which the
// interpreter gives up on the program.
constexpr int GcMaxBsyIns = 10000;
// Speed before the program sets one: the translator's default of 20 cm/s.
constexpr double GcDefSpd = 20.0;

// LED modes.
enum class TeLed : std::uint8_t { Off, On, Blk, Fls, Alt };

// One line of the trace: an executed instruction (Adr >= 0) or an event of the
// robot (Adr = -1: protocol, faults, user input).
struct TuSimTrc {
  TSimTim Tim = 0;
  int Adr = -1;
  std::string Mne;  // mnemonic or token name; empty for events
  std::string Txt;  // what it did
  bool Flt = false; // a fault that stopped the program
};

// Why the program stands still: paused (by the user, at a breakpoint, after
// a step) or ended (complete, a fault, halted from outside). Non while it
// runs and before the first run.
enum class TeSimWhy : std::uint8_t { Non, Usr, Brk, Stp, Cpl, Flt, Hlt };
struct TuSimWhy {
  TeSimWhy Knd = TeSimWhy::Non;
  int Adr = -1;     // where it stands (-1 for a halt)
  std::string Txt;  // the fault's or the halt's reason
};

// One entry of the recording of a run: the robot after an executed
// instruction (Adr), or a sample while it moves (Adr = -1; also the start and
// the end of a run that no instruction ends).
struct TuSimRec {
  TSimTim Tim = 0;
  int Adr = -1;
  double X = 0, Y = 0, Hdg = 0;
  TeWhl Whl = TeWhl::Stp;
  double Spd = 0;  // cm/s
  bool BmpL = false, BmpR = false, LinL = false, LinR = false;
  double Lgt = 0;        // the light sensor's reading, 0 to 100
  std::uint8_t Swi = 0;  // bit i: switch i+1 on
  TeLed SysLed = TeLed::Off, BckLed = TeLed::Off;
  bool TrkLed = false;
};
// The recording keeps the last this many entries (the oldest go first).
constexpr std::size_t GcRecMax = 100000;
// A moving robot is sampled at least this often.
constexpr TSimTim GcRecIvl = 100000;

class TSarAndTkn;

// Names of sensor and actor tokens for the trace (from ExtComTkn.sys).
class TSimTknNam {
public:
  // Takes the names of the definitions (language 0).
  void Set(const TSarAndTkn& sat);
  // "Type Command", or empty when the token is not named there.
  std::string Nam(std::uint8_t tkn) const;
  // The tokens named, in file order.
  const std::vector<std::uint8_t>& Tkns() const { return FTkn; }

private:
  std::vector<std::uint8_t> FTkn;
  std::vector<std::string> FNam;
};

class TSimRbt {
public:
  enum class TeSte : std::uint8_t { Idl, Run, Wai };

  TSimRbt();

  // The uploaded program (replaces the previous one and ends a run).
  void Lod(std::vector<std::uint8_t> stm);
  bool HasPgm() const { return FbHasPgm; }
  const std::vector<std::uint8_t>& Pgm() const { return FStm; }
  // Start the program from address 0; false (and a trace line) when there is
  // no program to run.
  bool Run();
  // Stop the program where it is (no "program complete").
  void Hlt(const std::string& why);

  // Debugging, for the owner only: nothing of it goes over the link. Paused,
  // the robot is frozen: the program fetches nothing, the wheels stand
  // still, and a Delay, drive or turn under way keeps the rest of its time
  // (and its wheels) for when it goes on; model time goes on. A switch
  // pressed meanwhile enters its routine when the program goes on. Each
  // returns false when there is nothing to do (no run, or not paused).
  // Run() followed by Pause() stands before the first instruction.
  bool Pause();
  bool Cont();
  // One instruction (a vio's bytes: the token and its arguments), then a
  // pause before the next fetch. A Delay, drive or turn completes first, so
  // a step over it takes its time; a step from a pause inside one ends it.
  bool Step();
  // Goes on, ignoring breakpoints until this run ends.
  bool RunToEnd();
  // The program pauses before it executes an instruction at one of these
  // addresses, except the one it stands at when it goes on.
  void SetBrk(std::set<int> adr) { FBrk = std::move(adr); }
  const std::set<int>& Brk() const { return FBrk; }
  bool Paused() const { return FbPau; }
  // Where a paused program stands: the Delay, drive or turn under way, or
  // else the next instruction. The program counter otherwise.
  int At() const { return FbPau && FeSte == TeSte::Wai ? FiWaiAdr : FiPc; }
  const TuSimWhy& Why() const { return FWhy; }
  // The recording of the last run, from Run() on; Lod() empties it.
  const std::deque<TuSimRec>& Rec() const { return FRec; }
  std::uint64_t RecDrp() const { return FiRecDrp; }  // entries dropped at the front

  // Move the model to time t (not before Now()).
  void AdvTo(TSimTim t);
  TSimTim Now() const { return FiNow; }

  // User input. A switch that goes on while the main program runs enters the
  // switch-interrupt routine; during the routine one press is remembered.
  // A drive of a distance or a turn that the routine interrupts stands still
  // until RTI and then goes on for the rest of its time.
  void SetSwi(int idx, bool on);  // idx 0..5 for switches 1..6
  bool Swi(int idx) const { return (FbySwi >> idx) & 1; }
  // Switches turned on since the last call (bit 0x20 switch 1 .. 0x01 switch 6).
  std::uint8_t TakSwiPrs();
  std::uint8_t SwiPrs() const { return FbySwiPrs; }  // the same, left for the next call
  void SetBmpUsr(bool lft, bool prs);
  bool BmpUsr(bool lft) const { return lft ? FbBmpUsrL : FbBmpUsrR; }
  void SetLgt(double pct);
  double Lgt() const { return FdLgt; }

  // Sensors as the program sees them.
  bool Bmp(bool lft) const;
  bool Lin(bool lft) const { return FWld.LinSns(lft); }
  double LgtVal() const { return FWld.LgtSns(FdLgt); }
  bool Drk() const { return LgtVal() < 50.0; }
  // The truth of a sensor token now; false (with ok = false) for a token the
  // robot does not know.
  bool SnsVal(std::uint8_t tkn, bool& ok) const;

  // LEDs: their modes, and whether they are lit now.
  TeLed SysLed() const { return FeSysLed; }
  TeLed BckLed() const { return FeBckLed; }
  bool TrkLed() const { return FbTrkLed; }
  bool SysLit() const;
  bool BckLit(bool lft) const;

  TeSte Ste() const { return FeSte; }
  bool Running() const { return FeSte != TeSte::Idl; }
  bool InRti() const { return FbInSwi; }  // in the switch-interrupt routine
  int Pc() const { return FiPc; }
  // Address of the byte after 0xAC, or -1 when the program has no routine.
  int SwiAdr() const { return FiSwiAdr; }

  TSimWld& Wld() { return FWld; }
  const TSimWld& Wld() const { return FWld; }
  TSimTknNam& TknNam() { return FNam; }

  // Called for every trace line.
  std::function<void(const TuSimTrc&)> FOnTrc;
  // Called with the address of every executed instruction.
  std::function<void(int)> FOnExe;
  // Called when the program pauses, with the address where it stands.
  std::function<void(int)> FOnPau;
  // Called when the program reaches a Stop ("program complete").
  std::function<void()> FOnCpl;
  // Called when a fault stops the program, with the address where it stopped.
  std::function<void(int, TeRbtFlt)> FOnFlt;

  // A trace line for an event of the robot.
  void Evt(const std::string& txt, bool flt = false);

private:
  bool LedLit(TeLed mod, bool lft) const;
  // One instruction at the program counter, in named steps: an instruction
  // token (false when the byte is none), and an actor command.
  void Exe();
  bool ExeIns(int adr, std::uint8_t t, const std::string& mne);
  void ExeIff(int adr, const std::string& mne);
  void ExeSpd(int adr, const std::string& mne);
  void ExeRti(int adr, const std::string& mne);
  void ExeAct(int adr, std::uint8_t t, const std::string& mne);
  void ExeDrv(int adr, std::uint8_t t, const std::string& mne, const std::string& nam);
  void ExeTrn(int adr, std::uint8_t t, const std::string& nam);
  void SetLed(std::uint8_t t);
  // The instruction at adr has n argument bytes; else a fault.
  bool Need(int adr, int n, const std::string& mne);
  // Jumps to the address with a trace line; a fault when it lies outside.
  void Jmp(int adr, const std::string& mne, std::uint8_t to, const std::string& txt);
  void Flt(TeRbtFlt knd, const std::string& why);
  void Trc(int adr, const std::string& mne, const std::string& txt);
  bool AdrOk(int a) const { return a >= 0 && a < static_cast<int>(FStm.size()); }
  std::uint8_t Arg(int off) const;
  void Wai(TSimTim dur, const std::string& what);
  void EntSwi();
  void EndWai();
  std::string TknNam(std::uint8_t t) const;
  // Debugging and recording (SimDbg.cpp).
  void PauAt(TeSimWhy knd);
  void Rsm();
  bool DbgHld();  // pauses at a breakpoint or after a step
  void EndRun(TeSimWhy knd, int adr, const std::string& txt);
  void RecAdd(int adr);

  TSimWld FWld;
  TSimTknNam FNam;
  std::vector<std::uint8_t> FStm;
  bool FbHasPgm = false;
  int FiSwiAdr = -1;

  TSimTim FiNow = 0;
  TeSte FeSte = TeSte::Idl;
  int FiPc = 0;
  TSimTim FiNxtIns = 0;  // time of the next instruction while running
  TSimTim FiWaiEnd = 0;  // end of the wait while waiting
  bool FbStpWhl = false; // the wait is a drive or turn: the wheels stop at its end
  double FdTrnHdg = 0;   // heading at the end of a turn
  bool FbTrn = false;
  int FiBsy = 0;         // instructions since the last Delay, motion or wait
  int FiBckJmp = -1;     // the last jump back (a loop's Goto) since then; -1 none

  // Switch-interrupt routine.
  bool FbInSwi = false;
  bool FbSwiPnd = false;
  int FiRetPc = 0;
  TeSte FeRetSte = TeSte::Run;
  TSimTim FiRetWai = 0;  // rest of the wait that the routine interrupted
  bool FbRetStpWhl = false, FbRetTrn = false;  // the drive or turn it interrupted
  double FdRetTrnHdg = 0;
  TeWhl FeRetWhl = TeWhl::Stp;

  std::uint8_t FbySwi = 0;     // bit i: switch i+1 on
  std::uint8_t FbySwiPrs = 0;  // presses not yet reported
  bool FbBmpUsrL = false, FbBmpUsrR = false;
  double FdLgt = 80.0;

  TeLed FeSysLed = TeLed::Off;
  TeLed FeBckLed = TeLed::Off;
  bool FbTrkLed = false;

  // Debugging.
  std::set<int> FBrk;
  bool FbPau = false;
  bool FbStp = false, FbStpDon = false;  // a step, and whether its instruction ran
  bool FbToEnd = false;
  int FiSkpBrk = -1;    // the breakpoint the program goes on from
  TSimTim FiPauRst = 0; // rest of the wait or instruction time at the pause
  TeWhl FePauWhl = TeWhl::Stp;
  int FiLstAdr = -1;    // the instruction last executed
  int FiWaiAdr = -1, FiRetWaiAdr = -1;  // the instruction that waits
  TuSimWhy FWhy;

  // Recording.
  std::deque<TuSimRec> FRec;
  std::uint64_t FiRecDrp = 0;
  bool FbRecOn = false;
  TSimTim FiRecNxt = 0;
};
