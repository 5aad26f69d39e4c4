#include "app/RolUpl.h"

#include <cstdio>

#include "doctor/ConDoc.h"
#include "messages/SysMsgBui.h"

struct TRolUpl::TRbt {
  std::string Row;
  bool Own = false;
  std::unique_ptr<TUplRbt> Upl;    // not on the window's own port
  TeUplRes OwnRes = TeUplRes::Pnd;  // on it
  TeUplRes Res() const { return Upl ? Upl->Res() : OwnRes; }
};

namespace {

// The parts of the message of results, in its order.
enum : int { UR_CFM, UR_RUN, UR_NO_DEV, UR_OPN, UR_SND, UR_LST, UR_TMO, UR_DO, UR_GOS };

// How often the links are looked at while the robots answer.
constexpr int GcUplTckMs = 20;

// The part idx of the message of results, with its arguments.
std::string Prt(std::uint8_t lge, int idx, const std::vector<std::string>& arg = {}) {
  return SysMsgArg(SysMsgItm(SysMsgOr(SUM_ALL_UPL_RES, lge), static_cast<std::size_t>(idx)), arg);
}

}  // namespace

TRolUpl::TRolUpl(QObject* owner, TRolUplHst hst) : QObject(owner), FHst(std::move(hst)) {
  FTmrQt.setSingleShot(true);
  connect(&FTmrQt, &QTimer::timeout, this, &TRolUpl::Go);
  FTmrWai.setInterval(GcUplTckMs);
  connect(&FTmrWai, &QTimer::timeout, this, &TRolUpl::Tck);
}

TRolUpl::~TRolUpl() = default;

bool TRolUpl::Sta(const std::vector<TTgt>& tgt, bool run, std::uint8_t lge) {
  if (FbRun || !FHst.Stm) return false;
  std::vector<std::uint8_t> stm;
  if (!FHst.Stm(stm)) return false;
  FStm = std::move(stm);
  FbRun = true;
  FbRunPgm = run;
  FbyLge = lge;
  FRbt.clear();
  FAlv = std::make_shared<int>(0);
  bool snt = false;
  for (const TTgt& t : tgt) {
    auto r = std::make_unique<TRbt>();
    r->Row = t.Row;
    r->Own = t.Prt.OwnAns && FHst.Own;
    if (!r->Own) {
      r->Upl = std::make_unique<TUplRbt>(t.Prt.Dev);
      snt = r->Upl->Sta(run ? MK_UPR : MK_UPL, FStm) || snt;
    }
    FRbt.push_back(std::move(r));
  }
  // The window's own link last: its send lets events run.
  for (auto& r : FRbt)
    if (r->Own) {
      TRbt* p = r.get();
      FHst.Own(run, [this, p, alv = std::weak_ptr<int>(FAlv)](TeUplRes res) {
        if (!alv.expired()) p->OwnRes = res;
      });
    }
  FTmrQt.start(snt ? static_cast<int>(FHst.Qt.count()) : 0);
  return true;
}

void TRolUpl::Go() {
  for (auto& r : FRbt)
    if (r->Upl) r->Upl->Go();
  FLim = TLnkSes::TClk::now() + UplAnsTim(FStm.size(), FHst.Tmo);
  FTmrWai.start();
  Tck();
}

void TRolUpl::Tck() {
  if (!FbRun) return;
  const auto now = TLnkSes::TClk::now();
  bool pnd = false;
  for (auto& r : FRbt) {
    // A look that does not wait: the answer is there or it is not.
    if (r->Upl) r->Upl->Wai(now, now >= FLim);
    // The window's link has its own time for the answer; should it never
    // say, the robot has not answered in a second past everybody's time.
    if (r->Own && r->OwnRes == TeUplRes::Pnd && now >= FLim + std::chrono::seconds(1)) r->OwnRes = TeUplRes::Tmo;
    pnd = pnd || r->Res() == TeUplRes::Pnd;
  }
  if (!pnd) End();
}

TRolRow TRolUpl::Row(const TRbt& r) const {
  TRolRow row;
  row.Prt = r.Row;
  const std::string len = std::to_string(FStm.size());
  char sec[32];
  std::snprintf(sec, sizeof sec, "%.1f", std::chrono::duration<double>(UplAnsTim(FStm.size(), FHst.Tmo)).count());
  int idx = UR_TMO;
  switch (r.Res()) {
    case TeUplRes::Cfm: idx = FbRunPgm ? UR_RUN : UR_CFM; break;
    case TeUplRes::NoDev: idx = UR_NO_DEV; break;
    case TeUplRes::Opn: idx = UR_OPN; break;
    case TeUplRes::Snd: idx = UR_SND; break;
    case TeUplRes::Lst: idx = UR_LST; break;
    case TeUplRes::Tmo:
    case TeUplRes::Pnd: break;
  }
  row.Ste = r.Res() == TeUplRes::Cfm ? TeDocSte::Ok : TeDocSte::Fail;
  row.Fnd = Prt(FbyLge, idx, {idx == UR_TMO ? std::string(sec) : len});
  // The component's own words for a failure of a port of ours.
  if (r.Upl && row.Ste != TeDocSte::Ok && !r.Upl->Why().empty()) row.Fnd += " (" + r.Upl->Why() + ")";
  if (row.Ste != TeDocSte::Ok) row.Do = Prt(FbyLge, UR_DO);
  return row;
}

void TRolUpl::End() {
  FTmrWai.stop();
  FbRun = false;
  FAlv = std::make_shared<int>(0);  // a late word of the window's link is of no account now
  std::vector<TRolRow> rows;
  const TDocTxt txt = SysDocTxt(FbyLge);
  std::string rpt = SysMsgItm(SysMsgOr(SUM_ALL_UPL, FbyLge), FbRunPgm ? 1 : 0) + "\n\n";
  std::size_t oky = 0;
  for (auto& r : FRbt) {
    rows.push_back(Row(*r));
    rpt += RolRowTxt(rows.back(), txt) + "\n";
    oky += rows.back().Ste == TeDocSte::Ok;
  }
  rpt += "\n" + SysMsgArg(SysMsgOr(SUM_ALL_UPL_SUM, FbyLge), {std::to_string(oky), std::to_string(rows.size())}) + "\n";
  FRbt.clear();
  emit Done(rows, rpt);
}
