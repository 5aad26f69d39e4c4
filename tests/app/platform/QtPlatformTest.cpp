// The Qt seams: settings store on QSettings in a temporary XDG_CONFIG_HOME,
// the event loop, the message box (closed by a timer) and their installation.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QLocale>
#include <QMessageBox>
#include <QPointer>
#include <QSettings>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "app/platform/QtFilDlg.h"
#include "app/platform/QtPlatform.h"
#include "sound/QtTstEnv.h"
#include "sound/qt/QtSoundOut.h"

namespace fs = std::filesystem;

namespace {

const std::string GcOpt = "SOFTWARE\\Quorel\\TessaroV1.0\\Options";

std::string ConfFile() { return QtTstEnv()->Cfg + "/Quorel/TessaroV1.0.conf"; }

std::string ReadAll(const std::string& p) {
  std::ifstream f(p);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

}  // namespace

TEST(QtSettings, KeyToGroup) {
  struct {
    const char* Key;
    bool Ok;
    const char* Grp;
  } const cas[] = {
      {"SOFTWARE\\Quorel\\TessaroV1.0\\Options", true, "Options"},
      {"SOFTWARE\\Quorel\\TessaroV1.0\\Ports", true, "Ports"},
      {"SOFTWARE\\Quorel\\TessaroV1.0", true, ""},
      {"SOFTWARE\\Quorel\\TessaroV1.0\\", true, ""},
      {"software\\quorel\\tessarov1.0\\Options", true, "Options"},
      {"SOFTWARE\\Quorel\\TessaroV1.0\\A\\B", true, "A/B"},
      {"SOFTWARE\\Quorel\\TessaroV1.0\\\\Options\\", true, "Options"},
      {"SOFTWARE\\Quorel\\TessaroV1.0Options", false, ""},
      {"SOFTWARE\\Quorel\\Other\\Options", false, ""},
      {"SOFTWARE\\Quorel", false, ""},
      {"", false, ""},
  };
  for (const auto& c : cas) {
    std::string grp = "unchanged";
    EXPECT_EQ(TQtSettingsFactory::KeyToGroup(c.Key, grp), c.Ok) << c.Key;
    if (c.Ok) {
      EXPECT_EQ(grp, c.Grp) << c.Key;
    }
  }
}

TEST(QtSettings, ComportWrittenAndReadBack) {
  TQtSettingsFactory fac;
  auto st = fac.Create();
  ASSERT_TRUE(st);
  EXPECT_EQ(st->ReadString("Comport"), "");  // nothing open yet
  EXPECT_FALSE(st->WriteString("Comport", "COM1"));
  ASSERT_TRUE(st->OpenKey(GcOpt, true));
  EXPECT_EQ(st->ReadString("NeverWritten"), "");
  ASSERT_TRUE(st->WriteString("Comport", "COM3"));
  EXPECT_EQ(st->ReadString("Comport"), "COM3");

  // A second access object, as the settings handler uses, sees the value
  // without creating the key.
  auto st2 = fac.Create();
  ASSERT_TRUE(st2->OpenKey(GcOpt, false));
  EXPECT_EQ(st2->ReadString("Comport"), "COM3");
  ASSERT_TRUE(st2->WriteString("Comport", "COM12"));
  EXPECT_EQ(st->ReadString("Comport"), "COM12");

  // On disk: the INI file of the user's configuration folder.
  const std::string ini = ReadAll(ConfFile());
  EXPECT_NE(ini.find("[Options]"), std::string::npos) << ini;
  EXPECT_NE(ini.find("Comport=COM12"), std::string::npos) << ini;

  // Text that INI files would otherwise split or change.
  ASSERT_TRUE(st->WriteString("Text", "a, b; c=d \\ e"));
  EXPECT_EQ(fac.Create()->OpenKey(GcOpt, false), true);
  auto st3 = fac.Create();
  ASSERT_TRUE(st3->OpenKey(GcOpt, false));
  EXPECT_EQ(st3->ReadString("Text"), "a, b; c=d \\ e");
}

TEST(QtSettings, PortMappingsUnderTheirOwnKey) {
  {
    QSettings s(QSettings::NativeFormat, QSettings::UserScope, "Quorel", "TessaroV1.0");
    s.setValue("Ports/COM3", "/dev/ttyUSB0");
    s.sync();
  }
  TQtSettingsFactory fac;
  auto st = fac.Create();
  ASSERT_TRUE(st->OpenKey("SOFTWARE\\Quorel\\TessaroV1.0\\Ports", false));
  EXPECT_EQ(st->ReadString("COM3"), "/dev/ttyUSB0");
  EXPECT_EQ(st->ReadString("COM4"), "");
  ASSERT_TRUE(st->WriteString("COM5", "/dev/pts/7"));
  QSettings s(QSettings::NativeFormat, QSettings::UserScope, "Quorel", "TessaroV1.0");
  EXPECT_EQ(s.value("Ports/COM5").toString(), "/dev/pts/7");
}

TEST(QtSettings, MissingKeyOpensOnlyWhenCreated) {
  TQtSettingsFactory fac;
  auto st = fac.Create();
  EXPECT_FALSE(st->OpenKey("SOFTWARE\\Quorel\\TessaroV1.0\\Missing", false));
  EXPECT_FALSE(st->WriteString("x", "y"));  // nothing open
  EXPECT_FALSE(st->OpenKey("SOFTWARE\\Other\\Options", true));
  ASSERT_TRUE(st->OpenKey("SOFTWARE\\Quorel\\TessaroV1.0\\Fresh", true));
  EXPECT_EQ(st->ReadString("x"), "");
  // Created in this process: opens without creating though it holds no value.
  EXPECT_TRUE(fac.Create()->OpenKey("SOFTWARE\\Quorel\\TessaroV1.0\\Fresh", false));
  EXPECT_FALSE(TQtSettingsFactory().Create()->OpenKey("SOFTWARE\\Quorel\\TessaroV1.0\\Fresh", false));
}

// A damaged file is read as far as it goes, written anew, and kept aside.
TEST(QtSettings, DamagedFileIsKeptAsideAndWrittenAnew) {
  const char raw[] = "\x00\x01garbage\xff\xfe[[[\n=\n[Options]\nComport=COM7\n[Broken\nx=1\n";
  const std::string bad(raw, sizeof raw - 1);
  fs::create_directories(QtTstEnv()->Cfg + "/Quorel");
  std::ofstream(ConfFile(), std::ios::binary | std::ios::trunc) << bad;
  fs::remove(ConfFile() + ".damaged");
  TQtSettingsFactory fac;
  auto st = fac.Create();
  ASSERT_TRUE(st->OpenKey(GcOpt, true));
  EXPECT_EQ(st->ReadString("Comport"), "COM7");
  EXPECT_TRUE(st->WriteString("Comport", "COM2"));
  EXPECT_EQ(ReadAll(ConfFile() + ".damaged"), bad);
  const std::string ini = ReadAll(ConfFile());
  EXPECT_NE(ini.find("Comport=COM2"), std::string::npos) << ini;
  EXPECT_TRUE(st->WriteString("Comport", "COM3"));  // a second write keeps the first copy
  EXPECT_EQ(ReadAll(ConfFile() + ".damaged"), bad);
}

// A regular file where the Quorel folder should be: nothing can be written.
TEST(QtSettings, StoreThatCannotBeWritten) {
  const fs::path dir = QtTstEnv()->Cfg + "/Quorel";
  const fs::path aside = QtTstEnv()->Cfg + "/Quorel.aside";
  TQtSettingsFactory fac;
  auto early = fac.Create();
  ASSERT_TRUE(early->OpenKey(GcOpt, true));  // opened while the store was fine
  if (fs::exists(dir)) fs::rename(dir, aside);
  std::ofstream(dir.string()) << "not a folder";

  auto st = fac.Create();
  EXPECT_FALSE(st->OpenKey(GcOpt, true));
  EXPECT_FALSE(st->OpenKey("SOFTWARE\\Quorel\\TessaroV1.0\\Other", true));
  EXPECT_FALSE(st->WriteString("Comport", "COM0"));
  EXPECT_FALSE(early->WriteString("Probe", "COM0"));

  fs::remove(dir);
  if (fs::exists(aside)) fs::rename(aside, dir);
}

TEST(QtEvtLoop, TerminateSetsTheFlag) {
  TQtEvtLoop ev;
  EXPECT_FALSE(ev.TerminateRequested());
  ev.Terminate();  // no event loop runs: quit() does nothing, the flag stays
  EXPECT_TRUE(ev.TerminateRequested());
}

TEST(QtEvtLoop, PendingEventsRunOnTheGuiThreadOnly) {
  TQtEvtLoop ev;
  EXPECT_TRUE(ev.OnUiThread());
  bool ran = false;
  QMetaObject::invokeMethod(qApp, [&] { ran = true; }, Qt::QueuedConnection);
  std::atomic<bool> wrkUi{true};
  std::thread([&] {
    wrkUi = ev.OnUiThread();
    ev.PrcMsg();  // must not run the GUI thread's events
  }).join();
  EXPECT_FALSE(wrkUi.load());
  EXPECT_FALSE(ran);
  ev.PrcMsg();
  EXPECT_TRUE(ran);
}

namespace {

struct TBoxSeen {
  QWidget* Parent = nullptr;
  QString Text, Title;
  QMessageBox::StandardButtons Btns;
  QMessageBox::Icon Icon = QMessageBox::Question;
  QStringList BtnTxt;  // the texts of the standard buttons, in their order, without "&"
  bool Seen = false;
};

// Polls for the modal box and clicks the given button (or closes the box).
void ArmCloser(TBoxSeen& seen, QMessageBox::StandardButton click) {
  using B = QMessageBox;
  auto* tmr = new QTimer(qApp);
  QObject::connect(tmr, &QTimer::timeout, tmr, [tmr, &seen, click] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    seen.Parent = box->parentWidget();
    seen.Text = box->text();
    seen.Title = box->windowTitle();
    seen.Btns = box->standardButtons();
    seen.Icon = box->icon();
    for (QMessageBox::StandardButton b : {B::Ok, B::Save, B::Discard, B::Yes, B::No, B::Cancel})
      if (box->button(b)) seen.BtnTxt << box->button(b)->text().remove('&');
    seen.Seen = true;
    if (click == QMessageBox::NoButton)
      box->reject();
    else
      box->button(click)->click();
    tmr->deleteLater();
  });
  tmr->start(10);
}

}  // namespace

