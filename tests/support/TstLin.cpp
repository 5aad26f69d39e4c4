#include "support/TstLin.h"

#include <iterator>
#include <sstream>

std::vector<std::string> TstWrd(const std::string& text) {
  std::istringstream in(text);
  return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

std::vector<std::string> TstFld(const std::string& text, char sep) {
  std::vector<std::string> r;
  std::size_t p = 0;
  for (std::size_t e; (e = text.find(sep, p)) != std::string::npos; p = e + 1) r.push_back(text.substr(p, e - p));
  r.push_back(text.substr(p));
  return r;
}

std::vector<std::uint8_t> TstHex(const std::vector<std::string>& words, std::size_t from) {
  std::vector<std::uint8_t> b;
  for (std::size_t i = from; i < words.size(); ++i) b.push_back(static_cast<std::uint8_t>(std::stoul(words[i], nullptr, 16)));
  return b;
}

std::vector<std::uint8_t> TstHex(std::istream& in) {
  return TstHex(std::vector<std::string>(std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()));
}
