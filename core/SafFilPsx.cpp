#include "core/SafFil.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string ErrTxt(int err) { return std::strerror(err); }

// The file a chain of symbolic links ends in (which need not exist yet). As
// the system's own lookup, it follows 40 links at most.
bool FolLnk(fs::path p, fs::path& out, std::string& why) {
  for (int hop = 0; hop <= 40; ++hop) {
    std::error_code ec;
    const fs::file_status st = fs::symlink_status(p, ec);
    if (ec || st.type() != fs::file_type::symlink) {
      out = p;
      return true;
    }
    fs::path tgt = fs::read_symlink(p, ec);
    if (ec) {
      why = ec.message();
      return false;
    }
    p = tgt.is_absolute() ? tgt : p.parent_path() / tgt;
  }
  why = ErrTxt(ELOOP);
  return false;
}

bool WrtAll(int fd, const std::string& data) {
  const char* p = data.data();
  std::size_t left = data.size();
  while (left > 0) {
    const ssize_t n = ::write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  return true;
}

mode_t CurUmask() {
  const mode_t m = ::umask(0);
  ::umask(m);
  return m;
}

// The file about to be replaced: whether it exists, and that it may be.
bool ChkOld(const fs::path& dst, struct stat& old, bool& exs, std::string& why) {
  // A file that cannot be looked at is taken as new: whatever keeps it from
  // view (a missing or forbidden folder, a file in a folder's place, links
  // that go round) keeps the temporary file beside it from being made too,
  // with the same reason.
  exs = ::stat(dst.c_str(), &old) == 0;
  if (!exs) return true;
  if (S_ISDIR(old.st_mode)) {
    why = ErrTxt(EISDIR);
    return false;
  }
  if (!S_ISREG(old.st_mode)) {
    why = "not a regular file";
    return false;
  }
  // A file without any write permission is read-only by intent, also for
  // a user (root) whom the system would let write it.
  if ((old.st_mode & 0222) == 0 || ::access(dst.c_str(), W_OK) != 0) {
    why = ErrTxt(EACCES) + ": the file is read-only";
    return false;
  }
  return true;
}

// Mode, owner and group of the old file for the new one (old null: a new
// file, with the mode the umask allows). False with errno set.
bool CpyAtr(int fd, const struct stat* old) {
  if (!old) return ::fchmod(fd, 0666 & ~CurUmask()) == 0;
  if (::fchmod(fd, old->st_mode & 07777) != 0) return false;
  if (old->st_uid == ::geteuid() && old->st_gid == ::getegid()) return true;
  // Owner and group where the process may set them (a user may give the
  // file its group when a member of it; root may give back the owner).
  if (::fchown(fd, old->st_uid, old->st_gid) == 0) return true;
  if (::fchown(fd, static_cast<uid_t>(-1), old->st_gid) == 0) return true;
  // Neither can be kept: the copy would belong to someone else, so its mode
  // must not give the old group more than it had.
  return ::fchmod(fd, old->st_mode & 07707) == 0;
}

// The rename itself reaches the disk with the folder.
void SynDir(const fs::path& dir) {
  const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY);
  if (dfd < 0) return;
  ::fsync(dfd);
  ::close(dfd);
}

}  // namespace

bool WrtFilSaf(const std::string& path, const std::string& data, std::string& why) {
  fs::path dst;
  struct stat old {};
  bool exs = false;
  if (!FolLnk(fs::path(path), dst, why) || !ChkOld(dst, old, exs, why)) return false;

  const fs::path dir = dst.has_parent_path() ? dst.parent_path() : fs::path(".");
  std::string tpl = (dir / ("." + dst.filename().string() + ".XXXXXX")).string();
  std::vector<char> buf(tpl.begin(), tpl.end());
  buf.push_back('\0');
  const int fd = ::mkstemp(buf.data());
  if (fd < 0) {
    why = ErrTxt(errno);
    return false;
  }
  const std::string tmp(buf.data());
  bool ok = WrtAll(fd, data) && CpyAtr(fd, exs ? &old : nullptr) && ::fsync(fd) == 0;
  int err = ok ? 0 : errno;
  if (::close(fd) != 0 && ok) {
    ok = false;
    err = errno;
  }
  if (ok && ::rename(tmp.c_str(), dst.c_str()) != 0) {
    ok = false;
    err = errno;
  }
  if (!ok) {
    ::unlink(tmp.c_str());
    why = ErrTxt(err);
    return false;
  }
  SynDir(dir);
  return true;
}
