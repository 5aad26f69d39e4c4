// Reading the program's 8-bit text files into ordered lists of lines.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using TStrLst = std::vector<std::string>;

// The largest SysMsgFil.sys or ExtComTkn.sys that is read. The files
// installed with the program hold a few kilobytes; the limit keeps a damaged
// or foreign file from costing unbounded memory (every line is kept).
constexpr std::uintmax_t GcMaxSysFilSiz = 256u * 1024u;

enum class TeLinFilRes : std::uint8_t { Ok, CantRd, TooBig };

// Reads the whole file into lines, giving up as soon as more than maxSiz
// bytes have come. Line ends CR LF or LF; a final line without a line end
// counts; an empty file gives no lines. On anything but Ok the list is empty.
TeLinFilRes RdLinFil(const std::string& nativePath, TStrLst& lines, std::uintmax_t maxSiz);

// The lines of a text held in memory, split as RdLinFil splits a file.
TStrLst SplLin(const std::string& txt);

// The same without a size limit; false when the file cannot be opened or read.
bool LodLinFil(const std::string& nativePath, TStrLst& lines);
