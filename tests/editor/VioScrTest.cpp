// One driver over the editing scripts in scripts/*.ted (the commands are
// described in scripts/README): each "case" starts on a fresh field, each line
// is one action or one expectation. Every message box shown must be expected.
#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <sstream>

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
#include "translator/InsAndTkn.h"
#include "translator/TrnLst.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> Spl(const std::string& s, char sep) {
  std::vector<std::string> r;
  std::size_t p = 0;
  for (std::size_t e; (e = s.find(sep, p)) != std::string::npos; p = e + 1) r.push_back(s.substr(p, e - p));
  r.push_back(s.substr(p));
  return r;
}

struct TLin {
  std::string Txt;                // the whole line
  std::vector<std::string> Tok;   // its words
  std::vector<std::string> Bdy;   // the lines up to "." for the file commands
  int No = 0;
  static TLin Of(const std::string& s, int no) {
    TLin l{s.substr(s.find_first_not_of(' ')), {}, {}, no};
    std::istringstream ss(s);
    for (std::string w; ss >> w;) l.Tok.push_back(w);
    return l;
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
const std::map<std::string, TRol> GcRol = {{"typ", {TeCtlKnd::Cbx, CR_SAR_TYP}}, {"com", {TeCtlKnd::Cbx, CR_SAR_COM}},
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
    for (const std::string& ln : Spl(v.Caption(), '\n'))
      if (!ln.empty() && cap.Px > 0) chk(ln, cap.Px, false, cw, ch / static_cast<int>(Spl(v.Caption(), '\n').size()));
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
};

void TScr::Run(const TLin& l) {
  using B = TVioPgmItp::TeMouBtn;
  using P = TVioDrg::TuPos;
  const std::string& c = l[0];
  const std::size_t n = l.Tok.size();
  auto eqOpt = [&](bool got) { EXPECT_EQ(got, c.back() != '!') << GuLstErrMsg; };
  // The variants of a command ("!" expects a failure) share its entry.
  static const std::map<std::string, std::string> alias = {{"rec", "at"},   {"err^", "err"}, {"wmsg", "evt"}, {"tbn", "evt"},
                                                           {"bad", "load"}, {"rprs", "prs"}, {"rup", "up"},
                                                           {"lsntsk", "lsntit"}};
  const std::string nam = c.substr(0, c.find('!'));
  const std::string key = alias.count(nam) ? alias.at(nam) : nam;
  const std::map<std::string, std::function<void()>> cmd = {
      {"rep", [&] {
        for (int k = 0; k < l.I(1); ++k)
          for (const std::string& t : Spl(l.Rst(2), ';')) Run(TLin::Of(t, l.No));
      }},
      {"put", [&] { eqOpt(Edt.PutVio(Typ(l[1]), l.I(2), l.I(3)) != nullptr); }},
      {"add", [&] { eqOpt(Edt.AddVio(Typ(l[1]))); }},
      {"crt", [&] { eqOpt(Edt.CrtSmpVio(Typ(l[1]), l.I(2), l.I(3))); }},
      {"crtdly", [&] { EXPECT_TRUE(Edt.CrtDlyVio(l.I(1), l.I(2), l.Rst(3))); }},
      {"sar", [&] {
        const auto p = Spl(l.Rst(4), '|');
        eqOpt(Edt.CrtSarVio(Edt.LgeIdx(), 0, l.I(2), l.I(3), p.at(0), p.at(1), p.at(2), l[1] == "act"));
      }},
      {"tknl", [&] { Edt.SarAndTkn().SetLines(Spl(l.Rst(1), '|')); }},
      {"msgs", [&] {
        ASSERT_TRUE(Msg.LodSysMsgFil(TESSARO_DATA_DIR "/SysMsgFil.sys"));
        GuSysLgeMsg = &Msg;
      }},
      {"fld", [&] { Edt.CrtVioFld(l.I(1), l.I(2)); }},
      {"celsz", [&] {
        EXPECT_EQ(std::make_pair(Edt.CelWdt(), Edt.CelHgt()), std::make_pair(l.I(1), l.I(2)));
        EXPECT_EQ(std::make_pair(Edt.GrdCls(), Edt.GrdRws()), std::make_pair(12, 10));
      }},
      {"lay", [&] {  // each control: left,top,width,font px,font points,colour
        TVioLay lay(Edt, nullptr);
        std::string s;
        for (int i = 0; i < static_cast<int>(V(l[1])->Ctls().size()); ++i) {
          const TuCtlBox b = lay.CtlBox(*V(l[1]), i);
          std::ostringstream o;
          o << (s.empty() ? "" : " ") << b.Left << ',' << b.Top << ',' << b.Width << ',' << b.FntHgt << ','
            << b.FntPts << ',' << std::hex << std::uppercase << b.Clr;
          s += o.str();
        }
        EXPECT_EQ(s, l.Rst(2));
      }},
      {"hgt", [&] {  // each control's height, a list box's frame 6 pixels high and an edit's 2
        TMsr96 msr;
        msr.CbxH = 6, msr.EdtH = 2;
        TVioLay lay(Edt, &msr);
        std::string s;
        for (int i = 0; i < static_cast<int>(V(l[1])->Ctls().size()); ++i)
          s += (i ? " " : "") + std::to_string(lay.CtlBox(*V(l[1]), i).Height);
        EXPECT_EQ(s, l.Rst(2));
      }},
      {"cut", [&] { EXPECT_EQ(Cut(*V(l[1])), l.Rst(2)); }},
      {"capbox", [&] {  // top,height,px of the caption, measured as "cut" does; "-": not shown
        TMsr96 msr;
        const TuCapBox c = TVioLay(Edt, &msr).CapBox(*V(l[1]));
        EXPECT_EQ(c.Px > 0 ? std::to_string(c.Top) + ',' + std::to_string(c.Height) + ',' + std::to_string(c.Px) : "-", l.Rst(2));
      }},
      {"zom", [&] { eqOpt(Edt.SetZom(l.I(1))); }},
      {"zomstp", [&] { EXPECT_EQ(std::make_pair(ZomStpUp(l.I(1)), ZomStpDwn(l.I(1))), std::make_pair(l.I(2), l.I(3))); }},
      {"zomtxt", [&] { EXPECT_EQ(ZomOfTxt(l.Rst(2)), l.I(1)); }},
      {"hc", [&] { Edt.SetHiCtr(l.B(1)); }},
      {"vclr", [&] {
        std::ostringstream o;
        o << std::hex << std::uppercase << TVioLay::VioClr(*V(l[1])) << ' ' << TVioLay::VioFntClr(*V(l[1]));
        EXPECT_EQ(o.str(), l.Rst(2));
      }},
      {"hctbl", [&] { EXPECT_EQ(HcTbl(), l.Rst(1)); }},
      {"drop", [&] { Edt.DrpVio(V(l[1]), l.I(2), l.I(3)); }},
      {"glu", [&] {  // vio, where it stands, where it is wanted = where it shows, candidates
        const auto g = Edt.GluVio(V(l[1]), P{l.I(2), l.I(3)}, l.I(4), l.I(5));
        std::string s = std::to_string(g.Pos.X) + " " + std::to_string(g.Pos.Y);
        for (const auto& k : g.Cnd) s += " " + std::string(1, k.Sid) + std::to_string(k.Dst);
        EXPECT_EQ(s, l.Rst(7));
      }},
      {"cel", [&] { Edt.PutVioOnCel(V(l[1]), l.I(2), l.I(3)); }},
      {"at", [&] {
        const TVio* v = V(l[1]);
        EXPECT_EQ(std::make_pair(v->Rec().GrdCol, v->Rec().GrdRow), std::make_pair(l.I(2), l.I(3)));
        if (c == "at") {
          EXPECT_EQ(Drg.Pos(v), (P{l.I(2) * Edt.CelWdt(), l.I(3) * Edt.CelHgt()}));
        }
      }},
      {"px", [&] { EXPECT_EQ(Drg.Pos(V(l[1])), (P{l.I(2), l.I(3)})); }},
      {"typ", [&] { EXPECT_EQ(V(l[1])->Rec().VioTyp, Typ(l[2])); }},
      {"cur", [&] { EXPECT_EQ(std::make_pair(Edt.CurCol(), Edt.CurRow()), std::make_pair(l.I(1), l.I(2))); }},
      {"curvio", [&] { EXPECT_EQ(Edt.CurVio(), V(l[1])); }},
      {"cnt", [&] { EXPECT_EQ(Edt.GetVioCnt(), l.I(1)); }},
      {"free", [&] {
        EXPECT_EQ(Edt.Pgm().CelFre(l.I(1), l.I(2)), l.B(3));
        EXPECT_EQ(Edt.Pgm().CelOcc(l.I(1), l.I(2)), l.B(4));
      }},
      {"freexc", [&] { EXPECT_EQ(Edt.Pgm().CelFreExc(l.I(1), l.I(2), V(l[3])), l.B(4)); }},
      {"nbrfree", [&] { EXPECT_EQ(Edt.Pgm().NbrCelFre(l.I(1), l.I(2), static_cast<std::uint8_t>(l.I(3))), l.B(4)); }},
      {"nbr", [&] { EXPECT_EQ(Edt.Pgm().GetNbrVio(V(l[1]), static_cast<std::uint8_t>(l.I(2))), V(l[3])); }},
      {"col0", [&] {
        int cl = -1, rw = -1;
        EXPECT_EQ(Edt.Pgm().FstFreCelCol0(cl, rw), l[1] != "-");
        if (l[1] != "-") {
          EXPECT_EQ(std::make_pair(cl, rw), std::make_pair(0, l.I(1)));
        }
      }},
      {"set", [&] { Edt.SetCtlTxt(V(l[1]), C(l, 1), l.Rst(3)); }},
      {"get", [&] { EXPECT_EQ(Edt.GetCtlTxt(V(l[1]), GcRol.at(l[2]).Knd, GcRol.at(l[2]).Rol), l.Rst(3)); }},
      {"sel", [&] { Edt.SelCtlItm(V(l[1]), C(l, 1), l.I(3)); }},
      {"pick", [&] {
        const TStrLst& it = Ctl(l, 1).Itms;
        const auto f = std::find(it.begin(), it.end(), l.Rst(3));
        ASSERT_NE(f, it.end()) << l.Rst(3);
        Edt.SelCtlItm(V(l[1]), C(l, 1), static_cast<int>(f - it.begin()));
      }},
      {"items", [&] { EXPECT_EQ(Jn(Ctl(l, 1).Itms), l.Rst(3)); }},
      {"hasitem", [&] {
        const TStrLst& it = Ctl(l, 1).Itms;
        EXPECT_EQ(std::find(it.begin(), it.end(), l.Rst(4)) != it.end(), l.B(3)) << l.Rst(4);
      }},
      {"vis", [&] { EXPECT_EQ(Ctl(l, 1).Vis, l.B(3)); }},
      {"maxlen", [&] { EXPECT_EQ(Ctl(l, 1).MaxLen, l.I(3)); }},
      {"unit", [&] {
        const TVioCtl& u = V(l[1])->Ctls().at(static_cast<std::size_t>(V(l[1])->FstCtl(TeCtlKnd::Lbl)));
        EXPECT_EQ(u.Vis ? u.LblTxt : "-", l.Rst(2));
      }},
      {"ctls", [&] {
        std::string s;
        for (const TVioCtl& k : V(l[1])->Ctls())
          s += (s.empty() ? "" : " ") + (k.Knd == TeCtlKnd::Lbl ? k.LblTxt : std::to_string(k.CtlRol)) + (k.Edt ? "+" : "");
        EXPECT_EQ(s, l.Rst(2));
      }},
      {"vcap", [&] { EXPECT_EQ(V(l[1])->Caption(), l.Rst(2)); }},
      {"tkn", [&] { EXPECT_EQ(V(l[1])->Rec().SarTkn, l.I(2)); }},
      {"shown", [&] { EXPECT_EQ(V(l[1])->Visible(), l.B(2)); }},
      {"show", [&] { V(l[1])->SetVisible(l.B(2)); }},
      {"chk", [&] {
        TVio* v = V(l[1]);
        const int foc = Obs.FocCnt;
        const std::string txt = v->CtlTxt(v->FstCtl(TeCtlKnd::Edt));
        EXPECT_EQ(Chk(v), l.B(2));
        EXPECT_EQ(Obs.FocCnt, foc + !l.B(2)) << "a refused edit asks for the focus back";
        EXPECT_EQ(v->CtlTxt(v->FstCtl(TeCtlKnd::Edt)), txt);
      }},
      {"flags", [&] {
        EXPECT_EQ(l.Rst(1), std::to_string(Edt.DlyErr()) + std::to_string(Edt.DstErr()) + std::to_string(Edt.SpdErr()));
      }},
      {"vioprm", [&] { EXPECT_EQ(Edt.ChkVioPrm(V(l[1])), l.B(2)); }},
      {"mark", [&] { Rfs = Edt.RfsCnt(); }},
      {"gate", [&] { EXPECT_EQ(Edt.ChkPndInp(Rfs), l.B(1)); }},
      {"flt", [&] {
        for (char k : l[4])
          EXPECT_EQ(Edt.DgtFlt(V(l[1]), C(l, 1), k == '_' ? ' ' : k == 'r' ? '\r' : k == 'b' ? '\b' : k == 'e' ? '\x1b' : k), l.B(3)) << k;
      }},
      {"spdfoc", [&] { EXPECT_EQ(Edt.SpdFocGai(V(l[1])), l.I(2)); }},
      {"lblkey", [&] { Edt.LblKeyPrs(V(l[1]), l[2] == "cr" ? '\r' : l[2][0]); }},
      {"lblent", [&] { Edt.LblNamEnt(V(l[1])); }},
      {"gtorfs", [&] { Edt.GtoLblRfs(V(l[1])); }},
      {"sartyp", [&] { Edt.SarTypChg(V(l[1])); }},
      {"sarcom", [&] { Edt.SarComChg(V(l[1])); }},
      {"acc", [&] {
        Acc.Upd();
        EXPECT_EQ(Acc.VioNam(V(l[1])), l.Rst(2));
      }},
      {"accctl", [&] {
        const bool idx = l[2].find_first_not_of("-0123456789") == std::string::npos;
        EXPECT_EQ(Acc.CtlNam(V(l[1]), idx ? l.I(2) : C(l, 1)), l.Rst(3));
      }},
      {"acccel", [&] { EXPECT_EQ(Acc.CelNam(l.I(1), l.I(2)), l.Rst(3)); }},
      {"accchg", [&] {
        Acc.Upd();
        const std::string got = Tak(AccChg);
        EXPECT_EQ(got.empty() ? "-" : got, l.Rst(1));
      }},
      {"lbls", [&] { EXPECT_EQ(Jn(Edt.Pgm().LblLst()), l.Rst(1)); }},
      {"rmv", [&] { Edt.RmvVio(V(l[1])); }},
      {"rmvall", [&] { Edt.RmvAllVio(); }},
      {"und", [&] { eqOpt(Edt.Und()); }},
      {"red", [&] { eqOpt(Edt.Red()); }},
      {"drpstp", [&] { eqOpt(Edt.DrpStp()); }},
      {"drt", [&] { EXPECT_EQ(Edt.Drt(), l.B(1)); }},
      {"doc", [&] { EXPECT_EQ(Edt.DocNam(), Tmp.Path() + l[1]); }},
      {"hst", [&] { EXPECT_EQ(Edt.HstCnt(), static_cast<std::size_t>(l.I(1))); }},
      {"lge", [&] { eqOpt(Edt.SetLgeIdx(static_cast<std::uint8_t>(l.I(1)))); }},
      {"stm", [&] {
        ASSERT_TRUE(Edt.TrnVioPgm()) << GuLstErrMsg;
        EXPECT_EQ(FmtTrnStm(Edt.Trn()), l.Rst(1));
      }},
      {"upl", [&] {
        ASSERT_TRUE(Edt.TrnVioPgm()) << GuLstErrMsg;
        Map().Set(Edt.Trn());
      }},
      {"runat", [&] { EXPECT_EQ(Map().VioAt(l.I(1)), V(l[2])); }},
      {"runlen", [&] { EXPECT_EQ(Map().Len(), static_cast<std::size_t>(l.I(1))); }},
      {"sheet", [&] {  // run order (-: not reached)/bytes of each vio, "=" the stream's length, or why not
        const std::string keep = GuLstErrMsg = "kept";
        const TuShtPgm t = ShtPgm(Edt);
        eqOpt(t.Ok);
        std::string s;
        for (const TuShtVio& v : t.Vio) s += (v.Ord ? std::to_string(v.Ord) : "-") + "/" + std::to_string(v.Byt) + " ";
        const std::string bdg = t.Bdg == GcMaxTsmLen ? "" : " / " + std::to_string(t.Bdg);
        EXPECT_EQ(t.Ok ? s + "= " + std::to_string(t.Len) + bdg : t.Why, l.Rst(1));
        EXPECT_EQ(GuLstErrMsg, keep);
      }},
      {"sheetflt", [&] { EXPECT_EQ(ShtPgm(Edt).Flt, l[1] == "-" ? -1 : l.I(1)); }},  // the vio framed as wrong
      {"sheetprm", [&] { EXPECT_EQ(Jn(ShtPrm(*V(l[1]))), l.Rst(2)); }},  // the parameter lines printed on a vio
      {"legend", [&] {  // the vio types of the sheet's legend
        std::string s;
        for (std::uint8_t t : ShtLgd(Edt))
          s += (s.empty() ? "" : " ") + std::string("sta sto iff thn els dly lbl gto act sns spd swi rti").substr(t * 4u, 3);
        EXPECT_EQ(s, l.Rst(1));
      }},
      {"store", [&] {  // the settings store: ok, or failing to create, open or write
        Fake.Settings.FailCreate = l[1] == "nocreate";
        Fake.Settings.FailOpen = l[1] == "noopen";
        Fake.Settings.FailWrite = l[1] == "nowrite";
      }},
      {"author", [&] { eqOpt(KepShtAut(l.Rst(1))); }},
      {"author?", [&] {  // whether the author was asked before, and the name kept
        std::string nam = "unset";
        const auto before = Fake.Settings.Keys;
        eqOpt(RedShtAut(nam));
        EXPECT_EQ(nam, l.Rst(1));
        EXPECT_EQ(Fake.Settings.Keys, before) << "a read leaves the store as it was";
      }},
      {"brk", [&] { eqOpt(Edt.TglBrk(V(l[1]))); }},
      {"brks", [&] {  // the vios with a breakpoint @ where the uploaded stream stops for them
        std::string s;
        const auto& vs = Edt.Vios();
        for (const TVio* x : Edt.BrkVios()) s += " " + std::to_string(std::find(vs.begin(), vs.end(), x) - vs.begin());
        for (int x : Map().BrkAdr()) s += " @" + std::to_string(x);
        EXPECT_EQ(s, n > 1 ? " " + l.Rst(1) : "");
      }},
      {"ans", [&] {
        for (std::size_t i = 1; i < n; ++i)
          Fake.MsgBox.Answers.push_back(l[i] == "sav" ? TeMsgAns::Sav : l[i] == "dsc" ? TeMsgAns::Dsc : TeMsgAns::Cancel);
      }},
      {"ask", [&] {  // the question before the program is dropped; the save works, fails or does nothing
        const auto sav = [&] {
          if (l[2] == "ok") ++SavCnt;
          if (l[2] != "none") Edt.SavVioFil(Tmp.Path() + (l[2] == "ok" ? "o.vio" : "no/such/o.vio"));
        };
        EXPECT_EQ(AskDrpPgm(Edt, sav), l.B(1));
      }},
      {"saved", [&] { EXPECT_EQ(RdAll(Tmp.Path() + "o.vio"), PgmTxt(Edt)); }},
      {"savcnt", [&] { EXPECT_EQ(SavCnt, l.I(1)); }},
      {"btn", [&] { EXPECT_EQ(Fake.MsgBox.Calls.at(Box - 1).Buttons, TeMsgBtn::SavDscCnc); }},
      {"box", [&] {
        ASSERT_LT(Box, Fake.MsgBox.Calls.size()) << "no box";
        EXPECT_EQ(Fake.MsgBox.Calls[Box++].Text, l.Rst(1));
      }},
      {"cap", [&] { EXPECT_EQ(Fake.MsgBox.Calls.at(Box - 1).Caption, l.Rst(1)); }},
      {"err", [&] { EXPECT_EQ(c == "err" ? GuLstErrMsg : GuLstErrMsg.substr(0, l.Rst(1).size()), l.Rst(1)); }},
      {"evt", [&] { EXPECT_EQ(Tak(c == "evt" ? Obs.Evt : c == "wmsg" ? Wnd.Msgs : Tbn), l.Rst(1)); }},
      {"lasttbn", [&] {
        std::string lst;
        for (const auto& t : Tbn) lst = t.substr(0, t.size() - 1) == l[1] ? t : lst;
        EXPECT_EQ(lst, l[1] + l[2]);
      }},
      {"clr", [&] { Obs.Evt.clear(), Wnd.Msgs.clear(), Tbn.clear(); }},
      {"foc", [&] { EXPECT_EQ(Obs.FocCnt, l.I(1)); }},
      {"key", [&] {  // [c-]lft|rgt|upp|dwn|del|ent|chr X: a key on the field, c- with Control
        using K = TVioPgmItp::TeKey;
        static const std::map<std::string, K> keys = {{"lft", K::Lft}, {"rgt", K::Rgt}, {"upp", K::Upp},
                                                      {"dwn", K::Dwn}, {"del", K::Del}, {"ent", K::Ent},
                                                      {"chr", K::Chr}};
        const bool ctl = l[1].rfind("c-", 0) == 0;
        eqOpt(Edt.FldKey(keys.at(l[1].substr(ctl ? 2 : 0)), ctl, n > 2 ? l[2][0] : '\0'));
      }},
      {"kcur", [&] { EXPECT_EQ(std::make_pair(Edt.KeyCol(), Edt.KeyRow()), std::make_pair(l.I(1), l.I(2))); }},
      {"kset", [&] { Edt.SetKeyCur(l.I(1), l.I(2)); }},
      {"running", [&] { Edt.SetStaRun(l.B(1)); }},
      {"kvio", [&] { EXPECT_EQ(Edt.KeyVio(), V(l[1])); }},
      {"prm", [&] { EXPECT_EQ(Edt.PrmCtl(V(l[1]), l.I(2), l.B(3)), l.I(4)); }},
      {"kesc", [&] { Edt.PrmEsc(V(l[1])); }},
      {"ktyp", [&] { EXPECT_EQ(TVioPgmItp::KeyVioTyp(l[1][0]), l[2] == "-" ? -1 : Typ(l[2])); }},
      {"prcmsg", [&] { EXPECT_EQ(Fake.EvtLoop.PrcMsgCnt, l.I(1)); }},
      {"save", [&] {
        ASSERT_TRUE(Edt.SavVioFil(Tmp.Path() + "o.vio")) << GuLstErrMsg;
        EXPECT_EQ(RdAll(Tmp.Path() + "o.vio"), Crlf(l.Bdy));
      }},
      {"reload", [&] { EXPECT_TRUE(Edt.LodVioFil(Tmp.Path() + "o.vio")) << GuLstErrMsg; }},
      {"open", [&] { ASSERT_TRUE(Edt.LodVioFil(TESSARO_SOURCE_DIR "/tests/editor/" + l[1])) << GuLstErrMsg; }},
      {"load", [&] {
        if (c == "load") {
          EXPECT_TRUE(Edt.LodVioFil(Wrt(l))) << GuLstErrMsg;
          return;
        }
        // A damaged file leaves the field, its labels and the views alone.
        const std::string bfr = PgmTxt(Edt), lbl = Jn(Edt.Pgm().LblLst());
        Obs.Evt.clear();
        GuLstErrMsg.clear();
        EXPECT_FALSE(Edt.LodVioFil(Wrt(l)));
        EXPECT_EQ(GuLstErrMsg.substr(0, l.Rst(1).size()), l.Rst(1));
        if (c == "bad") {
          EXPECT_EQ(PgmTxt(Edt) + Jn(Edt.Pgm().LblLst()) + Tak(Obs.Evt), bfr + lbl);
        }
      }},
      {"lesson", [&] {  // a lesson file: read and given to the editor, or refused with nothing changed
        const TVioLsn* bfr = Edt.Lsn();
        auto lsn = std::make_shared<TVioLsn>();
        GuLstErrMsg.clear();
        const bool ok = LodVioLsn(Tmp.Write("l.lesson", LsnTxt(l.Bdy)), Edt, *lsn);
        eqOpt(ok);
        if (ok) return Edt.SetLsn(std::move(lsn));
        std::string want = l.Rst(1);
        if (const auto p = want.find("{tmp}"); p != std::string::npos) want.replace(p, 5, Tmp.Path());
        EXPECT_EQ(GuLstErrMsg, want);
        EXPECT_EQ(Edt.Lsn(), bfr);
      }},
      {"nolesson", [&] { Edt.SetLsn(nullptr); }},
      {"offered", [&] {
        std::string s;
        for (int t = 0; t < 256; ++t)  // a number that is no type is never offered: "#N"
          if (Edt.VioOfr(static_cast<std::uint8_t>(t)))
            s += (s.empty() ? "" : " ") +
                 (t < GcVioTypCnt ? std::string("sta sto iff thn els dly lbl gto act sns spd swi rti").substr(t * 4, 3)
                                  : "#" + std::to_string(t));
        EXPECT_EQ(s, l.Rst(1));
      }},
      {"lsnnot", [&] { EXPECT_EQ(Edt.LsnNot(), l.Rst(1)); }},
      {"lsntit", [&] {  // the title or task in a language
        ASSERT_TRUE(Edt.Lsn());
        const auto g = static_cast<std::uint8_t>(l.I(1));
        std::string got = c == "lsntit" ? Edt.Lsn()->TitIn(g) : Edt.Lsn()->TskIn(g);
        for (std::size_t p; (p = got.find('\n')) != std::string::npos;) got.replace(p, 1, "\\n");
        EXPECT_EQ(got, l.Rst(2));
      }},
      {"meter", [&] {
        if (!Mtr) Mtr.emplace(Edt);
        const TuMtrStt& m = Mtr->Upd();
        EXPECT_EQ(m.Txt + (m.Ok || m.Emp ? "" : " | " + m.Why), l.Rst(1));
      }},
      {"prs", [&] {
        TVio* v = V(l[1]);
        const int dx = n > 2 ? l.I(2) : 5, dy = n > 3 ? l.I(3) : 5;
        Drg.Dwn(v, c == "prs" ? B::Lft : B::Rgt, P{Drg.Pos(v).X + dx, Drg.Pos(v).Y + dy});
      }},
      {"prs?", [&] { Drg.Dwn(V(l[1]), B::Lft, std::nullopt); }},
      {"mov", [&] { Mov(l.I(1), l.I(2)); }},
      {"mov1", [&] { Drg.Mov(P{l.I(1), l.I(2)}); }},
      {"mov?", [&] { Drg.Mov(std::nullopt), Drg.Mov(std::nullopt); }},
      {"up", [&] { Drg.Up(c == "up" ? B::Lft : B::Rgt); }},
      {"ctx", [&] { Edt.VioCtxPop(); }},
      {"drg", [&] { EXPECT_EQ(Edt.VioDrg(), l.B(1)); }},
      {"arm", [&] { EXPECT_EQ(Edt.MouArm(), l.B(1)); }},
      {"glue", [&] {
        std::string s;
        for (const auto& g : Drg.Cnd()) s += std::string(1, g.Sid) + std::to_string(g.Dst) + " ";
        EXPECT_EQ(s, l.Rst(1));
      }},
      {"staclk", [&] {
        // The Start action: while it runs, a press changes nothing.
        bool run = false;
        Edt.SetOnStaDblClk([&] {
          run = Edt.StaRun();
          Drg.Dwn(Edt.Vios().at(0), B::Lft, P{1, 1});
          EXPECT_FALSE(Edt.VioDrg());
          GuLstErrMsg = l.Rst(2);
          return l.B(1);
        });
        Edt.StaDblClk();
        EXPECT_TRUE(run);
        EXPECT_FALSE(Edt.StaRun());
      }},
  };
  const auto f = cmd.find(key);
  ASSERT_NE(f, cmd.end()) << "unknown command " << c;
  f->second();
}

TEST(VioScr, EveryScript) {
  std::vector<fs::path> fils;
  for (const auto& e : fs::directory_iterator(TESSARO_SOURCE_DIR "/tests/editor/scripts"))
    if (e.path().extension() == ".ted") fils.push_back(e.path());
  std::sort(fils.begin(), fils.end());
  ASSERT_GE(fils.size(), 6u);
  for (const fs::path& f : fils) {
    std::ifstream in(f);
    std::vector<TLin> cas;
    std::string nam, s;
    auto run = [&] {
      if (nam.empty()) return;
      SCOPED_TRACE(f.filename().string() + ": " + nam);
      TScr scr;
      for (const TLin& l : cas) {
        SCOPED_TRACE("line " + std::to_string(l.No) + ": " + l.Txt);
        try {
          scr.Run(l);
        } catch (const std::exception& x) {
          FAIL() << "a word is missing or wrong: " << x.what();
        }
        if (::testing::Test::HasFatalFailure()) return;
      }
    };
    for (int no = 1; std::getline(in, s); ++no) {
      if (s.empty() || s[0] == '#') continue;
      TLin l = TLin::Of(s, no);
      if (l[0] == "case") {
        run();
        nam = l.Rst(1), cas.clear();
        continue;
      }
      if (l[0] == "save" || l[0] == "load" || l[0] == "load!" || l[0] == "bad" || l[0] == "lesson" ||
          l[0] == "lesson!")
        while (std::getline(in, s) && s != ".") l.Bdy.push_back(s), ++no;
      cas.push_back(l);
    }
    run();
  }
}

}  // namespace
