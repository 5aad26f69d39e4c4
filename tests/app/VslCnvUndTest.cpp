// The Edit menu of the main window: undo and redo through the menu and its
// shortcuts, and the mark of unsaved changes in the caption.
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

#include "WndFix.h"

namespace {

class VslCnvUnd : public TWndTst {
protected:
  void SetUp() override { Mk(); }
};

TEST_F(VslCnvUnd, MenuAndShortcutsUndoAndRedoAndTheCaptionShowsUnsavedChanges) {
  ASSERT_NE(W->Doc().UndAct(), nullptr);
  EXPECT_FALSE(W->Doc().UndAct()->isEnabled());
  EXPECT_EQ(W->Doc().RedAct()->shortcuts().size(), 2);
  W->setWindowTitle("prog.vio");
  W->Tbr().Tbn(TeTbn::Sta)->trigger();
  W->Tbr().Tbn(TeTbn::Sto)->trigger();
  ASSERT_EQ(W->FpVioPgmItp->GetVioCnt(), 2);
  EXPECT_TRUE(W->Doc().UndAct()->isEnabled());
  EXPECT_EQ(W->windowTitle().toStdString(), "prog.vio *");
  // Nothing is undone while the intro locks the window.
  ASSERT_TRUE(W->Locked());
  W->Doc().UndAct()->trigger();
  EXPECT_EQ(W->FpVioPgmItp->GetVioCnt(), 2);
  // The history under the menu: undoing both vios brings back the saved
  // caption and the Start tool button.
  W->FpVioPgmItp->Und();
  W->FpVioPgmItp->Und();
  EXPECT_EQ(W->FpVioPgmItp->GetVioCnt(), 0);
  EXPECT_EQ(W->windowTitle().toStdString(), "prog.vio");
  EXPECT_TRUE(W->Tbr().Tbn(TeTbn::Sta)->isEnabled());
  EXPECT_TRUE(W->Doc().RedAct()->isEnabled());
  EXPECT_FALSE(W->Doc().UndAct()->isEnabled());
  W->FpVioPgmItp->Red();
  EXPECT_FALSE(W->Tbr().Tbn(TeTbn::Sta)->isEnabled());
  EXPECT_EQ(W->windowTitle().toStdString(), "prog.vio *");
}

// Undo re-creates the vios; an Engine speed vio's edit must not take the
// focus and with it the next Ctrl+Z.
TEST_F(VslCnvUnd, EveryCtrlZUndoesAStepWhateverTheProgramHolds) {
  ASSERT_TRUE(QTest::qWaitForWindowActive(W.get()));
  W->Doc().FilMnu().menuAction()->setEnabled(true);  // unlocked
  for (QAction* a : {W->Tbr().Tbn(TeTbn::Sta), W->Tbr().Tbn(TeTbn::Spd), W->Tbr().Tbn(TeTbn::Spd), W->Tbr().Tbn(TeTbn::Sto)}) a->trigger();
  ASSERT_EQ(W->FpVioPgmItp->GetVioCnt(), 4);
  W->Fld().setFocus(Qt::OtherFocusReason);
  for (int n = 3; n >= 0; --n) {
    QTest::keyClick(W.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(W->FpVioPgmItp->GetVioCnt(), n);
    EXPECT_EQ(qobject_cast<QLineEdit*>(QApplication::focusWidget()), nullptr);
  }
  for (int n = 1; n <= 4; ++n) {
    QTest::keyClick(W.get(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(W->FpVioPgmItp->GetVioCnt(), n);
  }
}

}  // namespace
