// Small text helpers shared by the subsystems.
#pragma once

#include <cctype>
#include <string_view>

// Equal without regard to case (8-bit, "C" locale).
inline bool EqlNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

// Index of the first entry equal to s without regard to case; -1 when none.
template <class TLst>
int FndNoCase(const TLst& lst, std::string_view s) {
  for (std::size_t i = 0; i < lst.size(); ++i)
    if (EqlNoCase(lst[i], s)) return static_cast<int>(i);
  return -1;
}
