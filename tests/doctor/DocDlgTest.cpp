// Options -> "Check connection" on the offscreen platform.
#include "app/DocDlg.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <condition_variable>
#include <filesystem>
#include <mutex>

#include "LnkTstPty.h"
#include "app/Options.h"
#include "core/WndMsg.h"
#include "link/PrtNam.h"
#include "messages/SysLgeMsg.h"
#include "support/FakePlatform.h"

namespace {

// A system whose line is silent and whose reads wait until the test opens the
// gate, with a clock that each read moves on by its whole wait. procRoot
// empty: the real /proc, where this process holds the pseudo-terminal.
class TGatSys : public TDocSysLnx {
public:
  struct TGat {
    std::mutex Mtx;
    std::condition_variable Cv;
    bool Opn = false;
    void Open() {
      std::lock_guard<std::mutex> l(Mtx);
      Opn = true;
      Cv.notify_all();
    }
  };
  TGatSys(std::shared_ptr<TGat> gat, const std::string& prc)
      : TDocSysLnx("/sys", prc.empty() ? "/proc" : prc), FGat(std::move(gat)) {}
  std::int64_t NowMs() override { return FNow; }
  bool RdSome(int, int ms, std::vector<std::uint8_t>&) override {
    std::unique_lock<std::mutex> l(FGat->Mtx);
    FGat->Cv.wait(l, [this] { return FGat->Opn; });
    FNow += ms;
    return true;
  }

private:
  std::shared_ptr<TGat> FGat;
  std::int64_t FNow = 0;
};

class DocDlg : public ::testing::Test {
protected:
  DocDlg() : Gat(std::make_shared<TGatSys::TGat>()) {
    std::filesystem::create_directories(Tmp.Path() + "proc");
    Prv = GuSysLgeMsg;
    GuSysLgeMsg = &Msg;
    Opt.FDocMak = [this] { return std::make_unique<TGatSys>(Gat, PrcRoot); };
  }
  ~DocDlg() override {
    Gat->Open();
    if (Opt.FpDocDlg && Opt.FpDocDlg->Running()) Wait();
    GuSysLgeMsg = Prv;
  }
  void Wait() { ASSERT_TRUE(QTest::qWaitFor([this] { return !Opt.FpDocDlg->Running(); }, 10000)); }
  std::string Txt(std::uint8_t id, std::uint8_t lge, std::vector<std::string> arg = {}) {
    return DocFmt(Msg.GetSysMsg(id, lge), arg);
  }
  std::string Rpt() { return Opt.FpDocDlg->memRpt->toPlainText().toStdString(); }
  // The port and the language that the main window hands over.
  void Ctx(const std::string& prt, std::uint8_t lge) {
    Opt.FDocCtx = [prt, lge](std::string& p, std::uint8_t& l) {
      p = prt;
      l = lge;
    };
  }
  TFakePlatform Plt;
  TTmpDir Tmp;
  std::string PrcRoot = Tmp.Path() + "proc";
  std::shared_ptr<TGatSys::TGat> Gat;
  TSysLgeMsg Msg{nullptr, std::string(TESSARO_DATA_DIR) + "/"};
  TSysLgeMsg* Prv = nullptr;
  TfrmOptions Opt{nullptr, [] { return std::vector<std::string>{}; }};
};

// The main window as the dialog sees it: the port messages it was sent.
struct TMaiWnd : IWndMsgTgt {
  std::vector<std::intptr_t> Prt;
  std::intptr_t SndMsg(std::uint32_t msg, std::uintptr_t w, std::intptr_t l) override {
    if (msg == WM_SET_MSG && w == SM_NEW_COM_PRT) Prt.push_back(l);
    return 1;
  }
};

// The ports COM13 to COM19 that are present: the mapped ones of the test, not
// the serial ports this computer happens to have.
std::vector<std::string> MapScn() {
  std::vector<std::string> v = ScnComPrt();
  v.erase(std::remove_if(v.begin(), v.end(), [](const std::string& n) { return PrtNum(n) < 13; }), v.end());
  return v;
}

TEST(OptPrt, LinkToADeviceOutsideThePortsIsListedChosenAndKept) {
  TFakePlatform plt;
  TTmpDir tmp;
  TPty a, b;
  auto& map = plt.Settings.Keys[GcPrtMapKey];
  map["COM13"] = a.Pth();
  TMaiWnd mai;
  TfrmOptions opt(nullptr, MapScn);
  opt.FpMaiFrm = &mai;
  opt.FsZfrLnk = tmp.Path() + "zefor";
  std::filesystem::create_symlink(b.Pth(), opt.FsZfrLnk);
  const std::string real = std::filesystem::canonical(b.Pth()).string();
  const QString zfrTxt = QString::fromStdString("COM14 (" + opt.FsZfrLnk + ", " + real + ")");
  opt.SetComPrtIdx(0);
  opt.show();
  ASSERT_EQ(opt.cbxComportSelector->count(), 2);
  EXPECT_EQ(opt.cbxComportSelector->itemText(0).toStdString(), "COM13 (" + a.Pth() + ")");
  EXPECT_EQ(opt.cbxComportSelector->itemText(1), zfrTxt);
  EXPECT_EQ(opt.cbxComportSelector->currentIndex(), 0);
  EXPECT_EQ(map.count("COM14"), 0u);  // listing maps nothing

  opt.cbxComportSelector->setCurrentIndex(1);
  opt.cbxComportSelectorChange();
  EXPECT_EQ(map["COM14"], opt.FsZfrLnk);
  EXPECT_EQ(mai.Prt, (std::vector<std::intptr_t>{14}));
  EXPECT_EQ(opt.lblComPrtSte->text(), "COM14 is open");

  // Shown again: the port is a mapped one now, in the same words, and selected.
  opt.hide();
  opt.show();
  ASSERT_EQ(opt.cbxComportSelector->count(), 2);
  EXPECT_EQ(opt.cbxComportSelector->itemText(1), zfrTxt);
  EXPECT_EQ(opt.cbxComportSelector->currentIndex(), 1);
  EXPECT_EQ(opt.FiZfrNum, 0);

  // A port mapped before COM14 moves the entry; the choice stays on COM14.
  map["COM13"] = tmp.Path() + "unplugged";
  opt.hide();
  opt.show();
  ASSERT_EQ(opt.cbxComportSelector->count(), 1);
  EXPECT_EQ(opt.cbxComportSelector->currentIndex(), 0);
  EXPECT_EQ(opt.cbxComportSelector->itemText(0), zfrTxt);
}

TEST(OptPrt, LinkThatCannotBeKeptIsNotChosen) {
  TFakePlatform plt;
  TTmpDir tmp;
  TPty b;
  plt.Settings.FailWrite = true;
  TMaiWnd mai;
  TfrmOptions opt(nullptr, MapScn);
  opt.FpMaiFrm = &mai;
  opt.FsZfrLnk = tmp.Path() + "zefor";
  std::filesystem::create_symlink(b.Pth(), opt.FsZfrLnk);
  opt.show();
  ASSERT_EQ(opt.cbxComportSelector->count(), 1);
  opt.cbxComportSelector->setCurrentIndex(0);
  opt.cbxComportSelectorChange();
  EXPECT_TRUE(mai.Prt.empty());
  EXPECT_EQ(opt.lblComPrtSte->text(), "COM13 could not be kept");
  EXPECT_EQ(opt.FiSelNum, 0);
}

}  // namespace

