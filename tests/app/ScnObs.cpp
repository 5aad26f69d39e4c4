// What the scenarios read of the window, by name (the "expect" and "wait"
// commands): the names' tables and what they measure.
#include "ScnWnd.h"

namespace scn {

// The texts on the field's vios that their controls cut off, measured
// with each control's own font against the room its style leaves the text.
std::string Wnd::CutTxt() {
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
std::string Wnd::Ovl() {
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

// What the window shows, by name, as text: the tables of names that need no
// window, then, once there is a window, the tables of its names.
std::string Wnd::Obs(const std::string& n) {
  if (auto v = ObsAny(n)) return *v;
  if (W && (n == "unnamed" || n.rfind("a11y.", 0) == 0)) return A11y(n.substr(n.find('.') + 1));
  if (!W) return "(no window)";
  for (auto tbl : {&Wnd::ObsRun, &Wnd::ObsShw, &Wnd::ObsCtl, &Wnd::ObsKey, &Wnd::ObsGui, &Wnd::ObsClp, &Wnd::ObsMon})
    if (auto v = (this->*tbl)(n)) return *v;
  ADD_FAILURE() << Where << "nothing called " << n;
  return "";
}

std::optional<std::string> Wnd::ObsAny(const std::string& n) {
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
  return std::nullopt;
}

std::optional<std::string> Wnd::ObsRun(const std::string& n) {
  auto yn = [](bool b) { return std::string(b ? "yes" : "no"); };
  [[maybe_unused]] TVslDoc& d = W->Doc();
  [[maybe_unused]] TVioPgmItp& e = W->Edt();
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
  return std::nullopt;
}

std::optional<std::string> Wnd::ObsShw(const std::string& n) {
  auto yn = [](bool b) { return std::string(b ? "yes" : "no"); };
  [[maybe_unused]] TVslDoc& d = W->Doc();
  [[maybe_unused]] TVioPgmItp& e = W->Edt();
  if (n == "intro-window")
    return !Ito->isVisible() ? "no"
           : std::string("yes") + (Ito->windowFlags() & Qt::FramelessWindowHint ? " frameless" : "") +
                 (Ito->windowFlags() & Qt::WindowStaysOnTopHint ? " on-top" : "");
  if (n == "info") {
    std::string t;
    for (const char* l : {"Label1", "LblBld", "Label2", "Label3", "Label4", "Label5"})
      t += (t.empty() ? "" : " | ") + Kid<QLabel>(Inf.get(), l)->text().toStdString();
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
      if (W->Tbr().Tbn(static_cast<TeTbn>(i))->isVisible()) s += (s.empty() ? "" : " ") + std::string(GcTbnDsg[static_cast<std::size_t>(i)].Nam + 3);
    return s;
  }
  return std::nullopt;
}

std::optional<std::string> Wnd::ObsCtl(const std::string& n) {
  auto yn = [](bool b) { return std::string(b ? "yes" : "no"); };
  [[maybe_unused]] TVslDoc& d = W->Doc();
  [[maybe_unused]] TVioPgmItp& e = W->Edt();
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
  return std::nullopt;
}

// The accessible names: the unnamed controls of the windows, or the name
// (and description) of an object by its name, of vio N ("vioN") or of its
// control K ("vioN.K").
std::string Wnd::A11y(const std::string& o) {
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

// The list of keys (F1): whether it shows, its caption and groups, what a
// key does, the rows that have no group or no words, the window's keys that
// it does not list, what a screen reader reads of it, its printed file.
std::optional<std::string> Wnd::ObsKey(const std::string& n) {
  if (n.rfind("keys", 0) != 0) return std::nullopt;
  TfrmKeyHlp* k = W->Mnu().KeyHlp();
  if (n == "keys-window") return std::string(k && k->isVisible() ? "yes" : "no");
  if (!k) return std::string("(no list)");
  const std::vector<TuKeyRow>& rows = k->Rows();
  std::string r;
  auto add = [&r](const QString& t) { r += (r.empty() ? "" : " | ") + t.toStdString(); };
  if (n == "keys-caption") return k->windowTitle().toStdString();
  if (n == "keys-groups")
    for (std::size_t i = 0; i < rows.size(); ++i)
      if (i == 0 || rows[i].Grp != rows[i - 1].Grp) add(rows[i].Grp);
  if (n == "keys-unplaced")
    for (const TuKeyRow& w : rows)
      if (w.Grp.isEmpty() || w.Txt.isEmpty()) add(w.Key);
  if (n == "keys-missing")
    for (const QAction* a : W->findChildren<QAction*>())
      for (const QKeySequence& q : a->shortcuts())
        if (std::none_of(rows.begin(), rows.end(), [&](const TuKeyRow& w) {
              return w.Key.split(", ").contains(q.toString(QKeySequence::NativeText));
            }))
          add(a->objectName() + " " + q.toString(QKeySequence::NativeText));
  if (n.rfind("keys.", 0) == 0)
    for (const TuKeyRow& w : rows)
      if (w.Key.split(", ").contains(QString::fromStdString(n.substr(5)))) add(w.Grp + ": " + w.Txt);
  if (n == "keys-read") {
    QAccessibleInterface* i = QAccessible::queryAccessibleInterface(Kid<QTextBrowser>(k, "txtKey"));
    QAccessibleTextInterface* t = i ? i->textInterface() : nullptr;
    if (!i || !t) return std::string("(nothing)");
    QString r = t->text(0, 40);
    r.replace(QChar::ParagraphSeparator, " / ").replace('\n', " / ");
    return (i->text(QAccessible::Name) + ": " + r).toStdString();
  }
  if (n == "keys-printed") return std::string(RdFil(Tmp.Path() + "keys.pdf").rfind("%PDF", 0) == 0 ? "yes" : "no");
  return r.empty() ? "none" : r;
}

}  // namespace scn
