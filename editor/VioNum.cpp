#include "editor/VioNum.h"

#include <cstdint>

namespace {
constexpr long long GcLim = 0x7FFFFFFFLL;

bool IsBlk(char c) { return c == ' ' || c == '\t'; }

// Reads [blanks][sign]digits from position i; false when there is no digit.
bool RdNum(const std::string& t, std::size_t& i, long long& val, bool& ovf) {
  while (i < t.size() && IsBlk(t[i])) ++i;
  bool neg = false;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) neg = t[i++] == '-';
  const std::size_t fst = i;
  long long v = 0;
  ovf = false;
  while (i < t.size() && t[i] >= '0' && t[i] <= '9') {
    if (v <= GcLim) v = v * 10 + (t[i] - '0');
    ++i;
  }
  if (i == fst) return false;
  if (v > GcLim + (neg ? 1 : 0)) {
    ovf = true;
    v = GcLim + (neg ? 1 : 0);
  }
  val = neg ? -v : v;
  return true;
}
}  // namespace

bool StrToInt(const std::string& txt, long long& val) {
  std::size_t i = 0;
  bool ovf;
  long long v;
  if (!RdNum(txt, i, v, ovf) || ovf || i != txt.size()) return false;
  val = v;
  return true;
}

long long NumIn(const std::string& txt) {
  std::size_t i = 0;
  bool ovf;
  long long v;
  return RdNum(txt, i, v, ovf) ? v : 0;
}
