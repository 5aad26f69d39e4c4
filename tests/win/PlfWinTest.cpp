// The Windows side of the platform: the safe writer, the executable's and the
// installation's folders, the registry store and the recovery copy's lock.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "core/PathUtl.h"
#include "core/RegStg.h"
#include "core/SafFil.h"
#include "editor/VioKepLck.h"
#include "support/FakePlatform.h"

namespace fs = std::filesystem;

namespace {

std::string RdAll(const std::string& p) {
  std::ifstream f(p, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

std::size_t EntCnt(const std::string& dir) {
  std::size_t n = 0;
  for (auto it = fs::directory_iterator(dir); it != fs::directory_iterator(); ++it) ++n;
  return n;
}

TEST(SafFilWin, ReplacesWholeOrRefusesAndLeavesNoScratchFile) {
  TTmpDir tmp;
  fs::create_directory(tmp.Path() + "dir.vio");
  const std::string ro = tmp.Write("ro.vio", "old\r\n");
  ::SetFileAttributesW(fs::path(ro).wstring().c_str(), FILE_ATTRIBUTE_READONLY);
  tmp.Write("old.vio", "old contents, longer than the new ones\r\n");
  struct {
    const char* Nam;
    const char* Why;   // empty: written
    const char* Keep;  // what the file holds afterwards; null: no file
  } const cases[] = {
      {"new.vio", "", "new\r\n"},
      {"old.vio", "", "new\r\n"},
      {"ro.vio", "Permission denied: the file is read-only", "old\r\n"},
      {"dir.vio", "Is a directory", nullptr},
      {"no\\such\\folder\\x.vio", "*", nullptr},
  };
  for (const auto& c : cases) {
    const std::string p = tmp.Path() + c.Nam;
    const std::size_t bfr = EntCnt(tmp.Path());
    std::string why;
    const bool ok = WrtFilSaf(p, "new\r\n", why);
    EXPECT_EQ(ok, !*c.Why) << c.Nam << ": " << why;
    if (*c.Why && std::string(c.Why) != "*") {
      EXPECT_EQ(why, c.Why) << c.Nam;
    }
    if (!ok) {
      EXPECT_FALSE(why.empty()) << c.Nam;
    }
    if (c.Keep) {
      EXPECT_EQ(RdAll(p), c.Keep) << c.Nam;
    }
    EXPECT_EQ(EntCnt(tmp.Path()), bfr + (std::string(c.Nam) == "new.vio" ? 1 : 0)) << "no scratch file stays: " << c.Nam;
  }
  ::SetFileAttributesW(fs::path(ro).wstring().c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(PathWin, ExecutableAndInstallationFolders) {
  const std::string exe = ExeDir();
  ASSERT_FALSE(exe.empty());
  EXPECT_EQ(exe.back(), '\\');
  wchar_t buf[MAX_PATH];
  ASSERT_GT(::GetModuleFileNameW(nullptr, buf, MAX_PATH), 0u);
  EXPECT_EQ(fs::path(exe).parent_path(), fs::path(buf).parent_path());
  EXPECT_STREQ(PathSep(), "\\");
  EXPECT_EQ(NativePath("Sounds\\System\\a.wav"), "Sounds\\System\\a.wav");  // the system ignores case

  ::_putenv_s("TESSARO_INSTALL_DIR", "");
  const std::string ins = DefaultInsDir();
  ASSERT_FALSE(ins.empty());
  EXPECT_EQ(ins.back(), '\\');
  EXPECT_EQ(fs::path(ins).parent_path(), fs::path(buf).parent_path().parent_path()) << ins;
  ::_putenv_s("TESSARO_INSTALL_DIR", "D:\\Tessaro");
  EXPECT_EQ(DefaultInsDir(), "D:\\Tessaro\\");
  ::_putenv_s("TESSARO_INSTALL_DIR", "");
}

// A key of this process's own below the program's, removed at the end.
class RegStg : public testing::Test {
protected:
  const std::string Key = "SOFTWARE\\Quorel\\TessaroV1.0\\Test-" + std::to_string(::GetCurrentProcessId());
  void TearDown() override { ::RegDeleteTreeA(HKEY_CURRENT_USER, Key.c_str()); }
};

TEST_F(RegStg, KeysAreCreatedOnlyWhenAskedAndValuesComeBack) {
  TRegSettingsFactory f;
  auto st = f.Create();
  ASSERT_TRUE(st);
  EXPECT_FALSE(st->OpenKey(Key + "\\Options", false)) << "a missing key is not made without being asked";
  EXPECT_FALSE(st->WriteString("Comport", "COM3")) << "no key is open";
  ASSERT_TRUE(st->OpenKey(Key + "\\Options", true));
  EXPECT_EQ(st->ReadString("Comport"), "");
  for (const char* v : {"COM3", "", "COM19", "SIM"}) {
    ASSERT_TRUE(st->WriteString("Comport", v));
    auto other = f.Create();
    ASSERT_TRUE(other->OpenKey(Key + "\\options", false)) << "the registry ignores case";
    EXPECT_EQ(other->ReadString("Comport"), v);
  }
  HKEY k = nullptr;
  ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, (Key + "\\Options").c_str(), 0, KEY_READ, &k), ERROR_SUCCESS);
  DWORD typ = 0;
  EXPECT_EQ(::RegQueryValueExA(k, "Comport", nullptr, &typ, nullptr, nullptr), ERROR_SUCCESS);
  EXPECT_EQ(typ, static_cast<DWORD>(REG_SZ));
  ::RegCloseKey(k);
}

TEST(RcvLckWin, OneHolderAtATimeAndTheFileGoesWithTheLastOne) {
  TTmpDir tmp;
  const std::string lck = tmp.Path() + "recovery-1.lock";
  int a = RcvLck(lck);
  ASSERT_GE(a, 0);
  EXPECT_TRUE(fs::exists(lck));
  int b = RcvLck(lck);
  EXPECT_LT(b, 0) << "a held lock is not taken twice";
  RcvUnl(a, lck, false);
  EXPECT_EQ(a, -1);
  EXPECT_TRUE(fs::exists(lck)) << "kept when not asked to remove it";
  b = RcvLck(lck);
  ASSERT_GE(b, 0) << "free again once let go";
  RcvUnl(b, lck, true);
  EXPECT_FALSE(fs::exists(lck));
  EXPECT_EQ(RcvLck(tmp.Path() + "no\\such\\folder\\x.lock"), -1);
  EXPECT_EQ(RcvPrcId(), static_cast<long>(::GetCurrentProcessId()));
}

}  // namespace
