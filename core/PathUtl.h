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

// The folder of the running executable, ending in the native separator
// (on Windows from GetModuleFileNameW, in the ANSI code page that the
// narrow file functions take).
std::string ExeDir();

// The default installation folder, ending in a separator: the folder above
// the executable's folder (the installation keeps the programs in "bin" and
// the pictures and sounds beside it), unless the environment variable
// TESSARO_INSTALL_DIR names another. The same on Windows, where the
// installer puts the programs below Program Files.
std::string DefaultInsDir();

// The native path separator as a one-character text.
const char* PathSep();
