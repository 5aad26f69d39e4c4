// The main window's lifecycle with recording seams and a temporary install tree.
#include <QAction>
#include <QApplication>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QColor>
#include <QImage>
#include <QLabel>
#include <QComboBox>
#include <QMenu>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

#include <pty.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>

#include "app/AppIto.h"
#include "app/Options.h"
#include "app/VslCnv.h"
#include "app/VslTbr.h"
#include "app/VioBlk.h"
#include "app/VslDoc.h"
#include "app/VslLnk.h"
#include "app/VslCnvLgc.h"
#include "core/Globals.h"
#include "core/PathUtl.h"
#include "editor/VioPgmItp.h"
#include "link/ComPort2p5.h"
#include "messages/SysLgeMsg.h"
#include "sound/SndCue.h"
#include "support/FakePlatform.h"

namespace {

const char* const GcOptKey = "SOFTWARE\\Quorel\\TessaroV1.0\\Options";

const char* const GcSysMsg =
    "Test messages\n"
    "0xF4\n"
    "No COM port present\n"
    "Geen COM-poort\n"
    "Kein COM-Anschluss\n"
    "0x0F\n"
    "Upload EN\n"
    "Upload NL\n"
    "Upload DE\n"
    "0x25\n"
    ": cannot be opened\n"
    ": kan niet\n"
    ": geht nicht\n";

const char* const GcExtTkn =
    "0x11\n"
    "A,XXX,Driving,Forward,Rijden,Vooruit,Fahren,Vorwaerts\n";

const std::vector<std::string> GcCtrStp = {"FpVioPgmItp", "FpcomUsbZefor", "FpPlyWavFil", "FpSysLgeMsg",
                                           "ExtComTkn.sys", "FpRxMtxAndRbf", "ScnComPrt", "FpRegistry",
                                           "FpTxMtxAndRbf", "FormCreate"};
const std::vector<std::string> GcRlsFld = {"FpTxMtxAndRbf", "FpRxMtxAndRbf", "FpSysLgeMsg", "FpVioPgmItp",
                                           "FpcomUsbZefor", "FpPlyWavFil", "FpRegistry"};

class VslCnv : public ::testing::Test {
protected:
  void SetUp() override {
    // Every message the program uses; the test's own texts come first.
    std::string msg = GcSysMsg;
    for (const TSysMsgIdf& m : GcSysMsgIdf) msg += SysMsgIdfTxt({m.Idf}) + "\nm\nm\nm\n";
    Ins.Write("bin/SysMsgFil.sys", msg);
    Ins.Write("bin/ExtComTkn.sys", GcExtTkn);
    // Every cue; those below "Sounds" find the folder "sounds" written before them.
    for (int c = 0; c < GcSndCueCnt; ++c)
      Ins.Write(NativePath(SndCuePth(static_cast<TeSndCue>(c), Ins.Path(), Ins.Path() + "bin/")).substr(Ins.Path().size()), "RIFF");
  }

  void TearDown() override {
    W.reset();
    frmOptions = nullptr;
    frmAppIto = nullptr;
  }

  TVslCnvCfg Cfg() {
    TVslCnvCfg c;
    c.AppDir = Ins.Path() + "bin/";
    c.InsDir = Ins.Path();
    c.ScnPrt = [this] { return Ports; };
    c.Trc = [this](const std::string& s) { Trc.push_back(s); };
    c.Tms = Tms;
    c.OnRls = OnRls;
    return c;
  }

  TfrmVslCnv& Mk() {
    W = std::make_unique<TfrmVslCnv>(nullptr, Cfg());
    return *W;
  }

  // The trace entries that start with "~", in order.
  std::vector<std::string> Rls() const {
    std::vector<std::string> r;
    for (const auto& s : Trc)
      if (!s.empty() && s[0] == '~') r.push_back(s.substr(1));
    return r;
  }

  bool Traced(const std::string& s) const { return std::find(Trc.begin(), Trc.end(), s) != Trc.end(); }

  TVio* PutVio(int col) {
    TVio* v = W->FpVioPgmItp->PutVio(VT_STO, col, 0);
    EXPECT_NE(v, nullptr) << GuLstErrMsg;
    return v;
  }

