// Sound output with a real device: a PulseAudio null sink started for this
// process in its temporary XDG_RUNTIME_DIR. Skipped when pulseaudio is not
// installed. The bounds are wide: QSoundEffect reports the end of a sound
// from a little early to about two seconds late, more under the sanitizers.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QAudioDevice>
#include <QMediaDevices>
#include <QSignalSpy>

#include <csignal>
#include <filesystem>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "sound/QtTstEnv.h"
#include "core/PathUtl.h"
#include "sound/SndCue.h"
#include "sound/WavGen.h"
#include "sound/WavInf.h"
#include "sound/qt/QtSoundOut.h"
#include "support/FakePlatform.h"

namespace {

pid_t GiPlsPid = -1;
std::string GsPlsErr;  // why no server runs, when pulseaudio is installed

std::string FindExe(const char* name) {
  const char* path = std::getenv("PATH");
  std::string p = path ? path : "/usr/bin:/bin";
  std::size_t b = 0;
  while (b <= p.size()) {
    std::size_t e = p.find(':', b);
    if (e == std::string::npos) e = p.size();
    std::string cand = p.substr(b, e - b) + "/" + name;
    if (access(cand.c_str(), X_OK) == 0) return cand;
    b = e + 1;
  }
  return {};
}

void StartPulse(TQtTstEnv& env) {
  const std::string exe = FindExe("pulseaudio");
  if (exe.empty()) return;
  const std::string log = env.Root + "pulse.log";
  const pid_t parent = getpid();
  const pid_t pid = fork();
  if (pid == 0) {
    // The server ends with this process, whatever becomes of it.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) _exit(1);
    if (FILE* f = std::freopen(log.c_str(), "w", stdout)) (void)f;
    dup2(STDOUT_FILENO, STDERR_FILENO);
    execl(exe.c_str(), exe.c_str(), "--daemonize=no", "--exit-idle-time=-1", "-n",
          "--load=module-null-sink sink_name=null", "--load=module-native-protocol-unix", "--log-target=stderr",
          static_cast<char*>(nullptr));
    _exit(127);
  }
  if (pid < 0) {
    GsPlsErr = "fork failed";
    return;
  }
  GiPlsPid = pid;
  const std::string sock = env.Run + "/pulse/native";
  for (int i = 0; i < 200 && !std::filesystem::exists(sock); ++i) {
    int st = 0;
    if (waitpid(pid, &st, WNOHANG) == pid) {
      GiPlsPid = -1;
      GsPlsErr = "pulseaudio exited, see " + log;
      return;
    }
    usleep(50 * 1000);
  }
  if (!std::filesystem::exists(sock)) GsPlsErr = "pulseaudio did not open its socket";
}

void StopPulse() {
  if (GiPlsPid <= 0) return;
  kill(GiPlsPid, SIGTERM);
  int st = 0;
  for (int i = 0; i < 100; ++i) {
    if (waitpid(GiPlsPid, &st, WNOHANG) == GiPlsPid) return;
    usleep(20 * 1000);
  }
  kill(GiPlsPid, SIGKILL);
  waitpid(GiPlsPid, &st, 0);
}

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

class QtSoundPulseTest : public ::testing::Test {
protected:
  void SetUp() override {
    if (FindExe("pulseaudio").empty()) GTEST_SKIP() << "pulseaudio is not installed";
    ASSERT_TRUE(GsPlsErr.empty()) << GsPlsErr;
    ASSERT_FALSE(QMediaDevices::audioOutputs().isEmpty()) << "the null sink is not seen as an output";
    Clip = Tmp.Write("clip.wav", WavBytes(GcClpMs));
    Long = Tmp.Write("long.wav", WavBytes(GcLngMs));
    // A long guard, so that an end seen here is the end of the sound.
    Snd.SetGuardMs(60000);
  }
  static constexpr int GcClpMs = 1500;
  static constexpr int GcLngMs = 8000;
  TTmpDir Tmp;
  std::string Clip, Long;
  TQtSoundOut Snd;
};

}  // namespace

TEST_F(QtSoundPulseTest, SyncPlayBlocksForTheLengthOfTheSound) {
  QElapsedTimer t;
  t.start();
  Snd.Play(Clip, true);
  const qint64 el = t.elapsed();
  EXPECT_GE(el, GcClpMs / 2);
  EXPECT_LT(el, GcClpMs + 8000);
  EXPECT_FALSE(Snd.Playing());
}

TEST_F(QtSoundPulseTest, SecondPlayCutsTheFirst) {
  QSignalSpy fin(&Snd, &TQtSoundOut::Finished);
  Snd.Play(Long, false);
  ASSERT_TRUE(RunUntil([&] { return Snd.Playing(); }, 3000));
  QElapsedTimer t;
  t.start();
  Snd.Play(Clip, true);
  const qint64 el = t.elapsed();
  EXPECT_EQ(fin.count(), 2);  // the long one cut, the clip ended
  // The wait was for the clip, not for what was left of the long sound.
  EXPECT_GE(el, GcClpMs / 2);
  EXPECT_LT(el, GcLngMs - 1000);
  EXPECT_FALSE(Snd.Playing());
}

TEST_F(QtSoundPulseTest, AsyncCueRightAfterASyncOnePlaysInFull) {
  Snd.Play(Clip, true);
  QSignalSpy fin(&Snd, &TQtSoundOut::Finished);
  QElapsedTimer t;
  t.start();
  Snd.Play(Clip, false);
  EXPECT_LT(t.elapsed(), 1000);  // returned at once
  EXPECT_TRUE(Snd.Playing());
  ASSERT_TRUE(RunUntil([&] { return fin.count() > 0; }, GcClpMs + 10000));
  EXPECT_GE(t.elapsed(), GcClpMs / 2);
}

TEST_F(QtSoundPulseTest, WorkerSyncPlayBlocksOnlyTheWorker) {
  std::atomic<bool> done{false};
  std::atomic<long long> el{0};
  int guiRounds = 0;
  std::thread wrk([&] {
    QElapsedTimer t;
    t.start();
    Snd.Play(Clip, true);
    el = t.elapsed();
    done = true;
  });
  EXPECT_TRUE(RunUntil([&] { ++guiRounds; return done.load(); }, GcClpMs + 10000));
  wrk.join();
  EXPECT_GE(el.load(), GcClpMs / 2);
  EXPECT_GT(guiRounds, 10);
}

// An installed cue (22050 Hz, a name with spaces and a dot) through its
// program path.
TEST_F(QtSoundPulseTest, InstalledCuePlaysForItsLength) {
  const std::string stg = TESSARO_STAGE_DIR;
  const std::string pth = NativePath(SndCuePth(SC_BTN_UPL, stg + "/", stg + "/bin/"));
  const int len = WavDurMs(pth);
  ASSERT_GT(len, 0) << pth;
  Snd.SetGuardMs(-1);
  QElapsedTimer t;
  t.start();
  Snd.Play(pth, true);
  EXPECT_GE(t.elapsed(), len / 2);
  EXPECT_LT(t.elapsed(), Snd.GuardMs(pth) + 4000);
}

int main(int argc, char** argv) { return RunQtTests(argc, argv, &StartPulse, &StopPulse); }
