// The roll call of a classroom: eight ports checked at once on the computer's
// own system, half of them with the built-in robot's thread answering, half
// silent. The silent ones each take the whole 2 s the robot has to answer;
// checked one after the other the eight would take over 8 s, at once they
// take the 2 s of one (the target is under 3 s). The counters say how many
// answered, so that a run that measures the wrong thing shows.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "core/PtyPar.h"
#include "doctor/RolCal.h"
#include "sim/SimThr.h"

namespace {

void BM_RollCallOfEight(benchmark::State& st) {
  std::vector<std::unique_ptr<TSimThr>> rob;
  std::vector<std::unique_ptr<TPty>> sil;
  std::vector<TRolPrt> prt;
  for (int i = 0; i < 4; ++i) {
    rob.push_back(std::make_unique<TSimThr>());
    std::string err;
    if (!rob.back()->Sta(err)) {
      st.SkipWithError(err.c_str());
      return;
    }
    sil.push_back(std::make_unique<TPty>());
    prt.push_back({rob.back()->Pth(), rob.back()->Pth()});
    prt.push_back({sil.back()->Pth(), sil.back()->Pth()});
  }
  const TDocSysLnx sys;
  const TDocTxt txt = [](std::uint8_t) { return std::string(); };
  std::size_t oky = 0, fai = 0;
  for (auto _ : st) {
    for (const TRolRow& r : RunRolCal(sys, prt, txt)) (r.Ste == TeDocSte::Ok ? oky : fai) += 1;
  }
  st.counters["answered"] = benchmark::Counter(static_cast<double>(oky), benchmark::Counter::kAvgIterations);
  st.counters["silent"] = benchmark::Counter(static_cast<double>(fai), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_RollCallOfEight)->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
