// The recovery copy's lock on Windows: LockFileEx on the lock file, held
// through a C library descriptor of the handle.
#include "editor/VioKepLck.h"

#include <windows.h>

#include <io.h>
#include <fcntl.h>

#include "core/WinUtl.h"

int RcvLck(const std::string& path) {
  // Shared for reading and writing, so that another window can open the file
  // to try its lock; not for deleting, so that nobody removes a held lock file.
  SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, FALSE};  // not inherited
  HANDLE h = ::CreateFileW(WinWid(path).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           &sa, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return -1;
  OVERLAPPED ov{};
  if (!::LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &ov)) {
    ::CloseHandle(h);
    return -1;
  }
  const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(h), _O_RDWR);
  if (fd < 0) ::CloseHandle(h);
  return fd;
}

void RcvUnl(int& fd, const std::string& path, bool rmv) {
  if (fd < 0) return;
  // Closing the handle lets the lock go; the file goes after it, unless
  // another window has opened it meanwhile (it cannot be deleted then).
  ::_close(fd);
  fd = -1;
  if (rmv) ::DeleteFileW(WinWid(path).c_str());
}

long RcvPrcId() { return static_cast<long>(::GetCurrentProcessId()); }
