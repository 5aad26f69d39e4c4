// The simulator pane of the main window (offscreen unless QT_QPA_PLATFORM
// names another platform): its repaints and the user interface thread's
// processor time while the built-in robot drives drive_square.vio at x1, and
// how soon Pause and Step take effect in the model.
#include <QEventLoop>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>
#include <memory>
#include <thread>
#include <vector>

#include "app/SimPan.h"
#include "app/VslCnv.h"
#include "app/VslFld.h"
#include "app/VslLnk.h"
#include "app/platform/QtPlatform.h"
#include "bench/BchSup.h"
#include "bench/BchWnd.h"
#include "editor/VioPgmItp.h"
#include "sim/SimThr.h"
#include "translator/InsAndTkn.h"

namespace {
using TClk = std::chrono::steady_clock;

double ThrCpu() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// The window with its built-in robot and drive_square's stream.
struct TPanBch {
  ~TPanBch() {
    Wnd.reset();
    frmVslCnv = nullptr;
  }
  bool Sta() {
    if (!Wnd->Lnk().OpnComPrt("SIM") || !Wnd->Fld().SimPan()) return false;
    Sim = Wnd->Lnk().Sim();
    TVioPgmItp& e = Wnd->Edt();
    if (!e.LodVioFil(TESSARO_STAGE_DIR "/examples/drive_square.vio", false) || !e.TrnVioPgm()) return false;
    Stm = e.Trn().FpTsmTknLst;
    return true;
  }
  void Run(bool pau) {
    Sim->Do([this, pau](TSimDrv& d) {
      d.Rbt().Lod(Stm);
      d.Rbt().Run();
      if (pau) d.Rbt().Pause();
    });
  }
  static void Evt(int ms) {
    QEventLoop l;
    QTimer::singleShot(ms, &l, &QEventLoop::quit);
    l.exec();
  }
  TQtEvtLoop Loop;
  TBchQui Qui{&Loop};
  std::unique_ptr<TfrmVslCnv> Wnd = MakBchWnd();
  TSimThr* Sim = nullptr;
  std::vector<std::uint8_t> Stm;
};
std::unique_ptr<TPanBch> GuPan;

TPanBch* Pan(benchmark::State& st) {
  if (!GuPan) {
    GuPan = std::make_unique<TPanBch>();
    if (!GuPan->Sta()) GuPan.reset();
  }
  if (!GuPan) st.SkipWithError("the built-in robot or drive_square.vio could not be started");
  return GuPan.get();
}

// Five seconds of drive_square at x1 with the pane shown.
void BM_PanDrvSqr(benchmark::State& st) {
  TPanBch* p = Pan(st);
  if (!p) return;
  p->Wnd->Fld().SimPan()->show();
  for (auto _ : st) {
    p->Run(false);
    TPanBch::Evt(200);  // the drive is under way
    const long pnt = p->Wnd->Fld().SimPan()->Pnt();
    const double cpu = ThrCpu();
    const auto t0 = TClk::now();
    TPanBch::Evt(BchBrf() ? 500 : 5000);
    const double sec = std::chrono::duration<double>(TClk::now() - t0).count();
    st.counters["repaints_per_s"] = static_cast<double>(p->Wnd->Fld().SimPan()->Pnt() - pnt) / sec;
    st.counters["ui_cpu_pct"] = 100.0 * (ThrCpu() - cpu) / sec;
  }
}
BENCHMARK(BM_PanDrvSqr)->Iterations(1)->Unit(benchmark::kSecond);

// From the call to the model standing still: Pause while a drive is under
// way, and a Step over the Start token from a pause before it.
void BM_PauStp(benchmark::State& st) {
  TPanBch* p = Pan(st);
  if (!p) return;
  double pau = 0, stp = 0;
  int n = 0;
  for (auto _ : st) {
    p->Run(false);
    TPanBch::Evt(100);
    auto t0 = TClk::now();
    p->Sim->Do([](TSimDrv& d) { d.Rbt().Pause(); });
    pau += std::chrono::duration<double, std::milli>(TClk::now() - t0).count();
    p->Run(true);
    t0 = TClk::now();
    p->Sim->Do([](TSimDrv& d) { d.Rbt().Step(); });
    for (bool don = false; !don;) {
      p->Sim->Qry([&don](const TSimDrv& d) { don = d.Rbt().Why().Knd == TeSimWhy::Stp; });
      if (!don) std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    stp += std::chrono::duration<double, std::milli>(TClk::now() - t0).count();
    ++n;
  }
  st.counters["pause_ms"] = pau / n;
  st.counters["step_ms"] = stp / n;
}
BENCHMARK(BM_PauStp)->Iterations(BchIts(20))->Unit(benchmark::kMillisecond);
}  // namespace

int main(int argc, char** argv) { return RunQtBch(argc, argv, [] { GuPan.reset(); }); }
