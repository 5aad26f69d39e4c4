// The recent-files list: order, limit, repeats and the settings store.
#include <gtest/gtest.h>

#include "app/RctFil.h"
#include "support/FakePlatform.h"

namespace {

TEST(RctFil, MostRecentFirstOnceEachAtMostEightAndKeptInTheStore) {
  TRctFil r;
  for (int i = 1; i <= 10; ++i) r.Add("/p/" + std::to_string(i) + ".vio");
  ASSERT_EQ(r.Lst().size(), TRctFil::GcMax);
  EXPECT_EQ(r.Lst().front(), "/p/10.vio");
  EXPECT_EQ(r.Lst().back(), "/p/3.vio");
  // Opened again: to the front, not twice.
  r.Add("/p/5.vio");
  EXPECT_EQ(r.Lst().size(), TRctFil::GcMax);
  EXPECT_EQ(r.Lst()[0], "/p/5.vio");
  EXPECT_EQ(r.Lst()[1], "/p/10.vio");
  EXPECT_TRUE(r.Rmv("/p/10.vio"));
  EXPECT_FALSE(r.Rmv("/p/10.vio"));
  r.Add("");
  EXPECT_EQ(r.Lst().size(), 7u);

  TFakeSettings set;
  auto st = set.Create();
  ASSERT_TRUE(st->OpenKey("K", true));
  ASSERT_TRUE(r.Sav(*st));
  EXPECT_EQ(set.Keys["K"]["File1"], "/p/5.vio");
  EXPECT_EQ(set.Keys["K"]["File8"], "") << "a place no longer used is cleared";
  TRctFil back;
  back.Lod(*st);
  EXPECT_EQ(back.Lst(), r.Lst());

  // A hand-edited store: gaps and repeats are skipped.
  set.Keys["K"] = {{"File1", "/a.vio"}, {"File3", "/b.vio"}, {"File4", "/a.vio"}, {"File9", "/c.vio"}};
  back.Lod(*st);
  EXPECT_EQ(back.Lst(), (std::vector<std::string>{"/a.vio", "/b.vio"}));

  set.FailWrite = true;
  EXPECT_FALSE(back.Sav(*st));
}

}  // namespace
