#include "sim/SimCmd.h"

#include <cstdio>
#include <set>
#include <sstream>
#include <vector>

namespace {

const char* const GcHlp =
    "commands: press bumper left|right, release bumper left|right, switch N [on|off], light P, "
    "place X Y [HEADING], run, stop, speed F, status, pause, continue, step, end, break [ADDRESS...], why, "
    "record [FROM [COUNT]], quit";

bool Num(const std::string& s, double& v) {
  try {
    std::size_t n = 0;
    v = std::stod(s, &n);
    return n == s.size();
  } catch (...) {
    return false;
  }
}

const char* LedTxt(TeLed l) {
  switch (l) {
    case TeLed::On: return "on";
    case TeLed::Blk: return "blinking";
    case TeLed::Fls: return "flashing";
    case TeLed::Alt: return "alternating";
    default: return "off";
  }
}

const char* const GcWhl[] = {"stopped", "forward", "reverse", "spin left", "spin right"};

// The debugger's commands; false when the line is none of them.
bool DbgCmd(TSimRbt& r, const std::vector<std::string>& w, std::string& out, bool& bad) {
  const std::string& c = w[0];
  const bool one = w.size() == 1;
  if ((c == "pause" || c == "continue" || c == "step" || c == "end") && one) {
    const bool ok = c == "pause" ? r.Pause() : c == "continue" ? r.Cont() : c == "step" ? r.Step() : r.RunToEnd();
    if (!ok) out = r.Running() ? "the program is " + std::string(r.Paused() ? "paused" : "not paused") : "no program runs";
    return true;
  }
  if (c == "why" && one) {
    out = SimWhyTxt(r);
    return true;
  }
  std::vector<double> n(w.size() - 1);
  for (std::size_t i = 1; i < w.size(); ++i)
    if (!Num(w[i], n[i - 1]) || n[i - 1] < 0 || n[i - 1] > 1e6 || n[i - 1] != static_cast<int>(n[i - 1])) bad = true;
  if (c == "break") {
    if (bad) out = "break takes addresses, whole numbers from 0";
    if (!bad) r.SetBrk(std::set<int>(n.begin(), n.end()));
    return true;
  }
  if (c != "record" || n.size() > 2) return false;
  if (bad) {
    out = "record takes the first entry and a count";
    return true;
  }
  const auto& rec = r.Rec();
  const std::size_t frm = n.empty() ? rec.size() : static_cast<std::size_t>(n[0]);
  const std::size_t end = n.size() < 2 ? rec.size() : std::min(rec.size(), frm + static_cast<std::size_t>(n[1]));
  out = "recording: " + std::to_string(rec.size()) + " entries, " + std::to_string(r.RecDrp()) + " dropped";
  for (std::size_t i = frm; i < end; ++i) out += "\n" + FmtRec(rec[i]);
  return true;
}

}  // namespace

std::string SimWhyTxt(const TSimRbt& r) {
  const TuSimWhy& y = r.Why();
  const std::string adr = std::to_string(y.Adr);
  switch (y.Knd) {
    case TeSimWhy::Usr: return "Paused by the user at address " + adr;
    case TeSimWhy::Brk: return "Breakpoint at address " + adr;
    case TeSimWhy::Stp: return "Step: paused before address " + adr;
    case TeSimWhy::Cpl: return "Program complete";
    case TeSimWhy::Flt: return "Fault at address " + adr + ": " + y.Txt;
    case TeSimWhy::Hlt: return "Halted: " + y.Txt;
    default: return r.Running() ? "Running" : "No run yet";
  }
}

std::string FmtRec(const TuSimRec& e) {
  char buf[200];
  std::snprintf(buf, sizeof buf,
                "%10.3f  [%3d]  x %.1f y %.1f heading %.0f, %s at %.1f cm/s, bumpers %d%d, line %d%d, light %.0f, "
                "switches %02X, leds %s %s %s",
                static_cast<double>(e.Tim) / GcSimSec, e.Adr, e.X, e.Y, e.Hdg, GcWhl[static_cast<int>(e.Whl)], e.Spd,
                e.BmpL, e.BmpR, e.LinL, e.LinR, e.Lgt, e.Swi, LedTxt(e.SysLed), LedTxt(e.BckLed),
                e.TrkLed ? "on" : "off");
  return e.Adr < 0 ? std::string(buf).replace(12, 5, "[---]") : buf;
}

std::string FmtTrc(const TuSimTrc& t) {
  char buf[64];
  if (t.Adr >= 0) {
    std::snprintf(buf, sizeof buf, "%10.3f  [%3d]  %-4s  ", static_cast<double>(t.Tim) / GcSimSec, t.Adr,
                  t.Mne.c_str());
  } else {
    std::snprintf(buf, sizeof buf, "%10.3f  [---]  %-4s  ", static_cast<double>(t.Tim) / GcSimSec,
                  t.Flt ? "!!" : "");
  }
  return buf + t.Txt;
}

