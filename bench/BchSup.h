// Quiet seams of the benchmarks: every message box is answered with Ok and
// not shown; the event loop and the settings are the given ones, or else the
// defaults (sound is silent, pending events are not run, settings in memory).
#pragma once

#include <cstdlib>

#include "core/Seams.h"

class TBchQui {
public:
  explicit TBchQui(IEvtLoop* evt = nullptr, ISettingsFactory* set = nullptr) : FPlt({&FBox, nullptr, evt, set}) {}

private:
  class TBox final : public IMsgBox {
  public:
    TeMsgAns Show(const std::string&, const std::string&, TeMsgBtn) override { return TeMsgAns::Ok; }
  };
  TBox FBox;
  TScopedPlatform FPlt;
};

// A brief run (TESSARO_BENCH_BRIEF set, as CTest runs each benchmark): the
// benchmarks that run a fixed number of times or for a fixed time do one
// short run, which shows that they still work.
inline bool BchBrf() { return std::getenv("TESSARO_BENCH_BRIEF") != nullptr; }
inline int BchIts(int n) { return BchBrf() ? 1 : n; }
