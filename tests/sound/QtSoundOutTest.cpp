// Sound output on QSoundEffect without a sound device: nothing ever hangs.
// The guard, the cutting of a sound and the calls from other threads are
// checked with an injected device check (the effect then "plays" forever,
// as QSoundEffect does on a machine without sound output).
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QAudioDevice>
#include <QMediaDevices>
#include <QSignalSpy>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "sound/QtTstEnv.h"
#include "sound/WavGen.h"
#include "sound/qt/QtSoundOut.h"
#include "support/FakePlatform.h"

namespace {

// Runs the GUI thread's events until cond holds or ms have passed.
template <class F>
bool RunUntil(F cond, int ms) {
  QElapsedTimer t;
  t.start();
  while (!cond()) {
    if (t.elapsed() > ms) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    std::this_thread::yield();
  }
  return true;
}

class QtSoundOutTest : public ::testing::Test {
protected:
  void SetUp() override {
    Long = Tmp.Write("long.wav", WavBytes(8000));
    Short = Tmp.Write("short.wav", WavBytes(300));
  }
  TTmpDir Tmp;
  std::string Long, Short;
  TQtSoundOut Snd;
};

}  // namespace

TEST_F(QtSoundOutTest, NoDeviceSyncAndAsyncReturnAtOnce) {
  if (!QMediaDevices::audioOutputs().isEmpty()) GTEST_SKIP() << "this machine has a sound output";
  QElapsedTimer t;
  t.start();
  Snd.Play(Long, true);
  // Without a device the 8 s clip (guard 10 s) must not be waited for.
  EXPECT_LT(t.elapsed(), 4000);
  EXPECT_FALSE(Snd.Playing());
  t.restart();
  Snd.Play(Long, false);
  Snd.Play(Short, true);
  EXPECT_LT(t.elapsed(), 4000);
  EXPECT_FALSE(Snd.Playing());
}

TEST_F(QtSoundOutTest, GuardIsClipLengthPlusMargin) {
  EXPECT_EQ(Snd.GuardMs(Long), 8000 + TQtSoundOut::GcGrdMrgMs);
  EXPECT_EQ(Snd.GuardMs(Short), 300 + TQtSoundOut::GcGrdMrgMs);
  EXPECT_EQ(Snd.GuardMs(Tmp.Write("bad.wav", "no wave")), TQtSoundOut::GcGrdMrgMs);
  Snd.SetGuardMs(150);
  EXPECT_EQ(Snd.GuardMs(Long), 150);
  Snd.SetGuardMs(-1);
  EXPECT_EQ(Snd.GuardMs(Long), 8000 + TQtSoundOut::GcGrdMrgMs);
}

TEST_F(QtSoundOutTest, SyncPlayThatNeverEndsIsEndedByTheGuard) {
  Snd.SetDevChk([] { return true; });
  Snd.SetGuardMs(300);
  QSignalSpy fin(&Snd, &TQtSoundOut::Finished);
  QElapsedTimer t;
  t.start();
  Snd.Play(Long, true);
  const qint64 el = t.elapsed();
  EXPECT_GE(el, 250);
  EXPECT_LT(el, 6000);
  EXPECT_EQ(fin.count(), 1);
  EXPECT_FALSE(Snd.Playing());
}

TEST_F(QtSoundOutTest, SyncWaitKeepsTimersRunning) {
  Snd.SetDevChk([] { return true; });
  Snd.SetGuardMs(400);
  int ticks = 0;
  QTimer tick;
  QObject::connect(&tick, &QTimer::timeout, [&] { ++ticks; });
  tick.start(20);
  Snd.Play(Long, true);
  EXPECT_GE(ticks, 3);  // the window would have repainted
}

TEST_F(QtSoundOutTest, NewSoundCutsTheCurrentOne) {
  Snd.SetDevChk([] { return true; });
  Snd.SetGuardMs(60000);
  QSignalSpy fin(&Snd, &TQtSoundOut::Finished);
  Snd.Play(Long, false);
  EXPECT_TRUE(Snd.Playing());
  EXPECT_EQ(fin.count(), 0);
  Snd.Play(Short, false);
  EXPECT_EQ(fin.count(), 1);  // the first one ended
  EXPECT_TRUE(Snd.Playing());
  Snd.Stop();
  EXPECT_EQ(fin.count(), 2);
  EXPECT_FALSE(Snd.Playing());
  Snd.Stop();  // nothing left to stop
  EXPECT_EQ(fin.count(), 2);
}

TEST_F(QtSoundOutTest, SyncPlayIsCutByASoundStartedWhileItWaits) {
  Snd.SetDevChk([] { return true; });
  Snd.SetGuardMs(60000);
  QTimer::singleShot(100, &Snd, [&] { Snd.Play(Short, false); });
  QElapsedTimer t;
  t.start();
  Snd.Play(Long, true);
  EXPECT_LT(t.elapsed(), 10000);
  EXPECT_TRUE(Snd.Playing());  // the second sound
  Snd.Stop();
}

