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
ValidationRenderer::ValidationRenderer(EglPlatform egl, int device, std::FILE* log)
    : saved_(BenchState),
      gl_(std::make_unique<EglContext>(kValidationWidth, kValidationHeight, egl, device)),
      platform_(std::make_unique<HeadlessPlatform>(log)) {}

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
  // Every scene starts from the state the view leaves after its creation.
  glPushAttrib(GL_ALL_ATTRIB_BITS);
  return true;
}

bool ValidationRenderer::Render(int scene, RgbImage& frame, std::string& error) {
  if (!view_ || view_->state.quadric == nullptr || scene < 0 || scene >= kSceneCount) {
    error = "nothing to draw on";
    return false;
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
  // The state of a run of all scenes as this one starts: the parameters the
  // earlier scenes leave, and the previous scene's set-up (scene 17 draws
  // the mesh scene 16 builds).
  BenchState = BenchStateData{};
  std::srand(kValidationSeed);
  DrawSpotPhases();
  ResetTowerPositions();
  for (int k = 0; k <= scene; ++k) {
    BenchState.currentScene = k;
    ApplySceneParameters();
    if (k == scene - 1) {
      BenchState.sceneChanged = 0;
      SetupScene(view);
    }
  }
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

// How far each channel of `a` lies outside the range that channel takes in
// the 3 x 3 blocks of `b` around it: a shape one pixel off, or a different
// rasteriser's edge, stays inside it; a lost light, texture or primitive
// does not.
std::vector<int> OutsideNeighbours(const RgbImage& a, const RgbImage& b) {
  std::vector<int> d(a.pixels.size(), 0);
  const int w = a.width, h = a.height;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      for (int c = 0; c < 3; ++c) {
        int lo = 255, hi = 0;
        for (int ny = std::max(y - 1, 0); ny <= std::min(y + 1, h - 1); ++ny)
          for (int nx = std::max(x - 1, 0); nx <= std::min(x + 1, w - 1); ++nx) {
            const int v = b.pixels[(static_cast<size_t>(ny) * w + nx) * 3 + c];
            lo = std::min(lo, v);
            hi = std::max(hi, v);
          }
        const size_t i = (static_cast<size_t>(y) * w + x) * 3 + c;
        d[i] = std::max({0, a.pixels[i] - hi, lo - a.pixels[i]});
      }
  return d;
}

// Both ways: what is missing from one picture is extra in the other.
std::vector<int> ChannelDistances(const RgbImage& a, const RgbImage& b) {
  std::vector<int> d = OutsideNeighbours(a, b);
  const std::vector<int> back = OutsideNeighbours(b, a);
  for (size_t i = 0; i < d.size(); ++i) d[i] = std::max(d[i], back[i]);
  return d;
}

bool SameSize(const RgbImage& a, const RgbImage& b) {
  return a.width == b.width && a.height == b.height && !a.pixels.empty() &&
         a.pixels.size() == b.pixels.size();
}

}  // namespace

double PictureDifference(const RgbImage& a, const RgbImage& b) {
  if (!SameSize(a, b)) return 100.0;
  size_t off = 0;
  for (int d : ChannelDistances(a, b))
    if (d > kValidationTolerance) ++off;
  return 100.0 * static_cast<double>(off) / static_cast<double>(a.pixels.size());
}

RgbImage DifferencePicture(const RgbImage& a, const RgbImage& b) {
  RgbImage out = a;
  if (!SameSize(a, b)) return out;
  const std::vector<int> d = ChannelDistances(a, b);
  for (size_t i = 0; i < d.size(); ++i)
    out.pixels[i] = static_cast<unsigned char>(std::min(d[i] * 4, 255));
  return out;
}

bool LoadReference(int scene, RgbImage& reference, std::string& error) {
  if (scene < 0 || scene >= kSceneCount || kEmbeddedReferences[scene].data == nullptr) {
    error = "this build has no reference picture for it";
    return false;
  }
  const EmbeddedReference& r = kEmbeddedReferences[scene];
  if (!DecodePng(r.data, r.size, reference, error)) {
    error = "its reference picture is damaged: " + error;
    return false;
  }
  return true;
}

}  // namespace vm
