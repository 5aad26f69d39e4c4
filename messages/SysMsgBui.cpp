#include "messages/SysMsgBui.h"

#include "core/Globals.h"
#include "messages/SysLgeMsg.h"
#include "messages/TxtFil.h"

// SysMsgFil.sys as the build found it (SysMsgBuiTxt.cpp, written by the build).
extern const char GcSysMsgBui[];

namespace {

const TStrLst& BuiLin() {
  static const TStrLst lines = SplLin(GcSysMsgBui);
  return lines;
}

}  // namespace

std::string SysMsgEng(std::uint8_t id) {
  std::string txt;
  return FndSysMsg(BuiLin(), id, 0, txt) ? txt : std::string();
}

std::string SysMsgOr(std::uint8_t id, std::uint8_t lge) {
  std::string txt;
  if (GuSysLgeMsg && GuSysLgeMsg->FndTxt(id, lge, txt) && !txt.empty()) return txt;
  return SysMsgEng(id);
}
