#include "report/verdict.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "platform/utf8.h"
#include "results/result_table.h"

namespace vm {
namespace {

constexpr int kFewestRates = 3;  // a side needs this many rates of a scene

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2.0;
}

// The rates a run measured for one scene (one, or one per --repeat run),
// each with whether the machine was busy.
void SceneRates(const RunScene& s, std::vector<double>& quiet, std::vector<double>& busy) {
  std::vector<double> rates = s.runs.empty() ? std::vector<double>{s.fps} : s.runs;
  for (size_t k = 0; k < rates.size(); ++k) {
    if (!std::isfinite(rates[k]) || rates[k] <= 0.0) continue;  // no frame: no rate
    const bool listed = std::find(s.busyRuns.begin(), s.busyRuns.end(), static_cast<int>(k + 1)) !=
                        s.busyRuns.end();
    const bool isBusy = listed || (s.busy && s.busyRuns.empty());
    (isBusy ? busy : quiet).push_back(rates[k]);
  }
}

const RunScene* Find(const RunData& r, int scene) {
  for (const RunScene& s : r.scenes)
    if (s.scene == scene) return &s;
  return nullptr;
}

std::string Flag(const RunData& r) {
  if (r.validated == 0) return "failed validation";
  if (r.interrupted) return "was interrupted";
  return "";
}

std::string Name(const RunData& r) {
  const size_t slash = r.path.find_last_of('/');
  return TerminalText(slash == std::string::npos ? r.path : r.path.substr(slash + 1));
}

// "view size 1024x768, 320x240" when the runs do not agree on it.
void Differs(const std::vector<const RunData*>& runs, const char* what,
             std::string (*value)(const RunData&), std::vector<std::string>& out) {
  std::vector<std::string> seen;
  for (const RunData* r : runs) {
    const std::string v = value(*r);
    if (std::find(seen.begin(), seen.end(), v) == seen.end()) seen.push_back(v);
  }
  if (seen.size() < 2) return;
  std::string list;
  for (const std::string& v : seen) list += (list.empty() ? "" : ", ") + v;
  out.push_back(std::string(what) + " " + list);
}

std::string Side(const std::vector<const RunData*>& runs) {
  int most = 1;
  for (const RunData* r : runs)
    for (const RunScene& s : r->scenes) most = std::max(most, static_cast<int>(s.runs.size()));
  std::string out = std::to_string(runs.size()) + (runs.size() == 1 ? " run" : " runs");
  return most > 1 ? out + FormatC(" (up to %d repeats each)", most) : out;
}

}  // namespace

int RankIntervalIndex(int m, int n) {
  if (m < 1 || n < 1) return 0;
  const double tail = (1.0 - kConfidence) / 2.0;
  const double pairs = static_cast<double>(m) * n;
  if (pairs > 2500.0) {
    // The rank statistic is close to normal here.
    const double sd = std::sqrt(pairs * (m + n + 1) / 12.0);
    return std::max(0, static_cast<int>(std::floor(pairs / 2.0 - 1.959964 * sd)));
  }
  // How many orderings of the two samples give each rank statistic u: the
  // coefficients of the Gaussian binomial [m+n choose m] in q.
  std::vector<double> c(static_cast<size_t>(m) * n + m + n + 2, 0.0);
  c[0] = 1.0;
  for (int i = 1; i <= m; ++i) {
    const int up = n + i;
    for (size_t j = c.size() - 1; j >= static_cast<size_t>(up); --j) c[j] -= c[j - up];
    for (size_t j = i; j < c.size(); ++j) c[j] += c[j - i];
  }
  double total = 0.0;
  for (double v : c) total += v;
  double below = 0.0;
  int k = 0;
  while (k < static_cast<int>(c.size()) && (below + c[k]) / total <= tail) below += c[k++];
  return k;
}

