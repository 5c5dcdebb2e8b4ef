#include "results/result_table.h"

#include <fcntl.h>
#include <locale.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "state/bench_state.h"

namespace vm {

ResultEntry ResultTable[kResultRows];
int lastResultIndex = -1;

namespace {

// Switches this thread to the "C" locale for its lifetime; a locale set for
// the whole process (by the toolkit or the user) never reaches the numbers.
class CLocaleScope {
 public:
  CLocaleScope() {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    old_ = c ? uselocale(c) : static_cast<locale_t>(nullptr);
  }
  ~CLocaleScope() {
    if (old_) uselocale(old_);
  }
  CLocaleScope(const CLocaleScope&) = delete;
  CLocaleScope& operator=(const CLocaleScope&) = delete;

 private:
  locale_t old_;
};

void CopyText(char* dst, const char* src) {
  std::snprintf(dst, kResultTextSize, "%s", src);
}

// Where description line k (0..9) of a record goes; nullptr for the lines
// the table does not keep.
char* DescriptionField(ResultEntry& row, int k) {
  switch (k) {
    case 0:
      return row.computerName;
    case 1:
      return row.cpuType;
    case 2:
      return row.ramType;
    case 4:
      return row.videoCard;
    case 8:
      return row.operatingSystem;
    default:
      return nullptr;
  }
}

void FillThisMachine(ResultEntry& row) {
  row.isThisMachine = 1;
  CopyText(row.computerName, "This Machine");
  CopyText(row.cpuType, "!!");
  CopyText(row.ramType, "!!");
  CopyText(row.videoCard, "!!");
  CopyText(row.operatingSystem, "!!");
  float sum = 0.0f;
  for (int i = 0; i < kRecordScenes; ++i) {
    float rate = static_cast<float>(SceneRate(BenchState.sceneTime[i]));
    if (!std::isfinite(rate)) rate = 0.0f;
    row.sceneFps[i] = rate;
    sum += rate;
  }
  row.averageFps = sum * 0.041666668f;
}

// A description field and its newline; a longer line was not saved as one.
constexpr long long kLongestLine = kMaxDescriptionChars + 1;

void ReadRecord(LineReader& in, char* line, ResultEntry& row) {
  row.isThisMachine = 0;
  in.ReadLine(line, 80);  // date
  // No end-of-file test inside a record: a cut record repeats its last line.
  for (int k = 0; k < 10; ++k) {
    in.ReadLine(line, 128);
    if (char* field = DescriptionField(row, k)) CopyText(field, line);
  }
  float sum = 0.0f;
  for (int j = 0; j < kRecordScenes; ++j) {
    in.ReadLine(line, 128);
    row.sceneFps[j] = static_cast<float>(ParseRate(line));
    sum += row.sceneFps[j];
  }
  // Rates each within a float can still sum past it: such a row ranks as 0.
  row.averageFps = std::isfinite(sum) ? sum * 0.041666668f : 0.0f;
}

// Reads every record of `in`; the first `room` go into `rows`, the rest are
// only counted. Returns the number of records.
int ReadRecords(LineReader& in, ResultEntry* rows, int room) {
  char line[128] = {};
  ResultEntry spare{};
  int records = 0;
  while (in.ReadLine(line, 80)) {
    // A line too long to be a field (one of a million dashes) starts nothing.
    if (line[0] != '-' || in.lineBytes() > kLongestLine) continue;
    ReadRecord(in, line, records < room ? rows[records] : spare);
    ++records;
  }
  return records;
}

}  // namespace

int CountResultRecords(const char* path, bool* cut) {
  LineReader in(path, kMaxReadBytes, true);
  const int records = ReadRecords(in, nullptr, 0);
  if (cut) *cut = in.cut();
  return records;
}

std::string FormatC(const char* format, ...) {
  CLocaleScope c;
  char buf[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buf, sizeof buf, format, args);
  va_end(args);
  return buf;
}

double ParseRate(const char* text) {
  CLocaleScope c;
  const double rate = std::atof(text);
  // "nan", "inf" or beyond a float would rank above every real machine.
  return std::isfinite(static_cast<float>(rate)) ? rate : 0.0;
}

double SceneRate(float sceneTime) {
  if (!(sceneTime > 0.0f) || !std::isfinite(sceneTime)) return 0.0;
  const double rate = 1.0 / static_cast<double>(sceneTime);
  return std::isfinite(rate) ? rate : 0.0;
}

int ResultScore(float averageFps) {
  const double score = static_cast<double>(averageFps) * 100.0;
  if (std::isnan(score)) return 0;
  if (score >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (score <= static_cast<double>(INT_MIN)) return INT_MIN;
  return static_cast<int>(score);
}

LineReader::LineReader(const char* path, long long maxBytes, bool wholeLines)
    : left_(maxBytes), wholeLines_(wholeLines) {
  // Non-blocking: opening a FIFO for reading would otherwise wait for a writer.
  const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return;
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    state_ = FileState::kNotRegular;
    close(fd);
    return;
  }
  file_ = fdopen(fd, "rb");
  if (!file_) {
    close(fd);
    return;
  }
  state_ = FileState::kRead;
  // Text editors put a byte-order mark before the first line.
  const unsigned char bom[] = {0xEF, 0xBB, 0xBF};
  unsigned char head[3] = {};
  if (std::fread(head, 1, 3, file_) != 3 || std::memcmp(head, bom, 3) != 0)
    std::fseek(file_, 0, SEEK_SET);
}

LineReader::~LineReader() {
  if (file_) std::fclose(file_);
}

int LineReader::Next() {
  if (left_ == 0) {
    if (!cut_ && getc_unlocked(file_) != EOF) cut_ = true;
    return EOF;
  }
  const int c = getc_unlocked(file_);
  if (c != EOF) --left_;
  return c;
}

bool LineReader::ReadLine(char* buf, int limit) {
  if (!file_) return false;
  int n = 0;
  long long length = 0;
  bool endOfFile = false;
  while (wholeLines_ || n < limit - 1) {
    int c = Next();
    if (c == EOF) {
      endOfFile = true;
      break;
    }
    if (c == '\r') {
      const int next = Next();
      if (next == '\n') {
        c = '\n';
      } else if (next != EOF) {
        std::ungetc(next, file_);
        ++left_;
      }
    }
    ++length;
    if (n < limit - 1) buf[n++] = static_cast<char>(c);
    if (c == '\n') break;
  }
  lineBytes_ = length;
  if (n > 0) buf[n] = '\0';
  return !endOfFile;
}

void AddFileLines(const char* path, int limit, ListBox& list) {
  LineReader in(path, kMaxDisplayBytes);
  if (!in.IsOpen()) return;
  std::string buf(static_cast<size_t>(limit > 1 ? limit : 1), '\0');
  while (in.ReadLine(&buf[0], limit)) {
    std::string line(buf.c_str());
    const size_t newline = line.find('\n');
    if (newline != std::string::npos) line.resize(newline);
    list.AddString(line.c_str());
  }
}

void LoadResultTable(const char* path, ResultsFileReport* report) {
  lastResultIndex = -1;
  std::memset(ResultTable, 0, sizeof ResultTable);

  if (BenchState.resultsAvailable == 1) {
    FillThisMachine(ResultTable[0]);
    lastResultIndex = 0;
  }

  LineReader in(path, kMaxReadBytes, true);
  const int room = kResultRows - 1 - lastResultIndex;
  const int records = ReadRecords(in, &ResultTable[lastResultIndex + 1], room);
  lastResultIndex += std::min(records, room);
  if (report) {
    report->state = in.state();
    report->cut = in.cut();
    report->recordsNotShown = records - std::min(records, room);
  }

  if (lastResultIndex < 1) return;
  for (int p = 0; p < lastResultIndex; ++p) {
    for (int k = p + 1; k <= lastResultIndex; ++k) {
      // Equal averages swap too: rows of the same rate come out in this
      // loop's order, which stored rankings rely on.
      if (!(ResultTable[p].averageFps > ResultTable[k].averageFps))
        std::swap(ResultTable[p], ResultTable[k]);
    }
  }
}

}  // namespace vm
