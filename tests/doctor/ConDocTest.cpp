#include "doctor/ConDoc.h"

#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>

#include "support/FakePlatform.h"
#include "DocTstSup.h"
#include "link/PckPrt.h"
#include "messages/SysLgeMsg.h"

namespace fs = std::filesystem;

namespace {

// The system with its own trees, user and clock.
class TFakeSys : public TFakClk<TDocSysLnx> {
public:
  explicit TFakeSys(const std::string& root)
      : TFakClk(root + "sys", root + "proc", root + "dev", root + "group") {
    FNow = 1000;
  }
  uid_t Uid() override { return FUid; }
  gid_t Gid() override { return FGid; }
  std::vector<gid_t> Groups() override { return FGrp; }
  std::string UserName() override { return "alice"; }
  TFilInf Stat(const std::string& path) override {
    TFilInf inf = TDocSysLnx::Stat(path);
    if (inf.Exs && FbOwnMod) {
      inf.Uid = 0;
      inf.Gid = FDevGid;
      inf.Mod = FDevMod;
    }
    return inf;
  }
  uid_t FUid = 0;
  gid_t FGid = 0;
  std::vector<gid_t> FGrp;
  bool FbOwnMod = false;  // the device belongs to root:FDevGid with FDevMod
  gid_t FDevGid = 20;
  mode_t FDevMod = 0660;
};

// Message texts: the identifier and the arguments, so that the tests see
// which message a step chose.
std::string IdTxt(std::uint8_t id) { return "#" + std::to_string(id) + " %1|%2|%3"; }

void MkDir(const std::string& p) { fs::create_directories(p); }
void MkLnk(const std::string& tgt, const std::string& lnk) {
  fs::create_directories(fs::path(lnk).parent_path());
  fs::create_symlink(tgt, lnk);
}

class ConDoc : public ::testing::Test {
protected:
  ConDoc() : Sys(Tmp.Path()) {
    MkDir(Tmp.Path() + "sys/class/tty");
    MkDir(Tmp.Path() + "proc");
    MkDir(Tmp.Path() + "dev");
    Tmp.Write("group", "root:x:0:\ndialout:x:20:\nalice:x:1000:\n");
  }
  std::vector<TDocRes> Run(const std::string& prt) {
    TDocCfg cfg;
    cfg.PrtNam = prt;
    return RunConDoc(Sys, cfg, IdTxt);
  }
  static std::string Id(std::uint8_t id) { return "#" + std::to_string(id) + " "; }
  static void ExpStp(const TDocRes& r, TeDocStp stp, TeDocSte ste, std::uint8_t id) {
    EXPECT_EQ(r.Stp, stp);
    EXPECT_EQ(r.Ste, ste) << r.Fnd;
    EXPECT_EQ(r.Fnd.rfind(Id(id), 0), 0u) << r.Fnd;
  }
  TTmpDir Tmp;
  TFakeSys Sys;
};

}  // namespace