  TFakePlatform Plt;
  TTmpDir Ins;
  std::vector<std::string> Ports;
  std::vector<std::string> Trc;
  TVslCnvTms Tms;
  std::function<void(const std::string&)> OnRls;
  std::unique_ptr<TfrmVslCnv> W;
};

// ---------------------------------------------------------------------------
// Construction and shutdown

TEST_F(VslCnv, ConstructsInItsOrderAndWritesTheDefaultPort) {
  TfrmVslCnv& w = Mk();
  EXPECT_EQ(Trc, GcCtrStp);
  EXPECT_TRUE(Plt.MsgBox.Calls.empty()) << Plt.MsgBox.Calls.front().Text;
  EXPECT_FALSE(Plt.EvtLoop.Terminated);

  EXPECT_EQ(Plt.Settings.Writes, std::vector<std::string>{std::string(GcOptKey) + "|Comport=COM0"});
  EXPECT_EQ(w.Lnk().PrtNam(), "COM0");
  EXPECT_EQ(w.ComPrtIdx(), -1);

  EXPECT_FALSE(w.Tbr().Tbn(TeTbn::Run)->isEnabled());
  EXPECT_EQ(w.Tbr().ImgIdx(w.Tbr().Tbn(TeTbn::ComSte)), GcImgComNok);
  EXPECT_EQ(w.FpVioPgmItp->LgeIdx(), 0);
  EXPECT_EQ(w.FpVioPgmItp->AvlCol(), 0);
  EXPECT_TRUE(w.LgeAct(0)->isChecked());
  EXPECT_TRUE(w.LgeMnu().menuAction()->isVisible());
  EXPECT_EQ(GuSysLgeMsg, w.SysLgeMsg());
  EXPECT_EQ(GuInsDir, Ins.Path());
  EXPECT_EQ(w.windowTitle().toStdString(), "Brinkmoor - Tessaro 1.3");
}

TEST_F(VslCnv, ReleasesInItsOrderAtShutdown) {
  Mk();
  W.reset();
  EXPECT_EQ(Rls(), GcRlsFld);
  EXPECT_TRUE(Plt.MsgBox.Calls.empty());
  EXPECT_EQ(GuSysLgeMsg, nullptr);
}

TEST_F(VslCnv, AFailedReleaseIsReportedAndShutdownGoesOn) {
  for (const std::string& bad : GcRlsFld) {
    SCOPED_TRACE(bad);
    Plt.MsgBox.Calls.clear();
    Trc.clear();
    OnRls = [bad](const std::string& fld) {
      if (fld == bad) throw std::runtime_error("release failed");
    };
    Mk();
    W.reset();
    ASSERT_EQ(Plt.MsgBox.Calls.size(), 1u);
    EXPECT_EQ(Plt.MsgBox.Calls[0].Text, "Error deleting " + bad);
    EXPECT_EQ(Plt.MsgBox.Calls[0].Caption, "Destructor");
    EXPECT_EQ(Rls(), GcRlsFld);
  }
}

TEST_F(VslCnv, AStoredPortIsKeptAndFoundByItsWholeName) {
  Plt.Settings.Keys[GcOptKey]["Comport"] = "COM12";
  Ports = {"COM1", "COM3", "COM12"};
  TfrmVslCnv& w = Mk();
  EXPECT_TRUE(Plt.Settings.Writes.empty());
  EXPECT_EQ(w.Lnk().PrtNam(), "COM12");
  EXPECT_EQ(w.ComPrtIdx(), 2);
}

// ---------------------------------------------------------------------------
// Fatal start-up paths

struct TFtlCas {
  const char* Nam;
  void (*Arrange)(TFakePlatform&, TTmpDir&);
  std::string (*Box)(const TTmpDir&);
  const char* LstStp;  // last construction step carried out
  bool TxCrt;          // the transmit buffer exists
  bool PrtRed;         // the port name was read
};

class VslCnvFtl : public VslCnv, public ::testing::WithParamInterface<TFtlCas> {};

TEST_P(VslCnvFtl, ShowsItsMessageAndAsksToTerminate) {
  const TFtlCas& c = GetParam();
  c.Arrange(Plt, Ins);
  TfrmVslCnv& w = Mk();
  ASSERT_FALSE(Plt.MsgBox.Calls.empty());
  EXPECT_EQ(Plt.MsgBox.Calls[0].Text, c.Box(Ins));
  EXPECT_EQ(Plt.MsgBox.Calls.size(), 1u);
  EXPECT_TRUE(Plt.EvtLoop.Terminated);
  // FormCreate runs even after construction ended early.
  ASSERT_GE(Trc.size(), 2u);
  EXPECT_EQ(Trc.back(), "FormCreate");
  EXPECT_EQ(Trc[Trc.size() - 2], c.LstStp);
  EXPECT_EQ(GuInsDir, Ins.Path());
  EXPECT_EQ(w.Lnk().Txb() != nullptr, c.TxCrt);
  EXPECT_EQ(w.Lnk().PrtNam(), c.PrtRed ? "COM0" : "");
  EXPECT_EQ(w.ComPrtIdx(), -1);
  // Shutdown releases what exists and reports nothing.
  Plt.MsgBox.Calls.clear();
  W.reset();
  EXPECT_TRUE(Plt.MsgBox.Calls.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, VslCnvFtl,
    ::testing::Values(
        TFtlCas{"TokenFileMissing", [](TFakePlatform&, TTmpDir& d) { std::remove((d.Path() + "bin/ExtComTkn.sys").c_str()); },
                [](const TTmpDir& d) {
                  return "#174, File error: Token File '" + d.Path() + "bin/ExtComTkn.sys' could not be found";
                },
                "FpSysLgeMsg", false, false},
        // The message table reports itself; the rest of the start-up still runs.
        TFtlCas{"MessageFileMissing", [](TFakePlatform&, TTmpDir& d) { std::remove((d.Path() + "bin/SysMsgFil.sys").c_str()); },
                [](const TTmpDir& d) {
                  return "#174, File error: SysMsg File '" + d.Path() + "bin/SysMsgFil.sys' could not be found";
                },
                "FpTxMtxAndRbf", true, true},
        TFtlCas{"StoreCannotBeCreated", [](TFakePlatform& p, TTmpDir&) { p.Settings.FailCreate = true; },
                [](const TTmpDir&) { return std::string("Could not create registry object1"); }, "ScnComPrt", false,
                false},
        TFtlCas{"KeyCannotBeOpened", [](TFakePlatform& p, TTmpDir&) { p.Settings.FailOpen = true; },
                [](const TTmpDir&) { return std::string("Could not create registry object2"); }, "FpTxMtxAndRbf", true,
                false},
        TFtlCas{"StoreCannotBeWritten", [](TFakePlatform& p, TTmpDir&) { p.Settings.FailWrite = true; },
                [](const TTmpDir&) { return std::string("Could not create registry object2"); }, "FpTxMtxAndRbf", true,
                false},
        // The key exists but the default port cannot be written into it.
        TFtlCas{"DefaultPortCannotBeWritten",
                [](TFakePlatform& p, TTmpDir&) {
                  p.Settings.Keys[GcOptKey];
                  p.Settings.FailWrite = true;
                },
                [](const TTmpDir&) { return std::string("Could not create registry object2"); }, "FpTxMtxAndRbf", true,
                false}),
    [](const ::testing::TestParamInfo<TFtlCas>& i) { return std::string(i.param.Nam); });

// ---------------------------------------------------------------------------
// Blink

TEST_F(VslCnv, BlinkHidesAndShowsFiveTimesAndEndsVisible) {
  TfrmVslCnv& w = Mk();
  w.FpVioPgmItp->CrtVioFld(800, 600);
  TVio* v = PutVio(0);
  ASSERT_TRUE(v->Visible());

  for (int run = 0; run < 2; ++run) {
    SCOPED_TRACE(run);
    w.SndMsg(WM_APP_MSG, AM_VIO_BLK, reinterpret_cast<std::intptr_t>(v));
    ASSERT_TRUE(w.Blk().Tmr().isActive());
    // The interval is not reset: a later blink starts after the last shown phase.
    EXPECT_EQ(w.Blk().Tmr().interval(), run == 0 ? 10 : 500);
    for (int i = 0; i < 5; ++i) {
      w.tmrVioBlkTimer();
      EXPECT_FALSE(v->Visible());
      EXPECT_EQ(w.Blk().Tmr().interval(), 100);
      EXPECT_TRUE(w.Blk().Tmr().isActive());
      w.tmrVioBlkTimer();
      EXPECT_TRUE(v->Visible());
      EXPECT_EQ(w.Blk().Tmr().interval(), 500);
      EXPECT_EQ(w.Blk().Tmr().isActive(), i < 4) << i;
    }
  }
}

TEST_F(VslCnv, BlinkRunsOnItsTimer) {
  Tms.VioBlk = 1;
  Tms.VioBlkHid = 1;
  Tms.VioBlkShw = 1;
  TfrmVslCnv& w = Mk();
  w.FpVioPgmItp->CrtVioFld(800, 600);
  TVio* v = PutVio(0);
  struct TVisCnt : IVioPgmObs {
    void VioVis(TVio*) override { ++N; }
    int N = 0;
  } cnt;
  w.FpVioPgmItp->AddObs(&cnt);
  w.ReqVioBlk(v);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !w.Blk().Tmr().isActive(); }, 5000));
  EXPECT_TRUE(v->Visible());
  EXPECT_EQ(cnt.N, 10);
  w.FpVioPgmItp->RmvObs(&cnt);
}

