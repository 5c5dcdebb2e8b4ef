#include "cli/cli_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "version.h"

namespace vm {
namespace {

bool IsDir(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool MakeDirs(const std::string& path) {
  for (size_t i = 1; i <= path.size(); ++i) {
    if (i < path.size() && path[i] != '/') continue;
    const std::string part = path.substr(0, i);
    if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return false;
  }
  return IsDir(path);
}

// Copies `from` to `to` only when `to` does not exist: a user's file is never
// replaced, not even by a second runner seeding at the same moment.
bool CopyIfMissing(const std::string& from, const std::string& to) {
  const int out = open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
  if (out < 0) return errno == EEXIST;
  const int in = open(from.c_str(), O_RDONLY);
  bool ok = in >= 0;
  char buf[8192];
  ssize_t n = 0;
  while (ok && (n = read(in, buf, sizeof buf)) > 0) ok = write(out, buf, n) == n;
  ok = ok && n == 0;
  if (in >= 0) close(in);
  ok = close(out) == 0 && ok;
  if (!ok) unlink(to.c_str());  // a half copy would pass for the user's own file
  return ok;
}

}  // namespace

std::string InstalledDataDir() {
  char exe[4096];
  const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
  if (n <= 0) return "";
  const std::string path(exe, static_cast<size_t>(n));
  return path.substr(0, path.rfind('/') + 1) + VM_DATA_FROM_BIN;
}

bool EnterFilesFolder(const std::string& dataDir, const std::vector<std::string*>& userPaths,
                      std::string& error) {
  if (dataDir.empty() || !IsDir(dataDir)) return true;  // a build tree: the current directory
  for (std::string* path : userPaths) {
    if (path->empty() || *path == "-" || (*path)[0] == '/') continue;
    char cwd[4096];
    if (!getcwd(cwd, sizeof cwd)) {
      error = "cannot resolve " + *path + ": " + std::strerror(errno);
      return false;
    }
    *path = std::string(cwd) + "/" + *path;
  }
  const char* xdg = std::getenv("XDG_DATA_HOME");
  const char* home = std::getenv("HOME");
  std::string work;
  if (xdg && xdg[0] == '/') {
    work = std::string(xdg) + "/velmark3";
  } else if (home && home[0] == '/') {
    work = std::string(home) + "/.local/share/velmark3";
  } else {
    error = "no folder for the results (neither XDG_DATA_HOME nor HOME is set)";
    return false;
  }
  if (!MakeDirs(work)) {
    error = "cannot create " + work + ": " + std::strerror(errno);
    return false;
  }
  if (DIR* d = opendir(dataDir.c_str())) {
    while (dirent* e = readdir(d)) {
      const std::string from = dataDir + "/" + e->d_name;
      struct stat st;
      if (stat(from.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
      if (!CopyIfMissing(from, work + "/" + e->d_name)) {
        error = "cannot copy " + from + " to " + work + ": " + std::strerror(errno);
        closedir(d);
        return false;
      }
    }
    closedir(d);
  }
  if (chdir(work.c_str()) != 0) {
    error = "cannot enter " + work + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

}  // namespace vm
