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
// Pictures are compared as means of 4 x 4 pixel blocks (256 x 192), the
// size the references are stored at.
constexpr int kValidationBlock = 4;
// The seed of the random sequence at the start of every validation frame.
constexpr unsigned kValidationSeed = 1;

// The measure: a block colour channel is off when it lies more than the
// tolerance outside the range of that channel in the other picture's 3 x 3
// blocks around it (checked both ways). The difference is the percentage of
// channels off; the one limit of every scene is the most a scene may have.
constexpr int kValidationTolerance = 16;
constexpr double kValidationLimit = 2.5;

// The scenes' frames in a context of their own. The process-wide benchmark
// state is put back as it was found when the renderer goes, and the random
// sequence restarts, so a run timed afterwards is the same as one without.
class ValidationRenderer {
 public:
  ValidationRenderer(EglPlatform egl, int device, std::FILE* log);
  ~ValidationRenderer();
  ValidationRenderer(const ValidationRenderer&) = delete;
  ValidationRenderer& operator=(const ValidationRenderer&) = delete;

  // Creates the context and the view; false with `error` set.
  bool Open(std::string& error);
  // The frame of scene index `scene` (0..23) at full size; false with `error`.
  bool Render(int scene, RgbImage& frame, std::string& error);

  std::string vendor, renderer, version;  // of the OpenGL context

 private:
  BenchStateData saved_;
  std::unique_ptr<EglContext> gl_;
  std::unique_ptr<HeadlessPlatform> platform_;
  std::unique_ptr<CVelmark3View> view_;
};

// The mean of each `block` x `block` square (sizes cut to whole blocks).
RgbImage BlockAverage(const RgbImage& image, int block);
// The difference of two block-averaged pictures of one size, in percent of
// their channels; 100 when the sizes differ.
double PictureDifference(const RgbImage& a, const RgbImage& b);
// How far each channel is off, four times brighter, for the eye.
RgbImage DifferencePicture(const RgbImage& a, const RgbImage& b);

// The embedded reference of scene index `scene`, block-averaged; false with
// `error` when there is none or it does not decode.
bool LoadReference(int scene, RgbImage& reference, std::string& error);

}  // namespace vm
