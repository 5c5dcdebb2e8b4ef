#include "validate/validation.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "app/view.h"
#include "platform/headless_platform.h"
#include "render/gl_strings.h"
#include "scenes/scene_catalogue.h"
#include "scenes/scenes.h"
#include "validate/references.h"

namespace vm {
ValidationRenderer::ValidationRenderer(EglPlatform egl, int device, std::FILE* log,
                                       int depthRequest)
    : saved_(BenchState),
      gl_(std::make_unique<EglContext>(kValidationWidth, kValidationHeight, egl, device)),
      platform_(std::make_unique<HeadlessPlatform>(log)) {
  gl_->RequestDepth(depthRequest);
}

ValidationRenderer::~ValidationRenderer() {
  if (view_) view_->OnDestroy();
  view_.reset();
  BenchState = saved_;
  // The sequence a process starts with, as if nothing had drawn from it.
  std::srand(1);
}

bool ValidationRenderer::Open(std::string& error) {
  view_ = std::make_unique<CVelmark3View>(*platform_, *gl_);
  view_->OnCreate();
  if (!gl_->error().empty() || view_->state.quadric == nullptr) {
    error = gl_->error().empty() ? "the OpenGL context could not be made" : gl_->error();
    return false;
  }
  view_->OnSize(kValidationWidth, kValidationHeight);
  vendor = GlString(GL_VENDOR);
  renderer = GlString(GL_RENDERER);
  version = GlString(GL_VERSION);
  bits = gl_->bits();
  // Every scene starts from the state the view leaves after its creation.
  glPushAttrib(GL_ALL_ATTRIB_BITS);
  return true;
}

bool ValidationRenderer::Render(int scene, RgbImage& frame, std::string& error, const bool* run) {
  if (!view_ || view_->state.quadric == nullptr || scene < 0 || scene >= kSceneCount) {
    error = "nothing to draw on";
    return false;
  }
  if (run) {
    error = RunOrderProblem(scene, run);
    if (!error.empty()) return false;
  }
  // Only this frame's errors count.
  while (glGetError() != GL_NO_ERROR) {
  }
  glPopAttrib();
  glPushAttrib(GL_ALL_ATTRIB_BITS);
  ViewState& view = view_->state;
  view.frameAngle = 0.0f;
  view.towerSpin = 0.0f;
  view.latticeAngle = 0.0f;
  InitGeometryBlock(view.geo);
  // The state of the run as this scene starts: the parameters the earlier
  // scenes leave, and the previous scene's set-up (scene 17 draws the mesh
  // scene 16 builds). A run starts with the first scene's parameters.
  BenchState = BenchStateData{};
  std::srand(kValidationSeed);
  DrawSpotPhases();
  ResetTowerPositions();
  int previous = -1;
  for (int k = 0; k < scene; ++k) {
    if (run && !run[k] && k != 0) continue;
    BenchState.currentScene = k;
    ApplySceneParameters();
    if (!run || run[k]) previous = k;
  }
  if (previous >= 0) {
    BenchState.currentScene = previous;
    BenchState.sceneChanged = 0;
    SetupScene(view);
  }
  BenchState.currentScene = scene;
  ApplySceneParameters();
  BenchState.displayMode = kModeBenchmark;
  for (int f = 0; f < kValidationFrame; ++f) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    DrawBenchmarkFrame(view);
  }
  glFinish();
  RgbImage flipped;
  flipped.width = kValidationWidth;
  flipped.height = kValidationHeight;
  flipped.pixels.assign(size_t{kValidationWidth} * kValidationHeight * 3, 0);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, kValidationWidth, kValidationHeight, GL_RGB, GL_UNSIGNED_BYTE,
               flipped.pixels.data());
  const GLenum status = glGetError();
  if (status != GL_NO_ERROR) {
    error = "OpenGL error " + std::to_string(status) + " while drawing";
    return false;
  }
  // OpenGL's rows run bottom to top.
  frame = flipped;
  const size_t row = size_t{kValidationWidth} * 3;
  for (int y = 0; y < kValidationHeight; ++y)
    std::copy(flipped.pixels.begin() + static_cast<long>(y * row),
              flipped.pixels.begin() + static_cast<long>((y + 1) * row),
              frame.pixels.begin() + static_cast<long>((kValidationHeight - 1 - y) * row));
  return true;
}

