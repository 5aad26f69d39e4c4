// Quiet seams of the benchmarks: every message box is answered with Ok and
// not shown; the event loop and the settings are the given ones, or else the
// defaults (sound is silent, pending events are not run, settings in memory).
#pragma once

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
