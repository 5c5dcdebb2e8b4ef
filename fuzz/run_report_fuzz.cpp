// The runner's JSON and CSV reports for any renderer names and any numbers:
// the JSON parses, and every CSV row has as many fields as the header.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/cli_documents.h"

namespace {

std::string Written(void (*write)(const vm::RunReport&, std::FILE*), const vm::RunReport& r) {
  char* data = nullptr;
  size_t size = 0;
  std::FILE* f = open_memstream(&data, &size);
  write(r, f);
  std::fclose(f);
  std::string text(data, size);
  std::free(data);
  return text;
}

// Fields per record of RFC 4180 CSV with \n line ends; -1 when malformed.
std::vector<int> CsvFieldCounts(const std::string& csv) {
  std::vector<int> counts;
  int fields = 1;
  bool quoted = false, atStart = true;
  for (size_t i = 0; i < csv.size(); ++i) {
    const char c = csv[i];
    if (quoted) {
      if (c == '"' && i + 1 < csv.size() && csv[i + 1] == '"') {
        ++i;
      } else if (c == '"') {
        quoted = false;
        if (i + 1 < csv.size() && csv[i + 1] != ',' && csv[i + 1] != '\n') return {-1};
      }
    } else if (c == '"') {
      if (!atStart) return {-1};
      quoted = true;
    } else if (c == ',') {
      ++fields;
      atStart = true;
      continue;
    } else if (c == '\n') {
      counts.push_back(fields);
      fields = 1;
      atStart = true;
      continue;
    }
    atStart = false;
  }
  if (quoted || (!csv.empty() && csv.back() != '\n')) return {-1};
  return counts;
}

double AnyDouble(FuzzedDataProvider& in) {
  switch (in.ConsumeIntegralInRange(0, 3)) {
    case 0:
      return in.ConsumeFloatingPoint<double>();
    case 1:
      return in.ConsumeFloatingPointInRange(0.0, 1000.0);
    case 2:
      return in.ConsumeBool() ? 0.0 / 0.0 : (in.ConsumeBool() ? 1.0 : -1.0) / 0.0;
    default:
      return in.ConsumeIntegral<int>() * 1e-6;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  static auto report = std::make_unique<vm::RunReport>();
  vm::RunReport& r = *report;
  r = vm::RunReport();
  r.glVendor = in.ConsumeRandomLengthString(200);
  r.glRenderer = in.ConsumeRandomLengthString(200);
  r.glVersion = in.ConsumeRandomLengthString(200);
  r.width = in.ConsumeIntegral<int>();
  r.height = in.ConsumeIntegral<int>();
  r.secondsPerScene = in.ConsumeIntegral<int>();
  r.timerMs = in.ConsumeIntegral<int>();
  r.repeat = in.ConsumeIntegralInRange(1, vm::kMaxRepeat);
  r.complete = in.ConsumeBool();
  r.score = in.ConsumeIntegral<int>();
  for (vm::SceneReport& s : r.scenes) {
    s.ran = in.ConsumeBool();
    s.fps = AnyDouble(in);
    for (int k = in.ConsumeIntegralInRange(0, 4); k > 0; --k) {
      s.draw.Add(AnyDouble(in));
      s.frame.Add(AnyDouble(in));
    }
    s.runCount = in.ConsumeIntegralInRange(0, r.repeat);
    for (int k = 0; k < s.runCount; ++k) s.runs[k] = AnyDouble(in);
  }

  const std::string json = Written(vm::WriteRunJson, r);
  if (!nlohmann::json::accept(json)) {
    std::fprintf(stderr, "not JSON:\n%s\n", json.c_str());
    __builtin_trap();
  }
  const std::string csv = Written(vm::WriteRunCsv, r);
  std::vector<int> counts = CsvFieldCounts(csv);
  if (counts.empty()) counts = {-1};  // not even a header
  for (int n : counts) {
    if (counts[0] < 2 || n != counts[0]) {
      std::fprintf(stderr, "CSV rows of unequal width:\n%s\n", csv.c_str());
      __builtin_trap();
    }
  }
  return 0;
}
