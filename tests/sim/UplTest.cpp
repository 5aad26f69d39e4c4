// tessaro-upload in-process, against the simulated robot on a pseudo-terminal
// and against robot ends that stay silent or go away before the upload.
#include <gtest/gtest.h>

#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <sstream>
#include <thread>

#include "UplPgm.h"
#include "link/PckPrt.h"
#include "sim/SimCmd.h"
#include "sim/SimDrv.h"
#include "sim/SimThr.h"
#include "translator/InsAndTkn.h"

namespace {

using TBy = std::vector<std::uint8_t>;

const std::string GcTkn = TESSARO_DATA_DIR "/ExtComTkn.sys";
const std::string GcMsg = TESSARO_DATA_DIR "/SysMsgFil.sys";
std::string Exm(const std::string& n) { return TESSARO_DATA_DIR "/examples/" + n; }

// The built-in simulated robot's thread, with its trace kept for the checks.
class TSim {
public:
  TSim() {
    FThr.Do([this](TSimDrv& d) {
      d.Rbt().FOnTrc = [this](const TuSimTrc& t) {
        std::lock_guard<std::mutex> l(FMtx);
        FTrc.push_back(FmtTrc(t));
      };
    });
    std::string err;
    EXPECT_TRUE(FThr.Sta(err)) << err;
  }
  // The thread ends before the trace it writes goes.
  ~TSim() { FThr.Stp(); }
  const std::string& Pth() const { return FThr.Pth(); }
  void Stp() { FThr.Stp(); }
  template <typename F>
  auto Rbt(F f) const {
    decltype(f(std::declval<const TSimRbt&>())) v{};
    FThr.Qry([&](const TSimDrv& d) { v = f(d.Rbt()); });
    return v;
  }
  bool Has(const std::string& s) {
    std::lock_guard<std::mutex> l(FMtx);
    for (const auto& t : FTrc)
      if (t.find(s) != std::string::npos) return true;
    return false;
  }

private:
  TSimThr FThr;
  std::mutex FMtx;
  std::vector<std::string> FTrc;
};

int Upl(std::vector<std::string> a, std::string& out, std::string& err) {
  a.insert(a.begin(), {"tessaro-upload", "--tokens", GcTkn, "--messages", GcMsg});
  std::ostringstream o, e;
  const int rc = UplMai(a, o, e);
  out = o.str();
  err = e.str();
  return rc;
}

TBy Stm(const std::string& pgm) {
  TPgmFilOpt o;
  o.TknPth = GcTkn;
  o.MsgPth = GcMsg;
  o.PgmPth = pgm;
  TBy s;
  std::ostringstream err;
  EXPECT_TRUE(TrnPgmFil(o, err, [&](const TInsAndTkn& t) { s = t.FpTsmTknLst; })) << err.str();
  return s;
}

TEST(Upload, UploadAndRunReachTheSimulatedRobot) {
  TSim sim;
  std::string out, err;
  ASSERT_EQ(Upl({"--run", "--port", sim.Pth(), Exm("drive_square.vio")}, out, err), GcUplOk) << err;
  EXPECT_NE(out.find("transfer complete: 23 bytes"), std::string::npos) << out;
  EXPECT_NE(out.find("the program runs"), std::string::npos) << out;
  EXPECT_TRUE(sim.Has("upload and run: program of 23 bytes received"));

  // A plain upload replaces the running program and does not start it.
  ASSERT_EQ(Upl({"--port=" + sim.Pth(), Exm("sensor_if_then_else.vio"), "--language", "2"}, out, err), GcUplOk)
      << err;
  EXPECT_EQ(out.find("runs"), std::string::npos) << out;
  sim.Stp();
  EXPECT_EQ(sim.Rbt([](const TSimRbt& r) { return r.Pgm(); }), Stm(Exm("sensor_if_then_else.vio")));
  EXPECT_FALSE(sim.Rbt([](const TSimRbt& r) { return r.Running(); }));
  EXPECT_TRUE(sim.Has("program halted: a new program was uploaded"));
}

TEST(Upload, UsageErrorsExitTwoWithTheReason) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{Exm("drive_square.vio")}, "no port given"},
      {{"--port", "COM1"}, "no program file given"},
      {{"--port"}, "option --port needs a value"},
      {{"--port=", "a.vio"}, "--port needs a port name"},
      {{"--port", "COM1", "--language", "3", "a.vio"}, "--language must be 0, 1 or 2"},
      {{"--port", "COM1", "--timeout", "0", "a.vio"}, "--timeout takes seconds above 0"},
      {{"--port", "COM1", "--timeout", "2s", "a.vio"}, "not '2s'"},
      {{"--port", "COM1", "--listing", "a.vio"}, "unknown option '--listing'"},
      {{"--port", "COM1", "--run=1", "a.vio"}, "unknown option '--run=1'"},
      {{"--port", "COM1", "a.vio", "b.vio"}, "only one program file"},
      {{"--port", "COM1", "--port=COM1", "a.vio"}, "the port COM1 is given twice"},
  };
  for (const auto& [a, why] : cases) {
    std::string out, err;
    EXPECT_EQ(Upl(a, out, err), GcUplUsg) << why;
    EXPECT_NE(err.find(why), std::string::npos) << err;
    EXPECT_NE(err.find("usage: tessaro-upload"), std::string::npos) << err;
    EXPECT_TRUE(out.empty());
  }
}

