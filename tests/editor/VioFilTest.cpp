// Program files: writer, reader, round trips and damaged files.
#include "EdtTstSup.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {

using VioFil = TEdtTst;

std::string Crlf(std::initializer_list<const char*> lines) {
  std::string s;
  for (const char* l : lines) s += std::string(l) + "\r\n";
  return s;
}

// Every program file kept with the sources: the examples and the test corpus.
std::vector<std::string> PgmFils() {
  std::vector<std::string> f;
  for (const char* dir : {TESSARO_DATA_DIR "/examples", TESSARO_SOURCE_DIR "/tests/editor/corpus"}) {
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(dir, ec))
      if (e.path().extension() == ".vio") f.push_back(e.path().string());
  }
  std::sort(f.begin(), f.end());
  return f;
}

TEST_F(VioFil, OneStartVioGivesFiveLines) {
  Edt.PutVio(VT_STA, 0, 0);
  const std::string p = Tmp.Path() + "one.vio";
  ASSERT_TRUE(Edt.SavVioFil(p));
  EXPECT_EQ(RdAll(p), "START1\r\n0001\r\n0001\r\n\r\nEOF\r\n");
}

TEST_F(VioFil, WriterTakesCellsFromPixelsAndWritesEveryParameterLine) {
  Edt.PutVio(VT_SPD, 11, 9);
  TVio* a = Edt.PutVio(VT_ACT, 2, 0);
  Edt.PutVio(VT_SNS, 3, 0);
  Edt.SetVioPos(a, 2 * 66 + 40, 0);  // half-way in a drag: written where its pixels are
  const std::string p = Tmp.Path() + "w.vio";
  ASSERT_TRUE(Edt.SavVioFil(p));
  EXPECT_EQ(RdAll(p), Crlf({"ENGINE SPEED1", "0012", "0010", "20", "", "",                       //
                            "ACTOR1", "0003", "0001", "Driving", "Forward", "10", "",           //
                            "SENSOR1", "0004", "0001", "Track Led", "On", "", "EOF"}));
}

TEST_F(VioFil, EveryKeptProgramFileRoundTripsByteForByte) {
  const auto files = PgmFils();
  ASSERT_GE(files.size(), 5u);
  for (const std::string& f : files) {
    SCOPED_TRACE(f);
    ASSERT_TRUE(Edt.LodVioFil(f)) << GuLstErrMsg;
    const std::string out = Tmp.Path() + "rt.vio";
    ASSERT_TRUE(Edt.SavVioFil(out)) << GuLstErrMsg;
    EXPECT_EQ(RdAll(out), RdAll(f));
  }
  EXPECT_TRUE(Fake.MsgBox.Calls.empty());
}

TEST_F(VioFil, SeparatorsCarryNoMeaningForAnyBlock) {
  const std::string canon = RdAll(TESSARO_SOURCE_DIR "/tests/editor/corpus/all_types.vio");
  // Without any empty separator, with several, with LF or CR line ends and without EOF.
  std::string none, many, lf, cr, noEof;
  {
    TStrLst lines;
    std::size_t pos = 0;
    while (pos < canon.size()) {
      const std::size_t e = canon.find("\r\n", pos);
      lines.push_back(canon.substr(pos, e - pos));
      pos = e + 2;
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
      const std::string& l = lines[i];
      // The empty second speed line is kept; only block separators go.
      const bool sep = l.empty() && !(i > 0 && lines[i - 1] == "30");
      if (!sep) none += l + "\r\n";
      many += l + (l.empty() ? "\r\n\r\n\r\n" : "\r\n");
      lf += l + "\n";
      cr += l + "\r";
      if (l != "EOF") noEof += l + "\r\n";
    }
  }
  for (const std::string* v : {&none, &many, &lf, &cr, &noEof}) {
    ASSERT_TRUE(Edt.LodVioFil(Tmp.Write("v.vio", *v))) << GuLstErrMsg << "\n" << *v;
    ASSERT_TRUE(Edt.SavVioFil(Tmp.Path() + "out.vio"));
    EXPECT_EQ(RdAll(Tmp.Path() + "out.vio"), canon) << *v;
  }
}

TEST_F(VioFil, SensorBlockWithoutSeparatorKeepsTheNextBlock) {
  const std::string f = Crlf({"SENSOR1", "0001", "0001", "Bumpers", "Left pressed", "STOP1", "0002", "0001", "EOF"});
  ASSERT_TRUE(Edt.LodVioFil(Tmp.Write("s.vio", f))) << GuLstErrMsg;
  ASSERT_EQ(Edt.GetVioCnt(), 2);
  EXPECT_EQ(Edt.Vios()[1]->Rec.VioTyp, VT_STO);
  EXPECT_EQ(Edt.Vios()[0]->Rec.SarTkn, 0x50);
}

