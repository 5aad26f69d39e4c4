// The test support's POSIX side: temporary folders made with mkdtemp, and
// work in a child process.
#include "support/FakePlatform.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace fs = std::filesystem;

TTmpDir::TTmpDir() {
  std::string tmpl = (fs::temp_directory_path() / "tessaro-test-XXXXXX").string();
  if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
  FPth = tmpl + "/";
}

std::string RunInChild(const std::function<std::string()>& child, const std::function<void()>& parent) {
  int p[2];
  if (::pipe(p) != 0) return "pipe failed";
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(p[0]);
    const std::string s = child();
    for (std::size_t d = 0; d < s.size();) {
      const ssize_t n = ::write(p[1], s.data() + d, s.size() - d);
      if (n <= 0) break;
      d += static_cast<std::size_t>(n);
    }
    ::_exit(0);
  }
  ::close(p[1]);
  if (pid > 0 && parent) parent();
  std::string s;
  char b[4096];
  for (ssize_t n; pid > 0 && (n = ::read(p[0], b, sizeof b)) > 0;) s.append(b, static_cast<std::size_t>(n));
  ::close(p[0]);
  if (pid < 0) return "fork failed";
  ::waitpid(pid, nullptr, 0);
  return s;
}
