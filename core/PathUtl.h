// File names inside the program are written as on the designed platform: with
// backslashes and in mixed case ("system" and "System", "sounds" and "Sounds").
// These helpers turn them into native paths and, on case-sensitive file
// systems, find the existing folders and files whatever their case.
#pragma once

#include <string>

// Native form of a program path: separators converted and, where a component
// does not exist in the exact case, the first existing entry that differs only
// in case is taken. Components that do not exist at all are kept as written.
std::string NativePath(const std::string& path);

// True when a regular file (or a link to one) exists at the path (after NativePath).
bool FilExs(const std::string& path);

// The folder of the running executable, ending in the native separator.
std::string ExeDir();

// The default installation folder, ending in a separator. On Windows the
// designed "C:\Brinkmoor\Tessaro\". Elsewhere the folder above the
// executable's folder, unless the environment variable TESSARO_INSTALL_DIR
// names another.
std::string DefaultInsDir();

// The native path separator as a one-character text.
const char* PathSep();
