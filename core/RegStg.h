// The per-user settings store in the registry (the Windows build only,
// RegStgWin.cpp): keys below HKEY_CURRENT_USER, written as the program
// names them ("SOFTWARE\Quorel\TessaroV1.0\Options"), values as REG_SZ.
// It is the key that Qt's settings store reaches for the window on Windows.
#pragma once

#include <memory>

#include "core/Seams.h"

class TRegSettingsFactory final : public ISettingsFactory {
public:
  std::unique_ptr<ISettingsStore> Create() override;
};
