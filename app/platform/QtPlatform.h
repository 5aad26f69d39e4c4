// Qt implementations of the platform seams of core/Seams.h: message box,
// event loop and settings store. The sound output lives in
// sound/qt/QtSoundOut.h. TQtPlatform installs all four for the program.
//
// Threads: every seam may be called from a worker thread (the serial
// receive thread). Message boxes are then shown on the GUI thread: a box with
// only Ok is queued and the worker goes on at once; for a question the worker
// waits for the answer, so the GUI thread must not wait for such a worker at
// the same time. "Let pending events run" does nothing off the GUI thread (a
// worker has no user interface events of its own).
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <set>
#include <string>

#include "core/qt/QtStgSto.h"
#include "core/Seams.h"

class QMessageBox;
class TQtSoundOut;

// QMessageBox without an icon; an empty caption gives an empty title. The
// parent is the active window, if any.
class TQtMsgBox final : public IMsgBox {
public:
  TeMsgAns Show(const std::string& text, const std::string& caption, TeMsgBtn buttons) override;
};

// The application's event loop.
class TQtEvtLoop final : public IEvtLoop {
public:
  TQtEvtLoop();
  // QCoreApplication::processEvents() on the GUI thread; nothing elsewhere.
  void PrcMsg() override;
  // Sets the termination flag and calls QCoreApplication::quit(). quit()
  // has no effect before exec() runs, so the program entry looks at
  // TerminateRequested() and returns instead of entering exec().
  void Terminate() override;
  bool TerminateRequested() const override;
  // True on the thread of the QCoreApplication (or, without one, on the
  // thread that created this object).
  bool OnUiThread() const override;

private:
  std::atomic<bool> FTrm{false};
  const void* FCrtThr;  // QThread that created the object
};

// Installs the Qt seams (message box, sound output, event loop, settings
// store) for its lifetime and restores the previous ones afterwards. Create it
// on the GUI thread after the QApplication and destroy it before the
// QApplication. The program entry:
//
//   QApplication app(argc, argv);
//   TQtPlatform platform;
//   ... create the windows ...
//   if (platform.EvtLoop().TerminateRequested()) return 1;
//   return app.exec();
class TQtPlatform {
public:
  TQtPlatform();
  ~TQtPlatform();
  TQtPlatform(const TQtPlatform&) = delete;
  TQtPlatform& operator=(const TQtPlatform&) = delete;

  TQtMsgBox& MsgBox();
  TQtSoundOut& Sound();
  TQtEvtLoop& EvtLoop();
  TQtSettingsFactory& Settings();

private:
  struct TImp;
  std::unique_ptr<TImp> FImp;
  TPlatform FPrv;
};

// The toolkit's own texts (the standard buttons of message boxes, the file and
// print dialogs) in language lge: 0 English, 1 Dutch, 2 German. They come from
// the toolkit's translations installed with it (qtbase_nl.qm, qtbase_de.qm);
// the translation of the language chosen before is taken out. Dates and sizes
// in those dialogs follow the language as well. False when the
// language's file is not found there: the toolkit's texts are then English.
bool SetQtLge(std::uint8_t lge);

// Gives a message box its caption and its text as plain text, and the
// accessible name (the caption, or the text without one) and description (the text).
void PrpMsgBox(QMessageBox& box, const std::string& text, const std::string& caption);
