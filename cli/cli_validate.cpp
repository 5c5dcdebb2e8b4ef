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
  std::fprintf(err, "velmark3-cli: could not write %s\n",
               TerminalText(error.rfind(path, 0) == 0 ? error : path + ": " + error).c_str());
  return false;
}

// The folder of the pictures, made with the first of them (its place was
// checked with the outputs).
bool MakeFolder(const std::string& dir, std::FILE* err) {
  if (mkdir(dir.c_str(), 0777) == 0 || errno == EEXIST) return true;
  std::fprintf(err, "velmark3-cli: cannot make %s: %s\n", dir.c_str(), std::strerror(errno));
  return false;
}

// The three pictures of a scene at the frame's size; what could be drawn is
// written, a write that fails is reported.
bool WritePictures(const std::string& dir, int scene, const RgbImage& frame,
                   const RgbImage& reference, const RgbImage& shallow, const RgbImage& reduced,
                   std::FILE* err) {
  if (!MakeFolder(dir, err)) return false;
  bool written = true;
  if (!frame.pixels.empty())
    written = WritePicture(PicturePath(dir, scene, "rendered"), frame, err) && written;
  if (!reference.pixels.empty())
    written = WritePicture(PicturePath(dir, scene, "reference"),
                           Enlarge(reference, kValidationBlock), err) &&
              written;
  if (!reduced.pixels.empty() && !reference.pixels.empty())
    written = WritePicture(
                  PicturePath(dir, scene, "difference"),
                  Enlarge(DifferencePicture(reduced, reference, shallow), kValidationBlock), err) &&
              written;
  return written;
}

std::string ValidationJson(const ValidationRun& run) {
  const EglBits& b = run.bits;
  std::string json = "{\"renderer\": {\"vendor\": " + JsonString(run.vendor) +
                     ", \"renderer\": " + JsonString(run.renderer) +
                     ", \"version\": " + JsonString(run.version) +
                     FormatC(
                         ", \"color_bits\": [%d, %d, %d, %d], \"depth_bits\": %d, "
                         "\"stencil_bits\": %d",
                         b.red, b.green, b.blue, b.alpha, b.depth, b.stencil) +
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

// "2 of 24 scenes failed", "all 24 scenes passed".
std::string Summary(const ValidationRun& run) {
  int checked = 0, failed = 0;
  for (const SceneValidation& s : run.scenes) {
    checked += s.checked ? 1 : 0;
    failed += s.checked && !s.passed ? 1 : 0;
  }
  const char* scenes = checked == 1 ? "scene" : "scenes";
  if (failed > 0) return FormatC("%d of %d %s failed", failed, checked, scenes);
  return checked == 1 ? "the scene passed" : FormatC("all %d scenes passed", checked);
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

bool ValidateScenes(const CliOptions& o, ValidationRun& run, std::FILE* lines, std::FILE* err,
                    bool runOrder) {
  ValidationRenderer renderer(o.egl, o.device < 0 ? 0 : o.device, err, o.depthBits);
  std::string error;
  if (!renderer.Open(error)) {
    std::fprintf(err, "velmark3-cli: no OpenGL context: %s\n", error.c_str());
    return false;
  }
  run.vendor = renderer.vendor;
  run.renderer = renderer.renderer;
  run.version = renderer.version;
  run.bits = renderer.bits;
  const EglBits& b = run.bits;
  if (lines)
    std::fprintf(lines, "Renderer: %s, OpenGL %s; colour %d/%d/%d/%d, depth %d, stencil %d bits\n",
                 run.renderer.c_str(), run.version.c_str(), b.red, b.green, b.blue, b.alpha,
                 b.depth, b.stencil);
  for (int i = 0; i < kSceneCount; ++i) {
    if (!o.scenes[i]) continue;
    SceneValidation& s = run.scenes[i];
    s.checked = true;
    s.difference = std::numeric_limits<double>::quiet_NaN();
    RgbImage frame, reference, shallow, reduced;
    if (!renderer.Render(i, frame, error, runOrder ? o.scenes : nullptr) ||
        !LoadReference(i, b.depth, reference, shallow, error)) {
      std::fprintf(err, "velmark3-cli: scene %d cannot be validated: %s\n", i + 1, error.c_str());
    } else {
      reduced = BlockAverage(frame, kValidationBlock);
      s.difference = PictureDifference(reduced, reference, shallow);
      s.passed = s.difference <= kValidationLimit;
    }
    if (lines)
      std::fprintf(lines, "Scene %d : %s (difference %s, limit %.2f)\n", i + 1,
                   s.passed ? "pass" : "FAIL",
                   std::isfinite(s.difference) ? FormatC("%.2f", s.difference).c_str() : "none",
                   kValidationLimit);
    if (o.imagesDir.empty() || (s.passed && !o.imagesAll)) continue;
    run.picturesWritten = WritePictures(o.imagesDir, i, frame, reference, shallow, reduced, err) &&
                          run.picturesWritten;
    run.anyPicture = true;
  }
  if (lines) std::fprintf(lines, "%s\n", Summary(run).c_str());
  return true;
}

bool ValidateBeforeRun(const CliOptions& o, ValidationRun& run, std::FILE* err) {
  if (!ValidateScenes(o, run, err, err, true)) return false;
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
  const bool one = failures.rfind("scene ", 0) == 0;
  // Not always the driver's fault: scene 17 may have had no mesh to draw.
  if (!failures.empty())
    std::fprintf(err,
                 "velmark3-cli: %s failed rendering validation (see above), so %s not "
                 "comparable\n",
                 failures.c_str(), one ? "its rate is" : "their rates are");
}

int ValidateCommand(const CliOptions& o, std::FILE* out, std::FILE* err) {
  ValidationRun run;
  // A report on standard output takes the lines' place there; they go aside.
  std::FILE* lines = o.jsonPath == "-" ? err : out;
  // Each scene as a run of all scenes draws it.
  if (!ValidateScenes(o, run, lines, err, false)) return 1;
  if (!o.imagesDir.empty() && !run.anyPicture)
    std::fprintf(lines, "no picture written: every scene passed\n");
  bool ok = run.Failures().empty() && run.picturesWritten;
  if (!o.jsonPath.empty()) {
    const std::string json = ValidationJson(run);
    std::string error;
    if (o.jsonPath == "-") {
      std::fputs(json.c_str(), out);
    } else if (!ReplaceFile(o.jsonPath, json, error)) {
      std::fprintf(err, "velmark3-cli: could not write %s\n", TerminalText(error).c_str());
      ok = false;
    }
  }
  return ok ? 0 : 1;
}

}  // namespace vm
