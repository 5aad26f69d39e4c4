#include "messages/SysLgeMsg.h"

#include <cctype>

#include "core/Globals.h"
#include "core/PathUtl.h"
#include "core/Seams.h"

TSysLgeMsg* GuSysLgeMsg = nullptr;

bool HexIdfLin(const std::string& line, std::uint8_t& value) {
  if (line.size() != 4 || line[0] != '0' || line[1] != 'x') return false;
  auto d = [](char ch) -> unsigned {
    unsigned c = static_cast<unsigned char>(std::tolower(static_cast<unsigned char>(ch)));
    return c <= '9' ? c - '0' : c - 'a' + 10;
  };
  value = static_cast<std::uint8_t>(16u * d(line[2]) + d(line[3]));
  return true;
}

TSysLgeMsg::TSysLgeMsg(IWndMsgTgt* owner, const std::string& appDir)
    : FsPth(NativePath(appDir + "SysMsgFil.sys")), FpOwn(owner) {
  if (!LodSysMsgFil(FsPth)) {
    ShwMsgBox(GuLstErrMsg);
    PrcMsg();
    GuPlatform().EvtLoop->Terminate();
  }
}

TSysLgeMsg::~TSysLgeMsg() = default;

bool TSysLgeMsg::LodSysMsgFil(const std::string& path) {
  FpLgeFilMmo.clear();
  if (!FilExs(path)) {
    GuLstErrMsg = "#174, File error: SysMsg File '" + path + "' could not be found";
    return false;
  }
  switch (RdLinFil(NativePath(path), FpLgeFilMmo, GcMaxSysFilSiz)) {
    case TeLinFilRes::Ok: return true;
    case TeLinFilRes::TooBig:
      GuLstErrMsg = "#175, File error: SysMsg File '" + path + "' is larger than " +
                    std::to_string(GcMaxSysFilSiz) + " bytes";
      return false;
    default:
      GuLstErrMsg = "#174, File error: SysMsg File '" + path + "' could not be read";
      return false;
  }
}

std::string TSysLgeMsg::GetSysMsg(std::uint8_t id, std::uint8_t lge) {
  for (std::size_t i = 0; i < FpLgeFilMmo.size(); ++i) {
    std::uint8_t v;
    if (!HexIdfLin(FpLgeFilMmo[i], v) || v != id) continue;
    // The first block with this identifier wins; a block cut short by the
    // end of the file has no text for the language.
    std::size_t at = i + 1 + lge;
    if (lge <= 2 && at < FpLgeFilMmo.size()) return FpLgeFilMmo[at];
    break;
  }
  GuLstErrMsg =
      "#221, No corresponding system message in message TMemo found. Searched message identifier (decimal): " +
      std::to_string(id);
  return {};
}
