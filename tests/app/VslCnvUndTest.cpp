// The Edit menu of the main window: undo and redo through the menu and its
// shortcuts, and the mark of unsaved changes in the caption.
#include <QAction>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

#include "app/VslCnv.h"
#include "core/Globals.h"
#include "editor/VioPgmItp.h"
#include "support/FakePlatform.h"

namespace {

class VslCnvUnd : public ::testing::Test {
protected:
  void SetUp() override {
    TVslCnvCfg c;
    c.AppDir = std::string(TESSARO_DATA_DIR) + "/";
    c.InsDir = c.AppDir;
    c.ScnPrt = [] { return std::vector<std::string>{}; };
    W = std::make_unique<TfrmVslCnv>(nullptr, c);
    W->show();
  }
  void TearDown() override { W.reset(); }
  TFakePlatform Plt;
  std::unique_ptr<TfrmVslCnv> W;
};

TEST_F(VslCnvUnd, MenuAndShortcutsUndoAndRedoAndTheCaptionShowsUnsavedChanges) {
  ASSERT_NE(W->smnEdtUnd, nullptr);
  EXPECT_FALSE(W->smnEdtUnd->isEnabled());
  EXPECT_EQ(W->smnEdtRed->shortcuts().size(), 2);
  W->setWindowTitle("prog.vio");
  W->tbnSta->trigger();
  W->tbnSto->trigger();
  ASSERT_EQ(W->FpVioPgmItp->GetVioCnt(), 2);
  EXPECT_TRUE(W->smnEdtUnd->isEnabled());
  EXPECT_EQ(W->windowTitle().toStdString(), "prog.vio *");
  // Nothing is undone while the intro locks the window.
  ASSERT_TRUE(W->Locked());
  W->smnEdtUnd->trigger();
  EXPECT_EQ(W->FpVioPgmItp->GetVioCnt(), 2);
  // The history under the menu: undoing both vios brings back the saved
  // caption and the Start tool button.
  W->FpVioPgmItp->Und();
  W->FpVioPgmItp->Und();
  EXPECT_EQ(W->FpVioPgmItp->GetVioCnt(), 0);
  EXPECT_EQ(W->windowTitle().toStdString(), "prog.vio");
  EXPECT_TRUE(W->tbnSta->isEnabled());
  EXPECT_TRUE(W->smnEdtRed->isEnabled());
  EXPECT_FALSE(W->smnEdtUnd->isEnabled());
  W->FpVioPgmItp->Red();
  EXPECT_FALSE(W->tbnSta->isEnabled());
  EXPECT_EQ(W->windowTitle().toStdString(), "prog.vio *");
}

}  // namespace
