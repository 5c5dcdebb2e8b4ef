#include "cli/cli_report_page.h"

#include <algorithm>
#include <thread>

#include "cli/cli_results.h"
#include "platform/output_file.h"
#include "report/html_report.h"
#include "report/run_file.h"
#include "report/run_history.h"
#include "results/result_table.h"

namespace vm {
namespace {

// The runs a report names, in order: files, history indexes, then the
// --last newest. False with a reason when an index is not in the history.
bool RunPaths(const CliOptions& o, std::vector<std::string>& paths, std::string& error) {
  const std::vector<std::string> kept = KeptRuns(RunsFolder(o.resultsFile));
  for (const std::string& run : o.runs) {
    long index = 0;
    if (!IsHistoryIndex(run)) {
      paths.push_back(run);
    } else if (ParseInteger(run, 1, static_cast<long>(kept.size()), index) == IntegerParse::kOk) {
      paths.push_back(kept[index - 1]);
    } else {
      error = "there is no run " + run + " in the history (" + std::to_string(kept.size()) +
              " kept; see velmark3-cli history)";
      return false;
    }
  }
  const int last = o.runs.empty() && o.last == 0 ? 1 : o.last;
  if (last > static_cast<int>(kept.size())) {
    error = kept.empty() ? "no runs kept in " + RunsFolder(o.resultsFile) + " yet; name run files"
                         : "the history holds " + std::to_string(kept.size()) + " runs, not " +
                               std::to_string(last);
    return false;
  }
  paths.insert(paths.end(), kept.end() - last, kept.end());
  return true;
}

}  // namespace

int ReportCommand(const CliOptions& o, std::FILE* out, std::FILE* err) {
  std::string error;
  std::vector<std::string> paths;
  if (!RunPaths(o, paths, error)) {
    std::fprintf(err, "velmark3-cli: report: %s\n", error.c_str());
    return 1;
  }
  // A page on standard output takes its place there; the verdicts go aside.
  const bool toStdout = o.outputPath == "-";
  std::FILE* lines = toStdout ? err : out;
  const RunDetail detail = paths.size() > static_cast<size_t>(kMostCompared)
                               ? RunDetail::kNoHistograms
                               : RunDetail::kAll;
  // Read on every core: ten thousand runs are a few hundred MB of JSON.
  std::vector<RunData> read(paths.size());
  std::vector<std::string> errors(paths.size());
  std::vector<char> ok(paths.size());
  const size_t workers = std::min<size_t>(std::max(1u, std::thread::hardware_concurrency()), 8);
  std::vector<std::thread> threads;
  for (size_t w = 0; w < workers && w < paths.size(); ++w)
    threads.emplace_back([&, w] {
      for (size_t i = w; i < paths.size(); i += workers)
        ok[i] = ReadRunFile(paths[i], detail, read[i], errors[i]);
    });
  for (std::thread& t : threads) t.join();
  std::vector<RunData> runs;
  int skipped = 0;
  for (size_t i = 0; i < paths.size(); ++i) {
    if (ok[i]) {
      runs.push_back(std::move(read[i]));
    } else {
      std::fprintf(err, "velmark3-cli: %s: %s; skipped\n", Shown(paths[i]).c_str(),
                   errors[i].c_str());
      ++skipped;
    }
  }
  if (runs.empty()) {
    std::fprintf(err, "velmark3-cli: no run to report; nothing written\n");
    return 1;
  }
  // Sides named with "vs" are compared as two sets; else two to eight runs
  // are each compared with the first. A side that lost its files to
  // errors is as the remaining ones.
  std::vector<SideComparison> comparisons;
  if (o.sideSplit >= 0) {
    std::vector<const RunData*> sides[2];
    for (size_t i = 0, r = 0; i < paths.size(); ++i)
      if (ok[i]) sides[static_cast<long>(i) < o.sideSplit ? 0 : 1].push_back(&runs[r++]);
    comparisons.push_back(CompareSides(sides[0], sides[1], o.all));
    comparisons.back().title = "The runs after vs against those before";
  } else if (runs.size() >= 2 && runs.size() <= static_cast<size_t>(kMostCompared)) {
    comparisons = EachAgainstFirst(runs, o.all);
  }
  bool slower = false;
  for (const SideComparison& c : comparisons) {
    if (comparisons.size() > 1) std::fprintf(lines, "%s:\n", c.title.c_str());
    std::fprintf(lines, "%s\n", c.header.c_str());
    for (const std::string& l : c.leftOut) std::fprintf(lines, "%s\n", l.c_str());
    if (c.scenes.empty()) std::fprintf(lines, "No scene in common: nothing to compare\n");
    for (const SceneVerdict& v : c.scenes) std::fprintf(lines, "%s\n", VerdictLine(v).c_str());
    slower = slower || c.anySlower();
  }
  const Standing standing = runs.size() == 1 ? RankRun(runs[0], o.resultsFile) : Standing();
  const std::string page = HtmlReport(runs, standing, comparisons, o.all);
  if (toStdout) {
    std::fwrite(page.data(), 1, page.size(), out);
  } else if (!ReplaceFile(o.outputPath, page, error)) {
    std::fprintf(err, "velmark3-cli: %s\n", error.c_str());
    return 1;
  } else {
    std::fprintf(err, "velmark3-cli: report of %zu run%s written to %s\n", runs.size(),
                 runs.size() == 1 ? "" : "s", o.outputPath.c_str());
  }
  return skipped ? 1 : slower ? kSomeSceneSlower : 0;
}

}  // namespace vm
