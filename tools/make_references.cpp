// make references: draws every scene's validation frame on Mesa's llvmpipe
// and writes the block-averaged pictures the programs compile in.
#include <cstdio>
#include <string>

#include "platform/output_file.h"
#include "validate/validation.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: vm_make_references DIR\n");
    return 2;
  }
  vm::ValidationRenderer renderer(vm::EglPlatform::kSurfaceless, 0, stderr);
  std::string error;
  if (!renderer.Open(error)) {
    std::fprintf(stderr, "vm_make_references: %s\n", error.c_str());
    return 1;
  }
  // The references are llvmpipe's pictures, whatever else is installed.
  if (renderer.renderer.find("llvmpipe") == std::string::npos) {
    std::fprintf(stderr, "vm_make_references: the renderer is %s, not llvmpipe\n",
                 renderer.renderer.c_str());
    return 1;
  }
  for (int scene = 0; scene < vm::kSceneCount; ++scene) {
    vm::RgbImage frame;
    std::string png;
    char name[32];
    std::snprintf(name, sizeof name, "/scene%02d.png", scene + 1);
    if (!renderer.Render(scene, frame, error) ||
        !vm::EncodePng(vm::BlockAverage(frame, vm::kValidationBlock), png, error) ||
        !vm::ReplaceFile(argv[1] + std::string(name), png, error)) {
      std::fprintf(stderr, "vm_make_references: scene %d: %s\n", scene + 1, error.c_str());
      return 1;
    }
    std::printf("%s%s (%zu bytes)\n", argv[1], name, png.size());
  }
  return 0;
}
