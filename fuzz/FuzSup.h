// Shared set-up of the fuzz targets: quiet platform seams and a scratch file
// that the readers, which take a path, read each input from.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "core/Seams.h"

class TFuzBox final : public IMsgBox {
public:
  TeMsgAns Show(const std::string&, const std::string&, TeMsgBtn) override { return TeMsgAns::Ok; }
};

class TFuzLoop final : public IEvtLoop {
public:
  void PrcMsg() override {}
  void Terminate() override { FbTrm = true; }
  bool TerminateRequested() const override { return FbTrm; }
  bool OnUiThread() const override { return true; }
  bool FbTrm = false;
};

// The seams stay installed for the whole run.
inline void FuzSetPlt() {
  static TFuzBox box;
  static TFuzLoop lop;
  static TScopedPlatform plt(TPlatform{&box, nullptr, &lop, nullptr});
}

// Writes the input to this process's scratch file with the given name and
// returns its path. The folder is removed at exit.
inline std::string FuzWrtFil(const std::string& name, const std::uint8_t* data, std::size_t size) {
  static const std::string dir = [] {
    char tpl[] = "/tmp/tessaro-fuzz-XXXXXX";
    const char* d = ::mkdtemp(tpl);
    if (!d) std::abort();
    static std::string keep = d;
    std::atexit([] {
      std::error_code ec;
      std::filesystem::remove_all(keep, ec);
    });
    return keep + "/";
  }();
  const std::string p = dir + name;
  std::FILE* f = std::fopen(p.c_str(), "wb");
  if (!f) std::abort();
  if (size && std::fwrite(data, 1, size, f) != size) std::abort();
  std::fclose(f);
  return p;
}
