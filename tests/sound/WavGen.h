// Wave files made by the tests themselves: 16-bit mono PCM with a quiet tone.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>

inline void WavPut(std::string& s, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) s += char((v >> (8 * i)) & 0xff);
}

// The "fmt " chunk of PCM at the given rate and sample size, and a chunk.
inline std::string WavFmt(std::uint32_t rate, std::uint16_t bits = 16, std::uint16_t tag = 1) {
  std::string s = "fmt ";
  for (std::uint32_t v : {16u, tag + 0x10000u, rate, rate * bits / 8}) WavPut(s, v, 4);
  WavPut(s, bits / 8u + (std::uint32_t(bits) << 16), 4);  // block align, bits
  return s;
}
inline std::string WavChk(const char* id, const std::string& data, std::uint32_t size) {
  std::string s = id;
  WavPut(s, size, 4);
  return s + data;
}
inline std::string WavRiff(const std::string& body) { return WavChk("RIFF", "WAVE" + body, std::uint32_t(4 + body.size())); }

// A complete file of ms milliseconds.
inline std::string WavBytes(int ms, std::uint32_t rate = 8000) {
  const std::uint32_t n = std::uint32_t(std::uint64_t(rate) * std::uint32_t(ms) / 1000);
  std::string data;
  for (std::uint32_t i = 0; i < n; ++i) WavPut(data, std::uint16_t(std::int16_t(2000 * std::sin(0.344 * i))), 2);
  return WavRiff(WavFmt(rate) + WavChk("data", data, std::uint32_t(data.size())));
}
