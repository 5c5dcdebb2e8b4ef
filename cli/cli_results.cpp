#include "cli/cli_results.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "cli/cli_documents.h"
#include "platform/utf8.h"
#include "results/ranking.h"
#include "results/result_table.h"

namespace vm {
namespace {

// What the result windows pass over in silence.
void TellAbout(const ResultsFileReport& report, const char* path, std::FILE* err) {
  if (report.state == FileState::kNotRegular)
    std::fprintf(err, "velmark3-cli: %s is not a regular file; read as missing\n", path);
  if (report.cut)
    std::fprintf(err, "velmark3-cli: %s was read only up to its first %lld MiB\n", path,
                 kMaxReadBytes >> 20);
  if (report.recordsNotShown > 0)
    std::fprintf(err, "velmark3-cli: %d records of %s are not shown: the ranking holds %d\n",
                 report.recordsNotShown, path, kResultRows);
}

// The table as the result windows load it; false when the file was not
// readable as one (it then ranks nothing, like a missing file).
bool LoadTable(const char* path, std::FILE* err) {
  ResultsFileReport report;
  LoadResultTable(path, &report);
  TellAbout(report, path, err);
  return report.state != FileState::kNotRegular;
}

void PrintLines(const std::vector<std::string>& lines, std::FILE* out) {
  for (const std::string& line : lines) std::fprintf(out, "%s\n", PrintableText(line).c_str());
}

// An absent file would rank nothing, silently: say where it was looked for.
bool ResultsFileThere(const char* path, std::FILE* err) {
  if (access(path, F_OK) == 0) return true;
  std::fprintf(err, "velmark3-cli: no results file %s (velmark3-cli run --save writes one)\n",
               path);
  return false;
}

}  // namespace

std::string PrintableText(const std::string& text) {
  // Names come from files other people send: escapes must not reach a
  // terminal, neither C0 controls nor C1 ones (U+0080-U+009F: CSI, OSC, ST),
  // in UTF-8 or as single bytes. Only a line end stays.
  std::string out;
  for (size_t i = 0; i < text.size();) {
    const unsigned char u = static_cast<unsigned char>(text[i]);
    char32_t c = u;
    size_t n = u < 0x80 ? 1 : DecodeUtf8(text, i, c);
    if (n == 0) {  // not UTF-8: the byte alone
      n = 1;
      c = u;
    }
    const bool lineEnd = c == '\n' || (c == '\r' && text.compare(i, 2, "\r\n") == 0);
    if ((c < 0x20 && !lineEnd) || (c >= 0x7F && c < 0xA0))
      out += '?';
    else
      out.append(text, i, n);
    i += n;
  }
  return out;
}

bool FinishOutput(std::FILE* out, std::FILE* err) {
  const int failed = std::fflush(out) != 0 ? errno : 0;
  if (!failed && !std::ferror(out)) return true;
  std::fprintf(err, "velmark3-cli: could not write the output: %s\n",
               failed ? std::strerror(failed) : "write error");
  return false;
}

int ResultsCommand(std::FILE* out, std::FILE* err, const char* resultsPath, bool json) {
  if (!ResultsFileThere(resultsPath, err) || !LoadTable(resultsPath, err)) return 1;
  if (lastResultIndex < 0)
    std::fprintf(err, "velmark3-cli: %s holds no records (velmark3-cli run --save adds one)\n",
                 resultsPath);
  if (json)
    WriteRankingJson(out);
  else
    PrintLines(RankingLines(), out);
  return 0;
}

int CompareCommand(int first, int second, std::FILE* out, std::FILE* err, const char* resultsPath,
                   bool json) {
  if (!ResultsFileThere(resultsPath, err) || !LoadTable(resultsPath, err)) return 1;
  const int machines = lastResultIndex + 1;
  for (int p : {first, second}) {
    if (p < 1 || p > machines) {
      std::fprintf(err, "velmark3-cli: there is no machine at position %d (%s ranks %d)\n", p,
                   resultsPath, machines);
      return 2;
    }
  }
  if (first == second) {
    std::fprintf(err, "velmark3-cli: %s\n", kSameComputerMessage);
    return 1;
  }
  if (json)
    WriteCompareJson(first, second, out);
  else
    PrintLines(ComparisonLines(first, second), out);
  return 0;
}

int DevicesCommand(std::FILE* out, std::FILE* err) {
  std::vector<EglDeviceInfo> devices;
  std::string error;
  if (!ListEglDevices(devices, error)) {
    std::fprintf(err, "velmark3-cli: %s\n", error.c_str());
    return 1;
  }
  if (devices.empty()) std::fprintf(err, "velmark3-cli: EGL lists no devices\n");
  for (size_t i = 0; i < devices.size(); ++i) {
    const EglDeviceInfo& d = devices[i];
    std::fprintf(out, "Device %zu : %s%s%s\n    %s\n", i,
                 d.vendor.empty() ? "(no display)" : d.vendor.c_str(), d.drmFile.empty() ? "" : " ",
                 d.drmFile.c_str(), d.extensions.c_str());
  }
  return 0;
}

}  // namespace vm
