#include "results/ranking.h"

#include <cctype>
#include <cstring>

namespace vm {

std::string ListedDescription(const char* field) {
  std::string text = field;
  // The field has a spare byte for the space.
  if (std::isdigit(static_cast<unsigned char>(text.c_str()[0])) &&
      text.size() + 2 <= static_cast<size_t>(kResultTextSize))
    text.insert(0, 1, ' ');
  const size_t newline = text.find('\n');
  if (newline != std::string::npos) text.resize(newline);
  return text;
}

std::vector<std::string> RankingLines() {
  std::vector<std::string> lines;
  for (int a = 0; a <= lastResultIndex && a < kResultRows; ++a) {
    const ResultEntry& row = ResultTable[a];
    lines.push_back(FormatC("%d POSITION WITH SCORE = %d", a + 1, ResultScore(row.averageFps)));
    for (const char* field :
         {row.computerName, row.cpuType, row.ramType, row.videoCard, row.operatingSystem})
      lines.push_back(ListedDescription(field));
    for (int s = 0; s < kRecordScenes; ++s)
      lines.push_back(FormatC("    Scenes %d : %f fps", s + 1, row.sceneFps[s]));
  }
  return lines;
}

std::string ChosenComputerLine(int order, const std::string& name) {
  return FormatC(order == 1 ? "First Computer : %s" : "Second Computer : %s", name.c_str());
}

std::vector<std::string> RatioLines(const ResultEntry& first, const ResultEntry& second) {
  std::vector<std::string> lines;
  const float overall = first.averageFps / second.averageFps;
  lines.push_back(FormatC("C1 vs C2  = %f", overall));
  for (int s = 0; s < kRecordScenes; ++s) {
    const float ratio = first.sceneFps[s] / second.sceneFps[s];
    lines.push_back(FormatC("Scene %d : 1 vs 2  = %f", s + 1, ratio));
  }
  return lines;
}

std::vector<std::string> ComparisonLines(int first, int second) {
  const ResultEntry& a = ResultTable[first - 1];
  const ResultEntry& b = ResultTable[second - 1];
  std::vector<std::string> lines = {ChosenComputerLine(1, ListedDescription(a.computerName)),
                                    ChosenComputerLine(2, ListedDescription(b.computerName))};
  for (std::string& line : RatioLines(a, b)) lines.push_back(std::move(line));
  return lines;
}

}  // namespace vm
