// Program files at and beyond their limits, and the shared label list.
#include "EdtTstSup.h"

#include <random>

namespace {

using VioLim = TEdtTst;

constexpr std::size_t GcFilMax = 16u * 1024u * 1024u;  // the largest program file read

std::string Blk(const std::string& key, int col, std::initializer_list<std::string> prm, const char* eol = "\r\n") {
  std::string s = key + eol + "000" + std::to_string(col % 9 + 1) + eol + "0001" + eol;
  for (const std::string& p : prm) s += p + eol;
  return s + eol;
}

std::string LblNam(int i) { return "label " + std::to_string(i); }

TEST_F(VioLim, LabelAndGotoBoxesShareTheLabelListInsteadOfCopyingIt) {
  std::string f;
  for (int i = 0; i < 300; ++i) f += Blk(i % 3 == 2 ? "GOTO1" : "LABEL1", i, {LblNam(i)});
  ASSERT_TRUE(Edt.LodVioFil(Tmp.Write("many.vio", f))) << GuLstErrMsg;
  ASSERT_EQ(Edt.GetVioCnt(), 300);
  ASSERT_EQ(Edt.LblVioDdwStl().size(), 300u);
  for (int i = 0; i < 300; ++i) {
    const TVio* v = Edt.Vios()[static_cast<std::size_t>(i)];
    const TVioCtl& c = v->Ctls()[0];
    // Each box still shows the names known when it was made, from one store.
    ASSERT_EQ(c.Itms.size(), static_cast<std::size_t>(i + 1));
    ASSERT_EQ(c.Itms.back(), LblNam(i));
    ASSERT_TRUE(c.Itms.ShrSto(Edt.LblVioDdwStl())) << i;
  }
}

TEST_F(VioLim, EnteringANameInOneBoxLeavesTheOthersAsTheyWere) {
  ASSERT_TRUE(Edt.LodVioFil(Tmp.Write("l.vio", Blk("LABEL1", 1, {"A"}) + Blk("LABEL1", 2, {"B"}) +
                                                   Blk("GOTO1", 3, {"A"}))));
  TVio* first = Edt.Vios()[0];
  TVio* second = Edt.Vios()[1];
  TVio* gto = Edt.Vios()[2];
  // The second box holds the whole list: a new name there is appended in place.
  Edt.SetCtlTxt(second, 0, "C");
  Edt.LblNamEnt(second);
  EXPECT_EQ(second->Ctls()[0].Itms, (TStrLst{"A", "B", "C"}));
  EXPECT_EQ(Edt.LblVioDdwStl(), (TStrLst{"A", "B", "C"}));
  // The first box only knew A; a name entered there gets a list of its own.
  Edt.SetCtlTxt(first, 0, "D");
  Edt.LblNamEnt(first);
  EXPECT_EQ(first->Ctls()[0].Itms, (TStrLst{"A", "D"}));
  EXPECT_EQ(second->Ctls()[0].Itms, (TStrLst{"A", "B", "C"}));
  EXPECT_EQ(gto->Ctls()[0].Itms, (TStrLst{"A", "B"}));
  EXPECT_EQ(Edt.LblVioDdwStl(), (TStrLst{"A", "D"}));
  Edt.GtoLblRfs(gto);
  EXPECT_EQ(gto->Ctls()[0].Itms, (TStrLst{"A", "D"}));
  EXPECT_TRUE(gto->Ctls()[0].Itms.ShrSto(first->Ctls()[0].Itms));
}

TEST_F(VioLim, LabelNamesUpToTheLimitLoadAndLongerOnesNameTheirLine) {
  const std::string at(GcMaxLblLen, 'n');
  const std::string over(GcMaxLblLen + 1, 'n');
  ASSERT_TRUE(Edt.LodVioFil(Tmp.Write("ok.vio", Blk("LABEL1", 1, {at}) + Blk("GOTO1", 2, {at})))) << GuLstErrMsg;
  EXPECT_EQ(Edt.GetCtlTxt(Edt.Vios()[1], TeCtlKnd::Cbx, CR_GTO_NAM), at);
  for (const char* key : {"LABEL1", "GOTO1"}) {
    SCOPED_TRACE(key);
    const std::string p = Tmp.Write("long.vio", Blk("START1", 1, {}) + Blk(key, 2, {over}));
    EXPECT_FALSE(Edt.LodVioFil(p));
    EXPECT_EQ(GuLstErrMsg, "#409, Label name in line 8 of vio file '" + p + "' is longer than 64 characters");
    EXPECT_EQ(Edt.GetVioCnt(), 2);  // the field loaded before stays
  }
}

TEST_F(VioLim, ALabelBoxTakesNoMoreThanItCanShow) {
  ASSERT_TRUE(Edt.PutVio(VT_LBL, 0, 0));
  TVio* v = Edt.Vios()[0];
  Obs.Evt.clear();
  Edt.SetCtlTxt(v, 0, std::string(GcMaxLblLen + 10, 'x'));
  EXPECT_EQ(v->Rec.LblNam, std::string(GcMaxLblLen, 'x'));
  EXPECT_TRUE(Obs.Has("ctl0"));
  // The same too long text again: the view is told again, since it shows more.
  Obs.Evt.clear();
  Edt.SetCtlTxt(v, 0, std::string(GcMaxLblLen + 10, 'x'));
  EXPECT_TRUE(Obs.Has("ctl0"));
  Edt.LblNamEnt(v);
  EXPECT_EQ(Edt.LblVioDdwStl().back(), std::string(GcMaxLblLen, 'x'));
  // Other combo boxes and edits are not cut.
  ASSERT_TRUE(Edt.PutVio(VT_DLY, 1, 0));
  TVio* d = Edt.Vios()[1];
  const int e = d->FndCtl(TeCtlKnd::Edt, CR_VAL);
  Edt.SetCtlTxt(d, e, std::string(100, '1'));
  EXPECT_EQ(d->CtlTxt(e).size(), 100u);
}

TEST_F(VioLim, FileSizeLineLengthAndBlockCountAtAndOverTheLimit) {
  // Bare line ends up to the size limit are empty lines and load as nothing.
  EXPECT_TRUE(Edt.LodVioFil(Tmp.Write("lf.vio", std::string(GcFilMax, '\n')))) << GuLstErrMsg;
  EXPECT_TRUE(Edt.LodVioFil(Tmp.Write("cr.vio", std::string(GcFilMax, '\r')))) << GuLstErrMsg;
  const std::string big = Tmp.Write("big.vio", std::string(GcFilMax + 1, '\n'));
  EXPECT_FALSE(Edt.LodVioFil(big));
  EXPECT_EQ(GuLstErrMsg, "#407, Vio file '" + big + "' is too large to be a program");

  const std::string lin(4096, '7');
  ASSERT_TRUE(Edt.LodVioFil(Tmp.Write("l.vio", Blk("DELAY1", 1, {lin})))) << GuLstErrMsg;
  EXPECT_EQ(Edt.GetCtlTxt(Edt.Vios()[0], TeCtlKnd::Edt, CR_VAL), lin);
  const std::string lng = Tmp.Write("l2.vio", Blk("START1", 1, {}) + Blk("DELAY1", 1, {lin + "7"}));
  EXPECT_FALSE(Edt.LodVioFil(lng));
  EXPECT_EQ(GuLstErrMsg, "#406, Line 8 of vio file '" + lng + "' is longer than 4096 characters");
  // A long line is refused as it is read, also without any line end.
  EXPECT_FALSE(Edt.LodVioFil(Tmp.Write("l3.vio", std::string(GcFilMax, 'x'))));
  EXPECT_EQ(GuLstErrMsg.rfind("#406, Line 1 of", 0), 0u) << GuLstErrMsg;

  std::string blks;
  for (int i = 0; i < 1200; ++i) blks += "STOP1\r0001\r0001\r";
  EXPECT_TRUE(Edt.LodVioFil(Tmp.Write("1200.vio", blks))) << GuLstErrMsg;
  EXPECT_EQ(Edt.GetVioCnt(), 1200);
  EXPECT_FALSE(Edt.LodVioFil(Tmp.Write("1201.vio", blks + "STOP1\r0001\r0001\r")));
  EXPECT_EQ(GuLstErrMsg.rfind("#408", 0), 0u) << GuLstErrMsg;
  EXPECT_EQ(Edt.GetVioCnt(), 1200);
}

TEST_F(VioLim, LineEndsOfEveryKindAlsoAcrossTheReadPieces) {
  for (const char* eol : {"\r\n", "\n", "\r"}) {
    SCOPED_TRACE(static_cast<int>(eol[0]) * 100 + static_cast<int>(eol[1]));
    ASSERT_TRUE(Edt.LodVioFil(Tmp.Write("e.vio", Blk("DELAY1", 1, {"10"}, eol) + Blk("SENSOR1", 2, {"Bumpers", "Left pressed"}, eol) + "EOF"))) << GuLstErrMsg;
    ASSERT_EQ(Edt.GetVioCnt(), 2);
    EXPECT_EQ(Edt.GetCtlTxt(Edt.Vios()[0], TeCtlKnd::Edt, CR_VAL), "10");
  }
  // An LF right after a CR LF pair ends a line of its own: the Actor's empty value.
  const std::string mix = "ACTOR1\r\n0001\r\n0001\r\nDriving\r\nForward\r\n\nSTOP1\r\n0002\r\n0001\r\n";
  ASSERT_TRUE(Edt.LodVioFil(Tmp.Write("m.vio", mix))) << GuLstErrMsg;
  ASSERT_EQ(Edt.GetVioCnt(), 2);
  EXPECT_EQ(Edt.Vios()[0]->Rec.ValTxt, "");
  // A CR LF pair split between two pieces of the file is one line end: the
  // CR stands at every place around the first piece's end (64 KiB).
  for (std::size_t at = 65530; at < 65540; ++at) {
    SCOPED_TRACE(at);
    std::string f(at - 18, '\n');  // the row line's CR stands at "at"
    f += "DELAY1\r\n0001\r\n0001\r\n10\r\n";
    ASSERT_TRUE(Edt.LodVioFil(Tmp.Write("p.vio", f))) << GuLstErrMsg;
    ASSERT_EQ(Edt.GetVioCnt(), 1);
    EXPECT_EQ(Edt.GetCtlTxt(Edt.Vios()[0], TeCtlKnd::Edt, CR_VAL), "10");
  }
}

TEST_F(VioLim, BinaryDataFailsCleanlyAndKeepsTheField) {
  ASSERT_TRUE(Edt.LodVioFil(TESSARO_SOURCE_DIR "/tests/editor/corpus/labels.vio"));
  const int cnt = Edt.GetVioCnt();
  std::mt19937 rnd(7);
  for (int n = 0; n < 20; ++n) {
    std::string bin(static_cast<std::size_t>(1000 + n * 5000), '\0');
    for (char& c : bin) c = static_cast<char>(rnd());
    if (n % 2) bin = Blk("LABEL1", 1, {"x"}) + bin;  // a good start, then garbage
    GuLstErrMsg.clear();
    EXPECT_FALSE(Edt.LodVioFil(Tmp.Write("b.vio", bin))) << n;
    EXPECT_EQ(GuLstErrMsg.rfind("#4", 0), 0u) << GuLstErrMsg;
    EXPECT_EQ(Edt.GetVioCnt(), cnt);
  }
}

}  // namespace
