// tessaro-linkbench: measures the serial component on a pseudo-terminal pair.
//
//   tessaro-linkbench [--bytes N] [--idle-seconds S] [--check]
//
// Prints one line per figure, "name value":
//   tx_bytes_per_s     SndChr to the far end
//   rx_bytes_per_s     far end to the receive event
//   plain_bytes_per_s  a plain one-byte write/read loop on the same pseudo-terminal
//   idle_cpu_percent   CPU time of the process with the port open and silent,
//                      in percent of one core
// A pseudo-terminal has no line speed, so the component itself is measured.
// The far end sends in a window of 512 bytes ahead of the receive event, as a
// line would: a burst faster than the receive handler overflows the receive
// buffer, which ends the link by design.
// With --check the exit status is 1 when a figure misses its target
// (20000 bytes per second each way, under 0.5 % idle).
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "core/Globals.h"
#include "link/LnkSes.h"

namespace {

using TClk = std::chrono::steady_clock;

double Sec(TClk::time_point a, TClk::time_point b) { return std::chrono::duration<double>(b - a).count(); }

double CpuSec() {
  timespec ts{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

void MakRaw(int fd) {
  termios t{};
  ::tcgetattr(fd, &t);
  ::cfmakeraw(&t);
  t.c_cflag |= CLOCAL | CREAD;
  ::tcsetattr(fd, TCSANOW, &t);
}

[[noreturn]] void Die(const std::string& msg) {
  std::fprintf(stderr, "tessaro-linkbench: %s\n", msg.c_str());
  std::exit(2);
}

// Read n bytes from fd, at most chunk at a time; false on a failure or when
// nothing comes for 10 s.
bool RdAll(int fd, std::size_t n, std::size_t chunk, std::vector<std::uint8_t>* keep) {
  std::vector<std::uint8_t> buf(chunk);
  std::size_t got = 0;
  while (got < n) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 10000) <= 0) return false;
    const ssize_t r = ::read(fd, buf.data(), std::min(chunk, n - got));
    if (r < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (r <= 0) return false;
    if (keep) keep->insert(keep->end(), buf.begin(), buf.begin() + r);
    got += static_cast<std::size_t>(r);
  }
  return true;
}

bool WrAll(int fd, const std::uint8_t* b, std::size_t n) {
  while (n > 0) {
    const ssize_t r = ::write(fd, b, n);
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) return false;
    b += r;
    n -= static_cast<std::size_t>(r);
  }
  return true;
}

struct TBchOpt {
  std::size_t NByt = 200000;
  int IdlSec = 10;
  bool Chk = false;
};

// False on an unknown argument.
bool PrsArg(int argc, char** argv, TBchOpt& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--bytes" && i + 1 < argc)
      o.NByt = std::strtoul(argv[++i], nullptr, 10);
    else if (a == "--idle-seconds" && i + 1 < argc)
      o.IdlSec = std::atoi(argv[++i]);
    else if (a == "--check")
      o.Chk = true;
    else
      return false;
  }
  if (o.NByt == 0) o.NByt = 1;
  return true;
}

// The component on the slave end of a pseudo-terminal pair, bound to its
// two ring buffers on the robot's line as the link session binds it, but
// counting the raw bytes it receives (no frames) and checking that byte i is i * 7.
struct TBchLnk {
  TTxMtxAndRbf Tx;
  TRxMtxAndRbf Rx;
  TComport2p5 Com{nullptr};  // after the buffers: its threads end before they go
  std::atomic<std::size_t> Rcv{0};
  std::atomic<bool> Bad{false};
  std::atomic<bool> LnkErr{false};

  explicit TBchLnk(const std::string& pth) {
    SetRbtLin(Com, pth);
    BndComRbf(Com, Tx, Rx);
    Com.FOnComPrtComEvt = [this](TComport2p5*, std::uint8_t, std::uint32_t, std::uint8_t d) {
      const std::size_t i = Rcv.load(std::memory_order_relaxed);
      if (d != static_cast<std::uint8_t>(i * 7)) Bad = true;
      Rcv.store(i + 1, std::memory_order_release);
    };
    Com.FOnComPrtErrEvt = [this](TComport2p5*, std::int8_t c, const std::string& t) {
      std::fprintf(stderr, "link error %d: %s\n", c, t.c_str());
      LnkErr = true;
    };
    Com.FOnComPrtCtlEvt = [](TComport2p5*, std::uint32_t) {};
    if (const TOpnPrtRes r = Com.OpnPrt(); !r.Ok()) Die("OpnPrt gave " + std::to_string(r.Cod()));
    Com.FbBlkCbk = false;
  }
};

