// The main window driven by scenario scripts (tests/app/scenarios/*.scn): the
// user's clicks, menus, typed answers and the robot's bytes go in; the files
// written, the frames on the line, the cues, the boxes and what the window
// shows are checked. One scenario is one test; the commands are listed in
// the folder's README. The fixture is ScnWnd.h.
#include "ScnWnd.h"

namespace scn {

void Wnd::SetUp() {
  TPlatform p = GuPlatform();
  p.Sound = &Snd;
  SetPlatform(p);
  for (const char* f : {"SysMsgFil.sys", "ExtComTkn.sys"}) Ins.Write(std::string("bin/") + f, RdFil(Dat(f)));
  for (int c = 0; c < GcSndCueCnt; ++c) {
    const std::string pth = NativePath(SndCuePth(static_cast<TeSndCue>(c), Ins.Path(), Ins.Path() + "bin/"));
    fs::create_directories(fs::path(pth).parent_path());
    std::ofstream(pth) << "RIFF";
  }
  for (const char* d : {"pictures", "examples", "lessons"}) fs::copy(Dat(d), Ins.Path() + d);
  fs::create_symlink(Pty->Pth(), Ins.Path() + "robot");
  Plt.Settings.Keys[GcOptKey]["Comport"] = Ins.Path() + "robot";
  GpCur = this;
  RecAnc(true);
  // The pictures the field's background control shows while pending events run.
  Plt.EvtLoop.OnPrcMsg = [] {
    if (GpCur->Painted.empty() || !GuBckGndImg) return;
    const std::string n = GpCur->PicNam(GuBckGndImg->pixmap());
    if (n != "" && n != "background.bmp" && (GpCur->Flashed.empty() || GpCur->Flashed.back() != n))
      GpCur->Flashed.push_back(n);
  };
}

void Wnd::TearDown() {
  W.reset();
  frmOptions = nullptr;
  frmAppIto = nullptr;
  frmHlpInf = nullptr;
  // Every manual opener has ended.
  EXPECT_TRUE(QTest::qWaitFor([] { return qApp->findChildren<QProcess*>().isEmpty(); }, 5000));
  GuMnlOpnCmd = KepOpn;
  fs::current_path(KepCwd);
  GpCur = nullptr;
  RecAnc(false);
}

std::string Wnd::Sub(std::string s) const {
  const std::map<std::string, std::string> vars = {
      {"{tmp}", Tmp.Path()}, {"{robot}", Ins.Path() + "robot"}, {"{ins}", Ins.Path()}, {"{ex}", Ins.Path() + "examples"},
      {"{tmpdir}", Tmp.Path().substr(0, Tmp.Path().size() - 1)},
      {"{own}", W && W->Doc().Rcv() ? W->Doc().Rcv()->Pth() : ""}, {"{remembered}", Mem}, {"{box}", MemBox}};
  for (const auto& [k, v] : vars)
    for (std::size_t at; (at = s.find(k)) != std::string::npos;) s.replace(at, k.size(), v);
  return s;
}

void Wnd::Mk(bool shw) {
  W.reset();
  Trace.clear();
  TVslCnvCfg c;
  c.AppDir = Ins.Path() + "bin/";
  c.InsDir = InsDir.empty() ? Ins.Path() : InsDir;
  c.ScnPrt = [this] { return Ports; };
  c.Tms = Tms;
  c.FstGui = Gui;
  ClkRds = 0;
  c.Clk = [this] {
    ++ClkRds;
    return std::chrono::steady_clock::now() + std::chrono::seconds(Jmp.load());
  };
  c.Trc = [this](const std::string& s) { Trace.push_back(s); };
  c.OnRls = [this](const std::string& f) {
    if (f == FailRls) throw std::runtime_error("release failed");
  };
  if (!Avl.isEmpty()) c.AvlGeo = [this] { return Avl; };
  if (Rcv) {
    c.RcvPth = Tmp.Path() + "share/tessaro/recovery.vio";
    c.Tms.RcvSav = 0;
  }
  W = std::make_unique<TfrmVslCnv>(nullptr, c);
  if (!Opt) {
    Opt = std::make_unique<TfrmOptions>(nullptr, [this] { return Ports; });
    frmOptions = Opt.get();
    Ito = std::make_unique<TfrmAppIto>(c.InsDir);
    frmAppIto = Ito.get();
    Inf = std::make_unique<TfrmHlpInf>();
    frmHlpInf = Inf.get();
  }
  if (shw) W->show();
}

// Every picture of the install tree in a colour of its own, so that what a
// control shows can be named.
void Wnd::Paint() {
  int i = 0;
  for (const auto& e : fs::directory_iterator(Ins.Path() + "pictures")) {
    QImage img(QString::fromStdString(e.path().string()));
    if (img.isNull()) continue;
    img = img.convertToFormat(QImage::Format_RGB32);
    img.fill(QColor(10 * (i % 25), 255 - 10 * (i % 25), 60 + 40 * (i / 25)));
    ++i;
    ASSERT_TRUE(img.save(QString::fromStdString(e.path().string()), "BMP"));
    Painted[img.pixel(0, 0)] = e.path().filename().string();
  }
}

std::string Wnd::PicNam(const QPixmap& p) const {
  if (p.isNull()) return "";
  const auto i = Painted.find(p.toImage().pixel(0, 0));
  return i == Painted.end() ? "?" : i->second;
}

QAction* Wnd::Tbn(const std::string& n) {
  // The name of the button's row without its "tbn".
  for (const TuTbnRow& r : GcTbnDsg)
    if ("tbn" + n == r.Nam) return W->Tbr().Tbn(r.Tbn);
  ADD_FAILURE() << Where << "no tool button " << n;
  return nullptr;
}

QAction* Wnd::Act(const std::string& n) {
  TVslDoc& d = W->Doc();
  const std::map<std::string, QAction*> fix = {{"Open", d.OpnAct()}, {"Save", d.SavAct()}, {"SaveAs", d.SasAct()},
                                               {"Undo", d.UndAct()}, {"Redo", d.RedAct()}, {"Exit", d.ExtAct()}};
  if (fix.count(n)) return fix.at(n);
  auto nth = [&](const QList<QAction*>& a, std::size_t skip) {
    const int i = std::stoi(n.substr(skip)) - 1;
    return i < a.size() ? a[i] : nullptr;
  };
  if (n.rfind("Recent", 0) == 0) {
    d.RfsRctMnu();
    return nth(d.RctMnu()->actions(), 6);
  }
  if (n.rfind("Help", 0) == 0) return nth(W->Mnu().HlpMnu().actions(), 4);
  if (n.rfind("Lang", 0) == 0) return W->Mnu().LgeAct(static_cast<std::uint8_t>(std::stoi(n.substr(4))));
  if (n.rfind("VioMenu", 0) == 0) return nth(W->Fld().Viw()->VioMnu()->actions(), 7);
  if (QAction* a = W->findChild<QAction*>(QString::fromStdString(n))) return a;  // by its object name
  return Tbn(n);
}

TVio* Wnd::Vio(const std::string& n) {
  const auto& v = W->Edt().Vios();
  const std::size_t i = std::stoul(n) - 1;
  if (i < v.size()) return v[i];
  ADD_FAILURE() << Where << "no vio " << n;
  return nullptr;
}

std::string Wnd::VioNo(const TVio* v) {
  const auto& l = W->Edt().Vios();
  const auto at = std::find(l.begin(), l.end(), v);
  return at == l.end() ? "none" : std::to_string(at - l.begin() + 1);
}

bool Wnd::Covers(const QWidget& w, QRect fld) {
  const QRect g = w.geometry();
  return g.left() <= 0 && g.top() <= 0 && g.right() >= fld.width() - 1 && g.bottom() >= fld.height() - 1;
}

std::string Wnd::Join(const std::vector<std::string>& l, bool rls) {
  std::string t;
  for (const auto& x : l)
    if ((x[0] == '~') == rls) t += (t.empty() ? "" : " ") + x.substr(rls);
  return t;
}

// "NAME = V", "NAME ^ PREFIX" or "NAME ~ PART" holds.
bool Wnd::Holds(const std::vector<std::string>& w, const std::string& rest, std::string& got) {
  got = Obs(w.at(1));
  const std::string op = w.at(2);
  const std::size_t at = rest.find(op, rest.find(w[1]) + w[1].size());
  std::string v = Sub(rest.substr(at + op.size()));
  if (!v.empty() && v[0] == ' ') v.erase(0, 1);
  if (op == "=") return got == v;
  if (op == "^") return got.rfind(v, 0) == 0;
  if (op == "!=") return got != v;
  if (op == "$") return got.size() >= v.size() && got.compare(got.size() - v.size(), v.size(), v) == 0;
  if (op == "~") return got.find(v) != std::string::npos;
  ADD_FAILURE() << Where << "no comparison " << op;
  return true;
}

B Wnd::Frame(std::uint8_t org, const std::vector<std::string>& w) {
  const B h = TstHex(w, 1);
  B f;
  BldPck(h.at(0), h.at(1), h.at(2), B(h.begin() + 3, h.end()), f);
  f[1] = org;
  return f;
}

void Wnd::Run(std::istream& in) {
  int no = 0;
  for (std::string line; std::getline(in, line);) {
    ++no;
    Where = Nam + ":" + std::to_string(no) + ": ";
    const std::vector<std::string> w = TstWrd(line);
    if (w.empty() || w[0][0] == '#') continue;
    Do(w, line, in, no);
    if (HasFatalFailure()) return;
  }
  EXPECT_EQ(Snd.Nst, 0) << Nam << ": a cue started while another played";
}

void Wnd::Run(const std::string& script) {
  std::istringstream in(script);
  Run(in);
}

// The lines up to "end", each ended by CR LF as in a program file.
std::string Wnd::Block(std::istream& in, int& no) {
  std::string b;
  for (std::string l; ++no, std::getline(in, l) && l != "end";) b += l + "\r\n";
  return b;
}

class Scn : public Wnd, public ::testing::WithParamInterface<std::string> {};

TEST_P(Scn, Runs) {
  Nam = GetParam();
  std::ifstream in(std::string(TESSARO_SCN_DIR) + "/" + Nam);
  ASSERT_TRUE(in) << GetParam();
  Run(in);
}

// What scripts cannot say: the hidden diagnostics from a worker thread, a
// burst too long to write out, and every text of the window.

TEST_F(Wnd, LinkDiagnosticsWaitForTheUserInterfaceThread) {
  Run("window hidden\n");
  TComport2p5& com = W->Lnk().Com();
  const QString err = "-3, Error #004, comport device lost";
  com.FOnComPrtErrEvt(&com, -3, "Error #004, comport device lost");
  EXPECT_EQ(W->Lnk().ComMsg().toPlainText(), err);
  Plt.EvtLoop.UiThread = false;
  com.FOnComPrtCtlEvt(&com, 0x20);
  com.FOnComPrtLerEvt(&com, 7, 5);
  EXPECT_EQ(W->Lnk().ComMsg().toPlainText(), err);
  QApplication::processEvents();
  EXPECT_EQ(W->Lnk().ComMsg().toPlainText(), err + "\nCtl event");
  Run("expect tbx1 = dwLstErrNum = 5\n");
}

// Read-outs that come in a burst while a cue plays are merged, and the cue of
// a status frame inside the burst keeps its place among them.
TEST_F(Wnd, ABurstOfReadOutsIsMergedAndCuesKeepTheirPlace) {
  Run("timer RcvPckTimOut 600000\nwindow\nonline\ncue-watch tbx4\n");
  Snd.OnSync = [this] {
    const std::uint64_t base = W->Lnk().Com().FiRxdCnt;
    std::uint64_t n = 0;
    for (int i = 0; i < 300; ++i) {
      B f;
      BldPck(i & 0xFF, i == 150 ? MC_STS : MC_MEA, i == 150 ? MK_WRK : MK_MEA_1,
             i == 150 ? B{} : B{std::uint8_t(i), std::uint8_t(i >> 8)}, f);
      f[1] = 5;
      ASSERT_TRUE(Pty->Wr(f));
      n += f.size();
      // The receive buffer is not made to overflow. The bound is generous: a
      // machine slowed by the sanitizers and other jobs reads late.
      if (i % 50 == 49) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return W->Lnk().Com().FiRxdCnt >= base + n; }, 20000));
      }
    }
    EXPECT_EQ(W->Lnk().EffPnd(), 3u);
  };
  Run("robot 01 03 14\nwait tbx4 = 012B\ncues transfer complete.wav [], working.wav (async) [0095]\n");
}

