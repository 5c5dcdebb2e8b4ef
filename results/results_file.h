// Appending a run to the results file: the record as it is written, and the
// one careful path that writes it (under the lock, taken back on failure).
#pragma once

#include <ctime>
#include <string>

#include "results/result_table.h"

namespace vm {

constexpr int kDescriptionFields = 10;

// The record of the last run (the rates of BenchState.sceneTime) as it goes
// into the file, described by the ten fields in the form's order.
std::string FormatRecord(const std::string (&fields)[kDescriptionFields], const std::tm& date);

// Appends `record` to the regular file `path` (created if missing) under an
// advisory lock, on a line of its own. On failure the bytes this call wrote
// are taken back and `error` says why.
bool AppendRecord(const char* path, const std::string& record, std::string& error);

// Saves `record` as Save Results does; `message` gets what the user must be
// told (why it failed, or that the rankings cannot show it), or stays empty.
bool SaveRecord(const char* path, const std::string& record, std::string& message);

// One line of a record: no line breaks, at most kMaxDescriptionChars bytes,
// never half a UTF-8 character.
std::string DescriptionLine(const std::string& typed);

}  // namespace vm
