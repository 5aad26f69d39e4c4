// The window's texts in a language: a message of the message file, with the
// built-in English where the file has none or none is loaded, and the names
// made of them (the built-in robot's where a port's would stand).
#pragma once

#include <cstdint>
#include <string>

#include "messages/SysMsgIdf.h"

// Message id of the table in language lge (0 English, 1 Dutch, 2 German), or
// the built-in English text when the table lacks it or none is loaded.
// GuLstErrMsg stays as it was.
std::string LgeTxt(std::uint8_t id, std::uint8_t lge);
// The name of the built-in simulated robot in language lge, where a port's
// name would stand.
std::string SimPrtTxt(std::uint8_t lge);
