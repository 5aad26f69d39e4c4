#include "messages/SysLgeMsg.h"

#include <cctype>

#include "core/Globals.h"
#include "core/PathUtl.h"
#include "core/Seams.h"

TSysLgeMsg* GuSysLgeMsg = nullptr;

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
  Idx();
  if (!FilExs(path)) {
    GuLstErrMsg = "#174, File error: SysMsg File '" + path + "' could not be found";
    return false;
  }
  const TeLinFilRes res = RdLinFil(NativePath(path), FpLgeFilMmo, GcMaxSysFilSiz);
  Idx();
  switch (res) {
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

void TSysLgeMsg::Idx() {
  FAt.assign(256, -1);
  for (std::size_t i = 0; i < FpLgeFilMmo.size(); ++i) {
    std::uint8_t v;
    if (HexIdfLin(FpLgeFilMmo[i], v) && FAt[v] < 0) FAt[v] = static_cast<long>(i);
  }
}

std::vector<std::uint8_t> TSysLgeMsg::MisIdf() const {
  const std::vector<long>& at = FAt;
  std::vector<std::uint8_t> mis;
  for (const TSysMsgIdf& m : GcSysMsgIdf) {
    bool whole = at[m.Idf] >= 0;
    for (std::size_t l = 1; whole && l <= 3; ++l) {
      const std::size_t k = static_cast<std::size_t>(at[m.Idf]) + l;
      std::uint8_t v;
      whole = k < FpLgeFilMmo.size() && !FpLgeFilMmo[k].empty() && !HexIdfLin(FpLgeFilMmo[k], v);
    }
    if (!whole) mis.push_back(m.Idf);
  }
  return mis;
}

namespace {

// The text of a language in the block whose identifier line is at `at`; a
// block cut short by the end of the file has none.
bool BlkTxt(const TStrLst& lines, long at, std::uint8_t lge, std::string& txt) {
  if (at < 0 || lge > 2) return false;
  const std::size_t k = static_cast<std::size_t>(at) + 1 + lge;
  if (k >= lines.size()) return false;
  txt = lines[k];
  return true;
}

}  // namespace

bool FndSysMsg(const TStrLst& lines, std::uint8_t id, std::uint8_t lge, std::string& txt) {
  // The first block with this identifier wins.
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::uint8_t v;
    if (HexIdfLin(lines[i], v) && v == id) return BlkTxt(lines, static_cast<long>(i), lge, txt);
  }
  return false;
}

bool TSysLgeMsg::FndTxt(std::uint8_t id, std::uint8_t lge, std::string& txt) const {
  if (BlkTxt(FpLgeFilMmo, FAt[id], lge, txt)) return true;
  if (FOnMis) FOnMis(id);
  return false;
}

std::string TSysLgeMsg::GetSysMsg(std::uint8_t id, std::uint8_t lge) {
  std::string txt;
  if (FndTxt(id, lge, txt)) return txt;
  GuLstErrMsg =
      "#221, No corresponding system message in message TMemo found. Searched message identifier (decimal): " +
      std::to_string(id);
  return {};
}
