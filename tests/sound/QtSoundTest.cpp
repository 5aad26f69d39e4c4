// Sound output on QSoundEffect: nothing ever hangs. A PulseAudio null sink is
// started for this process when pulseaudio is installed; the device check is
// injected where a test needs a sound that never ends (as QSoundEffect does
// without an output) or no device. The bounds are wide: QSoundEffect reports
// the end of a sound up to about two seconds late, more under the sanitizers.
#include <gtest/gtest.h>

#include <QAudioDevice>
#include <QElapsedTimer>
#include <QMediaDevices>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <csignal>
#include <memory>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>

#include "core/PathUtl.h"
#include "sound/QtTstEnv.h"
#include "sound/SndCue.h"
#include "sound/WavGen.h"
#include "sound/WavInf.h"
#include "sound/qt/QtSoundOut.h"
#include "support/FakePlatform.h"

namespace {

pid_t GiPls = -1;
void StartPulse(TQtTstEnv& env) {
  if ((GiPls = fork()) == 0) {
    prctl(PR_SET_PDEATHSIG, SIGKILL);  // the server ends with this process, whatever becomes of it
    if (!std::freopen("/dev/null", "w", stderr) || !std::freopen("/dev/null", "w", stdout)) _exit(126);
    execlp("pulseaudio", "pulseaudio", "--daemonize=no", "--exit-idle-time=-1", "-n",
           "--load=module-null-sink sink_name=null", "--load=module-native-protocol-unix", nullptr);
    _exit(127);
  }
  for (int i = 0; i < 400 && waitpid(GiPls, nullptr, WNOHANG) == 0 && !std::filesystem::exists(env.Run + "/pulse/native"); ++i)
    usleep(25000);
}

// Runs the GUI thread's events until cond holds or ms have passed.
bool RunUntil(const std::function<bool()>& cond, int ms = 5000) { return QTest::qWaitFor(cond, ms); }

// ms taken by f.
qint64 Took(const std::function<void()>& f) {
  QElapsedTimer t;
  t.start();
  f();
  return t.elapsed();
}

class QtSound : public ::testing::Test {
protected:
  void Forever() { Snd.SetDevChk([] { return true; }), Snd.SetGuardMs(60000); }
  TTmpDir Tmp;
  std::string Long = Tmp.Write("long.wav", WavBytes(8000)), Short = Tmp.Write("short.wav", WavBytes(1500));
  std::unique_ptr<TQtSoundOut> Out = std::make_unique<TQtSoundOut>();
  TQtSoundOut& Snd = *Out;
  QSignalSpy Fin{&Snd, &TQtSoundOut::Finished};
};

TEST_F(QtSound, NoDeviceOrNoCompleteWaveReturnsAtOnce) {
  Snd.SetDevChk([] { return false; });
  EXPECT_LT(Took([&] { Snd.Play(Long, true), Snd.Play(Long, false), Snd.Play(Short, true); }), 4000);
  EXPECT_FALSE(Snd.Playing());
  Forever();
  for (const std::string& b : {std::string("RIFF\x10\0\0\0WAVEgarbage", 16), WavBytes(3000).substr(0, 30),
                               std::string(5000, 'x'), WavBytes(3000).substr(0, 2000), std::string()}) {
    const std::string pth = b.empty() ? Tmp.Path() + "missing.wav" : Tmp.Write("damaged.wav", b);
    EXPECT_LT(Took([&] { Snd.Play(pth, true); }), 5000) << b.size();
    EXPECT_FALSE(Snd.Playing());
  }
  // Qt's sample cache is still usable (a cut-off file left loading blocks it for good).
  Snd.Play(Short, false);
  EXPECT_TRUE(Snd.Playing());
}

// The guard ends a sync play that never ends, while timers run; a new sound
// cuts the current one.
TEST_F(QtSound, GuardAndCut) {
  Forever();
  Snd.SetGuardMs(300);
  int ticks = 0;
  QTimer tick;
  QObject::connect(&tick, &QTimer::timeout, [&] { ++ticks; });
  tick.start(20);
  const qint64 el = Took([&] { Snd.Play(Long, true); });
  EXPECT_GE(el, 250);
  EXPECT_LT(el, 6000);
  EXPECT_GE(ticks, 3);  // the window would have repainted
  EXPECT_EQ(Fin.count(), 1);
  EXPECT_FALSE(Snd.Playing());
  Forever();
  QTimer::singleShot(100, &Snd, [&] { Snd.Play(Short, false); });
  EXPECT_LT(Took([&] { Snd.Play(Long, true); }), 6000);  // a sync play cut while it waits
  EXPECT_TRUE(Snd.Playing());
  EXPECT_EQ(Fin.count(), 2);
  int started = 0;  // a Finished slot may start the next sound, the newest request
  QObject::connect(&Snd, &TQtSoundOut::Finished, &Snd, [&] { started++ == 0 ? Snd.Play(Short, false) : void(); });
  Snd.Play(Long, false);
  EXPECT_EQ(started, 1);
  EXPECT_EQ(Fin.count(), 3);
  EXPECT_TRUE(Snd.Playing());
  Snd.Stop(), Snd.Stop();  // the second has nothing left to stop
  EXPECT_EQ(Fin.count(), 4);
  EXPECT_FALSE(Snd.Playing());
}

TEST_F(QtSound, OtherThreadsQueueTheirRequestsAndWaitOnlyThemselves) {
  Forever();
  std::thread([&] { Snd.Play(Long, false); }).join();
  EXPECT_FALSE(Snd.Playing());  // not yet: queued
  EXPECT_TRUE(RunUntil([&] { return Snd.Playing(); }));
  std::thread([&] { Snd.Stop(); }).join();
  EXPECT_TRUE(RunUntil([&] { return !Snd.Playing(); }));
  // A sync play waits for the (guarded) end while the GUI runs ...
  Snd.SetGuardMs(300);
  std::atomic<qint64> el{-1};
  std::thread wrk([&] { el = Took([&] { Snd.Play(Long, true); }); });
  EXPECT_TRUE(RunUntil([&] { return el >= 0; }, 10000));
  wrk.join();
  EXPECT_GE(el, 250);
  EXPECT_LT(el, 6000);
  // ... and gives up when the GUI thread is blocked (here: joining it).
  Snd.SetGuardMs(100);
  el = Took([&] { std::thread([&] { Snd.Play(Long, true); }).join(); });
  EXPECT_GE(el, TQtSoundOut::GcGrdMrgMs);
  EXPECT_LT(el, TQtSoundOut::GcGrdMrgMs + 4100);
  QCoreApplication::processEvents();  // the queued request runs late
  Snd.Stop();
  // Destroying the output releases a waiting worker.
  Forever();
  std::atomic<bool> done{false};
  wrk = std::thread([&] { Snd.Play(Long, true), done = true; });
  ASSERT_TRUE(RunUntil([&] { return Snd.Playing(); }));
  EXPECT_FALSE(done);
  Out.reset();
  EXPECT_TRUE(RunUntil([&] { return done.load(); }));
  wrk.join();
}

TEST_F(QtSound, RealPlaybackTakesTheSoundsLength) {
  if (QMediaDevices::audioOutputs().isEmpty()) GTEST_SKIP() << "no sound output (pulseaudio missing?)";
  // An installed cue: 22050 Hz, a name with spaces and a dot, through its program path.
  const std::string stg = TESSARO_STAGE_DIR, cue = NativePath(SndCuePth(SC_BTN_UPL, stg + "/", stg + "/bin/"));
  for (const std::string& pth : {Short, cue}) {
    const int len = WavDurMs(pth);
    ASSERT_GT(len, 0) << pth;
    const qint64 el = Took([&] { Snd.Play(pth, true); });
    EXPECT_GE(el, len / 2) << pth;
    EXPECT_LT(el, len + TQtSoundOut::GcGrdMrgMs + 4000) << pth;
  }
  Snd.Play(Long, false);  // a second sound cuts the first: the wait is for the second one only
  ASSERT_TRUE(RunUntil([&] { return Snd.Playing(); }, 3000));
  EXPECT_LT(Took([&] { Snd.Play(Short, true); }), 7000);
  EXPECT_FALSE(Snd.Playing());
}

}  // namespace

int main(int argc, char** argv) {
  return RunQtTests(argc, argv, &StartPulse, [] {
    if (GiPls > 0 && kill(GiPls, SIGKILL) == 0) waitpid(GiPls, nullptr, 0);
  });
}
