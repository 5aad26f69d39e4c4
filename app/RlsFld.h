// The guarded release of an owned object at shutdown: the object is taken out
// of its field first (whatever happens, the field is none afterwards), and an
// error while it goes is shown and shutdown goes on.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "core/Seams.h"

struct TRlsHok {
  // Called with the field name at the start of each release (tests inject failures here).
  std::function<void(const std::string&)> OnRls;
  // Told "~" + field name once the release is over.
  std::function<void(const std::string&)> Trc;
};

template <typename T>
void RlsFld(std::unique_ptr<T>& fld, const char* name, const TRlsHok& hok) {
  if (!fld) return;
  try {
    std::unique_ptr<T> obj = std::move(fld);
    if (hok.OnRls) hok.OnRls(name);
    obj.reset();
  } catch (...) {
    ShwMsgBox(std::string("Error deleting ") + name, "Destructor");
  }
  if (hok.Trc) hok.Trc(std::string("~") + name);
}
