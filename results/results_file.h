// Appending a run to the results file: the record as it is written, and the
// one careful path that writes it (under the lock, taken back on failure).
#pragma once

#include <ctime>
#include <functional>
#include <string>

#include "results/result_table.h"

namespace vm {

constexpr int kDescriptionFields = 10;

// The record of the last run (the rates of BenchState.sceneTime) as it goes
// into the file, described by the ten fields in the form's order.
std::string FormatRecord(const std::string (&fields)[kDescriptionFields], const std::tm& date);

// Which file a path named when it was written.
struct FileId {
  unsigned long long device = 0, inode = 0;
};

// Appends `record` to the regular file `path` (created if missing) under an
// advisory lock, on a line of its own; `written`, when given, gets the file
// it went to. On failure the bytes this call wrote are taken back and
// `error` says why.
bool AppendRecord(const char* path, const std::string& record, std::string& error,
                  FileId* written = nullptr);

// Saves `record` as Save Results does; `message` gets what the user must be
// told (why it failed, or that the rankings cannot show it), or stays empty.
// A program that replaced the file meanwhile without the lock (a copy renamed
// over it) may have dropped the record: it is appended again to the file the
// path names then, and the save fails naming the record when that cannot be
// done. `afterAppend` runs after each append (a test replaces the file there).
bool SaveRecord(const char* path, const std::string& record, std::string& message,
                const std::function<void()>& afterAppend = nullptr);

// One line of a record: no line breaks, at most kMaxDescriptionChars bytes,
// never half a UTF-8 character.
std::string DescriptionLine(const std::string& typed);

}  // namespace vm
