// Lessons: reading a lesson file, and what the editor offers under one.
//
// A lesson narrows what is offered, never what is shown: a program opened
// under a lesson keeps every vio it holds, and a sensor or actor vio keeps its
// own type and command in its lists even when the lesson does not offer them.
#include "editor/VioLsn.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <utility>
#include <vector>

#include "core/StrUtl.h"
#include "editor/VioKep.h"
#include "editor/VioLge.h"
#include "editor/VioPgmItp.h"
#include "messages/SysMsgIdf.h"

namespace {

constexpr std::uintmax_t GcMaxLsnSiz = 64 * 1024;
const char* const GcLgeSfx[3] = {"en", "nl", "de"};

std::string Trm(const std::string& s) {
  const auto b = s.find_first_not_of(" \t\r\n");
  if (b == std::string::npos) return {};
  return s.substr(b, s.find_last_not_of(" \t\r\n") - b + 1);
}

std::string Upr(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// "%N" in the text replaced by the value.
std::string Put(std::string txt, const std::string& val, const char* key = "%1") {
  const auto p = txt.find(key);
  return p == std::string::npos ? txt + " " + val : txt.replace(p, 2, val);
}

// What a message quotes of a line from the file: at most GcQutMax
// characters, each byte that is no printable character (a control byte, a
// byte that is no part of a UTF-8 character) shown as '?', then "..." when
// the line goes on. A binary file is quoted in a few harmless characters.
constexpr std::size_t GcQutMax = 40;
std::string Qut(const std::string& lin) {
  std::string out;
  std::size_t chr = 0, i = 0;
  for (; i < lin.size() && chr < GcQutMax; ++chr) {
    const auto c = static_cast<unsigned char>(lin[i]);
    const std::size_t n = c >= 0xC2 && c <= 0xDF ? 2 : c >= 0xE0 && c <= 0xEF ? 3 : c >= 0xF0 && c <= 0xF4 ? 4 : 1;
    bool ok = n > 1 ? i + n <= lin.size() : c >= 0x20 && c < 0x7F;
    for (std::size_t k = 1; ok && k < n; ++k) ok = (static_cast<unsigned char>(lin[i + k]) & 0xC0) == 0x80;
    if (!ok) {
      out += '?';
      ++i;
      continue;
    }
    out.append(lin, i, n);
    i += n;
  }
  return i < lin.size() ? out + "..." : out;
}

// The vio type of a name: its file keyword or caption, without regard to case,
// an underscore or a line break standing for a space; -1 when none.
int VioTypOfNam(const std::string& nam) {
  auto nrm = [](std::string s) {
    for (char& c : s)
      if (c == '_' || c == '\n') c = ' ';
    return Upr(s);
  };
  const std::string n = nrm(nam);
  for (const TuVioTypRow& r : GuVioTyp)
    if (n == nrm(r.Cap) || n == nrm(r.Key)) return r.Typ;
  return -1;
}

// A "0x" token number of two hexadecimal digits; -1 when the text is none.
int TknOfTxt(const std::string& s) {
  if (s.size() != 4 || s[0] != '0' || (s[1] != 'x' && s[1] != 'X')) return -1;
  if (!std::isxdigit(static_cast<unsigned char>(s[2])) || !std::isxdigit(static_cast<unsigned char>(s[3]))) return -1;
  return std::stoi(s.substr(2), nullptr, 16);
}

class TLsnPrs {
public:
  TLsnPrs(TVioPgmItp& edt, TVioLsn& lsn) : FEdt(edt), FLsn(lsn) {}
  // False with the detail of what is wrong with the line.
  bool Lin(const std::string& key, const std::string& val, const std::string& raw);

private:
  bool Vios(const std::string& val);
  bool Sar(bool actor, const std::string& val);
  bool Bdg(const std::string& val);
  bool Txt(const std::string& key, const std::string& val);
  bool NoNam(const std::string& nam) {
    Why = Put(VioUsrMsg(FEdt, SUM_LSN_NAM), Qut(nam));
    return false;
  }

public:
  std::string Why;

private:
  TVioPgmItp& FEdt;
  TVioLsn& FLsn;
};

bool TLsnPrs::Lin(const std::string& key, const std::string& val, const std::string& raw) {
  bool ok = false;
  if (key == "vios")
    ok = Vios(val);
  else if (key == "actor" || key == "sensor")
    ok = Sar(key == "actor", val);
  else if (key == "budget")
    ok = Bdg(val);
  else
    ok = Txt(key, val);
  if (!ok && Why.empty()) Why = Put(VioUsrMsg(FEdt, SUM_LSN_LIN), Qut(raw));
  return ok;
}

bool TLsnPrs::Vios(const std::string& val) {
  std::vector<std::string> wrd;
  std::string w;
  std::istringstream in(val);
  while (std::getline(in, w, ',')) {
    std::istringstream ws(w);
    for (std::string x; ws >> x;) wrd.push_back(x);
  }
  if (wrd.empty()) return false;
  FLsn.AllVio = false;
  for (std::size_t i = 0; i < wrd.size(); ++i) {
    // "ENGINE SPEED" and "SWITCH INTERRUPT" are two words.
    int typ = i + 1 < wrd.size() ? VioTypOfNam(wrd[i] + " " + wrd[i + 1]) : -1;
    if (typ >= 0)
      ++i;
    else
      typ = VioTypOfNam(wrd[i]);
    if (typ < 0) return NoNam(wrd[i]);
    FLsn.Vio.set(static_cast<std::size_t>(typ));
  }
  return true;
}

bool TLsnPrs::Sar(bool actor, const std::string& val) {
  TSarAndTkn& sat = FEdt.SarAndTkn();
  const auto slh = val.find('/');
  const std::string typ = Trm(val.substr(0, slh));
  const std::string com = slh == std::string::npos ? std::string() : Trm(val.substr(slh + 1));
  const int num = TknOfTxt(val);
  if (typ.empty() || (slh != std::string::npos && com.empty())) return false;
  bool fnd = false;
  std::bitset<256>& set = actor ? FLsn.Act : FLsn.Sns;
  for (std::uint8_t lge = 0; lge <= 2; ++lge) {
    for (const std::string& t : sat.SarTypLst(lge, FEdt.AvlCol(), actor)) {
      if (num < 0 && !EqlNoCase(t, typ)) continue;
      for (const std::string& c : sat.SarComLst(t, lge, FEdt.AvlCol(), actor)) {
        const int tkn = sat.SarTkn(lge, t, c);
        if (tkn < 0 || (num >= 0 ? tkn != num : !com.empty() && !EqlNoCase(c, com))) continue;
        set.set(static_cast<std::size_t>(tkn));
        fnd = true;
      }
    }
  }
  if (!fnd) return NoNam(Trm(val));
  (actor ? FLsn.AllAct : FLsn.AllSns) = false;
  return true;
}

bool TLsnPrs::Bdg(const std::string& val) {
  const bool dgt = !val.empty() && val.size() <= 3 &&
                   val.find_first_not_of("0123456789") == std::string::npos;
  const int n = dgt ? std::stoi(val) : 0;
  if (n < 1 || n > 254) {
    Why = VioUsrMsg(FEdt, SUM_LSN_BDG);
    return false;
  }
  FLsn.Bdg = static_cast<std::size_t>(n);
  return true;
}

bool TLsnPrs::Txt(const std::string& key, const std::string& val) {
  const auto dot = key.find('.');
  const std::string kin = key.substr(0, dot);
  if (kin != "title" && kin != "task") return false;
  int lge = 0;  // a title or task without a language is English
  if (dot != std::string::npos) {
    const auto it = std::find(std::begin(GcLgeSfx), std::end(GcLgeSfx), key.substr(dot + 1));
    if (it == std::end(GcLgeSfx)) return false;
    lge = static_cast<int>(it - std::begin(GcLgeSfx));
  }
  std::string& dst = (kin == "title" ? FLsn.Tit : FLsn.Tsk)[static_cast<std::size_t>(lge)];
  // A task may go on over several lines of its key; a title is one line.
  if (kin == "task" && !dst.empty())
    dst += "\n" + val;
  else
    dst = val;
  return true;
}

std::string InLge(const std::array<std::string, 3>& txt, std::uint8_t lge) {
  if (lge < 3 && !txt[lge].empty()) return txt[lge];
  if (!txt[0].empty()) return txt[0];
  for (const std::string& t : txt)
    if (!t.empty()) return t;
  return {};
}

}  // namespace

std::string TVioLsn::TitIn(std::uint8_t lge) const {
  const std::string t = InLge(Tit, lge);
  return t.empty() ? std::filesystem::path(Pth).stem().string() : t;
}

std::string TVioLsn::TskIn(std::uint8_t lge) const { return InLge(Tsk, lge); }

bool PrsVioLsn(const std::string& txt, const std::string& path, TVioPgmItp& edt, TVioLsn& out) {
  TVioLsn lsn;
  lsn.Pth = path;
  TLsnPrs prs(edt, lsn);
  std::istringstream in(txt.rfind("\xEF\xBB\xBF", 0) == 0 ? txt.substr(3) : txt);
  bool hdr = false;
  int no = 0;
  auto fal = [&](const std::string& why) {
    std::string h = Put(VioUsrMsg(edt, SUM_LSN_ERR), path);
    const auto p = h.find("%2");
    if (p != std::string::npos) h.replace(p, 2, std::to_string(no));
    GuLstErrMsg = Trm(h + " " + why);
    return false;
  };
  for (std::string raw; std::getline(in, raw);) {
    ++no;
    const std::string lin = Trm(raw);
    if (lin.empty() || lin[0] == '#' || lin[0] == ';') continue;
    if (!hdr) {
      hdr = EqlNoCase(lin, "[lesson]");
      if (!hdr) return fal(VioUsrMsg(edt, SUM_LSN_HDR) + " " + Put(VioUsrMsg(edt, SUM_LSN_LIN), Qut(lin)));
      continue;
    }
    const auto eq = lin.find('=');
    std::string low = eq == std::string::npos ? std::string() : Trm(lin.substr(0, eq));
    for (char& c : low) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    prs.Why.clear();
    if (!prs.Lin(low, eq == std::string::npos ? std::string() : Trm(lin.substr(eq + 1)), lin)) return fal(prs.Why);
  }
  if (!hdr) {
    no = 1;
    return fal(VioUsrMsg(edt, SUM_LSN_HDR));
  }
  out = std::move(lsn);
  return true;
}

bool LodVioLsn(const std::string& path, TVioPgmItp& edt, TVioLsn& out) {
  std::error_code ec;
  const std::uintmax_t siz = std::filesystem::file_size(path, ec);
  if (!ec && siz > GcMaxLsnSiz && std::filesystem::is_regular_file(path, ec)) {
    const std::string txt = Put(Put(VioUsrMsg(edt, SUM_LSN_SIZ), std::to_string(siz), "%2"),
                                std::to_string(GcMaxLsnSiz), "%3");
    GuLstErrMsg = Put(txt, path);
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  if (ec || siz > GcMaxLsnSiz || !std::filesystem::is_regular_file(path, ec) || !in) {
    GuLstErrMsg = VioUsrMsg(edt, SUM_LSN_RED) + " " + path;
    return false;
  }
  std::ostringstream txt;
  txt << in.rdbuf();
  return PrsVioLsn(txt.str(), path, edt, out);
}

// ---- The editor under a lesson -------------------------------------------------

void TVioLge::SetLsn(std::shared_ptr<const TVioLsn> lsn) {
  FpLsn = std::move(lsn);
  RfsSarLst();
  for (IVioPgmObs* o : FEdt.FpObsLst) o->LsnChg();
}

bool TVioLge::VioOfr(std::uint8_t typ) const { return typ < GcVioTypCnt && (!FpLsn || FpLsn->VioOfr(typ)); }

std::size_t TVioLge::Bdg() const { return FpLsn ? FpLsn->Bdg : GcMaxTsmLen; }

std::string TVioLge::LsnNot(const std::vector<std::uint8_t>& typs) {
  std::string nms;
  std::bitset<GcVioTypCnt> seen;
  for (std::uint8_t t : typs) {
    if (VioOfr(t) || t >= GcVioTypCnt || seen.test(t)) continue;
    seen.set(t);
    std::string cap = GetVioCap(t);
    for (char& c : cap)
      if (c == '\n') c = ' ';
    nms += (nms.empty() ? "" : ", ") + cap;
  }
  if (nms.empty()) return {};
  return Put(VioUsrMsg(FEdt, SUM_LSN_NOT), nms);
}

int TVioLge::OwnTkn(const TVio* vio, std::uint8_t lge, bool actor) {
  if (vio->Rec().SarTkn != 0xFF) return vio->Rec().SarTkn;
  std::uint8_t tkn;
  return FndSarTkn(lge, actor, vio->Rec().SarTyp, vio->Rec().SarCom, tkn) ? tkn : -1;
}

void TVioLge::FltSarLst(TStrLst& lst, const TVio* vio, std::uint8_t lge, std::uint8_t avlCol, bool actor,
                      const std::string* typ) {
  if (!FpLsn || FpLsn->AllSar(actor)) return;
  const int own = OwnTkn(vio, lge, actor);
  TSarAndTkn& sat = FEdt.SarAndTkn();
  auto ofr = [&](const std::string& t, const std::string& c) {
    const int tkn = sat.SarTkn(lge, t, c);
    return tkn >= 0 && (tkn == own || FpLsn->SarOfr(actor, tkn));
  };
  TStrLst out;
  for (const std::string& it : lst) {
    bool kep1 = false;
    if (typ) {
      kep1 = ofr(*typ, it);
    } else {
      for (const std::string& c : sat.SarComLst(it, lge, avlCol, actor)) kep1 = kep1 || ofr(it, c);
    }
    if (kep1) out.push_back(it);
  }
  lst = std::move(out);
}

void TVioLge::RfsSarLst() {
  if (FbyLgeIdx > 2) return;
  for (TVio* vio : FEdt.Vios()) {
    const std::uint8_t typ = vio->Rec().VioTyp;
    const int typCtl = vio->FndCtl(TeCtlKnd::Cbx, CR_SAR_TYP);
    const int comCtl = vio->FndCtl(TeCtlKnd::Cbx, CR_SAR_COM);
    if ((typ != VT_ACT && typ != VT_SNS) || typCtl < 0 || comCtl < 0) continue;
    const bool actor = typ == VT_ACT;
    TStrLst typs = FEdt.SarAndTkn().SarTypLst(FbyLgeIdx, FbyAvlCol, actor);
    TStrLst coms = FEdt.SarAndTkn().SarComLst(vio->Rec().SarTyp, FbyLgeIdx, FbyAvlCol, actor);
    if (typs.empty() || coms.empty()) continue;
    FltSarLst(typs, vio, FbyLgeIdx, FbyAvlCol, actor, nullptr);
    FltSarLst(coms, vio, FbyLgeIdx, FbyAvlCol, actor, &vio->Rec().SarTyp);
    vio->FCtls[static_cast<std::size_t>(typCtl)].Itms = std::move(typs);
    FEdt.NtfCtl(vio, typCtl);
    vio->FCtls[static_cast<std::size_t>(comCtl)].Itms = std::move(coms);
    FEdt.NtfCtl(vio, comCtl);
  }
}