TEST_F(VslCnv, ErrorBoxEndsTheBlinkAndShowsTheVio) {
  TfrmVslCnv& w = Mk();
  w.FpVioPgmItp->CrtVioFld(800, 600);
  TVio* v = PutVio(0);
  w.StaVioBlk(v);
  w.tmrVioBlkTimer();
  w.tmrVioBlkTimer();
  w.tmrVioBlkTimer();
  ASSERT_FALSE(v->Visible());
  const int prc = Plt.EvtLoop.PrcMsgCnt;

  w.ShwErrMsg("#312, No free vio position left on programming field");
  ASSERT_EQ(Plt.MsgBox.Calls.size(), 1u);
  EXPECT_EQ(Plt.MsgBox.Calls[0].Text, "#312, No free vio position left on programming field");
  EXPECT_EQ(Plt.MsgBox.Calls[0].Caption, "");
  EXPECT_EQ(Plt.MsgBox.Calls[0].Buttons, TeMsgBtn::Ok);
  EXPECT_GT(Plt.EvtLoop.PrcMsgCnt, prc);
  EXPECT_FALSE(w.Blk().Tmr().isActive());
  EXPECT_TRUE(v->Visible());

  // The next blink shows the vio five times again.
  w.StaVioBlk(v);
  int shows = 0;
  for (int i = 0; i < 20 && w.Blk().Tmr().isActive(); ++i) {
    w.tmrVioBlkTimer();
    if (v->Visible()) ++shows;
  }
  EXPECT_EQ(shows, 5);
}

