#include "messages/TxtFil.h"

#include <fstream>
#include <iterator>

bool LodLinFil(const std::string& nativePath, TStrLst& lines) {
  lines.clear();
  std::ifstream in(nativePath, std::ios::binary);
  if (!in) return false;
  std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return false;
  std::size_t pos = 0;
  while (pos < all.size()) {
    std::size_t nl = all.find('\n', pos);
    std::size_t end = nl == std::string::npos ? all.size() : nl;
    std::size_t len = end - pos;
    if (len > 0 && all[end - 1] == '\r') --len;
    lines.emplace_back(all, pos, len);
    if (nl == std::string::npos) break;
    pos = nl + 1;
  }
  return true;
}