// Bytes per second from SndChr to the far end.
double MeaTx(TComport2p5& com, int mst, std::size_t nByt) {
  std::vector<std::uint8_t> far;
  far.reserve(nByt);
  bool farOk = false;
  const auto t0 = TClk::now();
  std::thread rd([&] { farOk = RdAll(mst, nByt, 4096, &far); });
  for (std::size_t i = 0; i < nByt; ++i) {
    while (!com.SndChr(static_cast<std::uint8_t>(i * 13))) {
      if (GuLstErrMsg != "Tx ringbuffer is full") Die("SndChr: " + GuLstErrMsg);
      std::this_thread::yield();
    }
  }
  rd.join();
  const auto t1 = TClk::now();
  if (!farOk) Die("the far end did not get every byte");
  for (std::size_t i = 0; i < nByt; ++i)
    if (far[i] != static_cast<std::uint8_t>(i * 13)) Die("bytes sent out of order");
  return static_cast<double>(nByt) / Sec(t0, t1);
}

// Bytes per second from the far end to the receive event.
double MeaRx(TBchLnk& lnk, int mst, std::size_t nByt) {
  std::vector<std::uint8_t> in(nByt);
  for (std::size_t i = 0; i < nByt; ++i) in[i] = static_cast<std::uint8_t>(i * 7);
  const auto t2 = TClk::now();
  std::thread wr([&] {
    constexpr std::size_t win = 512, chk = 128;
    for (std::size_t off = 0; off < nByt && !lnk.LnkErr; off += chk) {
      while (off > lnk.Rcv.load(std::memory_order_acquire) + win && !lnk.LnkErr)
        std::this_thread::sleep_for(std::chrono::microseconds(50));
      if (!WrAll(mst, in.data() + off, std::min(chk, nByt - off))) return;
    }
  });
  const auto lim = TClk::now() + std::chrono::seconds(60);
  while (lnk.Rcv.load(std::memory_order_acquire) < nByt && !lnk.LnkErr && TClk::now() < lim)
    std::this_thread::sleep_for(std::chrono::microseconds(100));
  const auto t3 = TClk::now();
  wr.join();
  if (lnk.Rcv.load() < nByt)
    Die("received " + std::to_string(lnk.Rcv.load()) + " of " + std::to_string(nByt) + " bytes");
  if (lnk.Bad) Die("bytes received out of order");
  return static_cast<double>(nByt) / Sec(t2, t3);
}

// Percent of one core that the process takes with the port open and silent.
double MeaIdl(int sec) {
  const double c0 = CpuSec();
  const auto t4 = TClk::now();
  std::this_thread::sleep_for(std::chrono::seconds(sec));
  return (CpuSec() - c0) / Sec(t4, TClk::now()) * 100.0;
}

// Bytes per second of a plain loop: one byte per write on the master, one
// byte per read on the slave.
double MeaPln(int mst, int slv, std::size_t nByt) {
  bool plnOk = false;
  const auto t5 = TClk::now();
  std::thread prd([&] { plnOk = RdAll(slv, nByt, 1, nullptr); });
  for (std::size_t i = 0; i < nByt; ++i) {
    const std::uint8_t b = static_cast<std::uint8_t>(i);
    if (!WrAll(mst, &b, 1)) Die("plain write failed");
  }
  prd.join();
  const auto t6 = TClk::now();
  if (!plnOk) Die("plain read failed");
  return static_cast<double>(nByt) / Sec(t5, t6);
}

}  // namespace

int main(int argc, char** argv) {
  TBchOpt o;
  if (!PrsArg(argc, argv, o)) {
    std::fprintf(stderr, "usage: tessaro-linkbench [--bytes N] [--idle-seconds S] [--check]\n");
    return 2;
  }
  int mst = -1, slv = -1;
  if (::openpty(&mst, &slv, nullptr, nullptr, nullptr) != 0) Die("no pseudo-terminal");
  MakRaw(mst);
  MakRaw(slv);

  auto lnk = std::make_unique<TBchLnk>(::ttyname(slv));
  const double txRat = MeaTx(lnk->Com, mst, o.NByt);
  const double rxRat = MeaRx(*lnk, mst, o.NByt);
  const double idl = MeaIdl(o.IdlSec);
  lnk.reset();
  const double plnRat = MeaPln(mst, slv, o.NByt);
  ::close(mst);
  ::close(slv);

  std::printf("tx_bytes_per_s %.0f\n", txRat);
  std::printf("rx_bytes_per_s %.0f\n", rxRat);
  std::printf("plain_bytes_per_s %.0f\n", plnRat);
  std::printf("idle_cpu_percent %.3f\n", idl);
  if (o.Chk && (txRat < 20000 || rxRat < 20000 || idl >= 0.5)) return 1;
  return 0;
}
