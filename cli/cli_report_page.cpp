#include "cli/cli_report_page.h"

#include "cli/cli_results.h"
#include "platform/output_file.h"
#include "report/html_report.h"
#include "report/run_file.h"
#include "report/run_history.h"
#include "results/result_table.h"

namespace vm {
namespace {

// The runs a report names, in order: files, history indexes, then the
// --last newest that are not damaged, each with what the history read of
// it (null for a file named). False with a reason when an index is not in
// the history.
bool RunPaths(const CliOptions& o, const History& history, std::vector<std::string>& paths,
              std::vector<const ReadRun*>& known, std::string& error) {
  const std::string folder = RunsFolder(o.resultsFile);
  const size_t kept = history.runs.size();
  for (const std::string& run : o.runs) {
    long index = 0;
    if (!IsHistoryIndex(run)) {
      paths.push_back(run);
      known.push_back(nullptr);
    } else if (ParseInteger(run, 1, static_cast<long>(kept), index) == IntegerParse::kOk) {
      paths.push_back(history.runs[index - 1].run.path);
      known.push_back(&history.runs[index - 1]);
    } else {
      error = "there is no run " + run + " in the history (" + std::to_string(kept) +
              " kept; see velmark3-cli history)";
      return false;
    }
  }
  std::vector<const ReadRun*> whole;
  for (const ReadRun& r : history.runs)
    if (r.error.empty()) whole.push_back(&r);
  const size_t last = o.runs.empty() && o.last == 0 ? 1 : static_cast<size_t>(o.last);
  if (last > whole.size()) {
    error = whole.empty() ? "no runs kept in " + folder + " yet; name run files"
                          : "the history holds " + std::to_string(whole.size()) +
                                (whole.size() == 1 ? " whole run, not " : " whole runs, not ") +
                                std::to_string(last);
    return false;
  }
  for (size_t k = whole.size() - last; k < whole.size(); ++k) {
    paths.push_back(whole[k]->run.path);
    known.push_back(whole[k]);
  }
  return true;
}

}  // namespace

int ReportCommand(const CliOptions& o, std::FILE* out, std::FILE* err) {
  std::string error;
  std::vector<std::string> paths;
  std::vector<const ReadRun*> known;
  const History history = ReadHistory(RunsFolder(o.resultsFile));
  if (!RunPaths(o, history, paths, known, error)) {
    std::fprintf(err, "velmark3-cli: report: %s\n", TerminalText(error).c_str());
    return 1;
  }
  // A page on standard output takes its place there; the verdicts go aside.
  const bool toStdout = o.outputPath == "-";
  std::FILE* lines = toStdout ? err : out;
  const RunDetail detail = paths.size() > static_cast<size_t>(kMostCompared)
                               ? RunDetail::kNoHistograms
                               : RunDetail::kAll;
  // The history read its runs without their distributions: what a report
  // of many needs; fewer are read again whole.
  std::vector<ReadRun> read(paths.size());
  std::vector<std::string> unread;
  std::vector<size_t> at;
  for (size_t i = 0; i < paths.size(); ++i) {
    if (known[i] && detail == RunDetail::kNoHistograms) {
      read[i] = *known[i];
    } else {
      unread.push_back(paths[i]);
      at.push_back(i);
    }
  }
  std::vector<ReadRun> fresh = ReadRunFiles(unread, detail);
  for (size_t k = 0; k < at.size(); ++k) read[at[k]] = std::move(fresh[k]);
  std::vector<RunData> runs;
  int skipped = 0;
  for (size_t i = 0; i < paths.size(); ++i) {
    if (read[i].error.empty()) {
      runs.push_back(std::move(read[i].run));
      if (runs.back().interrupted)
        std::fprintf(
            err, "velmark3-cli: run %zu was interrupted: it holds only the scenes it finished\n",
            runs.size());
    } else {
      std::fprintf(err, "velmark3-cli: %s: %s; skipped\n", TerminalText(paths[i]).c_str(),
                   TerminalText(read[i].error).c_str());
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
      if (read[i].error.empty())
        sides[static_cast<long>(i) < o.sideSplit ? 0 : 1].push_back(&runs[r++]);
    comparisons.push_back(CompareSides(sides[0], sides[1], o.all));
    comparisons.back().title = "The runs after \"vs\" against those before it";
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
    std::fprintf(err, "velmark3-cli: %s\n", TerminalText(error).c_str());
    return 1;
  } else {
    std::fprintf(err, "velmark3-cli: report of %zu run%s written to %s\n", runs.size(),
                 runs.size() == 1 ? "" : "s", TerminalText(o.outputPath).c_str());
  }
  return skipped ? 1 : slower ? kSomeSceneSlower : 0;
}

}  // namespace vm