RateVerdict CompareRates(const std::vector<double>& first, const std::vector<double>& second) {
  RateVerdict v;
  v.low = v.high = std::nan("");
  if (first.empty() || second.empty()) return v;
  v.first = Median(first);
  v.second = Median(second);
  v.ratio = v.second / v.first;
  const int m = static_cast<int>(first.size()), n = static_cast<int>(second.size());
  const int k = RankIntervalIndex(m, n);
  if (m < kFewestRates || n < kFewestRates || k < 1) return v;
  std::vector<double> d;
  d.reserve(static_cast<size_t>(m) * n);
  for (double a : first)
    for (double b : second) d.push_back(std::log(b) - std::log(a));
  std::sort(d.begin(), d.end());
  v.low = std::exp(d[k - 1]);
  v.high = std::exp(d[d.size() - k]);
  v.call = v.high < 1.0 - kMinimumEffect  ? Call::kSlower
           : v.low > 1.0 + kMinimumEffect ? Call::kFaster
                                          : Call::kNoChange;
  return v;
}

bool SideComparison::anySlower() const {
  for (const SceneVerdict& s : scenes)
    if (s.v.call == Call::kSlower) return true;
  return false;
}

SideComparison CompareSides(const std::vector<const RunData*>& first,
                            const std::vector<const RunData*>& second, bool all) {
  SideComparison out;
  std::vector<const RunData*> sides[2];
  const std::vector<const RunData*>* given[2] = {&first, &second};
  for (int k = 0; k < 2; ++k) {
    bool anyClean = false;
    for (const RunData* r : *given[k]) anyClean = anyClean || Flag(*r).empty();
    for (const RunData* r : *given[k]) {
      const std::string flag = Flag(*r);
      if (!flag.empty() && anyClean && !all)
        out.leftOut.push_back(Name(*r) + " " + flag + ": left out (--all keeps it)");
      else
        sides[k].push_back(r);
      if (!flag.empty() && (!anyClean || all)) out.leftOut.push_back(Name(*r) + " " + flag);
    }
  }
  std::vector<const RunData*> every = sides[0];
  every.insert(every.end(), sides[1].begin(), sides[1].end());
  std::vector<std::string> differ;
  Differs(
      every, "view size", [](const RunData& r) { return FormatC("%dx%d", r.width, r.height); },
      differ);
  Differs(
      every, "timer", [](const RunData& r) { return FormatC("%d ms", r.timerMs); }, differ);
  Differs(
      every, "seconds per scene", [](const RunData& r) { return std::to_string(r.seconds); },
      differ);
  Differs(
      every, "renderer", [](const RunData& r) { return TerminalText(r.renderer); }, differ);
  Differs(
      every, "depth bits",
      [](const RunData& r) { return r.depthBits ? std::to_string(r.depthBits) : "unknown"; },
      differ);
  Differs(
      every, "validation",
      [](const RunData& r) {
        return std::string(r.validated < 0 ? "not validated" : r.validated ? "passed" : "failed");
      },
      differ);
  Differs(
      every, "program version", [](const RunData& r) { return TerminalText(r.version); }, differ);
  for (const RunData* r : every)
    if (r->interrupted) differ.push_back(Name(*r) + " was interrupted");
  std::string header = "Runs: " + Side(sides[0]) + " -> " + Side(sides[1]);
  if (differ.empty()) {
    header += "; same view, timer, renderer and validation";
  } else {
    header += "; they differ in ";
    for (size_t i = 0; i < differ.size(); ++i) header += (i ? "; " : "") + differ[i];
  }
  out.header = header;

  std::set<int> scenes[2];
  for (int k = 0; k < 2; ++k)
    for (const RunData* r : sides[k])
      for (const RunScene& s : r->scenes) scenes[k].insert(s.scene);
  for (int n : scenes[0]) {
    if (!scenes[1].count(n)) continue;
    std::vector<double> quiet[2], busy[2];
    for (int k = 0; k < 2; ++k)
      for (const RunData* r : sides[k])
        if (const RunScene* s = Find(*r, n)) SceneRates(*s, quiet[k], busy[k]);
    SceneVerdict sv;
    sv.scene = n;
    const RateVerdict quietOnly = CompareRates(quiet[0], quiet[1]);
    const int busyCount = static_cast<int>(busy[0].size() + busy[1].size());
    if (busyCount == 0 || quietOnly.call != Call::kNotEnough) {
      sv.v = quietOnly;
      sv.busyLeftOut = busyCount;
      sv.firstRates = static_cast<int>(quiet[0].size());
      sv.secondRates = static_cast<int>(quiet[1].size());
    } else {
      for (int k = 0; k < 2; ++k) quiet[k].insert(quiet[k].end(), busy[k].begin(), busy[k].end());
      sv.v = CompareRates(quiet[0], quiet[1]);
      sv.busyUsed = busyCount;
      // Rates under load follow the load: a side made busier shifts them
      // all, which the rank test would take for a change.
      for (int k = 0; k < 2; ++k) {
        double sum = 0.0;
        int known = 0;
        for (const RunData* r : sides[k])
          if (const RunScene* s = Find(*r, n); s && std::isfinite(s->otherCpus)) {
            sum += s->otherCpus;
            ++known;
            sv.cpus = std::max(sv.cpus, s->cpus);
          }
        sv.load[k] = known ? sum / known : std::nan("");
      }
      const bool claim = sv.v.call == Call::kFaster || sv.v.call == Call::kSlower;
      const double left[2] = {sv.cpus - sv.load[0], sv.cpus - sv.load[1]};
      const bool known = sv.cpus > 0 && std::isfinite(sv.load[0]) && std::isfinite(sv.load[1]);
      if (claim && known &&
          (left[0] <= 0.0 || left[1] <= 0.0 ||
           std::fabs(std::log(left[1] / left[0])) > std::log(1.0 + kMinimumEffect))) {
        sv.loadDiffered = true;
        sv.v.call = Call::kNotEnough;
      }
      sv.firstRates = static_cast<int>(quiet[0].size());
      sv.secondRates = static_cast<int>(quiet[1].size());
    }
    out.scenes.push_back(sv);
  }
  return out;
}

