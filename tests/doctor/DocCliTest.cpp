#include "DocCli.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "DocTstSup.h"
#include "doctor/ConDoc.h"
#include "link/PckPrt.h"
#include "messages/SysLgeMsg.h"
#include "support/FakePlatform.h"

namespace {

const std::string GcMsgDir = std::string(TESSARO_DATA_DIR) + "/";

// The real devices and groups, no other process in /proc (the test holds its
// own pseudo-terminal open) and, unless the test says otherwise, the fake clock.
class TTstSys : public TFakClk<TDocSysLnx> {
public:
  explicit TTstSys(const std::string& prc) : TFakClk("/sys", prc) { FbFakClk = true; }
};

class DocCli : public ::testing::Test {
protected:
  DocCli() : Sys(Tmp.Path() + "proc") {
    std::filesystem::create_directories(Tmp.Path() + "proc");
    Msg.LodSysMsgFil(GcMsgDir + "SysMsgFil.sys");
  }
  int Run(std::vector<std::string> args, const std::string& msgDir = GcMsgDir) {
    args.insert(args.begin(), "tessaro-doctor");
    Out.str("");
    Err.str("");
    return DocMai(args, Sys, msgDir, Out, Err);
  }
  void Sto(const std::string& prt, const std::string& lge) {
    auto& k = Plt.Settings.Keys["SOFTWARE\\Quorel\\TessaroV1.0\\Options"];
    k["Comport"] = prt;
    k["Language"] = lge;
  }
  std::string Txt(std::uint8_t id, std::uint8_t lge, std::vector<std::string> arg = {}) {
    return DocFmt(Msg.GetSysMsg(id, lge), arg);
  }
  TFakePlatform Plt;
  TTmpDir Tmp;
  TTstSys Sys;
  TSysLgeMsg Msg{nullptr, GcMsgDir};
  std::ostringstream Out, Err;
};

}  // namespace

TEST_F(DocCli, WrongCommandLinesAreUsageErrors) {
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"--bogus"}, {"--port"}, {"--port", ""}, {"--language", "3"}, {"--language", "x"}, {"COM5"}}) {
    EXPECT_EQ(Run(args), GcDocUsg) << args[0];
    EXPECT_NE(Err.str().find("usage: tessaro-doctor"), std::string::npos) << args[0];
    EXPECT_TRUE(Out.str().empty()) << args[0];
  }
  EXPECT_EQ(Run({"--help"}), GcDocAllOky);
  EXPECT_NE(Out.str().find("usage: tessaro-doctor"), std::string::npos);
}

TEST_F(DocCli, PortAndLanguageComeFromTheSettingsUnlessGiven) {
  const std::string gone = Tmp.Path() + "gone";
  Sto(gone, "2");
  EXPECT_EQ(Run({}), GcDocFnd);
  EXPECT_EQ(Out.str().rfind(Txt(DM_TTL_DOC, 2) + "\n", 0), 0u) << Out.str();
  EXPECT_NE(Out.str().find("[FAIL] " + Txt(DM_TTL_PRT, 2) + "\n       " + Txt(DM_PRT_MIS, 2, {gone})),
            std::string::npos) << Out.str();
  EXPECT_NE(Out.str().find(Txt(DM_WRD_DO, 2) + " " + Txt(DM_PRT_MIS_DO, 2)), std::string::npos);
  EXPECT_NE(Out.str().find("[ -- ] " + Txt(DM_TTL_ROB, 2)), std::string::npos);
  // The options win over the store.
  EXPECT_EQ(Run({"--port", gone + "2", "--language", "0"}), GcDocFnd);
  EXPECT_NE(Out.str().find(Txt(DM_PRT_MIS, 0, {gone + "2"})), std::string::npos) << Out.str();
  // COM0 is what the main window keeps before a port is chosen.
  Sto("COM0", "1");
  EXPECT_EQ(Run({}), GcDocFnd);
  EXPECT_NE(Out.str().find(Txt(DM_PRT_NON, 1)), std::string::npos) << Out.str();
  // Without a store: no port, English.
  Plt.Settings.FailCreate = true;
  EXPECT_EQ(Run({}), GcDocFnd);
  EXPECT_NE(Out.str().find(Txt(DM_PRT_NON, 0)), std::string::npos) << Out.str();
}

TEST_F(DocCli, SilentDeviceFailsAndAnsweringRobotPasses) {
  TPty pty;
  EXPECT_EQ(Run({"--port", pty.Pth()}), GcDocFnd);
  EXPECT_EQ(Sys.FNow, 2000);  // the whole time limit, no more
  EXPECT_NE(Out.str().find("[FAIL] " + Txt(DM_TTL_ROB, 0) + "\n       " + Txt(DM_ROB_SIL, 0, {pty.Pth(), "2"})),
            std::string::npos) << Out.str();
  pty.Rd(7, std::chrono::milliseconds(100));  // the unanswered check

  Sys.FbFakClk = false;
  TDocRob rob(pty);
  EXPECT_EQ(Run({"--port", pty.Pth()}), GcDocAllOky) << Out.str();
  EXPECT_EQ(Out.str().find("[FAIL]"), std::string::npos);
  EXPECT_EQ(Out.str().find(Txt(DM_WRD_DO, 0)), std::string::npos);
  EXPECT_NE(Out.str().find("[ ok ] " + Txt(DM_TTL_ROB, 0) + "\n       " + Txt(DM_ROB_OKY, 0, {pty.Pth()})),
            std::string::npos) << Out.str();
}

TEST_F(DocCli, MissingMessageTableIsAFailureNotACheck) {
  EXPECT_EQ(Run({"--port", "/dev/null"}, Tmp.Path()), GcDocFnd);
  EXPECT_NE(Err.str().find(Tmp.Path() + "SysMsgFil.sys"), std::string::npos) << Err.str();
  EXPECT_TRUE(Out.str().empty());
}
