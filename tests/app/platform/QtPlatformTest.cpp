// The Qt seams: settings store on QSettings in a temporary XDG_CONFIG_HOME,
// the event loop, the message box (closed by a timer) and their installation.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLocale>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <map>
#include <thread>

#include "app/platform/QtFilDlg.h"
#include "app/platform/QtPlatform.h"
#include "sound/qt/QtSoundOut.h"
#include "sound/QtTstEnv.h"

namespace fs = std::filesystem;

namespace {

const std::string GcOpt = "SOFTWARE\\Quorel\\TessaroV1.0\\Options";

std::string ConfFile() { return GpQtTstEnv->Cfg + "/Quorel/TessaroV1.0.conf"; }

std::string ReadAll(const std::string& p) {
  std::ifstream f(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), {}};
}

// "\n" a line break, "\xHH" a byte.
std::string Unesc(const std::string& s) {
  std::string r;
  for (std::size_t i = 0; i < s.size(); ++i)
    if (s.compare(i, 2, "\\n") == 0) r += '\n', ++i;
    else if (s.compare(i, 2, "\\x") == 0) r += char(std::stoi(s.substr(i + 2, 2), nullptr, 16)), i += 3;
    else r += s[i];
  return r;
}

// One driver over the steps of settings.txt.
TEST(QtSettings, KeysValuesAndTheIniFile) {
  std::ifstream f(std::string(TESSARO_SOURCE_DIR) + "/tests/app/platform/settings.txt");
  const fs::path dir = GpQtTstEnv->Cfg + "/Quorel", aside = GpQtTstEnv->Cfg + "/Quorel.aside";
  auto fac = std::make_unique<TQtSettingsFactory>();
  std::map<char, std::unique_ptr<ISettingsStore>> st;
  for (std::string l; std::getline(f, l);) {
    if (l.size() < 3 || l[0] == '#') continue;
    SCOPED_TRACE(l);
    const auto p = std::min(l.find(" =>"), l.size());
    const std::string arg = p > 4 ? l.substr(4, p - 4) : "", exp = p + 4 < l.size() ? l.substr(p + 4) : "";
    const std::string key = arg.substr(0, arg.find(" | ")), val = arg.substr(std::min(arg.size(), key.size() + 3));
    auto& o = st[l[0]];
    if (!o) o = fac->Create();
    std::string got, grp;
    switch (l[2]) {
      case '*': fac = std::make_unique<TQtSettingsFactory>(), st.clear(); continue;
      case 'g': got = TQtSettingsFactory::KeyToGroup(key, grp) ? grp : "-"; break;
      case 'o': case 'c': got = o->OpenKey(key, l[2] == 'c') ? "1" : "0"; break;
      case 'w': got = o->WriteString(key, val) ? "1" : "0"; break;
      case 'r': got = o->ReadString(key); break;
      case 'i': got = ReadAll(ConfFile()).find(Unesc(key)) != std::string::npos ? "1" : "0"; break;
      case 'k': got = ReadAll(ConfFile() + ".damaged") == Unesc(key) ? "1" : "0"; break;
      case 'D':
        fs::create_directories(dir), fs::remove(ConfFile() + ".damaged");
        std::ofstream(ConfFile(), std::ios::binary | std::ios::trunc) << Unesc(key);
        continue;
      case 'X': fs::rename(dir, aside), std::ofstream(dir) << "not a folder"; continue;
      case 'U': fs::remove(dir), fs::rename(aside, dir); continue;
      default: FAIL() << "unknown step";
    }
    EXPECT_EQ(got, exp) << ReadAll(ConfFile());
  }
}

