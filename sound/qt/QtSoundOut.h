// Sound output on QSoundEffect.
//
// One sound at a time: a new sound (or Stop) ends the current one. A
// synchronous play returns when the sound has ended and never hangs:
//  - without an output device, or for a file that is no complete wave file
//    (QSoundEffect would wait for its missing samples forever), it returns at
//    once and plays nothing;
//  - otherwise it runs a local event loop that excludes user input (the
//    windows repaint, timers and queued calls run, clicks and keys wait)
//    until the sound stops after having started, fails to load, is cut by a
//    newer sound, or a guard timer of the clip's length (from the wave
//    header) plus GcGrdMrgMs runs out.
//
// Threads: the object lives on the GUI thread. Play and Stop may be called
// from any thread; from another thread the request is queued to the GUI
// thread (so requests keep their order), an asynchronous play returns at once
// and a synchronous play blocks only the calling thread until the sound has
// ended there. That wait is bounded by the guard interval plus GcGrdMrgMs, so
// a GUI thread that is itself blocked (for example joining the caller) delays
// the sound but cannot deadlock with it.
#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "core/Seams.h"

class QEventLoop;
class QSoundEffect;

class TQtSoundOut final : public QObject, public ISoundOut {
  Q_OBJECT
public:
  // Time a sound may take beyond its length before a synchronous play gives
  // up. QSoundEffect on PulseAudio reports the end of a short mono clip up to
  // about two seconds late.
  static constexpr int GcGrdMrgMs = 3000;

  explicit TQtSoundOut(QObject* parent = nullptr);
  ~TQtSoundOut() override;

  void Play(const std::string& path, bool sync) override;
  void Stop() override;

  // For tests: ms >= 0 fixes the guard interval; a negative value returns to
  // the clip's length plus GcGrdMrgMs.
  void SetGuardMs(int ms);
  // The guard interval for a file.
  int GuardMs(const std::string& path) const;
  // For tests: replaces the check for an output device.
  void SetDevChk(std::function<bool()> chk);

  // GUI thread: true from the start of a sound until it has ended, failed,
  // been cut or been given up by the guard.
  bool Playing() const;

signals:
  // The current sound has ended, failed, been cut or been given up.
  void Finished();

private:
  struct TWait {
    std::mutex Mtx;
    std::condition_variable Cv;
    bool Done = false;
    QEventLoop* Loop = nullptr;  // GUI thread waiter
  };

  void Start(const std::string& path, const std::shared_ptr<TWait>& wait);
  void EndCur();
  void Finish();
  static void Release(const std::shared_ptr<TWait>& wait);
  bool HasDev() const;

  QPointer<QSoundEffect> FEff;
  QTimer FGrd;
  bool FStd = false;  // the current sound has started playing
  bool FFin = true;   // the current sound has finished
  std::shared_ptr<TWait> FWat;
  std::function<bool()> FDevChk;
  std::atomic<int> FGrdMs{-1};

  // Waits of other threads, released when the object goes.
  std::mutex FWrkMtx;
  std::vector<std::weak_ptr<TWait>> FWrkWat;
};
