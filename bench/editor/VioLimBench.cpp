// Crafted program files at the limits of the reader: how long one Open takes
// and how much memory it needs on top of what was in use before (counter
// extra_MB, the peak of the bytes allocated during the load). Every file must
// load or fail within 100 ms and 50 MB.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>
#include <random>
#include <string>
#include <unistd.h>

#include "core/Globals.h"
#include "core/Seams.h"
#include "editor/VioPgmItp.h"
#include "EdtBenchSup.h"

// ---- Heap accounting of this program -----------------------------------------------------
namespace {
std::atomic<std::size_t> GiCur{0};
std::atomic<std::size_t> GiPek{0};

void* CntAlc(std::size_t n) {
  void* p = std::malloc(n + 16);
  if (!p) throw std::bad_alloc();
  *static_cast<std::size_t*>(p) = n;
  const std::size_t cur = GiCur.fetch_add(n) + n;
  std::size_t pek = GiPek.load();
  while (cur > pek && !GiPek.compare_exchange_weak(pek, cur)) {
  }
  return static_cast<char*>(p) + 16;
}
void CntFre(void* p) {
  if (!p) return;
  char* b = static_cast<char*>(p) - 16;
  GiCur.fetch_sub(*reinterpret_cast<std::size_t*>(b));
  std::free(b);
}
}  // namespace

void* operator new(std::size_t n) { return CntAlc(n); }
void* operator new[](std::size_t n) { return CntAlc(n); }
void operator delete(void* p) noexcept { CntFre(p); }
void operator delete[](void* p) noexcept { CntFre(p); }
void operator delete(void* p, std::size_t) noexcept { CntFre(p); }
void operator delete[](void* p, std::size_t) noexcept { CntFre(p); }

namespace {

constexpr std::size_t GcFilMax = 16u * 1024u * 1024u;

std::string Blk(const char* key, int n, const std::string& prm) {
  char cel[32];
  std::snprintf(cel, sizeof cel, "%04d\r\n%04d\r\n", n % 12 + 1, n / 12 % 10 + 1);
  return std::string(key) + "\r\n" + cel + prm + "\r\n";
}

std::string Nam(int i, std::size_t len) {
  std::string s = std::to_string(i);
  s.resize(len, 'n');
  return s;
}

std::string Crafted(int kind) {
  std::string f;
  switch (kind) {
    case 0:  // 1200 Label blocks, distinct names of 64 characters
      for (int i = 0; i < 1200; ++i) f += Blk("LABEL1", i, Nam(i, 64) + "\r\n");
      break;
    case 1:  // Labels and Gotos, every Goto naming a new label
      for (int i = 0; i < 1200; ++i) f += Blk(i % 2 ? "GOTO1" : "LABEL1", i, Nam(i, 64) + "\r\n");
      break;
    case 2:  // long names: refused at the first block
      for (int i = 0; i < 1200; ++i) f += Blk("LABEL1", i, Nam(i, 4096) + "\r\n");
      break;
    case 3: f.assign(GcFilMax, '\n'); break;
    case 4: f.assign(GcFilMax, '\r'); break;
    case 5:
      for (std::size_t i = 0; i < GcFilMax / 2; ++i) f += "\r\n";
      break;
    case 6: {  // binary data
      std::mt19937 rnd(5);
      f.resize(GcFilMax);
      for (char& c : f) c = static_cast<char>(rnd());
      break;
    }
    case 7: f.assign(GcFilMax + 1, '\n'); break;
    case 8: f.assign(GcFilMax, 'x'); break;  // one endless line
    case 9:  // 1200 Delay blocks, parameters of the longest line
      for (int i = 0; i < 1200; ++i) f += Blk("DELAY1", i, std::string(4096, '9') + "\r\n");
      break;
    case 10:  // 1200 Actor blocks: every one looks up its sar lists
      for (int i = 0; i < 1200; ++i) f += Blk("ACTOR1", i, "Driving\r\nForward\r\n10\r\n");
      break;
    case 11:  // 1200 blocks of every kind, padded with blank lines to the limit
      for (int i = 0; i < 100; ++i)
        f += Blk("START1", i, "") + Blk("LABEL1", i, Nam(i, 64) + "\r\n") + Blk("GOTO1", i, Nam(i, 64) + "\r\n") +
             Blk("DELAY1", i, "10\r\n") + Blk("ACTOR1", i, "Driving\r\nForward\r\n10\r\n") +
             Blk("SENSOR1", i, "Bumpers\r\nLeft pressed\r\n") + Blk("ENGINE SPEED1", i, "30\r\n\r\n") +
             Blk("IF1", i, "") + Blk("THEN1", i, "") + Blk("ELSE1", i, "") + Blk("STOP1", i, "") +
             Blk("RTI1", i, "");
      f.resize(GcFilMax, '\n');
      break;
    case 12:  // 1201 blocks: refused at the last one
      for (int i = 0; i < 1201; ++i) f += Blk("STOP1", i, "");
      break;
    default: break;
  }
  return f;
}

const char* const GcNam[] = {"labels_1200x64",    "label_goto_1200x64", "labels_1200x4096_refused",
                             "lf_16MiB",          "cr_16MiB",           "crlf_16MiB",
                             "binary_16MiB",      "lf_16MiB_plus_1",    "one_line_16MiB",
                             "delay_1200x4096",   "actor_1200",         "all_kinds_1200_padded_16MiB",
                             "stop_1201_refused"};

void BM_LodCrafted(benchmark::State& st) {
  const int kind = static_cast<int>(st.range(0));
  st.SetLabel(GcNam[kind]);
  TBchQui qui;
  const std::string p =
      (std::filesystem::temp_directory_path() / ("tessaro-bench-lim-" + std::to_string(::getpid()) + ".vio"))
          .string();
  {
    const std::string f = Crafted(kind);
    std::ofstream(p, std::ios::binary).write(f.data(), static_cast<std::streamsize>(f.size()));
  }
  std::size_t ext = 0;
  bool ok = false;
  for (auto _ : st) {
    st.PauseTiming();
    auto edt = std::make_unique<TVioPgmItp>(nullptr);
    edt->SetLgeIdx(0);
    edt->SetAvlCol(0);
    if (!edt->SarAndTkn().LodTknFil(TESSARO_DATA_DIR "/ExtComTkn.sys")) {
      st.SkipWithError(GuLstErrMsg.c_str());
      break;
    }
    const std::size_t bas = GiCur.load();
    GiPek.store(bas);
    st.ResumeTiming();
    ok = edt->LodVioFil(p);
    st.PauseTiming();
    ext = std::max(ext, GiPek.load() - bas);
    edt.reset();
    st.ResumeTiming();
  }
  st.counters["extra_MB"] = static_cast<double>(ext) / (1024.0 * 1024.0);
  st.counters["loaded"] = ok ? 1 : 0;
  std::remove(p.c_str());
}
BENCHMARK(BM_LodCrafted)->DenseRange(0, 12)->Unit(benchmark::kMillisecond);

}  // namespace
