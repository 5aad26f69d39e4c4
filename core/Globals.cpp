#include "core/Globals.h"

std::string GuLstErrMsg;
std::string GuInsDir;
