// The recent-files list of the File menu: the programs opened or saved last,
// most recent first, kept in the per-user settings store.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "messages/SysMsgIdf.h"

class ISettingsStore;

class TRctFil {
public:
  static constexpr std::size_t GcMax = 8;
  // Values "File1" ... "File8" of this key below the program's key.
  static constexpr const char* GcKey = "\\RecentFiles";

  // Reads the list from the store's open key; empty values and repeats are skipped.
  void Lod(ISettingsStore& st);
  // Writes the whole list (unused places empty); false when the store refuses.
  bool Sav(ISettingsStore& st) const;
  // The file goes to the front, once; the oldest beyond GcMax drops out.
  void Add(const std::string& path);
  // False when the file was not listed.
  bool Rmv(const std::string& path);
  const std::vector<std::string>& Lst() const { return FLst; }

private:
  std::vector<std::string> FLst;
};
