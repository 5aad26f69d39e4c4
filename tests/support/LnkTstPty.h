// Test helpers of the link tests: a pseudo-terminal pair in the process and
// waiting for conditions.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "core/PtyPar.h"

// What the component's threads report and a test waits for: every access
// under M, every change announced on Cv.
struct TLckRec {
  std::mutex M;
  std::condition_variable Cv;
  std::chrono::milliseconds Tmo = std::chrono::seconds(10);  // Wait's default limit

  template <class P>
  bool Wait(P p) {
    return Wait(p, Tmo);
  }
  template <class P>
  bool Wait(P p, std::chrono::milliseconds t) {
    std::unique_lock<std::mutex> lk(M);
    return Cv.wait_for(lk, t, [&] { return p(); });
  }
  template <class F>
  auto Get(F f) {
    std::lock_guard<std::mutex> lk(M);
    return f();
  }
  // Changes under the lock, then wakes the waiters.
  template <class F>
  void Put(F f) {
    {
      std::lock_guard<std::mutex> lk(M);
      f();
    }
    Cv.notify_all();
  }
};

// Poll a condition every millisecond until it holds or timeout passes.
bool WaitUntil(const std::function<bool()>& cond, std::chrono::milliseconds timeout = std::chrono::seconds(10));

// 0, 1, ..., 255 repeated to n bytes.
std::vector<std::uint8_t> Seq(std::size_t n, std::uint8_t first = 0);
