// The main window driven by scenario scripts (tests/app/scenarios/*.scn): the
// user's clicks, menus, typed answers and the robot's bytes go in; the files
// written, the frames on the line, the cues, the boxes and what the window
// shows are checked. One scenario is one test; the commands are listed in
// the folder's README.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDockWidget>
#include <QFrame>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

#include <sys/file.h>
#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <stdexcept>

#include "app/AppIto.h"
#include "app/BkgDrf.h"
#include "app/HlpInf.h"
#include "app/Options.h"
#include "ScnAcc.h"
#include "app/VioBlk.h"
#include "app/VslAcc.h"
#include "app/SimPan.h"
#include "app/VslCnv.h"
#include "app/VslFld.h"
#include "app/VslCnvLgc.h"
#include "app/VslDoc.h"
#include "app/VslLnk.h"
#include "app/VslMnu.h"
#include "app/VslTbr.h"
#include "ScnKey.h"
#include "editor/qt/VioFldKey.h"
#include "core/Globals.h"
#include "core/PathUtl.h"
#include "core/PtyPar.h"
#include "core/WndMsg.h"
#include "editor/VioKep.h"
#include "editor/VioPgmItp.h"
#include "editor/qt/VioFldAcc.h"
#include "editor/qt/VioFldViw.h"
#include "editor/qt/VioFldZom.h"
#include "editor/qt/VioPgmViw.h"
#include "link/ComPort2p5.h"
#include "link/PckPrt.h"
#include "sim/SimThr.h"
#include "sound/PlyWavFil.h"
#include "sound/SndCue.h"
#include "support/FakePlatform.h"
#include "support/QtKid.h"

namespace fs = std::filesystem;

