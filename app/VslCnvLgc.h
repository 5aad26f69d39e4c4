// The window's names made of its texts in a language (the built-in robot's
// where a port's would stand). A text itself is SysMsgOr's (messages/SysMsgBui.h).
#pragma once

#include <cstdint>
#include <string>

#include "messages/SysMsgBui.h"
#include "messages/SysMsgIdf.h"

// The name of the built-in simulated robot in language lge, where a port's
// name would stand.
std::string SimPrtTxt(std::uint8_t lge);
