#include "translator/SarAndTkn.h"

#include <algorithm>
#include <cctype>

#include "core/Globals.h"
#include "core/StrUtl.h"
#include "core/PathUtl.h"
#include "messages/SysLgeMsg.h"

namespace {

constexpr std::size_t GcDefFldCnt = 8;

bool IsBlk(char c) {
  unsigned char u = static_cast<unsigned char>(c);
  return u >= 1 && u <= 32;
}

bool HasNoCase(const TStrLst& lst, const std::string& s) {
  for (const std::string& e : lst)
    if (EqlNoCase(e, s)) return true;
  return false;
}

}  // namespace

void SplTknLin(const std::string& line, TStrLst& fields, std::size_t maxFld) {
  // The strings already in the list are reused.
  std::size_t cnt = 0;
  auto nxtFld = [&]() -> std::string& {
    if (cnt == fields.size()) fields.emplace_back();
    std::string& f = fields[cnt++];
    f.clear();
    return f;
  };
  // A NUL character ends the line: it is neither a blank nor part of a field,
  // and treating it as text would leave the splitter standing on it.
  const std::size_t n = std::min(line.size(), line.find('\0'));
  std::size_t i = 0;
  while (i < n && IsBlk(line[i])) ++i;
  while (i < n && cnt <= maxFld) {
    std::string& f = nxtFld();
    if (line[i] == '"') {
      ++i;
      while (i < n) {
        if (line[i] == '"') {
          if (i + 1 < n && line[i + 1] == '"') {
            f += '"';
            i += 2;
          } else {
            ++i;
            break;
          }
        } else {
          f += line[i++];
        }
      }
    } else {
      const std::size_t b = i;
      while (i < n && line[i] != ',' && static_cast<unsigned char>(line[i]) > 32) ++i;
      f.assign(line, b, i - b);
    }
    while (i < n && IsBlk(line[i])) ++i;
    if (i < n && line[i] == ',') {
      ++i;
      while (i < n && IsBlk(line[i])) ++i;
    }
  }
  fields.resize(cnt);
}

TSarAndTkn::TSarAndTkn(IWndMsgTgt* owner) : FpOwn(owner) {}

TSarAndTkn::~TSarAndTkn() = default;

bool TSarAndTkn::LodTknFil(const std::string& path) {
  FpSarTknMmo.clear();
  FpDefFld.clear();
  const std::string nat = NativePath(path);
  if (!FilExs(nat)) {
    GuLstErrMsg = "#174, File error: Token File '" + nat + "' could not be found";
    return false;
  }
  const TeLinFilRes res = RdLinFil(nat, FpSarTknMmo, GcMaxSysFilSiz);
  if (res != TeLinFilRes::Ok) {
    FpSarTknMmo.clear();
    SplAllLin();
    GuLstErrMsg = res == TeLinFilRes::TooBig
                      ? "#176, File error: Token File '" + nat + "' is larger than " +
                            std::to_string(GcMaxSysFilSiz) + " bytes"
                      : "#174, File error: Token File '" + nat + "' could not be read";
    return false;
  }
  SplAllLin();
  return true;
}

void TSarAndTkn::SetLines(TStrLst lines) {
  FpSarTknMmo = std::move(lines);
  SplAllLin();
}

void TSarAndTkn::SplAllLin() {
  FpDefFld.assign(FpSarTknMmo.size(), TStrLst());
  for (std::size_t i = 0; i < FpSarTknMmo.size(); ++i) {
    // More than 8 fields is no definition: splitting may stop at the ninth.
    SplTknLin(FpSarTknMmo[i], FpDefFld[i], GcDefFldCnt);
    if (FpDefFld[i].size() != GcDefFldCnt) FpDefFld[i].clear();
  }
}

bool TSarAndTkn::DefOfr(const TStrLst& def, std::uint8_t avlCol, bool actor) {
  const std::string& knd = def[0];
  if (actor ? (knd != "A" && knd != "X") : (knd != "S" && knd != "X")) return false;
  const std::string& flg = def[1];
  return avlCol < flg.size() && flg[avlCol] == 'X';
}

TStrLst TSarAndTkn::SarTypLst(std::uint8_t lge, std::uint8_t avlCol, bool actor) const {
  TStrLst out;
  if (lge > 2) return out;
  for (const TStrLst& def : FpDefFld) {
    if (def.empty() || !DefOfr(def, avlCol, actor)) continue;
    const std::string& typ = def[2 + 2 * lge];
    if (!HasNoCase(out, typ)) out.push_back(typ);
  }
  return out;
}

TStrLst TSarAndTkn::SarComLst(const std::string& sarTyp, std::uint8_t lge, std::uint8_t avlCol, bool actor) const {
  TStrLst out;
  if (lge > 2) return out;
  for (const TStrLst& def : FpDefFld) {
    if (def.empty() || !DefOfr(def, avlCol, actor)) continue;
    if (def[2 + 2 * lge] != sarTyp) continue;
    const std::string& com = def[3 + 2 * lge];
    if (!HasNoCase(out, com)) out.push_back(com);
  }
  return out;
}

int TSarAndTkn::SarTkn(std::uint8_t lge, const std::string& sarTyp, const std::string& sarCom) const {
  if (lge > 2) return -1;
  for (std::size_t i = 0; i < FpDefFld.size(); ++i) {
    const TStrLst& def = FpDefFld[i];
    if (def.empty() || def[2 + 2 * lge] != sarTyp || def[3 + 2 * lge] != sarCom) continue;
    std::uint8_t v;
    if (i > 0 && HexIdfLin(FpSarTknMmo[i - 1], v)) return v;
  }
  return -1;
}

bool TSarAndTkn::GetSarTypLst(TStrLst& out, std::uint8_t lge, std::uint8_t avlCol, bool actor) {
  out = SarTypLst(lge, avlCol, actor);
  if (out.empty()) {
    GuLstErrMsg = "#191, no sar types found in memo";
    return false;
  }
  return true;
}

bool TSarAndTkn::GetSarComLst(TStrLst& out, const std::string& sarTyp, std::uint8_t lge,
                              std::uint8_t avlCol, bool actor) {
  out = SarComLst(sarTyp, lge, avlCol, actor);
  if (out.empty()) {
    GuLstErrMsg = "#194, no sar commands found in memo";
    return false;
  }
  return true;
}

int TSarAndTkn::GetSarTkn(std::uint8_t lge, const std::string& sarTyp, const std::string& sarCom) {
  const int tkn = SarTkn(lge, sarTyp, sarCom);
  if (tkn < 0)
    GuLstErrMsg = "#183, sar type/command combination '" + sarTyp + "'/'" + sarCom + "' not found in language memo";
  return tkn;
}

std::vector<TuSarDef> TSarAndTkn::GetSarDefs(std::uint8_t lge) const {
  std::vector<TuSarDef> out;
  if (lge > 2) return out;
  for (std::size_t i = 1; i < FpDefFld.size(); ++i) {
    const TStrLst& def = FpDefFld[i];
    std::uint8_t v;
    if (def.empty() || !HexIdfLin(FpSarTknMmo[i - 1], v)) continue;
    if (std::any_of(out.begin(), out.end(), [v](const TuSarDef& d) { return d.Tkn == v; })) continue;
    out.push_back({v, def[0], def[2 + 2 * lge], def[3 + 2 * lge]});
  }
  return out;
}
