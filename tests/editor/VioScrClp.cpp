// The commands of the editing scripts for the selection and the clipboard
// (scripts/clipboard.ted): the clipboard is a text the script holds.
#include "VioScr.h"

namespace edtscr {

TScr::TCmdMap TScr::CmdClp(const TLin& l, const TCx& x) {
  const std::string& c = x.C;
  // A failing command changes nothing: the field, its labels, its steps.
  auto non = [this, &l](const std::function<bool()>& act) {
    const std::string bfr = PgmTxt(Edt) + Jn(Edt.Pgm().LblLst());
    const std::size_t hst = Edt.HstCnt();
    GuLstErrMsg.clear();
    EXPECT_FALSE(act());
    EXPECT_EQ(GuLstErrMsg, l.Rst(1));
    EXPECT_EQ(PgmTxt(Edt) + Jn(Edt.Pgm().LblLst()), bfr);
    EXPECT_EQ(Edt.HstCnt(), hst);
  };
  return {
      {"rct", [&] {
        if (l[1] == "-")
          Edt.ClrSel();
        else
          Edt.SetSelRct(l.I(1), l.I(2), l.I(3), l.I(4));
      }},
      {"srct", [&] {
        const auto& r = Edt.SelRct();
        EXPECT_EQ(r ? std::to_string(r->Col0) + " " + std::to_string(r->Row0) + " " + std::to_string(r->Col1) + " " +
                          std::to_string(r->Row1)
                    : "-",
                  l.Rst(1));
      }},
      {"skey", [&] {
        static const std::map<std::string, TVioPgmItp::TeKey> k = {
            {"lft", TVioPgmItp::TeKey::Lft}, {"rgt", TVioPgmItp::TeKey::Rgt}, {"upp", TVioPgmItp::TeKey::Upp},
            {"dwn", TVioPgmItp::TeKey::Dwn}, {"del", TVioPgmItp::TeKey::Del}};
        x.EqOpt(Edt.SelKey(k.at(l[1])));
      }},
      {"selv", [&] {
        std::string s;
        for (const TVio* v : Edt.SelVios()) s += (s.empty() ? "" : " ") + Idx(v);
        EXPECT_EQ(s.empty() ? "-" : s, l.Rst(1));
      }},
      {"copy", [&, non] {  // the text copied, or copy! MESSAGE (cutv the same for a cut)
        auto act = [&] { return c.rfind("copy", 0) == 0 ? Edt.CpyVio(Clp) : Edt.CutVio(Clp); };
        if (c.back() == '!') return non(act);
        ASSERT_TRUE(act()) << GuLstErrMsg;
        EXPECT_EQ(Clp, Crlf(l.Bdy));
      }},
      {"paste", [&, non] {  // the lines up to "." pasted (none: the text copied last); paste! MESSAGE
        const std::string txt = l.Bdy.empty() ? Clp : Crlf(l.Bdy);
        Note.clear();
        auto act = [&] { return c.rfind("dup", 0) == 0 ? Edt.DupVio(Note) : Edt.PstVio(txt, Note); };
        if (c.back() == '!') return non(act);
        EXPECT_TRUE(act()) << GuLstErrMsg;
      }},
      {"note", [&] { EXPECT_EQ(Note, l.Rst(1)); }},
  };
}

}  // namespace edtscr
