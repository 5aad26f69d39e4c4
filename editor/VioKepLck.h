// The lock of a recovery copy, one implementation per platform: flock() on
// POSIX systems (VioKepLckPsx.cpp), LockFileEx on Windows (VioKepLckWin.cpp).
// Either way the system lets the lock go when the process ends, however it ends.
#pragma once

#include <string>

// Takes the lock file at path, creating it. -1 when another holder has it or
// it cannot be made; otherwise a descriptor that holds the lock. The lock is
// not handed on to child processes: a viewer started from the window must
// not keep the window's lock alive.
int RcvLck(const std::string& path);

// Lets a lock go and sets fd to -1; the file goes too when rmv is set (and no
// other window holds it).
void RcvUnl(int& fd, const std::string& path, bool rmv);

// The number of this process, which names its recovery copy.
long RcvPrcId();
