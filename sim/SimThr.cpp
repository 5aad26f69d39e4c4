#include "sim/SimThr.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

namespace {
TSimWal WalNow() {
  return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}
// The longest wait of the loop when nothing falls due (the robot at rest
// reports its sensors twice a second anyway).
constexpr TSimWal GcMaxWai = 1000000;
}  // namespace

TSimThr::TSimThr() = default;

TSimThr::~TSimThr() { Stp(); }

bool TSimThr::Sta(std::string& err) {
  if (Running()) return true;
  if (::pipe2(FhWak, O_NONBLOCK | O_CLOEXEC) != 0) {
    err = std::string("cannot make the simulated robot's wake-up pipe: ") + std::strerror(errno);
    FhWak[0] = FhWak[1] = -1;
    return false;
  }
  if (!FDrv.OpnPty(err)) {
    ::close(FhWak[0]);
    ::close(FhWak[1]);
    FhWak[0] = FhWak[1] = -1;
    return false;
  }
  ::fcntl(FDrv.Fd(), F_SETFD, FD_CLOEXEC);
  FsPth = FDrv.Pth();
  FbStp = false;
  FDrv.Sta(WalNow());
  ++GiLve;
  FThr = std::thread([this] { Lop(); });
  return true;
}

void TSimThr::Stp() {
  if (!FThr.joinable()) return;
  FbStp = true;
  Wak();
  FThr.join();
  --GiLve;
  {
    std::lock_guard<std::mutex> lk(FMtx);
    FDrv.Cls();
  }
  ::close(FhWak[0]);
  ::close(FhWak[1]);
  FhWak[0] = FhWak[1] = -1;
  FsPth.clear();
}

void TSimThr::Wak() {
  const char b = 1;
  // A full pipe wakes the thread just as well.
  while (::write(FhWak[1], &b, 1) < 0 && errno == EINTR) {
  }
}

void TSimThr::Qry(const std::function<void(const TSimDrv&)>& fn) const {
  std::lock_guard<std::mutex> lk(FMtx);
  fn(FDrv);
}

void TSimThr::Do(const std::function<void(TSimDrv&)>& fn) {
  {
    std::lock_guard<std::mutex> lk(FMtx);
    fn(FDrv);
  }
  if (Running()) Wak();
}

void TSimThr::SetSpd(double fac) {
  Do([fac](TSimDrv& d) { d.SetSpd(fac, WalNow()); });
}

void TSimThr::SetOnAct(std::function<void()> fn) {
  std::lock_guard<std::mutex> lk(FMtx);
  FOnAct = std::move(fn);
}

void TSimThr::Lop() {
  while (!FbStp) {
    TSimWal now = WalNow(), due = now;
    int fd = -1;
    {
      std::lock_guard<std::mutex> lk(FMtx);
      const std::uint64_t rcv = FDrv.RcvCnt();
      FDrv.Poll(now);
      if (FOnAct && (FDrv.Mov() || FDrv.RcvCnt() != rcv)) FOnAct();
      due = FDrv.NxtDue(now, GcMaxWai);
      // Without a peer the pseudo-terminal reports a hang-up all the time;
      // the driver looks at it on its own schedule then.
      if (FDrv.PeerUp()) fd = FDrv.Fd();
    }
    pollfd p[2] = {{FhWak[0], POLLIN, 0}, {fd, POLLIN, 0}};
    const int ms = static_cast<int>(std::max<TSimWal>(0, (due - now + 999) / 1000));
    if (::poll(p, fd >= 0 ? 2 : 1, ms) < 0 && errno != EINTR) break;
    if (p[0].revents & POLLIN) {
      char buf[64];
      while (::read(FhWak[0], buf, sizeof buf) > 0) {
      }
    }
  }
}
