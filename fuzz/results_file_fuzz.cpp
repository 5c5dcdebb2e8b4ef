// Arbitrary bytes as results.txt: the table is filled within its 128 rows,
// with one row per record until it is full, every text stays terminated
// inside its field, and nothing crashes.
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/bench_state.h"
#include "results/result_table.h"

namespace {

bool InScratchDirectory() {
  static bool ready = [] {
    char dir[] = "/tmp/vm-fuzz-results-XXXXXX";
    return mkdtemp(dir) != nullptr && chdir(dir) == 0;
  }();
  return ready;
}

bool Terminated(const char* field) {
  return std::memchr(field, 0, vm::kResultTextSize) != nullptr;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!InScratchDirectory()) std::abort();
  std::FILE* f = std::fopen(vm::kResultsFile, "wb");
  if (!f) std::abort();
  std::fwrite(data, 1, size, f);
  std::fclose(f);

  // Half the inputs also have a finished run of this machine in the table.
  vm::BenchState.resultsAvailable = size % 2;
  for (int i = 0; i < vm::kSceneCount; ++i) vm::BenchState.sceneTime[i] = 0.01f * (i % 3);
  vm::ResultsFileReport report;
  vm::LoadResultTable(vm::kResultsFile, &report);

  if (vm::lastResultIndex < -1 || vm::lastResultIndex >= vm::kResultRows) __builtin_trap();
  // Every record of the file is a row until the table is full, then counted.
  const int records = vm::CountResultRecords(vm::kResultsFile);
  const int room = vm::kResultRows - static_cast<int>(size % 2);
  if (vm::lastResultIndex + 1 != static_cast<int>(size % 2) + std::min(records, room) ||
      report.recordsNotShown != records - std::min(records, room))
    __builtin_trap();
  for (int r = 0; r <= vm::lastResultIndex; ++r) {
    const vm::ResultEntry& e = vm::ResultTable[r];
    if (!Terminated(e.computerName) || !Terminated(e.cpuType) || !Terminated(e.ramType) ||
        !Terminated(e.videoCard) || !Terminated(e.operatingSystem))
      __builtin_trap();
    (void)vm::ResultScore(e.averageFps);
  }
  return 0;
}
