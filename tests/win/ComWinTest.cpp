// The Win32 serial component and the port names without a far end: ports
// that are not there, callbacks that are missing, names and their devices.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Globals.h"
#include "link/ComPort2p5.h"
#include "link/PrtNam.h"
#include "support/FakePlatform.h"

namespace {

// A component with every callback assigned, recording its error events.
struct TCom {
  TComport2p5 C{nullptr};
  std::vector<std::pair<int, std::string>> Err;
  TCom() {
    C.FOnComPrtComEvt = [](TComport2p5*, std::uint8_t, std::uint32_t, std::uint8_t) {};
    C.FOnComPrtCtlEvt = [](TComport2p5*, std::uint32_t) {};
    C.FOnComPrtErrEvt = [this](TComport2p5*, std::int8_t c, const std::string& t) { Err.emplace_back(c, t); };
    C.FOnPutTxdChr = [](std::uint8_t) { return true; };
  }
};

TEST(ComWin, APortThatIsNotThereIsNoPortAndSendingTellsSo) {
  TFakePlatform fp;
  // COM18 is mapped by nobody; LPT1 and the empty name are no port names.
  for (const char* nam : {"COM18", "LPT1", ""}) {
    TCom t;
    ASSERT_TRUE(t.C.IsCrt());
    t.C.FsPrtNam = nam;
    EXPECT_EQ(t.C.OpnPrt(), TeOpnPrt::NoPrt) << nam;
    EXPECT_FALSE(t.C.PrtOpn()) << nam;
    EXPECT_FALSE(t.C.PrtHld()) << nam;
    t.C.FbBlkCbk = false;
    GuLstErrMsg.clear();
    EXPECT_FALSE(t.C.SndChr(0x02)) << nam;
    EXPECT_EQ(GuLstErrMsg, "Comport is not defined") << nam;
    ASSERT_EQ(t.Err.size(), 1u) << nam;
    EXPECT_EQ(t.Err[0].first, CE_PRT_UND);
    EXPECT_EQ(t.Err[0].second, "Error #003, trying to access comport function while comport is not defined");
    EXPECT_TRUE(t.C.StpThr()) << "no thread runs";
  }
}

TEST(ComWin, MissingCallbacksAreToldBeforeThePortIsTouched) {
  TFakePlatform fp;
  TComport2p5 c(nullptr);
  c.FsPrtNam = "COM18";
  c.FOnComPrtComEvt = [](TComport2p5*, std::uint8_t, std::uint32_t, std::uint8_t) {};
  c.FOnComPrtErrEvt = [](TComport2p5*, std::int8_t, const std::string&) {};
  EXPECT_EQ(c.OpnPrt(), TeOpnPrt::NoCbk);
  ASSERT_EQ(fp.MsgBox.Calls.size(), 1u);
  EXPECT_EQ(fp.MsgBox.Calls[0].Caption, "Comport error message");
  EXPECT_NE(fp.MsgBox.Calls[0].Text.find("- FOnComPrtCtlEvt"), std::string::npos);
  EXPECT_FALSE(c.PrtOpn());
}

TEST(PrtNamWin, NamesStandForTheSystemsPortsOrTheirMappings) {
  TFakePlatform fp;
  fp.Settings.Keys[GcPrtMapKey]["COM13"] = "\\\\.\\CNCA0";
  struct {
    const char* Nam;
    const char* Dev;
  } const cases[] = {
      {"COM5", "\\\\.\\COM5"},     {"com19", "\\\\.\\COM19"}, {"COM13", "\\\\.\\CNCA0"},
      {"\\\\.\\COM42", "\\\\.\\COM42"}, {"COM20", ""},         {"COM0", ""},
      {"/dev/ttyUSB0", ""},         {"SIM", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(PrtDevPth(c.Nam), c.Dev) << c.Nam;
  EXPECT_EQ(PrtMapPth(13), "\\\\.\\CNCA0");
  EXPECT_EQ(PrtMapPth(14), "");
  EXPECT_FALSE(PrtPrs("COM18"));
  EXPECT_FALSE(PrtPrs("COM20"));
  bool inUse = true;
  EXPECT_FALSE(PrbComPrt(18, inUse));
  EXPECT_FALSE(inUse);
  for (const std::string& p : ScnComPrt()) {
    EXPECT_NE(PrtNum(p), 0) << p;
    EXPECT_TRUE(PrtPrs(p)) << p;
  }
  EXPECT_EQ(PrtHldr("\\\\.\\COM5").Hld, false) << "Windows names no holder";
}

}  // namespace
