// Process set-up of the Qt tests: HOME and the XDG folders in a fresh
// temporary folder (Qt, libpulse and GStreamer write below them), set before
// the QApplication exists, then GoogleTest.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <unistd.h>

struct TQtTstEnv {
  TQtTstEnv() {
    std::string t = (std::filesystem::temp_directory_path() / "tessaro-qt-XXXXXX").string();
    Root = std::string(mkdtemp(t.data()) ? t : "/nonexistent") + "/";
    Run = Root + "XDG_RUNTIME_DIR", Cfg = Root + "XDG_CONFIG_HOME";
    for (const char* v : {"HOME", "XDG_RUNTIME_DIR", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME"}) {
      std::filesystem::create_directories(Root + v);
      setenv(v, (Root + v).c_str(), 1);
    }
    std::filesystem::permissions(Run, std::filesystem::perms::owner_all);
    for (const char* v : {"PULSE_SERVER", "PULSE_RUNTIME_PATH", "PULSE_COOKIE"}) unsetenv(v);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
  }
  ~TQtTstEnv() {
    std::error_code ec;
    std::filesystem::remove_all(Root, ec);
  }
  TQtTstEnv(const TQtTstEnv&) = delete;
  std::string Root, Run, Cfg;
};

// The process's environment, for tests that need its folders.
inline TQtTstEnv*& QtTstEnv() {
  static TQtTstEnv* env = nullptr;
  return env;
}

// main() of a Qt test: environment, beforeApp (e.g. start a sound server),
// QApplication, all tests, afterTests.
inline int RunQtTests(int argc, char** argv, const std::function<void(TQtTstEnv&)>& beforeApp = {},
                      const std::function<void()>& afterTests = {}) {
  TQtTstEnv env;
  QtTstEnv() = &env;
  ::testing::InitGoogleTest(&argc, argv);
  const bool run = !GTEST_FLAG_GET(list_tests);
  if (run) alarm(300);  // a hang ends the process instead of the test run
  if (beforeApp && run) beforeApp(env);
  int rc;
  {
    QApplication app(argc, argv);
    rc = RUN_ALL_TESTS();
  }
  if (afterTests) afterTests();
  QtTstEnv() = nullptr;
  return rc;
}