TEST_F(VslCnv, ANewBlinkTargetLeavesTheEarlierOneVisible) {
  TfrmVslCnv& w = Mk();
  w.FpVioPgmItp->CrtVioFld(800, 600);
  TVio* a = PutVio(0);
  TVio* b = PutVio(1);
  w.StaVioBlk(a);
  w.tmrVioBlkTimer();
  ASSERT_FALSE(a->Visible());
  w.StaVioBlk(b);
  EXPECT_TRUE(a->Visible());
  w.tmrVioBlkTimer();
  EXPECT_FALSE(b->Visible());
  EXPECT_TRUE(a->Visible());
}

TEST_F(VslCnv, RemovingTheBlinkingVioEndsTheBlink) {
  TfrmVslCnv& w = Mk();
  w.FpVioPgmItp->CrtVioFld(800, 600);
  TVio* a = PutVio(0);
  TVio* b = PutVio(1);

  // Settings message 8 removes the editor's current vio.
  w.StaVioBlk(a);
  w.tmrVioBlkTimer();
  w.FpVioPgmItp->FpCurVio = a;
  w.SndMsg(WM_SET_MSG, SM_RMV_CUR_VIO, 0);
  EXPECT_FALSE(w.Blk().Tmr().isActive());
  EXPECT_EQ(w.FpVioPgmItp->GetVioCnt(), 1);
  EXPECT_EQ(w.Blk().Vio(), nullptr);

  // A removal by the editor itself (mouse delete) while b blinks.
  w.StaVioBlk(b);
  w.tmrVioBlkTimer();
  w.FpVioPgmItp->RmvVio(b);
  EXPECT_EQ(w.Blk().Vio(), nullptr);
  EXPECT_FALSE(w.Blk().Tmr().isActive());
  w.tmrVioBlkTimer();
  w.ShwErrMsg("x");  // must not touch the deleted vio
  EXPECT_EQ(w.FpVioPgmItp->GetVioCnt(), 0);
}

