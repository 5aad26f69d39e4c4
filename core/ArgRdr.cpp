#include "core/ArgRdr.h"

bool TArgRdr::Nxt() {
  if (FiCur + 1 >= FArg.size()) return false;
  ++FiCur;
  const std::string& a = FArg[FiCur];
  if (!FbEnd && a == "--") {
    FbEnd = true;
    return Nxt();
  }
  FsNam = a;
  FsVal.clear();
  FbHasVal = false;
  FbOpt = !FbEnd && a.size() > 1 && a[0] == '-';
  const std::size_t eq = a.find('=');
  if (FbOpt && a.rfind("--", 0) == 0 && eq != std::string::npos) {
    FsVal = a.substr(eq + 1);
    FsNam.resize(eq);
    FbHasVal = true;
  }
  return true;
}

bool TArgRdr::Val(std::string& dst, std::string& err, bool nonEmp) {
  if (FbHasVal) {
    dst = FsVal;
  } else if (FiCur + 1 < FArg.size()) {
    dst = FArg[++FiCur];
  } else {
    err = "option " + FsNam + " needs a value";
    return false;
  }
  if (nonEmp && dst.empty()) {
    err = "option " + FsNam + " needs a value";
    return false;
  }
  return true;
}

std::optional<double> ArgNum(const std::string& txt) {
  try {
    std::size_t n = 0;
    const double v = std::stod(txt, &n);
    if (n == txt.size()) return v;
  } catch (...) {
  }
  return std::nullopt;
}
