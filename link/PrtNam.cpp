#include "link/PrtNam.h"

std::string PrtDevPth(const std::string&) { return {}; }
std::vector<std::string> ScnComPrt() { return {}; }
