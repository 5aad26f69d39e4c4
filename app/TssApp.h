// The application object. An exception that escapes an event handler is shown
// in a message box and the event loop goes on.
#pragma once

#include <QApplication>

class TTssApp : public QApplication {
  Q_OBJECT

public:
  TTssApp(int& argc, char** argv) : QApplication(argc, argv) {}
  bool notify(QObject* receiver, QEvent* e) override;
};

// Shows the text of the exception in flight (call inside a catch block).
void ShwExc();
