#include "app/main_frame.h"

#include <cstdio>

#include "app/run_keeper.h"
#include "results/frame_stats.h"
#include "scenes/scene_catalogue.h"
#include "state/bench_state.h"

namespace vm {

int CMainFrame::OnCreate() {
  platform_.SetTimer(kFrameTimerId, kDefaultTimerIntervalMs);

  BenchState.restartTimer = 0;
  BenchState.timerIntervalMs = kDefaultTimerIntervalMs;
  BenchState.currentScene = 0;
  BenchState.resultsAvailable = 0;
  BenchState.secondsPerScene = kDefaultSecondsPerScene;
  ApplySceneParameters();
  sceneStartClock = platform_.Clock();
  frameCount = 0;
  BenchState.displayMode = kModeIntro;
  DrawSpotPhases();
  for (int& selected : BenchState.sceneSelected) selected = 1;
  ResetTowerPositions();
  return 0;
}

// A scene starts from a clean sum, so a run measures only itself.
void CMainFrame::StartScene() {
  BenchState.sceneTime[BenchState.currentScene] = 0.0f;
  ApplySceneParameters();
  if (FrameTimeSink* watch = Watch()) watch->OnSceneStart(BenchState.currentScene);
}

void CMainFrame::OnInitBenchs() {
  int first = 0;
  while (first < kSceneCount && !BenchState.sceneSelected[first]) ++first;
  if (first == kSceneCount) {
    platform_.MessageBox("No scene is selected. Choose the scenes to run in Bench Settings.");
    return;
  }
  BenchState.currentScene = first;
  BenchState.resultsAvailable = 0;
  // A paint still owed to an earlier tick will draw this run's first frame.
  benchFrameAsked_ = BenchState.frameDone == 0;
  // A scene left out of this run must not report an earlier run's time.
  for (float& t : BenchState.sceneTime) t = 0.0f;
  StartScene();
  sceneStartClock = platform_.Clock();
  frameCount = 0;
  BenchState.displayMode = kModeBenchmark;
  DrawSpotPhases();
  ResetTowerPositions();
  if (keeper) keeper->OnRunStart();
}

void CMainFrame::OnStopBenchs() {
  BenchState.displayMode = kModeIntro;
}

// The thanks screen's first frame seeds its points and lights.
void CMainFrame::OnThanks() {
  BenchState.sceneChanged = 1;
  BenchState.displayMode = kModeThanks;
}

void CMainFrame::OnQuit() {
  platform_.KillTimer(kFrameTimerId);
  platform_.Exit(0);
}

void CMainFrame::OnTimer() {
  if (BenchState.restartTimer == 1) {
    BenchState.restartTimer = 0;
    platform_.KillTimer(kFrameTimerId);
    platform_.SetTimer(kFrameTimerId, BenchState.timerIntervalMs);
    return;
  }
  if (BenchState.displayMode != kModeBenchmark) {
    BenchState.frameDone = 0;
    platform_.Invalidate();
    return;
  }

  // A tick that finds its frame undrawn (the view hidden or unmapped) counts
  // nothing: a scene's rate is the frames drawn over their drawing time.
  if (BenchState.frameDone != 1) return;
  if (benchFrameAsked_) frameCount += 1;
  if (traceFrames_ && benchFrameAsked_)
    std::fprintf(stderr, "velmark3: scene %d frame %d\n", BenchState.currentScene + 1, frameCount);

  if (ElapsedMs() > int64_t{BenchState.secondsPerScene} * 1000) {
    int scene = BenchState.currentScene;
    if (scene >= 0 && scene < kSceneCount)
      BenchState.sceneTime[scene] =
          frameCount > 0 ? BenchState.sceneTime[scene] / static_cast<float>(frameCount) : 0.0f;
    if (FrameTimeSink* watch = Watch()) watch->OnSceneEnd(scene);
    sceneStartClock = platform_.Clock();
    bool endOfRun = scene >= kSceneCount - 1;
    if (!endOfRun) {
      scene += 1;
      while (scene < kSceneCount && !BenchState.sceneSelected[scene]) ++scene;
      BenchState.currentScene = scene;
      endOfRun = scene == kSceneCount;
    }
    if (endOfRun) {
      if (traceFrames_) std::fprintf(stderr, "velmark3: run complete\n");
      BenchState.resultsAvailable = 1;
      BenchState.displayMode = kModeIntro;
      if (keeper) keeper->OnRunEnd();
      return;
    }
    frameCount = 0;
    StartScene();
  }

  WriteProgress();
  BenchState.frameDone = 0;
  benchFrameAsked_ = true;
  platform_.Invalidate();
}

// Wraps with the clock (every 24.8 days) instead of overflowing.
int CMainFrame::ElapsedMs() {
  return static_cast<int>(static_cast<unsigned>(platform_.Clock()) -
                          static_cast<unsigned>(sceneStartClock));
}

void CMainFrame::WriteProgress() {
  const int scene = BenchState.currentScene;
  if (scene < 0 || scene >= kSceneCount) return;
  const int elapsed = ElapsedMs();
  const int span = BenchState.secondsPerScene > 2 ? BenchState.secondsPerScene - 1 : 1;
  // A tick on the scene's last millisecond would read 200%.
  int percent = (elapsed / 1000) * (100 / span);
  if (percent > 100) percent = 100;
  if (percent < 0) percent = 0;
  FormatSceneLabel(statusText_, sizeof statusText_, scene, percent);
  platform_.SetStatusText(statusText_);
}

}  // namespace vm
