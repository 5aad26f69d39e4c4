// The recovery copy's lock on a POSIX system: flock() on the lock file.
#include "editor/VioKepLck.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

int RcvLck(const std::string& path) {
  for (int tries = 0; tries < 4; ++tries) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      ::close(fd);
      return -1;
    }
    // Another window may have removed the file between the open and the
    // lock: a lock on a file without a name holds nothing. Try again.
    struct stat own {}, nam {};
    if (::fstat(fd, &own) == 0 && ::stat(path.c_str(), &nam) == 0 && own.st_dev == nam.st_dev &&
        own.st_ino == nam.st_ino)
      return fd;
    ::close(fd);
  }
  return -1;
}

// The file goes first, while it is still held.
void RcvUnl(int& fd, const std::string& path, bool rmv) {
  if (fd < 0) return;
  if (rmv) ::unlink(path.c_str());
  ::close(fd);
  fd = -1;
}

long RcvPrcId() { return static_cast<long>(::getpid()); }
