// The simulated robot from case files: every tests/data/sim/NAME.sim is a
// transcript. "# " starts a comment, "> " an input on a fake wall clock; every
// other line is what the robot must answer, in order: trace lines, the frames
// it sends ("<<" and their bytes), replies of the headless commands. Inputs
// besides those commands: wait MS (the clock goes on), load HEX... (a token
// stream), compile FILE, up | down (the tool opens or closes the line),
// send CLS COD HEX... (a frame of the tool), bytes HEX..., show (pose, wheels,
// lamps, program counter), sense HEX... (sensor values), trace faults | all.
// TESSARO_UPDATE_CASES=1 writes the transcripts the code gives.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "CplPgm.h"
#include "link/PckPrt.h"
#include "sim/SimCmd.h"
#include "sim/SimSnp.h"
#include "support/TstLin.h"
#include "translator/SarAndTkn.h"

namespace fs = std::filesystem;

namespace {

const std::string GcCasDir = TESSARO_SOURCE_DIR "/tests/data/sim/";
using TBy = std::vector<std::uint8_t>;


std::string HexTxt(const TBy& b) {
  std::string s;
  char x[4];
  for (std::uint8_t c : b) s += (std::snprintf(x, sizeof x, " %02X", c), x);
  return s;
}

TBy CplStm(const std::string& file) {
  TuCplOpt o;
  o.TknPth = TESSARO_DATA_DIR "/ExtComTkn.sys";
  o.MsgPth = TESSARO_DATA_DIR "/SysMsgFil.sys";
  o.PgmPth = TESSARO_SOURCE_DIR "/" + file;
  std::ostringstream out, err;
  EXPECT_EQ(RunCpl(o, out, err), GcCplOk) << err.str();
  std::istringstream in(out.str());
  return TstHex(in);
}

class TSimCas {
public:
  TSimCas() {
    EXPECT_TRUE(FSat.LodTknFil(TESSARO_DATA_DIR "/ExtComTkn.sys"));
    FDrv.Rbt().TknNam().Set(FSat);
    FDrv.Rbt().FOnTrc = [this](const TuSimTrc& t) {
      if (t.Flt || !FbFltOnly) FLog << FmtTrc(t) << "\n";
    };
    FDrv.Sta(0);
    RstRcvPck(FPck);
  }
  void Put(const std::string& line) {
    std::istringstream in(line);
    std::string w;
    in >> w;
    TSimRbt& r = FDrv.Rbt();
    if (w == "wait") {
      double ms = 0;
      in >> ms;
      FNow += static_cast<TSimWal>(ms * 1000);
      r.AdvTo(std::max(r.Now(), FDrv.MdlAt(FNow)));
      FDrv.Lnk().Tck(FNow);
    } else if (w == "load" || w == "compile") {
      r.Lod(w == "load" ? TstHex(in) : CplStm((in >> w, w)));
    } else if (w == "up" || w == "down") {
      FDrv.Lnk().SetUp(w == "up", FNow);
    } else if (w == "send" || w == "bytes") {
      TBy b = TstHex(in), f = b;
      if (w == "send") {
        EXPECT_TRUE(BldPck(7, b[0], b[1], TBy(b.begin() + 2, b.end()), f));
      }
      for (std::uint8_t c : f) FDrv.Lnk().RcvByt(c, FNow);
    } else if (w == "trace") {
      in >> w;
      FbFltOnly = w == "faults";
    } else if (w == "show") {
      Show();
    } else if (w == "sense") {
      for (std::uint8_t t : TstHex(in)) {
        bool ok = false;
        const bool v = r.SnsVal(t, ok);
        FLog << "sense" << HexTxt({t}) << (ok ? (v ? " yes" : " no") : " unknown") << "\n";
      }
    } else {
      Drain();
      std::string out;
      const TeSimCmd c = SimCmd(FDrv, line, FNow, out);
      if (!out.empty() || c == TeSimCmd::Qit)
        FLog << (c == TeSimCmd::Err ? "error: " : c == TeSimCmd::Qit ? "quit" : "") << out << "\n";
    }
    Drain();
  }
  std::string Log() const { return FLog.str(); }

private:
  // The robot as the simulator's pane draws it, and where its program stands.
  void Show() {
    const TSimRbt& r = FDrv.Rbt();
    const TuSimSnp s = SimSnp(r);
    char b[160];
    std::snprintf(b, sizeof b, "pose %.3f %.3f %.3f wheels %d lit %d %d %d pc %d%s%s", s.X, s.Y, s.Hdg,
                  static_cast<int>(r.Wld().Whl()), s.SysLit, s.BckL, s.BckR, r.Pc(), r.Running() ? " running" : "",
                  r.InRti() ? " in-rti" : "");
    FLog << b << "\n";
  }
  // The robot's bytes for the wire, a frame a line.
  void Drain() {
    auto& q = FDrv.Lnk().Out();
    for (; !q.empty(); q.pop_front()) {
      FFrm.push_back(q.front());
      PrsRcvChr(FPck, q.front());
      if (FPck.PckSte != PS_CPL) continue;
      FLog << "<<" << HexTxt(FFrm) << "\n";
      FFrm.clear();
      RstRcvPck(FPck);
    }
  }
  TSarAndTkn FSat{nullptr};
  TSimDrv FDrv;
  TSimWal FNow = 0;
  bool FbFltOnly = false;
  TuRcvPck FPck;
  TBy FFrm;
  std::ostringstream FLog;
};

std::vector<std::string> CasNams() {
  std::vector<std::string> v;
  for (const auto& e : fs::directory_iterator(GcCasDir))
    if (e.path().extension() == ".sim") v.push_back(e.path().stem().string());
  std::sort(v.begin(), v.end());
  return v;
}

class SimCas : public testing::TestWithParam<std::string> {};

TEST_P(SimCas, TranscriptMatches) {
  const std::string pth = GcCasDir + GetParam() + ".sim";
  std::ifstream in(pth);
  std::string exp, got, line;
  TSimCas sim;
  while (std::getline(in, line)) {
    exp += line + "\n";
    if (line.rfind("#", 0) == 0) got += line + "\n";
    if (line.rfind("> ", 0) != 0) continue;
    const std::string before = sim.Log();
    sim.Put(line.substr(2));
    got += line + "\n" + sim.Log().substr(before.size());
  }
  if (std::getenv("TESSARO_UPDATE_CASES")) std::ofstream(pth) << got;
  EXPECT_EQ(got, exp);
}

INSTANTIATE_TEST_SUITE_P(Cases, SimCas, testing::ValuesIn(CasNams()),
                         [](const testing::TestParamInfo<std::string>& i) { return i.param; });

}  // namespace
