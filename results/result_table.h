// The table of known machines, ranked by average frame rate, and the plain
// text files that feed it: results.txt (records of 36 lines) and the
// display-only line files (benchs.txt, faq.txt).
#pragma once

#include <cstdio>
#include <string>

#include "platform/platform.h"
#include "state/bench_state.h"

namespace vm {

constexpr int kResultRows = 128;
constexpr int kRecordScenes = kSceneCount;  // one rate line per scene
// A description line holds at most 127 bytes with its newline; one byte more
// leaves room for the space the ranking puts before a leading digit.
constexpr int kResultTextSize = 129;
// The most characters a description field may hold so that it reads back as
// one line (127 bytes including the newline).
constexpr int kMaxDescriptionChars = 126;

constexpr const char* kResultsFile = "results.txt";
constexpr const char* kBenchsFile = "benchs.txt";
constexpr const char* kFaqFile = "faq.txt";
constexpr const char* kRecordSeparator = "-------------------------------------";

struct ResultEntry {
  int isThisMachine;
  char computerName[kResultTextSize];
  char cpuType[kResultTextSize];
  char ramType[kResultTextSize];
  char videoCard[kResultTextSize];
  char operatingSystem[kResultTextSize];
  float sceneFps[32];
  float averageFps;
};

extern ResultEntry ResultTable[kResultRows];
extern int lastResultIndex;

// The most bytes read from any of the text files: a file that never ends
// (or a link to one) must not hold the program or fill its memory.
constexpr long long kMaxReadBytes = 64LL << 20;
// The display-only files are read up to 1 MiB: a file of empty lines would
// otherwise give a list of millions of lines.
constexpr long long kMaxDisplayBytes = 1LL << 20;

// How a text file was found. Only regular files are read: a FIFO, device or
// directory could block forever or never end, and counts as missing.
enum class FileState { kRead, kMissing, kNotRegular };

// What LoadResultTable found in the results file, for callers that tell the
// user (the result windows stay silent).
struct ResultsFileReport {
  FileState state = FileState::kMissing;
  bool cut = false;         // reading stopped at kMaxReadBytes
  int recordsNotShown = 0;  // records that did not fit the table's rows
};

// Rebuilds the table: this machine's last completed run (when there is one)
// and every record of `path`, highest average first. Records that do not fit
// the table are counted, not kept.
void LoadResultTable(const char* path = kResultsFile, ResultsFileReport* report = nullptr);

// How many records `path` holds, read as LoadResultTable reads them;
// `cut` tells whether reading stopped at kMaxReadBytes.
int CountResultRecords(const char* path, bool* cut = nullptr);

// Average times 100, truncated; defined for any average a file can give.
int ResultScore(float averageFps);

// Frames per second of a scene from its seconds per frame; 0 for a scene
// that has no measured time (it did not take part in the run).
double SceneRate(float sceneTime);

// printf and atof in the "C" locale, whatever locale the process runs in,
// so results files read the same everywhere. A rate that is not a finite
// float reads as 0.
std::string FormatC(const char* format, ...) __attribute__((format(printf, 1, 2)));
double ParseRate(const char* text);

// Reads a text file line by line like fgets in text mode: a CR before a LF
// is dropped (files written on other systems), and a line longer than the
// limit comes in pieces of limit - 1 bytes. A UTF-8 byte-order mark at the
// start is skipped, and the file ends after kMaxReadBytes. With `wholeLines`
// a long line is one line cut to the limit, never pieces.
class LineReader {
 public:
  explicit LineReader(const char* path, long long maxBytes = kMaxReadBytes,
                      bool wholeLines = false);
  ~LineReader();
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  bool IsOpen() const { return file_ != nullptr; }
  FileState state() const { return state_; }
  bool cut() const { return cut_; }
  // Reads at most limit - 1 bytes up to and including a newline into `buf`.
  // Returns false when the end of the file was reached during this read;
  // `buf` keeps its old contents when nothing at all was left.
  bool ReadLine(char* buf, int limit);
  // The bytes of the line (or piece) last read, its newline included.
  long long lineBytes() const { return lineBytes_; }

 private:
  int Next();

  std::FILE* file_ = nullptr;
  FileState state_ = FileState::kMissing;
  long long left_;
  bool cut_ = false;
  bool wholeLines_;
  long long lineBytes_ = 0;
};

// Adds the lines of `path` to `list`, each cut at its newline; a last line
// without a newline is not added. A missing file adds nothing; a file longer
// than kMaxDisplayBytes adds the lines up to there.
void AddFileLines(const char* path, int limit, ListBox& list);

}  // namespace vm