std::string SimSts(const TSimRbt& r) {
  char buf[320];
  const auto& w = r.Wld();
  std::snprintf(buf, sizeof buf,
                "time %.3f s, %s, at x %.1f cm y %.1f cm heading %.0f deg, bumpers %s/%s, line %s/%s, light %.0f %% "
                "(%s), switches %d%d%d%d%d%d, system led %s, back leds %s, track led %s",
                static_cast<double>(r.Now()) / GcSimSec,
                !r.Running() ? "idle" : r.Paused() ? "paused" : r.InRti() ? "in the switch-interrupt routine" : "running",
                w.X(), w.Y(),
                w.Hdg(), r.Bmp(true) ? "pressed" : "free", r.Bmp(false) ? "pressed" : "free",
                r.Lin(true) ? "on" : "off", r.Lin(false) ? "on" : "off", r.LgtVal(), r.Drk() ? "dark" : "bright",
                r.Swi(0), r.Swi(1), r.Swi(2), r.Swi(3), r.Swi(4), r.Swi(5), LedTxt(r.SysLed()), LedTxt(r.BckLed()),
                r.TrkLed() ? "on" : "off");
  return buf;
}

TeSimCmd SimCmd(TSimDrv& drv, const std::string& line, TSimWal now, std::string& out) {
  out.clear();
  std::istringstream in(line);
  std::vector<std::string> w;
  for (std::string s; in >> s;) w.push_back(s);
  if (w.empty() || w[0][0] == '#') return TeSimCmd::Ok;
  // Everything that happened up to now comes first.
  drv.Poll(now);
  TSimRbt& r = drv.Rbt();
  auto bad = [&](const std::string& why) {
    out = why + " (" + GcHlp + ")";
    return TeSimCmd::Err;
  };
  const std::string& c = w[0];
  if (c == "quit" || c == "exit") return TeSimCmd::Qit;
  if (c == "help") {
    out = GcHlp;
    return TeSimCmd::Ok;
  }
  if ((c == "press" || c == "release") && w.size() == 3 && w[1] == "bumper" && (w[2] == "left" || w[2] == "right")) {
    r.SetBmpUsr(w[2] == "left", c == "press");
    return TeSimCmd::Ok;
  }
  if (c == "switch" && (w.size() == 2 || w.size() == 3)) {
    double n = 0;
    if (!Num(w[1], n) || n < 1 || n > 6 || n != static_cast<int>(n)) return bad("no switch '" + w[1] + "': 1 to 6");
    const int i = static_cast<int>(n) - 1;
    bool on = !r.Swi(i);
    if (w.size() == 3) {
      if (w[2] != "on" && w[2] != "off") return bad("switch " + w[1] + " can be on or off, not '" + w[2] + "'");
      on = w[2] == "on";
    }
    r.SetSwi(i, on);
    return TeSimCmd::Ok;
  }
  if (c == "light" && w.size() == 2) {
    double v = 0;
    if (!Num(w[1], v) || v < 0 || v > 100) return bad("light takes a percentage from 0 to 100, not '" + w[1] + "'");
    r.SetLgt(v);
    return TeSimCmd::Ok;
  }
  if (c == "place" && (w.size() == 3 || w.size() == 4)) {
    double x = 0, y = 0, h = r.Wld().Hdg();
    if (!Num(w[1], x) || !Num(w[2], y) || (w.size() == 4 && !Num(w[3], h)))
      return bad("place takes x and y in cm and a heading in degrees");
    r.Wld().SetPos(x, y, h);
    r.Evt("placed at x " + w[1] + " y " + w[2] + (w.size() == 4 ? " heading " + w[3] : ""));
    return TeSimCmd::Ok;
  }
  if (c == "run" && w.size() == 1) {
    if (r.Running()) r.Hlt("run again from the start");
    r.Run();
    return TeSimCmd::Ok;
  }
  if (c == "stop" && w.size() == 1) {
    r.Hlt("stopped by the user");
    return TeSimCmd::Ok;
  }
  if (c == "speed" && w.size() == 2) {
    double f = 0;
    if (!Num(w[1], f) || f <= 0 || f > 1e6) return bad("speed takes a factor above 0, up to 1000000, not '" + w[1] + "'");
    drv.SetSpd(f, now);
    return TeSimCmd::Ok;
  }
  if (c == "status" && w.size() == 1) {
    out = SimSts(r);
    return TeSimCmd::Ok;
  }
  bool err = false;
  if (DbgCmd(r, w, out, err)) return err ? bad(out) : TeSimCmd::Ok;
  return bad("unknown command '" + line + "'");
}
