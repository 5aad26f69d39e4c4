// The packet protocol with the robot.
//
// Frame (both directions; single bytes, no checksum, no escaping):
//   0x02, origin, sequence, length N, class, code, N data bytes, 0x04
// This program sends origin 0x01. A frame has N + 7 bytes; N fits one byte,
// so a stream of more than 255 data bytes cannot be framed and is refused.
//
// Receiving: PrsRcvChr advances the byte parser TuRcvPck; TRcvPrs, the one
// parser of the robot's frames, holds a record and turns each byte into what
// its user has to do, in order, as a list of effects (TRcvEff), and tells the
// robot's answer to a wait for it. The link session owns one; the main window
// carries its effects out on the user interface thread.
//
// Sending: BldPck frames a packet (and alone refuses data that no frame can
// carry); SndPck hands the frame byte by byte to the serial component,
// through the callbacks of TPckOut.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>


// Message classes and codes.
constexpr std::uint8_t GcPckSta = 0x02;
constexpr std::uint8_t GcPckEnd = 0x04;
constexpr std::uint8_t GcPckOrgOwn = 0x01;  // origin of every packet this program sends
constexpr std::size_t GcPckMaxDat = 255;    // data bytes a frame can carry
constexpr std::size_t GcRcvDatMax = 60;     // data bytes of a received frame that are kept

constexpr std::uint8_t MC_CTL = 0x00, MC_PGM = 0x01, MC_MEA = 0x02, MC_STS = 0x03;
// To the robot.
constexpr std::uint8_t MK_UPL = 0x00, MK_RUN = 0x01, MK_UPR = 0x02, MK_LNK_CHK = 0x05;
// From the robot.
constexpr std::uint8_t MK_INC_SIG = 0x03, MK_STB = 0x04, MK_LNK_EST = 0x06;
constexpr std::uint8_t MK_MEA_1 = 0x12, MK_MEA_2 = 0x13;
constexpr std::uint8_t MK_TRF_CMP = 0x14, MK_WRK = 0x15, MK_PGM_CMP = 0x16;
// Sent by the simulated robot only (a real one never does): the address of
// each instruction it executes, as one data byte, so that the tool can show
// where the program is; and the fault that made it stop the program (two
// data bytes: the address and one of the TeRbtFlt kinds).
constexpr std::uint8_t MC_SIM = 0x04, MK_SIM_EXE = 0x17, MK_SIM_FLT = 0x18;

// Parser states.
enum TePckSte : std::uint8_t {
  PS_STA = 1,  // waiting for 0x02
  PS_ORG = 2,
  PS_SEQ = 3,
  PS_LEN = 4,
  PS_CLS = 5,
  PS_COD = 6,
  PS_DAT = 7,  // data bytes, then the end byte
  PS_CPL = 8,  // a frame is complete; nothing changes until RstRcvPck
};

struct TuRcvPck {
  std::uint8_t PckSte = PS_STA;
  std::uint8_t PckSeq = 0;
  std::uint8_t PckLen = 0;
  std::uint8_t DatCnt = 0;  // data bytes consumed (up to PckLen, also beyond 60)
  std::uint8_t PckOrg = 0;
  std::uint8_t MsgCls = 0;
  std::uint8_t MsgCod = 0;
  std::uint8_t DatIdx = 0;  // data bytes kept in DatBuf (0 to 60)
  std::uint8_t DatBuf[GcRcvDatMax] = {};  // not cleared between frames
};

void RstRcvPck(TuRcvPck& p);
void PrsRcvChr(TuRcvPck& p, std::uint8_t b);

// ---- Frames ---------------------------------------------------------------

// The frame of a packet with the given sequence byte; false (out untouched)
// when the data do not fit the length byte. The one length check of a frame.
bool BldPck(std::uint8_t seq, std::uint8_t cls, std::uint8_t cod, const std::vector<std::uint8_t>& dat,
            std::vector<std::uint8_t>& out);

// Where SndPck sends to.
struct TPckOut {
  // Data of this many bytes cannot be framed: leaves the user's text in
  // GuLstErrMsg (the layer above knows the language and the message table).
  std::function<void(std::size_t)> TooLng;
  // Makes sure that the port is open; false with GuLstErrMsg.
  std::function<bool()> OpnPrt;
  // Optional: room for a frame of n bytes; false with GuLstErrMsg, and
  // nothing of the frame is sent.
  std::function<bool(std::size_t)> Rsv;
  // Queues one byte; false with GuLstErrMsg.
  std::function<bool(std::uint8_t)> SndChr;
};

// Sends one packet: data that BldPck cannot frame are refused (TooLng tells,
// nothing is sent, the port not touched); then it opens the port and hands
// 0x02, 0x01, the counter (which is then incremented, wrapping after 255),
// the length, the class, the code, the data and 0x04 to SndChr, stopping with
// false at the first refused byte. With Rsv, a frame that does not fit is not
// begun. False also when the port cannot be opened (the counter is unchanged).
bool SndPck(std::uint8_t& pckCnt, std::uint8_t cls, std::uint8_t cod, const std::vector<std::uint8_t>& dat,
            const TPckOut& out);

