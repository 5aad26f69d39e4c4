// The editing scripts' driver (scripts/*.ted, the commands in scripts/README):
// one TScr is one case on a fresh field, TScr::Run one line of it.
#pragma once

#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "EdtTstSup.h"
#include "editor/VioAcc.h"
#include "editor/VioDrg.h"
#include "editor/VioKep.h"
#include "editor/VioLay.h"
#include "editor/VioLsn.h"
#include "editor/VioMtr.h"
#include "editor/VioRun.h"
#include "editor/VioZom.h"
#include "editor/VioSht.h"
#include "messages/SysLgeMsg.h"
#include "support/TstLin.h"
#include "translator/InsAndTkn.h"
#include "translator/TrnLst.h"

namespace edtscr {


struct TLin {
  std::string Txt;                // the whole line
  std::vector<std::string> Tok;   // its words
  std::vector<std::string> Bdy;   // the lines up to "." for the file commands
  int No = 0;
  static TLin Of(const std::string& s, int no) {
    return TLin{s.substr(s.find_first_not_of(' ')), TstWrd(s), {}, no};
  }
  const std::string& operator[](std::size_t i) const { return Tok.at(i); }
  int I(std::size_t i) const { return std::stoi(Tok.at(i), nullptr, 0); }
  bool B(std::size_t i) const { return Tok.at(i) == "1"; }
  // The text after the first n words, as written.
  std::string Rst(std::size_t n) const {
    std::size_t p = 0;
    for (std::size_t k = 0; k < n; ++k) p = Txt.find(' ', p) == std::string::npos ? Txt.size() : Txt.find(' ', p) + 1;
    return Txt.substr(p);
  }
};

struct TRol {
  TeCtlKnd Knd;
  std::uint8_t Rol;
};
inline const std::map<std::string, TRol> GcRol = {{"typ", {TeCtlKnd::Cbx, CR_SAR_TYP}}, {"com", {TeCtlKnd::Cbx, CR_SAR_COM}},
                                           {"val", {TeCtlKnd::Edt, CR_VAL}},     {"lbl", {TeCtlKnd::Cbx, CR_LBL_NAM}},
                                           {"gto", {TeCtlKnd::Cbx, CR_GTO_NAM}}, {"spd", {TeCtlKnd::Edt, CR_SPD}},
                                           {"spd2", {TeCtlKnd::Edt, CR_SPD_TWO}}};

class TScr {
public:
  TScr() : Edt(&Wnd) {
    Wnd.Edt = &Edt;
    Edt.AddObs(&Obs);
    Acc.SetOnChg([this](TVio* v) { AccChg.push_back(Idx(v)); });
    Edt.SetDrg(&Drg);
    Edt.SetOnTbnEna([this](std::uint8_t t, bool e) { Tbn.push_back(std::to_string(t) + (e ? "+" : "-")); });
    GuLstErrMsg.clear();
    PrpEdt(Edt);
  }
  ~TScr() {
    GuSysLgeMsg = nullptr;
    EXPECT_EQ(Box, Fake.MsgBox.Calls.size()) << "unexpected box: " << Fake.MsgBox.Calls.back().Text;
  }
  void Run(const TLin& l);

private:
  // What every command of a line sees: its name ("!" expects a failure), its
  // number of words and the check of a result against the "!".
  struct TCx {
    const std::string& C;
    std::size_t N;
    std::function<void(bool)> EqOpt;
  };
  using TCmdMap = std::map<std::string, std::function<void()>>;
  // The commands, by what they work on; each runs the line it was made for.
  TCmdMap CmdLay(const TLin& l, const TCx& x);  // making vios, their layout, zoom and colours
  TCmdMap CmdCtl(const TLin& l, const TCx& x);  // cells, places and the controls of a vio
  TCmdMap CmdTrn(const TLin& l, const TCx& x);  // the checks, the screen reader, the history and the translation
  TCmdMap CmdBox(const TLin& l, const TCx& x);  // the sheet, the settings store, boxes, events and keys
  TCmdMap CmdFil(const TLin& l, const TCx& x);  // the cursor, the program files, lessons and the meter
  TCmdMap CmdMou(const TLin& l, const TCx& x);  // the mouse
  TCmdMap CmdClp(const TLin& l, const TCx& x);  // the selection and the clipboard (VioScrClp.cpp)
  static std::uint8_t Typ(const std::string& s) {
    const auto p = std::string("sta sto iff thn els dly lbl gto act sns spd swi rti").find(s);
    return static_cast<std::uint8_t>(p == std::string::npos ? std::stoi(s) : p / 4);
  }
  TVio* V(const std::string& s) {
    if (s == "-") return nullptr;
    const int i = std::stoi(s);
    return Edt.Vios().at(static_cast<std::size_t>(i < 0 ? Edt.GetVioCnt() + i : i));
  }
  int C(const TLin& l, std::size_t i) { return V(l[i])->FndCtl(GcRol.at(l[i + 1]).Knd, GcRol.at(l[i + 1]).Rol); }
  const TVioCtl& Ctl(const TLin& l, std::size_t i) { return V(l[i])->Ctls().at(static_cast<std::size_t>(C(l, i))); }
  std::string Wrt(const TLin& l) { return Tmp.Write("s.vio", Crlf(l.Bdy)); }
  TVioRunMap& Map() {  // the vios of the uploaded stream, from the first use on
    if (!RunMap) RunMap.emplace(Edt);
    return *RunMap;
  }
  void Mov(int x, int y) {  // every second move counts: send the pair
    if (TVioDrg::MovCnt() % 2 == 0) Drg.Mov(TVioDrg::TuPos{x, y});
    Drg.Mov(TVioDrg::TuPos{x, y});
  }
  bool Chk(TVio* v) {
    const auto t = v->Rec().VioTyp;
    return t == VT_DLY ? Edt.ChkDlyVal(v) : t == VT_ACT ? Edt.ChkDstVal(v) : Edt.ChkSpdVal(v);
  }
  template <typename T>
  static std::string Jn(const T& l) {
    std::string s;
    for (const auto& x : l) s += (s.empty() ? "" : "|") + std::string(x);
    return s;
  }
  // The words seen, and forgets them.
  static std::string Tak(std::vector<std::string>& l) {
    std::string s;
    for (const auto& x : l) s += (s.empty() ? "" : " ") + x;
    l.clear();
    return s;
  }

