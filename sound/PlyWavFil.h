// The wave file player. It keeps no state: playing goes through the sound
// seam, which plays one sound at a time and cuts the current one short.
#pragma once

#include <cstdint>
#include <functional>
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

  // The spoken cues of the user's language lie in a folder of their own
  // beside the English ones ("nl", "de"); empty: English. A cue that the
  // language's folder lacks is played from its English file.
  void SetLgeDir(const std::string& dir) { FsLgeDir = dir; }
  const std::string& LgeDir() const { return FsLgeDir; }
  // The file that plays for path: the language's one when it exists, else path.
  std::string LgeFil(const std::string& path) const;
  // Files whose absence has been told already (native paths, at start): a
  // play of one of them returns false without a message.
  void SetMisTld(const std::vector<std::string>& paths);
  // Told of every file about to play (the path as the caller gave it), on
  // the caller's thread, before the sound starts: a screen reader says its words.
  std::function<void(const std::string& path)> FOnPly;

private:
  std::string FsLgeDir;
  std::mutex FMtx;
  std::set<std::string> FMisTld;
};

// The cue of the same name in the folder dir beside the cue's own folder:
// ".../sounds/system/x.wav" becomes ".../sounds/de/x.wav" (either separator).
// Empty when the path has no folder above its file's folder.
std::string LgeCuePth(const std::string& path, const std::string& dir);
