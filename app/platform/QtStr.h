// The one conversion of the program's texts (paths, messages) to the toolkit's
// strings: the system's 8-bit encoding, which is UTF-8 on Linux and the code
// page of the narrow file functions on Windows.
#pragma once

#include <QString>

#include <string>

inline QString QStr(const std::string& s) { return QString::fromLocal8Bit(s.data(), static_cast<qsizetype>(s.size())); }
