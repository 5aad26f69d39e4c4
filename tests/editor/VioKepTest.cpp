// Keeping the user's work: the recovery copy written on a (fake) clock. The
// question before a changed program is dropped is in scripts/keep.ted.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "EdtTstSup.h"
#include "editor/VioKep.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

class VioRcvTst : public TEdtTst {
protected:
  std::chrono::steady_clock::time_point T0 = std::chrono::steady_clock::time_point{} + 1000s;
  std::chrono::steady_clock::time_point Now = T0;
  // The single copy of older versions; its folder holds every window's copy.
  std::string Old() const { return Tmp.Path() + "data/tessaro/recovery.vio"; }
  std::string Pth() const { return Rcv->Pth(); }
  std::optional<TVioRcv> Rcv;
  void SetUp() override {
    TEdtTst::SetUp();
    Rcv.emplace(Edt, Old(), 30s, [this] { return Now; });
  }
};

TEST_F(VioRcvTst, AChangedProgramIsWrittenOnceTheIntervalHasPassedAndGoesWhenSaved) {
  // Not armed before the offer at start: nothing is written.
  ASSERT_TRUE(Edt.AddVio(VT_STA));
  Now += 60s;
  EXPECT_FALSE(Rcv->Tck());
  EXPECT_EQ(Rcv->Ofr(), TVioRcv::TeOfr::Non);
  EXPECT_TRUE(Fake.MsgBox.Calls.empty());

  ASSERT_TRUE(Edt.AddVio(VT_STO));
  Now += 29s;
  EXPECT_FALSE(Rcv->Tck());
  EXPECT_FALSE(fs::exists(Pth()));
  Now += 1s;
  EXPECT_TRUE(Rcv->Tck());
  EXPECT_EQ(RdAll(Pth()), PgmTxt(Edt)) << "the folder is created, the program written whole";
  EXPECT_FALSE(fs::exists(Pth() + ".tmp~"));
  // No change since: no write.
  Now += 100s;
  EXPECT_FALSE(Rcv->Tck());

  // Changes go on: written again at most once per interval, the latest state.
  ASSERT_TRUE(Edt.AddVio(VT_DLY));
  Now += 10s;
  ASSERT_TRUE(Edt.AddVio(VT_RTI));
  Now += 19s;
  EXPECT_FALSE(Rcv->Tck());
  Now += 1s;
  EXPECT_TRUE(Rcv->Tck());
  EXPECT_EQ(RdAll(Pth()), PgmTxt(Edt));

  // Saved: the copy goes; a change afterwards makes a new one.
  ASSERT_TRUE(Edt.SavVioFil(Tmp.Path() + "p.vio"));
  EXPECT_FALSE(fs::exists(Pth()));
  ASSERT_TRUE(Edt.Und());
  Now += 30s;
  EXPECT_TRUE(Rcv->Tck());
  EXPECT_TRUE(fs::exists(Pth()));
  // Undone back to the saved state: nothing left to recover.
  ASSERT_TRUE(Edt.Red());
  EXPECT_FALSE(fs::exists(Pth()));

  // Dropped (Discard, window closed): the copy goes.
  ASSERT_TRUE(Edt.AddVio(VT_STO));
  EXPECT_TRUE(Rcv->Wrt());
  EXPECT_FALSE(Rcv->Wrt()) << "the file holds the program already";
  Rcv->Drp();
  EXPECT_FALSE(fs::exists(Pth()));
  Now += 30s;
  EXPECT_FALSE(Rcv->Tck()) << "the dropped change waits no more";
  // The window ends with no copy left: its lock file goes with it.
  const fs::path lck = fs::path(Pth()).parent_path() / (fs::path(Pth()).stem().string() + ".lock");
  EXPECT_TRUE(fs::exists(lck));
  Rcv.reset();
  EXPECT_FALSE(fs::exists(lck));
}

