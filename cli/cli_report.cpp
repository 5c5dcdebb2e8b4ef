#include "cli/cli_report.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "platform/output_file.h"
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

// A scene that drew no frame has no times: null, not a measured 0.
std::string Stats(const FrameHistogram& h) {
  const double nan = std::nan("");
  const FrameSummary s = h.count() ? h.Summary() : FrameSummary{nan, nan, nan, nan, nan};
  return "{\"mean\": " + Ms(s.mean) + ", \"min\": " + Ms(s.min) + ", \"median\": " + Ms(s.median) +
         ", \"p99\": " + Ms(s.p99) + ", \"max\": " + Ms(s.max) + "}";
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

// The rate of a scene, null when it drew no frame.
std::string Rate(const SceneReport& s) {
  return s.draw.count() ? Number(s.fps) : "null";
}

// A description field as saved: its line, without the list's padding.
std::string Saved(const char* field) {
  const char* end = std::strchr(field, '\n');
  return end ? std::string(field, end) : std::string(field);
}

// Median of the first n values (sorted in place).
double Median(double* values, int n) {
  std::sort(values, values + n);
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

}  // namespace

void RunReport::OnBenchmarkFrame(int scene, double drawSeconds, double frameSeconds) {
  if (scene < 0 || scene >= kSceneCount) return;
  scenes[scene].draw.Add(drawSeconds);
  scenes[scene].frame.Add(frameSeconds);
}

void RunReport::EndRun(const float (&sceneTime)[kSceneCount]) {
  for (int i = 0; i < kSceneCount; ++i) {
    SceneReport& s = scenes[i];
    if (!s.ran || s.runCount >= kMaxRepeat) continue;
    s.fps = SceneRate(sceneTime[i]);
    s.runs[s.runCount++] = s.fps;
  }
}

void RunReport::UseMedians(float (&sceneTime)[kSceneCount], std::FILE* err) {
  for (int i = 0; i < kSceneCount; ++i) {
    SceneReport& s = scenes[i];
    if (!s.ran || s.runCount < 2) continue;
    double sorted[kMaxRepeat];
    std::copy(s.runs, s.runs + s.runCount, sorted);
    const double median = Median(sorted, s.runCount);
    sceneTime[i] = median > 0.0 ? static_cast<float>(1.0 / median) : 0.0f;
    s.fps = SceneRate(sceneTime[i]);
    const double spread = median > 0.0 ? (sorted[s.runCount - 1] - sorted[0]) / median : 0.0;
    if (spread > 0.10)
      std::fprintf(err, "velmark3-cli: scene %d spread by %.0f%% over %d runs (%s to %s fps)\n",
                   i + 1, spread * 100.0, s.runCount, FormatC("%f", sorted[0]).c_str(),
                   FormatC("%f", sorted[s.runCount - 1]).c_str());
  }
}

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

std::string SceneName(int scene) {
  if (scene < 0 || scene >= kSceneCount) return "";
  const SceneRow& row = SceneTable[scene];
  std::string label = row.label;
  const size_t open = label.find(") ");
  const size_t arrow = label.find("=>");
  if (open == std::string::npos || arrow == std::string::npos || arrow < open) return label;
  std::string name = label.substr(open + 2, arrow - open - 2);
  while (!name.empty() && name.back() == ' ') name.pop_back();
  // The towers' triangle count is filled in as the progress label does.
  const size_t count = name.find("%d");
  if (count != std::string::npos)
    name.replace(count, 2, std::to_string(8 * row.parameters.towerQuads));
  return name;
}

std::string JsonString(const std::string& text) {
  std::string out = "\"";
  for (size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c == 0x7f) {
      out += FormatC("\\u%04x", c);
    } else if (c >= 0x80) {
      char32_t code;
      const size_t n = DecodeUtf8(text, i, code);
      if (n == 0) {
        out += "\\ufffd";  // not UTF-8 (a file from another system's code page)
      } else {
        out.append(text, i, n);
        i += n;
        continue;
      }
    } else {
      out += static_cast<char>(c);
    }
    ++i;
  }
  return out + "\"";
}

