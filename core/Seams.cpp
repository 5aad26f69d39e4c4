#include "core/Seams.h"

#include <cstdio>
#include <map>
#include <mutex>
#include <thread>

namespace {

class TStdErrMsgBox final : public IMsgBox {
public:
  TeMsgAns Show(const std::string& text, const std::string& caption, TeMsgBtn buttons) override {
    if (caption.empty())
      std::fprintf(stderr, "%s\n", text.c_str());
    else
      std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    return buttons == TeMsgBtn::YesNo || buttons == TeMsgBtn::YesNoCancel ? TeMsgAns::Yes : TeMsgAns::Ok;
  }
};

class TSilentSound final : public ISoundOut {
public:
  void Play(const std::string&, bool) override {}
  void Stop() override {}
};

class TNoEvtLoop final : public IEvtLoop {
public:
  TNoEvtLoop() : FUiThr(std::this_thread::get_id()) {}
  void PrcMsg() override {}
  void Terminate() override { FTrm = true; }
  bool TerminateRequested() const override { return FTrm; }
  bool OnUiThread() const override { return std::this_thread::get_id() == FUiThr; }
private:
  std::thread::id FUiThr;
  bool FTrm = false;
};

// Settings kept in memory for the life of the process.
class TMemSettings final : public ISettingsFactory {
public:
  std::unique_ptr<ISettingsStore> Create() override { return std::make_unique<TStore>(*this); }
private:
  struct TStore final : ISettingsStore {
    explicit TStore(TMemSettings& o) : FOwn(o) {}
    bool OpenKey(const std::string& key, bool canCreate) override {
      std::lock_guard<std::mutex> lk(FOwn.FMtx);
      if (!canCreate && !FOwn.FKeys.count(key)) return false;
      FOwn.FKeys[key];
      FKey = key;
      FOpn = true;
      return true;
    }
    std::string ReadString(const std::string& name) override {
      std::lock_guard<std::mutex> lk(FOwn.FMtx);
      if (!FOpn) return {};
      auto& vals = FOwn.FKeys[FKey];
      auto it = vals.find(name);
      return it == vals.end() ? std::string() : it->second;
    }
    bool WriteString(const std::string& name, const std::string& value) override {
      std::lock_guard<std::mutex> lk(FOwn.FMtx);
      if (!FOpn) return false;
      FOwn.FKeys[FKey][name] = value;
      return true;
    }
    TMemSettings& FOwn;
    std::string FKey;
    bool FOpn = false;
  };
  std::mutex FMtx;
  std::map<std::string, std::map<std::string, std::string>> FKeys;
};

TStdErrMsgBox& DefMsgBox() { static TStdErrMsgBox b; return b; }
TSilentSound& DefSound() { static TSilentSound s; return s; }
TNoEvtLoop& DefEvtLoop() { static TNoEvtLoop e; return e; }
TMemSettings& DefSettings() { static TMemSettings m; return m; }

TPlatform& Current() {
  static TPlatform p{&DefMsgBox(), &DefSound(), &DefEvtLoop(), &DefSettings()};
  return p;
}

}  // namespace

TPlatform& GuPlatform() { return Current(); }

TPlatform SetPlatform(const TPlatform& p) {
  TPlatform prv = Current();
  Current().MsgBox = p.MsgBox ? p.MsgBox : &DefMsgBox();
  Current().Sound = p.Sound ? p.Sound : &DefSound();
  Current().EvtLoop = p.EvtLoop ? p.EvtLoop : &DefEvtLoop();
  Current().Settings = p.Settings ? p.Settings : &DefSettings();
  return prv;
}

TeMsgAns ShwMsgBox(const std::string& text, const std::string& caption, TeMsgBtn buttons) {
  return GuPlatform().MsgBox->Show(text, caption, buttons);
}

void PrcMsg() { GuPlatform().EvtLoop->PrcMsg(); }

namespace {

class TNoFilDlg final : public IFilDlg {
public:
  bool Opn(const TFilDlgReq&, std::string&) override { return false; }
  bool Sav(const TFilDlgReq&, std::string&) override { return false; }
};

TNoFilDlg& DefFilDlg() { static TNoFilDlg d; return d; }
IFilDlg*& CurFilDlg() { static IFilDlg* d = &DefFilDlg(); return d; }

}  // namespace

IFilDlg& GuFilDlg() { return *CurFilDlg(); }

IFilDlg* SetFilDlg(IFilDlg* dlg) {
  IFilDlg* prv = CurFilDlg();
  CurFilDlg() = dlg ? dlg : &DefFilDlg();
  return prv;
}