TEST_F(VioRcvTst, TheNextStartRestoresAsUnsavedOrDeclinesAndRemoves) {
  ASSERT_TRUE(Rcv->Ofr() == TVioRcv::TeOfr::Non);
  ASSERT_TRUE(Edt.AddVio(VT_STA));
  ASSERT_TRUE(Edt.AddVio(VT_DLY));
  ASSERT_TRUE(Edt.AddVio(VT_STO));
  const std::string prg = PgmTxt(Edt);
  ASSERT_TRUE(Rcv->Wrt());
  // A kill: the next run finds the copy.
  Rcv.reset();
  {
    TVioPgmItp nxt(nullptr);
    PrpEdt(nxt);
    TVioRcv rcv(nxt, Old(), 30s, [this] { return Now; });
    Fake.MsgBox.Answers = {TeMsgAns::Yes};
    EXPECT_EQ(rcv.Ofr(), TVioRcv::TeOfr::Rst);
    ASSERT_EQ(Fake.MsgBox.Calls.size(), 1u);
    EXPECT_EQ(Fake.MsgBox.Calls[0].Buttons, TeMsgBtn::YesNo);
    EXPECT_EQ(PgmTxt(nxt), prg);
    EXPECT_TRUE(nxt.Drt()) << "restored as a changed, unsaved program";
    EXPECT_EQ(RdAll(rcv.Pth()), prg) << "kept as this window's copy until saved or dropped";
    Now += 30s;
    EXPECT_FALSE(rcv.Tck());
    EXPECT_FALSE(rcv.Wrt()) << "the copy holds the restored program";
    ASSERT_TRUE(nxt.SavVioFil(Tmp.Path() + "saved.vio"));
    EXPECT_FALSE(fs::exists(rcv.Pth()));
  }
  // Declined: the copy goes and the field stays as it is.
  ASSERT_TRUE(Edt.AddVio(VT_RTI));
  Rcv.emplace(Edt, Old(), 30s, [this] { return Now; });
  const std::string bfr = PgmTxt(Edt);
  // Armed by the Ofr of a run without a copy, then written.
  EXPECT_EQ(Rcv->Ofr(), TVioRcv::TeOfr::Non);
  ASSERT_TRUE(Rcv->Wrt());
  const std::string one = Pth();
  Rcv.reset();
  TVioRcv nxt(Edt, Old(), 30s, [this] { return Now; });
  Fake.MsgBox.Answers = {TeMsgAns::No};
  EXPECT_EQ(nxt.Ofr(), TVioRcv::TeOfr::Dcl);
  EXPECT_FALSE(fs::exists(one));
  EXPECT_EQ(PgmTxt(Edt), bfr);
}

TEST_F(VioRcvTst, OnlyCopiesOfWindowsThatHaveEndedAreOfferedTheOldSingleCopyToo) {
  EXPECT_EQ(Rcv->Ofr(), TVioRcv::TeOfr::Non);
  ASSERT_TRUE(Rcv->Locked());
  ASSERT_TRUE(Edt.AddVio(VT_STA));
  ASSERT_TRUE(Rcv->Wrt());
  const std::string one = Pth();
  // A second window while the first runs: its copy is left alone.
  {
    TVioRcv two(Edt, Old(), 30s, [this] { return Now; });
    EXPECT_EQ(two.Ofr(), TVioRcv::TeOfr::Non);
    EXPECT_TRUE(two.Locked());
    EXPECT_NE(two.Pth(), one);
    EXPECT_TRUE(Fake.MsgBox.Calls.empty());
  }
  EXPECT_EQ(RdAll(one), PgmTxt(Edt));
  // The first window is killed, and an older version has left its single
  // copy: both are offered, and declining removes each with its lock.
  { std::ofstream(Old(), std::ios::binary) << RdAll(one); }
  Rcv.reset();
  ASSERT_TRUE(fs::exists(one));
  TVioRcv nxt(Edt, Old(), 30s, [this] { return Now; });
  Fake.MsgBox.Answers = {TeMsgAns::No, TeMsgAns::No};
  EXPECT_EQ(nxt.Ofr(), TVioRcv::TeOfr::Dcl);
  EXPECT_EQ(Fake.MsgBox.Calls.size(), 2u);
  std::vector<std::string> left;
  for (const auto& e : fs::directory_iterator(fs::path(Old()).parent_path())) left.push_back(e.path().filename().string());
  EXPECT_EQ(left, std::vector<std::string>{fs::path(nxt.Pth()).stem().string() + ".lock"});
}

TEST_F(VioRcvTst, ADamagedCopyIsToldAndKeptAsideAndTheFieldStays) {
  ASSERT_TRUE(Edt.AddVio(VT_STA));
  const std::string bfr = PgmTxt(Edt);
  fs::create_directories(fs::path(Old()).parent_path());
  std::ofstream(Old(), std::ios::binary) << "0001\r\n0001\r\nnot a vio\r\n";
  Fake.MsgBox.Answers = {TeMsgAns::Yes};
  EXPECT_EQ(Rcv->Ofr(), TVioRcv::TeOfr::Bad);
  // The offer, the reason (told by the loader or with the last box), and
  // where the copy went.
  ASSERT_GE(Fake.MsgBox.Calls.size(), 2u);
  const std::string& txt = Fake.MsgBox.Calls.back().Text;
  EXPECT_NE(txt.find(TVioRcv::BadPth(Old())), std::string::npos) << txt;
  std::string all;
  for (std::size_t i = 1; i < Fake.MsgBox.Calls.size(); ++i) all += Fake.MsgBox.Calls[i].Text;
  EXPECT_NE(all.find('#'), std::string::npos) << "the reason is told: " << all;
  EXPECT_FALSE(fs::exists(Old()));
  EXPECT_EQ(RdAll(TVioRcv::BadPth(Old())), "0001\r\n0001\r\nnot a vio\r\n");
  EXPECT_EQ(PgmTxt(Edt), bfr);
  EXPECT_TRUE(Rcv->Armed());
  Now += 31s;
  EXPECT_FALSE(Rcv->Tck()) << "nothing has changed since the offer";
  // The keeper goes on with a fresh copy.
  EXPECT_TRUE(Rcv->Wrt());
  EXPECT_EQ(RdAll(Pth()), bfr);
}

