// The process-wide benchmark record. Plain fields,
// touched only from the user-interface thread.
#pragma once

#include <cstdint>

namespace vm {

constexpr int kSceneCount = 24;

// The run settings a session starts with, and the least and most the
// settings form and the runner accept.
constexpr int kDefaultSecondsPerScene = 2;
constexpr int kDefaultTimerIntervalMs = 100;
// What a run accepts: an hour per scene, ten seconds between ticks.
constexpr int kMinSecondsPerScene = 2;
constexpr int kMaxSecondsPerScene = 3600;
constexpr int kMinTimerIntervalMs = 10;
constexpr int kMaxTimerIntervalMs = 10000;

// The view's size where the program chooses it: the desktop window before it
// is maximised, and the runner's off-screen view.
constexpr int kDefaultViewWidth = 1024;
constexpr int kDefaultViewHeight = 768;

enum DisplayMode : int {
  kModeIntro = 0,
  kModeBenchmark = 1,
  kModeGraphicResults = 2,
  kModeThanks = 3,
};

// The fields each scene sets when it starts (its catalogue row) and the
// renderers read.
struct SceneParameters {
  int lightingEnabled;
  int lightCount;
  int spotlightsOn;
  int spotCount;
  int gridColumns;
  int gridRows;
  int sliceCount;
  int stackCount;
  int towerQuads;
};

struct BenchStateData : SceneParameters {
  int displayMode;
  int restartTimer;
  int timerIntervalMs;
  int resultsAvailable;
  int sceneSelected[kSceneCount];
  int secondsPerScene;
  int sceneChanged;
  int currentScene;
  float sceneTime[kSceneCount];
  float towerX[4];
  float towerZ[4];
  float spotAngle[4];
  int64_t frameStartClock;  // nanoseconds
  int frameDone;
};

// Zero at load, like every static.
extern BenchStateData BenchState;

// The tower positions shared by start-up and Init Benchs.
void ResetTowerPositions();

// The four spot-light phases, each rand() % 360, in index order.
void DrawSpotPhases();

}  // namespace vm
