// Proof that the driver drew what each scene asked for: one steady frame per
// scene, drawn off-screen at a fixed size by the scenes' own set-up and
// drawing code, compared with a reference picture drawn by Mesa's llvmpipe.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

#include "platform/egl/egl_context.h"
#include "state/bench_state.h"
#include "validate/png_file.h"

namespace vm {

class CVelmark3View;
class HeadlessPlatform;

// The frame drawn and read back, whatever size a run's view has.
constexpr int kValidationWidth = 1024;
constexpr int kValidationHeight = 768;
// The picture compared: the third frame after the scene's set-up.
constexpr int kValidationFrame = 3;
// Pictures are compared as means of 2 x 2 pixel blocks (512 x 384), the
// size the references are stored at.
constexpr int kValidationBlock = 2;
// The seed of the random sequence at the start of every validation frame.
constexpr unsigned kValidationSeed = 1;

// The measure: the percentage of colour channels that differ by more than
// the tolerance (of 255 levels). A fault in shading, texturing, fog or depth
// changes whole areas; honest rasterisers differ on edges only, a few pixels
// wide. The limit is the most a scene may have.
constexpr int kValidationTolerance = 32;
constexpr double kValidationLimit = 3.0;
// A context with at most this many depth bits is also compared with the
// references drawn that way, where a scene has one (cubes close to the near
// plane z-fight there, differently on each rasteriser).
constexpr int kShallowDepthBits = 16;

// The scenes' frames in a context of their own. The process-wide benchmark
// state is put back as it was found when the renderer goes, and the random
// sequence restarts, so a run timed afterwards is the same as one without.
class ValidationRenderer {
 public:
  // `depthRequest`: see EglContext::RequestDepth.
  ValidationRenderer(EglPlatform egl, int device, std::FILE* log, int depthRequest = 0);
  ~ValidationRenderer();
  ValidationRenderer(const ValidationRenderer&) = delete;
  ValidationRenderer& operator=(const ValidationRenderer&) = delete;

  // Creates the context and the view; false with `error` set.
  bool Open(std::string& error);
  // The frame of scene index `scene` (0..23) at full size; false with `error`.
  // The scene starts from the state a run of all scenes gives it, or, with
  // `run` (selected scenes, by index), the state that run gives it.
  bool Render(int scene, RgbImage& frame, std::string& error, const bool* run = nullptr);

  std::string vendor, renderer, version;  // of the OpenGL context
  EglBits bits;                           // of its config

 private:
  BenchStateData saved_;
  std::unique_ptr<EglContext> gl_;
  std::unique_ptr<HeadlessPlatform> platform_;
  std::unique_ptr<CVelmark3View> view_;
};

// The mean of each `block` x `block` square (sizes cut to whole blocks).
RgbImage BlockAverage(const RgbImage& image, int block);
// The difference of two pictures of one size, in percent of their
// channels; 100 when the sizes differ. A channel as near `alternative` (a
// second reference, when not empty) counts as near.
double PictureDifference(const RgbImage& a, const RgbImage& b,
                         const RgbImage& alternative = RgbImage{});
// Each channel's distance, four times brighter, for the eye.
RgbImage DifferencePicture(const RgbImage& a, const RgbImage& b,
                           const RgbImage& alternative = RgbImage{});
// Each pixel made a `factor` x `factor` square: a reduced picture at the size
// of the frame it was made from.
RgbImage Enlarge(const RgbImage& image, int factor);

// Why a run of the `run` scenes does not draw scene index `scene` as
// validated (it draws a mesh an earlier scene builds and none does); empty
// when it does.
std::string RunOrderProblem(int scene, const bool* run);

// The embedded reference of scene index `scene`, and in `shallow` the one
// drawn with 16 depth bits when the context has no more and the scene has
// one (else it is left empty): z-fighting pixels may match either. False
// with `error` when there is none or it does not decode.
bool LoadReference(int scene, int depthBits, RgbImage& reference, RgbImage& shallow,
                   std::string& error);

}  // namespace vm