TEST(Upload, FailuresBeforeSendingExitOneAndSendNothing) {
  TSim sim;
  std::string out, err;
  // A program that does not translate: its messages, as tessaro-compile prints them.
  char dir[] = "/tmp/tessaro-upl-XXXXXX";
  ASSERT_NE(::mkdtemp(dir), nullptr);
  const std::string bad = std::string(dir) + "/nostop.vio";
  std::ofstream(bad) << "START1\n0001\n0001\n\nEOF\n";
  EXPECT_EQ(Upl({"--port", sim.Pth(), bad}, out, err), GcUplErr);
  EXPECT_NE(err.find("After START instruction: nothing is connected"), std::string::npos) << err;
  EXPECT_NE(err.find("blink: START at column 1, row 1"), std::string::npos) << err;
  ::unlink(bad.c_str());
  ::rmdir(dir);

  EXPECT_EQ(Upl({"--port", std::string(dir) + "/tty", Exm("drive_square.vio")}, out, err), GcUplErr);
  EXPECT_NE(err.find("there is no such device"), std::string::npos) << err;
  EXPECT_EQ(Upl({"--port", "COM17", Exm("drive_square.vio")}, out, err), GcUplErr);
  EXPECT_NE(err.find("COM17 has no device"), std::string::npos) << err;
  EXPECT_EQ(Upl({"--port", "/dev/null", Exm("drive_square.vio")}, out, err), GcUplErr);
  EXPECT_NE(err.find("not a serial device"), std::string::npos) << err;
  EXPECT_TRUE(out.empty());
  sim.Stp();
  EXPECT_FALSE(sim.Rbt([](const TSimRbt& r) { return r.HasPgm(); }));
  EXPECT_FALSE(sim.Has("upload"));
}

// A descriptor of this process is open on the device.
int OpnCnt(const std::string& pth) {
  std::error_code ec;
  int n = 0;
  for (const auto& e : std::filesystem::directory_iterator("/proc/self/fd", ec))
    n += std::filesystem::read_symlink(e.path(), ec) == pth;
  return n;
}

// A robot end that the test holds itself: the master of a pseudo-terminal.
struct TRawEnd {
  int Mst = -1, Slv = -1;
  std::string Pth;
  TRawEnd() {
    EXPECT_EQ(::openpty(&Mst, &Slv, nullptr, nullptr, nullptr), 0);
    termios t{};
    ::tcgetattr(Slv, &t);
    ::cfmakeraw(&t);
    ::tcsetattr(Slv, TCSANOW, &t);
    Pth = ::ttyname(Slv);
    // The tool opens the device itself; the slave kept open here would keep
    // the line up when the master goes.
    ::close(Slv);
    // The hang-up reaches the master a moment later.
    for (int i = 0; i < 500; ++i) {
      pollfd p{Mst, POLLIN, 0};
      ::poll(&p, 1, 0);
      if (p.revents & POLLHUP) break;
      ::poll(nullptr, 0, 2);
    }
  }
  ~TRawEnd() {
    if (Mst >= 0) ::close(Mst);
  }
};

// (A robot that goes away during the upload: upload_e2e.sh.)
TEST(Upload, SilentRobotEndsWithTheReason) {
  TRawEnd end;
  std::string out, err;
  EXPECT_EQ(Upl({"--port", end.Pth, "--timeout", "0.2", Exm("drive_square.vio")}, out, err), GcUplErr);
  EXPECT_EQ(OpnCnt(end.Pth), 0) << "the tool left the port open";
  EXPECT_NE(err.find("no \"transfer complete\" from the robot on " + end.Pth + " within 0.3 s"), std::string::npos)
      << err;
  // The frame did go out.
  std::uint8_t buf[64];
  EXPECT_EQ(::read(end.Mst, buf, sizeof buf), 30);
  EXPECT_EQ(TBy(buf, buf + 6), (TBy{0x02, GcPckOrgOwn, buf[2], 23, 0x01, 0x00}));
}

