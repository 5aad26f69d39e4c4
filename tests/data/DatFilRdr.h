// Helpers of the tests of the installed data: whole files, little-endian
// fields, and the two trees where the program finds its data.
#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace datatest {

using TBytes = std::vector<std::uint8_t>;

inline bool ReadAll(const std::string& path, TBytes& out) {
  std::ifstream in(path, std::ios::binary);
  out.assign(std::istreambuf_iterator<char>(in), {});
  return in.is_open();
}
inline std::uint32_t U16(const TBytes& b, std::size_t at) { return at + 2 <= b.size() ? b[at] | b[at + 1] << 8 : 0; }
inline std::uint32_t U32(const TBytes& b, std::size_t at) { return U16(b, at) | U16(b, at + 2) << 16; }

// data/ and the staged installation: the installation folder Dir and the
// executable's folder SysDir (where the .sys files lie), both ending in '/'.
struct TInsRoot {
  const char* Name;
  std::string Dir, SysDir;
  // A file named relative to the executable's folder ("..\pictures\x" in the program).
  std::string FromAppDir(const std::string& rel) const { return SysDir == Dir ? Dir + rel : SysDir + "..\\" + rel; }
};
inline std::vector<TInsRoot> InsRoots() {
  const std::string data = std::string(TESSARO_DATA_DIR) + "/", stage = std::string(TESSARO_STAGE_DIR) + "/";
  return {{"source data", data, data}, {"staged installation", stage, stage + "bin/"}};
}

}  // namespace datatest
