#include "app/view.h"

#include <cstdlib>

#include "platform/resources.h"
#include "render/lights.h"
#include "render/textures.h"
#include "scenes/scene_catalogue.h"
#include "scenes/scenes.h"
#include "screens/screens.h"
#include "state/bench_state.h"

namespace vm {

CVelmark3View::CVelmark3View(Platform& platform, GlBinding& gl) : platform_(platform), gl_(gl) {
  state.frameAngle = 0;
  state.towerSpin = 0;
  state.latticeAngle = 0;
  // Three values drawn and discarded: the start-up spot phases depend on it.
  for (int i = 0; i < 3; ++i) std::rand();

  InitGeometryBlock(state.geo);

  state.resultsZoom = 15.0f;
  state.resultsEyeX = 5.0f;
  state.resultsEyeY = 5.0f;
}

int CVelmark3View::OnCreate() {
  if (!InitGL()) return -1;  // it said why; there is nothing to load textures into
  LoadTexture(state, platform_, kCloudsResource, kCloudsTexture);
  LoadTexture(state, platform_, kTartanResource, kTartanTexture);
  LoadTexture(state, platform_, kChromeResource, kChromeTexture);
  LoadTexture(state, platform_, kFontSheetResource, kFontTexture);
  return 0;
}

bool CVelmark3View::SetupPixelFormat() {
  return gl_.SetupPixelFormat();
}

bool CVelmark3View::InitGL() {
  if (!gl_.ObtainDC()) {
    platform_.MessageBox("Error Obtaining DC");
    return false;
  }
  haveDC_ = true;
  if (!SetupPixelFormat()) return false;
  if (!gl_.CreateContext()) {
    platform_.MessageBox("Error Creating RC");
    return false;
  }
  if (!gl_.MakeCurrent()) {
    platform_.MessageBox("Error making RC Current");
    return false;
  }
  glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  glClearDepth(1.0);
  glEnable(GL_DEPTH_TEST);

  state.quadric = gluNewQuadric();
  gluQuadricNormals(state.quadric, GLU_SMOOTH);
  gluQuadricTexture(state.quadric, GL_TRUE);

  SetupPointLights();
  return true;
}

void CVelmark3View::OnSize(int cx, int cy) {
  if (cx <= 0 || cy <= 0) return;
  glViewport(0, 0, cx, cy);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(45.0, static_cast<double>(cx) / static_cast<double>(cy), 0.01f, 200.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

void CVelmark3View::OnDraw() {
  // Without a context (InitGL failed and said so) there is nothing to draw
  // on, but the frame handshake goes on so the sequencer never stalls.
  const bool canDraw = state.quadric != nullptr;
  // A repaint no tick asked for (a menu closed, the window uncovered) would
  // time an extra frame into the scene: it draws nothing and leaves the
  // measurement as it is; the next tick's frame repaints the view.
  if (BenchState.displayMode == kModeBenchmark && BenchState.frameDone == 1) return;
  // For the runner's statistics: the whole frame, clear to swap.
  const int64_t clearNs = frameTimes ? platform_.ClockNs() : 0;
  int timedScene = -1;
  int64_t drawNs = 0;
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  switch (BenchState.displayMode) {
    case kModeIntro:
      if (canDraw) DrawIntroScreen(state);
      BenchState.frameDone = 1;
      break;
    case kModeBenchmark: {
      BenchState.frameDone = 0;
      BenchState.frameStartClock = platform_.ClockNs();
      if (canDraw) DrawBenchmarkFrame(state);
      const int64_t end = platform_.ClockNs();
      BenchState.frameDone = 1;
      const int scene = BenchState.currentScene;
      if (scene >= 0 && scene < kSceneCount) {
        drawNs = end - BenchState.frameStartClock;
        BenchState.sceneTime[scene] += static_cast<float>(static_cast<double>(drawNs) * 1e-9);
        timedScene = scene;
      }
      break;
    }
    case kModeGraphicResults:
      if (canDraw) DrawGraphicResults(state);
      BenchState.frameDone = 1;
      break;
    case kModeThanks:
      if (canDraw) DrawThanksScreen(state);
      BenchState.frameDone = 1;
      break;
    default:
      break;
  }
  glFinish();
  gl_.SwapBuffers();
  if (frameTimes && timedScene >= 0)
    frameTimes->OnBenchmarkFrame(timedScene, static_cast<double>(drawNs) * 1e-9,
                                 static_cast<double>(platform_.ClockNs() - clearNs) * 1e-9);
}

// The quadric is plain memory: it goes with the view, context or not.
CVelmark3View::~CVelmark3View() {
  if (state.quadric) gluDeleteQuadric(state.quadric);
}

void CVelmark3View::OnDestroy() {
  if (!gl_.ReleaseCurrent()) platform_.MessageBox("Could not make RC non-current");
  if (!gl_.DeleteContext()) platform_.MessageBox("Could not delete RC");
  if (haveDC_) {
    gl_.ReleaseDC();
    haveDC_ = false;
  }
}

void CVelmark3View::OnMouseWheel(int16_t delta) {
  if (BenchState.displayMode == kModeGraphicResults)
    state.resultsZoom = static_cast<float>(state.resultsZoom + delta * 0.01);
}

}  // namespace vm
