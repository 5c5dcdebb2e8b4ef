// make references: draws every scene's validation frame on Mesa's llvmpipe
// and writes the block-averaged pictures the programs compile in: with the
// deepest depth buffer, and with 16 bits for the scenes that draws otherwise.
#include <cstdio>
#include <string>
#include <vector>

#include "platform/output_file.h"
#include "validate/validation.h"

namespace {

// Every scene's reduced picture, with `depth` bits requested (0: deepest).
bool DrawAll(int depth, std::vector<vm::RgbImage>& pictures) {
  vm::ValidationRenderer renderer(vm::EglPlatform::kSurfaceless, 0, stderr, depth);
  std::string error;
  if (!renderer.Open(error)) {
    std::fprintf(stderr, "vm_make_references: %s\n", error.c_str());
    return false;
  }
  // llvmpipe itself, not a driver layered on it ("zink (llvmpipe ...)").
  if (renderer.renderer.rfind("llvmpipe (", 0) != 0) {
    std::fprintf(stderr,
                 "vm_make_references: the renderer is \"%s\"; the references are drawn on "
                 "llvmpipe alone (GALLIUM_DRIVER=llvmpipe)\n",
                 renderer.renderer.c_str());
    return false;
  }
  if (depth > 0 && renderer.bits.depth != depth) {
    std::fprintf(stderr, "vm_make_references: no %d-bit depth buffer (got %d bits)\n", depth,
                 renderer.bits.depth);
    return false;
  }
  std::printf("%s, %d depth bits\n", renderer.renderer.c_str(), renderer.bits.depth);
  pictures.resize(vm::kSceneCount);
  for (int scene = 0; scene < vm::kSceneCount; ++scene) {
    vm::RgbImage frame;
    if (!renderer.Render(scene, frame, error)) {
      std::fprintf(stderr, "vm_make_references: scene %d: %s\n", scene + 1, error.c_str());
      return false;
    }
    pictures[scene] = vm::BlockAverage(frame, vm::kValidationBlock);
  }
  return true;
}

bool Write(const std::string& path, const vm::RgbImage& picture) {
  std::string png, error;
  if (!vm::EncodePng(picture, png, error) || !vm::ReplaceFile(path, png, error)) {
    std::fprintf(stderr, "vm_make_references: %s: %s\n", path.c_str(), error.c_str());
    return false;
  }
  std::printf("%s (%zu bytes)\n", path.c_str(), png.size());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: vm_make_references DIR\n");
    return 2;
  }
  std::vector<vm::RgbImage> deep, shallow;
  if (!DrawAll(0, deep) || !DrawAll(vm::kShallowDepthBits, shallow)) return 1;
  for (int scene = 0; scene < vm::kSceneCount; ++scene) {
    char name[40];
    std::snprintf(name, sizeof name, "/scene%02d.png", scene + 1);
    if (!Write(argv[1] + std::string(name), deep[scene])) return 1;
    // A second picture only where depth precision shows; elsewhere a stale
    // one goes.
    std::snprintf(name, sizeof name, "/scene%02d-depth16.png", scene + 1);
    const std::string path = argv[1] + std::string(name);
    if (vm::PictureDifference(shallow[scene], deep[scene]) > vm::kValidationLimit / 2) {
      if (!Write(path, shallow[scene])) return 1;
    } else {
      std::remove(path.c_str());
    }
  }
  return 0;
}
