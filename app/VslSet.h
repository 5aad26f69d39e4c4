// The main window's settings: the one place that opens the per-user settings
// store (through the platform seam). The Options key holds the robot's port
// and the language; the recent files have a key of their own.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

class ISettingsStore;
class TRctFil;
struct TRlsHok;

class TVslSet {
public:
  TVslSet();
  ~TVslSet();

  // Construction step: the store's access object; false when it cannot be made.
  bool Crt();
  // Opens the Options key (made when missing) and reads the port; a missing
  // port is written as "COM0". False when the key cannot be opened or written.
  bool RedPrt(std::string& prt);
  // The language kept there: 0 English (also when absent or unknown), 1 Dutch, 2 German.
  std::uint8_t RedLge();
  // Keeps the port or the language; false when the store refuses. Without a
  // store the language is not kept and nothing is said.
  bool KepPrt(const std::string& prt);
  bool KepLge(std::uint8_t idx);
  // A value of how the field is shown ("Zoom", "HighContrast"), kept beside
  // the language; empty when absent or without a store.
  std::string RedViw(const std::string& name);
  bool KepViw(const std::string& name, const std::string& value);
  // A first start: the store held no port when it was read (RedPrt).
  bool Frs() const { return FbFrs; }
  // What became of the guided first program: empty while it has not been
  // shown to its end, else "seen" or "skipped".
  std::string RedGui();
  bool KepGui(const std::string& how);
  // The recent files; false when their key cannot be reached.
  bool LodRct(TRctFil& lst);
  bool SavRct(const TRctFil& lst);
  void Rls(const TRlsHok& hok);

private:
  std::unique_ptr<ISettingsStore> FpRegistry;
  const std::string FsRegKey = "SOFTWARE\\Quorel\\TessaroV1.0";
  bool FbFrs = false;
};
