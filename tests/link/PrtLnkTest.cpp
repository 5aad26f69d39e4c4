// The port that stands for a stable link (the robot's /dev/zefor), on a
// folder of links to pseudo-terminals.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "LnkTstPty.h"
#include "link/PrtNam.h"
#include "support/FakePlatform.h"

namespace {

std::string Real(const std::string& p) { return std::filesystem::canonical(p).string(); }

bool Has(const std::vector<std::string>& v, const std::string& s) {
  return std::find(v.begin(), v.end(), s) != v.end();
}

class LnkPrtTest : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_EQ(::symlink(B.Pth().c_str(), Lnk.c_str()), 0); }
  TFakePlatform Plt;
  TTmpDir Tmp;
  TPty A, B;
  std::string Lnk = Tmp.Path() + "zefor";
  std::map<std::string, std::string>& Map = Plt.Settings.Keys[GcPrtMapKey];
};

TEST_F(LnkPrtTest, DeviceThatNoPortStandsForGetsTheFirstUnmappedPortUntilChosen) {
  Map["COM13"] = A.Pth();
  Map["COM14"] = Tmp.Path() + "unplugged";  // mapped, though absent: taken
  TLnkPrt r = LnkPrt(Lnk);
  EXPECT_EQ(r.Num, 15);
  EXPECT_FALSE(r.Lst);
  EXPECT_EQ(r.Dev, Real(B.Pth()));
  EXPECT_FALSE(Has(ScnComPrt(), "COM15"));

  ASSERT_TRUE(MapPrt(15, Lnk));
  EXPECT_EQ(Map["COM15"], Lnk);  // the link, not the device it leads to today
  EXPECT_TRUE(Has(ScnComPrt(), "COM15"));
  r = LnkPrt(Lnk);
  EXPECT_EQ(r.Num, 15);
  EXPECT_TRUE(r.Lst);
}

TEST_F(LnkPrtTest, PortThatLeadsToTheSameDeviceIsTakenAsItIs) {
  Map["COM7"] = B.Pth();
  const std::string chain = Tmp.Path() + "robot";  // a link to the link
  ASSERT_EQ(::symlink(Lnk.c_str(), chain.c_str()), 0);
  for (const std::string& l : {Lnk, chain}) {
    const TLnkPrt r = LnkPrt(l);
    EXPECT_EQ(r.Num, 7) << l;
    EXPECT_TRUE(r.Lst) << l;
  }
  // Mapped to the link itself, as choosing it in the dialog leaves it.
  Map.erase("COM7");
  Map["COM16"] = Lnk;
  EXPECT_EQ(LnkPrt(Lnk).Num, 16);
  EXPECT_TRUE(LnkPrt(Lnk).Lst);
}

TEST_F(LnkPrtTest, LinkToNoTerminalHasNoPort) {
  const std::string fil = Tmp.Write("plain", "x");
  const std::string dng = Tmp.Path() + "dangling", toFil = Tmp.Path() + "to-file", toNul = Tmp.Path() + "to-null";
  ASSERT_EQ(::symlink((Tmp.Path() + "gone").c_str(), dng.c_str()), 0);
  ASSERT_EQ(::symlink(fil.c_str(), toFil.c_str()), 0);
  ASSERT_EQ(::symlink("/dev/null", toNul.c_str()), 0);
  for (const std::string& l : {Tmp.Path() + "missing", dng, toFil, toNul, std::string("zefor"), std::string()}) {
    const TLnkPrt r = LnkPrt(l);
    EXPECT_EQ(r.Num, 0) << l;
    EXPECT_TRUE(r.Dev.empty()) << l;
  }
}

TEST_F(LnkPrtTest, NoPortWhenEveryFreePortIsMapped) {
  for (int n = 13; n <= 19; ++n) Map["COM" + std::to_string(n)] = Tmp.Path() + "other" + std::to_string(n);
  const TLnkPrt r = LnkPrt(Lnk);
  EXPECT_EQ(r.Num, 0);
  EXPECT_EQ(r.Dev, Real(B.Pth()));  // the device is still known
}

TEST(MapPrt, RefusedStoreOrBadNumberChangesNothing) {
  TFakePlatform plt;
  plt.Settings.FailWrite = true;
  EXPECT_FALSE(MapPrt(13, "/dev/zefor"));
  plt.Settings.FailWrite = false;
  EXPECT_FALSE(MapPrt(0, "/dev/zefor"));
  EXPECT_FALSE(MapPrt(20, "/dev/zefor"));
  EXPECT_FALSE(MapPrt(13, ""));
  EXPECT_TRUE(plt.Settings.Keys[GcPrtMapKey].empty());
  EXPECT_TRUE(MapPrt(19, "/dev/zefor"));
  EXPECT_EQ(PrtDevPth("COM19"), "/dev/zefor");
}

}  // namespace