TEST_F(VioRcvTst, AFailedWriteIsToldOnceAndLeavesNoTemporaryFile) {
  // A regular file where the folder should be.
  fs::create_directories(Tmp.Path() + "data");
  { std::ofstream(Tmp.Path() + "data/tessaro") << "x"; }
  EXPECT_EQ(Rcv->Ofr(), TVioRcv::TeOfr::Non);
  ASSERT_TRUE(Edt.AddVio(VT_STA));
  EXPECT_FALSE(Rcv->Wrt());
  ASSERT_TRUE(Edt.AddVio(VT_STO));
  EXPECT_FALSE(Rcv->Wrt());
  ASSERT_EQ(Fake.MsgBox.Calls.size(), 1u);
  EXPECT_NE(Fake.MsgBox.Calls[0].Text.find(Pth()), std::string::npos);
  EXPECT_EQ(RdAll(Tmp.Path() + "data/tessaro"), "x");
}

TEST_F(VioRcvTst, EveryNameTakenLeavesTheEarlierCopiesWhole) {
  // Copies under every name this window could take, each held by a window
  // that runs; the first is this window's own name.
  Rcv.reset();
  const fs::path dir = fs::path(Old()).parent_path();
  fs::create_directories(dir);
  const std::string pid = std::to_string(::getpid());
  auto nam = [&](int k) { return dir / ("recovery-" + pid + (k ? "-" + std::to_string(k) : "")); };
  auto txt = [](int k) { return "0001\r\n" + std::to_string(k) + "\r\n"; };
  std::vector<int> held;
  for (int k = 0; k < 100; ++k) {
    std::ofstream(nam(k).string() + ".vio", std::ios::binary) << txt(k);
    held.push_back(::open((nam(k).string() + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    ASSERT_EQ(::flock(held.back(), LOCK_EX | LOCK_NB), 0);
  }
  Rcv.emplace(Edt, Old(), 30s, [this] { return Now; });
  EXPECT_FALSE(Rcv->Locked());
  EXPECT_EQ(Rcv->Ofr(), TVioRcv::TeOfr::Non);
  EXPECT_TRUE(Fake.MsgBox.Calls.empty()) << "a running window's copy is not offered";
  ASSERT_TRUE(Edt.AddVio(VT_STA));
  EXPECT_FALSE(Rcv->Wrt());
  ASSERT_EQ(Fake.MsgBox.Calls.size(), 1u);
  EXPECT_NE(Fake.MsgBox.Calls[0].Text.find(nam(0).string() + ".vio"), std::string::npos) << Fake.MsgBox.Calls[0].Text;
  // One of those windows ends without a copy: its name is taken.
  ::close(held[50]);
  fs::remove(nam(50).string() + ".vio");
  EXPECT_TRUE(Rcv->Wrt());
  EXPECT_TRUE(Rcv->Locked());
  EXPECT_EQ(Pth(), nam(50).string() + ".vio");
  for (int k = 0; k < 100; ++k) {
    if (k == 50) continue;
    EXPECT_EQ(RdAll(nam(k).string() + ".vio"), txt(k));
    ::close(held[static_cast<std::size_t>(k)]);
  }
}

TEST(VioRcvPth, FollowsXdgDataHomeOrTheHomeFolder) {
  auto get = [](const char* n) -> std::optional<std::string> {
    const char* v = std::getenv(n);
    return v ? std::optional<std::string>(v) : std::nullopt;
  };
  const auto xdg = get("XDG_DATA_HOME"), home = get("HOME");
  setenv("XDG_DATA_HOME", "/srv/data", 1);
  setenv("HOME", "/home/ann", 1);
  EXPECT_EQ(TVioRcv::DftPth(), "/srv/data/tessaro/recovery.vio");
  setenv("XDG_DATA_HOME", "relative/data", 1);
  EXPECT_EQ(TVioRcv::DftPth(), "/home/ann/.local/share/tessaro/recovery.vio");
  unsetenv("XDG_DATA_HOME");
  EXPECT_EQ(TVioRcv::DftPth(), "/home/ann/.local/share/tessaro/recovery.vio");
  unsetenv("HOME");
  EXPECT_EQ(TVioRcv::DftPth(), "");
  if (xdg) setenv("XDG_DATA_HOME", xdg->c_str(), 1);
  if (home) setenv("HOME", home->c_str(), 1);
}

}  // namespace
