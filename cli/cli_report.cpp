#include "cli/cli_report.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>

#include "platform/utf8.h"
#include "results/ranking.h"
#include "results/result_table.h"
#include "scenes/scene_catalogue.h"
#include "version.h"

namespace vm {
namespace {

// Rates and ratios as the text output prints them; times in ms, six decimals.
std::string Number(double value, const char* format = "%f") {
  return std::isfinite(value) ? FormatC(format, value) : "null";
}

std::string Ms(double value) {
  return Number(value, "%.6f");
}

std::string CsvStats(const FrameHistogram& h) {
  const FrameSummary s = h.Summary();
  return Ms(s.mean) + "," + Ms(s.min) + "," + Ms(s.median) + "," + Ms(s.p99) + "," + Ms(s.max);
}

}  // namespace

void StartReport(RunReport& r, const CliOptions& o, const std::string& glVendor,
                 const std::string& glRenderer, const std::string& glVersion) {
  r.glVendor = glVendor;
  r.glRenderer = glRenderer;
  r.glVersion = glVersion;
  r.width = o.width;
  r.height = o.height;
  r.secondsPerScene = o.seconds;
  r.timerMs = o.timerMs;
  r.repeat = o.repeat;
  r.complete = true;
  for (int i = 0; i < kSceneCount; ++i) {
    r.scenes[i].ran = o.scenes[i];
    r.complete = r.complete && o.scenes[i];
  }
  for (int k = 0; k < kFieldCount; ++k) {
    r.machineSet[k] = o.given[k] || !o.fields[k].empty();
    r.machine[k] = o.fields[k];
  }
}

bool WriteReports(const CliOptions& o, const RunReport& r, std::FILE* out, std::FILE* err) {
  const struct {
    const std::string& path;
    void (*write)(const RunReport&, std::FILE*);
  } reports[] = {{o.jsonPath, WriteRunJson}, {o.csvPath, WriteRunCsv}};
  for (const auto& report : reports) {
    if (report.path.empty()) continue;
    std::FILE* f = report.path == "-" ? out : std::fopen(report.path.c_str(), "w");
    bool ok = f != nullptr;
    if (ok) {
      report.write(r, f);
      ok = f == out ? std::fflush(f) == 0 && !std::ferror(f) : !std::ferror(f);
      if (f != out) ok = std::fclose(f) == 0 && ok;
    }
    if (!ok) {
      std::fprintf(err, "velmark3-cli: could not write %s: %s\n",
                   report.path == "-" ? "standard output" : report.path.c_str(),
                   std::strerror(errno));
      return false;
    }
  }
  return true;
}

void WriteRunCsv(const RunReport& r, std::FILE* out) {
  std::fprintf(
      out,
      "scene,name,fps,frames,draw_ms_mean,draw_ms_min,draw_ms_median,draw_ms_p99,"
      "draw_ms_max,frame_ms_mean,frame_ms_min,frame_ms_median,frame_ms_p99,frame_ms_max\n");
  for (int i = 0; i < kSceneCount; ++i) {
    const SceneReport& s = r.scenes[i];
    if (!s.ran) continue;
    // The names hold commas but no quotes.
    std::fprintf(out, "%d,\"%s\",%s,%lld,%s,%s\n", i + 1, SceneName(i).c_str(),
                 Number(s.fps).c_str(), static_cast<long long>(s.draw.count()),
                 CsvStats(s.draw).c_str(), CsvStats(s.frame).c_str());
  }
}

void WriteRankingJson(std::FILE* out) {
  std::fprintf(out, "{\"machines\": [");
  for (int a = 0; a <= lastResultIndex && a < kResultRows; ++a) {
    const ResultEntry& row = ResultTable[a];
    std::string fps;
    for (int s = 0; s < kRecordScenes; ++s) fps += (s ? ", " : "") + Number(row.sceneFps[s]);
    std::fprintf(out,
                 "%s\n  {\"position\": %d, \"score\": %d, \"name\": %s, \"cpu\": %s, \"ram\": %s, "
                 "\"video_card\": %s, \"os\": %s,\n   \"average_fps\": %s, \"fps\": [%s]}",
                 a ? "," : "", a + 1, ResultScore(row.averageFps),
                 JsonString(ListedDescription(row.computerName)).c_str(),
                 JsonString(ListedDescription(row.cpuType)).c_str(),
                 JsonString(ListedDescription(row.ramType)).c_str(),
                 JsonString(ListedDescription(row.videoCard)).c_str(),
                 JsonString(ListedDescription(row.operatingSystem)).c_str(),
                 Number(row.averageFps).c_str(), fps.c_str());
  }
  std::fprintf(out, "]}\n");
}

void WriteCompareJson(int first, int second, std::FILE* out) {
  const ResultEntry& a = ResultTable[first - 1];
  const ResultEntry& b = ResultTable[second - 1];
  std::string ratios;
  for (int s = 0; s < kRecordScenes; ++s)
    ratios += (s ? ", " : "") + Number(a.sceneFps[s] / b.sceneFps[s]);
  std::fprintf(out, "{\"first\": %s, \"second\": %s, \"overall\": %s,\n \"scenes\": [%s]}\n",
               JsonString(ListedDescription(a.computerName)).c_str(),
               JsonString(ListedDescription(b.computerName)).c_str(),
               Number(a.averageFps / b.averageFps).c_str(), ratios.c_str());
}

}  // namespace vm
