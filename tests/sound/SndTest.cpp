// Wave headers, and one driver over cases.txt: the wave file player and the
// cues against the recording seams and, in builds with the windows, the sound
// output on QSoundEffect, into a PulseAudio null sink started for this process
// when pulseaudio is installed.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "core/PathUtl.h"
#include "sound/PlyWavFil.h"
#include "sound/SndCue.h"
#include "sound/WavGen.h"
#include "sound/WavInf.h"
#include "support/FakePlatform.h"
#ifdef TESSARO_SND_QT
#include <QAudioDevice>
#include <QElapsedTimer>
#include <QMediaDevices>
#include <QSignalSpy>
#include <QTest>

#include <atomic>
#include <csignal>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>

#include "sound/QtTstEnv.h"
#include "sound/qt/QtSoundOut.h"
#endif

namespace {

TEST(WavInf, LengthAndCompletenessFromHeader) {
  const std::string fmt = WavFmt(8000), pad(1, '\0');
  const std::string fmt18 = WavChk("fmt ", fmt.substr(8) + std::string(2, '\0'), 18);
  auto smp = [](int ms) { return std::string(std::size_t(16 * ms), '\0'); };  // 16000 bytes a second
  const struct {
    const char* Nam;
    std::string Bytes;
    int Ms;
    bool Cmp;  // complete: every stated sample present
  } cas[] = {
      {"plain", WavBytes(1500), 1500, true},
      {"22050 Hz", WavBytes(1240, 22050), 1240, true},
      {"list chunk before data", WavRiff(fmt + WavChk("LIST", "abcd", 4) + WavChk("data", smp(250), 4000)), 250, true},
      {"odd chunk padded", WavRiff(fmt + WavChk("junk", "abc", 3) + pad + WavChk("data", smp(100), 1600)), 100, true},
      {"extended fmt", WavRiff(fmt18 + WavChk("data", smp(300), 4800)), 300, true},
      {"8 bit", WavRiff(WavFmt(8000, 8) + WavChk("data", std::string(800, '\x80'), 800)), 100, true},
      {"24 bit", WavRiff(WavFmt(8000, 24) + WavChk("data", std::string(2400, '\0'), 2400)), 100, true},
      {"32 bit", WavRiff(WavFmt(8000, 32) + WavChk("data", std::string(3200, '\0'), 3200)), 100, true},
      {"12 bit", WavRiff(WavFmt(8000, 12) + WavChk("data", std::string(1200, '\0'), 1200)), 100, false},
      {"streamed size placeholder", WavRiff(fmt + WavChk("data", smp(400), 0xffffffffu)), 400, false},
      {"data cut off", WavRiff(fmt + WavChk("data", smp(100), 16000)), 100, false},
      {"header only", WavRiff(fmt + WavChk("data", "", 16000)), 0, false},
      {"empty data", WavRiff(fmt + WavChk("data", "", 0)), 0, true},
      {"not RIFF", "RIFX" + WavBytes(100).substr(4), -1, false},
      {"not WAVE", WavBytes(100).replace(8, 4, "AVI "), -1, false},
      {"data before fmt", WavRiff(WavChk("data", smp(100), 1600) + fmt), -1, false},
      {"no data chunk", WavRiff(fmt), -1, false},
      {"byte rate 0", WavRiff(WavFmt(0) + WavChk("data", smp(100), 1600)), -1, false},
      {"short fmt", WavRiff(WavChk("fmt ", std::string(8, '\1'), 8) + WavChk("data", smp(100), 1600)), -1, false},
      {"truncated fmt", WavRiff("fmt " + std::string("\x10\0\0\0\1\0", 6)), -1, false},
      {"too short", "RIFF", -1, false},
      {"empty", "", -1, false},
      {"chunk size beyond end", WavRiff(fmt + WavChk("LIST", "ab", 0xfffffff0u)), -1, false},
      // Beyond the head that is read: the file's size decides completeness.
      {"long", WavBytes(9000), 9000, true},
      {"long cut off", WavBytes(9000).substr(0, 100000), 6247, false},
  };
  TTmpDir tmp;
  for (const auto& c : cas) {
    const auto* b = reinterpret_cast<const std::uint8_t*>(c.Bytes.data());
    TuWavInf inf;
    const std::string pth = tmp.Write("a.wav", c.Bytes);
    EXPECT_EQ(WavInfRd(b, c.Bytes.size(), c.Bytes.size(), inf) && WavCmp(inf), c.Cmp) << c.Nam;
    EXPECT_EQ(WavDurMs(b, c.Bytes.size()), c.Ms) << c.Nam;
    EXPECT_EQ(WavDurMs(pth), c.Ms) << c.Nam;
    EXPECT_EQ(WavCmp(pth), c.Cmp) << c.Nam;
  }
  for (const std::string& p : {tmp.Path() + "missing.wav", tmp.Path()})  // no file; a folder
    EXPECT_EQ(WavDurMs(p) + WavCmp(p), -1);
  for (int n = 1; n <= 6; ++n)  // the switch numbers play their own number
    EXPECT_EQ(SndCuePth(SndCueSwi(n)->Cue, "I\\", "A\\"), "I\\Sounds\\System\\" + std::to_string(n) + ".wav");
  for (int n : {-1, 0, 7}) EXPECT_EQ(SndCueSwi(n), nullptr);
  EXPECT_EQ(SndCuePth(TeSndCue(GcSndCueCnt), "I\\", "A\\"), "");
  EXPECT_EQ(LgeCuePth("C:\\T\\Sounds\\System\\1.wav", "nl"), "C:\\T\\Sounds\\nl\\1.wav");
  EXPECT_EQ(LgeCuePth("1.wav", "nl"), "");
}

#ifdef TESSARO_SND_QT
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

// ms taken by f.
qint64 Took(const std::function<void()>& f) {
  QElapsedTimer t;
  return t.start(), f(), t.elapsed();
}

// A request to the output: [sync] [<T] [>T] PATH.
struct TReq {
  explicit TReq(std::istringstream& is) {
    for (std::string t; (is >> std::ws) && is.peek() != '/' && is.peek() != EOF && (is >> t);)
      if (t == "sync") Sync = true;
      else (t[0] == '<' ? Hi : Lo) = t.substr(1);
    std::getline(is, Pth);
  }
  bool Sync = false;
  std::string Lo, Hi, Pth;
};
#endif

// Sound calls seen by each "let pending events run", to check their order.
std::vector<std::size_t> GvSndAtPrc;
TFakePlatform* GpFak = nullptr;

class Snd : public ::testing::TestWithParam<std::string> {
protected:
  Snd() { GpFak = &Fak, Fak.EvtLoop.OnPrcMsg = [] { GvSndAtPrc.push_back(GpFak->Sound.Calls.size()); }; }
  ~Snd() override {
    GpFak = nullptr;
#ifdef TESSARO_SND_QT
    Out.reset();  // releases a waiting worker
    if (Wrk.joinable()) Wrk.join();
#endif
  }
  // "~" the case's folder, "@cue" the installed upload cue.
  std::string Sub(std::string s) {
    const std::string stg = TESSARO_STAGE_DIR, cue = NativePath(SndCuePth(SC_BTN_UPL, stg + "/", stg + "/bin/"));
    for (const auto& [k, v] : {std::pair<std::string, std::string>{"~", Tmp.Path()}, {"@cue", cue}})
      for (std::size_t p; (p = s.find(k)) != std::string::npos;) s.replace(p, k.size(), v);
    return s;
  }
  void Do(const std::string& cmd, const std::string& arg);
  TFakePlatform Fak;
  TTmpDir Tmp;
#ifdef TESSARO_SND_QT
  void DoOut(const std::string& cmd, const std::string& arg);
  // The time of a request within its bounds.
  void Check(const TReq& r, qint64 el) {
    auto bnd = [&](const std::string& t) {
      int v = 0;
      std::istringstream ts(t);
      for (std::string x; std::getline(ts, x, '+');)
        v += x == "M" ? TQtSoundOut::GcGrdMrgMs : x[0] == 'L' ? WavDurMs(r.Pth) / (x == "L/2" ? 2 : 1) : std::stoi(x);
      return v;
    };
    EXPECT_TRUE(r.Lo.find('L') == std::string::npos || WavDurMs(r.Pth) > 0) << r.Pth;
    EXPECT_GE(el, r.Lo.empty() ? 0 : bnd(r.Lo)) << r.Pth;
    EXPECT_LT(el, r.Hi.empty() ? 1000000 : bnd(r.Hi)) << r.Pth;
  }
  std::unique_ptr<TQtSoundOut> Out = std::make_unique<TQtSoundOut>();
  QSignalSpy Fin{Out.get(), &TQtSoundOut::Finished};
  QTimer Tick;
  int Ticks = 0;
  std::thread Wrk;
  std::atomic<qint64> WrkMs{-1};
#endif
};

void Snd::Do(const std::string& cmd, const std::string& arg) {
  if (cmd == "wave" || cmd == "cut" || cmd == "text") {  // the numbers are the last words
    const std::size_t p = cmd == "cut" ? arg.rfind(' ', arg.rfind(' ') - 1) : arg.rfind(' ');
    std::istringstream ns(arg.substr(p));
    std::size_t v = 0, n = 0;
    ns >> v >> n;
    Tmp.Write(arg.substr(0, p), cmd == "text" ? std::string(v, 'x') : WavBytes(int(v)).substr(0, cmd == "cut" ? n : -1));
  } else if (cmd == "cueof") {  // PATH => the first cue of that file name, as the table writes it, or "-"
    const auto eq = arg.find(" => ");
    const int c = SndCueOfPth(arg.substr(0, eq));
    EXPECT_EQ(c < 0 ? std::string("-") : GcSndCue[c].Nam, arg.substr(eq + 4));
  } else if (cmd == "ply") {
    const auto eq = arg.find(" => ");
    std::istringstream hs(arg.substr(0, eq));
    int lge = 0;
    std::string how, pth;
    hs >> lge >> how, std::getline(hs >> std::ws, pth);
    TclsPlyWavFil ply;
    ply.SetLgeDir(SndLgeDir(std::uint8_t(lge)));
    Fak.Sound.Calls.clear(), Fak.MsgBox.Calls.clear(), GvSndAtPrc.clear();
    int c = 0;  // the cue of that file name
    while (how == "cue" && c < GcSndCueCnt && !std::string(GcSndCue[c].Nam).ends_with("\\" + pth + ".wav")) ++c;
    const bool ok = how == "cue"     ? PlySndCue(ply, TeSndCue(c), Tmp.Path(), Tmp.Path() + "bin/")
                    : how == "async" ? ply.PlyWavFil(pth)
                                     : ply.PlyWavFilFlg(pth, std::uint32_t(std::stoul(how.substr(6), nullptr, 0)));
    std::string seen;
    for (const auto& m : Fak.MsgBox.Calls) seen += "box " + m.Text + (m.Caption.empty() && m.Buttons == TeMsgBtn::Ok ? "" : "?");
    for (const auto& s : Fak.Sound.Calls) seen += s.Path + (s.Sync ? " sync" : " async");
    EXPECT_EQ(seen.empty() ? "-" : seen, arg.substr(eq + 4));
    EXPECT_EQ(ok, !seen.empty() && seen.rfind("box ", 0) != 0);
    EXPECT_EQ(GvSndAtPrc, (ok ? std::vector<std::size_t>{0, 1} : std::vector<std::size_t>{}));  // before the sound and after
  } else {
#ifdef TESSARO_SND_QT
    DoOut(cmd, arg);
#else
    GTEST_SKIP() << "a case of the sound output, which this build has not";
#endif
  }
}

#ifdef TESSARO_SND_QT
void Snd::DoOut(const std::string& cmd, const std::string& arg) {
  std::istringstream is(arg);
  std::string a;
  if (cmd == "device") Out->SetDevChk([on = arg == "yes"] { return on; });
  else if (cmd == "guard") Out->SetGuardMs(std::stoi(arg));
  else if (cmd == "real" && QMediaDevices::audioOutputs().isEmpty()) GTEST_SKIP() << "no sound output (pulseaudio missing?)";
  else if (cmd == "real") {
  } else if (cmd == "play" || (cmd == "thread" && (is >> a))) {  // a: play or stop
    const TReq r(is);
    const auto f = [&] { a == "stop" ? Out->Stop() : Out->Play(r.Pth, r.Sync); };
    Check(r, Took([&] { cmd == "thread" ? std::thread(f).join() : f(); }));
  } else if (cmd == "worker") {
    Wrk = std::thread([this, r = TReq(is), o = Out.get()] { WrkMs = Took([&] { o->Play(r.Pth, r.Sync); }); });
  } else if (cmd == "worker-waits") EXPECT_EQ(WrkMs, -1);
  else if (cmd == "worker-done") {
    ASSERT_TRUE(QTest::qWaitFor([this] { return WrkMs >= 0; }, 10000));
    Wrk.join();
    Check(TReq(is), WrkMs);
  } else if (cmd == "stop") Out->Stop();
  else if (cmd == "playing") EXPECT_EQ(Out->Playing(), arg == "yes");
  else if (cmd == "wait-playing") EXPECT_TRUE(QTest::qWaitFor([&] { return Out->Playing() == (arg == "yes"); }, 5000));
  else if (cmd == "finished") EXPECT_EQ(Fin.count(), std::stoi(arg));
  else if (cmd == "later" && (is >> a)) QTimer::singleShot(std::stoi(a), Out.get(), [this, r = TReq(is)] { Out->Play(r.Pth, false); });
  else if (cmd == "on-finished")
    QObject::connect(Out.get(), &TQtSoundOut::Finished, Out.get(), [this, arg, n = 0]() mutable { n++ ? void() : Out->Play(arg, false); });
  else if (cmd == "ticking") QObject::connect(&Tick, &QTimer::timeout, [this] { ++Ticks; }), Tick.start(20);
  else if (cmd == "ticks") EXPECT_GE(Ticks, std::stoi(arg));
  else if (cmd == "events") QCoreApplication::processEvents();
  else if (cmd == "destroy") Out.reset();
  else FAIL() << "unknown command";
}
#endif

// The cases of cases.txt ("case NAME" for the player, "output NAME" for the
// sound output) with their lines.
std::map<std::string, std::vector<std::string>> Cases() {
  std::ifstream f(std::string(TESSARO_SOURCE_DIR) + "/tests/sound/cases.txt");
  std::map<std::string, std::vector<std::string>> m;
  std::string cur;
  for (std::string l; std::getline(f, l);)
    if (l.rfind("case ", 0) == 0 || l.rfind("output ", 0) == 0) m[cur = l.substr(l.find(' ') + 1)];
    else if (!cur.empty() && !l.empty() && l[0] != '#') m[cur].push_back(l);
  return m;
}

TEST_P(Snd, Case) {
  const auto cases = Cases();
  for (const std::string& l : cases.at(GetParam())) {
    SCOPED_TRACE(l);
    const auto sp = l.find(' ');
    Do(l.substr(0, sp), sp == std::string::npos ? "" : Sub(l.substr(sp + 1)));
    if (HasFatalFailure() || IsSkipped()) return;
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, Snd, ::testing::ValuesIn([] {
  std::vector<std::string> v;
  for (const auto& c : Cases()) v.push_back(c.first);
  return v;
}()), [](const auto& i) { return i.param; });

}  // namespace

#ifdef TESSARO_SND_QT
int main(int argc, char** argv) {
  return RunQtTests(argc, argv, &StartPulse, [] {
    if (GiPls > 0 && kill(GiPls, SIGKILL) == 0) waitpid(GiPls, nullptr, 0);
  });
}
#endif
