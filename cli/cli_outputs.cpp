#include "cli/cli_outputs.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "cli/cli_files.h"
#include "platform/output_file.h"
#include "report/run_history.h"
#include "results/result_table.h"

namespace vm {
namespace {

// An appended file needs no new name in its folder, only the file itself.
std::string CheckAppendPath(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return CheckOutputPath(path);
  return access(path.c_str(), W_OK) == 0 ? "" : path + ": cannot be written to";
}

// A picture's or a kept run's folder is made after the check: until then it
// only has to be one that can be made.
std::string CheckMadeFolder(const std::string& path) {
  const std::string folder = FolderOf(path);
  struct stat st;
  if (lstat(folder.c_str(), &st) != 0 && errno == ENOENT) {
    const std::string why = CheckOutputPath(folder);
    return why.empty() ? "" : path + ": its folder cannot be made (" + why + ")";
  }
  if (stat(folder.c_str(), &st) != 0) return path + ": its folder is a link to nothing";
  return CheckOutputPath(path);
}

std::string Why(const CommandOutput& o) {
  switch (o.kind) {
    case OutputKind::kAppend:
      return CheckAppendPath(o.path);
    case OutputKind::kPicture:
    case OutputKind::kKeptRun:
      return CheckMadeFolder(o.path);
    case OutputKind::kDocument:
      break;
  }
  return CheckOutputPath(o.path);
}

// The folder as the system names it, links followed; empty when missing.
std::string RealFolder(const std::string& folder) {
  char* real = realpath(folder.c_str(), nullptr);
  const std::string name = real ? real : "";
  std::free(real);
  return name;
}

bool Checked(const CommandOutput& o) {
  return !o.path.empty() && !(o.path == "-" && o.kind == OutputKind::kDocument);
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

std::string CheckOutputs(const std::vector<CommandOutput>& outputs,
                         const std::vector<std::string>& reads, const std::string& resultsFile) {
  const std::vector<std::string> kept = KeptFiles(resultsFile);
  const std::string runs = RealFolder(RunsFolder(resultsFile));
  const size_t firstData = 2;  // after the two results files, which a record may go to
  for (size_t i = 0; i < outputs.size(); ++i) {
    const CommandOutput& o = outputs[i];
    if (!Checked(o)) continue;
    std::string why = Why(o);
    const bool append = o.kind == OutputKind::kAppend;
    for (size_t k = append ? firstData : 0; k < kept.size() && why.empty(); ++k)
      if (SamePlace(o.path, kept[k])) why = o.path + ": the program reads it (" + kept[k] + ")";
    for (size_t k = 0; k < reads.size() && why.empty(); ++k)
      if (SamePlace(o.path, reads[k])) why = o.path + ": the command reads it";
    if (why.empty() && !append && o.kind != OutputKind::kKeptRun && !runs.empty() &&
        RealFolder(FolderOf(WrittenFile(o.path))) == runs)
      why = o.path + ": runs/ holds the kept runs";
    for (size_t j = 0; j < outputs.size() && why.empty(); ++j)
      if (j != i && Checked(outputs[j]) && outputs[j].option != o.option &&
          SamePlace(o.path, outputs[j].path))
        why = o.path + ": " + outputs[j].option + " writes it too";
    if (why.empty()) continue;
    if (o.kind == OutputKind::kKeptRun)
      return "cannot keep the run in the history: " + why +
             " (--no-history runs without keeping it)";
    return o.option + " " + why;
  }
  return "";
}

}  // namespace vm
