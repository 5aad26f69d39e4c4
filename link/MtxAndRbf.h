// Mutex-guarded byte ring buffers between the user interface thread and the
// serial component's threads.
//
// The buffer methods do not lock. Every access from outside goes through the
// lock-wrapped operations LckPutChr, LckGetChr and LckDatAvl below, which take
// the buffer's mutex for exactly one method call. The transmit buffer is filled
// by the user interface thread and emptied by the serial component's I/O
// thread; the receive buffer is filled by the I/O thread and emptied by the
// receive controller thread.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

// The buffer's mutex: a lock with a timed wait. (Built on a condition
// variable, which every thread checker of the toolchain understands.)
class TLckMtx {
public:
  void lock() {
    std::unique_lock<std::mutex> lk(FMtx);
    FCv.wait(lk, [&] { return !FbHld; });
    FbHld = true;
  }
  bool try_lock_for(std::chrono::milliseconds d) {
    std::unique_lock<std::mutex> lk(FMtx);
    if (!FCv.wait_for(lk, d, [&] { return !FbHld; })) return false;
    FbHld = true;
    return true;
  }
  void unlock() {
    {
      std::lock_guard<std::mutex> lk(FMtx);
      FbHld = false;
    }
    FCv.notify_one();
  }

private:
  std::mutex FMtx;
  std::condition_variable FCv;
  bool FbHld = false;
};

class TMtxAndRbf {
public:
  static constexpr std::int32_t GcRbfSiz = 1024;  // slots; at most 1023 bytes are held

  virtual ~TMtxAndRbf();
  TMtxAndRbf(const TMtxAndRbf&) = delete;
  TMtxAndRbf& operator=(const TMtxAndRbf&) = delete;

  // True when both the mutex and the store were created. A buffer that failed
  // to be created has left its message in GuLstErrMsg; every operation on it
  // returns false.
  bool IsCrt() const { return FhMtx && FpRbf; }

  // Buffer methods; the caller holds the mutex.
  // IniRbf: empty the buffer (both indices 1023); false when there is no store.
  bool IniRbf();
  // PutChr: append one byte; false when full (the byte is lost). On the user
  // interface thread a refusal leaves "Tx ringbuffer is full" ("Rx ...") in
  // GuLstErrMsg; worker threads never touch GuLstErrMsg.
  bool PutChr(std::uint8_t b);
  // GetChr: take the oldest byte; false when empty (no message).
  bool GetChr(std::uint8_t& b);
  // DatAvl: at least one byte is stored.
  bool DatAvl() const;
  // FreSpc: bytes that can still be put (0 to 1023).
  std::int32_t FreSpc() const;

  // Read-outs for diagnostics and tests.
  std::int32_t WrIdx() const { return FiWrIdx; }
  std::int32_t RdIdx() const { return FiRdIdx; }
  std::uint8_t SltAt(std::int32_t i) const { return FpRbf ? FpRbf[i] : 0; }
  const std::string& Dir() const { return FsDir; }

  // The buffer's mutex, for the lock-wrapped operations; null when it could not be created.
  TLckMtx* Mtx() const { return FhMtx.get(); }

  // Length of one wait slice of the lock-wrapped operations (100 ms). Tests
  // shorten it.
  static void SetLckSlc(std::chrono::milliseconds slc);
  static std::chrono::milliseconds LckSlc();
  // Number of wait slices that ran out without the mutex, over all buffers.
  static std::uint64_t LckSlcCnt();

protected:
  // dir is "Tx" or "Rx"; it is the only difference between the two buffers.
  explicit TMtxAndRbf(const char* dir);

private:
  static std::int32_t Nxt(std::int32_t i) { return i == GcRbfSiz - 1 ? 0 : i + 1; }
  std::string FsDir;
  std::unique_ptr<TLckMtx> FhMtx;
  std::unique_ptr<std::uint8_t[]> FpRbf;
  std::int32_t FiWrIdx = GcRbfSiz - 1;
  std::int32_t FiRdIdx = GcRbfSiz - 1;
};

// Bytes waiting to be sent.
class TTxMtxAndRbf : public TMtxAndRbf {
public:
  TTxMtxAndRbf() : TMtxAndRbf("Tx") {}
};

// Received bytes waiting for the packet receive handler.
class TRxMtxAndRbf : public TMtxAndRbf {
public:
  TRxMtxAndRbf() : TMtxAndRbf("Rx") {}
};

// Lock-wrapped operations: take the buffer's mutex, call the method, release
// the mutex and return the method's result. The mutex is waited for in slices
// of 100 ms; on the user interface thread pending events run between slices,
// so the window stays alive while a worker holds the lock. Worker threads
// simply wait. A buffer without a mutex gives false.
bool LckPutChr(TMtxAndRbf& b, std::uint8_t c);
bool LckGetChr(TMtxAndRbf& b, std::uint8_t& c);
bool LckDatAvl(TMtxAndRbf& b);
// Free room under the lock; 0 for a buffer without a mutex or store.
std::size_t LckFreSpc(TMtxAndRbf& b);

// Threads of the link. The serial component marks its own threads as link
// workers; LnkOnUiThr() is true only on the user interface thread (as the
// platform's event loop tells it) and never on a link worker, whatever the
// event loop says.
void LnkMrkWrkThr();
bool LnkOnUiThr();
