#include "app/VslCnvLgc.h"

#include "messages/SysMsgBui.h"

std::string LgeTxt(std::uint8_t id, std::uint8_t lge) { return SysMsgOr(id, lge); }

std::string SimPrtTxt(std::uint8_t lge) { return LgeTxt(SUM_OPT_SIM, lge); }
