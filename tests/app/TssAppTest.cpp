#include <QCoreApplication>
#include <QEvent>
#include <QObject>

#include <gtest/gtest.h>

#include <stdexcept>

#include "app/TssApp.h"
#include "support/FakePlatform.h"

namespace {

class TThrObj : public QObject {
public:
  bool event(QEvent* e) override {
    if (e->type() == QEvent::User) throw std::runtime_error("List index out of bounds (3)");
    if (e->type() == QEvent::User + 1) throw 42;
    return QObject::event(e);
  }
};

TEST(TssApp, AnExceptionFromAnEventHandlerIsShownAndTheLoopGoesOn) {
  ASSERT_NE(qobject_cast<TTssApp*>(QCoreApplication::instance()), nullptr);
  TFakePlatform plt;
  TThrObj obj;
  QEvent e1(QEvent::User);
  EXPECT_FALSE(QCoreApplication::sendEvent(&obj, &e1));
  QEvent e2(static_cast<QEvent::Type>(QEvent::User + 1));
  EXPECT_FALSE(QCoreApplication::sendEvent(&obj, &e2));
  // Posted events reach the handler through the event loop as well.
  QCoreApplication::postEvent(&obj, new QEvent(QEvent::User));
  QCoreApplication::processEvents();
  EXPECT_EQ(plt.MsgBox.Texts(),
            (std::vector<std::string>{"List index out of bounds (3)", "Unknown error", "List index out of bounds (3)"}));
}

}  // namespace