TEST_F(ConDoc, ListsSerialDevicesWithTheirUsbDataAndLinks) {
  const std::string r = Tmp.Path();
  // A USB adapter: the tty's device is the port below the interface below the USB device.
  const std::string usb = r + "sys/devices/pci0/usb1/1-2";
  MkDir(usb + "/1-2:1.0/ttyUSB0");
  Tmp.Write("sys/devices/pci0/usb1/1-2/idVendor", "0403\n");
  Tmp.Write("sys/devices/pci0/usb1/1-2/idProduct", "6001\n");
  Tmp.Write("sys/devices/pci0/usb1/1-2/manufacturer", "FTDI\n");
  Tmp.Write("sys/devices/pci0/usb1/1-2/product", "FT232R USB UART\n");
  Tmp.Write("sys/devices/pci0/usb1/1-2/serial", "A600xyz\n");
  MkLnk(usb + "/1-2:1.0/ttyUSB0", r + "sys/class/tty/ttyUSB0/device");
  // A built-in port with a UART, one without, and a virtual terminal.
  MkDir(r + "sys/devices/platform/serial8250/tty/ttyS0");
  MkLnk(r + "sys/devices/platform/serial8250", r + "sys/class/tty/ttyS0/device");
  Tmp.Write("sys/class/tty/ttyS0/type", "4\n");
  MkLnk(r + "sys/devices/platform/serial8250", r + "sys/class/tty/ttyS1/device");
  Tmp.Write("sys/class/tty/ttyS1/type", "0\n");
  MkDir(r + "sys/class/tty/tty0");
  Tmp.Write("dev/ttyUSB0", "");
  Tmp.Write("dev/ttyS0", "");
  MkLnk("ttyUSB0", r + "dev/zefor");
  MkLnk("../../ttyUSB0", r + "dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A600xyz-if00-port0");

  const std::vector<TSerDev> devs = Sys.SerDevs();
  ASSERT_EQ(devs.size(), 2u);
  EXPECT_EQ(devs[0].Dev, r + "dev/ttyS0");
  EXPECT_TRUE(devs[0].Vid.empty());
  EXPECT_TRUE(devs[0].Lnk.empty());
  EXPECT_EQ(devs[1].Dev, r + "dev/ttyUSB0");
  EXPECT_EQ(devs[1].Vid, "0403");
  EXPECT_EQ(devs[1].Pid, "6001");
  EXPECT_EQ(devs[1].Ser, "A600xyz");
  ASSERT_EQ(devs[1].Lnk.size(), 2u);
  EXPECT_EQ(devs[1].Lnk[0], r + "dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A600xyz-if00-port0");
  EXPECT_EQ(devs[1].Lnk[1], r + "dev/zefor");
  const TDocTxt txt = [](std::uint8_t id) { return id == DM_WRD_SER ? std::string("serial number") : std::string(); };
  EXPECT_EQ(DocDevTxt(devs[1], txt), r + "dev/ttyUSB0 (USB 0403:6001, FTDI, FT232R USB UART, serial number A600xyz; " +
                                         devs[1].Lnk[0] + "; " + r + "dev/zefor)");
  EXPECT_EQ(DocDevTxt(devs[0], txt), r + "dev/ttyS0");
}

TEST_F(ConDoc, MissingPortOrNoneChosen) {
  auto res = Run(Tmp.Path() + "dev/ttyUSB7");
  ASSERT_EQ(res.size(), 5u);
  ExpStp(res[0], TeDocStp::Dev, TeDocSte::Fail, DM_DEV_NON);
  EXPECT_EQ(res[0].Do, Id(DM_DEV_NON_DO) + "%1|%2|%3");
  ExpStp(res[1], TeDocStp::Prt, TeDocSte::Fail, DM_PRT_MIS);
  EXPECT_NE(res[1].Fnd.find("ttyUSB7"), std::string::npos);
  EXPECT_FALSE(res[1].Do.empty());
  for (int i = 2; i < 5; ++i) ExpStp(res[i], static_cast<TeDocStp>(i), TeDocSte::Skip, DM_STP_SKP);

  res = Run("");
  ASSERT_EQ(res.size(), 5u);
  ExpStp(res[1], TeDocStp::Prt, TeDocSte::Fail, DM_PRT_NON);
  // A regular file is no port either.
  res = Run(Tmp.Write("dev/notaport", "x"));
  ExpStp(res[1], TeDocStp::Prt, TeDocSte::Fail, DM_PRT_MIS);
}

TEST_F(ConDoc, RobotAnswersOnAPseudoTerminal) {
  TPty pty;
  TDocRob rob(pty);
  const auto res = Run(pty.Pth());
  ASSERT_EQ(res.size(), 5u);
  ExpStp(res[0], TeDocStp::Dev, TeDocSte::Ok, DM_DEV_NON);  // no device of the computer, but a port
  EXPECT_TRUE(res[0].Do.empty());
  ExpStp(res[1], TeDocStp::Prt, TeDocSte::Ok, DM_PRT_OKY);
  ExpStp(res[2], TeDocStp::Prm, TeDocSte::Ok, DM_PRM_OKY);
  ExpStp(res[3], TeDocStp::Hld, TeDocSte::Ok, DM_HLD_NON);
  ExpStp(res[4], TeDocStp::Rob, TeDocSte::Ok, DM_ROB_OKY);
  for (const auto& r : res) EXPECT_TRUE(r.Do.empty()) << r.Fnd;
}

