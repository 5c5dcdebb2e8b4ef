#include "platform/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace vm {
namespace {

std::string Base(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string Reason(const std::string& path, const char* what) {
  return path + ": " + what;
}

}  // namespace

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string WrittenFile(const std::string& path) {
  struct stat st;
  if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  char* real = realpath(path.c_str(), nullptr);
  const std::string target = real ? real : "";
  std::free(real);
  return target;
}

std::string CheckOutputPath(const std::string& shown) {
  if (shown.empty()) return "an empty file name";
  if (shown.back() == '/') return Reason(shown, "is a folder, not a file");
  // A link is written through: its target is what must be writable.
  const std::string path = WrittenFile(shown);
  if (path.empty()) return Reason(shown, "is a link to nothing");
  struct stat st;
  if (stat(path.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) return Reason(shown, "is a folder, not a file");
    if (!S_ISREG(st.st_mode)) return Reason(shown, "is not a regular file");
    // A file made read-only is one its owner means to keep.
    if (access(path.c_str(), W_OK) != 0) return Reason(shown, "cannot be written to");
  } else if (errno != ENOENT) {
    return Reason(shown, std::strerror(errno));
  }
  const std::string folder = FolderOf(path);
  if (stat(folder.c_str(), &st) != 0) return Reason(shown, "its folder does not exist");
  if (!S_ISDIR(st.st_mode)) return Reason(shown, "its folder is not a folder");
  // The temporary file and the rename need write and search permission.
  if (access(folder.c_str(), W_OK | X_OK) != 0)
    return Reason(shown, "its folder cannot be written to");
  return "";
}

bool ReplaceFile(const std::string& shown, const std::string& content, std::string& error) {
  error = CheckOutputPath(shown);
  if (!error.empty()) return false;
  const std::string path = WrittenFile(shown);
  const size_t slash = path.rfind('/');
  const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
  const std::string dir = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  std::string temp = dir + "." + base + ".XXXXXX";
  std::vector<char> name(temp.begin(), temp.end());
  name.push_back('\0');
  const int fd = mkstemp(name.data());
  if (fd < 0) {
    error = Reason(shown, std::strerror(errno));
    return false;
  }
  temp = name.data();
  struct stat st;
  mode_t mode;
  if (stat(path.c_str(), &st) == 0) {
    mode = st.st_mode & 07777;
  } else {
    const mode_t mask = umask(0);
    umask(mask);
    mode = 0666 & ~mask;
  }
  bool ok = fchmod(fd, mode) == 0;
  for (size_t done = 0; ok && done < content.size();) {
    const ssize_t n = write(fd, content.data() + done, content.size() - done);
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    if (ok) done += static_cast<size_t>(n);
  }
  ok = ok && fsync(fd) == 0;
  const int saved = errno;
  ok = close(fd) == 0 && ok;
  if (ok && rename(temp.c_str(), path.c_str()) == 0) return true;
  error = Reason(shown, std::strerror(ok ? errno : (saved ? saved : EIO)));
  unlink(temp.c_str());
  return false;
}

bool SameFile(const std::string& a, const std::string& b) {
  struct stat sa, sb;
  return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}

bool SamePlace(const std::string& a, const std::string& b) {
  if (SameFile(a, b)) return true;
  struct stat st;
  if (stat(a.c_str(), &st) == 0 && stat(b.c_str(), &st) == 0) return false;
  if (Base(a) != Base(b)) return false;
  char* folderA = realpath(FolderOf(a).c_str(), nullptr);
  char* folderB = realpath(FolderOf(b).c_str(), nullptr);
  const bool same = folderA && folderB && std::strcmp(folderA, folderB) == 0;
  std::free(folderA);
  std::free(folderB);
  return same;
}

}  // namespace vm
