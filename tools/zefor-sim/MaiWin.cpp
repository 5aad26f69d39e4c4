// zefor-sim on Windows: the simulated robot on a COM port (--device COMn),
// headless. Commands come on stdin, read by a thread of their own, since a
// console or a pipe cannot be waited for together with the port; the loop
// looks at the port at least every GcMaxWaiMs.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <iostream>
#include <mutex>
#include <string>
#include <thread>

#include "SimApp.h"
#include "sim/SimCmd.h"
#include "sim/SimDrv.h"

namespace {

const char* const GcUsg = "usage: zefor-sim --headless --device COMn [--speed FACTOR] [--no-pacing] [--tokens FILE]";

// The longest wait between two looks at the port, in milliseconds.
constexpr long long GcMaxWaiMs = 5;

volatile LONG GbQit = 0;

BOOL WINAPI OnCtl(DWORD) {
  ::InterlockedExchange(&GbQit, 1);
  return TRUE;
}

// The lines of stdin, handed from the reader thread to the loop.
struct TCmdQue {
  std::mutex Mtx;
  std::condition_variable Cv;
  std::deque<std::string> Lin;
  bool End = false;
};

void RdCmd(TCmdQue& q) {
  std::string line;
  while (std::getline(std::cin, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::lock_guard<std::mutex> lk(q.Mtx);
    q.Lin.push_back(line);
    q.Cv.notify_one();
  }
  std::lock_guard<std::mutex> lk(q.Mtx);
  q.End = true;
  q.Cv.notify_one();
}

// Runs the commands that have come; false when one of them ends the program.
bool RunCmd(TCmdQue& q, TSimDrv& drv, long long due, long long now) {
  std::unique_lock<std::mutex> lk(q.Mtx);
  const long long ms = std::clamp<long long>((due - now + 999) / 1000, 0, GcMaxWaiMs);
  q.Cv.wait_for(lk, std::chrono::milliseconds(ms), [&] { return !q.Lin.empty(); });
  while (!q.Lin.empty()) {
    const std::string line = q.Lin.front();
    q.Lin.pop_front();
    lk.unlock();
    std::string out;
    const TeSimCmd c = SimCmd(drv, line, SimWalNow(), out);
    if (c == TeSimCmd::Qit) return false;
    if (!out.empty()) {
      std::fputs(((c == TeSimCmd::Err ? "error: " : "") + out + "\n").c_str(), c == TeSimCmd::Err ? stderr : stdout);
      std::fflush(stdout);
    }
    lk.lock();
  }
  return true;
}

int RunHdl(TSimDrv& drv) {
  drv.Rbt().FOnTrc = [](const TuSimTrc& t) {
    std::fputs((FmtTrc(t) + "\n").c_str(), stdout);
    std::fflush(stdout);
  };
  drv.Sta(SimWalNow());
  TCmdQue q;
  // The reader may block in its read for good: it is left behind at the end.
  std::thread(RdCmd, std::ref(q)).detach();
  while (!SimQitReq()) {
    const long long now = SimWalNow();
    drv.Poll(now);
    if (!RunCmd(q, drv, drv.NxtDue(now, GcMaxWaiMs * 1000), now)) break;
  }
  std::fflush(stdout);
  return GcSimOk;
}

}  // namespace

bool SimQitReq() { return GbQit != 0; }

int OpnSimLin(const TuSimOpt& o, TSimDrv& drv) {
  std::string err;
  if (!o.Lnk.empty()) {
    std::cerr << "zefor-sim: --link needs symbolic links to devices, which this system does not have\n";
    return GcSimErr;
  }
  if (!(o.Dev.empty() ? drv.OpnPty(err) : drv.OpnDev(o.Dev, err))) {
    std::cerr << "zefor-sim: " << err << "\n";
    return GcSimErr;
  }
  SetUpSim(o, drv);
  return GcSimOk;
}

void RmvSimLnk(const TuSimOpt&) {}

int main(int argc, char** argv) {
  // Lines end in "\n" as on every other system.
  ::_setmode(::_fileno(stdout), _O_BINARY);
  std::vector<std::string> args(argv, argv + argc);
  TuSimOpt o;
  std::string why;
  if (PrsSimArg(args, o, why) != GcSimOk) {
    std::cerr << "zefor-sim: " << why << "\n" << GcUsg << "\n";
    return GcSimUsg;
  }
  if (!o.Hdl) {
    std::cerr << "zefor-sim: this build has no window; use --headless\n";
    return GcSimUsg;
  }
  ::SetConsoleCtrlHandler(OnCtl, TRUE);
  TSimDrv drv;
  const int rc = OpnSimLin(o, drv);
  if (rc != GcSimOk) return rc;
  const int end = RunHdl(drv);
  drv.Cls();
  // The reader thread may still wait for stdin: end without waiting for it.
  std::fflush(stdout);
  ::ExitProcess(static_cast<UINT>(end));
}
