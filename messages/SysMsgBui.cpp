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

std::string SysMsgArg(const std::string& msg, const std::vector<std::string>& arg) {
  std::string out;
  for (std::size_t i = 0; i < msg.size(); ++i) {
    if (msg[i] == '%' && i + 1 < msg.size() && msg[i + 1] >= '1' && msg[i + 1] <= '9') {
      const std::size_t n = static_cast<std::size_t>(msg[i + 1] - '1');
      if (n < arg.size()) {
        out += arg[n];
        ++i;
        continue;
      }
    }
    out += msg[i];
  }
  return out;
}

std::string SysMsgItm(const std::string& lst, std::size_t idx) {
  std::size_t p = 0;
  for (std::size_t i = 0; i < idx; ++i) {
    p = lst.find('|', p);
    if (p == std::string::npos) return {};
    ++p;
  }
  return lst.substr(p, lst.find('|', p) - p);
}
