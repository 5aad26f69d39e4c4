// The robot monitor of the main window (offscreen unless QT_QPA_PLATFORM
// names another): the user interface thread's processor time and the
// repaints while a robot on a pseudo-terminal sends its measurements at the
// wire's full rate (2400 baud: 26.7 frames of nine bytes a second), with the
// monitor shown and hidden; and the time from a bumper pressed on the
// built-in robot to its value in the link's store and in the monitor (the
// wire takes 37.5 ms for the robot's frame, and up to 75 ms more when the
// press comes while the robot's half-second report is on the wire).
#include <QEventLoop>
#include <QLabel>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <ctime>
#include <memory>
#include <thread>

#include "app/RbtMon.h"
#include "app/VslCnv.h"
#include "app/VslFld.h"
#include "app/VslLnk.h"
#include "app/platform/QtPlatform.h"
#include "bench/BchSup.h"
#include "bench/BchWnd.h"
#include "core/PtyPar.h"
#include "link/MeaSto.h"
#include "link/PckPrt.h"
#include "sim/SimThr.h"

namespace {
using TClk = std::chrono::steady_clock;

double Cpu(clockid_t id) {
  timespec t{};
  clock_gettime(id, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

void Evt(int ms) {
  QEventLoop l;
  QTimer::singleShot(ms, &l, &QEventLoop::quit);
  l.exec();
}

struct TMonBch {
  ~TMonBch() {
    Wnd.reset();
    frmVslCnv = nullptr;
  }
  TRbtMon* Mon() { return Wnd->Fld().RbtMon(); }
  TQtEvtLoop Loop;
  TBchQui Qui{&Loop};
  std::unique_ptr<TfrmVslCnv> Wnd = MakBchWnd();
};
std::unique_ptr<TMonBch> GuBch;

// A robot on a pseudo-terminal that sends measurement frames at the wire's rate.
struct TPtyRbt {
  TPty Pty;
  std::atomic<bool> Stp{false};
  std::atomic<long> Frm{0};
  std::thread Thr;
  void Sta() {
    Thr = std::thread([this] {
      const auto per = std::chrono::microseconds(1000000 * 9 / 240);
      auto due = TClk::now();
      for (std::uint8_t seq = 0; !Stp; ++seq) {
        const auto v = static_cast<std::uint16_t>(seq % 2 ? (seq & 0x07) << 8 | (seq & 0x40) : seq * 4);
        std::vector<std::uint8_t> f;
        BldPck(seq, MC_MEA, seq % 2 ? MK_MEA_2 : MK_MEA_1,
               {static_cast<std::uint8_t>(v & 0xFF), static_cast<std::uint8_t>(v >> 8)}, f);
        f[1] = 0x05;
        if (!Pty.Wr(f)) break;
        ++Frm;
        due += per;
        std::this_thread::sleep_until(due);
      }
    });
  }
  ~TPtyRbt() {
    Stp = true;
    if (Thr.joinable()) Thr.join();
  }
};

// Values at the wire's rate for five seconds (half a second in a brief run).
void BM_MonCpu(benchmark::State& st) {
  GuBch = std::make_unique<TMonBch>();
  TPtyRbt rbt;
  TVslLnk& lnk = GuBch->Wnd->Lnk();
  if (!GuBch->Mon() || !lnk.OpnComPrt(rbt.Pty.Pth())) return st.SkipWithError("no monitor, or the port did not open");
  lnk.BlkComPrtCupMsgTimer();
  rbt.Sta();
  const int ms = BchBrf() ? 500 : 5000;
  for (auto _ : st) {
    for (bool shw : {false, true}) {
      GuBch->Mon()->setVisible(shw);
      Evt(300);
      const long pnt = GuBch->Mon()->Pnt(), frm = rbt.Frm;
      const double ui = Cpu(CLOCK_THREAD_CPUTIME_ID), prc = Cpu(CLOCK_PROCESS_CPUTIME_ID);
      const auto t0 = TClk::now();
      Evt(ms);
      const double sec = std::chrono::duration<double>(TClk::now() - t0).count();
      const std::string k = shw ? "_shown" : "_hidden";
      st.counters["ui_cpu_pct" + k] = 100.0 * (Cpu(CLOCK_THREAD_CPUTIME_ID) - ui) / sec;
      st.counters["process_cpu_pct" + k] = 100.0 * (Cpu(CLOCK_PROCESS_CPUTIME_ID) - prc) / sec;
      st.counters["frames_per_s" + k] = static_cast<double>(rbt.Frm - frm) / sec;
      if (shw) st.counters["repaints_per_s"] = static_cast<double>(GuBch->Mon()->Pnt() - pnt) / sec;
    }
  }
  st.counters["monitor_ui_cpu_pct"] = st.counters["ui_cpu_pct_shown"] - st.counters["ui_cpu_pct_hidden"];
  GuBch.reset();
}
BENCHMARK(BM_MonCpu)->Iterations(1)->Unit(benchmark::kSecond);

// Measurement 2 as the monitor's label shows it; -1 when it shows none.
int MonVa2(TfrmVslCnv& w) {
  const auto* l = w.findChild<QLabel*>("lblMonVa2");
  bool ok = false;
  const int v = l ? l->text().section(": ", 1).left(4).toInt(&ok, 16) : -1;
  return ok ? v : -1;
}

// The bumper pressed and released on the built-in robot: the time to the
// value in the link's store and on the monitor's label.
void BM_BmpLat(benchmark::State& st) {
  GuBch = std::make_unique<TMonBch>();
  TfrmVslCnv& w = *GuBch->Wnd;
  if (!GuBch->Mon() || !w.Lnk().OpnComPrt("SIM")) return st.SkipWithError("no monitor, or no built-in robot");
  w.Lnk().BlkComPrtCupMsgTimer();
  GuBch->Mon()->show();
  const auto lim = TClk::now() + std::chrono::seconds(5);
  while (MonVa2(w) < 0 && TClk::now() < lim) Evt(20);  // its first report
  if (MonVa2(w) < 0) return st.SkipWithError("the built-in robot reported nothing");
  double sto = 0, mon = 0, max = 0, stoMax = 0;
  int n = 0;
  for (auto _ : st) {
    const bool prs = n % 2 == 0;
    Evt(250);
    const auto t0 = TClk::now();
    w.Lnk().Sim()->Do([prs](TSimDrv& d) { d.Rbt().SetBmpUsr(true, prs); });
    double ts = -1;
    while (((MonVa2(w) & 0x40) != 0) != prs && TClk::now() - t0 < std::chrono::seconds(2)) {
      const auto v = w.Lnk().MeaSto().Lst(1);
      if (ts < 0 && v && ((*v & 0x40) != 0) == prs) ts = std::chrono::duration<double, std::milli>(TClk::now() - t0).count();
      QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    const double tm = std::chrono::duration<double, std::milli>(TClk::now() - t0).count();
    sto += ts < 0 ? tm : ts;
    stoMax = std::max(stoMax, ts < 0 ? tm : ts);
    mon += tm;
    max = std::max(max, tm);
    ++n;
  }
  st.counters["store_ms"] = sto / n;
  st.counters["monitor_ms"] = mon / n;
  st.counters["monitor_max_ms"] = max;
  st.counters["store_max_ms"] = stoMax;
  GuBch.reset();
}
BENCHMARK(BM_BmpLat)->Iterations(BchIts(20))->Unit(benchmark::kMillisecond);
}  // namespace

int main(int argc, char** argv) { return RunQtBch(argc, argv, [] { GuBch.reset(); }); }
