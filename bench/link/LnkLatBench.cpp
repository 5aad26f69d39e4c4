// Latency of the robot link through the main window, on a pseudo-terminal
// whose master plays the robot (run with QT_QPA_PLATFORM=offscreen):
//  - a robot frame written at the far end until the link state image has
//    turned green on the user interface thread;
//  - the upload click until the first byte of the frame is at the far end
//    (the cues are silent here, so they add nothing);
//  - a burst of 2000 measurement frames that arrives while the window is
//    busy: from the moment its last byte has been handed to the window until
//    the window has worked off its effects (catch_up_ms; the robot paces its
//    bytes so that the receive buffer never overflows).
// Each reports the median and the worst of its iterations (100 frames).
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QToolBar>

#include <benchmark/benchmark.h>

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <map>
#include <memory>
#include <thread>
#include <vector>

#include "core/PtyPar.h"
#include "bench/BchSup.h"
#include "bench/BchWnd.h"
#include "app/VslCnv.h"
#include "app/VslTbr.h"
#include "app/VslLnk.h"
#include "app/VslTbrTbl.h"
#include "app/platform/QtPlatform.h"
#include "core/Globals.h"
#include "core/Seams.h"
#include "editor/VioPgmItp.h"
#include "link/ComPort2p5.h"
#include "link/PckPrt.h"

