// One link to the robot: the serial component bound to its two ring buffers
// and set to the robot's line, the open sequence, the sending of packets,
// waiting for the robot's answer and telling the end of the link from the
// component's other complaints. The upload tool and the connection doctor use
// it; so does every other user of the line.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
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

// The robot's answer in a stream of received bytes: a complete frame of the
// given class and code that came from the robot (an echo of our own frame
// carries our origin and does not count).
class TRbtAns {
public:
  TRbtAns(std::uint8_t cls, std::uint8_t cod) : FyCls(cls), FyCod(cod) { RstRcvPck(FuPck); }
  // True when b completes the answer.
  bool Put(std::uint8_t b);

private:
  std::uint8_t FyCls, FyCod;
  TuRcvPck FuPck;
};

// How a wait for the robot's answer ended.
enum class TeAnsWai : std::uint8_t { Ans, End, Tmo };

class TLnkSes {
public:
  using TClk = std::chrono::steady_clock;

  // The handlers run on the component's receive controller. OnByt: a
  // received byte; without it the bytes are kept for WaiAns. OnEnd: the link
  // ended by itself (receive buffer full, device lost, I/O thread failed) and
  // the port is closed. OnErr: the component's other complaints.
  std::function<void(std::uint8_t)> OnByt;
  std::function<void(TeComErr, const std::string&)> OnEnd;
  std::function<void(TeComErr, const std::string&)> OnErr;
  std::function<void(std::uint32_t)> OnCtl;
  std::function<void(std::uint32_t, std::uint32_t)> OnLer;

  explicit TLnkSes(void* owner = nullptr);
  TLnkSes(const TLnkSes&) = delete;
  TLnkSes& operator=(const TLnkSes&) = delete;

  // Opens the port prt (a port name or a device path) on the robot's line;
  // the component stays quiet until Com().FbBlkCbk is cleared.
  TOpnPrtRes Opn(const std::string& prt);
  // Sends one packet whole or not at all (see SndPck); tooLng tells of data
  // that do not fit one frame.
  bool Snd(std::uint8_t cls, std::uint8_t cod, const std::vector<std::uint8_t>& dat,
           const std::function<void(std::size_t)>& tooLng = {});
  // Waits until the robot's answer of class and code has come, the link has
  // ended (why tells) or lim has passed; bytes are taken from those kept.
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
  std::mutex FMtx;
  std::condition_variable FCv;
  std::deque<std::uint8_t> FByt;  // kept for WaiAns
  bool FbEnd = false;
  bool FbDevLst = false;
  std::string FsWhy;
  TTxMtxAndRbf FTx;
  TRxMtxAndRbf FRx;
  TComport2p5 FCom;  // after the buffers: its threads end before they go
};
