// The simulated robot inside another program: the driver of SimDrv.h on a
// pseudo-terminal of its own, run by a thread of its own at the wall clock.
// The program opens the pseudo-terminal's device as it opens a robot's serial
// port, so the robot hears and answers the same frames as on a cable.
//
// The model is touched only under the lock: Qry reads it and Do changes it
// from any other thread (a window that draws the robot or presses a bumper).
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "sim/SimDrv.h"

class TSimThr {
public:
  TSimThr();
  ~TSimThr();  // stops the thread
  TSimThr(const TSimThr&) = delete;
  TSimThr& operator=(const TSimThr&) = delete;

  // Makes the pseudo-terminal and starts the thread; false with the reason.
  // A second call while it runs does nothing.
  bool Sta(std::string& err);
  // Ends the thread and closes the pseudo-terminal: the peer sees the line go.
  void Stp();
  bool Running() const { return FThr.joinable(); }
  // The device that the link opens; empty before Sta.
  const std::string& Pth() const { return FsPth; }

  // Reads the robot's state under the lock.
  void Qry(const std::function<void(const TSimDrv&)>& fn) const;
  // Acts on the robot under the lock; the thread then looks at it at once.
  void Do(const std::function<void(TSimDrv&)>& fn);
  // The model's speed factor from now on.
  void SetSpd(double fac);
  // Called on the robot's thread, under the lock, after each look at the
  // robot in which it moves or bytes came from the peer: a view that lies
  // still while the robot does can wait for this instead of looking.
  void SetOnAct(std::function<void()> fn);

  // Threads of this kind that are running in the process.
  static int Lve() { return GiLve.load(); }

private:
  void Lop();
  void Wak();

  TSimDrv FDrv;
  mutable std::mutex FMtx;
  std::thread FThr;
  std::atomic<bool> FbStp{false};
  int FhWak[2] = {-1, -1};  // a pipe that ends the thread's wait
  std::string FsPth;
  std::function<void()> FOnAct;  // under the lock
  static inline std::atomic<int> GiLve{0};
};