TEST(QtMsgBox, ButtonsAndAnswers) {
  using B = QMessageBox;
  struct {
    TeMsgBtn Btn;
    QMessageBox::StandardButtons Shown;
    QMessageBox::StandardButton Click;
    TeMsgAns Ans;
  } const cas[] = {
      {TeMsgBtn::Ok, B::Ok, B::Ok, TeMsgAns::Ok},
      {TeMsgBtn::OkCancel, B::Ok | B::Cancel, B::Cancel, TeMsgAns::Cancel},
      {TeMsgBtn::OkCancel, B::Ok | B::Cancel, B::Ok, TeMsgAns::Ok},
      {TeMsgBtn::YesNo, B::Yes | B::No, B::No, TeMsgAns::No},
      {TeMsgBtn::YesNo, B::Yes | B::No, B::Yes, TeMsgAns::Yes},
      {TeMsgBtn::YesNoCancel, B::Yes | B::No | B::Cancel, B::Cancel, TeMsgAns::Cancel},
      {TeMsgBtn::YesNo, B::Yes | B::No, B::NoButton, TeMsgAns::No},  // closed
      {TeMsgBtn::Ok, B::Ok, B::NoButton, TeMsgAns::Ok},
  };
  TQtMsgBox mb;
  int i = 0;
  for (const auto& c : cas) {
    SCOPED_TRACE(i++);
    TBoxSeen seen;
    ArmCloser(seen, c.Click);
    EXPECT_EQ(mb.Show("File 'x.wav' not found", i % 2 ? "Destructor" : "", c.Btn), c.Ans);
    ASSERT_TRUE(seen.Seen);
    EXPECT_EQ(seen.Text, "File 'x.wav' not found");
    EXPECT_EQ(seen.Title, i % 2 ? "Destructor" : "");
    EXPECT_EQ(seen.Btns, c.Shown);
    EXPECT_EQ(seen.Icon, QMessageBox::NoIcon);
  }
}

