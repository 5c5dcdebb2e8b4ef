#include "app/bench_state.h"

#include <cstdlib>

namespace vm {

BenchStateData BenchState;

// clang-format off
const SceneRow SceneTable[kSceneCount] = {
  {"Scene 1/%d) 900 Spheres and 1 light => %d%c",                            1, 1, 0, 0, 30, 30, -1, -1, -1},
  {"Scene 2/%d) 900 Spheres and 2 lights => %d%c",                           1, 2, 0, 0, 30, 30, -1, -1, -1},
  {"Scene 3/%d) 900 Spheres and 4 lights => %d%c",                           1, 4, 0, 0, 30, 30, -1, -1, -1},
  {"Scene 4/%d) 900 Spheres and 8 lights => %d%c",                           1, 8, 0, 0, 30, 30, -1, -1, -1},
  {"Scene 5/%d) 900 Spheres and 4 spot lights => %d%c",                      0, 1, 1, 4, 30, 30, -1, -1, -1},
  {"Scene 6/%d) 200 Spheres and 1 light => %d%c",                            1, 8, 0, 0, -1, -1, 20, 10, -1},
  {"Scene 7/%d) 200 Spheres with Texture => %d%c",                           0, 8, 0, 0, -1, -1, 20, 10, -1},
  {"Scene 8/%d) 200 Spheres with Light and Texture => %d%c",                 1, 8, 0, 0, -1, -1, 20, 10, -1},
  {"Scene 9/%d) 200 Spheres with 4 Spot Lights and Environment Mapping => %d%c", 0, 0, 1, 4, -1, -1, 20, 10, -1},
  {"Scene 10/%d) %d Triangles and 1 Light => %d%c",                          1, 1, 0, 0, -1, -1, -1, -1, 3000},
  {"Scene 11/%d) %d Triangles with 1 Light and Texture => %d%c",             1, 1, 0, 0, -1, -1, -1, -1, 3000},
  {"Scene 12/%d) 4096 Cubes and 1 Light => %d%c",                            1, 1, 0, 0, -1, -1, -1, -1, -1},
  {"Scene 13/%d) 4096 Cubes with 3 Spot Lights and Texture => %d%c",         0, 1, 1, 3, -1, -1, -1, -1, -1},
  {"Scene 14/%d) 4096 Cubes with 2 Lights and Environment Mapping => %d%c",  1, 2, 0, 0, -1, -1, -1, -1, -1},
  {"Scene 15/%d) 400 Lines, 10000 Points, 400 Spheres with 4 Spot Lights => %d%c", 0, 0, 1, 4, 20, 20, 20, 20, -1},
  {"Scene 16/%d) 125000 Triangles with 2 Lights and Environment Mapping => %d%c", 1, 2, 0, 0, -1, -1, 250, 250, -1},
  {"Scene 17/%d) 125000 Triangles with 4 Spot Lights and Environment Mapping => %d%c", 0, 1, 1, 4, -1, -1, 250, 250, -1},
  {"Scene 18/%d) 125000 Triangles with 4 Spot Light and Environment Mapping => %d%c", 0, 1, 1, 4, -1, -1, 250, 250, -1},
  {"Scene 19/%d) 125000 Triangles with 2 Lights, Environment Mapping and Transparence => %d%c", 1, 1, 0, 0, -1, -1, 250, 250, -1},
  {"Scene 20/%d) 125000 Triangles with 4 Spot Lights, Environment Mapping and Transparence => %d%c", 0, 0, 1, 4, -1, -1, 250, 250, -1},
  {"Scene 21/%d) 80000 Triangles with 4 Lights, Environment Mapping and CPU Test=> %d%c", 1, 4, 0, 4, -1, -1, 200, 200, -1},
  {"Scene 22/%d) 80000 Triangles with 8 Lights, Environment Mapping and CPU Test => %d%c", 1, 8, 0, 4, -1, -1, 200, 200, -1},
  {"Scene 23/%d) 80000 Triangles with 4 Spot Lights, Environment Mapping and CPU Test => %d%c", 0, 0, 1, 4, -1, -1, 200, 200, -1},
  {"Scene 24/%d) 125000 Triangles with 4 Spot Lights, Environment Mapping, Transparence and CPU Test => %d%c", 0, 0, 1, 4, -1, -1, 250, 250, -1},
};
// clang-format on

namespace {
void Keep(int& field, int value) {
  if (value >= 0) field = value;
}
}  // namespace

void ApplySceneParameters() {
  const int i = BenchState.currentScene;
  if (i >= 0 && i < kSceneCount) {
    const SceneRow& row = SceneTable[i];
    BenchState.lightingEnabled = row.lightingEnabled;
    BenchState.lightCount = row.lightCount;
    BenchState.spotlightsOn = row.spotlightsOn;
    BenchState.spotCount = row.spotCount;
    Keep(BenchState.gridColumns, row.gridColumns);
    Keep(BenchState.gridRows, row.gridRows);
    Keep(BenchState.sliceCount, row.sliceCount);
    Keep(BenchState.stackCount, row.stackCount);
    Keep(BenchState.towerQuads, row.towerQuads);
  }
  BenchState.sceneChanged = 1;
}

void ResetTowerPositions() {
  static constexpr float kX[4] = {0, -2, -5, 6};
  static constexpr float kZ[4] = {0, -7, 4, 0};
  for (int i = 0; i < 4; ++i) {
    BenchState.towerX[i] = kX[i];
    BenchState.towerZ[i] = kZ[i];
  }
}

void DrawSpotPhases() {
  for (float& phase : BenchState.spotAngle) phase = static_cast<float>(std::rand() % 360);
}

}  // namespace vm
