// The messages as the build found them in data/SysMsgFil.sys, built into the
// program: the stand-in of a text that the loaded table lacks (no table, as
// in the command-line tools and the tests, or a table that misses the text).
// The one source of every text stays the file: the build copies it in
// (messages/EmbSysMsg.cmake), nothing here repeats a text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The English text of the message in the build's file; empty when it has none.
std::string SysMsgEng(std::uint8_t id);

// The one lookup of a text to show: the loaded table's text in the language
// (0 English, 1 Dutch, 2 German), or the English text of the build's file
// when there is no table or it lacks the text. It never touches the
// last-error text, so a caller need not keep it.
std::string SysMsgOr(std::uint8_t id, std::uint8_t lge);

// A text with %1 ... %9 replaced by the arguments, in one pass: an argument
// that holds "%1" itself stays as it is. A number without an argument stays.
std::string SysMsgArg(const std::string& msg, const std::vector<std::string>& arg);

// The entry at idx of a text that lists several, split by "|"; empty when the
// list is shorter.
std::string SysMsgItm(const std::string& lst, std::size_t idx);
