// Mutex-guarded byte ring buffers between the user interface thread and the
// serial component's threads. (Placeholder until the link is built.)
#pragma once

#include <cstdint>

class TMtxAndRbf {
public:
  virtual ~TMtxAndRbf() = default;
  bool IsCrt() const { return true; }
  bool IniRbf() { return true; }
  bool PutChr(std::uint8_t) { return true; }
  bool GetChr(std::uint8_t&) { return false; }
  bool DatAvl() const { return false; }
};

class TTxMtxAndRbf : public TMtxAndRbf {};
class TRxMtxAndRbf : public TMtxAndRbf {};

// Lock-wrapped operations: take the buffer's mutex (waiting in 100 ms slices,
// letting pending events run on the user interface thread), call the method,
// release the mutex.
inline bool LckPutChr(TMtxAndRbf& b, std::uint8_t c) { return b.PutChr(c); }
inline bool LckGetChr(TMtxAndRbf& b, std::uint8_t& c) { return b.GetChr(c); }
inline bool LckDatAvl(TMtxAndRbf& b) { return b.DatAvl(); }
