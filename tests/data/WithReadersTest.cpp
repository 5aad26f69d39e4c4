// The installed data files read through the program's own readers, the way
// the editor and the tool buttons use them: every listed sensor/actor command
// has a token and a new Actor vio finds its default command in every language.

#include <gtest/gtest.h>

#include <string>

#include "translator/SarAndTkn.h"

namespace {

const std::string kSysDir = std::string(TESSARO_STAGE_DIR) + "/bin/";

TEST(DataFilesThroughTheReaders, EveryOfferedSarCommandHasAToken) {
  TSarAndTkn sar(nullptr);
  ASSERT_TRUE(sar.LodTknFil(kSysDir + "ExtComTkn.sys"));
  for (std::uint8_t lge = 0; lge < 3; ++lge) {
    for (bool actor : {true, false}) {
      SCOPED_TRACE("language " + std::to_string(lge) + (actor ? " actors" : " sensors"));
      TStrLst types;
      ASSERT_TRUE(sar.GetSarTypLst(types, lge, 0, actor));
      EXPECT_GE(types.size(), 4u);
      int commands = 0;
      for (const auto& type : types) {
        TStrLst coms;
        ASSERT_TRUE(sar.GetSarComLst(coms, type, lge, 0, actor)) << type;
        for (const auto& com : coms) {
          ++commands;
          int tok = sar.GetSarTkn(lge, type, com);
          EXPECT_GE(tok, 0) << type << "/" << com;
        }
      }
      EXPECT_GE(commands, 10);
      if (actor) {
        // A new Actor vio takes the first type and the command "Forward".
        EXPECT_EQ(types.front(), "Driving");
        EXPECT_EQ(sar.GetSarTkn(lge, types.front(), "Forward"), 0x12);
        EXPECT_EQ(sar.GetSarTkn(lge, "Driving", "Reverse"), 0x13);
      }
    }
  }
}

}  // namespace
