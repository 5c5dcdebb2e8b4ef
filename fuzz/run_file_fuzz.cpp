// Arbitrary bytes as a run report: refused with a reason or read, at every
// level of detail, and a report page made of what was read; nothing crashes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "report/html_report.h"
#include "report/run_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<vm::RunData> runs;
  for (vm::RunDetail detail :
       {vm::RunDetail::kSummary, vm::RunDetail::kNoHistograms, vm::RunDetail::kAll}) {
    vm::RunData run;
    std::string error;
    const bool read = vm::ParseRun(text, detail, run, error);
    if (read == !error.empty()) std::abort();  // a reason exactly when refused
    if (read && detail != vm::RunDetail::kSummary) runs.push_back(run);
  }
  if (!runs.empty()) {
    vm::HtmlReport({runs.back()}, vm::Standing{1, 1, "results.txt"});
    vm::HtmlReport(runs, vm::Standing());
    vm::CompareSides({&runs.front()}, {&runs.back()}, false);
    vm::CompareSides({&runs.front(), &runs.back()}, {&runs.back()}, true);
  }
  return 0;
}
