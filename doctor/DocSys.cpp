#include "doctor/DocSys.h"

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "link/PrtNam.h"
#include "link/SerLin.h"

namespace fs = std::filesystem;

namespace {

// First line of a small file such as a sysfs attribute; empty when unreadable.
std::string RdLin(const fs::path& p) {
  std::ifstream f(p);
  std::string s;
  if (!f || !std::getline(f, s)) return {};
  while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' ')) s.pop_back();
  return s;
}

// The system's text of an error number; reentrant, unlike strerror.
std::string ErrTxt(int e) {
  char buf[256];
  return ::strerror_r(e, buf, sizeof buf);
}

std::vector<std::string> SplCom(const std::string& s) {
  std::vector<std::string> out;
  std::string cur;
  std::istringstream in(s);
  while (std::getline(in, cur, ','))
    if (!cur.empty()) out.push_back(cur);
  return out;
}

}  // namespace

TDocSysLnx::TDocSysLnx(std::string sysRoot, std::string procRoot, std::string devRoot, std::string grpFil,
                       std::vector<std::string> lckDirs)
    : FsSys(std::move(sysRoot)), FsPrc(std::move(procRoot)), FsDev(std::move(devRoot)), FsGrp(std::move(grpFil)),
      FLck(std::move(lckDirs)) {}

std::vector<TSerDev> TDocSysLnx::SerDevs() {
  std::vector<TSerDev> out;
  std::error_code ec;
  const fs::path cls = fs::path(FsSys) / "class" / "tty";
  std::vector<std::string> names;
  for (fs::directory_iterator it(cls, ec), end; !ec && it != end; it.increment(ec))
    names.push_back(it->path().filename().string());
  std::sort(names.begin(), names.end());
  // Links in /dev and /dev/serial/by-id that lead to a device node.
  std::vector<std::pair<std::string, std::string>> links;  // link, target
  for (const fs::path& dir : {fs::path(FsDev), fs::path(FsDev) / "serial" / "by-id"}) {
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
      std::error_code e2;
      if (!fs::is_symlink(it->symlink_status(e2))) continue;
      const fs::path tgt = fs::canonical(it->path(), e2);
      if (!e2) links.emplace_back(it->path().string(), tgt.string());
    }
    ec.clear();
  }
  std::sort(links.begin(), links.end());
  for (const std::string& n : names) {
    const fs::path ent = cls / n;
    std::error_code e2;
    if (!fs::exists(ent / "device", e2)) continue;  // a virtual terminal, not a line
    if (n.rfind("ttyS", 0) == 0 && RdLin(ent / "type") == "0") continue;  // no UART answers there
    TSerDev d;
    d.Dev = (fs::path(FsDev) / n).string();
    // The USB device is the nearest folder above the interface that has a vendor id.
    fs::path p = fs::canonical(ent / "device", e2);
    const fs::path sysTop = fs::canonical(FsSys, e2);
    for (; !e2 && !p.empty() && p != sysTop && p != p.root_path(); p = p.parent_path()) {
      if (fs::exists(p / "idVendor", e2)) {
        d.Vid = RdLin(p / "idVendor");
        d.Pid = RdLin(p / "idProduct");
        d.Mfr = RdLin(p / "manufacturer");
        d.Prd = RdLin(p / "product");
        d.Ser = RdLin(p / "serial");
        break;
      }
    }
    const std::string real = RealPath(d.Dev);
    for (const auto& [lnk, tgt] : links)
      if (!real.empty() && tgt == real) d.Lnk.push_back(lnk);
    out.push_back(std::move(d));
  }
  return out;
}

TFilInf TDocSysLnx::Stat(const std::string& path) {
  TFilInf inf;
  struct stat sb{};
  if (path.empty() || ::stat(path.c_str(), &sb) != 0) return inf;
  inf.Exs = true;
  inf.Chr = S_ISCHR(sb.st_mode);
  inf.Uid = sb.st_uid;
  inf.Gid = sb.st_gid;
  inf.Mod = sb.st_mode & 07777;
  return inf;
}

std::string TDocSysLnx::RealPath(const std::string& path) {
  char buf[PATH_MAX];
  if (path.empty() || !::realpath(path.c_str(), buf)) return {};
  return buf;
}

std::vector<std::string> TDocSysLnx::ComPrts() { return ScnComPrt(); }

TDocUid TDocSysLnx::Uid() { return ::getuid(); }
TDocGid TDocSysLnx::Gid() { return ::getgid(); }

std::vector<gid_t> TDocSysLnx::Groups() {
  const int n = ::getgroups(0, nullptr);
  std::vector<gid_t> g(n > 0 ? n : 0);
  if (n > 0 && ::getgroups(n, g.data()) < 0) g.clear();
  return g;
}

std::string TDocSysLnx::UserName() {
  // The reentrant form: the checks of several ports run at once.
  passwd pwd{};
  passwd* pw = nullptr;
  std::vector<char> buf(16384);
  if (::getpwuid_r(::getuid(), &pwd, buf.data(), buf.size(), &pw) == 0 && pw && pw->pw_name) return pw->pw_name;
  if (const char* u = std::getenv("USER"); u && *u) return u;
  return std::to_string(::getuid());
}