TEST_F(DocDlg, ChecksTheMainWindowsPortInItsLanguage) {
  const std::string gone = Tmp.Path() + "gone";
  Ctx(gone, 1);
  Opt.btnChk->click();
  ASSERT_NE(Opt.FpDocDlg, nullptr);
  EXPECT_TRUE(Opt.FpDocDlg->isVisible());
  Wait();
  EXPECT_EQ(Opt.FpDocDlg->windowTitle().toStdString(), Txt(DM_TTL_DOC, 1));
  EXPECT_NE(Rpt().find("[FAIL] " + Txt(DM_TTL_PRT, 1) + "\n       " + Txt(DM_PRT_MIS, 1, {gone})),
            std::string::npos) << Rpt();
  EXPECT_NE(Rpt().find(Txt(DM_WRD_DO, 1) + " " + Txt(DM_PRT_MIS_DO, 1)), std::string::npos);
  // COM0 is no port yet; a second click reuses the window.
  TfrmConDoc* dlg = Opt.FpDocDlg;
  Ctx("COM0", 0);
  Opt.btnChk->click();
  EXPECT_EQ(Opt.FpDocDlg, dlg);
  Wait();
  EXPECT_NE(Rpt().find(Txt(DM_PRT_NON, 0)), std::string::npos) << Rpt();
}