TEST_F(QtSoundOutTest, FinishedSlotMayStartTheNextSound) {
  Snd.SetDevChk([] { return true; });
  Snd.SetGuardMs(60000);
  int started = 0;
  QObject::connect(&Snd, &TQtSoundOut::Finished, &Snd, [&] {
    if (started++ == 0) Snd.Play(Short, false);
  });
  Snd.Play(Long, false);
  Snd.Play(Long, false);  // cuts the first: its Finished starts Short, which cuts the second
  EXPECT_TRUE(Snd.Playing());
  QCoreApplication::processEvents();
  Snd.Stop();
  EXPECT_GE(started, 2);
}

TEST_F(QtSoundOutTest, MissingOrDamagedFileEndsSyncPlayAtOnce) {
  Snd.SetDevChk([] { return true; });
  struct {
    const char* Nam;
    std::string Bytes;
  } const cas[] = {
      {"header only", std::string("RIFF\x10\0\0\0WAVEgarbage", 16)},
      {"cut short", WavBytes(3000).substr(0, 30)},
      {"no wave at all", std::string(5000, 'x')},
      {"data cut off", WavBytes(3000).substr(0, 2000)},
      {"missing", ""},
  };
  Snd.SetGuardMs(60000);
  for (const auto& c : cas) {
    SCOPED_TRACE(c.Nam);
    const std::string pth = c.Bytes.empty() ? Tmp.Path() + "missing.wav" : Tmp.Write("damaged.wav", c.Bytes);
    QElapsedTimer t;
    t.start();
    Snd.Play(pth, true);
    EXPECT_LT(t.elapsed(), 5000);
    EXPECT_FALSE(Snd.Playing());
  }
  // Qt's sample cache is still usable: a sound can be started and its effect
  // destroyed (a cut-off file left loading blocks that for good).
  Snd.Play(Short, false);
  EXPECT_TRUE(Snd.Playing());
  Snd.Stop();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(Snd.Playing());
}

TEST_F(QtSoundOutTest, WorkerAsyncPlayAndStopAreQueuedToTheGuiThread) {
  Snd.SetDevChk([] { return true; });
  Snd.SetGuardMs(60000);
  std::thread([&] { Snd.Play(Long, false); }).join();
  EXPECT_FALSE(Snd.Playing());  // not yet: queued
  EXPECT_TRUE(RunUntil([&] { return Snd.Playing(); }, 5000));
  std::thread([&] { Snd.Stop(); }).join();
  EXPECT_TRUE(RunUntil([&] { return !Snd.Playing(); }, 5000));
}

TEST_F(QtSoundOutTest, WorkerSyncPlayWaitsForTheEndWhileTheGuiRuns) {
  Snd.SetDevChk([] { return true; });
  Snd.SetGuardMs(300);
  std::atomic<bool> done{false};
  std::atomic<long long> el{0};
  std::thread wrk([&] {
    const auto t0 = std::chrono::steady_clock::now();
    Snd.Play(Long, true);
    el = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0).count();
    done = true;
  });
  EXPECT_TRUE(RunUntil([&] { return done.load(); }, 10000));
  wrk.join();
  EXPECT_GE(el.load(), 250);  // it waited for the (guarded) end
  EXPECT_LT(el.load(), 6000);
}

TEST_F(QtSoundOutTest, WorkerSyncPlayGivesUpWhenTheGuiThreadIsBlocked) {
  Snd.SetDevChk([] { return true; });
  Snd.SetGuardMs(100);
  QElapsedTimer t;
  t.start();
  // The GUI thread joins the worker without running events: the sound cannot
  // start, and the worker must come back on its own.
  std::thread([&] { Snd.Play(Long, true); }).join();
  const qint64 el = t.elapsed();
  EXPECT_GE(el, 100 + TQtSoundOut::GcGrdMrgMs - 100);
  EXPECT_LT(el, 100 + TQtSoundOut::GcGrdMrgMs + 4000);
  QCoreApplication::processEvents();  // the queued request runs late
  Snd.Stop();
}

TEST(QtSoundOutLife, DestroyingTheOutputReleasesAWaitingWorker) {
  TTmpDir tmp;
  const std::string wav = tmp.Write("long.wav", WavBytes(8000));
  auto snd = std::make_unique<TQtSoundOut>();
  snd->SetDevChk([] { return true; });
  snd->SetGuardMs(60000);
  std::atomic<bool> done{false};
  std::thread wrk([&] {
    snd->Play(wav, true);
    done = true;
  });
  ASSERT_TRUE(RunUntil([&] { return snd->Playing(); }, 5000));
  EXPECT_FALSE(done.load());
  QElapsedTimer t;
  t.start();
  snd.reset();
  while (!done.load() && t.elapsed() < 5000) std::this_thread::yield();
  EXPECT_TRUE(done.load());
  wrk.join();
}

int main(int argc, char** argv) { return RunQtTests(argc, argv); }
