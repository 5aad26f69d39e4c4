// Replacing a file without ever destroying it: the new contents go into a
// temporary file of a unique name beside the target, are flushed to the disk,
// and are then renamed over it; the folder is flushed after the rename.
// One implementation per platform: SafFilPsx.cpp (rename, fsync) and
// SafFilWin.cpp (ReplaceFileW or MoveFileExW, FlushFileBuffers; there a
// link is not followed and a read-only file is one with that attribute).
#pragma once

#include <string>

// Writes data to path. A symbolic link is followed and its target written;
// an existing file keeps its mode and, where the process may set them, its
// owner and group; a new file gets the mode the umask allows. A file that may
// not be written (no write permission, or marked read-only) is refused and
// left as it was. On failure the old file is untouched, no temporary file is
// left behind, and why holds the reason ("Permission denied", "No space left
// on device", ...).
bool WrtFilSaf(const std::string& path, const std::string& data, std::string& why);