TEST(QtEvtLoop, TerminateFlagAndPendingEventsOnTheGuiThreadOnly) {
  TQtEvtLoop ev;
  EXPECT_FALSE(ev.TerminateRequested());
  ev.Terminate();  // no event loop runs: quit() does nothing, the flag stays
  EXPECT_TRUE(ev.TerminateRequested());
  EXPECT_TRUE(ev.OnUiThread());
  bool ran = false;
  QMetaObject::invokeMethod(qApp, [&] { ran = true; }, Qt::QueuedConnection);
  std::atomic<bool> wrkUi{true};
  std::thread([&] { wrkUi = ev.OnUiThread(), ev.PrcMsg(); }).join();  // must not run the GUI thread's events
  EXPECT_FALSE(wrkUi.load());
  EXPECT_FALSE(ran);
  ev.PrcMsg();
  EXPECT_TRUE(ran);
}

// What a box showed: "text|title" (with "|icon" when it has one), its parent
// and the texts of its standard buttons, in their order, without "&".
struct TBoxSeen {
  QString Text;
  QWidget* Parent = nullptr;
  QStringList Btns;
  bool Seen = false;
  QString Acc;  // accessible name | description | text format
};

// Polls for the modal box and clicks the given button (or closes the box).
void ArmCloser(TBoxSeen& seen, QMessageBox::StandardButton click) {
  using B = QMessageBox;
  auto* tmr = new QTimer(qApp);
  QObject::connect(tmr, &QTimer::timeout, tmr, [tmr, &seen, click] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    seen = {box->text() + "|" + box->windowTitle() + (box->icon() ? "|icon" : ""), box->parentWidget(), {}, true,
            box->accessibleName() + "|" + box->accessibleDescription() + "|" +
                (box->textFormat() == Qt::PlainText ? "plain" : "rich")};
    for (QMessageBox::StandardButton b : {B::Ok, B::Save, B::Discard, B::Yes, B::No, B::Cancel})
      if (box->button(b)) seen.Btns << box->button(b)->text().remove('&');
    click == B::NoButton ? box->reject() : box->button(click)->click();
    tmr->deleteLater();
  });
  tmr->start(10);
}

bool WaitFor(const std::function<bool()>& f) { return QTest::qWaitFor(f, 10000); }

// Every case again over an active window, which becomes the box's parent.
TEST(QtMsgBox, ButtonsAnswersAndParent) {
  using B = QMessageBox;
  const struct {
    TeMsgBtn Btn;
    QString Shown;
    QMessageBox::StandardButton Click;  // NoButton: the box is closed
    TeMsgAns Ans;
  } cas[] = {
      {TeMsgBtn::Ok, "OK", B::Ok, TeMsgAns::Ok}, {TeMsgBtn::OkCancel, "OK Cancel", B::Cancel, TeMsgAns::Cancel},
      {TeMsgBtn::OkCancel, "OK Cancel", B::Ok, TeMsgAns::Ok}, {TeMsgBtn::YesNo, "Yes No", B::No, TeMsgAns::No},
      {TeMsgBtn::YesNo, "Yes No", B::Yes, TeMsgAns::Yes},
      {TeMsgBtn::YesNoCancel, "Yes No Cancel", B::Cancel, TeMsgAns::Cancel},
      {TeMsgBtn::YesNo, "Yes No", B::NoButton, TeMsgAns::No}, {TeMsgBtn::Ok, "OK", B::NoButton, TeMsgAns::Ok},
  };
  TQtMsgBox mb;
  QWidget w;
  const int n = int(std::size(cas));
  for (int i = 0; i < 2 * n; ++i) {
    SCOPED_TRACE(i);
    const auto& c = cas[i % n];
    if (i >= n) w.show(), w.activateWindow();
    ASSERT_TRUE(i < n || QTest::qWaitForWindowActive(&w));
    TBoxSeen seen;
    ArmCloser(seen, c.Click);
    EXPECT_EQ(mb.Show("File 'x.wav' not found", i % 2 ? "Destructor" : "", c.Btn), c.Ans);
    EXPECT_EQ(seen.Text, QString("File 'x.wav' not found|") + (i % 2 ? "Destructor" : ""));
    EXPECT_EQ(seen.Btns.join(' '), c.Shown);
    EXPECT_EQ(seen.Parent, i < n ? nullptr : &w);
    // A screen reader reads the caption (the text when there is none) and the text, never as markup.
    EXPECT_EQ(seen.Acc, QString(i % 2 ? "Destructor" : "File 'x.wav' not found") + "|File 'x.wav' not found|plain");
  }
}

