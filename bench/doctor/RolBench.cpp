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

#include <pty.h>
#include <unistd.h>

#include "bench/BchSup.h"
#include "doctor/RolCal.h"
#include "sim/SimThr.h"

namespace {

// A line where nobody answers: the far end of a pseudo-terminal, whose own
// end this process does not hold (the check would take it for Tessaro's own).
struct TSilEnd {
  int Mst = -1;
  std::string Pth;
  TSilEnd() {
    int slv = -1;
    if (::openpty(&Mst, &slv, nullptr, nullptr, nullptr) != 0) return;
    Pth = ::ttyname(slv);
    ::close(slv);
  }
  ~TSilEnd() {
    if (Mst >= 0) ::close(Mst);
  }
};

void BM_RollCallOfEight(benchmark::State& st) {
  std::vector<std::unique_ptr<TSimThr>> rob;
  std::vector<std::unique_ptr<TSilEnd>> sil;
  std::vector<TRolPrt> prt;
  for (int i = 0; i < 4; ++i) {
    rob.push_back(std::make_unique<TSimThr>());
    std::string err;
    if (!rob.back()->Sta(err)) {
      st.SkipWithError(err.c_str());
      return;
    }
    sil.push_back(std::make_unique<TSilEnd>());
    prt.push_back({rob.back()->Pth(), rob.back()->Pth()});
    prt.push_back({sil.back()->Pth, sil.back()->Pth});
  }
  const TDocSysLnx sys;
  const TDocTxt txt = [](std::uint8_t) { return std::string(); };
  std::size_t cnt[3] = {};  // answered, silent, not checked
  for (auto _ : st) {
    for (const TRolRow& r : RunRolCal(sys, prt, txt)) cnt[static_cast<int>(r.Ste)] += 1;
  }
  st.counters["answered"] = benchmark::Counter(static_cast<double>(cnt[0]), benchmark::Counter::kAvgIterations);
  st.counters["silent"] = benchmark::Counter(static_cast<double>(cnt[1]), benchmark::Counter::kAvgIterations);
  if (cnt[2]) st.SkipWithError("a port was not checked");
}
BENCHMARK(BM_RollCallOfEight)->Iterations(BchIts(3))->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
