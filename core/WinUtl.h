// Small helpers of the Windows build: the system's text of an error and the
// wide form of a path given in the ANSI code page (the code page that the
// narrow file functions of the C library take). Built only for Windows.
#pragma once

#include <cstdint>
#include <string>

// The system's text of a GetLastError() value, without the line break at its
// end; "error N" when the system has none.
std::string WinErrTxt(std::uint32_t err);

// A path or text in the ANSI code page, as UTF-16 for the wide services.
std::wstring WinWid(const std::string& s);
// And back.
std::string WinNar(const std::wstring& s);