TEST_F(ConDoc, SilentDeviceGivesUpAfterTheTimeLimit) {
  TPty pty;
  Sys.FbFakClk = true;
  const auto res = Run(pty.Pth());
  ASSERT_EQ(res.size(), 5u);
  ExpStp(res[4], TeDocStp::Rob, TeDocSte::Fail, DM_ROB_SIL);
  EXPECT_EQ(res[4].Fnd, Id(DM_ROB_SIL) + pty.Pth() + "|2|%3");
  EXPECT_EQ(res[4].Do.rfind(Id(DM_ROB_SIL_DO), 0), 0u);
  EXPECT_EQ(Sys.FNow, 1000 + 2000);
  // The link check went out on the line.
  const std::vector<std::uint8_t> frm = {GcPckSta, GcPckOrgOwn, 0x00, 0x00, MC_CTL, MK_LNK_CHK, GcPckEnd};
  EXPECT_EQ(pty.Rd(7, std::chrono::seconds(1)), frm);
}

TEST_F(ConDoc, PortHeldByAnotherProgram) {
  TPty pty;
  const std::string real = Sys.RealPath(pty.Pth());
  Tmp.Write("proc/4242/comm", "minicom\n");
  MkLnk(real, Tmp.Path() + "proc/4242/fd/3");
  Tmp.Write("proc/77/comm", "bash\n");
  MkLnk("/dev/null", Tmp.Path() + "proc/77/fd/0");
  auto res = Run(pty.Pth());
  ASSERT_EQ(res.size(), 5u);
  ExpStp(res[3], TeDocStp::Hld, TeDocSte::Fail, DM_HLD_OTH);
  EXPECT_EQ(res[3].Fnd, Id(DM_HLD_OTH) + pty.Pth() + "|minicom (#86 %1|%2|%3 4242)|%3");
  EXPECT_EQ(res[3].Do.rfind(Id(DM_HLD_OTH_DO), 0), 0u);
  ExpStp(res[4], TeDocStp::Rob, TeDocSte::Skip, DM_STP_SKP);
}

TEST_F(ConDoc, PortLockedByAProgramTheSystemDoesNotName) {
  TPty pty;
  const int fd = ::open(pty.Pth().c_str(), O_RDWR | O_NOCTTY);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
  auto res = Run(pty.Pth());
  ::close(fd);
  ASSERT_EQ(res.size(), 5u);
  ExpStp(res[3], TeDocStp::Hld, TeDocSte::Fail, DM_HLD_UNK);
  ExpStp(res[4], TeDocStp::Rob, TeDocSte::Skip, DM_STP_SKP);
}

TEST_F(ConDoc, ThisProgramHoldingThePortIsNoOtherProgram) {
  TPty pty;
  MkLnk(Sys.RealPath(pty.Pth()), Tmp.Path() + "proc/" + std::to_string(::getpid()) + "/fd/5");
  Tmp.Write("proc/" + std::to_string(::getpid()) + "/comm", "tessaro\n");
  auto res = Run(pty.Pth());
  ASSERT_EQ(res.size(), 5u);
  ExpStp(res[3], TeDocStp::Hld, TeDocSte::Ok, DM_HLD_OWN);
  ExpStp(res[4], TeDocStp::Rob, TeDocSte::Skip, DM_ROB_OWN);
}

