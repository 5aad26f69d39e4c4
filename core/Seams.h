// Seams to the platform. Every message box, every sound, every "let pending
// events run" and every settings access of the program goes through one of
// these small interfaces, so that tests can record and answer them.
//
// The GUI installs Qt implementations at start-up (app/); without them the
// defaults below serve a command-line program: message boxes are written to
// stderr and answered with Ok, sounds are silent, settings live in memory.
#pragma once

#include <memory>
#include <string>

// SavDscCnc: the question about unsaved changes, with Save, Discard and Cancel.
enum class TeMsgBtn { Ok, OkCancel, YesNo, YesNoCancel, SavDscCnc };
enum class TeMsgAns { Ok, Cancel, Yes, No, Sav, Dsc };

// A modal message box.
class IMsgBox {
public:
  virtual ~IMsgBox() = default;
  virtual TeMsgAns Show(const std::string& text, const std::string& caption, TeMsgBtn buttons) = 0;
};

// Sound output. One sound at a time: a new sound cuts the current one short.
// Play with sync = true returns when the sound has ended (or at once when
// there is no output device); with sync = false it returns at once.
// The path is native and exists (the caller has checked it).
class ISoundOut {
public:
  virtual ~ISoundOut() = default;
  virtual void Play(const std::string& path, bool sync) = 0;
  virtual void Stop() = 0;
};

// The event loop of the user interface thread.
class IEvtLoop {
public:
  virtual ~IEvtLoop() = default;
  // Let pending events run (repaints, timers, input).
  virtual void PrcMsg() = 0;
  // Ask the application to end as soon as its event loop runs.
  virtual void Terminate() = 0;
  virtual bool TerminateRequested() const = 0;
  // True when called on the user interface thread.
  virtual bool OnUiThread() const = 0;
};

// One open key of the per-user settings store (the registry on Windows).
// Keys are written as in the registry: "SOFTWARE\Quorel\TessaroV1.0\Options".
class ISettingsStore {
public:
  virtual ~ISettingsStore() = default;
  // Open the key; create it when canCreate is set and it is missing. False
  // when the key can be neither opened nor created (or the store cannot be written).
  virtual bool OpenKey(const std::string& key, bool canCreate) = 0;
  // Text value of the open key; an absent value reads as empty.
  virtual std::string ReadString(const std::string& name) = 0;
  // Write a text value into the open key; false when the store refuses it.
  virtual bool WriteString(const std::string& name, const std::string& value) = 0;
};

class ISettingsFactory {
public:
  virtual ~ISettingsFactory() = default;
  // A new access object on the current user's root; null when it cannot be created.
  virtual std::unique_ptr<ISettingsStore> Create() = 0;
};

// The open and save file dialogs.
struct TFilDlgReq {
  // "description|pattern" pairs, each separated from the next by '|'.
  std::string Filter;
  // Folder the dialog starts in (native); empty: the platform's choice.
  std::string IniDir;
};

class IFilDlg {
public:
  virtual ~IFilDlg() = default;
  // True with the chosen file (native full path); false when cancelled.
  // The save dialog never asks about an existing file itself: the caller does.
  virtual bool Opn(const TFilDlgReq& req, std::string& name) = 0;
  virtual bool Sav(const TFilDlgReq& req, std::string& name) = 0;
};

// The file dialogs in use; without an installed one every dialog is cancelled.
IFilDlg& GuFilDlg();
// Install the dialogs; null selects the default. Returns the previous ones.
IFilDlg* SetFilDlg(IFilDlg* dlg);

struct TPlatform {
  IMsgBox* MsgBox;
  ISoundOut* Sound;
  IEvtLoop* EvtLoop;
  ISettingsFactory* Settings;
};

// The seams in use. Never null: unset entries fall back to the defaults.
TPlatform& GuPlatform();
// Install seams; null entries select the defaults. Returns the previous set.
TPlatform SetPlatform(const TPlatform& p);

// Shorthands.
TeMsgAns ShwMsgBox(const std::string& text, const std::string& caption = "",
                   TeMsgBtn buttons = TeMsgBtn::Ok);
void PrcMsg();

// Installs seams for the lifetime of the object and restores the previous ones.
class TScopedPlatform {
public:
  explicit TScopedPlatform(const TPlatform& p) : FPrv(SetPlatform(p)) {}
  ~TScopedPlatform() { SetPlatform(FPrv); }
  TScopedPlatform(const TScopedPlatform&) = delete;
  TScopedPlatform& operator=(const TScopedPlatform&) = delete;
private:
  TPlatform FPrv;
};
