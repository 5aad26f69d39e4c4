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

// Put a terminal into raw mode, with the receiver on and no modem control.
void MakRaw(int fd);

// A pseudo-terminal pair, both ends raw. The serial component opens the slave
// by its path; the test plays the far end on the master.
class TPty {
public:
  TPty();
  ~TPty();
  TPty(const TPty&) = delete;
  TPty& operator=(const TPty&) = delete;
  const std::string& Pth() const { return FsPth; }
  int Mst() const { return FiMst; }
  int Slv() const { return FiSlv; }
  // Write all bytes to the master.
  bool Wr(const std::vector<std::uint8_t>& b);
  // Read n bytes from the master; fewer when timeout passes first.
  std::vector<std::uint8_t> Rd(std::size_t n, std::chrono::milliseconds timeout = std::chrono::seconds(10));
  // Bytes written by the component that the far end has not read yet.
  int MstInQ() const;
  // Bytes written by the far end that the component has not read yet.
  int SlvInQ() const;
  // The far end goes away.
  void ClsMst();

private:
  int FiMst = -1;
  int FiSlv = -1;
  std::string FsPth;
};

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
