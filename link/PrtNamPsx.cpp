#include "link/PrtNam.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "core/Seams.h"
#include "core/StrUtl.h"

namespace {

// True when a terminal driver serves the character device (the kernel's
// table /proc/tty/drivers: name, node, major, minor range, type). Without the
// table every character device passes.
bool IsTtyDev(dev_t rdev) {
  std::ifstream drv("/proc/tty/drivers");
  if (!drv) return true;
  const unsigned maj = major(rdev), min = minor(rdev);
  std::string nam, nod, rng;
  unsigned m = 0;
  while (drv >> nam >> nod >> m >> rng) {
    std::string typ;
    std::getline(drv, typ);
    if (m != maj) continue;
    char* end = nullptr;
    const unsigned long lo = std::strtoul(rng.c_str(), &end, 10);
    const unsigned long hi = *end == '-' ? std::strtoul(end + 1, nullptr, 10) : lo;
    if (min >= lo && min <= hi) return true;
  }
  return false;
}

}  // namespace

std::string PrtDevPth(const std::string& name) {
  if (!name.empty() && name[0] == '/') return name;
  const int n = PrtNum(name);
  if (n == 0) return {};
  if (std::string pth = PrtMapPth(n); !pth.empty()) return pth;
  if (n <= 4) return "/dev/ttyS" + std::to_string(n - 1);
  if (n <= 8) return "/dev/ttyUSB" + std::to_string(n - 5);
  if (n <= 12) return "/dev/ttyACM" + std::to_string(n - 9);
  return {};
}

bool PrtPrs(const std::string& name) {
  const std::string pth = PrtDevPth(name);
  if (pth.empty()) return false;
  struct stat sb{};
  if (::stat(pth.c_str(), &sb) != 0 || !S_ISCHR(sb.st_mode) || !IsTtyDev(sb.st_rdev)) return false;
  char buf[PATH_MAX];
  const char* real = ::realpath(pth.c_str(), buf);
  std::string dev = real ? real : pth;
  const std::string bas = dev.substr(dev.rfind('/') + 1);
  if (bas.rfind("ttyS", 0) == 0) {
    std::ifstream typ("/sys/class/tty/" + bas + "/type");
    int t = -1;
    if (typ >> t && t == 0) return false;
  }
  return true;
}

TPrtHldr PrtHldr(const std::string& devPth, const std::vector<std::string>& lckDirs) {
  if (devPth.empty()) return {};
  struct stat sb{};
  if (::stat(devPth.c_str(), &sb) != 0) return {};
  const long own = ::getpid();
  // Lock files of the serial programs, holding the owner's process number.
  char buf[PATH_MAX];
  const char* real = ::realpath(devPth.c_str(), buf);
  const std::string dev = real ? real : devPth;
  const std::string bas = dev.substr(dev.rfind('/') + 1);
  for (const std::string& dir : lckDirs) {
    std::ifstream f(dir + "LCK.." + bas);
    long pid = 0;
    if (f >> pid && pid > 0 && pid != own && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM))
      return {true, pid};
  }
  // Locks on the device's inode: "1: FLOCK  ADVISORY  WRITE 1234 00:05:87 0 EOF"
  // (an open file's lock has no process: -1).
  std::ifstream lck("/proc/locks");
  std::string lin;
  char ino[64];
  std::snprintf(ino, sizeof ino, ":%lu ", static_cast<unsigned long>(sb.st_ino));
  while (std::getline(lck, lin)) {
    if (lin.find(ino) == std::string::npos) continue;
    std::istringstream is(lin);
    std::string idx, knd, adv, mod, dev;
    long pid = 0;
    if (!(is >> idx >> knd)) continue;
    if (knd == "->") is >> knd;  // a waiting lock
    if (!(is >> adv >> mod >> pid >> dev)) continue;
    unsigned maj = 0, min = 0;
    unsigned long in = 0;
    if (std::sscanf(dev.c_str(), "%x:%x:%lu", &maj, &min, &in) != 3) continue;
    if (in == sb.st_ino && makedev(maj, min) == sb.st_dev && pid != own) return {true, pid > 0 ? pid : 0};
  }
  return {};
}

bool PrbComPrt(int n, bool& inUse) {
  inUse = false;
  // A number outside COM1 to COM19 names no port.
  const std::string name = "COM" + std::to_string(n);
  if (!PrtPrs(name)) return false;
  inUse = PrtInUse(PrtDevPth(name));
  return true;
}

namespace {

std::string RealPth(const std::string& pth) {
  char buf[PATH_MAX];
  const char* real = pth.empty() ? nullptr : ::realpath(pth.c_str(), buf);
  return real ? real : std::string();
}

}  // namespace

TLnkPrt LnkPrt(const std::string& lnk) {
  TLnkPrt res;
  if (lnk.empty() || lnk[0] != '/' || !PrtPrs(lnk)) return res;
  res.Dev = RealPth(lnk);
  if (res.Dev.empty()) return res;
  for (int n = 1; n <= 19; ++n) {
    const std::string name = "COM" + std::to_string(n);
    const std::string dev = PrtDevPth(name);
    if (!dev.empty() && RealPth(dev) == res.Dev && PrtPrs(name)) {
      res.Num = n;
      res.Lst = true;
      return res;
    }
  }
  for (int n = 13; n <= 19; ++n) {
    if (PrtDevPth("COM" + std::to_string(n)).empty()) {
      res.Num = n;
      return res;
    }
  }
  return res;
}