std::string VerdictText(const SceneVerdict& s) {
  std::string text;
  const RateVerdict& v = s.v;
  const double interval = kConfidence * 100.0;
  switch (v.call) {
    case Call::kSlower:
      text = FormatC("slower by %.1f%% (%.0f%% interval %.1f%% to %.1f%%)", (1.0 - v.ratio) * 100.0,
                     interval, (1.0 - v.high) * 100.0, (1.0 - v.low) * 100.0);
      break;
    case Call::kFaster:
      text = FormatC("faster by %.1f%% (%.0f%% interval %.1f%% to %.1f%%)", (v.ratio - 1.0) * 100.0,
                     interval, (v.low - 1.0) * 100.0, (v.high - 1.0) * 100.0);
      break;
    case Call::kNoChange:
      text = "no change detected";
      break;
    case Call::kNotEnough:
      text = s.loadDiffered
                 ? FormatC(
                       "not enough runs (the machine was busy, other processes using %.2f "
                       "and %.2f of %d CPUs on the two sides; compare runs made while it "
                       "was quiet)",
                       s.load[0], s.load[1], s.cpus)
                 : FormatC("not enough runs (%d and %d rates; --repeat 5 on each side)",
                           s.firstRates, s.secondRates);
      break;
  }
  if (s.busyLeftOut) text += FormatC(" [%d busy runs left out]", s.busyLeftOut);
  if (s.busyUsed) text += FormatC(" [%d busy runs used]", s.busyUsed);
  return text;
}

std::string VerdictLine(const SceneVerdict& s) {
  const auto fps = [](double v) { return std::isfinite(v) && v > 0.0 ? FormatC("%f", v) : "-"; };
  return FormatC("Scene %d : ", s.scene) + fps(s.v.first) + " fps -> " + fps(s.v.second) +
         " fps (ratio " + (std::isfinite(s.v.ratio) ? FormatC("%.3f", s.v.ratio) : "-") + ") " +
         VerdictText(s);
}

}  // namespace vm
