#include "app/PrtMch.h"

#include "core/StrUtl.h"

int FndComPrtIdx(const std::string& name, const std::vector<std::string>& ports) {
  if (name.size() < 4) return -1;
  // Port names are not case-sensitive ("com3" is COM3).
  for (std::size_t i = 0; i < ports.size(); ++i)
    if (EqlNoCase(ports[i], name)) return static_cast<int>(i);
  return -1;
}