TEST_F(ConDoc, PermissionThroughTheDevicesGroup) {
  TPty pty;
  Sys.FbOwnMod = true;  // root:dialout 0660
  Sys.FbFakClk = true;
  Sys.FUid = 1000;
  Sys.FGid = 1000;
  Sys.FGrp = {1000};
  auto res = Run(pty.Pth());
  ASSERT_EQ(res.size(), 5u);
  ExpStp(res[2], TeDocStp::Prm, TeDocSte::Fail, DM_PRM_GRP);
  EXPECT_EQ(res[2].Do, Id(DM_PRM_GRP_DO) + pty.Pth() + "|dialout|alice");
  // Such a user cannot see who holds the device: that is not "nobody".
  ExpStp(res[3], TeDocStp::Hld, TeDocSte::Skip, DM_STP_SKP);
  ExpStp(res[4], TeDocStp::Rob, TeDocSte::Skip, DM_STP_SKP);
  // A holder that can be seen is still named.
  Tmp.Write("proc/4242/comm", "minicom\n");
  MkLnk(Sys.RealPath(pty.Pth()), Tmp.Path() + "proc/4242/fd/3");
  res = Run(pty.Pth());
  ExpStp(res[3], TeDocStp::Hld, TeDocSte::Fail, DM_HLD_OTH);
  fs::remove_all(Tmp.Path() + "proc/4242");

  // Joined in the group database, but this login started before.
  Tmp.Write("group", "root:x:0:\ndialout:x:20:bob,alice\n");
  res = Run(pty.Pth());
  ExpStp(res[2], TeDocStp::Prm, TeDocSte::Fail, DM_PRM_LGN);
  EXPECT_EQ(res[2].Do.rfind(Id(DM_PRM_LGN_DO), 0), 0u);

  // After a new login the group is the process's.
  Sys.FGrp = {1000, 20};
  res = Run(pty.Pth());
  ExpStp(res[2], TeDocStp::Prm, TeDocSte::Ok, DM_PRM_OKY);
  // The group has no write right: membership does not help, everyone else
  // may. The advice is about the device's rights, not about the group.
  Sys.FDevMod = 0606;
  res = Run(pty.Pth());
  ExpStp(res[2], TeDocStp::Prm, TeDocSte::Fail, DM_PRM_MOD);
  EXPECT_EQ(res[2].Do, Id(DM_PRM_MOD_DO) + pty.Pth() + "|dialout|alice");
  Sys.FGrp = {1000};
  res = Run(pty.Pth());
  ExpStp(res[2], TeDocStp::Prm, TeDocSte::Ok, DM_PRM_OKY);
  // Only the owner may (0600): joining the group would not help either.
  Sys.FDevMod = 0600;
  res = Run(pty.Pth());
  ExpStp(res[2], TeDocStp::Prm, TeDocSte::Fail, DM_PRM_MOD);
  Tmp.Write("group", "root:x:0:\ndialout:x:20:bob\n");
  res = Run(pty.Pth());
  ExpStp(res[2], TeDocStp::Prm, TeDocSte::Fail, DM_PRM_MOD);
}

TEST(ConDocTxt, MessagesInTheThreeLanguages) {
  TSysLgeMsg msg(nullptr, std::string(TESSARO_DATA_DIR) + "/");
  TSysLgeMsg* prv = GuSysLgeMsg;
  GuSysLgeMsg = &msg;
  EXPECT_EQ(DocFmt(SysDocTxt(0)(DM_ROB_SIL), {"/dev/zefor", "2"}),
            "No robot answered the link check on /dev/zefor within 2 seconds.");
  EXPECT_EQ(DocFmt(SysDocTxt(1)(DM_HLD_OTH), {"/dev/zefor", "minicom (proces 12)"}),
            "/dev/zefor wordt bezet gehouden door een ander programma: minicom (proces 12).");
  EXPECT_EQ(DocStpTtl(TeDocStp::Prm, SysDocTxt(2)), "Berechtigung");
  EXPECT_EQ(DocFmt(SysDocTxt(2)(DM_PRM_MOD), {"/dev/ttyUSB0", "dialout"}),
            "/dev/ttyUSB0 darf nur sein Besitzer oeffnen: die Gruppe dialout darf es nicht lesen und schreiben.");
  // Every step of a run reads as a sentence: no placeholder is left.
  TTmpDir tmp;
  TFakeSys sys(tmp.Path());
  for (std::uint8_t lge = 0; lge < 3; ++lge)
    for (const auto& r : RunConDoc(sys, TDocCfg{"/nonexistent/tty", 2000}, SysDocTxt(lge))) {
      EXPECT_EQ(r.Fnd.find('%'), std::string::npos) << r.Fnd;
      EXPECT_EQ(r.Fnd.find("[0x"), std::string::npos) << r.Fnd;
      EXPECT_EQ(r.Do.find('%'), std::string::npos) << r.Do;
    }
  GuSysLgeMsg = prv;
  // Without the table a step still names its message.
  EXPECT_EQ(DocStpTtl(TeDocStp::Rob, SysDocTxt(0)), "[0x5D]");
  EXPECT_EQ(DocFmt("%1 and %2, %3%", {"a", "b"}), "a and b, %3%");
}
