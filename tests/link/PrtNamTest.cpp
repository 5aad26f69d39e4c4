// Port names and the port scan.
#include <gtest/gtest.h>

#include <unistd.h>

#include "LnkTstPty.h"
#include "link/PrtNam.h"
#include "support/FakePlatform.h"

namespace {

struct TPthCas {
  const char* Nam;
  const char* Pth;
};

class PrtDevPthTest : public ::testing::TestWithParam<TPthCas> {};

TEST_P(PrtDevPthTest, ResolvesNames) {
  TFakePlatform plt;
  plt.Settings.Keys[GcPrtMapKey]["COM3"] = "/dev/serial/by-id/usb-robot";
  plt.Settings.Keys[GcPrtMapKey]["COM13"] = "/tmp/zefor-pty";
  EXPECT_EQ(PrtDevPth(GetParam().Nam), GetParam().Pth);
}

INSTANTIATE_TEST_SUITE_P(
    Names, PrtDevPthTest,
    ::testing::Values(TPthCas{"COM1", "/dev/ttyS0"}, TPthCas{"COM4", "/dev/ttyS3"},
                      TPthCas{"COM5", "/dev/ttyUSB0"}, TPthCas{"COM8", "/dev/ttyUSB3"},
                      TPthCas{"COM9", "/dev/ttyACM0"}, TPthCas{"COM12", "/dev/ttyACM3"},
                      TPthCas{"COM3", "/dev/serial/by-id/usb-robot"}, TPthCas{"com13", "/tmp/zefor-pty"},
                      TPthCas{"COM14", ""}, TPthCas{"COM19", ""}, TPthCas{"COM0", ""}, TPthCas{"COM20", ""},
                      TPthCas{"COM01", ""}, TPthCas{"COM1x", ""}, TPthCas{"", ""}, TPthCas{"LPT1", ""},
                      TPthCas{"/dev/pts/7", "/dev/pts/7"}));

TEST(PrtNam, DefaultsServeWhenTheSettingsStoreFails) {
  TFakePlatform plt;
  plt.Settings.FailCreate = true;
  EXPECT_EQ(PrtDevPth("COM2"), "/dev/ttyS1");
  EXPECT_EQ(PrtDevPth("COM13"), "");
}

TEST(PrtNam, ScanListsPresentTerminalsInOrder) {
  TFakePlatform plt;
  TTmpDir tmp;
  TPty a, b;
  const std::string lnk = tmp.Path() + "zefor";
  ASSERT_EQ(::symlink(b.Pth().c_str(), lnk.c_str()), 0);
  const std::string fil = tmp.Write("plain-file", "x");
  auto& map = plt.Settings.Keys[GcPrtMapKey];
  // Every name is mapped, so the devices of this machine do not matter.
  for (int n = 1; n <= 19; ++n) map["COM" + std::to_string(n)] = tmp.Path() + "missing" + std::to_string(n);
  map["COM2"] = a.Pth();
  map["COM7"] = fil;
  map["COM10"] = "/dev/null";  // a character device, but no terminal
  map["COM17"] = lnk;
  EXPECT_EQ(ScnComPrt(), (std::vector<std::string>{"COM2", "COM17"}));
}

}  // namespace
