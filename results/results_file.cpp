#include "results/results_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/edit_rules.h"
#include "platform/platform.h"
#include "state/bench_state.h"

namespace vm {

std::string DescriptionLine(const std::string& typed) {
  return ApplyEditRules("", typed, kSingleLine, kMaxDescriptionChars);
}

std::string FormatRecord(const std::string (&fields)[kDescriptionFields], const std::tm& date) {
  std::string record = std::string(kRecordSeparator) + "\n" + FormatLongDate(date) + "\n";
  for (const std::string& field : fields) record += DescriptionLine(field) + "\n";
  for (int i = 0; i < kRecordScenes; ++i)
    record += FormatC("%f\n", SceneRate(BenchState.sceneTime[i]));
  return record;
}

namespace {

// Another program saving holds the lock for a moment; one that holds it for
// seconds is stuck, and the user hears about it instead of waiting.
bool LockForAppend(int fd, std::string& error) {
  for (int tries = 0;; ++tries) {
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) return true;
    if (errno == EINTR) continue;
    if (errno != EWOULDBLOCK) return true;  // no locks on this file system: append unlocked
    if (tries == 50) {
      error = "another program keeps it locked";
      return false;
    }
    usleep(100 * 1000);
  }
}

bool WriteAll(int fd, const std::string& text, size_t& written) {
  written = 0;
  while (written < text.size()) {
    const ssize_t n = write(fd, text.data() + written, text.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    written += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

bool AppendRecord(const char* path, const std::string& record, std::string& error, FileId* wentTo) {
  // Only a regular file is read back: a record sent to a device or a pipe
  // would be lost. Non-blocking, so that a FIFO cannot hold the save.
  struct stat st;
  if (stat(path, &st) == 0 && !S_ISREG(st.st_mode)) {
    error = "it is not a regular file";
    return false;
  }
  // An editor or sed -i replaces the file by a rename: a lock on the file
  // the path named before is no lock on the one it names now.
  int fd = -1;
  bool ok = false;
  for (int tries = 0; !ok && tries < 10; ++tries) {
    if (fd >= 0) close(fd);
    fd = open(path, O_RDWR | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) {
      error = std::strerror(errno);
      return false;
    }
    if (!LockForAppend(fd, error)) break;
    struct stat now;
    ok = fstat(fd, &st) == 0 && stat(path, &now) == 0 && now.st_dev == st.st_dev &&
         now.st_ino == st.st_ino;
    if (!ok) error = "another program keeps replacing it";
  }
  // The size once the lock is ours is where this record starts.
  if (ok && (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))) {
    error = "it is not a regular file";
    ok = false;
  }
  std::string text = record;
  char last = '\n';
  if (ok && st.st_size > 0 && pread(fd, &last, 1, st.st_size - 1) != 1) {
    error = std::strerror(errno);
    ok = false;
  }
  // A file whose last line has no newline (edited by hand, merged): the
  // separator must not be glued to that line.
  if (last != '\n') text.insert(0, "\n");

  size_t written = 0;
  if (ok && !(WriteAll(fd, text, written) && fdatasync(fd) == 0)) {
    ok = false;
    error = std::strerror(errno);
    // Half a record would shift every record after it: take back our bytes,
    // but only while nobody has written after them.
    struct stat now;
    if (written > 0) {
      if (fstat(fd, &now) != 0 || now.st_size != st.st_size + static_cast<off_t>(written))
        error += "; part of the record may remain in the file";
      else if (ftruncate(fd, st.st_size) != 0)
        error += std::string("; part of the record could not be removed: ") + std::strerror(errno);
    }
  }
  if (close(fd) != 0 && ok) {  // the lock goes with the descriptor
    ok = false;
    error = std::strerror(errno);
  }
  if (wentTo)
    *wentTo = {static_cast<unsigned long long>(st.st_dev),
               static_cast<unsigned long long>(st.st_ino)};
  return ok;
}

namespace {

// Whether the file `path` names now holds `record`: the one it went to, or
// a replacement that copied it. Read, not only compared by inode: the
// number of a file replaced and freed is soon given to the next new one.
bool StillHolds(const char* path, const FileId& written, const std::string& record) {
  struct stat now;
  if (stat(path, &now) != 0 || !S_ISREG(now.st_mode)) return false;
  if (now.st_size > kMaxReadBytes)
    return static_cast<unsigned long long>(now.st_dev) == written.device &&
           static_cast<unsigned long long>(now.st_ino) == written.inode;
  std::FILE* f = std::fopen(path, "rb");
  if (!f) return false;
  std::string text;
  char buf[65536];
  for (size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) text.append(buf, n);
  std::fclose(f);
  return text.find(record) != std::string::npos;
}

// "MYBOX of Monday, December 07, 2026": how a message names a record.
std::string RecordName(const std::string& record) {
  const size_t date = record.find('\n') + 1;
  const size_t name = record.find('\n', date) + 1;
  const size_t end = record.find('\n', name);
  if (date == 0 || name == 0 || end == std::string::npos) return "the record";
  return "the record \"" + record.substr(name, end - name) + "\" of " +
         record.substr(date, name - 1 - date);
}

}  // namespace

bool SaveRecord(const char* path, const std::string& record, std::string& message,
                const std::function<void()>& afterAppend) {
  message.clear();
  std::string error;
  // Looked at again a moment later too: a rewrite under way when the record
  // went in may land just after it.
  bool held = false;
  for (int tries = 0; tries < 10 && !held; ++tries) {
    FileId written;
    if (!AppendRecord(path, record, error, &written)) {
      message = std::string("The results were not saved: ") + path + " could not be written (" +
                error + ").";
      return false;
    }
    if (afterAppend) afterAppend();
    held = StillHolds(path, written, record);
    if (held) {
      usleep(100 * 1000);
      held = StillHolds(path, written, record);
    }
  }
  if (!held) {
    message = std::string("The results were not saved: another program keeps replacing ") + path +
              ", and " + RecordName(record) + " is not in it.";
    return false;
  }
  bool cut = false;
  if (CountResultRecords(path, &cut) > kResultRows || cut)
    message = std::string("The results were saved, but ") + path +
              " is longer than the rankings read (its first 128 records, at most 64 MiB): the "
              "new record will not appear in them.";
  return true;
}

}  // namespace vm
