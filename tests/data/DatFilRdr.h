// Small helpers for the tests of the installed data files: reading a whole
// file, little-endian fields, and the places where the program finds its data.
#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace datatest {

using TBytes = std::vector<std::uint8_t>;

// Whole file, or false when it cannot be opened.
inline bool ReadAll(const std::string& path, TBytes& out) {
  out.clear();
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) return false;
  std::streamoff size = in.tellg();
  if (size < 0) return false;
  out.resize(static_cast<std::size_t>(size));
  in.seekg(0);
  return size == 0 || static_cast<bool>(in.read(reinterpret_cast<char*>(out.data()), size));
}

inline std::uint32_t U16(const TBytes& b, std::size_t at) {
  return at + 2 <= b.size() ? std::uint32_t(b[at]) | std::uint32_t(b[at + 1]) << 8 : 0;
}

inline std::uint32_t U32(const TBytes& b, std::size_t at) {
  return at + 4 <= b.size() ? U16(b, at) | U16(b, at + 2) << 16 : 0;
}

inline std::int32_t I32(const TBytes& b, std::size_t at) {
  return static_cast<std::int32_t>(U32(b, at));
}

inline bool Tag(const TBytes& b, std::size_t at, const char* tag) {
  for (std::size_t i = 0; i < 4; ++i)
    if (at + i >= b.size() || b[at + i] != static_cast<std::uint8_t>(tag[i])) return false;
  return true;
}

// The two trees that must hold the data: the source folder data/ (laid out
// like an installation for pictures and sounds, with the .sys files at its
// top) and the staged installation of the build. Dir is the installation
// folder, SysDir the folder of the .sys files, which is also the executable's
// folder of an installation. All end in a separator.
struct TInsRoot {
  const char* Name;
  std::string Dir;
  std::string SysDir;
  // Path of a file named relative to the executable's folder ("..\pictures\x"
  // in the program): through bin/ in the staged tree, directly in data/.
  std::string FromAppDir(const std::string& relToIns) const {
    return SysDir == Dir ? Dir + relToIns : SysDir + "..\\" + relToIns;
  }
};

inline std::vector<TInsRoot> InsRoots() {
  const std::string data = std::string(TESSARO_DATA_DIR) + "/";
  const std::string stage = std::string(TESSARO_STAGE_DIR) + "/";
  return {{"source data", data, data}, {"staged installation", stage, stage + "bin/"}};
}

}  // namespace datatest
