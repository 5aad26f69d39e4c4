// Reading the header of a wave file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct TuWavInf {
  std::uint16_t FmtTag = 0;      // 1 PCM, 3 float, 0xFFFE extensible ...
  std::uint16_t Chn = 0;         // channels
  std::uint16_t Bits = 0;        // bits per sample
  std::uint32_t ByteRate = 0;    // bytes a second
  std::uint64_t DatOff = 0;      // where the samples begin in the file
  std::uint64_t DatSiz = 0;      // size of the "data" chunk as stated
  std::uint64_t DatHav = 0;      // bytes of it that the file really holds
};

// Reads the "fmt " and "data" chunk headers of a RIFF/WAVE file (size: the
// whole file; d may hold only its head). False when there is no such header.
bool WavInfRd(const std::uint8_t* d, std::size_t n, std::uint64_t size, TuWavInf& inf);
bool WavInfRd(const std::string& path, TuWavInf& inf);

// Length in milliseconds of the sound in a wave file: the samples the file
// really holds divided by the byte rate. -1 when it is no wave file.
int WavDurMs(const std::string& path);
int WavDurMs(const std::uint8_t* data, std::size_t size);

// True for a complete wave file: a header with a byte rate and a sample size
// of 8, 16, 24 or 32 bits, and every byte the "data" chunk states present.
// Players wait for the missing samples of a cut-off file.
bool WavCmp(const std::string& path);
bool WavCmp(const TuWavInf& inf);
