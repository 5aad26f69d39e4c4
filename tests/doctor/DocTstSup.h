// Helpers of the doctor's tests: a clock that waits move on without taking
// time, and the robot at the far end of a pseudo-terminal.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <thread>
#include <vector>

#include "LnkTstPty.h"
#include "doctor/DocSys.h"
#include "link/PckPrt.h"

// The system TBas with a fake clock when FbFakClk is set: a read that brings
// nothing takes no time but moves the clock on by its whole wait.
template <class TBas>
class TFakClk : public TBas {
public:
  using TBas::TBas;
  std::int64_t NowMs() override { return FbFakClk ? FNow : TBas::NowMs(); }
  bool RdSome(int fd, int ms, std::vector<std::uint8_t>& out) override {
    const std::size_t n = out.size();
    const bool ok = TBas::RdSome(fd, FbFakClk ? 0 : ms, out);
    if (FbFakClk && out.size() == n) FNow += ms;
    return ok;
  }
  bool FbFakClk = false;
  std::int64_t FNow = 0;
};

// The robot on the master of the pseudo-terminal: answers each link check
// with a frame of another kind and then "link established", as the robot may.
class TDocRob {
public:
  explicit TDocRob(TPty& pty) : FPty(pty), FThr([this] { Loop(); }) {}
  ~TDocRob() {
    FbRun = false;
    FThr.join();
  }

private:
  void Loop() {
    TuRcvPck p;
    RstRcvPck(p);
    while (FbRun)
      for (std::uint8_t b : FPty.Rd(1, std::chrono::milliseconds(20))) {
        PrsRcvChr(p, b);
        if (p.PckSte != PS_CPL) continue;
        if (p.MsgCls == MC_CTL && p.MsgCod == MK_LNK_CHK)
          FPty.Wr({GcPckSta, 0x02, 0x00, 0x00, MC_CTL, MK_STB, GcPckEnd,
                   GcPckSta, 0x02, 0x01, 0x00, MC_CTL, MK_LNK_EST, GcPckEnd});
        RstRcvPck(p);
      }
  }
  TPty& FPty;
  std::atomic<bool> FbRun{true};
  std::thread FThr;
};
