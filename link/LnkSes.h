// One link to the robot: the serial component bound to its two ring buffers
// and set to the robot's line, the open sequence, the sending of packets, the
// one parser of what the robot sends (its effects to the user, its answers
// to a wait for them) and telling the end of the link from the component's
// other complaints. The main window and the upload tool talk to the robot
// through it; the connection doctor frames and parses as it does.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "link/ComPort2p5.h"
#include "link/MtxAndRbf.h"
#include "link/PckPrt.h"
#include "link/LinSet.h"

// The component on the port prt with the robot's line, each received byte
// handed on by itself.
void SetRbtLin(TComport2p5& com, const std::string& prt);
// Binds the component's six buffer callbacks to tx and rx, every operation
// under the buffer's own lock. Both buffers must outlive the component's threads.
void BndComRbf(TComport2p5& com, TMtxAndRbf& tx, TMtxAndRbf& rx);

// How a wait for the robot's answer ended.
enum class TeAnsWai : std::uint8_t { Ans, End, Tmo };

// Where a frame whose bytes stop is given up: after a silence of Gap (none
// when unset), told by the clock Now (the steady clock when unset), which is
// read once a received byte.
struct TRcvGap {
  std::optional<std::chrono::milliseconds> Gap;
  std::function<std::chrono::steady_clock::time_point()> Now;
};

class TLnkSes {
public:
  using TClk = std::chrono::steady_clock;

  // The handlers run on the component's receive controller. OnEff: the
  // effects of each received byte, from the session's parser. OnEnd: the
  // link ended by itself (receive buffer full, device lost, I/O thread
  // failed) and the port is closed. OnErr: the component's other complaints.
  std::function<void(std::vector<TRcvEff>)> OnEff;
  std::function<void(TeComErr, const std::string&)> OnEnd;
  std::function<void(TeComErr, const std::string&)> OnErr;
  std::function<void(std::uint32_t)> OnCtl;
  std::function<void(std::uint32_t, std::uint32_t)> OnLer;

  explicit TLnkSes(void* owner = nullptr, TRcvGap gap = {});
  TLnkSes(const TLnkSes&) = delete;
  TLnkSes& operator=(const TLnkSes&) = delete;

  // Opens the port prt (a port name or a device path) on the robot's line;
  // the component stays quiet until Com().FbBlkCbk is cleared. Once the
  // component's threads have stopped, the parser starts a new record: a frame
  // begun on the old line must not swallow the first frame of the new one.
  TOpnPrtRes Opn(const std::string& prt);
  // What a send does before it sends: TooLng tells of data that do not fit
  // one frame (nothing else happens then); OpnPrt makes sure that the port is
  // open (false with GuLstErrMsg).
  struct TSndHok {
    std::function<void(std::size_t)> TooLng;
    std::function<bool()> OpnPrt;
  };
  // Sends one packet whole or not at all (see SndPck).
  bool Snd(std::uint8_t cls, std::uint8_t cod, const std::vector<std::uint8_t>& dat, const TSndHok& hok = {});
  // Waits until the robot's answer of class and code has come, the link has
  // ended (why tells) or lim has passed. Each answer that the parser has
  // found since the session was made is taken by one wait.
  TeAnsWai WaiAns(std::uint8_t cls, std::uint8_t cod, TClk::time_point lim, std::string& why);
  // The link has ended because its device has gone (a cable pulled).
  bool DevLst() {
    std::lock_guard<std::mutex> l(FMtx);
    return FbDevLst;
  }

  // The sequence byte of the next packet (0 after construction, wrapping after 255).
  std::uint8_t PckCnt() const { return FyPckCnt; }
  TComport2p5& Com() { return FCom; }
  TMtxAndRbf& Tx() { return FTx; }
  TMtxAndRbf& Rx() { return FRx; }

private:
  void OnCom(std::uint8_t b);
  void OnErrEvt(TeComErr code, const std::string& text);

  std::uint8_t FyPckCnt = 0;
  // The receive controller's alone (and Opn's while no thread runs): the
  // parser, when the last byte came and whether nothing waited behind it (only
  // then is the time to the next byte a silence of the line).
  TRcvPrs FPrs;
  TRcvGap FGap;
  TClk::time_point FRxLst{};
  bool FbRxIdl = false;
  std::mutex FMtx;
  std::condition_variable FCv;
  std::map<std::uint16_t, std::size_t> FAns;  // answers not yet waited for, by class << 8 | code
  bool FbEnd = false;
  bool FbDevLst = false;
  std::string FsWhy;
  TTxMtxAndRbf FTx;
  TRxMtxAndRbf FRx;
  TComport2p5 FCom;  // after the buffers: its threads end before they go
};