TEST_F(DocDlg, WindowAnswersWhileTheRobotHasItsTime) {
  TPty pty;
  Ctx(pty.Pth(), 0);
  Opt.btnChk->click();  // returns while the check waits for the line
  ASSERT_TRUE(Opt.FpDocDlg->Running());
  EXPECT_FALSE(Opt.FpDocDlg->btnAgn->isEnabled());
  QTest::qWait(100);  // events run meanwhile; the check still waits
  EXPECT_TRUE(Opt.FpDocDlg->Running());
  EXPECT_EQ(Opt.FpDocDlg->Report(), "");
  Opt.FpDocDlg->Run(pty.Pth(), 2);  // a second start while one runs is ignored
  Gat->Open();
  Wait();
  EXPECT_TRUE(Opt.FpDocDlg->btnAgn->isEnabled());
  EXPECT_NE(Rpt().find("[FAIL] " + Txt(DM_TTL_ROB, 0) + "\n       " + Txt(DM_ROB_SIL, 0, {pty.Pth(), "2"})),
            std::string::npos) << Rpt();
  // Check again runs once more, with the same port.
  Opt.FpDocDlg->btnAgn->click();
  EXPECT_TRUE(Opt.FpDocDlg->Running());
  Wait();
  EXPECT_NE(Rpt().find(Txt(DM_ROB_SIL, 0, {pty.Pth(), "2"})), std::string::npos);
}

TEST_F(DocDlg, PortThatTessaroHoldsIsSaidPlainly) {
  TPty pty;  // this process holds the line, as the main window does
  PrcRoot.clear();
  Gat->Open();
  Ctx(pty.Pth(), 0);
  Opt.btnChk->click();
  Wait();
  const std::string real = std::filesystem::canonical(pty.Pth()).string();
  EXPECT_NE(Rpt().find(Txt(DM_HLD_OWN, 0, {pty.Pth()})), std::string::npos) << Rpt();
  EXPECT_NE(Rpt().find("[ -- ] " + Txt(DM_TTL_ROB, 0) + "\n       " + Txt(DM_ROB_OWN, 0, {pty.Pth()})),
            std::string::npos) << Rpt();
  EXPECT_EQ(Rpt().find("[FAIL]"), std::string::npos) << real;
}

TEST(OptPrt, PortThatTheRobotsLinkLeadsToShowsTheLink) {
  TFakePlatform plt;
  TTmpDir tmp;
  TPty a, b;
  auto& map = plt.Settings.Keys[GcPrtMapKey];
  map["COM13"] = a.Pth();
  map["COM14"] = b.Pth();
  TfrmOptions opt(nullptr, [] { return std::vector<std::string>{"COM13", "COM14"}; });
  opt.FsZfrLnk = tmp.Path() + "zefor";
  std::vector<TComPrtEnt> lst;
  opt.ScnComPrt(lst);  // no link yet
  ASSERT_EQ(lst.size(), 2u);
  EXPECT_EQ(lst[0].Txt, "COM13 (" + a.Pth() + ")");
  std::filesystem::create_symlink(b.Pth(), opt.FsZfrLnk);
  opt.ScnComPrt(lst);
  ASSERT_EQ(lst.size(), 2u);
  EXPECT_EQ(lst[0].Txt, "COM13 (" + a.Pth() + ")");
  EXPECT_EQ(lst[1].Txt, "COM14 (" + b.Pth() + ", " + opt.FsZfrLnk + ")");
  EXPECT_EQ(lst[1].Num, 14);
}