namespace {

using TClk = std::chrono::steady_clock;

// A settings store whose only port is the pseudo-terminal.
class TMemSet final : public ISettingsStore {
public:
  explicit TMemSet(std::string prt) : FsPrt(std::move(prt)) {}
  bool OpenKey(const std::string&, bool) override { return true; }
  std::string ReadString(const std::string& n) override { return n == "Comport" ? FsPrt : std::string(); }
  bool WriteString(const std::string&, const std::string&) override { return true; }
private:
  std::string FsPrt;
};
class TMemSetFac final : public ISettingsFactory {
public:
  std::string Prt;
  std::unique_ptr<ISettingsStore> Create() override { return std::make_unique<TMemSet>(Prt); }
};

// Bytes handed to the window's receive handler.
std::atomic<long> GvDlv{0};

struct TBenchLnk {
  TBenchLnk() {
    Set.Prt = Pty.Pth();
    W = MakBchWnd([](TVslCnvCfg& c) {
      c.Clk = [] {
        ++GvDlv;
        return TClk::now();
      };
    });
    W->tmrAppItoTimer();
    W->Lnk().BlkComPrtCupMsgTimer();
    Ok = W->Lnk().PrtOpn() && W->Edt().AddVio(VT_STA) && W->Edt().AddVio(VT_STO);
  }
  ~TBenchLnk() {
    W.reset();
    frmVslCnv = nullptr;
  }
  // Reads what has come to the far end, without waiting.
  void Drn() {
    std::uint8_t b[4096];
    pollfd p{Pty.Mst(), POLLIN, 0};
    while (::poll(&p, 1, 0) > 0 && (p.revents & POLLIN) && ::read(Pty.Mst(), b, sizeof b) > 0) {
    }
  }
  TQtEvtLoop Evt;
  TMemSetFac Set;
  TPty Pty;
  TBchQui Qui{&Evt, &Set};
  std::unique_ptr<TfrmVslCnv> W;
  bool Ok = false;
};

// Notes when the link state button is painted with the green picture: the
// moment the user can see that the robot answers.
class TGrnPnt final : public QObject {
public:
  explicit TGrnPnt(TfrmVslCnv& w) : W(w) {}
  bool eventFilter(QObject* o, QEvent* e) override {
    if (e->type() == QEvent::Paint && !Don && W.Tbr().ImgIdx(W.Tbr().Tbn(TeTbn::ComSte)) == GcImgComOky) {
      At = TClk::now();
      Don = true;
    }
    return QObject::eventFilter(o, e);
  }
  TfrmVslCnv& W;
  bool Don = false;
  TClk::time_point At{};
};

std::unique_ptr<TBenchLnk> GuBench;
TBenchLnk& Bch() {
  if (!GuBench) GuBench = std::make_unique<TBenchLnk>();
  return *GuBench;
}

void Rpt(benchmark::State& st, std::vector<double>& ms) {
  if (ms.empty()) return;
  std::sort(ms.begin(), ms.end());
  st.counters["median_ms"] = ms[ms.size() / 2];
  st.counters["worst_ms"] = ms.back();
  st.counters["frames"] = static_cast<double>(ms.size());
}

void BM_RobotFrameToGreenLinkState(benchmark::State& st) {
  TBenchLnk& b = Bch();
  if (!b.Ok) {
    st.SkipWithError("the link could not be set up");
    return;
  }
  QWidget* btn = b.W->Tbr().ComBar().widgetForAction(b.W->Tbr().Tbn(TeTbn::ComSte));
  if (!btn || !btn->isVisible()) {
    st.SkipWithError("the link state button is not shown");
    return;
  }
  TGrnPnt pnt(*b.W);
  btn->installEventFilter(&pnt);
  // "working": the link is marked up, the upstream picture flashes and the
  // cue is played asynchronously.
  std::vector<std::uint8_t> frm;
  std::vector<double> ms, all;
  std::uint8_t seq = 0;
  for (auto _ : st) {
    b.W->Tbr().SetImg(b.W->Tbr().Tbn(TeTbn::ComSte), GcImgComNok);
    btn->repaint();
    QCoreApplication::processEvents();
    pnt.Don = false;
    BldPck(seq++, MC_STS, MK_WRK, {}, frm);
    frm[1] = 0x05;
    const auto t0 = TClk::now();
    if (!b.Pty.Wr(frm)) {
      st.SkipWithError("far end write failed");
      break;
    }
    const auto end = t0 + std::chrono::seconds(2);
    while (!pnt.Don && TClk::now() < end) QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    // Whatever the frame does after the picture has turned green is done
    // once no link effect is left.
    while (b.W->Lnk().EffPnd() > 0 && TClk::now() < end) QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    const auto t2 = TClk::now();
    if (!pnt.Don) {
      st.SkipWithError("the link state was not painted green");
      break;
    }
    const double d = std::chrono::duration<double>(pnt.At - t0).count();
    st.SetIterationTime(d);
    ms.push_back(d * 1000.0);
    all.push_back(std::chrono::duration<double>(t2 - t0).count() * 1000.0);
  }
  btn->removeEventFilter(&pnt);
  Rpt(st, ms);
  if (!all.empty()) {
    std::sort(all.begin(), all.end());
    st.counters["effects_median_ms"] = all[all.size() / 2];
    st.counters["effects_worst_ms"] = all.back();
  }
}
BENCHMARK(BM_RobotFrameToGreenLinkState)->UseManualTime()->Iterations(BchIts(100))->Unit(benchmark::kMillisecond);

void BM_UploadClickToFirstByte(benchmark::State& st) {
  TBenchLnk& b = Bch();
  if (!b.Ok) {
    st.SkipWithError("the link could not be set up");
    return;
  }
  std::vector<double> ms;
  for (auto _ : st) {
    b.Drn();
    std::atomic<bool> got{false};
    TClk::time_point t1{};
    std::thread far([&] {
      pollfd p{b.Pty.Mst(), POLLIN, 0};
      if (::poll(&p, 1, 2000) > 0) {
        t1 = TClk::now();
        got = true;
      }
    });
    const auto t0 = TClk::now();
    b.W->Lnk().UplClick();
    far.join();
    if (!got) {
      st.SkipWithError("nothing reached the far end");
      return;
    }
    const double d = std::chrono::duration<double>(t1 - t0).count();
    st.SetIterationTime(d);
    ms.push_back(d * 1000.0);
    QCoreApplication::processEvents();
  }
  b.Drn();
  Rpt(st, ms);
}
BENCHMARK(BM_UploadClickToFirstByte)->UseManualTime()->Iterations(BchIts(100))->Unit(benchmark::kMillisecond);

void BM_BurstCatchUp(benchmark::State& st) {
  TBenchLnk& b = Bch();
  if (!b.Ok) {
    st.SkipWithError("the link could not be set up");
    return;
  }
  constexpr int GcFrm = 2000;
  std::vector<std::uint8_t> all, f;
  for (int i = 0; i < GcFrm; ++i) {
    // Every other one a switch report without a switch (which would be spoken).
    const auto lo = static_cast<std::uint8_t>(i), hi = static_cast<std::uint8_t>(i >> 8);
    if (i % 2)
      BldPck(lo, MC_MEA, MK_MEA_2, {0x00, lo}, f);
    else
      BldPck(lo, MC_MEA, MK_MEA_1, {lo, hi}, f);
    f[1] = 0x05;
    all.insert(all.end(), f.begin(), f.end());
  }
  // The last read-out of the first kind.
  const QString lst = QString::fromStdString(Hex4(GcFrm - 2));
  std::vector<double> cu;
  for (auto _ : st) {
    b.W->Lnk().Tbx(4).clear();
    const long d0 = GvDlv;
    const long n = static_cast<long>(all.size());
    std::atomic<bool> bad{false};
    const auto t0 = TClk::now();
    std::thread far([&] {
      // At most 512 bytes ahead of the receive handler, as a line would be.
      for (std::size_t i = 0; i < all.size() && !bad; i += 256) {
        const auto end = TClk::now() + std::chrono::seconds(10);
        while (static_cast<long>(i) - (GvDlv - d0) > 256 && TClk::now() < end) std::this_thread::yield();
        const std::size_t k = std::min<std::size_t>(256, all.size() - i);
        const auto at = all.begin() + static_cast<long>(i);
        if (!b.Pty.Wr(std::vector<std::uint8_t>(at, at + static_cast<long>(k)))) bad = true;
      }
    });
    // The window is busy meanwhile (as with a long cue): the effects wait.
    const auto lim = t0 + std::chrono::seconds(120);
    while (GvDlv - d0 < n && TClk::now() < lim) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    far.join();
    const auto t1 = TClk::now();
    st.counters["queued_tasks"] = static_cast<double>(b.W->Lnk().EffPnd());
    while (TClk::now() < lim && !(b.W->Lnk().EffPnd() == 0 && b.W->Lnk().Tbx(4).text() == lst))
      QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    const auto t2 = TClk::now();
    if (bad || t2 >= lim) {
      st.SkipWithError("the burst was not worked off");
      return;
    }
    st.SetIterationTime(std::chrono::duration<double>(t2 - t1).count());
    cu.push_back(std::chrono::duration<double>(t2 - t1).count() * 1000.0);
  }
  std::sort(cu.begin(), cu.end());
  if (cu.empty()) return;
  st.counters["catch_up_median_ms"] = cu[cu.size() / 2];
  st.counters["catch_up_worst_ms"] = cu.back();
  st.counters["frames"] = GcFrm;
}
BENCHMARK(BM_BurstCatchUp)->UseManualTime()->Iterations(BchIts(3))->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return RunQtBch(argc, argv, [] { GuBench.reset(); });
}
