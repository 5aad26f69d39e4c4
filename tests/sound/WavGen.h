// Wave files made by the tests themselves: 16-bit mono PCM with a quiet tone.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>

inline void WavPut32(std::string& s, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) s += char((v >> (8 * i)) & 0xff);
}
inline void WavPut16(std::string& s, std::uint16_t v) {
  s += char(v & 0xff);
  s += char(v >> 8);
}

// The "fmt " chunk of 16-bit mono PCM at the given rate.
inline std::string WavFmtChunk(std::uint32_t rate) {
  std::string s = "fmt ";
  WavPut32(s, 16);
  WavPut16(s, 1);         // PCM
  WavPut16(s, 1);         // mono
  WavPut32(s, rate);      // sample rate
  WavPut32(s, rate * 2);  // byte rate
  WavPut16(s, 2);         // block align
  WavPut16(s, 16);        // bits
  return s;
}

// A complete file of ms milliseconds.
inline std::string WavBytes(int ms, std::uint32_t rate = 8000) {
  const std::uint32_t n = std::uint32_t(std::uint64_t(rate) * std::uint32_t(ms) / 1000);
  std::string data;
  data.reserve(n * 2);
  for (std::uint32_t i = 0; i < n; ++i)
    WavPut16(data, std::uint16_t(std::int16_t(2000 * std::sin(2 * 3.14159265 * 440.0 * i / rate))));
  std::string s = "RIFF";
  WavPut32(s, std::uint32_t(4 + 24 + 8 + data.size()));
  s += "WAVE";
  s += WavFmtChunk(rate);
  s += "data";
  WavPut32(s, std::uint32_t(data.size()));
  return s + data;
}