// One program to eight robots at once: a line per robot, in the order of the
// ports. A robot that does not answer, or a port without a device, has its
// own line and makes the tool fail; the others are served all the same.
TEST(Upload, OneProgramToEightRobotsAtOnce) {
  std::vector<std::unique_ptr<TSim>> sim;
  std::vector<std::string> a{"--run"};
  for (int i = 0; i < 8; ++i) {
    sim.push_back(std::make_unique<TSim>());
    a.insert(a.end(), {"--port", sim.back()->Pth()});
  }
  a.push_back(Exm("drive_square.vio"));
  EXPECT_EQ(TSimThr::Lve(), 8);
  std::string out, err, want;
  ASSERT_EQ(Upl(a, out, err), GcUplOk) << out << err;
  for (const auto& s : sim) want += s->Pth() + ": transfer complete: 23 bytes to " + s->Pth() + ", the program runs\n";
  EXPECT_EQ(out, want);
  EXPECT_EQ(err, "");
  for (const auto& s : sim) EXPECT_TRUE(s->Has("upload and run: program of 23 bytes received"));

  TRawEnd end;
  a[8] = end.Pth;  // the fourth robot's port
  a.insert(a.end() - 1, {"--timeout", "1", "--port", "COM17"});
  EXPECT_EQ(Upl(a, out, err), GcUplErr);
  want.clear();
  for (int i = 0; i < 8; ++i)
    want += i == 3 ? end.Pth + ": no \"transfer complete\" from the robot on " + end.Pth +
                         " within 1.1 s: is the robot switched on and connected?\n"
                   : sim[i]->Pth() + ": transfer complete: 23 bytes to " + sim[i]->Pth() + ", the program runs\n";
  EXPECT_EQ(out, want + "COM17: the port COM17 has no device: give COM1 to COM12 or a device path\n");
  EXPECT_EQ(OpnCnt(end.Pth), 0) << "the tool left the port open";
  sim[2]->Stp();
  sim[2]->Stp();  // a second stop changes nothing
  EXPECT_EQ(TSimThr::Lve(), 7);
}

// The robot end goes while the tool is still in the quiet start after opening
// the port, when the serial component reports nothing.
TEST(Upload, RobotGoneDuringTheQuietStart) {
  TRawEnd end;
  const int bas = OpnCnt(end.Pth);
  std::thread quit([&] {
    // The tool runs in this process: its open shows in our descriptors.
    for (int i = 0; i < 1000 && OpnCnt(end.Pth) <= bas; ++i) ::poll(nullptr, 0, 5);
    // ... and has set the line (the master reads the terminal's settings):
    // from then on the quiet start of 1 s runs.
    for (int i = 0; i < 1000; ++i) {
      termios t{};
      if (::tcgetattr(end.Mst, &t) == 0 && ::cfgetospeed(&t) == B2400) break;
      ::poll(nullptr, 0, 5);
    }
    ::poll(nullptr, 0, 50);
    ::close(end.Mst);
    end.Mst = -1;
  });
  TuUplOpt o;
  std::string why;
  ASSERT_EQ(PrsUplArg({"tessaro-upload", "--tokens", GcTkn, "--messages", GcMsg, "--timeout", "60", "--port",
                       end.Pth, Exm("drive_square.vio")},
                      o, why),
            GcUplOk)
      << why;
  o.Qt = std::chrono::milliseconds(1000);
  std::ostringstream out, err;
  EXPECT_EQ(RunUpl(o, out, err), GcUplErr);
  quit.join();
  EXPECT_NE(err.str().find("was lost during the upload"), std::string::npos) << err.str();
}

// The robot end goes once the frame is under way: the teacher reads the
// message table's words, not the link's diagnostic.
TEST(Upload, RobotGoneDuringTheUploadIsSaidInWords) {
  TRawEnd end;
  std::thread quit([&] {
    std::size_t got = 0;
    std::uint8_t buf[64];
    // The frame of drive_square.vio: 30 bytes. Until the tool opens its end
    // the master hangs up at once, so each look waits its slice.
    for (int i = 0; i < 2000 && got < 30; ++i) {
      pollfd p{end.Mst, POLLIN, 0};
      if (::poll(&p, 1, 5) > 0 && (p.revents & POLLIN)) {
        const ssize_t n = ::read(end.Mst, buf, sizeof buf);
        if (n > 0) got += static_cast<std::size_t>(n);
      } else {
        ::poll(nullptr, 0, 5);
      }
    }
    ::close(end.Mst);
    end.Mst = -1;
  });
  TuUplOpt o;
  std::string why;
  ASSERT_EQ(PrsUplArg({"tessaro-upload", "--language", "0", "--tokens", GcTkn, "--messages", GcMsg, "--timeout", "60",
                       "--port", end.Pth, Exm("drive_square.vio")},
                      o, why),
            GcUplOk)
      << why;
  o.Qt = std::chrono::milliseconds(50);
  std::ostringstream out, err;
  EXPECT_EQ(RunUpl(o, out, err), GcUplErr);
  quit.join();
  EXPECT_EQ(err.str(), "the program was not transferred, the link was lost during the upload. Comport " + end.Pth +
                           ": the connection to the robot was lost. Plug the cable in again; the next command opens "
                           "the port again.\n");
}

}  // namespace
