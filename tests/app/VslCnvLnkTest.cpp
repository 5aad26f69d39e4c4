// The main window's robot link on a pseudo-terminal: the commands with their
// cues and frames, the effects of robot frames, the link state, faults on the
// line, the settings message and the Options dialog.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QTest>

#include <gtest/gtest.h>

#include <sys/file.h>
#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <memory>

#include "app/Options.h"
#include "app/BkgDrf.h"
#include "app/VslCnv.h"
#include "app/VslTbr.h"
#include "app/VslLnk.h"
#include "app/VslCnvLgc.h"
#include "core/Globals.h"
#include "core/PathUtl.h"
#include "editor/VioPgmItp.h"
#include "editor/qt/VioPgmViw.h"
#include "link/ComPort2p5.h"
#include "support/LnkTstPty.h"
#include "link/PckPrt.h"
#include "sound/SndCue.h"
#include "support/FakePlatform.h"
#include "translator/InsAndTkn.h"

namespace {

using B = std::vector<std::uint8_t>;
const char* const GcOptKey = "SOFTWARE\\Quorel\\TessaroV1.0\\Options";
const char* const GcPrtKey = "SOFTWARE\\Quorel\\TessaroV1.0\\Ports";

// Sound output that records each cue with the state of the window when it
// starts, and that runs a local event loop while a synchronous cue "plays",
// as the real output does.
struct TLopSnd final : ISoundOut {
  struct TCal {
    std::string Nam;  // file name without the folder
    bool Sync;
    bool RunEna;
    int Dpt;          // cues playing already when this one started
    std::string Mea;  // tbxAdcMeaVal1 then
  };
  std::vector<TCal> Calls;
  TfrmVslCnv* W = nullptr;
  int Dpt = 0;
  std::function<void()> OnSync;  // runs once, inside the first synchronous cue
  void Play(const std::string& path, bool sync) override {
    Calls.push_back({path.substr(path.rfind('/') + 1), sync, W && W->Tbr().Tbn(TeTbn::Run)->isEnabled(), Dpt,
                     W ? W->Lnk().Tbx(4).text().toStdString() : ""});
    if (!sync) return;
    ++Dpt;
    if (auto f = std::exchange(OnSync, nullptr)) f();
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
    --Dpt;
  }
  void Stop() override {}
  std::vector<std::string> Names() const {
    std::vector<std::string> r;
    for (auto& c : Calls) r.push_back(c.Nam);
    return r;
  }
};

B Frm(std::uint8_t org, std::uint8_t seq, std::uint8_t cls, std::uint8_t cod, const B& d = {}) {
  B f;
  BldPck(seq, cls, cod, d, f);
  f[1] = org;
  return f;
}

class VslCnvLnk : public ::testing::Test {
protected:
  TFakePlatform Plt;
  TLopSnd Snd;
  TTmpDir Ins;
  std::unique_ptr<TPty> Pty = std::make_unique<TPty>();
  std::unique_ptr<TfrmVslCnv> W;
  std::unique_ptr<TfrmOptions> Opt;
  std::vector<std::string> Ports;
  std::string Lnk;  // the robot's port: a link to the pseudo-terminal
  // A frame never pauses here unless the test says so.
  TVslCnvTms Tms = [] {
    TVslCnvTms t;
    t.RcvChrGap = 60000;
    return t;
  }();
  // The receive clock: bytes delivered so far, and a jump ahead of the steady clock.
  std::atomic<int> Dlv{0};
  std::atomic<std::int64_t> Jmp{0};

