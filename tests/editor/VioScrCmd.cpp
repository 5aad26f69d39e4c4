// The commands of the editing scripts, a table for each kind of work; the
// variants of a command ("!" expects a failure) share its entry.
#include "VioScr.h"

namespace edtscr {

TScr::TCmdMap TScr::CmdLay(const TLin& l, const TCx& x) {
  using P = TVioDrg::TuPos;
  const auto& eqOpt = x.EqOpt;
  return {
      {"rep", [&] {
        for (int k = 0; k < l.I(1); ++k)
          for (const std::string& t : TstFld(l.Rst(2), ';')) Run(TLin::Of(t, l.No));
      }},
      {"put", [&] { eqOpt(Edt.PutVio(Typ(l[1]), l.I(2), l.I(3)) != nullptr); }},
      {"add", [&] { eqOpt(Edt.AddVio(Typ(l[1]))); }},
      {"crt", [&] { eqOpt(Edt.CrtSmpVio(Typ(l[1]), l.I(2), l.I(3))); }},
      {"crtdly", [&] { EXPECT_TRUE(Edt.CrtDlyVio(l.I(1), l.I(2), l.Rst(3))); }},
      {"sar", [&] {
        const auto p = TstFld(l.Rst(4), '|');
        eqOpt(Edt.CrtSarVio(Edt.LgeIdx(), 0, l.I(2), l.I(3), p.at(0), p.at(1), p.at(2), l[1] == "act"));
      }},
      {"tknl", [&] { Edt.SarAndTkn().SetLines(TstFld(l.Rst(1), '|')); }},
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
  };
}

TScr::TCmdMap TScr::CmdCtl(const TLin& l, const TCx& x) {
  using P = TVioDrg::TuPos;
  const std::string& c = x.C;
  return {
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
  };
}

TScr::TCmdMap TScr::CmdTrn(const TLin& l, const TCx& x) {
  const auto& eqOpt = x.EqOpt;
  return {
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
  };
}

TScr::TCmdMap TScr::CmdBox(const TLin& l, const TCx& x) {
  const std::string& c = x.C;
  const std::size_t& n = x.N;
  const auto& eqOpt = x.EqOpt;
  return {
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
  };
}

TScr::TCmdMap TScr::CmdFil(const TLin& l, const TCx& x) {
  using B = TVioPgmItp::TeMouBtn;
  using P = TVioDrg::TuPos;
  const std::string& c = x.C;
  const std::size_t& n = x.N;
  const auto& eqOpt = x.EqOpt;
  return {
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
  };
}

TScr::TCmdMap TScr::CmdMou(const TLin& l, const TCx& x) {
  using B = TVioPgmItp::TeMouBtn;
  using P = TVioDrg::TuPos;
  const std::string& c = x.C;
  return {
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
}

}  // namespace edtscr