TEST_F(Wnd, TheWholeWindowAndTheCuesFollowTheLanguage) {
  Run("window\n");
  auto texts = [this] {
    QStringList t;
    for (QAction* m : W->menuBar()->actions()) {
      t << m->text();
      for (QAction* a : m->menu() ? m->menu()->actions() : QList<QAction*>())
        if (!a->isSeparator() && a != W->Mnu().LgeAct(0) && a != W->Mnu().LgeAct(1) && a != W->Mnu().LgeAct(2))
          t << a->text();
    }
    t << W->Fld().PgmViw()->Lst()->windowTitle() << Opt->windowTitle() << Kid<QGroupBox>(Opt.get(), "gbxComport")->title() << Kid<QPushButton>(Opt.get(), "btnCls")->text()
      << Kid<QPushButton>(Opt.get(), "btnChk")->text() << Kid<QLabel>(Inf.get(), "Label2")->text();
    QMessageBox box(QMessageBox::NoIcon, "", "", QMessageBox::Save | QMessageBox::Discard | QMessageBox::Yes);
    for (QAbstractButton* b : box.buttons()) t << b->text();
    return t;
  };
  const QStringList eng = texts();
  ASSERT_TRUE(eng.contains("&Edit") && eng.contains("Export picture") && eng.contains("Save")) << eng.join('|').toStdString();
  Run("click Lang2\n");
  const QStringList ger = texts();
  ASSERT_EQ(ger.size(), eng.size());
  for (qsizetype i = 0; i < eng.size(); ++i) {  // two texts read the same in both
    if (eng[i] != "Info" && eng[i] != "Anleitung (Deutsch)") {
      EXPECT_NE(ger[i], eng[i]) << eng[i].toStdString();
    }
  }
  EXPECT_EQ(W->PlyWavFil()->LgeDir(), "de");
  Run("click Lang0\n");
  EXPECT_EQ(texts(), eng);
  EXPECT_EQ(W->PlyWavFil()->LgeDir(), "");
}

std::vector<std::string> Scripts() {
  std::vector<std::string> s;
  for (const auto& e : fs::directory_iterator(TESSARO_SCN_DIR))
    if (e.path().extension() == ".scn") s.push_back(e.path().filename().string());
  std::sort(s.begin(), s.end());
  return s;
}

INSTANTIATE_TEST_SUITE_P(App, Scn, ::testing::ValuesIn(Scripts()), [](const auto& i) {
  std::string n = fs::path(i.param).stem().string();
  for (char& ch : n)
    if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
  return n;
});

}  // namespace scn
