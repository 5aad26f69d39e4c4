// Where the program sheet puts the parts of a vio's cell: over every cell
// size, caption, pair of badges and number of parameters, nothing leaves the
// cell, no badge covers a caption or a parameter, and the parameters keep
// the whole width; the letters stay readable on a field that is full.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/VioSht.h"

namespace {

std::string Dsc(const TuShtCelIn& i) {
  return std::to_string(i.W) + "x" + std::to_string(i.H) + " cap " + std::to_string(i.CapW) + "/" +
         std::to_string(i.CapN) + " badges " + std::to_string(i.OrdW) + "," + std::to_string(i.BytW) + " prm " +
         std::to_string(i.PrmN);
}

TEST(SheetCell, BadgesStandBesideTheTextsAndEverythingInsideTheCell) {
  int shared = 0, own = 0;
  for (double w : {12.0, 22.6, 46.0})
    for (double h : {9.0, 14.9, 30.0})
      for (double capW : {6.0, 16.0, 40.0})
        for (std::size_t capN : {1u, 2u})
          for (double ordW : {0.0, 3.8, 7.0})
            for (double bytW : {0.0, 3.8})
              for (std::size_t prm : {0u, 1u, 3u}) {
                const TuShtCelIn in{w, h, 4.2, capW, capN, ordW, bytW, prm};
                const TuShtCel c = ShtCel(in);
                const TuShtBox cel{0, 0, w, h};
                const std::string at = Dsc(in);
                ASSERT_EQ(c.Cap.size(), capN) << at;
                ASSERT_EQ(c.Prm.size(), prm) << at;
                EXPECT_TRUE(c.Lin > 0 && c.Lin <= 4.2) << at;
                std::vector<TuShtBox> txt = c.Cap;
                txt.insert(txt.end(), c.Prm.begin(), c.Prm.end());
                for (std::size_t i = 0; i < txt.size(); ++i) {
                  EXPECT_TRUE(txt[i].In(cel)) << at << " text " << i;
                  for (std::size_t k = i + 1; k < txt.size(); ++k) {
                    EXPECT_FALSE(txt[i].Cut(txt[k])) << at;
                  }
                }
                for (const TuShtBox& p : c.Prm) {
                  EXPECT_GT(p.W, w * 0.9) << at << ": a parameter has the whole width";
                }
                EXPECT_EQ(c.Ord.W > 0, ordW > 0) << at;
                EXPECT_EQ(c.Byt.W > 0, bytW > 0) << at;
                for (const TuShtBox* b : {&c.Ord, &c.Byt}) {
                  if (b->W == 0) continue;
                  EXPECT_TRUE(b->In(cel)) << at;
                  for (const TuShtBox& t : txt) {
                    EXPECT_FALSE(b->Cut(t)) << at << ": a badge covers a text";
                  }
                }
                EXPECT_FALSE(c.Ord.W > 0 && c.Byt.W > 0 && c.Ord.Cut(c.Byt)) << at;
                // Beside the badges the caption's first line keeps its whole width.
                const TuShtBox& b0 = c.Ord.W > 0 ? c.Ord : c.Byt;
                const bool beside = b0.W > 0 && c.Cap[0].Cut({0, b0.Y, w, b0.H});
                if (beside) {
                  EXPECT_GE(c.Cap[0].W + 1e-9, capW * c.Lin / 4.2) << at;
                }
                (beside ? shared : own) += ordW > 0 || bytW > 0;
              }
  EXPECT_TRUE(shared > 0 && own > 0) << "both arrangements were tried";
}

TEST(SheetCell, AFullFieldOnA4KeepsEightPointLetters) {
  // 12 x 10 cells on a landscape A4 page, an Actor with the 120th run-order
  // number: its caption, type, command and value.
  const TuShtCel c = ShtCel({22.6, 14.9, 4.2, 10.5, 1, 5.6, 3.8, 3});
  EXPECT_GE(c.Lin / GcShtLinEm, 8 * 25.4 / 72) << "8 point letters";
}

}  // namespace