TEST(QtMsgBox, StandardButtonsSpeakTheChosenLanguage) {
  const struct {
    std::uint8_t Lge;
    QStringList Sdc, Ync;  // Save Discard Cancel; Yes No Cancel
    QLocale::Language Loc;
  } cas[] = {
      {2, {"Speichern", "Verwerfen", "Abbrechen"}, {"Ja", "Nein", "Abbrechen"}, QLocale::German},
      {1, {"Opslaan", "Verwerpen", "Annuleren"}, {"Ja", "Nee", "Annuleren"}, QLocale::Dutch},
      {0, {"Save", "Discard", "Cancel"}, {"Yes", "No", "Cancel"}, QLocale::system().language()},
  };
  TQtMsgBox mb;
  for (const auto& c : cas) {
    SCOPED_TRACE(int(c.Lge));
    ASSERT_TRUE(SetQtLge(c.Lge)) << "the toolkit's translations are not installed";
    TBoxSeen sdc, ync;
    ArmCloser(sdc, QMessageBox::Cancel);
    mb.Show("?", "", TeMsgBtn::SavDscCnc);
    ArmCloser(ync, QMessageBox::Cancel);
    mb.Show("?", "", TeMsgBtn::YesNoCancel);
    EXPECT_EQ(sdc.BtnTxt, c.Sdc);
    EXPECT_EQ(ync.BtnTxt, c.Ync);
    EXPECT_EQ(QLocale().language(), c.Loc);
  }
}