  // The texts of a vio that do not fit whole where the layout puts them,
  // measured as Arial at 96 dots per inch is: its caption within the cell,
  // each control's text and items within its box. "-": none.
  struct TMsr96 final : ITxtMsr {
    void MsrTxt(const std::string&, int pts, const std::string& t, int& w, int& h) override {
      MsrPxl(pts * 96 / 72, t, w, h);
    }
    // What the frames of a list box and an edit take from the height.
    void CbxRom(int& w, int& h) override { w = 0, h = CbxH; }
    void EdtRom(int& w, int& h) override { w = 0, h = EdtH; }
    int CbxH = 0, EdtH = 0;
  };
  std::string Cut(const TVio& v) {
    TMsr96 msr;
    TVioLay lay(Edt, &msr);
    std::string cut;
    auto chk = [&](const std::string& t, int px, bool pts, int room, int hgt) {
      int w = 0, h = 0;
      pts ? msr.MsrTxt("Arial", px, t, w, h) : msr.MsrPxl(px, t, w, h);
      if (w > room || h > hgt) cut += (cut.empty() ? "" : "|") + t;
    };
    const int cw = Edt.CelWdt(), ch = Edt.CelHgt();
    const TuCapBox cap = lay.CapBox(v);
    for (const std::string& ln : TstFld(v.Caption(), '\n'))
      if (!ln.empty() && cap.Px > 0) chk(ln, cap.Px, false, cw, ch / static_cast<int>(TstFld(v.Caption(), '\n').size()));
    for (int i = 0; i < static_cast<int>(v.Ctls().size()); ++i) {
      const TVioCtl& c = v.Ctls()[static_cast<std::size_t>(i)];
      const TuCtlBox b = lay.CtlBox(v, i);
      if (b.Hid) continue;  // no room for it: not shown
      const bool pts = b.FntPts > 0;
      const int siz = pts ? b.FntPts : b.FntHgt;
      // A label takes its text's width; a box must hold it, and stays inside the cell.
      const int room = (b.Width > 0 ? std::min(b.Width, cw - b.Left) : cw - b.Left);
      if (siz <= 0) cut += (cut.empty() ? "" : "|") + std::string("(no size)");
      std::vector<std::string> t{v.CtlTxt(i)};
      if (c.Knd == TeCtlKnd::Cbx) t.insert(t.end(), c.Itms.begin(), c.Itms.end());
      for (const std::string& x : t) chk(x, siz, pts, room, ch - b.Top);
    }
    return cut.empty() ? "-" : cut;
  }
  // The high-contrast table: each caption at 7:1 or more on its fill, the
  // controls' text on theirs; the types that share a colour each with a
  // symbol of its own. The words of what fails.
  static std::string HcTbl() {
    std::string bad;
    for (const TuVioTypRow& r : GuVioTyp) {
      if (ClrCtrRat(r.HcClr, r.HcFntClr) < 7.0) bad += std::string(bad.empty() ? "" : " ") + "ratio:" + r.Key;
      for (const TuVioTypRow& o : GuVioTyp) {
        if (r.Typ < o.Typ && r.Clr == o.Clr && (r.Sym == o.Sym || r.Sym == TeVioSym::Non || o.Sym == TeVioSym::Non))
          bad += std::string(bad.empty() ? "" : " ") + "symbol:" + r.Key + "=" + o.Key;
      }
    }
    if (ClrCtrRat(GcHcCtlClr, GcHcCtlFntClr) < 7.0) bad += " controls";
    return bad.empty() ? "-" : bad;
  }

  TFakePlatform Fake;
  TTmpDir Tmp;
  TRecWnd Wnd;
  TVioPgmItp Edt;
  TVioDrg Drg{Edt};
  TRecObs Obs;
  TVioAcc Acc{Edt};
  std::vector<std::string> AccChg;
  std::string Idx(const TVio* v) const {
    const auto& l = Edt.Vios();
    return std::to_string(std::find(l.begin(), l.end(), v) - l.begin());
  }
  std::vector<std::string> Tbn;
  std::size_t Box = 0;
  unsigned Rfs = 0;
  int SavCnt = 0;
  TSysLgeMsg Msg{nullptr, TESSARO_DATA_DIR "/"};
  std::optional<TVioRunMap> RunMap;
  std::optional<TVioMtr> Mtr;
  std::string Clp, Note;  // the clipboard's text, what the last paste told
};

}  // namespace edtscr
