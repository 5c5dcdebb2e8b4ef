// Arbitrary bytes as benchs.txt or faq.txt: every list line fits the
// reader's limit and holds no newline.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "results/result_table.h"
#include "tests/support/memory_platform.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool ready = [] {
    char dir[] = "/tmp/vm-fuzz-lines-XXXXXX";
    return mkdtemp(dir) != nullptr && chdir(dir) == 0;
  }();
  if (!ready) std::abort();
  std::FILE* f = std::fopen(vm::kBenchsFile, "wb");
  if (!f) std::abort();
  std::fwrite(data, 1, size, f);
  std::fclose(f);

  for (int limit : {128, 200}) {
    vm::MemoryListBox list;
    vm::AddFileLines(vm::kBenchsFile, limit, list);
    for (const std::string& line : list.lines())
      if (static_cast<int>(line.size()) >= limit || line.find('\n') != std::string::npos)
        __builtin_trap();
  }
  return 0;
}
