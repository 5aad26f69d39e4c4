// Reading the length of a wave file from its header.
#pragma once

#include <cstdint>
#include <string>

// Length in milliseconds of the sound in a RIFF/WAVE file: the size of the
// "data" chunk (at most what the file really holds) divided by the byte rate
// of the "fmt " chunk. -1 when the file cannot be read or is no wave file.
int WavDurMs(const std::string& path);

// The same for a file's contents held in memory.
int WavDurMs(const std::uint8_t* data, std::size_t size);
