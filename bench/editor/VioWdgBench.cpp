// The field on screen with the real widgets (run with QT_QPA_PLATFORM=offscreen):
// opening a program of 120 vios, one processed drag move, one tool button add.
#include <QAction>
#include <QApplication>
#include <QMouseEvent>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

#include "app/VslCnv.h"
#include "app/VslFld.h"
#include "app/VslTbr.h"
#include "app/platform/QtPlatform.h"
#include "core/Globals.h"
#include "core/Seams.h"
#include "editor/VioPgmItp.h"
#include "EdtBenchSup.h"
#include "bench/BchSup.h"
#include "bench/BchWnd.h"
#include "editor/qt/VioFldViw.h"

namespace {

// The main window, shown, with the Qt event loop and silent message boxes.
struct TBenchWnd {
  ~TBenchWnd() {
    Wnd.reset();
    frmVslCnv = nullptr;
  }
  TVioPgmItp& Edt() { return Wnd->Edt(); }
  void Clr() {
    Edt().RmvAllVio();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
  }
  TQtEvtLoop Evt;
  TBchQui Qui{&Evt};
  std::unique_ptr<TfrmVslCnv> Wnd = MakBchWnd();
};

// Made on first use, released before the application object.
std::unique_ptr<TBenchWnd> GuBenchWnd;

TBenchWnd& Wnd() {
  if (!GuBenchWnd) GuBenchWnd = std::make_unique<TBenchWnd>();
  return *GuBenchWnd;
}

void BM_OpnFulPgm(benchmark::State& st) {
  TBenchWnd& w = Wnd();
  w.Clr();
  const std::string p = MakFulPgm(w.Edt(), "wdg");
  if (p.empty()) {
    st.SkipWithError(GuLstErrMsg.c_str());
    return;
  }
  for (auto _ : st) {
    st.PauseTiming();
    w.Clr();
    st.ResumeTiming();
    if (!w.Edt().LodVioFil(p)) st.SkipWithError(GuLstErrMsg.c_str());
    QCoreApplication::processEvents();
  }
  st.counters["vios"] = w.Edt().GetVioCnt();
  std::remove(p.c_str());
  w.Clr();
}
BENCHMARK(BM_OpnFulPgm)->Unit(benchmark::kMillisecond);

void SndMou(QWidget* pnl, QEvent::Type t, QPoint fld, Qt::MouseButton b, Qt::MouseButtons bs) {
  QWidget* f = pnl->parentWidget();
  const QPoint g = f->mapToGlobal(fld);
  QMouseEvent e(t, QPointF(pnl->mapFromGlobal(g)), QPointF(g), b, bs, Qt::NoModifier);
  QCoreApplication::sendEvent(pnl, &e);
}

void BM_DrgMov(benchmark::State& st) {
  TBenchWnd& w = Wnd();
  w.Clr();
  // A half-full field, so that the glue finds neighbours.
  for (int r = 0; r < 10; r += 2)
    for (int c = 0; c < 12; ++c) w.Edt().PutVio(VT_STO, c, r);
  TVio* v = w.Edt().PutVio(VT_ACT, 0, 1);
  TVioPnl* p = w.Wnd->Fld().Viw()->Pnl(v);
  QCoreApplication::processEvents();
  SndMou(p, QEvent::MouseButtonPress, {5, w.Edt().CelHgt() + 5}, Qt::LeftButton, Qt::LeftButton);
  const int span = (w.Edt().GrdCls() - 1) * w.Edt().CelWdt();
  int x = 0;
  for (auto _ : st) {
    x = (x + 7) % span;
    const QPoint to(x + 5, w.Edt().CelHgt() + 5 + x % 40);
    // Two move events make one processed move.
    SndMou(p, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    SndMou(p, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    QCoreApplication::processEvents();
  }
  SndMou(p, QEvent::MouseButtonRelease, {5, 5}, Qt::LeftButton, Qt::NoButton);
  w.Clr();
}
BENCHMARK(BM_DrgMov)->Unit(benchmark::kMicrosecond);

void TbnAdd(benchmark::State& st, TeTbn tbn) {
  TBenchWnd& w = Wnd();
  w.Clr();
  for (auto _ : st) {
    if (w.Edt().GetVioCnt() >= 100) {
      st.PauseTiming();
      w.Clr();
      st.ResumeTiming();
    }
    w.Wnd->Tbr().Tbn(tbn)->trigger();
  }
  w.Clr();
}
void BM_TbnAddAct(benchmark::State& st) { TbnAdd(st, TeTbn::Act); }
void BM_TbnAddSto(benchmark::State& st) { TbnAdd(st, TeTbn::Sto); }
BENCHMARK(BM_TbnAddAct)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TbnAddSto)->Unit(benchmark::kMicrosecond);

// The last free cell of an otherwise full field: the add that searches
// longest, and the refused one after it, whose #312 box is answered at once.
void BM_TbnAddLstCel(benchmark::State& st) {
  TBenchWnd& w = Wnd();
  w.Clr();
  const int cls = w.Edt().GrdCls(), rws = w.Edt().GrdRws();
  for (int r = 0; r < rws; ++r)
    for (int c = 0; c < cls; ++c)
      if (r != rws / 2 || c != cls / 2) w.Edt().PutVio(VT_STO, c, r);
  QCoreApplication::processEvents();
  for (auto _ : st) {
    w.Wnd->Tbr().Tbn(TeTbn::Sto)->trigger();  // fills the last cell
    w.Wnd->Tbr().Tbn(TeTbn::Sto)->trigger();  // refused: no free cell is left
    st.PauseTiming();
    if (w.Edt().GetVioCnt() != cls * rws) {
      st.SkipWithError("the last free cell was not filled");
      break;
    }
    w.Edt().RmvVio(w.Edt().Vios().back());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    st.ResumeTiming();
  }
  w.Clr();
}
BENCHMARK(BM_TbnAddLstCel)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  return RunQtBch(argc, argv, [] { GuBenchWnd.reset(); });
}
