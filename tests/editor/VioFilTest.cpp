// Program files: every kept file round-trips byte for byte, line ends and
// separators carry no meaning, files at and beyond their limits, and saves
// that may not write keep the old file. The damaged files that fit in a few
// lines are in scripts/files.ted.
#include <filesystem>
#include <random>

#include "EdtTstSup.h"

namespace fs = std::filesystem;

namespace {

using VioFil = TEdtTst;

std::vector<std::string> PgmFils() {
  std::vector<std::string> f;
  for (const char* dir : {TESSARO_DATA_DIR "/examples", TESSARO_SOURCE_DIR "/tests/editor/corpus"})
    for (const auto& e : fs::directory_iterator(dir))
      if (e.path().extension() == ".vio") f.push_back(e.path().string());
  std::sort(f.begin(), f.end());
  return f;
}

TEST_F(VioFil, EveryKeptProgramFileRoundTripsByteForByte) {
  const auto files = PgmFils();
  ASSERT_GE(files.size(), 5u);
  for (const std::string& f : files) {
    ASSERT_TRUE(Edt.LodVioFil(f)) << f << ": " << GuLstErrMsg;
    ASSERT_TRUE(Edt.SavVioFil(Tmp.Path() + "rt.vio")) << GuLstErrMsg;
    EXPECT_EQ(RdAll(Tmp.Path() + "rt.vio"), RdAll(f)) << f;
  }
  EXPECT_TRUE(Fake.MsgBox.Calls.empty());
}

TEST_F(VioFil, SeparatorsAndLineEndsCarryNoMeaningForAnyBlock) {
  const std::string canon = RdAll(TESSARO_SOURCE_DIR "/tests/editor/corpus/all_types.vio");
  // Without any empty separator, with several, with LF or CR line ends and without EOF.
  std::string none, many, lf, cr, noEof, prv;
  for (std::size_t p = 0, e; (e = canon.find("\r\n", p)) != std::string::npos; p = e + 2) {
    const std::string l = canon.substr(p, e - p);
    if (!l.empty() || prv == "30") none += l + "\r\n";  // the empty second speed line stays
    many += l + (l.empty() ? "\r\n\r\n\r\n" : "\r\n");
    lf += l + "\n";
    cr += l + "\r";
    if (l != "EOF") noEof += l + "\r\n";
    prv = l;
  }
  for (const std::string* v : {&none, &many, &lf, &cr, &noEof}) {
    ASSERT_TRUE(Edt.LodVioFil(Tmp.Write("v.vio", *v))) << GuLstErrMsg << "\n" << *v;
    EXPECT_EQ(PgmTxt(Edt), canon) << *v;
  }
  // An LF right after a CR LF pair ends a line of its own: the Actor's empty value.
  ASSERT_TRUE(Edt.LodVioFil(Tmp.Write("m.vio", "ACTOR1\r\n0001\r\n0001\r\nDriving\r\nForward\r\n\nSTOP1\r\n0002\r\n0001\r\n")));
  ASSERT_EQ(Edt.GetVioCnt(), 2);
  EXPECT_EQ(Edt.Vios()[0]->Rec().ValTxt, "");
  // A CR LF pair split between two pieces of the file (64 KiB) is one line end.
  for (std::size_t at = 65530; at < 65540; ++at) {
    ASSERT_TRUE(Edt.LodVioFil(Tmp.Write("p.vio", std::string(at - 18, '\n') + "DELAY1\r\n0001\r\n0001\r\n10\r\n")));
    ASSERT_EQ(Edt.GetVioCnt(), 1) << at;
    EXPECT_EQ(Edt.GetCtlTxt(Edt.Vios()[0], TeCtlKnd::Edt, CR_VAL), "10") << at;
  }
}

TEST_F(VioFil, FilesBeyondTheLimitsAndGarbageFailCleanlyAndKeepTheField) {
  constexpr std::size_t GcFilMax = 16u * 1024u * 1024u;
  const std::string lin(4096, '7'), lng(100000, 'x');
  std::string blks;
  for (int i = 0; i < 1200; ++i) blks += "STOP1\r0001\r0001\r";
  // Bare line ends up to the size limit, the longest line and the most blocks load.
  for (const std::string& ok : {std::string(GcFilMax, '\n'), std::string(GcFilMax, '\r'), blks,
                                "DELAY1\r\n0001\r\n0001\r\n" + lin + "\r\n"})
    EXPECT_TRUE(Edt.LodVioFil(Tmp.Write("ok.vio", ok))) << GuLstErrMsg;
  EXPECT_EQ(Edt.GetCtlTxt(Edt.Vios()[0], TeCtlKnd::Edt, CR_VAL), lin);
  ASSERT_TRUE(Edt.LodVioFil(TESSARO_SOURCE_DIR "/tests/editor/corpus/labels.vio"));
  const std::string bfr = PgmTxt(Edt);
  const std::size_t lbl = Edt.Pgm().LblLst().size();
  std::mt19937 rnd(7);
  std::vector<std::pair<std::string, std::string>> bad = {
      {std::string(GcFilMax + 1, '\n'), "#407, Vio file '"},
      {"START1\r\n0001\r\n0001\r\n\r\nDELAY1\r\n0001\r\n0001\r\n" + lin + "7\r\n", "#406, Line 8 of vio file '"},
      {std::string(GcFilMax, 'x'), "#406, Line 1 of"},  // refused as it is read, without any line end
      {lng + "\r\n", "#406, Line 1 of vio file '"},
      {"\n" + lng + "\r\n", "#406, Line 2 of vio file '"},  // a first LF is a line of its own
      {"DELAY1\r\n0001\r\n0001\r\n" + lng + "\r\n", "#406, Line 4 of vio file '"},
      {"SENSOR1\r\n0001\r\n0001\r\nBumpers\r\nLeft pressed\r\n" + lng + "\r\n", "#406, Line 6 of vio file '"},
      {blks + "STOP1\r0001\r0001\r", "#408"},
      {"START1\r\n0001", "#403, Vio file '"}};
  for (int n = 0; n < 20; ++n) {  // garbage, or a good start and then garbage
    std::string bin(static_cast<std::size_t>(1000 + n * 5000), '\0');
    for (char& c : bin) c = static_cast<char>(rnd());
    bad.emplace_back(n % 2 ? "LABEL1\r\n0001\r\n0001\r\nx\r\n\r\n" + bin : bin, "#4");
  }
  for (const auto& [txt, err] : bad) {
    Obs.Evt.clear();
    EXPECT_FALSE(Edt.LodVioFil(Tmp.Write("b.vio", txt)));
    EXPECT_EQ(GuLstErrMsg.substr(0, err.size()), err) << GuLstErrMsg;
    EXPECT_EQ(PgmTxt(Edt), bfr);
    EXPECT_EQ(Edt.Pgm().LblLst().size(), lbl);
    EXPECT_TRUE(Obs.Evt.empty());
  }
  EXPECT_FALSE(Edt.LodVioFil(Tmp.Path() + "missing.vio"));
  EXPECT_EQ(GuLstErrMsg, "#402, Vio file '" + Tmp.Path() + "missing.vio' could not be read");
  EXPECT_FALSE(Edt.LodVioFil(Tmp.Path()));
  EXPECT_EQ(GuLstErrMsg.rfind("#402", 0), 0u);
}

TEST_F(VioFil, LabelAndGotoBoxesShareTheLabelListInsteadOfCopyingIt) {
  std::string f;
  for (int i = 0; i < 300; ++i)
    f += std::string(i % 3 == 2 ? "GOTO1" : "LABEL1") + "\r\n0001\r\n0001\r\nlabel " + std::to_string(i) + "\r\n\r\n";
  ASSERT_TRUE(Edt.LodVioFil(Tmp.Write("many.vio", f))) << GuLstErrMsg;
  ASSERT_EQ(Edt.Pgm().LblLst().size(), 300u);
  for (std::size_t i = 0; i < 300; ++i) {
    // Each box still shows the names known when it was made, from one store.
    const TVioCtl& c = Edt.Vios()[i]->Ctls()[0];
    ASSERT_EQ(c.Itms.size(), i + 1);
    ASSERT_EQ(c.Itms.back(), "label " + std::to_string(i));
    ASSERT_TRUE(c.Itms.ShrSto(Edt.Pgm().LblLst())) << i;
  }
}

std::vector<std::string> Entries(const std::string& dir) {
  std::vector<std::string> e;
  for (const auto& f : fs::directory_iterator(dir)) e.push_back(f.path().filename().string());
  std::sort(e.begin(), e.end());
  return e;
}

TEST_F(VioFil, SaveRefusesWhatItMayNotWriteAndKeepsModeLinksAndTheOldFile) {
  Edt.PutVio(VT_STA, 0, 0);
  const std::string prg = "START1\r\n0001\r\n0001\r\n\r\nEOF\r\n", old = "old program\r\n";
  const fs::path lnk = Tmp.Path() + "link.vio";
  fs::create_symlink("target.vio", lnk);
  fs::create_directory(Tmp.Path() + "dir.vio");
  struct {
    const char* Nam;
    fs::perms Mod;
    const char* Why;  // the reason the message gives; empty when the save succeeds
  } const cases[] = {{"ro.vio", fs::perms(0444), "Permission denied: the file is read-only"},
                     {"own.vio", fs::perms(0600), ""},
                     {"grp.vio", fs::perms(0664), ""},
                     {"target.vio", fs::perms(0644), ""},  // through the link, which stays a link
                     {"dir.vio", fs::perms::none, "Is a directory"},
                     {"no/such/folder/x.vio", fs::perms::none, "No such file or directory"}};
  for (const auto& c : cases) {
    const std::string p = Tmp.Path() + c.Nam;
    if (c.Mod != fs::perms::none) fs::permissions(Tmp.Write(c.Nam, old), c.Mod);
    const auto bfr = Entries(Tmp.Path());
    const bool ok = !*c.Why;
    EXPECT_EQ(Edt.SavVioFil(c.Mod == fs::perms(0644) ? lnk.string() : p), ok) << c.Nam;
    EXPECT_EQ(Entries(Tmp.Path()), bfr) << "no scratch file stays";
    if (c.Mod != fs::perms::none) {
      EXPECT_EQ(RdAll(p), ok ? prg : old);
      EXPECT_EQ(fs::status(p).permissions() & fs::perms::all, c.Mod);
    }
    if (!ok) {
      EXPECT_EQ(GuLstErrMsg, "#414, Vio file '" + p + "' could not be written: " + c.Why +
                                 (c.Mod == fs::perms::none ? "" : " (Save As saves the program under another name)"));
    }
  }
  EXPECT_TRUE(fs::is_symlink(lnk));
}

}  // namespace