  void SetUp() override {
    TPlatform p = GuPlatform();
    p.Sound = &Snd;
    SetPlatform(p);
    for (const char* f : {"SysMsgFil.sys", "ExtComTkn.sys"}) {
      std::ifstream in(std::string(TESSARO_DATA_DIR) + "/" + f, std::ios::binary);
      Ins.Write(std::string("bin/") + f, std::string(std::istreambuf_iterator<char>(in), {}));
    }
    for (int c = 0; c < GcSndCueCnt; ++c) {
      const std::string pth = NativePath(SndCuePth(static_cast<TeSndCue>(c), Ins.Path(), Ins.Path() + "bin/"));
      std::filesystem::create_directories(std::filesystem::path(pth).parent_path());
      std::ofstream(pth) << "RIFF";
    }
    // The installed pictures, copied: a test may write its own over them.
    std::filesystem::copy(std::string(TESSARO_DATA_DIR) + "/pictures", Ins.Path() + "pictures");
    Lnk = Ins.Path() + "robot";
    std::filesystem::create_symlink(Pty->Pth(), Lnk);
    Plt.Settings.Keys[GcOptKey]["Comport"] = Lnk;
  }

  void TearDown() override {
    W.reset();
    frmOptions = nullptr;
    Opt.reset();
  }

  TfrmVslCnv& Mk(int rcvTmo = 1100) {
    TVslCnvCfg c;
    c.AppDir = Ins.Path() + "bin/";
    c.InsDir = Ins.Path();
    c.ScnPrt = [this] { return Ports; };
    c.Tms = Tms;
    c.Tms.RcvPckTimOut = rcvTmo;
    c.Clk = [this] {
      const auto t = std::chrono::steady_clock::now() + std::chrono::seconds(Jmp.load());
      ++Dlv;
      return t;
    };
    W = std::make_unique<TfrmVslCnv>(nullptr, c);
    Snd.W = W.get();
    Opt = std::make_unique<TfrmOptions>(nullptr, [this] { return Ports; });
    frmOptions = Opt.get();
    W->show();
    return *W;
  }

  // Shown, at the end of the intro, with the quiet period over.
  TfrmVslCnv& MkOpn(int rcvTmo = 1100) {
    TfrmVslCnv& w = Mk(rcvTmo);
    w.tmrAppItoTimer();
    EXPECT_TRUE(w.Lnk().PrtOpn());
    w.Lnk().BlkComPrtCupMsgTimer();
    Snd.Calls.clear();
    return w;
  }

  void AddPgm(TfrmVslCnv& w) {
    ASSERT_TRUE(w.FpVioPgmItp->AddVio(VT_STA)) << GuLstErrMsg;
    ASSERT_TRUE(w.FpVioPgmItp->AddVio(VT_STO)) << GuLstErrMsg;
  }

  B Tkn(TfrmVslCnv& w) {
    EXPECT_TRUE(w.FpVioPgmItp->TrnVioPgm()) << GuLstErrMsg;
    return w.FpVioPgmItp->FpInsAndTkn->FpTsmTknLst;
  }