TEST_F(VslCnv, SettingsMessageEightShowsAnotherBlinkingVio) {
  TfrmVslCnv& w = Mk();
  w.FpVioPgmItp->CrtVioFld(800, 600);
  TVio* a = PutVio(0);
  TVio* b = PutVio(1);
  w.StaVioBlk(a);
  w.tmrVioBlkTimer();
  w.FpVioPgmItp->FpCurVio = b;
  w.SndMsg(WM_SET_MSG, SM_RMV_CUR_VIO, 0);
  EXPECT_TRUE(a->Visible());
  EXPECT_EQ(w.FpVioPgmItp->GetVioCnt(), 1);
}

// ---------------------------------------------------------------------------
// Window messages

TEST_F(VslCnv, SetAppDirChangesToTheProgramFolder) {
  TfrmVslCnv& w = Mk();
  const auto prv = std::filesystem::current_path();
  w.SetAppDir();
  const auto now = std::filesystem::current_path();
  std::filesystem::current_path(prv);
  EXPECT_EQ(now, std::filesystem::canonical(Ins.Path() + "bin"));
}

TEST_F(VslCnv, LinkDiagnosticsReachTheHiddenOutputsOnTheUserInterfaceThread) {
  TfrmVslCnv& w = Mk();
  w.Lnk().Com().FOnComPrtErrEvt(&w.Lnk().Com(), -3, "Error #004, comport device lost");
  EXPECT_EQ(w.Lnk().ComMsg().toPlainText().toStdString(), "-3, Error #004, comport device lost");

  // From a worker thread the effect waits for the user interface thread.
  Plt.EvtLoop.UiThread = false;
  w.Lnk().Com().FOnComPrtCtlEvt(&w.Lnk().Com(), 0x20);
  w.Lnk().Com().FOnComPrtLerEvt(&w.Lnk().Com(), 7, 5);
  EXPECT_EQ(w.Lnk().ComMsg().toPlainText().toStdString(), "-3, Error #004, comport device lost");
  QApplication::processEvents();
  EXPECT_EQ(w.Lnk().ComMsg().toPlainText().toStdString(), "-3, Error #004, comport device lost\nCtl event");
  EXPECT_EQ(w.Lnk().Tbx(1).text().toStdString(), "dwLstErrNum = 5");
}

// ---------------------------------------------------------------------------
// Showing and the end of start-up

class VslCnvShw : public VslCnv {
protected:
  void SetUp() override {
    VslCnv::SetUp();
    // Pictures of distinct colours, so that each entry can be told apart.
    for (int i = 0; i < GcTbnImgCnt; ++i) WrtPic(GcTbnImgFil[static_cast<std::size_t>(i)] + 1, 32, 32, PicClr(i));
    WrtPic("background.bmp", 200, 100, Qt::darkGray);
    WrtPic("intro.bmp", 474, 390, Qt::blue);
  }

  void WrtPic(const std::string& name, int w, int h, QColor c) {
    QImage img(w, h, QImage::Format_RGB888);
    img.fill(c);
    const std::string p = Ins.Write("pictures/" + name, "");
    ASSERT_TRUE(img.save(QString::fromStdString(p), "BMP"));
  }

  static QColor PicClr(int i) { return QColor(10 * i, 255 - 10 * i, 100); }

  static QColor ImgClr(const QPixmap& p) { return p.isNull() ? QColor() : p.toImage().pixelColor(0, 0); }

  // Builds the windows of the program entry and shows the main window.
  TfrmVslCnv& MkShw() {
    TfrmVslCnv& w = Mk();
    Opt = std::make_unique<TfrmOptions>(nullptr, [this] { return Ports; });
    frmOptions = Opt.get();
    Ito = std::make_unique<TfrmAppIto>(Ins.Path());
    frmAppIto = Ito.get();
    w.show();
    return w;
  }

  void TearDown() override {
    VslCnv::TearDown();
    Ito.reset();
    Opt.reset();
  }

  std::unique_ptr<TfrmOptions> Opt;
  std::unique_ptr<TfrmAppIto> Ito;
};