TEST_F(VioFil, ReaderSetsLabelListButtonsAndLastPlacedCell) {
  std::vector<std::pair<int, bool>> tbn;
  Edt.FOnTbnEna = [&](std::uint8_t t, bool e) { tbn.emplace_back(t, e); };
  const std::string f = Crlf({"LABEL1", "0001", "0001", "loop", "", "GOTO1", "0002", "0001", "LOOP", "",
                              "SWITCH_INTERRUPT1", "0003", "0004", "", "ENGINE SPEED1", "0005", "0006", "300",
                              "", "", "EOF", "START1", "0001", "0002", ""});
  ASSERT_TRUE(Edt.LodVioFil(Tmp.Write("l.vio", f))) << GuLstErrMsg;
  EXPECT_EQ(Edt.LblVioDdwStl(), (TStrLst{"loop"}));
  EXPECT_EQ(tbn, (std::vector<std::pair<int, bool>>{{VT_STA, true}, {VT_SWI, true}, {VT_SWI, false}}));
  EXPECT_EQ(Edt.GetVioCnt(), 4);  // nothing after EOF
  EXPECT_EQ(Edt.GetCtlTxt(Edt.Vios()[1], TeCtlKnd::Cbx, CR_GTO_NAM), "LOOP");
  EXPECT_EQ(Edt.GetCtlTxt(Edt.Vios()[3], TeCtlKnd::Edt, CR_SPD), "300");  // kept as written, not cut to 8 bits
  EXPECT_EQ(Edt.CurCol(), 4);
  EXPECT_EQ(Edt.CurRow(), 5);
  // Values from a file are not checked when the vio is created.
  EXPECT_FALSE(Edt.FbSpdErr);
  EXPECT_TRUE(Fake.MsgBox.Calls.empty());
}

struct TDmgCas {
  const char* Nam;
  std::string Txt;
  std::string Err;  // the start of the expected message
};

TEST_F(VioFil, DamagedFilesGiveAClearErrorAndLeaveTheFieldAlone) {
  const std::string lng(100000, 'x');
  std::string bin;
  for (int i = 0; i < 4096; ++i) bin += static_cast<char>((i * 131 + 7) & 0xFF);
  const TDmgCas cases[] = {
      {"unknown keyword", Crlf({"START", "0001", "0001", ""}), "#401, Illegal vio type in vio file detected"},
      {"binary garbage", bin, "#"},
      {"cut in cell lines", "START1\r\n0001", "#403, Vio file '"},
      {"actor cut short", Crlf({"ACTOR1", "0001", "0001", "Driving"}), "#403, Vio file '"},
      {"letters for a column", Crlf({"STOP1", "00x1", "0001", ""}), "#404, Illegal column or row number '00x1' in line 2"},
      {"empty row line", Crlf({"STOP1", "0001", "", ""}), "#404, Illegal column or row number '' in line 3"},
      {"huge column", Crlf({"STOP1", "123456789012", "0001", ""}), "#404, Illegal column or row number"},
      {"column 0", Crlf({"STOP1", "0000", "0001", ""}), "#416, The column number '0000' in line 2"},
      {"column 13", Crlf({"STOP1", "0001", "0001", "", "STOP1", "0013", "0001", ""}),
       "#416, The column number '0013' in line 6"},
      {"row 11", Crlf({"STOP1", "0012", "0011", ""}), "#416, The row number '0011' in line 3"},
      {"negative row", Crlf({"STOP1", "0001", "-1", ""}), "#416, The row number '-1' in line 3"},
      {"speed not a number", Crlf({"ENGINE SPEED1", "0001", "0001", "fast", "", ""}),
       "#405, Engine speed 'fast' in line 4"},
      {"very long keyword", lng + "\r\n", "#406, Line 1 of vio file '"},
      {"very long parameter", Crlf({"DELAY1", "0001", "0001", lng.c_str(), ""}), "#406, Line 4 of vio file '"},
  };
  ASSERT_TRUE(Edt.LodVioFil(TESSARO_SOURCE_DIR "/tests/editor/corpus/labels.vio"));
  const int cnt = Edt.GetVioCnt();
  const TStrLst lbl = Edt.LblVioDdwStl();
  for (const TDmgCas& c : cases) {
    SCOPED_TRACE(c.Nam);
    GuLstErrMsg.clear();
    Obs.Evt.clear();
    EXPECT_FALSE(Edt.LodVioFil(Tmp.Write("d.vio", c.Txt)));
    EXPECT_EQ(GuLstErrMsg.rfind(c.Err, 0), 0u) << GuLstErrMsg;
    EXPECT_EQ(Edt.GetVioCnt(), cnt);
    EXPECT_EQ(Edt.LblVioDdwStl(), lbl);
    EXPECT_TRUE(Obs.Evt.empty());
  }
}

// Too many vios: with the other limits in VioLimTest.
TEST_F(VioFil, UnreadablePaths) {
  EXPECT_FALSE(Edt.LodVioFil(Tmp.Path() + "missing.vio"));
  EXPECT_EQ(GuLstErrMsg, "#402, Vio file '" + Tmp.Path() + "missing.vio' could not be read");
  EXPECT_FALSE(Edt.LodVioFil(Tmp.Path()));
  EXPECT_EQ(GuLstErrMsg.rfind("#402", 0), 0u);
}

