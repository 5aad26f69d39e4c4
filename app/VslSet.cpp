#include "app/VslSet.h"

#include "app/RctFil.h"
#include "app/RlsFld.h"
#include "core/Seams.h"

namespace {

constexpr const char* GcOpt = "\\Options";
constexpr const char* GcPrtVal = "Comport";
// Beside the port: the language index as a digit.
constexpr const char* GcLgeVal = "Language";
// The guided first program: "seen" or "skipped".
constexpr const char* GcGuiVal = "FirstProgram";

}  // namespace

TVslSet::TVslSet() = default;
TVslSet::~TVslSet() = default;

bool TVslSet::Crt() {
  FpRegistry = GuPlatform().Settings->Create();
  return FpRegistry != nullptr;
}

bool TVslSet::RedPrt(std::string& prt) {
  // A store that cannot be written is as unusable as one that cannot be
  // opened: the default port could not be kept.
  if (!FpRegistry || !FpRegistry->OpenKey(FsRegKey + GcOpt, true)) return false;
  prt = FpRegistry->ReadString(GcPrtVal);
  if (!prt.empty()) return true;
  FbFrs = true;
  prt = "COM0";
  return FpRegistry->WriteString(GcPrtVal, prt);
}

std::uint8_t TVslSet::RedLge() {
  if (!FpRegistry) return 0;
  const std::string val = FpRegistry->ReadString(GcLgeVal);
  if (val == "1") return 1;
  if (val == "2") return 2;
  return 0;
}

bool TVslSet::KepPrt(const std::string& prt) {
  return FpRegistry && FpRegistry->OpenKey(FsRegKey + GcOpt, false) && FpRegistry->WriteString(GcPrtVal, prt);
}

bool TVslSet::KepLge(std::uint8_t idx) {
  // The Options key is the open key of the store (opened at start).
  return !FpRegistry || FpRegistry->WriteString(GcLgeVal, std::to_string(idx));
}

std::string TVslSet::RedViw(const std::string& name) {
  return FpRegistry ? FpRegistry->ReadString(name) : std::string();
}

bool TVslSet::KepViw(const std::string& name, const std::string& value) {
  return !FpRegistry || FpRegistry->WriteString(name, value);
}

std::string TVslSet::RedGui() { return FpRegistry ? FpRegistry->ReadString(GcGuiVal) : std::string(); }

bool TVslSet::KepGui(const std::string& how) { return !FpRegistry || FpRegistry->WriteString(GcGuiVal, how); }

bool TVslSet::LodRct(TRctFil& lst) {
  auto st = GuPlatform().Settings->Create();
  if (!st || !st->OpenKey(FsRegKey + TRctFil::GcKey, true)) return false;
  lst.Lod(*st);
  return true;
}

bool TVslSet::SavRct(const TRctFil& lst) {
  auto st = GuPlatform().Settings->Create();
  return st && st->OpenKey(FsRegKey + TRctFil::GcKey, true) && lst.Sav(*st);
}

void TVslSet::Rls(const TRlsHok& hok) { RlsFld(FpRegistry, "FpRegistry", hok); }