TEST_F(VslCnvShw, ShowingLocksTheWindowAndStartsTheIntro) {
  TfrmVslCnv& w = MkShw();
  EXPECT_TRUE(w.FrmShw());
  EXPECT_EQ(w.windowTitle().toStdString(), "Brinkmoor - Tessaro 1.3 (Build: 1.0.0.7)");
  EXPECT_TRUE(w.Locked());
  EXPECT_TRUE(w.TmrAppIto().isActive());
  EXPECT_EQ(w.TmrAppIto().interval(), 5000);
  EXPECT_EQ(w.TmrMovBckGndPic().interval(), 60000);
  // The background's idle tick runs once a minute.
  EXPECT_TRUE(w.TmrMovBckGndPic().isActive());
  EXPECT_EQ(frmOptions->FpMaiFrm, &w);

  EXPECT_TRUE(Ito->PicLod());
  EXPECT_TRUE(Ito->isVisible());
  EXPECT_EQ(Ito->size(), QSize(473, 377));
  EXPECT_TRUE(Ito->windowFlags() & Qt::FramelessWindowHint);
  EXPECT_TRUE(Ito->windowFlags() & Qt::WindowStaysOnTopHint);

  ASSERT_NE(GuBckGndImg, nullptr);
  EXPECT_TRUE(GuBckGndImg->hasScaledContents());
  EXPECT_EQ(GuBckGndImg->size(), w.Fld().size());
  // The background keeps filling the field.
  const QSize fld = w.Fld().size();
  w.setWindowState(Qt::WindowNoState);
  w.resize(w.width() - 50, w.height() - 40);
  QApplication::processEvents();
  ASSERT_NE(w.Fld().size(), fld);
  EXPECT_EQ(GuBckGndImg->size(), w.Fld().size());
  EXPECT_TRUE(w.Tbr().MisPic().empty()) << w.Tbr().MisPic().front();
}


TEST_F(VslCnvShw, ClosingTheMainWindowEndsTheRun) {
  TfrmVslCnv& w = MkShw();
  w.setWindowState(Qt::WindowNoState);
  w.resize(w.size() + QSize(300, 200));
  QApplication::processEvents();
  const QSize big = w.Fld().size();
  EXPECT_EQ(GuBckGndImg->size(), big);
  EXPECT_FALSE(Plt.EvtLoop.Terminated);

  EXPECT_TRUE(w.close());
  EXPECT_FALSE(w.FrmShw());
  EXPECT_TRUE(Plt.EvtLoop.Terminated);
  // The background is left alone once the window is closing.
  w.Fld().setMinimumSize(big + QSize(50, 50));
  w.FormResize();
  ASSERT_NE(w.Fld().size(), big);
  EXPECT_EQ(GuBckGndImg->size(), big);
}

TEST_F(VslCnvShw, ASmallWindowScrollsTheFieldInsteadOfCuttingItOff) {
  TfrmVslCnv& w = MkShw();
  ASSERT_NE(w.FpVioPgmItp, nullptr);
  QApplication::processEvents();
  const TVioPgmItp& pgm = *w.FpVioPgmItp;
  const QSize grd(pgm.GrdCls() * pgm.CelWdt(), pgm.GrdRws() * pgm.CelHgt());
  ASSERT_GT(grd.width(), 772);
  w.showNormal();
  QApplication::processEvents();
  w.resize(772, 571);
  QApplication::processEvents();
  // The cells stay as they were made; the whole grid can be scrolled to.
  EXPECT_GE(w.Fld().width(), grd.width());
  EXPECT_GE(w.Fld().height(), grd.height());
  QScrollBar* hor = w.FldScr().horizontalScrollBar();
  QScrollBar* ver = w.FldScr().verticalScrollBar();
  EXPECT_EQ(hor->maximum(), w.Fld().width() - w.FldScr().viewport()->width());
  EXPECT_EQ(ver->maximum(), w.Fld().height() - w.FldScr().viewport()->height());
  EXPECT_GT(hor->maximum(), 0);
  EXPECT_EQ(GuBckGndImg->size(), w.Fld().size());
  // Made large again, the field fills the window and the scroll bars go.
  w.resize(grd.width() + 200, grd.height() + 300);
  QApplication::processEvents();
  EXPECT_EQ(w.FldScr().horizontalScrollBar()->maximum(), 0);
  EXPECT_EQ(w.FldScr().verticalScrollBar()->maximum(), 0);
  EXPECT_EQ(w.Fld().size(), w.FldScr().viewport()->size());
  EXPECT_EQ(GuBckGndImg->size(), w.Fld().size());
}

