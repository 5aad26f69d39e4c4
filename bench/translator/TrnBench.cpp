// Translator benchmarks: translating a field of 120 vios, and the lookups of
// the two data files on files ten times the shipped size.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <unistd.h>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "core/Globals.h"
#include "bench/BchSup.h"
#include "editor/VioMtr.h"
#include "editor/VioPgmItp.h"
#include "messages/SysLgeMsg.h"
#include "translator/InsAndTkn.h"

namespace fs = std::filesystem;

namespace {

const std::string GcDat = std::string(TESSARO_DATA_DIR) + "/";

std::string Blk(const char* key, int col, int row, std::initializer_list<const char*> prm) {
  char cel[32];
  std::snprintf(cel, sizeof cel, "%04d\r\n%04d\r\n", col, row);
  std::string s = std::string(key) + "\r\n" + cel;
  for (const char* p : prm) s += std::string(p) + "\r\n";
  return s + "\r\n";
}

// The fullest field that translates: 64 vios that wind through rows 1, 3, 5,
// 7 and 9 of the grid (Start, delays, actors, a label, Stop), joined at the
// row ends. Every other cell of the 12 x 10 field touches the path, and a vio
// there would give a vio of the path a second successor, so a program of 120
// vios on the field cannot translate.
std::vector<std::pair<int, int>> FulPth() {
  std::vector<std::pair<int, int>> cel;
  for (int r = 1; r <= 9; r += 2) {
    for (int i = 1; i <= 12; ++i) cel.push_back({r % 4 == 1 ? i : 13 - i, r});
    if (r < 9) cel.push_back({r % 4 == 1 ? 12 : 1, r + 1});
  }
  return cel;
}

std::string FulPgm() {
  const std::vector<std::pair<int, int>> cel = FulPth();
  std::string f;
  for (std::size_t i = 0; i < cel.size(); ++i) {
    const auto [c, r] = cel[i];
    if (i == 0)
      f += Blk("START1", c, r, {});
    else if (i + 1 == cel.size())
      f += Blk("STOP1", c, r, {});
    else if (i == 1)
      f += Blk("LABEL1", c, r, {"top"});
    else if (i % 3 == 0)
      f += Blk("ACTOR1", c, r, {"Driving", "Forward", "20"});
    else if (i % 3 == 1)
      f += Blk("ACTOR1", c, r, {"System led", "On", "5"});
    else
      f += Blk("DELAY1", c, r, {"3"});
  }
  return f + "EOF\r\n";
}

std::string TmpFil(const std::string& name, const std::string& content) {
  const fs::path p = fs::temp_directory_path() / ("tessaro-bench-" + std::to_string(::getpid()) + "-" + name);
  std::ofstream(p, std::ios::binary) << content;
  return p.string();
}

std::string TenTimes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string one((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::string ten;
  for (int i = 0; i < 10; ++i) ten += one;
  return ten;
}

struct TFld {
  TBchQui Qui;
  TVioPgmItp Edt{nullptr};
  TSysLgeMsg Msg{nullptr, GcDat};
  TFld() {
    GuSysLgeMsg = &Msg;
    Edt.CrtVioFld(0, 0);
    Edt.SetLgeIdx(0);
    Edt.SetAvlCol(0);
    Edt.SarAndTkn().LodTknFil(GcDat + "ExtComTkn.sys");
  }
  ~TFld() { GuSysLgeMsg = nullptr; }
};

void BM_TrnFulFld(benchmark::State& st) {
  TFld f;
  const std::string pgm = TmpFil("full.vio", FulPgm());
  const std::size_t len = FulPth().size();
  if (!f.Edt.LodVioFil(pgm) || f.Edt.GetVioCnt() != static_cast<int>(len) || !f.Edt.TrnVioPgm() ||
      f.Edt.Trn().FpPgmVioLst.size() != len) {
    st.SkipWithError(("program not translated: " + GuLstErrMsg).c_str());
    fs::remove(pgm);
    return;
  }
  for (auto _ : st) benchmark::DoNotOptimize(f.Edt.TrnVioPgm());
  st.counters["bytes"] = static_cast<double>(f.Edt.Trn().FpTsmTknLst.size());
  st.counters["walked"] = static_cast<double>(f.Edt.Trn().FpPgmVioLst.size());
  fs::remove(pgm);
}
BENCHMARK(BM_TrnFulFld)->Unit(benchmark::kMicrosecond);

void BM_LodAndTrnFulFld(benchmark::State& st) {
  TFld f;
  const std::string pgm = TmpFil("full2.vio", FulPgm());
  for (auto _ : st) {
    if (!f.Edt.LodVioFil(pgm) || !f.Edt.TrnVioPgm()) {
      st.SkipWithError(("program not loaded and translated: " + GuLstErrMsg).c_str());
      break;
    }
  }
  fs::remove(pgm);
}
BENCHMARK(BM_LodAndTrnFulFld)->Unit(benchmark::kMicrosecond);

// What the byte meter does after an edit of the full field: its own quiet
// translation, the state and its texts.
void BM_MtrUpdFulFld(benchmark::State& st) {
  TFld f;
  const std::string pgm = TmpFil("full3.vio", FulPgm());
  TVioMtr mtr(f.Edt);
  if (!f.Edt.LodVioFil(pgm) || !mtr.Upd().Ok) {
    st.SkipWithError(("program not translated: " + mtr.Stt().Why).c_str());
    fs::remove(pgm);
    return;
  }
  for (auto _ : st) {
    mtr.VioChg(nullptr);  // as the model tells it of an edit
    benchmark::DoNotOptimize(mtr.Upd().Len);
  }
  st.counters["bytes"] = static_cast<double>(mtr.Stt().Len);
  fs::remove(pgm);
}
BENCHMARK(BM_MtrUpdFulFld)->Unit(benchmark::kMicrosecond);

// ---- data file lookups on ten copies of the shipped files ------------------------

struct TBigTkn {
  TBchQui Qui;
  TSarAndTkn Sar{nullptr};
  TBigTkn() { Sar.LodTknFil(TmpFil("tkn.sys", TenTimes(GcDat + "ExtComTkn.sys"))); }
};

void BM_SarTypLst(benchmark::State& st) {
  TBigTkn b;
  TStrLst l;
  for (auto _ : st) benchmark::DoNotOptimize(b.Sar.GetSarTypLst(l, 0, 0, st.range(0) != 0));
  st.counters["lines"] = static_cast<double>(b.Sar.Lines().size());
}
BENCHMARK(BM_SarTypLst)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

void BM_SarComLst(benchmark::State& st) {
  TBigTkn b;
  TStrLst l;
  for (auto _ : st) benchmark::DoNotOptimize(b.Sar.GetSarComLst(l, "Driving", 0, 0, true));
}
BENCHMARK(BM_SarComLst)->Unit(benchmark::kMicrosecond);

void BM_SarTknFirst(benchmark::State& st) {
  TBigTkn b;
  for (auto _ : st) benchmark::DoNotOptimize(b.Sar.GetSarTkn(0, "Driving", "Forward"));
}
BENCHMARK(BM_SarTknFirst)->Unit(benchmark::kMicrosecond);

void BM_SarTknMissing(benchmark::State& st) {
  // The whole file is scanned.
  TBigTkn b;
  for (auto _ : st) benchmark::DoNotOptimize(b.Sar.GetSarTkn(0, "Driving", "Backflip"));
}
BENCHMARK(BM_SarTknMissing)->Unit(benchmark::kMicrosecond);

struct TBigMsg {
  TBchQui Qui;
  TSysLgeMsg Msg{nullptr, GcDat};
  TBigMsg() { Msg.LodSysMsgFil(TmpFil("msg.sys", TenTimes(GcDat + "SysMsgFil.sys"))); }
};

void BM_SysMsgLast(benchmark::State& st) {
  TBigMsg b;
  for (auto _ : st) benchmark::DoNotOptimize(b.Msg.GetSysMsg(SUM_LNK_COM_PRT_ERR, 2));
  st.counters["lines"] = static_cast<double>(b.Msg.Lines().size());
}
BENCHMARK(BM_SysMsgLast)->Unit(benchmark::kMicrosecond);

void BM_SysMsgMissing(benchmark::State& st) {
  TBigMsg b;
  for (auto _ : st) benchmark::DoNotOptimize(b.Msg.GetSysMsg(0xEE, 0));
}
BENCHMARK(BM_SysMsgMissing)->Unit(benchmark::kMicrosecond);

}  // namespace
