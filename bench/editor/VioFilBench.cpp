// Loading a full program: 120 vios on every cell of the field, all kinds of
// blocks, written by the editor itself before the measurement.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "core/Globals.h"
#include "core/Seams.h"
#include "editor/VioPgmItp.h"
#include "EdtBenchSup.h"

namespace {

void BM_LodFulPgm(benchmark::State& st) {
  TBchQui qui;
  TVioPgmItp edt(nullptr);
  edt.SetLgeIdx(0);
  edt.SetAvlCol(0);
  if (!edt.SarAndTkn().LodTknFil(TESSARO_DATA_DIR "/ExtComTkn.sys")) {
    st.SkipWithError(GuLstErrMsg.c_str());
    return;
  }
  const std::string p = MakFulPgm(edt, "full");
  if (p.empty()) {
    st.SkipWithError(GuLstErrMsg.c_str());
    return;
  }
  for (auto _ : st) {
    if (!edt.LodVioFil(p)) st.SkipWithError(GuLstErrMsg.c_str());
    benchmark::DoNotOptimize(edt.GetVioCnt());
  }
  st.counters["vios"] = edt.GetVioCnt();
  std::remove(p.c_str());
}
BENCHMARK(BM_LodFulPgm)->Unit(benchmark::kMicrosecond);

}  // namespace
