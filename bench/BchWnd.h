// The main window of the Qt benchmarks and their main(): they run on the
// offscreen platform unless QT_QPA_PLATFORM names another.
#pragma once

#include <QApplication>

#include <benchmark/benchmark.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/VslCnv.h"

// The main window on the staged installation, shown, with no ports to scan.
// Adj changes the configuration first.
inline std::unique_ptr<TfrmVslCnv> MakBchWnd(const std::function<void(TVslCnvCfg&)>& adj = {}) {
  TVslCnvCfg cfg;
  cfg.AppDir = TESSARO_STAGE_DIR "/bin/";
  cfg.InsDir = TESSARO_STAGE_DIR "/";
  cfg.ScnPrt = [] { return std::vector<std::string>{}; };
  cfg.FstGui = false;  // the window alone is measured
  if (adj) adj(cfg);
  auto w = std::make_unique<TfrmVslCnv>(nullptr, cfg);
  frmVslCnv = w.get();
  w->show();
  QCoreApplication::processEvents();
  return w;
}

// Runs the benchmarks inside an application object; rls releases what they
// made before the application goes.
inline int RunQtBch(int argc, char** argv, const std::function<void()>& rls) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  rls();
  return 0;
}
