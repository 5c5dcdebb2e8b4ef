#include "report/run_report.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>

#include "platform/utf8.h"
#include "results/result_table.h"
#include "scenes/scene_catalogue.h"
#include "version.h"

namespace vm {

const char* const kMachineKeys[kDescriptionFields] = {
    "computer_name", "cpu",        "ram",          "motherboard", "video_card",
    "video_ram",     "video_freq", "video_driver", "os",          "other"};

namespace {

// A scene that drew no frame has no times: null, not a measured 0.
std::string Stats(const FrameHistogram& h) {
  const double nan = std::nan("");
  const FrameSummary s = h.count() ? h.Summary() : FrameSummary{nan, nan, nan, nan, nan};
  return "{\"mean\": " + JsonMs(s.mean) + ", \"min\": " + JsonMs(s.min) +
         ", \"median\": " + JsonMs(s.median) + ", \"p99\": " + JsonMs(s.p99) +
         ", \"max\": " + JsonMs(s.max) + "}";
}

// The non-empty buckets as [upper_ms, count] pairs.
std::string Buckets(const FrameHistogram& h) {
  std::string out;
  for (int i = 0; i < FrameHistogram::BucketCount(); ++i) {
    if (h.BucketFrames(i) == 0) continue;
    out += (out.empty() ? "[[" : ", [") + JsonMs(h.BucketUpper(i) * 1000.0) + ", " +
           std::to_string(h.BucketFrames(i)) + "]";
  }
  return out.empty() ? "[]" : out + "]";
}

// Median of the first n values (sorted in place).
double Median(double* values, int n) {
  std::sort(values, values + n);
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

bool AnyBusy(const SceneReport& s) {
  for (int k = 0; k < std::min(s.environmentSpans, kMaxRuns); ++k)
    if (s.busyRun[k]) return true;
  return false;
}

// The machine while the scene ran; empty when it was not watched.
std::string EnvironmentJson(const SceneReport& s, bool repeated) {
  const LoadSpan& e = s.environment;
  if (s.environmentSpans == 0 || !e.known) return "";
  std::string out =
      FormatC(",\n   \"environment\": {\"cpus\": %d, \"other_cpus\": %.3f, \"steal_cpus\": %.3f",
              e.cpus, e.otherCpus, e.stealCpus);
  out += std::string(", \"busy\": ") + (AnyBusy(s) ? "true" : "false");
  if (repeated) {
    std::string list;
    for (int k = 0; k < std::min(s.environmentSpans, kMaxRuns); ++k)
      if (s.busyRun[k]) list += (list.empty() ? "" : ", ") + std::to_string(k + 1);
    out += ", \"busy_runs\": [" + list + "]";
  }
  out += e.maxKhz ? FormatC(", \"mhz\": [%d, %d]", e.minKhz / 1000, e.maxKhz / 1000)
                  : ", \"mhz\": null";
  out += ", \"governor\": " + (e.governor[0] ? JsonString(e.governor) : std::string("null"));
  out += e.hottestMilliC > -1000000 ? FormatC(", \"hottest_c\": %.1f", e.hottestMilliC / 1000.0)
                                    : ", \"hottest_c\": null";
  return out + "}";
}

}  // namespace

std::string BusyScenesLine(const RunReport& r) {
  std::string scenes, shares;
  int count = 0, cpus = 0;
  for (int i = 0; i < kSceneCount; ++i) {
    const SceneReport& s = r.scenes[i];
    if (!s.ran || !AnyBusy(s)) continue;
    const LoadSpan& e = s.environment;
    cpus = e.cpus;
    scenes += (count ? ", " : "") + std::to_string(i + 1);
    shares += (count ? ", " : "") +
              FormatC("%.0f%%", 100.0 * std::max(e.otherCpus, e.stealCpus) / std::max(1, e.cpus));
    ++count;
  }
  if (!count) return "";
  return FormatC(
      "%s %s ran on a busy machine: other processes or steal took %s of the %d CPUs "
      "(busy above %.0f%%, steal %.0f%%), so %s low; close other programs and run "
      "again, or use --repeat so that a report can leave busy runs out",
      count == 1 ? "scene" : "scenes", scenes.c_str(), shares.c_str(), cpus,
      kBusyOtherShare * 100.0, kBusyStealShare * 100.0,
      count == 1 ? "its rate may be" : "their rates may be");
}

double WorstMedianError(const RunReport& r, int& scene) {
  double worst = 0.0;
  scene = -1;
  for (int i = 0; i < kSceneCount; ++i) {
    const SceneReport& s = r.scenes[i];
    const int n = s.runCount;
    if (!s.ran || n < 2) continue;
    double sorted[kMaxRuns], mean = 0.0, squares = 0.0;
    std::copy(s.runs, s.runs + n, sorted);
    const double median = Median(sorted, n);
    for (int k = 0; k < n; ++k) mean += s.runs[k] / n;
    for (int k = 0; k < n; ++k) squares += (s.runs[k] - mean) * (s.runs[k] - mean);
    const double error =
        median > 0.0 ? 1.2533 * std::sqrt(squares / (n - 1)) / std::sqrt(n) / median : 1.0;
    if (scene < 0 || error > worst) {
      worst = error;
      scene = i;
    }
  }
  return worst;
}

std::string FewFramesLine(const RunReport& r) {
  std::string list;
  int count = 0, seconds = r.secondsPerScene;
  for (int i = 0; i < kSceneCount; ++i) {
    const SceneReport& s = r.scenes[i];
    if (!s.ran || s.runCount < 1) continue;
    const long long frames = s.draw.count() / s.runCount;
    if (frames >= kFewestFrames) continue;
    list += (count++ ? ", " : "") + FormatC("%d (%lld)", i + 1, frames);
    // Frames grow with the scene's length; none at all: at least a tick each.
    const double per = frames > 0 ? static_cast<double>(frames) / r.secondsPerScene
                                  : 1000.0 / std::max(1, r.timerMs);
    seconds = std::max(seconds, static_cast<int>(std::ceil(kFewestFrames / per)));
  }
  if (!count) return "";
  return FormatC(
      "%s %s measured fewer than %d frames a run (frames in brackets), too few for a "
      "steady rate: --seconds %d would give %s %d",
      count == 1 ? "scene" : "scenes", list.c_str(), kFewestFrames, seconds,
      count == 1 ? "it" : "each", kFewestFrames);
}

void RunReport::OnBenchmarkFrame(int scene, double drawSeconds, double frameSeconds) {
  if (scene < 0 || scene >= kSceneCount) return;
  scenes[scene].draw.Add(drawSeconds);
  scenes[scene].frame.Add(frameSeconds);
}

void RunReport::OnSceneStart(int /*scene*/) {
  if (watchMachine) sceneStart_ = SampleLoad();
}

void RunReport::OnSceneEnd(int scene) {
  if (!watchMachine || !sceneStart_.valid) return;
  AddEnvironment(scene, SpanBetween(sceneStart_, SampleLoad(), sysconf(_SC_CLK_TCK)));
  sceneStart_.valid = false;
}

void RunReport::AddEnvironment(int scene, const LoadSpan& span) {
  if (scene < 0 || scene >= kSceneCount) return;
  SceneReport& s = scenes[scene];
  AddSpan(s.environment, span, s.environmentSpans++);
  if (s.runCount < kMaxRuns) s.busyRun[s.runCount] = IsBusy(span);
}

void RunReport::ClearScenes() {
  interrupted = false;
  for (SceneReport& s : scenes) {
    s.environment = LoadSpan();
    s.environmentSpans = 0;
    std::fill(s.busyRun, s.busyRun + kMaxRuns, false);
    s.fps = 0.0;
    s.draw.Clear();
    s.frame.Clear();
    s.runCount = 0;
  }
}

void RunReport::EndRun(const float (&sceneTime)[kSceneCount]) {
  for (int i = 0; i < kSceneCount; ++i) {
    SceneReport& s = scenes[i];
    if (!s.ran || s.runCount >= kMaxRuns) continue;
    s.fps = SceneRate(sceneTime[i]);
    s.runs[s.runCount++] = s.fps;
  }
}

void RunReport::UseMedians(float (&sceneTime)[kSceneCount], std::FILE* err) {
  for (int i = 0; i < kSceneCount; ++i) {
    SceneReport& s = scenes[i];
    if (!s.ran || s.runCount < 2) continue;
    double sorted[kMaxRuns];
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

std::string JsonMs(double ms) {
  return JsonNumber(ms, "%.6f");
}

std::string SceneName(int scene) {
  return scene < 0 || scene >= kSceneCount ? "" : SceneTable[scene].name;
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

std::string JsonNumber(double value, const char* format) {
  return std::isfinite(value) ? FormatC(format, value) : "null";
}

std::string SceneRateJson(const SceneReport& s) {
  return s.draw.count() ? JsonNumber(s.fps) : "null";
}

std::string SceneFrameRateJson(const SceneReport& s) {
  return s.frame.count() ? JsonNumber(1000.0 / s.frame.Summary().mean) : "null";
}

std::string RunJson(const RunReport& r) {
  std::string selected, machine;
  for (int i = 0; i < kSceneCount; ++i)
    if (r.interrupted ? r.asked[i] : r.scenes[i].ran)
      selected += (selected.empty() ? "" : ", ") + std::to_string(i + 1);
  for (int k = 0; k < kDescriptionFields; ++k)
    if (r.machineSet[k])
      machine += (machine.empty() ? "" : ", ") + JsonString(kMachineKeys[k]) + ": " +
                 JsonString(r.machine[k]);
  std::string out =
      "{\"program\": {\"name\": \"velmark3\", \"version\": " + JsonString(VM_VERSION) +
      "},\n \"renderer\": {\"vendor\": " + JsonString(r.glVendor) +
      ", \"renderer\": " + JsonString(r.glRenderer) + ", \"version\": " + JsonString(r.glVersion) +
      "},\n";
  out += " \"date\": " + JsonString(r.date) + ",\n \"machine\": {" + machine + "},\n";
  out += FormatC(" \"view\": {\"width\": %d, \"height\": %d", r.width, r.height) +
         (r.depthBits > 0 ? FormatC(", \"depth_bits\": %d},\n", r.depthBits) : std::string("},\n"));
  out +=
      FormatC(" \"settings\": {\"seconds_per_scene\": %d, \"timer_ms\": %d, \"scenes\": [%s]},\n",
              r.secondsPerScene, r.timerMs, selected.c_str());
  out += FormatC(" \"complete\": %s,\n", r.complete ? "true" : "false");
  if (r.interrupted) out += " \"interrupted\": true,\n";
  out += FormatC(" \"score\": %d,\n", r.score);
  bool validated = true;
  for (const SceneReport& s : r.scenes) validated = validated && (!s.ran || s.validationPassed);
  if (r.validationRan) out += FormatC(" \"validated\": %s,\n", validated ? "true" : "false");
  std::string busy;
  bool watched = false;
  for (int i = 0; i < kSceneCount; ++i) {
    const SceneReport& s = r.scenes[i];
    if (!s.ran || s.environmentSpans == 0 || !s.environment.known) continue;
    watched = true;
    if (AnyBusy(s)) busy += (busy.empty() ? "" : ", ") + std::to_string(i + 1);
  }
  if (watched)
    out += FormatC(
        " \"environment\": {\"quiet\": %s, \"busy_scenes\": [%s], "
        "\"busy_other_share\": %.2f, \"busy_steal_share\": %.2f},\n",
        busy.empty() ? "true" : "false", busy.c_str(), kBusyOtherShare, kBusyStealShare);
  out += " \"scenes\": [";
  const char* separator = "\n";
  for (int i = 0; i < kSceneCount; ++i) {
    const SceneReport& s = r.scenes[i];
    if (!s.ran) continue;
    std::string runs;
    if (r.repeat > 1) {
      for (int k = 0; k < s.runCount; ++k) runs += (k ? ", " : "") + JsonNumber(s.runs[k]);
      runs = ", \"runs\": [" + runs + "]";
    }
    if (r.validationRan)
      runs += std::string(",\n   \"validation\": {\"status\": ") +
              (s.validationPassed ? "\"pass\"" : "\"fail\"") +
              ", \"difference\": " + JsonNumber(s.validationDifference, "%.2f") + "}";
    out += separator;
    out += FormatC("  {\"scene\": %d, \"name\": ", i + 1) + JsonString(SceneName(i)) +
           ", \"fps\": " + SceneRateJson(s) + ", \"frame_fps\": " + SceneFrameRateJson(s) +
           FormatC(", \"frames\": %lld", static_cast<long long>(s.draw.count())) + runs +
           EnvironmentJson(s, r.repeat > 1) + ",\n   \"draw_ms\": " + Stats(s.draw) +
           ",\n   \"frame_ms\": " + Stats(s.frame) + ",\n   \"draw_hist\": " + Buckets(s.draw) +
           ",\n   \"frame_hist\": " + Buckets(s.frame) + "}";
    separator = ",\n";
  }
  return out + "]}\n";
}

void WriteRunJson(const RunReport& r, std::FILE* out) {
  const std::string doc = RunJson(r);
  std::fwrite(doc.data(), 1, doc.size(), out);
}

int RunScore(const float (&sceneTime)[kSceneCount]) {
  float sum = 0.0f;
  for (int i = 0; i < kSceneCount; ++i) {
    const float rate = static_cast<float>(SceneRate(sceneTime[i]));
    sum += std::isfinite(rate) ? rate : 0.0f;
  }
  return ResultScore(sum * 0.041666668f);
}

}  // namespace vm