void WriteRunJson(const RunReport& r, std::FILE* out) {
  std::string selected;
  for (int i = 0; i < kSceneCount; ++i)
    if (r.scenes[i].ran) selected += (selected.empty() ? "" : ", ") + std::to_string(i + 1);
  std::fprintf(out, "{\"program\": {\"name\": \"velmark3\", \"version\": %s},\n",
               JsonString(VM_VERSION).c_str());
  std::fprintf(out, " \"renderer\": {\"vendor\": %s, \"renderer\": %s, \"version\": %s},\n",
               JsonString(r.glVendor).c_str(), JsonString(r.glRenderer).c_str(),
               JsonString(r.glVersion).c_str());
  std::fprintf(out, " \"view\": {\"width\": %d, \"height\": %d},\n", r.width, r.height);
  std::fprintf(out,
               " \"settings\": {\"seconds_per_scene\": %d, \"timer_ms\": %d, \"scenes\": [%s]},\n",
               r.secondsPerScene, r.timerMs, selected.c_str());
  std::fprintf(out, " \"complete\": %s,\n \"score\": %d,\n", r.complete ? "true" : "false",
               r.score);
  bool validated = true;
  for (const SceneReport& s : r.scenes) validated = validated && (!s.ran || s.validationPassed);
  if (r.validationRan) std::fprintf(out, " \"validated\": %s,\n", validated ? "true" : "false");
  std::fprintf(out, " \"scenes\": [");
  const char* separator = "\n";
  for (int i = 0; i < kSceneCount; ++i) {
    const SceneReport& s = r.scenes[i];
    if (!s.ran) continue;
    std::string runs;
    if (r.repeat > 1) {
      for (int k = 0; k < s.runCount; ++k) runs += (k ? ", " : "") + Number(s.runs[k]);
      runs = ", \"runs\": [" + runs + "]";
    }
    if (r.validationRan)
      runs += std::string(",\n   \"validation\": {\"status\": ") +
              (s.validationPassed ? "\"pass\"" : "\"fail\"") +
              ", \"difference\": " + Number(s.validationDifference, "%.2f") + "}";
    std::fprintf(out,
                 "%s  {\"scene\": %d, \"name\": %s, \"fps\": %s, \"frames\": %lld%s,\n"
                 "   \"draw_ms\": %s,\n   \"frame_ms\": %s}",
                 separator, i + 1, JsonString(SceneName(i)).c_str(), Rate(s).c_str(),
                 static_cast<long long>(s.draw.count()), runs.c_str(), Stats(s.draw).c_str(),
                 Stats(s.frame).c_str());
    separator = ",\n";
  }
  std::fprintf(out, "]}\n");
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
      runs += "," + (k < s.runCount ? CsvValue(Number(s.runs[k])) : "");
    // The names hold commas but no quotes.
    std::fprintf(out, "%d,\"%s\",%s,%lld,%s,%s%s%s\n", i + 1, SceneName(i).c_str(),
                 CsvValue(Rate(s)).c_str(), static_cast<long long>(s.draw.count()),
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
    for (int s = 0; s < kRecordScenes; ++s) fps += (s ? ", " : "") + Number(row.sceneFps[s]);
    std::fprintf(out,
                 "%s\n  {\"position\": %d, \"score\": %d, \"name\": %s, \"cpu\": %s, \"ram\": %s, "
                 "\"video_card\": %s, \"os\": %s,\n   \"average_fps\": %s, \"fps\": [%s]}",
                 a ? "," : "", a + 1, ResultScore(row.averageFps),
                 JsonString(Saved(row.computerName)).c_str(),
                 JsonString(Saved(row.cpuType)).c_str(), JsonString(Saved(row.ramType)).c_str(),
                 JsonString(Saved(row.videoCard)).c_str(),
                 JsonString(Saved(row.operatingSystem)).c_str(), Number(row.averageFps).c_str(),
                 fps.c_str());
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
               JsonString(Saved(a.computerName)).c_str(), JsonString(Saved(b.computerName)).c_str(),
               Number(a.averageFps / b.averageFps).c_str(), ratios.c_str());
}

}  // namespace vm
