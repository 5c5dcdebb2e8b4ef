#include "cli/cli_results.h"

#include <string>
#include <vector>

#include "cli/cli_report.h"
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

  TextResults() {
    LoadResultTable();
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

}  // namespace

int ResultsCommand(std::FILE* out, std::FILE* /*err*/, bool json) {
  TextResults window;
  if (json)
    WriteRankingJson(out);
  else
    PrintLines(window.ranking(), out);
  return 0;
}

int CompareCommand(int first, int second, std::FILE* out, std::FILE* err, bool json) {
  TextResults window;
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
  if (json)
    WriteCompareJson(first, second, out);
  else
    PrintLines(*window.dialog.ListAt(kCompareListId), out);
  return 0;
}

int DevicesCommand(std::FILE* out, std::FILE* err) {
  std::vector<EglDeviceInfo> devices;
  std::string error;
  if (!ListEglDevices(devices, error)) {
    std::fprintf(err, "velmark3-cli: %s\n", error.c_str());
    return 1;
  }
  if (devices.empty()) std::fprintf(err, "velmark3-cli: EGL lists no devices\n");
  for (size_t i = 0; i < devices.size(); ++i) {
    const EglDeviceInfo& d = devices[i];
    std::fprintf(out, "Device %zu : %s%s%s\n    %s\n", i,
                 d.vendor.empty() ? "(no display)" : d.vendor.c_str(), d.drmFile.empty() ? "" : " ",
                 d.drmFile.c_str(), d.extensions.c_str());
  }
  return 0;
}

}  // namespace vm
