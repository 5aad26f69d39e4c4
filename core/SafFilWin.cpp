// The safe writer on Windows: the new contents go into a temporary file
// beside the target, FlushFileBuffers takes them to the disk, and
// ReplaceFileW puts the file in the old one's place, keeping its attributes
// and security; a new file is moved into place with MoveFileExW
// (MOVEFILE_WRITE_THROUGH). A file marked read-only is refused.
#include "core/SafFil.h"

#include <windows.h>

#include <atomic>
#include <string>

#include "core/WinUtl.h"

namespace {

bool WrtAll(HANDLE h, const std::string& data) {
  const char* p = data.data();
  std::size_t left = data.size();
  while (left > 0) {
    const DWORD chunk = left > (1u << 30) ? (1u << 30) : static_cast<DWORD>(left);
    DWORD n = 0;
    if (!::WriteFile(h, p, chunk, &n, nullptr) || n == 0) return false;
    p += n;
    left -= n;
  }
  return true;
}

// The target as it is now: false (with why) when it may not be replaced.
bool ChkOld(const std::wstring& dst, bool& exs, std::string& why) {
  const DWORD at = ::GetFileAttributesW(dst.c_str());
  exs = at != INVALID_FILE_ATTRIBUTES;
  if (!exs) return true;
  if (at & FILE_ATTRIBUTE_DIRECTORY) {
    why = "Is a directory";
    return false;
  }
  if (at & FILE_ATTRIBUTE_READONLY) {
    why = "Permission denied: the file is read-only";
    return false;
  }
  return true;
}

// A new temporary file beside the target, of a name that no other writer
// uses: ".name.<process>.<counter>".
HANDLE MakTmp(const std::wstring& dst, std::wstring& tmp, DWORD& err) {
  static std::atomic<unsigned> cnt{0};
  const std::size_t cut = dst.find_last_of(L"\\/");
  const std::wstring dir = cut == std::wstring::npos ? std::wstring() : dst.substr(0, cut + 1);
  const std::wstring nam = cut == std::wstring::npos ? dst : dst.substr(cut + 1);
  for (int tries = 0; tries < 100; ++tries) {
    tmp = dir + L"." + nam + L"." + std::to_wstring(::GetCurrentProcessId()) + L"." + std::to_wstring(cnt++);
    HANDLE h = ::CreateFileW(tmp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) return h;
    err = ::GetLastError();
    if (err != ERROR_FILE_EXISTS && err != ERROR_ALREADY_EXISTS) return INVALID_HANDLE_VALUE;
  }
  return INVALID_HANDLE_VALUE;
}

// Puts tmp in dst's place; false with the system's error.
bool PutInPlc(const std::wstring& tmp, const std::wstring& dst, bool exs, DWORD& err) {
  if (exs && ::ReplaceFileW(dst.c_str(), tmp.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr))
    return true;
  // A new file, or a file system where ReplaceFileW cannot keep what it
  // keeps: the plain rename over it, written through.
  if (::MoveFileExW(tmp.c_str(), dst.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
  err = ::GetLastError();
  return false;
}

}  // namespace

bool WrtFilSaf(const std::string& path, const std::string& data, std::string& why) {
  const std::wstring dst = WinWid(path);
  bool exs = false;
  if (dst.empty()) {
    why = WinErrTxt(ERROR_INVALID_NAME);
    return false;
  }
  if (!ChkOld(dst, exs, why)) return false;
  std::wstring tmp;
  DWORD err = 0;
  HANDLE h = MakTmp(dst, tmp, err);
  if (h == INVALID_HANDLE_VALUE) {
    why = WinErrTxt(err);
    return false;
  }
  bool ok = WrtAll(h, data) && ::FlushFileBuffers(h);
  if (!ok) err = ::GetLastError();
  if (!::CloseHandle(h) && ok) {
    ok = false;
    err = ::GetLastError();
  }
  if (ok) ok = PutInPlc(tmp, dst, exs, err);
  if (!ok) {
    ::DeleteFileW(tmp.c_str());
    why = WinErrTxt(err);
    return false;
  }
  return true;
}
