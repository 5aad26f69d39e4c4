// The configured port among the ports that are present.
#pragma once

#include <string>
#include <vector>

// Index of the configured port in the list of present ports, -1 when it is
// not present. The whole names are compared, without regard to case, so
// "COM1" does not select "COM12"; a name shorter than "COMn" matches nothing.
int FndComPrtIdx(const std::string& name, const std::vector<std::string>& ports);
