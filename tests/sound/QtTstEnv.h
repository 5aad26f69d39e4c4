// Process set-up of the Qt tests: HOME and the XDG folders in a fresh
// temporary folder (Qt, libpulse and GStreamer write below them), set before
// the QApplication exists, then GoogleTest.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>

#include <filesystem>
#include <functional>
#include <string>
#include <unistd.h>

#include "support/FakePlatform.h"

struct TQtTstEnv {
  TQtTstEnv() {
    for (const char* v : {"HOME", "XDG_RUNTIME_DIR", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME"})
      std::filesystem::create_directories(Tmp.Path() + v), setenv(v, (Tmp.Path() + v).c_str(), 1);
    std::filesystem::permissions(Run, std::filesystem::perms::owner_all);
    for (const char* v : {"PULSE_SERVER", "PULSE_RUNTIME_PATH", "PULSE_COOKIE"}) unsetenv(v);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
  }
  TTmpDir Tmp;
  const std::string Run = Tmp.Path() + "XDG_RUNTIME_DIR", Cfg = Tmp.Path() + "XDG_CONFIG_HOME";
};

// The process's environment while its tests run.
inline TQtTstEnv* GpQtTstEnv = nullptr;

// main() of a Qt test: environment, beforeApp (e.g. start a sound server),
// QApplication, all tests, afterTests.
inline int RunQtTests(int argc, char** argv, const std::function<void(TQtTstEnv&)>& beforeApp = {},
                      const std::function<void()>& afterTests = {}) {
  TQtTstEnv env;
  GpQtTstEnv = &env;
  ::testing::InitGoogleTest(&argc, argv);
  const bool run = !GTEST_FLAG_GET(list_tests);
  if (run) alarm(300);  // a hang ends the process instead of the test run
  if (beforeApp && run) beforeApp(env);
  const int rc = [&] {
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
  }();
  if (afterTests) afterTests();
  GpQtTstEnv = nullptr;
  return rc;
}
