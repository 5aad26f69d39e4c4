// Baud rates outside the standard terminal interface. Kept apart: the
// kernel's termios2 structure cannot be declared next to <termios.h>.
#include <asm/ioctls.h>
#include <asm/termbits.h>

#include <cstdint>

extern "C" int ioctl(int fd, unsigned long req, ...) noexcept;

bool SetBauOth(int fd, std::uint32_t baud) {
  struct termios2 t{};
  if (ioctl(fd, TCGETS2, &t) != 0) return false;
  t.c_cflag &= ~(CBAUD | (CBAUD << IBSHIFT));
  t.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
  t.c_ispeed = baud;
  t.c_ospeed = baud;
  return ioctl(fd, TCSETS2, &t) == 0;
}

std::uint32_t GetBauOth(int fd) {
  struct termios2 t{};
  if (ioctl(fd, TCGETS2, &t) != 0) return 0;
  return t.c_ospeed == t.c_ispeed ? t.c_ospeed : 0;
}
