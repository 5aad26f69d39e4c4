// Wave files made by the tests themselves: 16-bit mono PCM with a quiet tone.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>

inline void WavPut(std::string& s, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) s += char((v >> (8 * i)) & 0xff);
}

// A chunk; the "fmt " chunk of PCM at the given rate and sample size; RIFF/WAVE around chunks.
inline std::string WavChk(const char* id, const std::string& data, std::uint32_t size) {
  std::string s = id;
  return WavPut(s, size, 4), s + data;
}
inline std::string WavFmt(std::uint32_t rate, std::uint16_t bits = 16) {
  std::string s;
  for (std::uint32_t v : {1u + 0x10000u, rate, rate * bits / 8, bits / 8u + (std::uint32_t(bits) << 16)}) WavPut(s, v, 4);
  return WavChk("fmt ", s, 16);
}
inline std::string WavRiff(const std::string& body) { return WavChk("RIFF", "WAVE" + body, std::uint32_t(4 + body.size())); }

// A complete file of ms milliseconds.
inline std::string WavBytes(int ms, std::uint32_t rate = 8000) {
  std::string data;
  for (std::uint32_t i = 0; i < std::uint64_t(rate) * std::uint32_t(ms) / 1000; ++i)
    WavPut(data, std::uint16_t(std::int16_t(2000 * std::sin(0.344 * i))), 2);
  return WavRiff(WavFmt(rate) + WavChk("data", data, std::uint32_t(data.size())));
}
