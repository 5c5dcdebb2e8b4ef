#include "cli/cli_history.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <thread>

#include "cli/cli_results.h"
#include "platform/output_file.h"
#include "report/html_report.h"
#include "report/run_file.h"
#include "report/run_history.h"
#include "results/result_table.h"

namespace vm {
namespace {

// A history index or count: a whole number 1 to 10^9.
bool ParseCount(const std::string& text, int& value) {
  if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
    return false;
  value = std::atoi(text.c_str());
  return value >= 1;
}

// The runs a report names, in order: files, history indexes, then the
// --last newest. False with a reason when an index is not in the history.
bool RunPaths(const CliOptions& o, std::vector<std::string>& paths, std::string& error) {
  const std::vector<std::string> kept = KeptRuns(RunsFolder(o.resultsFile));
  for (const std::string& run : o.runs) {
    int index = 0;
    if (!ParseCount(run, index)) {
      paths.push_back(run);
    } else if (index <= static_cast<int>(kept.size())) {
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

bool ParseHistoryCli(int argc, const char* const* argv, CliOptions& out, std::string& error) {
  const std::string command = argv[1];
  out.command = command == "history" ? CliCommand::kHistory : CliCommand::kReport;
  for (int i = 2; i < argc; ++i) {
    const std::string arg = argv[i] ? argv[i] : "";
    const bool report = out.command == CliCommand::kReport;
    if (arg == "--json" && !report) {
      out.jsonPath = "-";
    } else if (report && (arg == "-o" || arg == "--output" || arg == "--last")) {
      if (i + 1 >= argc || !argv[i + 1] || !*argv[i + 1]) {
        error = "option " + arg + " needs a value";
        return false;
      }
      const std::string value = argv[++i];
      if (arg != "--last") {
        out.outputPath = value;
      } else if (!ParseCount(value, out.last)) {
        error = "bad --last '" + Shown(value) + "' (a number of runs, 1 or more)";
        return false;
      }
    } else if (arg == "--help" || arg == "-h") {
      out.command = CliCommand::kHelp;
      return true;
    } else if (!report || (arg.size() > 1 && arg[0] == '-')) {
      error = "unknown " + std::string(arg[0] == '-' ? "option" : "argument") + " '" + Shown(arg) +
              "' for " + command + " (see --help)";
      return false;
    } else {
      out.runs.push_back(arg);
    }
  }
  return true;
}

bool PrepareHistory(const CliOptions& o, std::time_t started, std::string& path, std::FILE* err) {
  path.clear();
  if (!o.history) return true;
  const std::string candidate = NewRunPath(RunsFolder(o.resultsFile), started);
  const std::string why = PrepareRunPath(candidate);
  if (!why.empty()) {
    std::fprintf(err,
                 "velmark3-cli: cannot keep the run in the history: %s (--no-history runs "
                 "without keeping it)\n",
                 why.c_str());
    return false;
  }
  path = candidate;
  return true;
}

bool KeepInHistory(const std::string& path, const RunReport& report, std::FILE* err) {
  std::string error;
  if (path.empty() || KeepRun(path, RunJson(report), error)) return true;
  std::fprintf(err, "velmark3-cli: the run was not kept in the history: %s\n", error.c_str());
  return false;
}

int HistoryCommand(const CliOptions& o, std::FILE* out, std::FILE* err) {
  const std::vector<std::string> kept = KeptRuns(RunsFolder(o.resultsFile));
  const bool json = !o.jsonPath.empty();
  int status = 0;
  if (json) std::fputs("{\"runs\": [", out);
  const char* separator = "\n";
  RunData run;
  for (size_t i = 0; i < kept.size(); ++i) {
    std::string error;
    if (!ReadRunFile(kept[i], RunDetail::kSummary, run, error)) {
      std::fprintf(err, "velmark3-cli: run %zu, %s: %s\n", i + 1, Shown(kept[i]).c_str(),
                   error.c_str());
      status = 1;
      continue;
    }
    std::string scenes;
    for (int s : run.selected) scenes += (scenes.empty() ? "" : ", ") + std::to_string(s);
    if (json) {
      std::fprintf(out,
                   "%s  {\"index\": %zu, \"file\": %s, \"date\": %s, \"renderer\": %s, "
                   "\"scenes\": [%s], \"score\": %d, \"complete\": %s}",
                   separator, i + 1, JsonString(kept[i]).c_str(), JsonString(run.date).c_str(),
                   JsonString(run.renderer).c_str(), scenes.c_str(), run.score,
                   run.complete ? "true" : "false");
      separator = ",\n";
    } else {
      std::fprintf(out, "%zu  %s  %s  scenes %s  score %d  %s\n", i + 1,
                   PrintableText(run.date).c_str(), PrintableText(run.renderer).c_str(),
                   SceneList(run.selected).c_str(), run.score,
                   run.complete ? "complete" : "partial");
    }
  }
  if (json) std::fputs("]}\n", out);
  if (kept.empty() && !json)
    std::fprintf(err, "velmark3-cli: no runs kept in %s yet\n", RunsFolder(o.resultsFile).c_str());
  return status;
}

int ReportCommand(const CliOptions& o, std::FILE* out, std::FILE* err) {
  std::string error = CheckOutputPath(o.outputPath);
  std::vector<std::string> paths;
  if (error.empty() && !RunPaths(o, paths, error)) error = "report: " + error;
  for (const std::string& p : paths)
    if (error.empty() && SameFile(p, o.outputPath))
      error = "the report would overwrite the run " + p;
  if (error.empty() && SameFile(o.resultsFile, o.outputPath))
    error = "the report would overwrite " + o.resultsFile;
  if (!error.empty()) {
    std::fprintf(err, "velmark3-cli: %s\n", error.c_str());
    return 1;
  }
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
  std::vector<SideComparison> comparisons;
  if (runs.size() >= 2 && runs.size() <= static_cast<size_t>(kMostCompared))
    comparisons = EachAgainstFirst(runs, false);
  for (const SideComparison& c : comparisons) {
    if (comparisons.size() > 1) std::fprintf(out, "%s:\n", c.title.c_str());
    std::fprintf(out, "%s\n", c.header.c_str());
    for (const std::string& l : c.leftOut) std::fprintf(out, "%s\n", l.c_str());
    if (c.scenes.empty()) std::fprintf(out, "No scene in common: nothing to compare\n");
    for (const SceneVerdict& v : c.scenes) std::fprintf(out, "%s\n", VerdictLine(v).c_str());
  }
  const Standing standing = runs.size() == 1 ? RankRun(runs[0], o.resultsFile) : Standing();
  const std::string page = HtmlReport(runs, standing, comparisons);
  if (!ReplaceFile(o.outputPath, page, error)) {
    std::fprintf(err, "velmark3-cli: %s\n", error.c_str());
    return 1;
  }
  std::fprintf(err, "velmark3-cli: report of %zu run%s written to %s\n", runs.size(),
               runs.size() == 1 ? "" : "s", o.outputPath.c_str());
  return skipped ? 1 : 0;
}

}  // namespace vm
