#include "support/FakePlatform.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace fs = std::filesystem;

TeMsgAns TFakeMsgBox::Show(const std::string& text, const std::string& caption, TeMsgBtn buttons) {
  Calls.push_back({text, caption, buttons});
  if (!Answers.empty()) {
    TeMsgAns a = Answers.front();
    Answers.pop_front();
    return a;
  }
  if (buttons == TeMsgBtn::SavDscCnc) return TeMsgAns::Cancel;  // nothing is lost
  return buttons == TeMsgBtn::YesNo || buttons == TeMsgBtn::YesNoCancel ? TeMsgAns::Yes : TeMsgAns::Ok;
}

std::vector<std::string> TFakeMsgBox::Texts() const {
  std::vector<std::string> t;
  for (const auto& c : Calls) t.push_back(c.Text);
  return t;
}

namespace {
struct TFakeStore final : ISettingsStore {
  explicit TFakeStore(TFakeSettings& o) : FOwn(o) {}
  bool OpenKey(const std::string& key, bool canCreate) override {
    if (FOwn.FailOpen) return false;
    if (!canCreate && !FOwn.Keys.count(key)) return false;
    if (canCreate && FOwn.FailWrite && !FOwn.Keys.count(key)) return false;
    FOwn.Keys[key];
    FKey = key;
    return true;
  }
  std::string ReadString(const std::string& name) override {
    if (FKey.empty()) return {};
    auto& v = FOwn.Keys[FKey];
    auto it = v.find(name);
    return it == v.end() ? std::string() : it->second;
  }
  bool WriteString(const std::string& name, const std::string& value) override {
    if (FKey.empty() || FOwn.FailWrite) return false;
    FOwn.Keys[FKey][name] = value;
    FOwn.Writes.push_back(FKey + "|" + name + "=" + value);
    return true;
  }
  TFakeSettings& FOwn;
  std::string FKey;
};
}  // namespace

std::unique_ptr<ISettingsStore> TFakeSettings::Create() {
  if (FailCreate) return nullptr;
  return std::make_unique<TFakeStore>(*this);
}

TFakePlatform::TFakePlatform()
    : FPrv(SetPlatform({&MsgBox, &Sound, &EvtLoop, &Settings})), FPrvFilDlg(SetFilDlg(&FilDlg)) {}
TFakePlatform::~TFakePlatform() {
  SetFilDlg(FPrvFilDlg);
  SetPlatform(FPrv);
}

bool TFakeFilDlg::Ans(bool sav, const TFilDlgReq& req, std::string& name) {
  Calls.push_back({sav, req});
  if (Answers.empty()) return false;
  std::optional<std::string> a = std::move(Answers.front());
  Answers.pop_front();
  if (!a) return false;
  name = *a;
  return true;
}

TTmpDir::~TTmpDir() {
  std::error_code ec;
  fs::remove_all(FPth, ec);
}

std::string TTmpDir::Write(const std::string& name, const std::string& content) const {
  std::string p = FPth + name;
  fs::create_directories(fs::path(p).parent_path());
  std::ofstream(p, std::ios::binary) << content;
  return p;
}

