#include "link/MeaSto.h"

#include <algorithm>
#include <cstdio>

namespace {
int MeaChn(const TRcvEff& e) {
  return e.Knd == TeRcvEff::ShwMea1 ? 0 : e.Knd == TeRcvEff::ShwMea2 ? 1 : -1;
}
}  // namespace

bool TMeaSto::Has(const std::vector<TRcvEff>& eff) {
  return std::any_of(eff.begin(), eff.end(), [](const TRcvEff& e) { return MeaChn(e) >= 0; });
}

bool TMeaSto::Put(const std::vector<TRcvEff>& eff, std::int64_t ms) {
  bool any = false;
  for (const TRcvEff& e : eff)
    if (const int c = MeaChn(e); c >= 0) any = Put(static_cast<std::uint8_t>(c), e.Val, ms) || any;
  return any;
}

bool TMeaSto::Put(std::uint8_t chn, std::uint16_t val, std::int64_t ms) {
  if (chn >= GcMeaChn) return false;
  std::lock_guard<std::mutex> l(FMtx);
  if (FbPau) return false;
  // A clock that went back (it does not) would leave the list out of order.
  if (!FSmp.empty()) ms = std::max(ms, FSmp.back().Ms);
  FSmp.push_back({ms, chn, val});
  FLst[chn] = val;
  ++FiVer;
  Cut(ms);
  return true;
}

void TMeaSto::Cut(std::int64_t now) {
  while (!FSmp.empty() && FSmp.front().Ms < now - GcMeaSpnMs) FSmp.pop_front();
}

void TMeaSto::SetPau(bool pau, std::int64_t ms) {
  std::lock_guard<std::mutex> l(FMtx);
  if (pau && !FbPau) FiPauMs = ms;
  FbPau = pau;
  ++FiVer;
}

bool TMeaSto::Pau() const {
  std::lock_guard<std::mutex> l(FMtx);
  return FbPau;
}

void TMeaSto::Clr() {
  std::lock_guard<std::mutex> l(FMtx);
  FSmp.clear();
  for (auto& v : FLst) v.reset();
  ++FiVer;
}

std::int64_t TMeaSto::End(std::int64_t now) const {
  std::lock_guard<std::mutex> l(FMtx);
  return FbPau ? FiPauMs : now;
}

std::vector<TuMeaSmp> TMeaSto::Smp(std::int64_t now) const {
  std::lock_guard<std::mutex> l(FMtx);
  const std::int64_t end = FbPau ? FiPauMs : now;
  auto beg = std::find_if(FSmp.begin(), FSmp.end(), [end](const TuMeaSmp& s) { return s.Ms >= end - GcMeaSpnMs; });
  return {beg, FSmp.end()};
}

std::optional<std::uint16_t> TMeaSto::Lst(std::uint8_t chn) const {
  std::lock_guard<std::mutex> l(FMtx);
  return chn < GcMeaChn ? FLst[chn] : std::nullopt;
}

std::uint64_t TMeaSto::Ver() const {
  std::lock_guard<std::mutex> l(FMtx);
  return FiVer;
}

std::string TMeaSto::Csv(std::int64_t now) const {
  const std::vector<TuMeaSmp> smp = Smp(now);
  std::string out = "time_s,measurement_1,measurement_2,switch_1,switch_2,switch_3,switch_4,switch_5,switch_6\r\n";
  std::optional<std::uint16_t> cur[GcMeaChn];
  char buf[32];
  for (const TuMeaSmp& s : smp) {
    cur[s.Chn] = s.Val;
    const std::int64_t ms = s.Ms - smp.front().Ms;
    std::snprintf(buf, sizeof buf, "%lld.%03lld", static_cast<long long>(ms / 1000), static_cast<long long>(ms % 1000));
    out += buf;
    for (const auto& v : cur) out += "," + (v ? std::to_string(*v) : std::string());
    for (int n = 1; n <= 6; ++n) out += cur[1] ? (MeaSwi(*cur[1], n) ? ",1" : ",0") : ",";
    out += "\r\n";
  }
  return out;
}

std::uint16_t MeaMax(const std::vector<TuMeaSmp>& smp, std::uint8_t chn) {
  std::uint16_t m = 1;
  for (const TuMeaSmp& s : smp)
    if (s.Chn == chn) m = std::max(m, s.Val);
  return m;
}

std::vector<TuPltPt> MeaPlt(const std::vector<TuMeaSmp>& smp, std::uint8_t chn, std::int64_t end, int x0, int wdt,
                            int y0, int hgt, std::uint16_t max, std::uint16_t bit) {
  std::vector<TuPltPt> pts;
  if (wdt < 2 || hgt < 2) return pts;
  const std::int64_t w = wdt - 1, h = hgt - 1;
  const std::int64_t top = bit ? 1 : std::max<std::int64_t>(max, 1);
  auto xAt = [&](std::int64_t ms) {
    const std::int64_t age = std::clamp<std::int64_t>(end - ms, 0, GcMeaSpnMs);
    return static_cast<int>(x0 + w - age * w / GcMeaSpnMs);
  };
  auto yAt = [&](std::uint16_t v) {
    const std::int64_t lvl = bit ? ((v & bit) != 0) : std::min<std::int64_t>(v, top);
    return static_cast<int>(y0 + h - lvl * h / top);
  };
  // A level that goes on is one line: its middle points go.
  auto add = [&pts](TuPltPt p) {
    const std::size_t n = pts.size();
    if (n > 0 && pts.back() == p) return;
    if (n > 1 && pts[n - 1].Y == p.Y && pts[n - 2].Y == p.Y)
      pts.back() = p;
    else
      pts.push_back(p);
  };
  for (const TuMeaSmp& s : smp) {
    if (s.Chn != chn) continue;
    const int x = xAt(s.Ms), y = yAt(s.Val);
    if (!pts.empty()) add({x, pts.back().Y});
    add({x, y});
  }
  if (!pts.empty()) add({x0 + static_cast<int>(w), pts.back().Y});
  return pts;
}