// Faults for which the simulated robot stops a program.
enum class TeRbtFlt : std::uint8_t {
  PstEnd = 1,  // runs past the end, or an instruction is cut off by it
  BsyLop,      // 10,000 instructions without a Delay, a motion or a wait
  JmpOut,      // a jump outside the program
  UnkTkn,      // an instruction or a sensor that the robot does not know
  RtiOut,      // RTI outside the switch-interrupt routine
  SpdArg,      // engine speed without its two byte arguments
};

// What the robot reported, for the layer above to answer with its cue.
enum class TeRbtRpt : std::uint8_t {
  IncSig,  // an incoming signal
  Stb,     // standby
  LnkEst,  // the link is established
  Swi,     // a switch (its number 1 to 6 in Val)
  TrfCmp,  // transfer complete
  Wrk,     // working
  PgmCmp,  // program complete
};

// ---- Effects of received bytes ----------------------------------------------

enum class TeRcvEff : std::uint8_t {
  RstTmo,     // restart the receive time-out
  ShwSeq,     // tbxTst003 shows Val in decimal
  LnkUp,      // FbComLnkOky = true, tbnComSte shows image 18
  PrcMsg,     // let pending events run
  DisRun,     // disable tbnRun and repaint it
  EnaRun,     // enable tbnRun and repaint it
  RpnRun,     // repaint tbnRun
  EnaComSte,  // enable tbnComSte
  Flash,      // show the upstream picture
  Play,       // play the cue of Rpt in its mode; a missing file ends the list here
  ShwMea1,    // tbxAdcMeaVal1 shows Val as four upper-case hex digits
  ShwMea2,    // tbxAdcMeaVal2 likewise
  SetLstErr,  // GuLstErrMsg = Txt
  RunAdr,     // highlight the vio that made the byte at address Val
  RunEnd,     // no vio is highlighted
  ShwRbtFlt,  // the status bar shows the robot's fault Val (address | kind << 8)
  UplCfm,     // the robot has confirmed an upload: its wait ends
};

struct TRcvEff {
  TRcvEff(TeRcvEff k = TeRcvEff::RstTmo) : Knd(k) {}
  TeRcvEff Knd;
  std::uint16_t Val = 0;
  TeRbtRpt Rpt = TeRbtRpt::IncSig;
  std::string Txt;
  bool operator==(const TRcvEff&) const = default;
};

// Text of the measurement frame 0x02, 0x12 with a count other than 2.
inline constexpr const char* GcTxtMeaCnt = "Two message characters expected in received package";

// The effects of a complete frame that came from the robot (origin not 0x01),
// after the link has been marked up: the dispatch on class and code, ending
// with the restart of the receive time-out where the frame asks for it.
std::vector<TRcvEff> DspRcvPck(const TuRcvPck& p);

// The parser of the robot's frames: its own receive record, and what each
// byte makes its user do.
class TRcvPrs {
public:
  TRcvPrs() { RstRcvPck(FuPck); }
  // The packet receive handler for one byte: parses it and returns its
  // effects. An incomplete frame restarts the time-out; a complete one shows
  // its sequence byte and, from the robot, marks the link up and is
  // dispatched. Gap: the line was silent before this byte for longer than a
  // frame ever pauses. A frame begun before it is given up (a glitch or a
  // robot reset cut it), so that its rest is not taken from the next frame.
  std::vector<TRcvEff> Put(std::uint8_t b, bool gap = false);
  // The byte last put completed a frame that came from the robot (an echo of
  // our own frame carries our origin and does not count).
  bool RbtFrm() const { return FbRbt; }
  // ... of this class and code: the robot's answer to a wait for it.
  bool Ans(std::uint8_t cls, std::uint8_t cod) const { return FbRbt && FuPck.MsgCls == cls && FuPck.MsgCod == cod; }
  // A new record: a frame begun is given up.
  void Rst() {
    RstRcvPck(FuPck);
    FbRbt = false;
  }
  const TuRcvPck& Pck() const { return FuPck; }

private:
  TuRcvPck FuPck;
  bool FbRbt = false;
};

// Merges the effects of later bytes into those queued before them, when both
// consist only of effects whose latest value is all that counts (the link
// state, the read-outs, the time-out): each kind is kept once, at its first
// place, with its latest value. False, and nothing changed, when either holds
// an effect that must keep its place (a cue, a flash, a button).
bool MrgRcvEff(std::vector<TRcvEff>& into, const std::vector<TRcvEff>& add);

// Four upper-case hexadecimal digits.
std::string Hex4(std::uint16_t v);
