#include "sim/SimCmd.h"

#include <cstdio>
#include <sstream>
#include <vector>

namespace {

const char* const GcHlp =
    "commands: press bumper left|right, release bumper left|right, switch N [on|off], light P, "
    "place X Y [HEADING], run, stop, speed F, status, quit";

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

}  // namespace

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
                r.Running() ? (r.InRti() ? "in the switch-interrupt routine" : "running") : "idle", w.X(), w.Y(),
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
    if (!Num(w[1], f) || f <= 0 || f > 1e6) return bad("speed takes a factor above 0, not '" + w[1] + "'");
    drv.SetSpd(f, now);
    return TeSimCmd::Ok;
  }
  if (c == "status" && w.size() == 1) {
    out = SimSts(r);
    return TeSimCmd::Ok;
  }
  return bad("unknown command '" + line + "'");
}
