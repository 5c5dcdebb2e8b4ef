#include "report/run_history.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <random>

#include "platform/output_file.h"
#include "results/result_table.h"

namespace vm {

std::string RunsFolder(const std::string& resultsFile) {
  const size_t slash = resultsFile.rfind('/');
  return slash == std::string::npos ? "runs" : resultsFile.substr(0, slash + 1) + "runs";
}

std::string IsoDate(std::time_t when) {
  std::tm utc{};
  gmtime_r(&when, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return text;
}

std::string NewRunPath(const std::string& folder, std::time_t when) {
  std::tm utc{};
  gmtime_r(&when, &utc);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%dT%H%M%SZ", &utc);
  std::random_device random;
  return folder + "/" + stamp + FormatC("-%06x.json", random() & 0xffffffu);
}

std::string PrepareRunPath(const std::string& path) {
  // A missing folder is made with the file: a run that never ends leaves
  // nothing behind.
  struct stat st;
  const std::string folder = FolderOf(path);
  if (stat(folder.c_str(), &st) != 0 && errno == ENOENT) return CheckOutputPath(folder);
  return CheckOutputPath(path);
}

bool KeepRun(const std::string& path, const std::string& json, std::string& error) {
  const std::string folder = FolderOf(path);
  if (mkdir(folder.c_str(), 0755) != 0 && errno != EEXIST) {
    error = "cannot create " + folder + ": " + std::strerror(errno);
    return false;
  }
  return ReplaceFile(path, json, error);
}

std::vector<std::string> KeptRuns(const std::string& folder) {
  std::vector<std::string> names;
  DIR* d = opendir(folder.c_str());
  if (!d) return names;
  while (dirent* e = readdir(d)) {
    const std::string name = e->d_name;
    // Only the runs' own files: not the temporary file of a write under way.
    if (name.size() > 5 && name[0] != '.' && name.compare(name.size() - 5, 5, ".json") == 0)
      names.push_back(name);
  }
  closedir(d);
  std::sort(names.begin(), names.end());
  for (std::string& name : names) name = folder + "/" + name;
  return names;
}

}  // namespace vm
