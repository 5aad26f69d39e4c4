#include "messages/SysLgeMsg.h"

#include <algorithm>
#include <cctype>

#include "core/Globals.h"
#include "core/PathUtl.h"
#include "core/Seams.h"

TSysLgeMsg* GuSysLgeMsg = nullptr;

const std::vector<TuSysMsgRng> GcSysMsgUse = {
    {0x02, 0x12},  // tool button hints
    {0x14, 0x1A},  // program walk
    {0x1C, 0x25},  // program walk, token generation, the port
    {0x40, 0x5F},  // connection check
    {0x60, 0x64},  // robot link
    {0x70, 0x72},  // language kept, manuals
    {0x90, 0x96},  // faults reported by the robot
    {0xA0, 0xA8},  // keeping the user's work, the File menu
    {0xB0, 0xB6},  // views of the program
    {0xC0, 0xC1},  // connection check, the device's rights
    {0xE0, 0xFE},  // menus, dialogs and their buttons
};

std::string SysMsgIdfTxt(const std::vector<std::uint8_t>& ids) {
  auto hex = [](unsigned v) {
    const char* d = "0123456789ABCDEF";
    return std::string("0x") + d[(v >> 4) & 0xF] + d[v & 0xF];
  };
  std::string s;
  for (std::size_t i = 0; i < ids.size();) {
    std::size_t j = i;
    while (j + 1 < ids.size() && ids[j + 1] == ids[j] + 1) ++j;
    if (!s.empty()) s += ", ";
    s += hex(ids[i]);
    if (j > i) s += "-" + hex(ids[j]);
    i = j + 1;
  }
  return s;
}

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

std::vector<std::uint8_t> TSysLgeMsg::MisIdf() const {
  // Where each identifier's first block begins.
  std::vector<long> at(256, -1);
  for (std::size_t i = 0; i < FpLgeFilMmo.size(); ++i) {
    std::uint8_t v;
    if (HexIdfLin(FpLgeFilMmo[i], v) && at[v] < 0) at[v] = static_cast<long>(i);
  }
  std::vector<std::uint8_t> mis;
  for (const TuSysMsgRng& r : GcSysMsgUse)
    for (unsigned id = r.Frs; id <= r.Lst; ++id) {
      bool whole = at[id] >= 0;
      for (std::size_t l = 1; whole && l <= 3; ++l) {
        const std::size_t k = static_cast<std::size_t>(at[id]) + l;
        std::uint8_t v;
        whole = k < FpLgeFilMmo.size() && !FpLgeFilMmo[k].empty() && !HexIdfLin(FpLgeFilMmo[k], v);
      }
      if (!whole) mis.push_back(static_cast<std::uint8_t>(id));
    }
  std::sort(mis.begin(), mis.end());
  mis.erase(std::unique(mis.begin(), mis.end()), mis.end());
  return mis;
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
  if (FOnMis) FOnMis(id);
  return {};
}
