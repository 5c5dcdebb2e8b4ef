// The process-wide benchmark record and the scene catalogue. Plain fields,
// touched only from the user-interface thread.
#pragma once

#include <cstdint>

namespace vm {

constexpr int kSceneCount = 24;

enum DisplayMode : int {
  kModeIntro = 0,
  kModeBenchmark = 1,
  kModeGraphicResults = 2,
  kModeThanks = 3,
};

struct BenchStateData {
  int displayMode;
  int restartTimer;
  int timerIntervalMs;
  int resultsAvailable;
  int sceneSelected[kSceneCount];
  int secondsPerScene;
  int sceneChanged;
  int currentScene;
  float sceneTime[kSceneCount];
  int lightingEnabled;
  int lightCount;
  int spotlightsOn;
  int spotCount;
  int gridColumns;
  int gridRows;
  int sliceCount;
  int stackCount;
  int towerQuads;
  float towerX[4];
  float towerZ[4];
  float spotAngle[4];
  int64_t frameStartClock;  // microseconds
  int frameDone;
};

// Zero at load, like every static.
extern BenchStateData BenchState;

// A row of the catalogue; -1 in a parameter means "keeps its value".
struct SceneRow {
  const char* label;  // status-bar format: total, [triangles,] percent, '%'
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

extern const SceneRow SceneTable[kSceneCount];

// Loads the row of BenchState.currentScene and raises sceneChanged; for an
// index outside 0..23 it only raises sceneChanged.
void ApplySceneParameters();

// The tower positions shared by start-up and Init Benchs.
void ResetTowerPositions();

// The four spot-light phases, each rand() % 360, in index order.
void DrawSpotPhases();

}  // namespace vm
