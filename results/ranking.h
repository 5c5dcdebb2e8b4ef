// The lines of Text Results: the ranking of the machines in the result table
// and the comparison of two of them. The dialog lists them, the runner prints
// them.
#pragma once

#include <string>
#include <vector>

#include "results/result_table.h"

namespace vm {

constexpr const char* kSameComputerMessage = "Please don't Select the same Computer!!!";

// A description field as the ranking lists it: cut at its newline, and with a
// space in front when it starts with a digit (only position lines may).
std::string ListedDescription(const char* field);

// Per machine, best first: its position and score, its five description
// lines and one line per scene.
std::vector<std::string> RankingLines();

// "First Computer : NAME" for order 1, "Second Computer : NAME" for order 2.
std::string ChosenComputerLine(int order, const std::string& name);

// The first machine's rates over the second's: the average, then each scene.
std::vector<std::string> RatioLines(const ResultEntry& first, const ResultEntry& second);

// The whole comparison of the machines at 1-based positions `first` and
// `second` (distinct, both ranked), as the list shows it after choosing both.
std::vector<std::string> ComparisonLines(int first, int second);

}  // namespace vm
