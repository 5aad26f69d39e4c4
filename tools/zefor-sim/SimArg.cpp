// zefor-sim's parts that are the same on every system: the command line,
// the wall clock and the robot's set-up once its line is open.
#include <chrono>
#include <iostream>

#include "SimApp.h"
#include "core/ArgRdr.h"
#include "core/PathUtl.h"
#include "sim/SimDrv.h"
#include "translator/SarAndTkn.h"

long long SimWalNow() {
  return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

int PrsSimArg(const std::vector<std::string>& args, TuSimOpt& o, std::string& err) {
  o = TuSimOpt{};
  TArgRdr r(args);
  while (r.Nxt()) {
    if (r.IsFlg("--headless")) {
      o.Hdl = true;
    } else if (r.IsFlg("--no-pacing")) {
      o.Pac = false;
    } else if (r.IsOpt() && (r.Nam() == "--device" || r.Nam() == "--link" || r.Nam() == "--tokens")) {
      std::string& dst = r.Nam() == "--device" ? o.Dev : r.Nam() == "--link" ? o.Lnk : o.Tkn;
      if (!r.Val(dst, err, true)) return GcSimUsg;
    } else if (r.IsOpt() && r.Nam() == "--speed") {
      std::string v;
      if (!r.Val(v, err, true)) return GcSimUsg;
      const std::optional<double> spd = ArgNum(v);
      if (!spd || !(*spd > 0) || *spd > 1e6) {
        err = "--speed takes a factor above 0, up to 1000000 (1 is real time), not '" + v + "'";
        return GcSimUsg;
      }
      o.Spd = *spd;
    } else {
      err = "unknown argument '" + r.Arg() + "'";
      return GcSimUsg;
    }
  }
  return GcSimOk;
}

void SetUpSim(const TuSimOpt& o, TSimDrv& drv) {
  drv.SetPac(o.Pac);
  drv.SetSpd(o.Spd, SimWalNow());
  TSarAndTkn sat(nullptr);
  const std::string tkn = o.Tkn.empty() ? ExeDir() + "ExtComTkn.sys" : o.Tkn;
  if (sat.LodTknFil(tkn)) {
    drv.Rbt().TknNam().Set(sat);
  } else {
    std::cerr << "zefor-sim: no token names (" << tkn << " cannot be read); the trace shows token bytes\n";
  }
  std::cout << drv.Pth() << std::endl;
}