TEST(QtMsgBox, ParentIsTheActiveWindow) {
  TQtMsgBox mb;
  {
    TBoxSeen seen;
    ArmCloser(seen, QMessageBox::Ok);
    mb.Show("No window", "", TeMsgBtn::Ok);
    ASSERT_TRUE(seen.Seen);
    EXPECT_EQ(seen.Parent, nullptr);
  }
  QWidget w;
  w.show();
  w.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  TBoxSeen seen;
  ArmCloser(seen, QMessageBox::Ok);
  mb.Show("Over the window", "", TeMsgBtn::Ok);
  ASSERT_TRUE(seen.Seen);
  EXPECT_EQ(seen.Parent, &w);
}

TEST(QtMsgBox, FromAWorkerThreadTheBoxIsShownOnTheGuiThread) {
  TQtMsgBox mb;
  TBoxSeen seen;
  ArmCloser(seen, QMessageBox::No);
  std::atomic<bool> done{false};
  TeMsgAns ans = TeMsgAns::Ok;
  std::thread wrk([&] {
    ans = mb.Show("Worker", "", TeMsgBtn::YesNo);
    done = true;
  });
  QElapsedTimer t;
  t.start();
  while (!done.load() && t.elapsed() < 10000) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  wrk.join();
  EXPECT_TRUE(seen.Seen);
  EXPECT_EQ(seen.Text, "Worker");
  EXPECT_EQ(ans, TeMsgAns::No);
}

TEST(QtMsgBox, FromAWorkerThreadAnOkBoxDoesNotWaitForTheGuiThread) {
  TQtMsgBox mb;
  TeMsgAns ans = TeMsgAns::Cancel;
  // The GUI thread joins the worker without running events.
  std::thread([&] { ans = mb.Show("File 'x.wav' not found", "", TeMsgBtn::Ok); }).join();
  EXPECT_EQ(ans, TeMsgAns::Ok);
  TBoxSeen seen;
  ArmCloser(seen, QMessageBox::Ok);
  QElapsedTimer t;
  t.start();
  while (!seen.Seen && t.elapsed() < 10000) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  EXPECT_TRUE(seen.Seen);  // shown later on the GUI thread
  EXPECT_EQ(seen.Text, "File 'x.wav' not found");
}

TEST(QtPlatform, InstallsAllFourSeamsAndRestoresThePrevious) {
  const TPlatform before = GuPlatform();
  {
    TQtPlatform p;
    EXPECT_EQ(GuPlatform().MsgBox, &p.MsgBox());
    EXPECT_EQ(GuPlatform().Sound, &p.Sound());
    EXPECT_EQ(GuPlatform().EvtLoop, &p.EvtLoop());
    EXPECT_EQ(GuPlatform().Settings, &p.Settings());
    auto st = GuPlatform().Settings->Create();
    ASSERT_TRUE(st->OpenKey(GcOpt, true));
    EXPECT_TRUE(st->WriteString("Installed", "yes"));
  }
  EXPECT_EQ(GuPlatform().MsgBox, before.MsgBox);
  EXPECT_EQ(GuPlatform().Sound, before.Sound);
  EXPECT_EQ(GuPlatform().EvtLoop, before.EvtLoop);
  EXPECT_EQ(GuPlatform().Settings, before.Settings);
}

int main(int argc, char** argv) { return RunQtTests(argc, argv); }

TEST(QtFilDlg, FilterListInTheDialogsForm) {
  EXPECT_EQ(TQtFilDlg::QtFlt("Visual program files (*.vio)|*.vio").toStdString(), "Visual program files (*.vio)");
  EXPECT_EQ(TQtFilDlg::QtFlt("Text|*.txt|All|*").toStdString(), "Text (*.txt);;All (*)");
}
