// How fast the simulated robot's model runs on its own, as fast as it can:
// the example square from its start to "program complete", the model moved
// on in slices of the given milliseconds (10: a driver's tick; 1000: large
// steps). The counter x_real_time is model time over the wall time it took.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <sstream>
#include <vector>

#include "editor/PgmFilTrn.h"
#include "sim/SimRbt.h"
#include "translator/InsAndTkn.h"

namespace {

std::vector<std::uint8_t> Square() {
  TPgmFilOpt o;
  o.TknPth = TESSARO_DATA_DIR "/ExtComTkn.sys";
  o.MsgPth = TESSARO_DATA_DIR "/SysMsgFil.sys";
  o.PgmPth = TESSARO_DATA_DIR "/examples/drive_square.vio";
  std::vector<std::uint8_t> stm;
  std::ostringstream err;
  TrnPgmFil(o, err, [&](const TInsAndTkn& t) { stm = t.FpTsmTknLst; });
  return stm;
}

void BM_SimSquare(benchmark::State& st) {
  const std::vector<std::uint8_t> stm = Square();
  if (stm.empty()) {
    st.SkipWithError("the example square does not translate");
    return;
  }
  const TSimTim slc = st.range(0) * 1000;
  TSimRbt r;
  double mdl = 0;
  for (auto _ : st) {
    r.Lod(stm);
    r.Wld().RstPos();
    r.Run();
    const TSimTim t0 = r.Now();
    while (r.Running()) r.AdvTo(r.Now() + slc);
    mdl += static_cast<double>(r.Now() - t0) / GcSimSec;
    benchmark::DoNotOptimize(r.Rec().size());
  }
  st.counters["x_real_time"] = benchmark::Counter(mdl, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SimSquare)->Arg(10)->Arg(1000)->UseRealTime()->Unit(benchmark::kMicrosecond);

}  // namespace
