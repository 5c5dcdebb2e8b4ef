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
  std::fprintf(err, "velmark3-cli: the run was not kept in the history: %s\n",
               TerminalText(error).c_str());
  return false;
}

int HistoryCommand(const CliOptions& o, std::FILE* out, std::FILE* err) {
  const std::string folder = RunsFolder(o.resultsFile);
  const History history = ReadHistory(folder);
  for (const ReadRun& stray : history.stray)
    std::fprintf(err, "velmark3-cli: %s is not a kept run (%s); left out\n",
                 TerminalText(stray.run.path).c_str(), TerminalText(stray.error).c_str());
  const bool json = !o.jsonPath.empty();
  int status = 0;
  if (json) std::fputs("{\"runs\": [", out);
  const char* separator = "\n";
  for (size_t i = 0; i < history.runs.size(); ++i) {
    const RunData& run = history.runs[i].run;
    const std::string& damage = history.runs[i].error;
    if (!damage.empty()) status = 1;
    if (json && !damage.empty()) {
      std::fprintf(out, "%s  {\"index\": %zu, \"file\": %s, \"damaged\": %s}", separator, i + 1,
                   JsonString(run.path).c_str(), JsonString(damage).c_str());
    } else if (json) {
      std::string scenes;
      for (int s : run.selected) scenes += (scenes.empty() ? "" : ", ") + std::to_string(s);
      std::fprintf(out,
                   "%s  {\"index\": %zu, \"file\": %s, \"date\": %s, \"renderer\": %s, "
                   "\"scenes\": [%s], \"score\": %d, \"complete\": %s, \"interrupted\": %s, "
                   "\"marks\": [%s]}",
                   separator, i + 1, JsonString(run.path).c_str(), JsonString(run.date).c_str(),
                   JsonString(run.renderer).c_str(), scenes.c_str(), run.score,
                   run.complete ? "true" : "false", run.interrupted ? "true" : "false",
                   MarksJson(run).c_str());
    } else if (!damage.empty()) {
      std::fprintf(out, "%zu  damaged  %s: %s\n", i + 1, TerminalText(run.path).c_str(),
                   TerminalText(damage).c_str());
    } else {
      // The marks name an interruption, a failed validation and a busy machine.
      const std::string marks = RunMarks(run);
      std::fprintf(out, "%zu  %s  %s  scenes %s  score %d  %s%s%s\n", i + 1,
                   TerminalText(run.date).c_str(), TerminalText(run.renderer).c_str(),
                   SceneList(run.selected).c_str(), run.score,
                   run.complete ? "complete" : "partial", marks.empty() ? "" : ", ",
                   TerminalText(marks).c_str());
    }
    separator = ",\n";
  }
  if (json) std::fputs("]}\n", out);
  if (history.runs.empty() && !json)
    std::fprintf(err, "velmark3-cli: no runs kept in %s yet\n", TerminalText(folder).c_str());
  return status;
}

}  // namespace vm
