#include "sound/WavInf.h"

#include <cstring>
#include <fstream>
#include <limits>
#include <vector>

namespace {

std::uint32_t Le32(const std::uint8_t* p) {
  return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}
std::uint16_t Le16(const std::uint8_t* p) { return std::uint16_t(p[0] | p[1] << 8); }

int DurOf(const TuWavInf& inf) {
  const std::uint64_t ms = inf.DatHav * 1000 / inf.ByteRate;
  return ms > std::uint64_t(std::numeric_limits<int>::max()) ? std::numeric_limits<int>::max() : int(ms);
}

}  // namespace

bool WavInfRd(const std::uint8_t* d, std::size_t n, std::uint64_t size, TuWavInf& inf) {
  inf = TuWavInf();
  if (!d || n < 12 || std::memcmp(d, "RIFF", 4) != 0 || std::memcmp(d + 8, "WAVE", 4) != 0) return false;
  bool fmt = false;
  std::uint64_t pos = 12;
  while (pos + 8 <= n) {
    const std::uint8_t* ck = d + pos;
    const std::uint64_t ckSz = Le32(ck + 4);
    const std::uint64_t body = pos + 8;
    if (std::memcmp(ck, "fmt ", 4) == 0) {
      if (ckSz < 16 || body + 16 > n) return false;
      inf.FmtTag = Le16(d + body);
      inf.Chn = Le16(d + body + 2);
      inf.ByteRate = Le32(d + body + 8);
      inf.Bits = Le16(d + body + 14);
      fmt = true;
    } else if (std::memcmp(ck, "data", 4) == 0) {
      if (!fmt || inf.ByteRate == 0) return false;
      inf.DatOff = body;
      inf.DatSiz = ckSz;
      const std::uint64_t have = size > body ? size - body : 0;
      inf.DatHav = ckSz < have ? ckSz : have;
      return true;
    }
    // Chunks are padded to an even size.
    pos = body + ckSz + (ckSz & 1);
  }
  return false;
}

bool WavInfRd(const std::string& path, TuWavInf& inf) {
  inf = TuWavInf();
  std::ifstream f(path, std::ios::binary);
  if (!f) return false;
  f.seekg(0, std::ios::end);
  const std::streamoff total = f.tellg();
  if (total <= 0) return false;
  f.seekg(0);
  // The header chunks lie at the start; the samples are not read.
  const std::size_t want = std::size_t(total < 65536 ? total : 65536);
  std::vector<std::uint8_t> buf(want);
  if (!f.read(reinterpret_cast<char*>(buf.data()), std::streamsize(want))) return false;
  return WavInfRd(buf.data(), buf.size(), std::uint64_t(total), inf);
}

int WavDurMs(const std::uint8_t* data, std::size_t size) {
  TuWavInf inf;
  return WavInfRd(data, size, size, inf) ? DurOf(inf) : -1;
}

int WavDurMs(const std::string& path) {
  TuWavInf inf;
  return WavInfRd(path, inf) ? DurOf(inf) : -1;
}

bool WavCmp(const TuWavInf& inf) {
  return inf.ByteRate != 0 && (inf.Bits == 8 || inf.Bits == 16 || inf.Bits == 24 || inf.Bits == 32) &&
         inf.DatHav == inf.DatSiz;
}

bool WavCmp(const std::string& path) {
  TuWavInf inf;
  return WavInfRd(path, inf) && WavCmp(inf);
}