TGrpInf TDocSysLnx::FndGrp(bool byId, gid_t gid, const std::string& name) {
  // name:password:gid:member,member
  std::ifstream f(FsGrp);
  std::string lin;
  while (std::getline(f, lin)) {
    std::vector<std::string> fld;
    std::string cur;
    std::istringstream in(lin);
    while (std::getline(in, cur, ':')) fld.push_back(cur);
    if (lin.size() && lin.back() == ':') fld.emplace_back();
    if (fld.size() < 3) continue;
    char* end = nullptr;
    const unsigned long g = std::strtoul(fld[2].c_str(), &end, 10);
    if (end == fld[2].c_str()) continue;
    if (byId ? g != gid : fld[0] != name) continue;
    TGrpInf inf;
    inf.Fnd = true;
    inf.Nam = fld[0];
    inf.Gid = static_cast<gid_t>(g);
    if (fld.size() > 3) inf.Mbr = SplCom(fld[3]);
    return inf;
  }
  return {};
}

TGrpInf TDocSysLnx::GroupById(gid_t gid) { return FndGrp(true, gid, {}); }
TGrpInf TDocSysLnx::GroupByName(const std::string& name) { return FndGrp(false, 0, name); }

std::vector<IDocSys::THolder> TDocSysLnx::Holders(const std::string& realDev) {
  std::vector<THolder> out;
  if (realDev.empty()) return out;
  std::error_code ec;
  for (fs::directory_iterator it(FsPrc, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string nam = it->path().filename().string();
    if (!std::all_of(nam.begin(), nam.end(), [](char c) { return c >= '0' && c <= '9'; }))  // not a process
      continue;
    std::error_code e2;
    for (fs::directory_iterator fd(it->path() / "fd", e2), fe; !e2 && fd != fe; fd.increment(e2)) {
      std::error_code e3;
      const fs::path tgt = fs::read_symlink(fd->path(), e3);
      if (e3 || tgt.string() != realDev) continue;
      THolder h;
      h.Pid = std::atoi(nam.c_str());
      std::string com = RdLin(it->path() / "comm");
      h.Nam = com.empty() ? std::string(1, '?') : std::move(com);
      h.Own = h.Pid == ::getpid();
      out.push_back(h);
      break;
    }
  }
  std::sort(out.begin(), out.end(), [](const THolder& a, const THolder& b) { return a.Pid < b.Pid; });
  return out;
}

IDocSys::THolder TDocSysLnx::Locker(const std::string& dev) {
  const TPrtHldr l = PrtHldr(dev, FLck);
  THolder h;
  if (!l.Hld) return h;
  h.Pid = l.Pid > 0 ? static_cast<int>(l.Pid) : -1;
  if (h.Pid > 0) {
    std::string com = RdLin(fs::path(FsPrc) / std::to_string(h.Pid) / "comm");
    h.Nam = com.empty() ? std::string(1, '?') : std::move(com);
  }
  return h;
}

TeOpnRes TDocSysLnx::OpnPrt(const std::string& path, int& fd, std::string& err) {
  const TTtyOpn o = OpnTty(path);
  fd = o.Fd;
  err = o.Stp == TeTtyOpn::Ok ? std::string() : ErrTxt(o.Err);
  switch (o.Stp) {
    case TeTtyOpn::Ok: break;
    case TeTtyOpn::Opn:
      if (o.Err == ENOENT || o.Err == ENXIO || o.Err == ENODEV) return TeOpnRes::Missing;
      if (o.Err == EACCES || o.Err == EPERM) return TeOpnRes::Denied;
      return o.Err == EBUSY ? TeOpnRes::Busy : TeOpnRes::Other;
    case TeTtyOpn::Tty: return TeOpnRes::Other;
    case TeTtyOpn::Lck: return TeOpnRes::Busy;  // another Tessaro holds the lock
  }
  if (!SetRbtLin(fd)) {
    err = ErrTxt(errno ? errno : EINVAL);
    ::close(fd);
    fd = -1;
    return TeOpnRes::Other;
  }
  return TeOpnRes::Ok;
}

bool TDocSysLnx::WrtAll(int fd, const std::vector<std::uint8_t>& bytes) {
  std::size_t done = 0;
  const std::int64_t end = NowMs() + 1000;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno != EAGAIN && errno != EINTR) return false;
    if (NowMs() > end) return false;
    pollfd p{fd, POLLOUT, 0};
    ::poll(&p, 1, 50);
  }
  return true;
}

bool TDocSysLnx::RdSome(int fd, int ms, std::vector<std::uint8_t>& out) {
  pollfd p{fd, POLLIN, 0};
  const int r = ::poll(&p, 1, ms < 0 ? 0 : ms);
  if (r < 0) return errno == EINTR;
  if (r == 0) return true;
  if (p.revents & POLLIN) {
    std::uint8_t buf[256];
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n > 0) {
      out.insert(out.end(), buf, buf + n);
      return true;
    }
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) return true;
    return false;
  }
  return !(p.revents & (POLLHUP | POLLERR | POLLNVAL));
}

void TDocSysLnx::ClsPrt(int fd) {
  if (fd >= 0) ::close(fd);
}

std::int64_t TDocSysLnx::NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}
