#include "app/VslCnvLgc.h"

#include "messages/SysMsgBui.h"

std::string SimPrtTxt(std::uint8_t lge) { return SysMsgOr(SUM_OPT_SIM, lge); }
