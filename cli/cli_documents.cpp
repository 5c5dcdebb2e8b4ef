#include "cli/cli_documents.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "platform/output_file.h"
#include "results/ranking.h"
#include "results/result_table.h"
#include "scenes/scene_catalogue.h"
#include "version.h"

namespace vm {
namespace {

std::string Ms(double value) {
  return JsonNumber(value, "%.6f");
}

// The same in CSV, where no value is an empty field.
std::string CsvValue(const std::string& json) {
  return json == "null" ? "" : json;
}

std::string CsvStats(const FrameHistogram& h) {
  if (!h.count()) return ",,,,";
  const FrameSummary s = h.Summary();
  return Ms(s.mean) + "," + Ms(s.min) + "," + Ms(s.median) + "," + Ms(s.p99) + "," + Ms(s.max);
}

// A description field as saved: its line, without the list's padding.
std::string Saved(const char* field) {
  const char* end = std::strchr(field, '\n');
  return end ? std::string(field, end) : std::string(field);
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

namespace {

// The report as it will be written, so that it can replace the file whole.
bool ReportText(void (*write)(const RunReport&, std::FILE*), const RunReport& r,
                std::string& text) {
  char* data = nullptr;
  size_t size = 0;
  std::FILE* f = open_memstream(&data, &size);
  if (!f) return false;
  write(r, f);
  const bool failed = std::ferror(f) != 0;
  const bool ok = std::fclose(f) == 0 && !failed;
  if (ok) text.assign(data, size);
  std::free(data);
  return ok;
}

}  // namespace

bool WriteReports(const CliOptions& o, const RunReport& r, std::FILE* out, std::FILE* err) {
  const struct {
    const std::string& path;
    void (*write)(const RunReport&, std::FILE*);
  } reports[] = {{o.jsonPath, WriteRunJson}, {o.csvPath, WriteRunCsv}};
  bool all = true;
  // Each report is tried, whichever failed before it.
  for (const auto& report : reports) {
    if (report.path.empty()) continue;
    std::string error;
    if (report.path == "-") {
      report.write(r, out);
      if (std::fflush(out) == 0 && !std::ferror(out)) continue;
      error = std::string("standard output: ") + std::strerror(errno);
    } else {
      std::string text;
      if (!ReportText(report.write, r, text))
        error = report.path + ": " + std::strerror(errno);
      else if (ReplaceFile(report.path, text, error))
        continue;
    }
    std::fprintf(err, "velmark3-cli: could not write %s\n", error.c_str());
    all = false;
  }
  return all;
}

void WriteRunCsv(const RunReport& r, std::FILE* out) {
  std::string runColumns;
  for (int k = 1; r.repeat > 1 && k <= r.repeat; ++k) runColumns += ",run" + std::to_string(k);
  std::fprintf(
      out,
      "scene,name,fps,frames,draw_ms_mean,draw_ms_min,draw_ms_median,draw_ms_p99,"
      "draw_ms_max,frame_ms_mean,frame_ms_min,frame_ms_median,frame_ms_p99,frame_ms_max%s%s\n",
      runColumns.c_str(), r.validationRan ? ",validation" : "");
  for (int i = 0; i < kSceneCount; ++i) {
    const SceneReport& s = r.scenes[i];
    if (!s.ran) continue;
    std::string runs;
    for (int k = 0; r.repeat > 1 && k < r.repeat; ++k)
      runs += "," + (k < s.runCount ? CsvValue(JsonNumber(s.runs[k])) : "");
    // The names hold commas but no quotes.
    std::fprintf(out, "%d,\"%s\",%s,%lld,%s,%s%s%s\n", i + 1, SceneName(i).c_str(),
                 CsvValue(SceneRateJson(s)).c_str(), static_cast<long long>(s.draw.count()),
                 CsvStats(s.draw).c_str(), CsvStats(s.frame).c_str(), runs.c_str(),
                 !r.validationRan     ? ""
                 : s.validationPassed ? ",pass"
                                      : ",fail");
  }
}

std::string ScenesWithoutFrames(const RunReport& r) {
  std::string list;
  for (int i = 0; i < kSceneCount; ++i)
    if (r.scenes[i].ran && r.scenes[i].draw.count() == 0)
      list += (list.empty() ? "" : ", ") + std::to_string(i + 1);
  return list;
}

void WriteRankingJson(std::FILE* out) {
  std::fprintf(out, "{\"machines\": [");
  for (int a = 0; a <= lastResultIndex && a < kResultRows; ++a) {
    const ResultEntry& row = ResultTable[a];
    std::string fps;
    for (int s = 0; s < kRecordScenes; ++s) fps += (s ? ", " : "") + JsonNumber(row.sceneFps[s]);
    std::fprintf(out,
                 "%s\n  {\"position\": %d, \"score\": %d, \"name\": %s, \"cpu\": %s, \"ram\": %s, "
                 "\"video_card\": %s, \"os\": %s,\n   \"average_fps\": %s, \"fps\": [%s]}",
                 a ? "," : "", a + 1, ResultScore(row.averageFps),
                 JsonString(Saved(row.computerName)).c_str(),
                 JsonString(Saved(row.cpuType)).c_str(), JsonString(Saved(row.ramType)).c_str(),
                 JsonString(Saved(row.videoCard)).c_str(),
                 JsonString(Saved(row.operatingSystem)).c_str(), JsonNumber(row.averageFps).c_str(),
                 fps.c_str());
  }
  std::fprintf(out, "]}\n");
}

void WriteCompareJson(int first, int second, std::FILE* out) {
  const ResultEntry& a = ResultTable[first - 1];
  const ResultEntry& b = ResultTable[second - 1];
  std::string ratios;
  for (int s = 0; s < kRecordScenes; ++s)
    ratios += (s ? ", " : "") + JsonNumber(a.sceneFps[s] / b.sceneFps[s]);
  std::fprintf(out, "{\"first\": %s, \"second\": %s, \"overall\": %s,\n \"scenes\": [%s]}\n",
               JsonString(Saved(a.computerName)).c_str(), JsonString(Saved(b.computerName)).c_str(),
               JsonNumber(a.averageFps / b.averageFps).c_str(), ratios.c_str());
}

}  // namespace vm