  bool Wait(const std::function<bool()>& c) { return QTest::qWaitFor(c, 5000); }
};

TEST_F(VslCnvLnk, RobotFramesTakeTheirEffectsInByteOrder) {
  TfrmVslCnv& w = MkOpn();
  // The later frames arrive while the first one's synchronous cue plays.
  B all;
  for (const B& f : {Frm(5, 2, 3, 0x15), Frm(5, 3, 0, 0x06), Frm(5, 4, 2, 0x13, {0x30, 0}),
                     Frm(5, 5, 2, 0x12, {0x34, 0x12})})
    all.insert(all.end(), f.begin(), f.end());
  Snd.OnSync = [&] {
    ASSERT_TRUE(Pty->Wr(all));
    EXPECT_TRUE(Wait([&] { return w.Lnk().EffPnd() > 0; }));
    for (int i = 0; i < 20; ++i) QApplication::processEvents();
  };
  ASSERT_TRUE(Pty->Wr(Frm(5, 1, 3, 0x14)));
  ASSERT_TRUE(Wait([&] { return w.Lnk().Tbx(4).text() == "1234"; }));
  EXPECT_EQ(Snd.Names(), (std::vector<std::string>{"transfer complete.wav", "working.wav", "link established.wav",
                                                    "1.wav"}));
  for (auto& c : Snd.Calls) EXPECT_EQ(c.Dpt, 0) << c.Nam << " started inside another cue";
  EXPECT_TRUE(Snd.Calls[0].RunEna);
  EXPECT_FALSE(Snd.Calls[2].RunEna);
  EXPECT_EQ(w.Lnk().Tbx(5).text(), "0030");
  EXPECT_EQ(w.Lnk().Tbx(3).text(), "5");

  // A measurement of the wrong length sets only the last-error text.
  Snd.Calls.clear();
  GuLstErrMsg.clear();
  ASSERT_TRUE(Pty->Wr({0x02, 0x05, 0x00, 0x01, 0x02, 0x12, 0x77, 0x04}));
  ASSERT_TRUE(Wait([&] { return !GuLstErrMsg.empty(); }));
  EXPECT_EQ(GuLstErrMsg, GcTxtMeaCnt);
  EXPECT_EQ(w.Lnk().Tbx(4).text(), "1234");
  EXPECT_TRUE(Snd.Calls.empty());
  EXPECT_TRUE(Plt.MsgBox.Calls.empty());
}

TEST_F(VslCnvLnk, ASilenceInsideAFrameDoesNotSwallowTheNextAnswer) {
  TfrmVslCnv& w = MkOpn();
  w.Tbr().Tbn(TeTbn::Run)->setEnabled(false);
  ASSERT_TRUE(Pty->Wr({0x02, 0x05, 0x0d}));
  ASSERT_TRUE(Wait([&] { return Dlv == 3; }));
  Jmp = 3600;
  ASSERT_TRUE(Pty->Wr(Frm(5, 0x21, MC_STS, MK_TRF_CMP)));
  ASSERT_TRUE(Wait([&] { return w.Tbr().Tbn(TeTbn::Run)->isEnabled(); }));
  EXPECT_EQ(w.Lnk().Tbx(3).text(), "33");
}

TEST_F(VslCnvLnk, ABurstOfReadOutsIsMergedAndCuesKeepTheirPlace) {
  TfrmVslCnv& w = MkOpn(600000);
  // The burst comes while the first frame's synchronous cue plays: read-outs,
  // "working" with its cue, read-outs.
  auto mea = [](int i) { return Frm(5, static_cast<std::uint8_t>(i), MC_MEA, MK_MEA_1, {std::uint8_t(i), std::uint8_t(i >> 8)}); };
  Snd.OnSync = [&] {
    const int d0 = Dlv;
    int n = 0;
    auto wr = [&](const B& f) {
      ASSERT_TRUE(Pty->Wr(f));
      n += static_cast<int>(f.size());
    };
    for (int i = 0; i < 300; ++i) {
      wr(i == 150 ? Frm(5, 0, MC_STS, MK_WRK) : mea(i));
      // The receive buffer is not made to overflow.
      if (i % 50 == 49) {
        ASSERT_TRUE(Wait([&] { return Dlv - d0 == n; }));
      }
    }
    EXPECT_EQ(w.Lnk().EffPnd(), 3u);
  };
  ASSERT_TRUE(Pty->Wr(Frm(5, 1, MC_STS, MK_TRF_CMP)));
  ASSERT_TRUE(Wait([&] { return w.Lnk().Tbx(4).text() == Hex4(299).c_str(); }));
  ASSERT_EQ(Snd.Names(), (std::vector<std::string>{"transfer complete.wav", "working.wav"}));
  EXPECT_EQ(Snd.Calls[1].Mea, Hex4(149));
}

TEST_F(VslCnvLnk, HalfAFrameFromBeforeADeviceLossNeverJoinsTheNextFrame) {
  TfrmVslCnv& w = MkOpn();
  AddPgm(w);
  w.Tbr().Tbn(TeTbn::Run)->setEnabled(false);
  // The start of a robot frame, then the cable is pulled.
  ASSERT_TRUE(Pty->Wr({0x02, 0x05, 0x09}));
  ASSERT_TRUE(Wait([&] { return w.Lnk().Com().FiRxdCnt.load() == 3; }));
  Pty->ClsMst();
  ASSERT_TRUE(Wait([&] { return !Plt.MsgBox.Calls.empty() && !w.Lnk().PrtOpn(); }));
  EXPECT_EQ(GuRcvPck.PckSte, PS_LEN);  // the receive thread has ended holding it

  Pty = std::make_unique<TPty>();
  std::filesystem::remove(Lnk);
  std::filesystem::create_symlink(Pty->Pth(), Lnk);
  w.tbnUplClick();
  ASSERT_TRUE(w.Lnk().PrtOpn());
  w.Lnk().BlkComPrtCupMsgTimer();
  // "Transfer complete" on the new link is read as a frame of its own.
  ASSERT_TRUE(Pty->Wr(Frm(5, 0x21, MC_STS, MK_TRF_CMP)));
  ASSERT_TRUE(Wait([&] { return w.Lnk().Tbx(3).text() == "33"; }));
  EXPECT_TRUE(w.Tbr().Tbn(TeTbn::Run)->isEnabled());
  EXPECT_EQ(w.Tbr().ImgIdx(w.Tbr().Tbn(TeTbn::ComSte)), GcImgComOky);
}

// The colour at the corner of the field's background control each time
// pending events run.
std::vector<QRgb> GvSeen;
void RecSeen() {
  if (GuBckGndImg && !GuBckGndImg->pixmap().isNull()) GvSeen.push_back(GuBckGndImg->pixmap().toImage().pixel(0, 0));
}

TEST_F(VslCnvLnk, DirectionPicturesFlashOverTheFieldOnSendAndReceive) {
  const QRgb bck = qRgb(0, 80, 0), dns = qRgb(250, 250, 0), ups = qRgb(0, 0, 250);
  std::filesystem::create_directories(Ins.Path() + "pictures");
  for (auto [f, c] : {std::pair{"background.bmp", bck}, {"downstream.bmp", dns}, {"upstream.bmp", ups}}) {
    QImage im(32, 24, QImage::Format_RGB32);
    im.fill(c);
    ASSERT_TRUE(im.save(QString::fromStdString(Ins.Path() + "pictures/" + f), "BMP"));
  }
  TfrmVslCnv& w = MkOpn();
  AddPgm(w);
  const B tkn = Tkn(w);
  GvSeen.clear();
  Plt.EvtLoop.OnPrcMsg = RecSeen;
  auto seen = [](QRgb c) { return std::find(GvSeen.begin(), GvSeen.end(), c) != GvSeen.end(); };
  auto now = [] { return GuBckGndImg->pixmap().toImage().pixel(0, 0); };
  // A picture stays until its time is over.
  auto end = [&] {
    EXPECT_TRUE(w.BkgDrf()->FlsTmr().isActive());
    while (w.BkgDrf()->Flashing()) w.BkgDrf()->FlsEnd();
    return now();
  };

  w.tbnUplClick();
  EXPECT_EQ(Pty->Rd(tkn.size() + 7), Frm(1, 0, 1, 0, tkn));
  EXPECT_TRUE(seen(dns));
  EXPECT_FALSE(seen(ups));
  EXPECT_EQ(now(), dns);
  EXPECT_EQ(end(), bck);

  GvSeen.clear();
  ASSERT_TRUE(Pty->Wr(Frm(5, 1, MC_STS, MK_TRF_CMP)));
  ASSERT_TRUE(Wait([&] { return w.Tbr().Tbn(TeTbn::Run)->isEnabled(); }));
  EXPECT_TRUE(seen(ups));
  EXPECT_FALSE(seen(dns));
  EXPECT_EQ(end(), bck);

  // The link check flashes before it sends.
  GvSeen.clear();
  w.tbnComSteClick();
  EXPECT_EQ(Pty->Rd(7), Frm(1, 1, 0, 5));
  EXPECT_TRUE(seen(dns));
  Plt.EvtLoop.OnPrcMsg = nullptr;
  EXPECT_EQ(end(), bck);
}

TEST_F(VslCnvLnk, TheSimulatedRobotsAddressesHighlightTheUploadedVios) {
  TfrmVslCnv& w = MkOpn(600000);
  TVioPgmItp& e = *w.FpVioPgmItp;
  ASSERT_NE(w.PgmViw(), nullptr);
  TPgmViw& v = *w.PgmViw();
  QFrame* frm = w.Fld().findChild<QFrame*>("frmRunVio");
  ASSERT_NE(frm, nullptr);
  std::uint8_t seq = 1;
  // The robot's frame, once its effects have been carried out.
  auto rcv = [&](std::uint8_t cls, std::uint8_t cod, const B& d) {
    const std::uint8_t s = seq++;
    ASSERT_TRUE(Pty->Wr(Frm(5, s, cls, cod, d)));
    ASSERT_TRUE(Wait([&] { return w.Lnk().Tbx(3).text() == QString::number(s) && w.Lnk().EffPnd() == 0; }));
  };
  auto exe = [&](std::uint8_t adr) { rcv(MC_SIM, MK_SIM_EXE, {adr}); };

  ASSERT_TRUE(e.CrtSmpVio(VT_STA, 0, 0));
  ASSERT_TRUE(e.CrtDlyVio(1, 0, "12"));
  ASSERT_NE(e.PutVio(VT_STO, 2, 0), nullptr);
  TVio *sta = e.Vios()[0], *dly = e.Vios()[1], *sto = e.Vios()[2];
  // Nothing uploaded (a real robot never sends the frame): nothing to show.
  exe(0);
  EXPECT_EQ(v.RunVio(), nullptr);

  const B tkn = Tkn(w);
  ASSERT_EQ(tkn.size(), 4u);
  w.Tbr().Tbn(TeTbn::Upl)->trigger();
  ASSERT_EQ(Pty->Rd(tkn.size() + 7), Frm(1, 0, 1, 0, tkn));
  exe(2);
  EXPECT_EQ(v.RunVio(), dly);
  EXPECT_TRUE(frm->isVisible());
  EXPECT_TRUE(frm->geometry().contains(QRect(dly->Left(), dly->Top(), dly->Width(), dly->Height())));
  exe(3);
  EXPECT_EQ(v.RunVio(), sto);

  // Edits after the upload: the robot still runs what it got. The Delay goes
  // and the Stop takes its cell, so the field would now put the Stop at 1.
  e.RmvVio(dly);
  e.PutVioOnCel(sto, 1, 0);
  exe(1);
  EXPECT_EQ(v.RunVio(), nullptr);
  exe(3);
  EXPECT_EQ(v.RunVio(), sto);
  EXPECT_TRUE(frm->geometry().contains(QRect(sto->Left(), sto->Top(), sto->Width(), sto->Height())));

  // "Program complete" ends it.
  rcv(MC_STS, MK_PGM_CMP, {});
  EXPECT_EQ(v.RunVio(), nullptr);
  EXPECT_FALSE(frm->isVisible());

  // A new upload ends it and brings the new stream's addresses.
  exe(0);
  EXPECT_EQ(v.RunVio(), sta);
  w.Tbr().Tbn(TeTbn::Upl)->trigger();
  EXPECT_EQ(v.RunVio(), nullptr);
  ASSERT_EQ(Pty->Rd(2 + 7), Frm(1, 1, 1, 0, {0xA0, 0xA1}));
  exe(1);
  EXPECT_EQ(v.RunVio(), sto);

  // The time-out of the link ends it.
  w.Lnk().RcvPckTimOutTimer();
  EXPECT_EQ(v.RunVio(), nullptr);

  // So does a device that goes.
  exe(1);
  ASSERT_EQ(v.RunVio(), sto);
  Pty->ClsMst();
  ASSERT_TRUE(Wait([&] { return !w.Lnk().PrtOpn(); }));
  EXPECT_EQ(v.RunVio(), nullptr);
  EXPECT_FALSE(frm->isVisible());
}

}  // namespace