namespace {

using B = std::vector<std::uint8_t>;
const char* const GcOptKey = "SOFTWARE\\Quorel\\TessaroV1.0\\Options";
const char* const GcPrtKey = "SOFTWARE\\Quorel\\TessaroV1.0\\Ports";
const char* const GcTbnNam[] = {"Sta", "Sto", "Iff", "Thn", "Els", "Lbl", "Gto", "Dly", "Act",
                                "Sns", "Spd", "Swi", "Rti", "Upl", "Run", "Upr", "ComSte"};

std::string RdFil(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> Words(const std::string& s) {
  std::istringstream in(s);
  std::vector<std::string> w;
  for (std::string x; in >> x;) w.push_back(x);
  return w;
}

B Hex(const std::vector<std::string>& w, std::size_t from) {
  B b;
  for (std::size_t i = from; i < w.size(); ++i) b.push_back(static_cast<std::uint8_t>(std::stoul(w[i], nullptr, 16)));
  return b;
}

// Sound output that records each cue (with the watched name's value when it
// starts) and runs pending events while a synchronous cue "plays", as the
// real output does; bytes staged for the robot arrive during the first
// synchronous cue.
struct TLopSnd final : ISoundOut {
  std::vector<std::string> Nams;
  int Dpt = 0, Nst = 0;
  std::function<void()> OnSync;
  std::function<std::string()> Watch;
  void Play(const std::string& path, bool sync) override {
    Nams.push_back(path.substr(path.rfind('/') + 1) + (sync ? "" : " (async)") + (Watch ? " [" + Watch() + "]" : ""));
    Nst += Dpt > 0;
    if (!sync) return;
    ++Dpt;
    if (auto f = std::exchange(OnSync, nullptr)) f();
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
    --Dpt;
  }
  void Stop() override {}
};

class Wnd : public ::testing::Test {
protected:
  TFakePlatform Plt;
  TLopSnd Snd;
  TTmpDir Ins, Tmp;
  std::unique_ptr<TPty> Pty = std::make_unique<TPty>();
  std::unique_ptr<TfrmVslCnv> W;
  std::unique_ptr<TfrmOptions> Opt;
  std::unique_ptr<TfrmAppIto> Ito;
  std::unique_ptr<TfrmHlpInf> Inf;
  std::vector<std::string> Ports, Trace, Flashed;
  TVslCnvTms Tms = [] {
    TVslCnvTms t;
    t.RcvChrGap = 60000;  // a frame never pauses unless the scenario says so
    return t;
  }();
  bool Rcv = false;
  std::size_t BoxSeen = 0;
  std::string Nam, Where, FailRls;
  B Staged;
  std::map<QRgb, std::string> Painted;
  std::atomic<std::int64_t> Jmp{0};
  std::atomic<int> ClkRds{0};  // the receive clock read, once a byte
  QString KepOpn = GuMnlOpnCmd;
  fs::path KepCwd = fs::current_path();
  static inline Wnd* GpCur = nullptr;

  void SetUp() override {
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

  void TearDown() override {
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

  static std::string Dat(const std::string& f) { return std::string(TESSARO_DATA_DIR) + "/" + f; }

  std::string Sub(std::string s) const {
    const std::map<std::string, std::string> vars = {
        {"{tmp}", Tmp.Path()}, {"{robot}", Ins.Path() + "robot"}, {"{ins}", Ins.Path()}, {"{ex}", Ins.Path() + "examples"},
        {"{tmpdir}", Tmp.Path().substr(0, Tmp.Path().size() - 1)},
        {"{own}", W && W->Doc().Rcv() ? W->Doc().Rcv()->Pth() : ""}, {"{remembered}", Mem}, {"{box}", MemBox}};
    for (const auto& [k, v] : vars)
      for (std::size_t at; (at = s.find(k)) != std::string::npos;) s.replace(at, k.size(), v);
    return s;
  }

  void Mk(bool shw) {
    W.reset();
    Trace.clear();
    TVslCnvCfg c;
    c.AppDir = Ins.Path() + "bin/";
    c.InsDir = InsDir.empty() ? Ins.Path() : InsDir;
    c.ScnPrt = [this] { return Ports; };
    c.Tms = Tms;
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
  void Paint() {
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

  std::string PicNam(const QPixmap& p) const {
    if (p.isNull()) return "";
    const auto i = Painted.find(p.toImage().pixel(0, 0));
    return i == Painted.end() ? "?" : i->second;
  }

  QAction* Tbn(const std::string& n) {
    for (int i = 0; i < GcTbnCnt; ++i)
      if (n == GcTbnNam[i]) return W->Tbr().Tbn(static_cast<TeTbn>(i));
    ADD_FAILURE() << Where << "no tool button " << n;
    return nullptr;
  }

  // The texts on the field's vios that their controls cut off, measured
  // with each control's own font against the room its style leaves the text.
  std::string CutTxt() {
    std::string cut;
    for (const TVioPnl* p : W->Fld().Pnl().findChildren<TVioPnl*>(Qt::FindDirectChildrenOnly)) {
      if (!p->isVisible()) continue;
      for (QWidget* c : p->Ctls()) {
        if (!c || !c->isVisible()) continue;
        QStringList t;
        int room = 0;
        auto edt = [](const QLineEdit* e) {
          const int frm = e->hasFrame() ? e->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) : 0;
          return e->contentsRect().marginsRemoved(e->textMargins()).width() - 2 * frm - 2 * 2;
        };
        if (auto* b = qobject_cast<QComboBox*>(c)) {
          for (int i = 0; i < b->count(); ++i) t << b->itemText(i);
          t << b->currentText();
          QStyleOptionComboBox o;
          o.initFrom(b);
          o.editable = b->isEditable();
          o.frame = b->hasFrame();
          room = b->isEditable() ? edt(b->lineEdit())
                                 : b->style()->subControlRect(QStyle::CC_ComboBox, &o, QStyle::SC_ComboBoxEditField, b).width() - 2;
        } else if (auto* e = qobject_cast<QLineEdit*>(c)) {
          t << e->text();
          room = edt(e);
        } else if (auto* l = qobject_cast<QLabel*>(c)) {
          t << l->text();
          room = std::min(l->contentsRect().width(), p->contentsRect().right() - l->x());
        }
        const QFontMetrics fm(c->font());
        for (const QString& x : t)
          if (fm.horizontalAdvance(x) > room) cut += (cut.empty() ? "" : " | ") + x.toStdString();
      }
    }
    return cut.empty() ? "none" : cut;
  }

  // The vios whose shown controls cover one another or the panel's caption:
  // "vio N: A / B" with the controls' indexes, "cap" for the caption.
  std::string Ovl() {
    std::string ovl;
    const auto& vios = W->Edt().Vios();
    for (std::size_t n = 0; n < vios.size(); ++n) {
      const TVioPnl* p = W->Fld().Viw()->Pnl(vios[n]);
      if (!p || !p->isVisible()) continue;
      std::vector<std::pair<std::string, QRect>> r;
      const TuCapBox cap = W->Fld().Viw()->Lay().CapBox(*vios[n]);
      if (cap.Px > 0) r.push_back({"cap", QRect(cap.Left, cap.Top, cap.Width, cap.Height)});
      for (std::size_t i = 0; i < p->Ctls().size(); ++i)
        if (p->Ctls()[i] && p->Ctls()[i]->isVisible()) r.push_back({std::to_string(i), p->Ctls()[i]->geometry()});
      for (std::size_t i = 0; i < r.size(); ++i)
        for (std::size_t k = i + 1; k < r.size(); ++k)
          if (r[i].second.intersects(r[k].second))
            ovl += (ovl.empty() ? "" : " | ") + ("vio " + std::to_string(n + 1) + ": " + r[i].first + " / " + r[k].first);
    }
    return ovl.empty() ? "none" : ovl;
  }

  QAction* Act(const std::string& n) {
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

  TVio* Vio(const std::string& n) {
    const auto& v = W->Edt().Vios();
    const std::size_t i = std::stoul(n) - 1;
    if (i < v.size()) return v[i];
    ADD_FAILURE() << Where << "no vio " << n;
    return nullptr;
  }

  std::string VioNo(const TVio* v) {
    const auto& l = W->Edt().Vios();
    const auto at = std::find(l.begin(), l.end(), v);
    return at == l.end() ? "none" : std::to_string(at - l.begin() + 1);
  }

  static bool Covers(const QWidget& w, QRect fld) {
    const QRect g = w.geometry();
    return g.left() <= 0 && g.top() <= 0 && g.right() >= fld.width() - 1 && g.bottom() >= fld.height() - 1;
  }

  static std::string Join(const std::vector<std::string>& l, bool rls) {
    std::string t;
    for (const auto& x : l)
      if ((x[0] == '~') == rls) t += (t.empty() ? "" : " ") + x.substr(rls);
    return t;
  }

  // What the window shows, by name, as text.
  std::string Obs(const std::string& n) {
    auto yn = [](bool b) { return std::string(b ? "yes" : "no"); };
    if (n == "trace" || n == "released") return Join(Trace, n == "released");
    if (n == "ended") return yn(Plt.EvtLoop.Terminated);
    if (n == "flashed") return Join(Flashed, false);
    if (n == "opened") return RdFil(Tmp.Path() + "opened.txt");
    if (n == "openers") return std::to_string(qApp->findChildren<QProcess*>().size());
    if (n == "cwd") return fs::current_path().string();
    if (n == "last-error") return GuLstErrMsg;
    if (n == "events-run") return std::to_string(Plt.EvtLoop.PrcMsgCnt);
    if (n == "box-text" || n == "box-caption" || n == "box-buttons") {
      if (BoxSeen == 0) return "";
      const TMsgBoxCall& b = Plt.MsgBox.Calls[BoxSeen - 1];
      const char* const btn[] = {"Ok", "OkCancel", "YesNo", "YesNoCancel", "SaveDiscardCancel"};
      return n == "box-text" ? b.Text : n == "box-caption" ? b.Caption : btn[static_cast<int>(b.Buttons)];
    }
    if (n == "sim") return yn(TSimThr::Lve() > 0);
    if (n == "announced") {
      std::string t;
      for (const auto& x : Anced()) t += (t.empty() ? "" : " | ") + x;
      return t;
    }
    if (W && (n == "unnamed" || n.rfind("a11y.", 0) == 0)) return A11y(n.substr(n.find('.') + 1));
    if (!W) return "(no window)";
    TVslDoc& d = W->Doc();
    TVioPgmItp& e = W->Edt();
    if (n == "vios") return std::to_string(e.GetVioCnt());
    if (n == "changed") return yn(e.Drt());
    if (n == "caption") return W->windowTitle().toStdString();
    if (n == "file") return d.FilNam();
    if (n == "status") return W->statusBar()->currentMessage().toStdString();
    if (n == "locked") return yn(W->Locked());
    if (n == "visible") return yn(W->isVisible());
    if (n == "port-open") return yn(W->Lnk().PrtOpn());
    if (n == "port") return W->Lnk().PrtNam();
    if (n == "com-index") return std::to_string(W->ComPrtIdx());
    if (n == "link") {
      const int i = W->Tbr().ImgIdx(Tbn("ComSte"));
      return i == GcImgComOky ? "ok" : i == GcImgComNok ? "lost" : std::to_string(i);
    }
    if (n == "link-picture") return std::to_string(Tbn("ComSte")->icon().cacheKey());
    if (n == "link-ok") return yn(W->Lnk().LnkOky());
    if (n == "link-asked") {  // as the Options dialog asks the window
      bool a = true, b = false;
      W->SndMsg(WM_APP_MSG, AM_LNK_OKY, reinterpret_cast<std::intptr_t>(&a));
      W->SndMsg(WM_APP_MSG, AM_LNK_OKY, reinterpret_cast<std::intptr_t>(&b));
      return a == b ? yn(a) : "not told";
    }
    if (n == "packets") return std::to_string(W->Lnk().PckCnt());
    if (n == "pending") return std::to_string(W->Lnk().EffPnd());
    if (n == "received") return std::to_string(W->Lnk().Com().FiRxdCnt.load());
    if (n == "clock-reads") return std::to_string(ClkRds.load());
    if (n == "rcv-timer") return yn(W->Lnk().TmrRcvTmo().isActive());
    if (n == "upl-timer") return yn(W->Lnk().TmrUplCfm().isActive());
    if (n == "field") {
      TStrLst l;
      e.BldVioLns(l);
      std::string t;
      for (const auto& x : l) t += x + "/";
      return t;
    }
    if (n == "blinking") return yn(W->Blk().Tmr().isActive());
    if (n == "blink-ms") return std::to_string(W->Blk().Tmr().interval());
    if (n == "blink-vio") return VioNo(W->Blk().Vio());
    if (n.rfind("visible.", 0) == 0) return yn(Vio(n.substr(8)) && Vio(n.substr(8))->Visible());
    if (n == "run-vio") return VioNo(W->Fld().PgmViw()->RunVio());
    if (n == "breakpoints") {  // the vios with one, each with a "*" when its red mark shows
      std::string s;
      for (const TVio* v : e.BrkVios()) {
        const QWidget* dot = W->Fld().Viw()->Pnl(v)->findChild<QWidget*>("dotVioBrk");
        s += " " + VioNo(v) + (dot && dot->isVisible() ? "*" : "");
      }
      return s.empty() ? "none" : s.substr(1);
    }
    if (n == "robot-paused-at") {
      int at = -1;
      if (TSimThr* m = W->Lnk().Sim()) m->Qry([&at](const TSimDrv& r) { at = r.Rbt().Paused() ? r.Rbt().At() : -1; });
      return at < 0 ? "none" : std::to_string(at);
    }
    if (n == "pane-looking") return yn(W->Fld().SimPan() && W->Fld().SimPan()->Tmr().isActive());
    if (n == "trace-end") {  // the simulator pane's trace shows its last line
      const QScrollBar* b = W->findChild<QDockWidget*>("dckSim")->findChild<QPlainTextEdit*>()->verticalScrollBar();
      return yn(b->value() == b->maximum());
    }
    if (n == "fits-screen") return yn(W->minimumSizeHint().height() <= Avl.height());  // the status bar stays on the screen
    if (n == "pane") return yn(W->findChild<QDockWidget*>("dckSim") && W->findChild<QDockWidget*>("dckSim")->isVisible());
    if (n == "highlight") {
      const QFrame* f = W->Fld().Pnl().findChild<QFrame*>("frmRunVio");
      const TVio* v = W->Fld().PgmViw()->RunVio();
      return yn(f && v && f->isVisible() && f->geometry().contains(QRect(v->Left(), v->Top(), v->Width(), v->Height())));
    }
    if (n == "intro-window")
      return !Ito->isVisible() ? "no"
             : std::string("yes") + (Ito->windowFlags() & Qt::FramelessWindowHint ? " frameless" : "") +
                   (Ito->windowFlags() & Qt::WindowStaysOnTopHint ? " on-top" : "");
    if (n == "info") {
      std::string t;
      for (QLabel* l : {Inf->Label1, Inf->LblBld, Inf->Label2, Inf->Label3, Inf->Label4, Inf->Label5})
        t += (t.empty() ? "" : " | ") + l->text().toStdString();
      return Inf->isVisible() ? t : "";
    }
    if (n == "background") return PicNam(GuBckGndImg->pixmap());
    if (n == "background-fills") return yn(Covers(*GuBckGndImg, W->Fld().Pnl().rect()));
    if (n == "drifting") return yn(W->Fld().BkgDrf()->Drifting());
    if (n == "offset") return std::to_string(W->Fld().BkgDrf()->Ofs().x()) + "," + std::to_string(W->Fld().BkgDrf()->Ofs().y());
    if (n == "cut-texts") return CutTxt();
    if (n == "overlaps") return Ovl();
    if (n == "zoom") return W->findChild<QLabel*>("lblZom")->text().toStdString();
    if (n.rfind("symbol.", 0) == 0) {
      // The dark pixels in the corner where the vio's symbol goes.
      TVioPnl* p = W->Fld().Viw()->Pnl(Vio(n.substr(7)));
      if (!p) return "no vio";
      const QImage img = p->grab().toImage();
      const qreal dpr = img.devicePixelRatio();
      const QRect r = VioSymRct(p->size());
      int drk = 0;
      for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) drk += qGray(img.pixel(int(x * dpr), int(y * dpr))) < 80;
      return yn(drk >= r.width());
    }
    if (n == "cell") return std::to_string(e.CelWdt()) + "x" + std::to_string(e.CelHgt());
    if (n == "scroll") {
      const bool h = W->Fld().Scr().horizontalScrollBar()->maximum() > 0, v = W->Fld().Scr().verticalScrollBar()->maximum() > 0;
      return h || v ? std::string(h ? "h" : "") + (v ? "v" : "") : "none";
    }
    if (n == "whole-grid") {
      // The field holds the whole grid and the scroll bars reach all of it.
      const QSize f = W->Fld().Pnl().size(), p = W->Fld().Scr().viewport()->size();
      return yn(f.width() >= e.GrdCls() * e.CelWdt() && f.height() >= e.GrdRws() * e.CelHgt() &&
                W->Fld().Scr().horizontalScrollBar()->maximum() == std::max(0, f.width() - p.width()) &&
                W->Fld().Scr().verticalScrollBar()->maximum() == std::max(0, f.height() - p.height()));
    }
    if (n == "missing-pictures") {
      std::string t;
      for (const auto& x : W->Tbr().MisPic()) t += (t.empty() ? "" : " | ") + x;
      return t;
    }
    if (n.rfind("picture.", 0) == 0) return PicNam(Act(n.substr(8))->icon().pixmap(32, 32));
    if (n == "command-file") return d.CmdFil();
    if (n == "language") return std::to_string(W->LgeIdx());
    if (n == "writes") {
      std::string t;
      for (const auto& x : Plt.Settings.Writes) t += (t.empty() ? "" : " | ") + x.substr(x.find('|') + 1);
      return t;
    }
    if (n.rfind("checked.", 0) == 0) return yn(Act(n.substr(8))->isChecked());
    if (n == "vio-buttons") {  // the vio buttons shown, in the bar's order
      std::string s;
      for (int i = 0; i < static_cast<int>(TeTbn::Upl); ++i)
        if (W->Tbr().Tbn(static_cast<TeTbn>(i))->isVisible()) s += (s.empty() ? "" : " ") + std::string(GcTbnNam[i]);
      return s;
    }
    if (n.rfind("sar.", 0) == 0) {  // a sensor or actor vio's two lists: "types / commands"
      std::string s;
      for (const TVioCtl& k : Vio(n.substr(4))->Ctls())
        if (k.Knd == TeCtlKnd::Cbx) {
          s += s.empty() ? "" : " /";
          for (const std::string& x : k.Itms) s += (s.empty() || s.back() == '/' ? " " : "|") + x;
        }
      return s.substr(s.empty() ? 0 : 1);
    }
    if (n.rfind("label.", 0) == 0) {  // a label's text by its object name, when it is shown
      const QLabel* l = W->findChild<QLabel*>(QString::fromStdString(n.substr(6)));
      return !l ? "(none)" : l->isVisibleTo(W.get()) ? l->text().toStdString() : "(hidden)";
    }
    if (n.rfind("hint.", 0) == 0) {
      QWidget* w = W->Tbr().ComBar().widgetForAction(Tbn(n.substr(5)));
      auto* b = qobject_cast<QToolButton*>(w ? w : W->Tbr().VioBar().widgetForAction(Tbn(n.substr(5))));
      return b ? b->toolTip().toStdString() : "(no button)";
    }
    if (n == "focus") return ScnFocNam();
    if (n == "key-frame") {  // the cursor's cell as its focus frame shows it, or hidden
      const QWidget* f = W->Fld().Key()->Frm();
      const TVioPgmItp& e = W->Edt();
      if (!f->isVisible()) return "hidden";
      return std::to_string(f->x() / e.CelWdt() + 1) + " " + std::to_string(f->y() / e.CelHgt() + 1);
    }
    if (n == "focus-in-edit") return yn(qobject_cast<QLineEdit*>(QApplication::focusWidget()) != nullptr);
    if (n == "recent-enabled") {
      d.RfsRctMnu();
      return yn(d.RctMnu()->isEnabled());
    }
    if (n == "last-item") return d.FilMnu().actions().back()->text().toStdString();
    if (n == "dialog") {
      if (Plt.FilDlg.Calls.empty()) return "";
      const TFilDlgCall& d = Plt.FilDlg.Calls.back();
      return std::string(d.Sav ? "save" : "open") + " " + d.Req.Filter + " " + d.Req.IniDir;
    }
    if (n == "asks") {
      int k = 0;
      for (const auto& c : Plt.MsgBox.Calls) k += c.Buttons == TeMsgBtn::SavDscCnc;
      return std::to_string(k);
    }
    if (n == "dialogs") return std::to_string(Plt.FilDlg.Calls.size());
    if (n == "recent") {
      d.RfsRctMnu();
      std::string s;
      for (QAction* a : d.RctMnu()->actions()) s += (s.empty() ? "" : " | ") + a->text().toStdString();
      return s;
    }
    if (n == "ports") {
      std::string s;
      for (int i = 0; i < Kid<QComboBox>(Opt.get(), "cbxComportSelector")->count(); ++i)
        s += (s.empty() ? "" : " | ") + Kid<QComboBox>(Opt.get(), "cbxComportSelector")->itemText(i).toStdString();
      return s;
    }
    if (n == "options") return yn(Opt->isVisible());
    if (n == "port-state") return Kid<QLabel>(Opt.get(), "lblComPrtSte")->text().toStdString();
    if (n == "cup-timer-on") return yn(W->Lnk().TmrCupMsg().isActive());
    if (n == "port-index") return std::to_string(Kid<QComboBox>(Opt.get(), "cbxComportSelector")->currentIndex());
    if (n.rfind("tbx", 0) == 0) return W->Lnk().Tbx(std::stoi(n.substr(3))).text().toStdString();
    if (n.rfind("setting.", 0) == 0) return Plt.Settings.Keys[GcOptKey][n.substr(8)];
    if (n.rfind("exists.", 0) == 0) return yn(fs::exists(Sub(n.substr(7))));
    if (n.rfind("text.", 0) == 0) return Act(n.substr(5))->text().toStdString();
    if (n.rfind("shortcut.", 0) == 0) return Act(n.substr(9))->shortcut().toString().toStdString();
    if (n.rfind("enabled.", 0) == 0) {
      QAction* a = Act(n.substr(8));
      return a ? yn(a->isEnabled()) : "none";
    }
    ADD_FAILURE() << Where << "nothing called " << n;
    return "";
  }

  // The accessible names: the unnamed controls of the windows, or the name
  // (and description) of an object by its name, of vio N ("vioN") or of its
  // control K ("vioN.K").
  std::string A11y(const std::string& o) {
    QApplication::processEvents();
    if (W->Fld().Acc()) W->Fld().Acc()->Fld().Upd();
    const std::vector<QObject*> roots = {W.get(), Opt.get(), Inf.get()};
    if (o == "unnamed") return UnnamedCtls(roots);
    if (o.rfind("vio", 0) != 0) return AccTxt(FndObj(roots, o));
    const std::size_t dot = o.find('.');
    TVio* v = Vio(o.substr(3, dot - 3));
    TVioPnl* p = v ? W->Fld().Viw()->Pnl(v) : nullptr;
    if (!p) return "(none)";
    return AccTxt(dot == std::string::npos ? static_cast<QObject*>(p) : p->Ctl(std::stoi(o.substr(dot + 1)) - 1));
  }

  // "NAME = V", "NAME ^ PREFIX" or "NAME ~ PART" holds.
  bool Holds(const std::vector<std::string>& w, const std::string& rest, std::string& got) {
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

  B Frame(std::uint8_t org, const std::vector<std::string>& w) {
    const B h = Hex(w, 1);
    B f;
    BldPck(h.at(0), h.at(1), h.at(2), B(h.begin() + 3, h.end()), f);
    f[1] = org;
    return f;
  }

  void Run(std::istream& in) {
    int no = 0;
    for (std::string line; std::getline(in, line);) {
      ++no;
      Where = Nam + ":" + std::to_string(no) + ": ";
      const std::vector<std::string> w = Words(line);
      if (w.empty() || w[0][0] == '#') continue;
      Do(w, line, in, no);
      if (HasFatalFailure()) return;
    }
    EXPECT_EQ(Snd.Nst, 0) << Nam << ": a cue started while another played";
  }

  void Run(const std::string& script) {
    std::istringstream in(script);
    Run(in);
  }

  // The lines up to "end", each ended by CR LF as in a program file.
  static std::string Block(std::istream& in, int& no) {
    std::string b;
    for (std::string l; ++no, std::getline(in, l) && l != "end";) b += l + "\r\n";
    return b;
  }

  // Commands that set up the world before a window is made.
  bool Before(const std::vector<std::string>& w) {
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
  bool OnWindow(const std::vector<std::string>& w, const std::string& line) {
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
    } else if (c == "unlock") W->Doc().FilMnu().menuAction()->setEnabled(true);
    else if (c == "open") W->smnFilOpnClick();
    else if (c == "save") W->smnFilSavClick();
    else if (c == "save-as") W->smnFilSasClick();
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
    } else return false;
    return true;
  }

  // Commands of the user's hands, the files and the robot's line.
  bool Outside(const std::vector<std::string>& w, const std::string& line, std::istream& in, int& no) {
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
    else if (c == "robot-raw") EXPECT_TRUE(Pty->Wr(Hex(w, 1))) << Where;
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

  void Do(const std::vector<std::string>& w, const std::string& line, std::istream& in, int& no) {
    const std::string& c = w[0];
    auto arg = [&](std::size_t i) { return Sub(w.at(i)); };
    if (Before(w) || OnWindow(w, line) || Outside(w, line, in, no)) return;
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

  int Held = -1;
  std::string Mem, MemBox, InsDir;
  QRect Avl;
};

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
      << Kid<QPushButton>(Opt.get(), "btnChk")->text() << Inf->Label2->text();
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

}  // namespace
