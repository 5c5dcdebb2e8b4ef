// The desktop program: one maximised window driven by the frame timer.
#include <GL/gl.h>

#include <cstdio>
#include <memory>

#include "app/commands.h"
#include "app/desktop_options.h"
#include "app/run_keeper.h"
#include "app/velmark3_app.h"
#include "platform/fltk/fltk_platform.h"
#include "render/gl_strings.h"
#include "state/bench_state.h"

int main(int argc, char** argv) {
  if (argc > 1) return vm::AnswerDesktopOptions(argc, argv, stdout, stderr);
  std::string why;
  if (!vm::FltkPlatform::DisplayAvailable(why)) {
    std::fprintf(stderr, "velmark3: %s.\nvelmark3 needs a graphical desktop session.\n",
                 why.c_str());
    return 1;
  }
  const vm::MainWindowSetup setup = {
      vm::kMainWindowTitle,  vm::kAppTitle,         vm::kMainMenu, vm::kMainMenuCount, 0, 0,
      vm::kDefaultViewWidth, vm::kDefaultViewHeight};
  vm::FltkPlatform platform(setup);
  // Every run finished in the window is kept in runs/ with its frame times.
  vm::RunKeeper keeper;
  // The view holds the scenes' geometry (a few MB): it lives on the heap.
  auto app = std::make_unique<vm::CVelmark3App>(platform, platform.gl());
  app->frame.keeper = &keeper;
  app->view.frameTimes = keeper.frames();
  platform.Show(*app);
  // Without a context the window would stay grey: the message box has said
  // so, the terminal gets the reason.
  if (!app->InitInstance()) {
    std::fprintf(stderr, "velmark3: no OpenGL context: %s\n",
                 platform.gl().FailureReason().c_str());
    return 1;
  }
  keeper.SetRenderer(vm::GlString(GL_VENDOR), vm::GlString(GL_RENDERER), vm::GlString(GL_VERSION));
  GLint depthBits = 0;
  glGetIntegerv(GL_DEPTH_BITS, &depthBits);
  keeper.SetDepthBits(depthBits);
  return platform.Run();
}
