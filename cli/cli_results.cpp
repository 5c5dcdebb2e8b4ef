#include "cli/cli_results.h"

#include <string>
#include <vector>

#include "results/ranking.h"
#include "results/result_table.h"

namespace vm {
namespace {

void PrintLines(const std::vector<std::string>& lines, std::FILE* out) {
  for (const std::string& line : lines) std::fprintf(out, "%s\n", line.c_str());
}

}  // namespace

int ResultsCommand(std::FILE* out, std::FILE* /*err*/) {
  LoadResultTable();
  PrintLines(RankingLines(), out);
  return 0;
}

int CompareCommand(int first, int second, std::FILE* out, std::FILE* err) {
  LoadResultTable();
  const int machines = lastResultIndex + 1;
  for (int p : {first, second}) {
    if (p < 1 || p > machines) {
      std::fprintf(err, "velmark3-cli: there is no machine at position %d (results.txt ranks %d)\n",
                   p, machines);
      return 2;
    }
  }
  if (first == second) {
    std::fprintf(err, "%s\n", kSameComputerMessage);
    return 1;
  }
  PrintLines(ComparisonLines(first, second), out);
  return 0;
}

}  // namespace vm
