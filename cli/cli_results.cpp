#include "cli/cli_results.h"

#include <unistd.h>

#include "platform/memory_platform.h"
#include "results/result_table.h"
#include "results/text_results_dlg.h"

namespace vm {
namespace {

constexpr int kLinesPerMachine = 30;

// The Text Results window, open on a dialog nobody sees.
struct TextResults {
  MemoryPlatform platform;
  MemoryDialog dialog{kTextResultsDialog};
  CTextResultsDlg logic{platform};

  explicit TextResults(const char* resultsPath) {
    LoadResultTable(resultsPath);
    logic.OnInitDialog(dialog);
  }
  MemoryListBox& ranking() { return *dialog.ListAt(kRankingListId); }
  // A double-click on the first line of the machine at `position`.
  void Choose(int position) {
    ranking().Click((position - 1) * kLinesPerMachine);
    logic.OnDoubleClick(dialog, kRankingListId);
  }
};

void PrintLines(const MemoryListBox& list, std::FILE* out) {
  for (const std::string& line : list.lines()) std::fprintf(out, "%s\n", line.c_str());
}

// An absent file would rank nothing, silently: say where it was looked for.
bool ResultsFileThere(const char* path, std::FILE* err) {
  if (access(path, F_OK) == 0) return true;
  std::fprintf(err, "velmark3-cli: no results file %s (velmark3-cli run --save writes one)\n",
               path);
  return false;
}

}  // namespace

int ResultsCommand(std::FILE* out, std::FILE* err, const char* resultsPath) {
  if (!ResultsFileThere(resultsPath, err)) return 1;
  TextResults window(resultsPath);
  PrintLines(window.ranking(), out);
  return 0;
}

int CompareCommand(int first, int second, std::FILE* out, std::FILE* err, const char* resultsPath) {
  if (!ResultsFileThere(resultsPath, err)) return 1;
  TextResults window(resultsPath);
  const int machines = lastResultIndex + 1;
  for (int p : {first, second}) {
    if (p < 1 || p > machines) {
      std::fprintf(err, "velmark3-cli: there is no machine at position %d (results.txt ranks %d)\n",
                   p, machines);
      return 2;
    }
  }
  window.Choose(first);
  window.Choose(second);
  if (!window.platform.messages.empty()) {
    for (const std::string& m : window.platform.messages) std::fprintf(err, "%s\n", m.c_str());
    return 1;
  }
  PrintLines(*window.dialog.ListAt(kCompareListId), out);
  return 0;
}

}  // namespace vm
