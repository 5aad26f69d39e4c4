// Number conversions of the editor's parameter texts.
#pragma once

#include <string>

// The whole text as a whole number: optional leading blanks, an optional sign
// and decimal digits, nothing after them, within 32 bits. False otherwise.
bool StrToInt(const std::string& txt, long long& val);

// The leading decimal number of a text: optional leading blanks and sign, then
// digits; no digits give 0. Values beyond 32 bits are held at the limit.
long long NumIn(const std::string& txt);