TEST_F(VioFil, UnknownKeywordFirstShowsTheLookupBox) {
  EXPECT_FALSE(Edt.LodVioFil(Tmp.Write("k.vio", Crlf({"START", "0001", "0001"}))));
  EXPECT_EQ(Fake.MsgBox.Texts(), (std::vector<std::string>{"#141c, vio caption not found in list"}));
}

TEST_F(VioFil, CreationFailureStopsLoadingAndKeepsTheVioBeforeIt) {
  const std::string f = Crlf({"START1", "0001", "0001", "", "ACTOR1", "0002", "0001", "Hover", "Up", "5", "",
                              "STOP1", "0003", "0001", "", "EOF"});
  EXPECT_FALSE(Edt.LodVioFil(Tmp.Write("c.vio", f)));
  EXPECT_EQ(GuLstErrMsg,
            "#155, 'Actor' vio combobox 'actor-type', default text 'Hover' not found in dropdown list (filled from "
            "language file)");
  ASSERT_EQ(Edt.GetVioCnt(), 1);
  EXPECT_EQ(Edt.Vios()[0]->Rec.VioTyp, VT_STA);
}

TEST_F(VioFil, SarNamesAreMatchedWithoutRegardToCaseAndSavedAsListed) {
  const std::string f = Crlf({"ACTOR1", "0001", "0001", "back leds", "BLINK", "7", "", "EOF"});
  ASSERT_TRUE(Edt.LodVioFil(Tmp.Write("c.vio", f))) << GuLstErrMsg;
  EXPECT_EQ(Edt.Vios()[0]->Rec.SarTkn, 0x32);
  ASSERT_TRUE(Edt.SavVioFil(Tmp.Path() + "o.vio"));
  EXPECT_EQ(RdAll(Tmp.Path() + "o.vio"), Crlf({"ACTOR1", "0001", "0001", "Back Leds", "Blink", "7", "", "EOF"}));
}

// Nothing but the saved file changes in the folder: no scratch file stays.
std::vector<std::string> Entries(const std::string& dir) {
  std::vector<std::string> e;
  for (const auto& f : fs::directory_iterator(dir)) e.push_back(f.path().filename().string());
  std::sort(e.begin(), e.end());
  return e;
}

TEST_F(VioFil, SaveRefusesWhatItMayNotWriteAndKeepsModeAndLinks) {
  Edt.PutVio(VT_STA, 0, 0);
  const std::string prg = "START1\r\n0001\r\n0001\r\n\r\nEOF\r\n";
  struct Case {
    const char* nam;
    fs::perms mod;
    bool ok;
    const char* why;  // the reason the message gives
  };
  for (const Case& c : {Case{"ro.vio", fs::perms(0444), false, "Permission denied: the file is read-only"},
                        Case{"own.vio", fs::perms(0600), true, ""}, Case{"grp.vio", fs::perms(0664), true, ""}}) {
    SCOPED_TRACE(c.nam);
    const std::string p = Tmp.Write(c.nam, "old program\r\n");
    fs::permissions(p, c.mod);
    const auto before = Entries(Tmp.Path());
    EXPECT_EQ(Edt.SavVioFil(p), c.ok);
    EXPECT_EQ(RdAll(p), c.ok ? prg : "old program\r\n");
    EXPECT_EQ(fs::status(p).permissions() & fs::perms::all, c.mod);
    EXPECT_EQ(Entries(Tmp.Path()), before);
    if (!c.ok) {
      EXPECT_EQ(GuLstErrMsg, "#414, Vio file '" + p + "' could not be written: " + c.why +
                                 " (Save As saves the program under another name)");
    }
  }
  // A link is followed: its target gets the program, the link stays a link.
  const std::string tgt = Tmp.Write("target.vio", "old program\r\n");
  const std::string lnk = Tmp.Path() + "link.vio";
  fs::create_symlink("target.vio", lnk);
  ASSERT_TRUE(Edt.SavVioFil(lnk)) << GuLstErrMsg;
  EXPECT_TRUE(fs::is_symlink(lnk));
  EXPECT_EQ(RdAll(tgt), prg);

  // A folder where the file should be, or a folder that is not there: the
  // reason is told, and nothing is left behind.
  const std::string d = Tmp.Path() + "dir.vio";
  fs::create_directory(d);
  const auto before = Entries(Tmp.Path());
  EXPECT_FALSE(Edt.SavVioFil(d));
  EXPECT_EQ(GuLstErrMsg, "#414, Vio file '" + d + "' could not be written: Is a directory");
  EXPECT_EQ(Entries(Tmp.Path()), before);
  const std::string gone = Tmp.Path() + "no/such/folder/x.vio";
  EXPECT_FALSE(Edt.SavVioFil(gone));
  EXPECT_EQ(GuLstErrMsg, "#414, Vio file '" + gone + "' could not be written: No such file or directory");
}

}  // namespace
