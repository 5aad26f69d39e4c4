#include "messages/TxtFil.h"

#include <fstream>
#include <string>

TeLinFilRes RdLinFil(const std::string& nativePath, TStrLst& lines, std::uintmax_t maxSiz) {
  lines.clear();
  std::ifstream in(nativePath, std::ios::binary);
  if (!in) return TeLinFilRes::CantRd;
  // Read in pieces and split as the bytes come, so that the limit is met
  // before the file is in memory.
  char buf[16 * 1024];
  std::string cur;       // the line being read
  std::uintmax_t tot = 0;
  for (;;) {
    in.read(buf, sizeof buf);
    const std::size_t n = static_cast<std::size_t>(in.gcount());
    if (in.bad()) {
      lines.clear();
      return TeLinFilRes::CantRd;
    }
    if (n == 0) break;
    tot += n;
    if (tot > maxSiz) {
      lines.clear();
      return TeLinFilRes::TooBig;
    }
    std::size_t pos = 0;
    while (pos < n) {
      const char* b = buf + pos;
      const char* f = std::char_traits<char>::find(b, n - pos, '\n');
      const std::size_t end = f ? static_cast<std::size_t>(f - buf) : n;
      cur.append(b, end - pos);
      if (!f) break;
      if (!cur.empty() && cur.back() == '\r') cur.pop_back();
      lines.push_back(std::move(cur));
      cur.clear();
      pos = end + 1;
    }
    if (!in) break;
  }
  if (!cur.empty()) {  // a last line without its end
    if (cur.back() == '\r') cur.pop_back();
    lines.push_back(std::move(cur));
  }
  return TeLinFilRes::Ok;
}

bool LodLinFil(const std::string& nativePath, TStrLst& lines) {
  return RdLinFil(nativePath, lines, UINTMAX_MAX) == TeLinFilRes::Ok;
}

TStrLst SplLin(const std::string& txt) {
  TStrLst lines;
  for (std::size_t pos = 0; pos < txt.size();) {
    std::size_t end = txt.find('\n', pos);
    if (end == std::string::npos) end = txt.size();
    std::string lin = txt.substr(pos, end - pos);
    if (!lin.empty() && lin.back() == '\r') lin.pop_back();
    lines.push_back(std::move(lin));
    pos = end + 1;
  }
  return lines;
}
