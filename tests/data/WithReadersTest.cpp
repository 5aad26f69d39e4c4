// The installed data files read through the program's own readers, the way
// the editor and the tool buttons use them: every listed sensor/actor command
// has a token, a new Actor vio finds its default command in every language,
// and every hint the tool bar asks for is there.

#include <gtest/gtest.h>

#include <string>

#include "messages/SysLgeMsg.h"
#include "support/FakePlatform.h"
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

TEST(DataFilesThroughTheReaders, EveryToolButtonHintAndLinkMessageIsFound) {
  TFakePlatform fake;
  TSysLgeMsg msg(nullptr, kSysDir);
  ASSERT_TRUE(fake.MsgBox.Calls.empty()) << fake.MsgBox.Calls.front().Text;
  for (std::uint8_t lge = 0; lge < 3; ++lge) {
    for (int id = SUM_TBN_STA_XXX_HNT; id <= SUM_LNK_COM_PRT_ERR; ++id) {
      if (id == 0x13 || id == 0x1B) continue;  // not in use
      EXPECT_FALSE(msg.GetSysMsg(static_cast<std::uint8_t>(id), lge).empty())
          << "message " << id << " language " << int(lge);
    }
  }
  EXPECT_EQ(msg.GetSysMsg(SUM_GUM_XXX_XXX_AFT, 0) + " START " + msg.GetSysMsg(SUM_GUM_XXX_XXX_INS, 0),
            "After START instruction");
}

}  // namespace
