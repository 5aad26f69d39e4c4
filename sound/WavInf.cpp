#include "sound/WavInf.h"

#include <cstring>
#include <fstream>
#include <limits>
#include <vector>

namespace {

std::uint32_t Le32(const std::uint8_t* p) {
  return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

// d/n: the head of the file; total: the size of the whole file.
int DurOfHead(const std::uint8_t* d, std::size_t n, std::uint64_t total) {
  if (!d || n < 12 || std::memcmp(d, "RIFF", 4) != 0 || std::memcmp(d + 8, "WAVE", 4) != 0) return -1;
  std::uint32_t byteRate = 0;
  bool fmt = false;
  std::uint64_t pos = 12;
  while (pos + 8 <= n) {
    const std::uint8_t* ck = d + pos;
    const std::uint64_t ckSz = Le32(ck + 4);
    const std::uint64_t body = pos + 8;
    if (std::memcmp(ck, "fmt ", 4) == 0) {
      if (ckSz < 16 || body + 16 > n) return -1;
      byteRate = Le32(d + body + 8);
      fmt = true;
    } else if (std::memcmp(ck, "data", 4) == 0) {
      if (!fmt || byteRate == 0) return -1;
      // Streamed files carry a placeholder size: count only what is there.
      const std::uint64_t have = total > body ? total - body : 0;
      const std::uint64_t bytes = ckSz < have ? ckSz : have;
      const std::uint64_t ms = bytes * 1000 / byteRate;
      return ms > std::uint64_t(std::numeric_limits<int>::max()) ? std::numeric_limits<int>::max() : int(ms);
    }
    // Chunks are padded to an even size.
    pos = body + ckSz + (ckSz & 1);
  }
  return -1;
}

}  // namespace

int WavDurMs(const std::uint8_t* data, std::size_t size) { return DurOfHead(data, size, size); }

int WavDurMs(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  if (!f) return -1;
  f.seekg(0, std::ios::end);
  const std::streamoff total = f.tellg();
  if (total <= 0) return -1;
  f.seekg(0);
  // The header chunks lie at the start; the samples are not read.
  const std::size_t want = std::size_t(total < 65536 ? total : 65536);
  std::vector<std::uint8_t> buf(want);
  if (!f.read(reinterpret_cast<char*>(buf.data()), std::streamsize(want))) return -1;
  return DurOfHead(buf.data(), buf.size(), std::uint64_t(total));
}
