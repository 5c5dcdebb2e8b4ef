#include "cli/cli_outputs.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include "cli/cli_files.h"
#include "platform/output_file.h"
#include "results/result_table.h"

namespace vm {
namespace {

bool Checked(const CommandOutput& o) {
  return !o.path.empty() && o.path != "-";
}

// An appended file needs no new name in its folder, only the file itself.
std::string CheckAppendPath(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return CheckOutputPath(path);
  return access(path.c_str(), W_OK) == 0 ? "" : path + ": cannot be written to";
}

}  // namespace

std::vector<std::string> KeptFiles(const std::string& resultsFile) {
  std::vector<std::string> kept = {resultsFile, kResultsFile, "benchs.txt", "faq.txt"};
  const std::string shipped = InstalledDataDir();
  if (DIR* d = shipped.empty() ? nullptr : opendir(shipped.c_str())) {
    while (dirent* e = readdir(d))
      if (e->d_name[0] != '.') kept.push_back(shipped + "/" + e->d_name);
    closedir(d);
  }
  return kept;
}

std::string CheckRunOutputs(const std::vector<CommandOutput>& outputs,
                            const std::string& resultsFile) {
  const std::vector<std::string> kept = KeptFiles(resultsFile);
  const size_t firstData = 2;  // after the two results files, which a record may go to
  std::string refused;
  for (size_t i = 0; i < outputs.size(); ++i) {
    const CommandOutput& o = outputs[i];
    if (!Checked(o)) continue;
    std::string why = o.append ? CheckAppendPath(o.path) : CheckOutputPath(o.path);
    for (size_t k = o.append ? firstData : 0; k < kept.size() && why.empty(); ++k)
      if (SamePlace(o.path, kept[k])) why = o.path + ": the program reads it (" + kept[k] + ")";
    for (size_t j = 0; j < outputs.size() && why.empty(); ++j)
      if (j != i && Checked(outputs[j]) && SamePlace(o.path, outputs[j].path))
        why = o.path + ": " + outputs[j].option + " writes it too";
    if (!why.empty()) refused += o.option + " " + why + "\n";
  }
  return refused;
}

}  // namespace vm
