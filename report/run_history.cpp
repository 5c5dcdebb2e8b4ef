#include "report/run_history.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>
#include <thread>

#include "platform/output_file.h"
#include "results/result_table.h"

namespace vm {

std::string RunsFolder(const std::string& resultsFile) {
  return std::filesystem::path(resultsFile).parent_path() / "runs";
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

std::vector<ReadRun> ReadRunFiles(const std::vector<std::string>& paths, RunDetail detail) {
  std::vector<ReadRun> read(paths.size());
  const size_t workers = std::min<size_t>(std::max(1u, std::thread::hardware_concurrency()), 8);
  std::vector<std::thread> threads;
  for (size_t w = 0; w < workers && w < paths.size(); ++w)
    threads.emplace_back([&, w] {
      for (size_t i = w; i < paths.size(); i += workers)
        if (!ReadRunFile(paths[i], detail, read[i].run, read[i].error) && read[i].error.empty())
          read[i].error = "not a run report";
    });
  for (std::thread& t : threads) t.join();
  return read;
}

namespace {

// "20261207T203500Z-0a1b2c.json", as NewRunPath names a run, gives
// "2026-12-07T20:35:00Z"; any other name "".
std::string DateOfName(const std::string& path) {
  const std::string name = std::filesystem::path(path).filename();
  const char* shape = "ddddddddTddddddZ-xxxxxx.json";
  if (name.size() != std::strlen(shape)) return "";
  for (size_t i = 0; i < name.size(); ++i) {
    const char c = name[i];
    const bool ok = shape[i] == 'd'   ? c >= '0' && c <= '9'
                    : shape[i] == 'x' ? std::isxdigit(static_cast<unsigned char>(c)) != 0
                                      : c == shape[i];
    if (!ok) return "";
  }
  return name.substr(0, 4) + "-" + name.substr(4, 2) + "-" + name.substr(6, 2) + "T" +
         name.substr(9, 2) + ":" + name.substr(11, 2) + ":" + name.substr(13, 2) + "Z";
}

// A date as IsoDate writes it.
bool IsIsoDate(const std::string& date) {
  return date.size() == 20 && date[4] == '-' && date[10] == 'T' && date.back() == 'Z';
}

}  // namespace

History ReadHistory(const std::string& folder, RunDetail detail) {
  std::vector<std::string> paths;
  if (DIR* d = opendir(folder.c_str())) {
    // Not the temporary file of a write under way (".name.XXXXXX").
    while (dirent* e = readdir(d))
      if (e->d_name[0] != '.') paths.push_back(folder + "/" + e->d_name);
    closedir(d);
  }
  std::sort(paths.begin(), paths.end());
  std::vector<ReadRun> read = ReadRunFiles(paths, detail);
  History h;
  std::vector<std::pair<std::string, size_t>> order;  // date, then name
  for (size_t i = 0; i < read.size(); ++i) {
    const std::string named = DateOfName(paths[i]);
    if (!read[i].error.empty() && named.empty()) {
      read[i].run.path = paths[i];
      h.stray.push_back(std::move(read[i]));
      continue;
    }
    const std::string& inside = read[i].run.date;
    order.emplace_back(read[i].error.empty() && IsIsoDate(inside) ? inside : named, i);
  }
  std::stable_sort(order.begin(), order.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (const auto& entry : order) {
    h.runs.push_back(std::move(read[entry.second]));
    h.runs.back().run.path = paths[entry.second];
  }
  return h;
}

}  // namespace vm
