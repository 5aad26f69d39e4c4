// The scenarios' commands, a table for each kind: the world before a window,
// the window and its field, its widgets, the world outside it, and the checks.
#include "ScnWnd.h"

namespace scn {

// Commands that set up the world before a window is made.
bool Wnd::Before(const std::vector<std::string>& w) {
  const std::string& c = w[0];
  auto arg = [&](std::size_t i) { return Sub(w.at(i)); };
  const std::map<std::string, int TVslCnvTms::*> tms = {
      {"VioBlk", &TVslCnvTms::VioBlk},  {"VioBlkHid", &TVslCnvTms::VioBlkHid},      {"VioBlkShw", &TVslCnvTms::VioBlkShw},
      {"UplCfm", &TVslCnvTms::UplCfm},  {"RcvPckTimOut", &TVslCnvTms::RcvPckTimOut}, {"RcvChrGap", &TVslCnvTms::RcvChrGap},
      {"MovBckGndPic", &TVslCnvTms::MovBckGndPic}};
  if (c == "ports") Ports.assign(w.begin() + 1, w.end());
  else if (c == "port") Plt.Settings.Keys[GcOptKey]["Comport"] = arg(1);
  else if (c == "setting") Plt.Settings.Keys[GcOptKey][w.at(1)] = w.size() > 2 ? arg(2) : "";
  else if (c == "unset") Plt.Settings.Keys[GcOptKey].erase(w.at(1));
  else if (c == "store-refuses") {
    const std::string k = w.size() > 1 ? w[1] : "write";
    TFakeSettings& f = Plt.Settings;
    f.FailCreate = k == "create", f.FailOpen = k == "open", f.FailWrite = k == "write";
  } else if (c == "port-name") Plt.Settings.Keys[GcPrtKey][w.at(1)] = arg(2);
  else if (c == "timer") Tms.*tms.at(w.at(1)) = std::stoi(w.at(2));
  else if (c == "recovery") Rcv = true;
  else if (c == "screen") Avl = QRect(0, 0, std::stoi(w.at(1)), std::stoi(w.at(2)));
  else if (c == "install-dir") InsDir = arg(1);
  else if (c == "fail-release") FailRls = w.at(1);
  else if (c == "paint-pictures") Paint();
  else if (c == "opener") {
    // Writes the path it is given into a file and ends with the code.
    const std::string p = Tmp.Write("open.sh", "#!/bin/sh\nprintf '%s' \"$1\" > '" + Tmp.Path() + "opened.txt'\nexit " + w.at(1) + "\n");
    fs::permissions(p, fs::perms::owner_all);
    GuMnlOpnCmd = QString::fromStdString(w[1] == "none" ? Tmp.Path() + "none" : p);
  } else return false;
  return true;
}

// Commands on the window, its vios and its field.
bool Wnd::OnWindow(const std::vector<std::string>& w, const std::string& line) {
  const std::string& c = w[0];
  auto arg = [&](std::size_t i) { return Sub(w.at(i)); };
  auto n = [&](std::size_t i) { return w.size() > i ? std::stoi(w[i]) : 1; };
  if (c == "window") Mk(w.size() < 2 || w[1] != "hidden");
  else if (c == "drop") W.reset();
  else if (c == "show") W->show();
  else if (c == "command-line") W->Doc().SetCmdFil(arg(1));
  else if (c == "intro") W->tmrAppItoTimer();
  else if (c == "online") {
    W->tmrAppItoTimer();
    if (!W->Lnk().PrtOpn()) ADD_FAILURE() << Where << GuLstErrMsg;
    W->Lnk().BlkComPrtCupMsgTimer();
    // The built-in robot reports standby a moment after the line opens, and
    // standby takes Run away: a scenario starts once it has come.
    if (TSimThr::Lve() > 0) {
      const auto stb = [this] {
        return std::any_of(Snd.Nams.begin(), Snd.Nams.end(), [](const std::string& x) { return x.rfind("standby", 0) == 0; });
      };
      EXPECT_TRUE(QTest::qWaitFor(stb, 5000)) << Where << "the built-in robot's standby";
    }
    Snd.Nams.clear();
  } else if (c == "cup-timer") W->Lnk().BlkComPrtCupMsgTimer();
  else if (c == "delay-error") W->Edt().SetDlyErr(w.at(1) == "yes");
  else if (c == "blink") W->SndMsg(WM_APP_MSG, AM_VIO_BLK, reinterpret_cast<std::intptr_t>(Vio(w.at(1))));
  else if (c == "blink-tick") for (int i = n(1); i > 0; --i) W->tmrVioBlkTimer();
  else if (c == "error") W->ShwErrMsg(line.substr(line.find("error") + 6));
  else if (c == "current") W->Edt().SetCurVio(Vio(w.at(1)));
  else if (c == "remove-vio") W->Edt().RmvVio(Vio(w.at(1)));
  else if (c == "move-vio") W->Edt().PutVioOnCel(Vio(w.at(1)), n(2) - 1, n(3) - 1);
  else if (c == "idle-tick")
    for (int i = n(1); i > 0; --i) {
      // Every step keeps the field covered and moves at most one pixel.
      const QPoint o = W->Fld().BkgDrf()->Ofs();
      W->Fld().BkgDrf()->Tck();
      const QPoint d = W->Fld().BkgDrf()->Ofs() - o;
      if (!Covers(*GuBckGndImg, W->Fld().Pnl().rect()) || std::abs(d.x()) > 1 || std::abs(d.y()) > 1) {
        ADD_FAILURE() << Where << "tick " << i << " moved " << d.x() << "," << d.y();
        break;
      }
    }
  else if (c == "flash-end") {
    // A picture stays until its time is over.
    if (W->Fld().BkgDrf()->Flashing() && !W->Fld().BkgDrf()->FlsTmr().isActive()) ADD_FAILURE() << Where << "no flash timer";
    if (W->Fld().BkgDrf()->Flashing()) W->Fld().BkgDrf()->FlsEnd();
    Flashed.clear();
  } else if (c == "resize") {
    W->showNormal();
    QApplication::processEvents();
    W->resize(n(1), n(2));
    QApplication::processEvents();
  } else if (c == "grow-status") {
    W->statusBar()->setFixedHeight(W->statusBar()->height() + n(1));
    QApplication::processEvents();
  } else return false;
  return true;
}

// Commands on the window's widgets: keys, the simulator pane, menus, messages, the Options.
bool Wnd::OnWidgets(const std::vector<std::string>& w, const std::string& line) {
  const std::string& c = w[0];
  auto arg = [&](std::size_t i) { return Sub(w.at(i)); };
  auto n = [&](std::size_t i) { return w.size() > i ? std::stoi(w[i]) : 1; };
  if (c == "unlock") W->Doc().FilMnu().menuAction()->setEnabled(true);
  else if (c == "open") W->Doc().Opn();
  else if (c == "save") W->Doc().Sav();
  else if (c == "save-as") W->Doc().Sas();
  else if (c == "double-click-start") EXPECT_TRUE(ScnDblClkSta(*W)) << Where;
  else if (c == "key") QTest::keyClick(W.get(), static_cast<Qt::Key>(QKeySequence(QString::fromStdString(w.at(1)))[0].key()),
                                       QKeySequence(QString::fromStdString(w.at(1)))[0].keyboardModifiers());
  else if (c == "field-focus") W->Fld().Pnl().setFocus(Qt::OtherFocusReason);
  else if (c == "keys") for (std::size_t i = 1; i < w.size(); ++i) ScnKey(*W, w[i]);
  else if (c == "type") ScnTyp(*W, line.substr(line.find("type") + 5));
  else if (c == "type-program") {
    const std::string e = ScnTypPgm(*W, Sub(w.at(1)), Ins.Path() + "bin/ExtComTkn.sys");
    EXPECT_EQ(e, "") << Where;
  }
  else if (c == "sim-speed") W->findChild<QComboBox*>("cbxSimSpd")->setCurrentIndex(n(1));
  else if (c == "slide") {
    QSlider* s = W->findChild<QSlider*>("sldSimRpl");
    s->setValue(w.at(1) == "end" ? s->maximum() : n(1));
  }
  else if (c == "wait-active") EXPECT_TRUE(QTest::qWaitForWindowActive(W.get())) << Where;
  else if (c == "close") EXPECT_EQ(W->close() ? "yes" : "no", w.at(1)) << Where;
  else if (c == "menu-shows") emit W->Doc().FilMnu().aboutToShow();
  else if (c == "title") W->setWindowTitle(QString::fromStdString(line.substr(line.find("title") + 6)));
  else if (c == "start-caption") W->Doc().SetStaCap(QString::fromStdString(w.at(1)));
  else if (c == "set-file") W->Doc().SetFilNam(arg(1));
  else if (c == "recovery-timer") W->Doc().tmrRcvSavTimer();
  else if (c == "link-timeout") W->Lnk().RcvPckTimOutTimer();
  else if (c == "upl-timer-interval") W->Lnk().TmrUplCfm().setInterval(std::stoi(w.at(1)));
  else if (c == "msg") {
    const std::map<std::string, std::uint32_t> k = {{"app", WM_APP_MSG}, {"set", WM_SET_MSG}, {"nop", WM_NOP_MSG},
                                                    {"user9", WM_USER + 9}};
    EXPECT_EQ(W->SndMsg(k.at(w.at(1)), std::stoul(w.at(2), nullptr, 0), w.size() > 4 ? std::stoll(w[4]) : 0),
              std::stoll(w.at(3))) << Where;
  } else if (c == "hover") {
    QWidget* b = W->Tbr().VioBar().widgetForAction(Tbn(w.at(1)));
    if (!b) b = W->Tbr().ComBar().widgetForAction(Tbn(w.at(1)));
    QMouseEvent e(QEvent::MouseMove, QPointF(5, 5), b->mapToGlobal(QPointF(5, 5)), Qt::NoButton, Qt::NoButton,
                  Qt::NoModifier);
    QApplication::sendEvent(b, &e);
  } else if (c == "choose-port") {
    if (w.size() > 2) Kid<QComboBox>(Opt.get(), "cbxComportSelector")->setEditText(QString::fromStdString(w[2]));
    else Kid<QComboBox>(Opt.get(), "cbxComportSelector")->setCurrentIndex(std::stoi(w.at(1)));
    Opt->cbxComportSelectorChange();
  } else if (c == "options") {
    Opt->hide();  // shown again, it scans the ports anew
    Opt->show();
  } else if (c == "print-keys") {  // the list of keys printed to keys.pdf in {tmp}
    TfrmKeyHlp* k = W->Mnu().KeyHlp();
    if (!k) return ADD_FAILURE() << Where << "no list of keys", true;
    k->SetOnPrtDlg([p = QString::fromStdString(Tmp.Path() + "keys.pdf")](QPrinter& prn) {
      prn.setOutputFormat(QPrinter::PdfFormat);
      prn.setOutputFileName(p);
      return true;
    });
    Kid<QPushButton>(k, "btnPrt")->click();
  } else return false;
  return true;
}

// Commands of the user's hands, the files and the robot's line.
bool Wnd::Outside(const std::vector<std::string>& w, const std::string& line, std::istream& in, int& no) {
  const std::string& c = w[0];
  auto arg = [&](std::size_t i) { return Sub(w.at(i)); };
  if (c == "click" || c == "enable" || c == "disable") {
    for (std::size_t i = 1; i < w.size(); ++i) {
      QAction* a = Act(w[i]);
      if (!a) {
        ADD_FAILURE() << Where << "no " << w[i];
        break;
      }
      if (c == "click") a->trigger();
      else a->setEnabled(c == "enable");
    }
  } else if (c == "answer") {
    const std::map<std::string, TeMsgAns> a = {{"Yes", TeMsgAns::Yes}, {"No", TeMsgAns::No},
        {"Cancel", TeMsgAns::Cancel}, {"Save", TeMsgAns::Sav}, {"Discard", TeMsgAns::Dsc}};
    for (std::size_t i = 1; i < w.size(); ++i) Plt.MsgBox.Answers.push_back(a.at(w[i]));
  } else if (c == "choose") Plt.FilDlg.Answers.push_back(w.at(1) == "-" ? std::nullopt : std::optional(arg(1)));
  else if (c == "write" || c == "prepend") {
    const std::string n = Sub(line.substr(line.find(w.at(1))));
    const std::string p = n[0] == '/' ? n : Tmp.Path() + n;
    const std::string b = Block(in, no);
    const std::string old = c == "prepend" ? RdFil(p) : "";
    fs::create_directories(fs::path(p).parent_path());
    std::ofstream(p, std::ios::binary) << b << old;
  } else if (c == "copy") fs::copy_file(arg(1), arg(2));
  else if (c == "remove") fs::remove_all(Sub(line.substr(line.find(w.at(1)))));
  else if (c == "cd") fs::current_path(arg(1));
  else if (c == "read-only") fs::permissions(arg(1), fs::perms(0444));
  else if (c == "robot") EXPECT_TRUE(Pty->Wr(Frame(5, w))) << Where;
  else if (c == "robot-raw") EXPECT_TRUE(Pty->Wr(TstHex(w, 1))) << Where;
  else if (c == "robot-during-cue") {
    const B f = Frame(5, w);
    Staged.insert(Staged.end(), f.begin(), f.end());
    Snd.OnSync = [this] {
      EXPECT_TRUE(Pty->Wr(std::exchange(Staged, {})));
      EXPECT_TRUE(QTest::qWaitFor([&] { return W->Lnk().EffPnd() > 0; }, 5000));
      for (int i = 0; i < 20; ++i) QApplication::processEvents();
    };
  } else if (c == "clock-jump") Jmp += std::stoll(w.at(1));
  else if (c == "hold-port") {
    const int fd = ::open(Pty->Pth().c_str(), O_RDWR | O_NOCTTY);
    EXPECT_TRUE(fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0) << Where;
    Held = fd;
  } else if (c == "free-port") ::close(std::exchange(Held, -1));
  else if (c == "open-port") EXPECT_EQ(W->Lnk().OpnComPrt(arg(1)) ? "yes" : "no", w.at(2)) << Where << GuLstErrMsg;
  else if (c == "unplug") Pty->ClsMst();
  else if (c == "plug") {
    Pty = std::make_unique<TPty>();
    fs::remove(Ins.Path() + "robot");
    fs::create_symlink(Pty->Pth(), Ins.Path() + "robot");
  } else if (c == "send") {
    EXPECT_FALSE(W->Lnk().SndPck(static_cast<std::uint8_t>(std::stoi(w.at(1))), 0, B(std::stoul(w.at(2)), 0xA0)));
  } else if (c == "frame") {
    const B f = Frame(1, w);
    EXPECT_EQ(Pty->Rd(f.size()), f) << Where;
  } else if (c == "silence") EXPECT_EQ(Pty->Rd(1, std::chrono::milliseconds(50)), B{}) << Where;
  else return false;
  return true;
}

void Wnd::Do(const std::vector<std::string>& w, const std::string& line, std::istream& in, int& no) {
  const std::string& c = w[0];
  auto arg = [&](std::size_t i) { return Sub(w.at(i)); };
  if (Before(w) || OnWindow(w, line) || OnWidgets(w, line) || Outside(w, line, in, no) || OnGuide(w) || OnClp(w) ||
      OnMonitor(w))
    return;
  if (c == "cues-seen") Snd.Nams.clear();
  else if (c == "announced-seen") Anced().clear();
  else if (c == "cue-watch") Snd.Watch = [this, n = w.at(1)] { return Obs(n); };
  else if (c == "writes-seen") Plt.Settings.Writes.clear();
  else if (c == "remember") Mem = Obs(w.size() > 1 ? w[1] : "field");
  else if (c == "remember-box") MemBox = Obs("box-text");
  else if (c == "cues") {
    std::string got;
    for (const auto& n : Snd.Nams) got += (got.empty() ? "" : ", ") + n;
    std::string want = line.substr(line.find("cues") + 4);
    want.erase(0, want.find_first_not_of(' '));
    EXPECT_EQ(got, want) << Where;
    Snd.Nams.clear();
  } else if (c == "no-box") {
    EXPECT_EQ(Plt.MsgBox.Calls.size(), BoxSeen) << Where << Plt.MsgBox.Calls.back().Text;
  } else if (c == "box") {
    ASSERT_LT(BoxSeen, Plt.MsgBox.Calls.size()) << Where << "no box";
    std::string want = Sub(line.substr(line.find("box") + 3));
    want.erase(0, want.find_first_not_of(' '));
    EXPECT_EQ(Plt.MsgBox.Calls[BoxSeen].Text.rfind(want, 0), 0u) << Where << Plt.MsgBox.Calls[BoxSeen].Text;
    ++BoxSeen;
  } else if (c == "boxes-seen") BoxSeen = Plt.MsgBox.Calls.size();
  else if (c == "expect" || c == "wait") {
    std::string got;
    // A wait ends as soon as it holds; its bound leaves room for a machine
    // slowed by the sanitizers and other jobs.
    if (c == "wait") (void)QTest::qWaitFor([&] { return Holds(w, line, got); }, 15000);
    EXPECT_TRUE(Holds(w, line, got)) << Where << line << "\n  got: " << got;
  } else if (c == "file") {
    const std::string at = Where;
    EXPECT_EQ(RdFil(arg(1)), Block(in, no)) << at;
  } else if (c == "same") EXPECT_EQ(RdFil(arg(1)), RdFil(arg(2))) << Where;
  else FAIL() << Where << "no command " << c;
}

}  // namespace scn
