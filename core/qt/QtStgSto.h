// The settings store on Qt's QSettings, needing only Qt Core: the main window
// and the command-line tools share it.
#pragma once

#include <memory>
#include <mutex>
#include <set>
#include <string>

#include "core/Seams.h"

// Per-user settings store on QSettings (NativeFormat, UserScope, "Quorel",
// "TessaroV1.0"): on Windows the registry key of the same name, elsewhere the
// INI file $XDG_CONFIG_HOME/Quorel/TessaroV1.0.conf. Keys are written as in
// the registry; the prefix "SOFTWARE\Quorel\TessaroV1.0" names the store and
// the rest is the group: "SOFTWARE\Quorel\TessaroV1.0\Options" is the group
// "Options", so the value "Comport" there is the INI key "Options/Comport".
// Keys outside that prefix cannot be opened. A damaged INI file is read as
// far as it goes, copied to TessaroV1.0.conf.damaged, and written anew with
// the next value.
class TQtSettingsFactory final : public ISettingsFactory {
public:
  static constexpr const char* GcOrg = "Quorel";
  static constexpr const char* GcApp = "TessaroV1.0";
  static constexpr const char* GcKeyPfx = "SOFTWARE\\Quorel\\TessaroV1.0";

  std::unique_ptr<ISettingsStore> Create() override;

  // The group of a registry key: "" for the prefix itself, "Options" for
  // "SOFTWARE\Quorel\TessaroV1.0\Options"; false for a key outside the
  // prefix. The prefix is compared without regard to case, as in the registry.
  static bool KeyToGroup(const std::string& key, std::string& group);

  // Keys created in this process that hold no value yet (a group without
  // values is not kept in the INI file).
  bool Created(const std::string& group) const;
  void MarkCreated(const std::string& group);

private:
  mutable std::mutex FMtx;
  std::set<std::string> FCrt;
};
