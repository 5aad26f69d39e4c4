// Helpers of the editor benchmarks: a full program on disk.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "bench/BchSup.h"
#include "editor/VioPgmItp.h"

// Every cell taken, every kind of vio, saved to a temporary file whose name
// carries tag; empty when placing or saving failed.
inline std::string MakFulPgm(TVioPgmItp& edt, const std::string& tag) {
  static const std::uint8_t GcTyp[] = {VT_DLY, VT_ACT, VT_SNS, VT_IFF, VT_THN, VT_ELS,
                                       VT_LBL, VT_GTO, VT_SPD, VT_STO, VT_RTI, VT_ACT};
  int n = 0;
  for (int r = 0; r < 10; ++r)
    for (int c = 0; c < 12; ++c, ++n) {
      const std::uint8_t t = n == 0 ? std::uint8_t{VT_STA} : GcTyp[n % 12];
      if (!edt.PutVio(t, c, r)) return {};
    }
  const std::string p =
      (std::filesystem::temp_directory_path() / ("tessaro-bench-" + tag + "-" + std::to_string(::getpid()) + ".vio"))
          .string();
  return edt.SavVioFil(p) ? p : std::string();
}
