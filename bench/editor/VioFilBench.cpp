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

namespace {

class TSilentBox final : public IMsgBox {
public:
  TeMsgAns Show(const std::string&, const std::string&, TeMsgBtn) override { return TeMsgAns::Ok; }
};

class TNoEvtLoop final : public IEvtLoop {
public:
  void PrcMsg() override {}
  void Terminate() override {}
  bool TerminateRequested() const override { return false; }
  bool OnUiThread() const override { return true; }
};

std::string MakFulPgm(TVioPgmItp& edt) {
  static const std::uint8_t GcTyp[] = {VT_DLY, VT_ACT, VT_SNS, VT_IFF, VT_THN, VT_ELS,
                                       VT_LBL, VT_GTO, VT_SPD, VT_STO, VT_RTI, VT_ACT};
  int n = 0;
  for (int r = 0; r < 10; ++r)
    for (int c = 0; c < 12; ++c, ++n) {
      const std::uint8_t t = n == 0 ? std::uint8_t{VT_STA} : GcTyp[n % 12];
      if (!edt.PutVio(t, c, r)) return {};
    }
  const std::string p =
      (std::filesystem::temp_directory_path() / ("tessaro-bench-full-" + std::to_string(::getpid()) + ".vio"))
          .string();
  return edt.SavVioFil(p) ? p : std::string();
}

void BM_LodFulPgm(benchmark::State& st) {
  TSilentBox box;
  TNoEvtLoop evt;
  TScopedPlatform plt({&box, nullptr, &evt, nullptr});
  TVioPgmItp edt(nullptr);
  edt.SetLgeIdx(0);
  edt.SetAvlCol(0);
  if (!edt.SarAndTkn().LodTknFil(TESSARO_DATA_DIR "/ExtComTkn.sys")) {
    st.SkipWithError(GuLstErrMsg.c_str());
    return;
  }
  const std::string p = MakFulPgm(edt);
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
