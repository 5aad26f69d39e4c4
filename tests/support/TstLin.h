// The one splitter of the test drivers' lines: the words of a line, the
// fields between separators, and the bytes written as hexadecimal words.
#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <string>
#include <vector>

// The words of a text, split at white space; none for an empty or blank text.
std::vector<std::string> TstWrd(const std::string& text);
// The fields of a text between the separators, empty ones kept: "a||b" gives
// three, "" one.
std::vector<std::string> TstFld(const std::string& text, char sep);
// The bytes of hexadecimal words ("02 5 FF"): the words from index from on,
// or the rest of a stream.
std::vector<std::uint8_t> TstHex(const std::vector<std::string>& words, std::size_t from = 0);
std::vector<std::uint8_t> TstHex(std::istream& in);
