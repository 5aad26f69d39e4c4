// zefor-sim: a simulated Zefor behind a serial line.
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

#include "SimApp.h"
#include "sim/SimCmd.h"
#include "sim/SimDrv.h"

namespace {

const char* const GcUsg =
    "usage: zefor-sim [--headless] [--device PATH] [--link PATH] [--speed FACTOR] [--no-pacing] [--tokens FILE]";

volatile sig_atomic_t GbQit = 0;
char GcLnkPth[4096] = "";  // the link made at start, for an end in a signal handler

// A quit that the loops do not see in time (the model busy catching up at a
// high speed factor) ends the process here, half a second after the signal.
void OnLat(int) {
  if (GcLnkPth[0]) ::unlink(GcLnkPth);
  ::_exit(GcSimOk);
}
void OnSig(int) {
  if (GbQit) return;
  GbQit = 1;
  itimerval t{};
  t.it_value.tv_usec = 500000;
  ::setitimer(ITIMER_REAL, &t, nullptr);
}

// Commands are read from a terminal only while this process has its
// foreground: started in the background with &, a read would stop it
// (SIGTTIN) at the next key the user types, and the robot would fall silent.
bool OwnStdIn() {
  if (!::isatty(STDIN_FILENO)) return true;
  const pid_t fg = ::tcgetpgrp(STDIN_FILENO);
  return fg < 0 || fg == ::getpgrp();  // < 0: not the controlling terminal
}

int RunHdl(const TuSimOpt& o, TSimDrv& drv) {
  drv.Rbt().FOnTrc = [](const TuSimTrc& t) {
    std::fputs((FmtTrc(t) + "\n").c_str(), stdout);
    std::fflush(stdout);
  };
  (void)o;
  drv.Sta(SimWalNow());
  bool inOpn = true;
  std::string acc;
  while (!GbQit) {
    const long long now = SimWalNow();
    drv.Poll(now);
    const long long due = drv.NxtDue(now, 50000);
    pollfd p[2];
    nfds_t n = 0;
    const bool cmd = inOpn && OwnStdIn();
    if (cmd) p[n++] = {STDIN_FILENO, POLLIN, 0};
    // A pseudo-terminal without a peer reports a hang-up all the time; the
    // driver looks at it on its own schedule then.
    if (drv.Fd() >= 0 && drv.PeerUp()) p[n++] = {drv.Fd(), POLLIN, 0};
    const int ms = static_cast<int>(std::max<long long>(0, (due - now + 999) / 1000));
    if (::poll(p, n, ms) < 0 && errno != EINTR) break;
    if (cmd && (p[0].revents & (POLLIN | POLLHUP | POLLERR))) {
      char buf[512];
      const ssize_t r = ::read(STDIN_FILENO, buf, sizeof buf);
      if (r <= 0) {
        inOpn = false;  // no more commands; the robot goes on until it is stopped
        continue;
      }
      acc.append(buf, static_cast<std::size_t>(r));
      std::size_t nl;
      while ((nl = acc.find('\n')) != std::string::npos) {
        std::string line = acc.substr(0, nl);
        acc.erase(0, nl + 1);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::string out;
        const TeSimCmd c = SimCmd(drv, line, SimWalNow(), out);
        if (c == TeSimCmd::Qit) return GcSimOk;
        if (!out.empty()) {
          std::fputs(((c == TeSimCmd::Err ? "error: " : "") + out + "\n").c_str(),
                     c == TeSimCmd::Err ? stderr : stdout);
          std::fflush(stdout);
        }
      }
    }
  }
  return GcSimOk;
}

}  // namespace

bool SimQitReq() { return GbQit != 0; }

int OpnSimLin(const TuSimOpt& o, TSimDrv& drv) {
  std::string err;
  const bool ok = o.Dev.empty() ? drv.OpnPty(err) : drv.OpnDev(o.Dev, err);
  if (!ok) {
    std::cerr << "zefor-sim: " << err << "\n";
    return GcSimErr;
  }
  if (!o.Lnk.empty()) {
    struct stat st{};
    if (::lstat(o.Lnk.c_str(), &st) == 0) {
      if (!S_ISLNK(st.st_mode)) {
        std::cerr << "zefor-sim: " << o.Lnk << " exists and is not a symbolic link; it is left alone\n";
        return GcSimErr;
      }
      ::unlink(o.Lnk.c_str());
    }
    if (::symlink(drv.Pth().c_str(), o.Lnk.c_str()) != 0) {
      std::cerr << "zefor-sim: cannot make the link " << o.Lnk << ": " << std::strerror(errno) << "\n";
      return GcSimErr;
    }
  }
  SetUpSim(o, drv);
  return GcSimOk;
}

void RmvSimLnk(const TuSimOpt& o) {
  if (o.Lnk.empty()) return;
  struct stat st{};
  if (::lstat(o.Lnk.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) ::unlink(o.Lnk.c_str());
}

int main(int argc, char** argv) {
  std::vector<std::string> args(argv, argv + argc);
  TuSimOpt o;
  std::string why;
  if (PrsSimArg(args, o, why) != GcSimOk) {
    std::cerr << "zefor-sim: " << why << "\n" << GcUsg << "\n";
    return GcSimUsg;
  }
#ifndef TESSARO_SIM_GUI
  if (!o.Hdl) {
    std::cerr << "zefor-sim: this build has no window; use --headless\n";
    return GcSimUsg;
  }
#endif
  struct sigaction sa{};
  sa.sa_handler = OnSig;
  ::sigaction(SIGINT, &sa, nullptr);
  ::sigaction(SIGTERM, &sa, nullptr);
  ::sigaction(SIGHUP, &sa, nullptr);
  ::signal(SIGPIPE, SIG_IGN);
  sa.sa_handler = OnLat;
  ::sigaction(SIGALRM, &sa, nullptr);

  TSimDrv drv;
  int rc = OpnSimLin(o, drv);
  if (rc != GcSimOk) return rc;
  if (o.Lnk.size() < sizeof GcLnkPth) std::memcpy(GcLnkPth, o.Lnk.c_str(), o.Lnk.size() + 1);
#ifdef TESSARO_SIM_GUI
  rc = o.Hdl ? RunHdl(o, drv) : RunSimWnd(argc, argv, o, drv);
#else
  rc = RunHdl(o, drv);
#endif
  RmvSimLnk(o);
  return rc;
}
