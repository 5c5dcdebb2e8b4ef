#include "cli/cli_history.h"

#include "cli/cli_documents.h"
#include "cli/cli_results.h"
#include "report/html_report.h"
#include "report/run_file.h"
#include "report/run_history.h"

namespace vm {
namespace {

// The run's marks as a JSON list: ["failed validation", "busy"].
std::string MarksJson(const RunData& run) {
  std::string marks = RunMarks(run), out;
  for (size_t at = 0; at < marks.size();) {
    size_t end = marks.find(", ", at);
    if (end == std::string::npos) end = marks.size();
    out += (out.empty() ? "" : ", ") + JsonString(marks.substr(at, end - at));
    at = end + 2;
  }
  return out;
}

}  // namespace

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
                   "\"scenes\": [%s], \"score\": %d, \"complete\": %s, \"marks\": [%s]}",
                   separator, i + 1, JsonString(kept[i]).c_str(), JsonString(run.date).c_str(),
                   JsonString(run.renderer).c_str(), scenes.c_str(), run.score,
                   run.complete ? "true" : "false", MarksJson(run).c_str());
      separator = ",\n";
    } else {
      const std::string marks = RunMarks(run);
      std::fprintf(out, "%zu  %s  %s  scenes %s  score %d  %s%s%s\n", i + 1,
                   PrintableText(run.date).c_str(), PrintableText(run.renderer).c_str(),
                   SceneList(run.selected).c_str(), run.score,
                   run.complete ? "complete" : "partial", marks.empty() ? "" : ", ", marks.c_str());
    }
  }
  if (json) std::fputs("]}\n", out);
  if (kept.empty() && !json)
    std::fprintf(err, "velmark3-cli: no runs kept in %s yet\n", RunsFolder(o.resultsFile).c_str());
  return status;
}

}  // namespace vm
