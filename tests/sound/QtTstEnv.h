// Process set-up of the Qt tests: HOME and the XDG folders in a fresh
// temporary folder (Qt, libpulse and GStreamer write below them), set before
// the QApplication exists, then GoogleTest.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

class TQtTstEnv {
public:
  TQtTstEnv() {
    namespace fs = std::filesystem;
    std::string tmpl = (fs::temp_directory_path() / "tessaro-qt-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
    Root = tmpl + "/";
    Home = Root + "home";
    Run = Root + "run";
    Cfg = Root + "config";
    for (const std::string& d : {Home, Run, Cfg, Root + "cache", Root + "data"}) fs::create_directories(d);
    ::chmod(Run.c_str(), 0700);
    setenv("HOME", Home.c_str(), 1);
    setenv("XDG_RUNTIME_DIR", Run.c_str(), 1);
    setenv("XDG_CONFIG_HOME", Cfg.c_str(), 1);
    setenv("XDG_CACHE_HOME", (Root + "cache").c_str(), 1);
    setenv("XDG_DATA_HOME", (Root + "data").c_str(), 1);
    unsetenv("PULSE_SERVER");
    unsetenv("PULSE_RUNTIME_PATH");
    unsetenv("PULSE_COOKIE");
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
  }
  ~TQtTstEnv() {
    std::error_code ec;
    std::filesystem::remove_all(Root, ec);
  }
  TQtTstEnv(const TQtTstEnv&) = delete;
  TQtTstEnv& operator=(const TQtTstEnv&) = delete;

  std::string Root, Home, Run, Cfg;
};

// The process's environment, for tests that need its folders.
inline TQtTstEnv*& QtTstEnv() {
  static TQtTstEnv* env = nullptr;
  return env;
}

// True when GoogleTest only lists the tests.
inline bool QtTstListOnly(int argc, char** argv) {
  for (int i = 1; i < argc; ++i)
    if (std::string(argv[i]) == "--gtest_list_tests") return true;
  return false;
}

// main() of a Qt test: environment, beforeApp (e.g. start a sound server),
// QApplication, all tests, afterTests.
inline int RunQtTests(int argc, char** argv, const std::function<void(TQtTstEnv&)>& beforeApp = {},
                      const std::function<void()>& afterTests = {}) {
  TQtTstEnv env;
  QtTstEnv() = &env;
  ::testing::InitGoogleTest(&argc, argv);
  const bool list = QtTstListOnly(argc, argv);
  // A hang ends the process instead of the test run.
  if (!list) alarm(300);
  if (beforeApp && !list) beforeApp(env);
  int rc;
  {
    QApplication app(argc, argv);
    rc = RUN_ALL_TESTS();
  }
  if (afterTests) afterTests();
  QtTstEnv() = nullptr;
  return rc;
}
