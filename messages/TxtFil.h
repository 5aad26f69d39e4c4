// Reading the program's 8-bit text files into ordered lists of lines.
#pragma once

#include <string>
#include <vector>

using TStrLst = std::vector<std::string>;

// Reads the whole file into lines. Line ends CR LF or LF; a final line without
// a line end counts; an empty file gives no lines. False when the file cannot
// be opened or read.
bool LodLinFil(const std::string& nativePath, TStrLst& lines);
