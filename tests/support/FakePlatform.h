// Recording test doubles of the platform seams, and a fixture helper that
// installs them for one test.
#pragma once

#include <deque>
#include <map>
#include <memory>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/Seams.h"

struct TMsgBoxCall {
  std::string Text;
  std::string Caption;
  TeMsgBtn Buttons;
};

// Records every message box and answers from a queue (Ok / Yes when empty;
// Cancel to the question about unsaved changes).
class TFakeMsgBox final : public IMsgBox {
public:
  TeMsgAns Show(const std::string& text, const std::string& caption, TeMsgBtn buttons) override;
  std::vector<TMsgBoxCall> Calls;
  std::deque<TeMsgAns> Answers;
  std::vector<std::string> Texts() const;
};

struct TSoundCall {
  std::string Path;
  bool Sync;
};

class TFakeSound final : public ISoundOut {
public:
  void Play(const std::string& path, bool sync) override { Calls.push_back({path, sync}); }
  void Stop() override { ++Stops; }
  std::vector<TSoundCall> Calls;
  int Stops = 0;
};

// Counts "let pending events run" and records the termination request.
class TFakeEvtLoop final : public IEvtLoop {
public:
  void PrcMsg() override { ++PrcMsgCnt; if (OnPrcMsg) OnPrcMsg(); }
  void Terminate() override { Terminated = true; }
  bool TerminateRequested() const override { return Terminated; }
  bool OnUiThread() const override { return UiThread; }
  int PrcMsgCnt = 0;
  bool Terminated = false;
  bool UiThread = true;
  void (*OnPrcMsg)() = nullptr;
};

// Settings in memory, with switches that make the store fail.
class TFakeSettings final : public ISettingsFactory {
public:
  std::unique_ptr<ISettingsStore> Create() override;
  bool FailCreate = false;  // the access object cannot be created
  bool FailOpen = false;    // no key can be opened or created
  bool FailWrite = false;   // values cannot be written
  std::map<std::string, std::map<std::string, std::string>> Keys;
  std::vector<std::string> Writes;  // "key|name=value"
};

struct TFilDlgCall {
  bool Sav;  // the save dialog (false: the open dialog)
  TFilDlgReq Req;
};

// Records every file dialog and answers from a queue: a name chooses that
// file, nullopt cancels; an empty queue cancels.
class TFakeFilDlg final : public IFilDlg {
public:
  bool Opn(const TFilDlgReq& req, std::string& name) override { return Ans(false, req, name); }
  bool Sav(const TFilDlgReq& req, std::string& name) override { return Ans(true, req, name); }
  std::vector<TFilDlgCall> Calls;
  std::deque<std::optional<std::string>> Answers;
private:
  bool Ans(bool sav, const TFilDlgReq& req, std::string& name);
};

// All the doubles, installed for the lifetime of the object.
class TFakePlatform {
public:
  TFakePlatform();
  ~TFakePlatform();
  TFakePlatform(const TFakePlatform&) = delete;
  TFakePlatform& operator=(const TFakePlatform&) = delete;
  TFakeMsgBox MsgBox;
  TFakeSound Sound;
  TFakeEvtLoop EvtLoop;
  TFakeSettings Settings;
  TFakeFilDlg FilDlg;

private:
  TPlatform FPrv;
  IFilDlg* FPrvFilDlg;
};

// Runs child in a forked process and gives back the text it returns; parent
// runs in this process meanwhile (after the fork, before the child's end).
// POSIX systems only.
std::string RunInChild(const std::function<std::string()>& child, const std::function<void()>& parent = {});

// A fresh temporary folder, removed with the object.
class TTmpDir {
public:
  TTmpDir();
  ~TTmpDir();
  TTmpDir(const TTmpDir&) = delete;
  TTmpDir& operator=(const TTmpDir&) = delete;
  const std::string& Path() const { return FPth; }  // ends in '/' ('\\' on Windows)
  std::string Write(const std::string& name, const std::string& content) const;
private:
  std::string FPth;
};