RgbImage BlockAverage(const RgbImage& image, int block) {
  RgbImage out;
  out.width = image.width / block;
  out.height = image.height / block;
  out.pixels.assign(static_cast<size_t>(out.width) * out.height * 3, 0);
  const int area = block * block;
  for (int by = 0; by < out.height; ++by)
    for (int bx = 0; bx < out.width; ++bx)
      for (int c = 0; c < 3; ++c) {
        int sum = 0;
        for (int y = by * block; y < (by + 1) * block; ++y)
          for (int x = bx * block; x < (bx + 1) * block; ++x)
            sum += image.pixels[(static_cast<size_t>(y) * image.width + x) * 3 + c];
        out.pixels[(static_cast<size_t>(by) * out.width + bx) * 3 + c] =
            static_cast<unsigned char>((sum + area / 2) / area);
      }
  return out;
}

namespace {

bool SameSize(const RgbImage& a, const RgbImage& b) {
  return a.width == b.width && a.height == b.height && !a.pixels.empty() &&
         a.pixels.size() == b.pixels.size();
}

// Builds the mesh a later scene may draw.
bool BuildsMesh(int scene) {
  const SceneGeometry g = SceneTable[scene].setup.geometry;
  return g == SceneGeometry::kRippleShell || g == SceneGeometry::kRoughDome ||
         g == SceneGeometry::kFractal;
}

}  // namespace

namespace {

// How far each channel of `a` is from `b`, or from `alternative` where that
// is nearer (an empty alternative is no alternative).
std::vector<int> Distances(const RgbImage& a, const RgbImage& b, const RgbImage& alternative) {
  std::vector<int> d(a.pixels.size());
  const bool either = SameSize(a, alternative);
  for (size_t i = 0; i < d.size(); ++i) {
    d[i] = std::abs(a.pixels[i] - b.pixels[i]);
    if (either) d[i] = std::min(d[i], std::abs(a.pixels[i] - alternative.pixels[i]));
  }
  return d;
}

}  // namespace

double PictureDifference(const RgbImage& a, const RgbImage& b, const RgbImage& alternative) {
  if (!SameSize(a, b)) return 100.0;
  size_t off = 0;
  for (int d : Distances(a, b, alternative))
    if (d > kValidationTolerance) ++off;
  return 100.0 * static_cast<double>(off) / static_cast<double>(a.pixels.size());
}

RgbImage DifferencePicture(const RgbImage& a, const RgbImage& b, const RgbImage& alternative) {
  RgbImage out = a;
  if (!SameSize(a, b)) return out;
  const std::vector<int> d = Distances(a, b, alternative);
  for (size_t i = 0; i < d.size(); ++i)
    out.pixels[i] = static_cast<unsigned char>(std::min(d[i] * 4, 255));
  return out;
}

RgbImage Enlarge(const RgbImage& image, int factor) {
  RgbImage out;
  out.width = image.width * factor;
  out.height = image.height * factor;
  out.pixels.resize(static_cast<size_t>(out.width) * out.height * 3);
  for (int y = 0; y < out.height; ++y)
    for (int x = 0; x < out.width; ++x)
      for (int c = 0; c < 3; ++c)
        out.pixels[(static_cast<size_t>(y) * out.width + x) * 3 + c] =
            image.pixels[(static_cast<size_t>(y / factor) * image.width + x / factor) * 3 + c];
  return out;
}

std::string RunOrderProblem(int scene, const bool* run) {
  if (scene < 0 || scene >= kSceneCount || !run) return "";
  const SceneRow& row = SceneTable[scene];
  if (row.draw.renderer != SceneRenderer::kSurfaceMesh ||
      row.setup.geometry != SceneGeometry::kNone)
    return "";
  for (int k = scene - 1; k >= 0; --k)
    if (run[k]) {
      if (BuildsMesh(k)) return "";
      break;
    }
  // A run goes in ascending order, so only a builder below it helps.
  int builder = scene - 1;
  while (builder >= 0 && !BuildsMesh(builder)) --builder;
  return "scene " + std::to_string(scene + 1) +
         " draws the mesh of the latest surface scene; add scene " + std::to_string(builder + 1) +
         " before it";
}

namespace {

bool Decode(const EmbeddedReference& r, RgbImage& picture, std::string& error) {
  if (DecodePng(r.data, r.size, picture, error)) return true;
  error = "its reference picture is damaged: " + error;
  return false;
}

}  // namespace

bool LoadReference(int scene, int depthBits, RgbImage& reference, RgbImage& shallow,
                   std::string& error) {
  shallow = RgbImage{};
  if (scene < 0 || scene >= kSceneCount || kEmbeddedReferences[scene].data == nullptr) {
    error = "this build has no reference picture for it";
    return false;
  }
  if (!Decode(kEmbeddedReferences[scene], reference, error)) return false;
  return depthBits > kShallowDepthBits || kShallowReferences[scene].data == nullptr ||
         Decode(kShallowReferences[scene], shallow, error);
}

}  // namespace vm
