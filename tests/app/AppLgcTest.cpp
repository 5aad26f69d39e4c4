#include <gtest/gtest.h>

#include "app/PrtMch.h"
#include "app/VslTbrTbl.h"

namespace {

struct TPrtMchCas {
  const char* Nam;
  std::vector<std::string> Ports;
  int Idx;
};
void PrintTo(const TPrtMchCas& c, std::ostream* os) { *os << '"' << c.Nam << '"'; }

class PrtMch : public ::testing::TestWithParam<TPrtMchCas> {};

TEST_P(PrtMch, FindsTheConfiguredPortByItsWholeName) {
  const auto& c = GetParam();
  EXPECT_EQ(FndComPrtIdx(c.Nam, c.Ports), c.Idx) << c.Nam;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PrtMch,
    ::testing::Values(
        TPrtMchCas{"COM1", {"COM1", "COM3"}, 0},
        TPrtMchCas{"COM3", {"COM1", "COM3"}, 1},
        // Port 12 shares its 4th character with port 1 but is another port.
        TPrtMchCas{"COM1", {"COM12"}, -1},
        TPrtMchCas{"COM12", {"COM1", "COM12"}, 1},
        TPrtMchCas{"COM19", {"COM1", "COM9", "COM19"}, 2},
        // The default written at first start matches nothing.
        TPrtMchCas{"COM0", {"COM1", "COM2"}, -1},
        TPrtMchCas{"COM2", {}, -1},
        // Too short to name a port.
        TPrtMchCas{"COM", {"COM1"}, -1},
        TPrtMchCas{"", {"COM1"}, -1},
        TPrtMchCas{"com3", {"COM1", "COM3"}, 1},
        TPrtMchCas{"COM3 ", {"COM3"}, -1}),
    // The case's number: its bytes would name it anew in every build.
    [](const ::testing::TestParamInfo<TPrtMchCas>& i) { return "Case" + std::to_string(i.index); });

TEST(TbnHnt, ButtonNamesAreComparedExactly) {
  EXPECT_EQ(TbnHntIdf("tbnUpl"), 0x0F);
  EXPECT_EQ(TbnHntIdf("tbnComSte"), 0x12);
  EXPECT_EQ(TbnHntIdf("tbnupl"), 0x00);
  EXPECT_EQ(TbnHntIdf("tbnUpl "), 0x00);
}

}  // namespace
