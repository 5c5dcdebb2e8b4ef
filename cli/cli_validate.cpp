#include "cli/cli_validate.h"

#include <sys/stat.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <limits>

#include "cli/cli_documents.h"
#include "platform/output_file.h"
#include "results/result_table.h"
#include "validate/validation.h"

namespace vm {
std::string PicturePath(const std::string& dir, int scene, const char* kind) {
  return dir + "/" + FormatC("scene-%02d-%s.png", scene + 1, kind);
}

namespace {

bool WritePicture(const std::string& path, const RgbImage& image, std::FILE* err) {
  std::string png, error;
  if (EncodePng(image, png, error) && ReplaceFile(path, png, error)) return true;
  std::fprintf(err, "velmark3-cli: could not write %s: %s\n", path.c_str(), error.c_str());
  return false;
}

std::string ValidationJson(const ValidationRun& run) {
  std::string json = "{\"renderer\": {\"vendor\": " + JsonString(run.vendor) +
                     ", \"renderer\": " + JsonString(run.renderer) +
                     ", \"version\": " + JsonString(run.version) +
                     "},\n \"limit\": " + FormatC("%.2f", kValidationLimit) + ",\n \"scenes\": [";
  const char* separator = "\n";
  for (int i = 0; i < kSceneCount; ++i) {
    const SceneValidation& s = run.scenes[i];
    if (!s.checked) continue;
    json += separator + FormatC("  {\"scene\": %d, \"name\": ", i + 1) + JsonString(SceneName(i)) +
            ", \"status\": \"" + (s.passed ? "pass" : "fail") + "\", \"difference\": " +
            (std::isfinite(s.difference) ? FormatC("%.2f", s.difference) : "null") + "}";
    separator = ",\n";
  }
  return json + "]}\n";
}

}  // namespace

std::string ValidationRun::Failures() const {
  std::string list;
  for (int i = 0; i < kSceneCount; ++i)
    if (scenes[i].checked && !scenes[i].passed)
      list += (list.empty() ? "" : ", ") + std::to_string(i + 1);
  if (list.empty()) return list;
  return (list.find(',') == std::string::npos ? "scene " : "scenes ") + list;
}

bool ValidateScenes(const CliOptions& o, ValidationRun& run, std::FILE* lines, std::FILE* err) {
  ValidationRenderer renderer(o.egl, o.device < 0 ? 0 : o.device, err);
  std::string error;
  if (!renderer.Open(error)) {
    std::fprintf(err, "velmark3-cli: no OpenGL context: %s\n", error.c_str());
    return false;
  }
  run.vendor = renderer.vendor;
  run.renderer = renderer.renderer;
  run.version = renderer.version;
  for (int i = 0; i < kSceneCount; ++i) {
    if (!o.scenes[i]) continue;
    SceneValidation& s = run.scenes[i];
    s.checked = true;
    s.difference = std::numeric_limits<double>::quiet_NaN();
    RgbImage frame, reference, reduced;
    if (!renderer.Render(i, frame, error) || !LoadReference(i, reference, error)) {
      std::fprintf(err, "velmark3-cli: scene %d cannot be validated: %s\n", i + 1, error.c_str());
    } else {
      reduced = BlockAverage(frame, kValidationBlock);
      s.difference = PictureDifference(reduced, reference);
      s.passed = s.difference <= kValidationLimit;
    }
    if (lines)
      std::fprintf(lines, "Scene %d : %s (difference %s, limit %.2f)\n", i + 1,
                   s.passed ? "pass" : "FAIL",
                   std::isfinite(s.difference) ? FormatC("%.2f", s.difference).c_str() : "none",
                   kValidationLimit);
    if (o.imagesDir.empty() || (s.passed && !o.imagesAll)) continue;
    // What could be drawn is written; a write that fails is reported and
    // the check goes on.
    bool written = true;
    if (!frame.pixels.empty())
      written = WritePicture(PicturePath(o.imagesDir, i, "rendered"), frame, err) && written;
    if (!reference.pixels.empty())
      written = WritePicture(PicturePath(o.imagesDir, i, "reference"), reference, err) && written;
    if (!reduced.pixels.empty() && !reference.pixels.empty())
      written = WritePicture(PicturePath(o.imagesDir, i, "difference"),
                             DifferencePicture(reduced, reference), err) &&
                written;
    run.picturesWritten = run.picturesWritten && written;
  }
  return true;
}

bool ValidateBeforeRun(const CliOptions& o, ValidationRun& run, std::FILE* err) {
  if (!ValidateScenes(o, run, err, err)) return false;
  const std::string failures = run.Failures();
  if (failures.empty() || !o.save || o.allowInvalid) return true;
  std::fprintf(err,
               "velmark3-cli: --save: %s failed rendering validation; add "
               "--allow-invalid to save the run anyway\n",
               failures.c_str());
  return false;
}

void AddValidation(const ValidationRun& run, RunReport& report) {
  report.validationRan = true;
  for (int i = 0; i < kSceneCount; ++i) {
    report.scenes[i].validationPassed = run.scenes[i].passed;
    report.scenes[i].validationDifference = run.scenes[i].difference;
  }
}

void ReportValidationFailures(const ValidationRun& run, std::FILE* err) {
  const std::string failures = run.Failures();
  if (!failures.empty())
    std::fprintf(err,
                 "velmark3-cli: %s failed rendering validation: the driver did not draw "
                 "what they ask for, so their rates are not comparable\n",
                 failures.c_str());
}

int ValidateCommand(const CliOptions& o, std::FILE* out, std::FILE* err) {
  // The pictures' folder is made when missing (the outputs were checked).
  if (!o.imagesDir.empty() && mkdir(o.imagesDir.c_str(), 0777) != 0 && errno != EEXIST) {
    std::fprintf(err, "velmark3-cli: cannot make %s: %s\n", o.imagesDir.c_str(),
                 std::strerror(errno));
    return 1;
  }
  ValidationRun run;
  // A report on standard output takes the lines' place there; they go aside.
  if (!ValidateScenes(o, run, o.jsonPath == "-" ? err : out, err)) return 1;
  bool ok = run.Failures().empty() && run.picturesWritten;
  if (!o.jsonPath.empty()) {
    const std::string json = ValidationJson(run);
    std::string error;
    if (o.jsonPath == "-") {
      std::fputs(json.c_str(), out);
    } else if (!ReplaceFile(o.jsonPath, json, error)) {
      std::fprintf(err, "velmark3-cli: could not write %s: %s\n", o.jsonPath.c_str(),
                   error.c_str());
      ok = false;
    }
  }
  return ok ? 0 : 1;
}

}  // namespace vm
