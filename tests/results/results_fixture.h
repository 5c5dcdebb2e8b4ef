// A private working directory per test and builders for results files.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/support/sim_app.h"

namespace vmtest {

struct TempDir {
  TempDir() {
    char pattern[] = "/tmp/vm_results_XXXXXX";
    path = mkdtemp(pattern) ? pattern : "/tmp";
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::permissions(path, std::filesystem::perms::owner_all, ec);
    std::filesystem::remove_all(path, ec);
  }
  std::string File(const std::string& name) const { return path + "/" + name; }
  std::string path;
};

inline bool WriteFile(const std::string& path, const std::string& text) {
  return static_cast<bool>(std::ofstream(path, std::ios::binary) << text);
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// One 36-line record as the save dialog writes it.
inline std::string Record(const std::string& name, const std::vector<double>& rates) {
  std::string r = "-------------------------------------\nSunday, December 06, 2026\n";
  r += name + "\nCPU\nRAM\nBOARD\nCARD\nCARDRAM\nFREQ\nDRIVER\nOS\nOTHER\n";
  for (int i = 0; i < 24; ++i) {
    char line[64];
    std::snprintf(line, sizeof line, "%f\n", i < static_cast<int>(rates.size()) ? rates[i] : 0.0);
    r += line;
  }
  return r;
}

inline std::vector<double> Flat(double rate) {
  return std::vector<double>(24, rate);
}

}  // namespace vmtest