TEST_F(VslCnvShw, TheMaximizedWindowShowsTheWholeGridWithoutScrollBars) {
  TfrmVslCnv& w = MkShw();
  ASSERT_NE(w.FpVioPgmItp, nullptr);
  QApplication::processEvents();
  const TVioPgmItp& pgm = *w.FpVioPgmItp;
  // The status bar with the byte meter is there before the cells are made.
  ASSERT_NE(w.findChild<QStatusBar*>(), nullptr);
  const QSize vpt = w.FldScr().viewport()->size();
  EXPECT_LE(pgm.GrdRws() * pgm.CelHgt(), vpt.height());
  EXPECT_LE(pgm.GrdCls() * pgm.CelWdt(), vpt.width());
  EXPECT_EQ(w.FldScr().verticalScrollBar()->maximum(), 0);
  EXPECT_EQ(w.FldScr().horizontalScrollBar()->maximum(), 0);
}

// A window manager's frame and panels take a part of the screen only after
// the window is shown; a taller status bar takes the same part of the field.
TEST_F(VslCnvShw, AnEmptyFieldFollowsTheMaximizedWindowUntilTheIntroEnds) {
  TfrmVslCnv& w = MkShw();
  ASSERT_NE(w.FpVioPgmItp, nullptr);
  QApplication::processEvents();
  TVioPgmItp& pgm = *w.FpVioPgmItp;
  auto shrink = [&w](int px) {
    w.statusBar()->setFixedHeight(w.statusBar()->height() + px);
    QApplication::processEvents();
  };
  const int hgt0 = pgm.CelHgt();
  shrink(40);
  EXPECT_LT(pgm.CelHgt(), hgt0);
  EXPECT_LE(pgm.GrdRws() * pgm.CelHgt(), w.FldScr().viewport()->height());
  EXPECT_EQ(w.FldScr().verticalScrollBar()->maximum(), 0);
  // A vio on the field keeps the cells.
  ASSERT_TRUE(pgm.AddVio(VT_STO));
  const int hgt1 = pgm.CelHgt();
  shrink(40);
  EXPECT_EQ(pgm.CelHgt(), hgt1);
  // So does the end of the intro, with the field empty again.
  pgm.RmvAllVio();
  w.tmrAppItoTimer();
  shrink(40);
  EXPECT_EQ(pgm.CelHgt(), hgt1);
}

TEST_F(VslCnvShw, ToolBarPicturesGoToTheirButtons) {
  // One picture is missing: its entry keeps the Start picture.
  std::remove((Ins.Path() + "pictures/Control. Upload. 32x32. color. orange.bmp").c_str());
  TfrmVslCnv& w = MkShw();
  for (int i = 0; i < GcTbnImgCnt; ++i)
    EXPECT_EQ(ImgClr(w.Tbr().Img(i)), i == 14 ? PicClr(0) : PicClr(i)) << i;
  ASSERT_EQ(w.Tbr().MisPic().size(), 1u);
  EXPECT_EQ(w.Tbr().MisPic()[0], Ins.Path() + "pictures/Control. Upload. 32x32. color. orange.bmp");

  // Label, Goto and Delay stand in another order than their pictures' numbers.
  EXPECT_EQ(w.Tbr().ImgIdx(w.Tbr().Tbn(TeTbn::Lbl)), 5);
  EXPECT_EQ(w.Tbr().ImgIdx(w.Tbr().Tbn(TeTbn::Gto)), 6);
  EXPECT_EQ(w.Tbr().ImgIdx(w.Tbr().Tbn(TeTbn::Dly)), 7);
  EXPECT_EQ(w.Tbr().ImgIdx(w.Tbr().Tbn(TeTbn::Run)), 16);
  EXPECT_EQ(w.Tbr().ImgIdx(w.Tbr().Tbn(TeTbn::ComSte)), 19);
  EXPECT_EQ(ImgClr(w.Tbr().Tbn(TeTbn::Dly)->icon().pixmap(32, 32)), PicClr(7));
  EXPECT_EQ(ImgClr(w.Tbr().Tbn(TeTbn::ComSte)->icon().pixmap(32, 32)), PicClr(19));
}

// The pictures the build installs: all 20 tool bar pictures, the intro and the background load.
}  // namespace