TEST(QtMsgBox, StandardButtonsSpeakTheChosenLanguage) {
  const struct {
    std::uint8_t Lge;
    QString Sdc, Ync;  // Save Discard Cancel; Yes No Cancel
    QLocale::Language Loc;
  } cas[] = {
      {2, "Speichern Verwerfen Abbrechen", "Ja Nein Abbrechen", QLocale::German},
      {1, "Opslaan Verwerpen Annuleren", "Ja Nee Annuleren", QLocale::Dutch},
      {0, "Save Discard Cancel", "Yes No Cancel", QLocale::system().language()},
  };
  TQtMsgBox mb;
  for (const auto& c : cas) {
    SCOPED_TRACE(int(c.Lge));
    ASSERT_TRUE(SetQtLge(c.Lge)) << "the toolkit's translations are not installed";
    TBoxSeen sdc, ync;
    ArmCloser(sdc, QMessageBox::Cancel), mb.Show("?", "", TeMsgBtn::SavDscCnc);
    ArmCloser(ync, QMessageBox::Cancel), mb.Show("?", "", TeMsgBtn::YesNoCancel);
    EXPECT_EQ(sdc.Btns.join(' ') + "/" + ync.Btns.join(' '), c.Sdc + "/" + c.Ync);
    EXPECT_EQ(QLocale().language(), c.Loc);
  }
}

// From a worker thread the box is shown on the GUI thread: a question waits
// for its answer; an Ok box does not wait (the GUI thread joins the worker
// without running events) and is shown later.
TEST(QtMsgBox, FromAWorkerThread) {
  TQtMsgBox mb;
  TBoxSeen seen;
  ArmCloser(seen, QMessageBox::No);
  std::atomic<bool> done{false};
  std::atomic<TeMsgAns> ans{TeMsgAns::Ok};
  std::thread wrk([&] { ans = mb.Show("Worker", "", TeMsgBtn::YesNo), done = true; });
  EXPECT_TRUE(WaitFor([&] { return done.load(); }));
  wrk.join();
  EXPECT_EQ(seen.Text, "Worker|");
  EXPECT_EQ(ans, TeMsgAns::No);
  std::thread([&] { ans = mb.Show("Ok", "", TeMsgBtn::Ok); }).join();
  EXPECT_EQ(ans, TeMsgAns::Ok);
  ArmCloser(seen = {}, QMessageBox::Ok);
  EXPECT_TRUE(WaitFor([&] { return seen.Seen; }));
  EXPECT_EQ(seen.Text, "Ok|");
}

TEST(QtPlatform, InstallsAllFourSeamsAndRestoresThePrevious) {
  auto seams = [](const TPlatform& p) { return std::vector<const void*>{p.MsgBox, p.Sound, p.EvtLoop, p.Settings}; };
  const auto before = seams(GuPlatform());
  {
    TQtPlatform p;
    EXPECT_EQ(seams(GuPlatform()), seams({&p.MsgBox(), &p.Sound(), &p.EvtLoop(), &p.Settings()}));
    auto st = GuPlatform().Settings->Create();
    ASSERT_TRUE(st->OpenKey(GcOpt, true));
    EXPECT_TRUE(st->WriteString("Installed", "yes"));
  }
  EXPECT_EQ(seams(GuPlatform()), before);
}

TEST(QtFilDlg, FilterListInTheDialogsForm) {
  EXPECT_EQ(TQtFilDlg::QtFlt("Visual program files (*.vio)|*.vio").toStdString(), "Visual program files (*.vio)");
  EXPECT_EQ(TQtFilDlg::QtFlt("Text|*.txt|All|*").toStdString(), "Text (*.txt);;All (*)");
}

}  // namespace

int main(int argc, char** argv) { return RunQtTests(argc, argv); }
