// Soak run: thousands of intro, thanks and scene frames in the off-screen
// context, with the resident memory after each stretch. Memory must stay
// flat once the first frames have warmed the driver up.
//   build/bench/vm_soak [frames-per-screen] [frames-per-scene] [passes]
#include <GL/gl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>

#include "app/view.h"
#include "platform/egl/egl_context.h"
#include "platform/headless_platform.h"
#include "scenes/scene_catalogue.h"
#include "state/bench_state.h"

namespace {

long ResidentKb() {
  std::ifstream statm("/proc/self/statm");
  long size = 0, resident = 0;
  statm >> size >> resident;
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

void Frames(vm::CVelmark3View& view, int count) {
  for (int i = 0; i < count; ++i) view.OnDraw();
}

}  // namespace

int main(int argc, char** argv) {
  const int screenFrames = argc > 1 ? std::atoi(argv[1]) : 500;
  const int sceneFrames = argc > 2 ? std::atoi(argv[2]) : 20;
  const int rounds = argc > 3 ? std::atoi(argv[3]) : 4;
  vm::EglContext gl(vm::kDefaultViewWidth, vm::kDefaultViewHeight);
  vm::HeadlessPlatform platform(stderr);
  auto view = std::make_unique<vm::CVelmark3View>(platform, gl);
  view->OnCreate();
  if (!gl.error().empty()) {
    std::fprintf(stderr, "vm_soak: no OpenGL context: %s\n", gl.error().c_str());
    return 1;
  }
  view->OnSize(vm::kDefaultViewWidth, vm::kDefaultViewHeight);
  vm::ResetTowerPositions();

  vm::BenchState.displayMode = vm::kModeIntro;
  Frames(*view, 20);  // warm-up: the driver compiles its shaders here
  const long base = ResidentKb();
  std::printf("%-18s %8s %10s\n", "stretch", "frames", "RSS kB");
  std::printf("%-18s %8d %10ld\n", "warm-up intro", 20, base);

  long peak = base;
  for (int round = 0; round < rounds; ++round) {
    vm::BenchState.displayMode = vm::kModeIntro;
    Frames(*view, screenFrames);
    std::printf("%-18s %8d %10ld\n", "intro", screenFrames, ResidentKb());
    vm::BenchState.displayMode = vm::kModeThanks;
    vm::BenchState.sceneChanged = 1;
    Frames(*view, screenFrames);
    std::printf("%-18s %8d %10ld\n", "thanks", screenFrames, ResidentKb());
    vm::BenchState.displayMode = vm::kModeBenchmark;
    for (int scene = 0; scene < vm::kSceneCount; ++scene) {
      vm::BenchState.currentScene = scene;
      vm::ApplySceneParameters();
      Frames(*view, sceneFrames);
    }
    const long now = ResidentKb();
    std::printf("%-18s %8d %10ld\n", "scenes 1-24", sceneFrames * vm::kSceneCount, now);
    std::fflush(stdout);
    // The driver fills its caches over the first two passes; after that only
    // its allocator's noise (a MB or two) is allowed. A leak of a few bytes
    // per call would grow by tens of MB a pass.
    if (round == 1) peak = now;
    if (round > 1 && now > peak + 8192) {
      std::printf("vm_soak: resident memory grew by %ld kB after the second pass\n", now - peak);
      return 1;
    }
  }
  std::printf("vm_soak: resident memory flat after the second pass\n");
  return 0;
}
