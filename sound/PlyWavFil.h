// The wave file player. It keeps no state: playing goes through the sound
// seam, which plays one sound at a time and cuts the current one short.
#pragma once

#include <cstdint>
#include <mutex>
#include <set>
#include <string>
#include <vector>

// Play flags, as callers pass them.
constexpr std::uint32_t SND_SYNC = 0x0000;
constexpr std::uint32_t SND_ASYNC = 0x0001;
constexpr std::uint32_t SND_FILENAME = 0x20000;

class TclsPlyWavFil {
public:
  TclsPlyWavFil() = default;
  // Plays the file asynchronously. A missing file shows "File '<path>' not
  // found" and returns false.
  bool PlyWavFil(const std::string& path);
  // Plays the file with the given flags: 0 synchronous (returns when the sound
  // has ended), 1 asynchronous.
  bool PlyWavFilFlg(const std::string& path, std::uint32_t flags);
  // Files whose absence has been told already (native paths, at start): a
  // play of one of them returns false without a message.
  void SetMisTld(const std::vector<std::string>& paths);

private:
  std::mutex FMtx;
  std::set<std::string> FMisTld;
};
