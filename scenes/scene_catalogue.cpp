#include "scenes/scene_catalogue.h"

#include <cstdio>

namespace vm {

namespace {

using C = SceneClear;
using G = SceneGeometry;
using A = SceneAngles;
using T = SceneTexGen;
using R = SceneRenderer;
constexpr SceneLabel kPlain = SceneLabel::kPlain;
constexpr SceneLabel kTriangles = SceneLabel::kTriangles;
constexpr FractalWindow kNoWindow = {0, 0, 0};

}  // namespace

// clang-format off
const SceneRow SceneTable[kSceneCount] = {
  // label, label kind
  //   {lighting, lights, spots on, spots, grid columns, rows, slices, stacks, tower quads}
  //   {clear, geometry, fractal window, point rig, angles, texture generation}
  //   {backdrop texture, grey, renderer, mode}
  {"Scene 1/%d) 900 Spheres and 1 light => %d%c", kPlain,
   "900 Spheres and 1 light",
    {1, 1, 0, 0, 30, 30, -1, -1, -1},
    {C::kBlack, G::kNone, kNoWindow, false, A::kKeep, T::kNone},
    {kNoBackdrop, 0.0f, R::kSphereWave, 3}},
  {"Scene 2/%d) 900 Spheres and 2 lights => %d%c", kPlain,
   "900 Spheres and 2 lights",
    {1, 2, 0, 0, 30, 30, -1, -1, -1},
    {C::kBlack, G::kNone, kNoWindow, false, A::kKeep, T::kNone},
    {kNoBackdrop, 0.0f, R::kSphereWave, 3}},
  {"Scene 3/%d) 900 Spheres and 4 lights => %d%c", kPlain,
   "900 Spheres and 4 lights",
    {1, 4, 0, 0, 30, 30, -1, -1, -1},
    {C::kBlack, G::kNone, kNoWindow, false, A::kKeep, T::kNone},
    {kNoBackdrop, 0.0f, R::kSphereWave, 3}},
  {"Scene 4/%d) 900 Spheres and 8 lights => %d%c", kPlain,
   "900 Spheres and 8 lights",
    {1, 8, 0, 0, 30, 30, -1, -1, -1},
    {C::kBlack, G::kNone, kNoWindow, false, A::kKeep, T::kNone},
    {kNoBackdrop, 0.0f, R::kSphereWave, 3}},
  {"Scene 5/%d) 900 Spheres and 4 spot lights => %d%c", kPlain,
   "900 Spheres and 4 spot lights",
    {0, 1, 1, 4, 30, 30, -1, -1, -1},
    {C::kBlack, G::kNone, kNoWindow, false, A::kKeep, T::kNone},
    {kCloudsTexture, 0.2f, R::kSphereWave, 1}},
  {"Scene 6/%d) 200 Spheres and 1 light => %d%c", kPlain,
   "200 Spheres and 1 light",
    {1, 8, 0, 0, -1, -1, 20, 10, -1},
    {C::kBlack, G::kNone, kNoWindow, false, A::kKeep, T::kNone},
    {kCloudsTexture, 0.2f, R::kSphereGlobe, 0}},
  {"Scene 7/%d) 200 Spheres with Texture => %d%c", kPlain,
   "200 Spheres with Texture",
    {0, 8, 0, 0, -1, -1, 20, 10, -1},
    {C::kBlack, G::kNone, kNoWindow, false, A::kKeep, T::kNone},
    {kCloudsTexture, 0.2f, R::kSphereGlobe, 1}},
  {"Scene 8/%d) 200 Spheres with Light and Texture => %d%c", kPlain,
   "200 Spheres with Light and Texture",
    {1, 8, 0, 0, -1, -1, 20, 10, -1},
    {C::kBlack, G::kNone, kNoWindow, false, A::kKeep, T::kNone},
    {kCloudsTexture, 0.2f, R::kSphereGlobe, 2}},
  {"Scene 9/%d) 200 Spheres with 4 Spot Lights and Environment Mapping => %d%c", kPlain,
   "200 Spheres with 4 Spot Lights and Environment Mapping",
    {0, 0, 1, 4, -1, -1, 20, 10, -1},
    {C::kBlack, G::kNone, kNoWindow, false, A::kKeep, T::kSphereMap},
    {kCloudsTexture, 0.2f, R::kSphereGlobe, 3}},
  {"Scene 10/%d) %d Triangles and 1 Light => %d%c", kTriangles,
   "24000 Triangles and 1 Light",
    {1, 1, 0, 0, -1, -1, -1, -1, 3000},
    {C::kFog, G::kNone, kNoWindow, false, A::kKeep, T::kNone},
    {kNoBackdrop, 0.0f, R::kTowers, 0}},
  {"Scene 11/%d) %d Triangles with 1 Light and Texture => %d%c", kTriangles,
   "24000 Triangles with 1 Light and Texture",
    {1, 1, 0, 0, -1, -1, -1, -1, 3000},
    {C::kFog, G::kNone, kNoWindow, false, A::kKeep, T::kNone},
    {kNoBackdrop, 0.0f, R::kTowers, 2}},
  {"Scene 12/%d) 4096 Cubes and 1 Light => %d%c", kPlain,
   "4096 Cubes and 1 Light",
    {1, 1, 0, 0, -1, -1, -1, -1, -1},
    {C::kBlack, G::kNone, kNoWindow, false, A::kLatticeFromZero, T::kNone},
    {kNoBackdrop, 0.0f, R::kCubeLattice, 0}},
  {"Scene 13/%d) 4096 Cubes with 3 Spot Lights and Texture => %d%c", kPlain,
   "4096 Cubes with 3 Spot Lights and Texture",
    {0, 1, 1, 3, -1, -1, -1, -1, -1},
    {C::kBlack, G::kNone, kNoWindow, true, A::kLatticeFromZero, T::kNone},
    {kNoBackdrop, 0.0f, R::kCubeLattice, 2}},
  {"Scene 14/%d) 4096 Cubes with 2 Lights and Environment Mapping => %d%c", kPlain,
   "4096 Cubes with 2 Lights and Environment Mapping",
    {1, 2, 0, 0, -1, -1, -1, -1, -1},
    {C::kBlack, G::kNone, kNoWindow, false, A::kLatticeFromZero, T::kEyeLinear},
    {kNoBackdrop, 0.0f, R::kCubeLattice, 3}},
  {"Scene 15/%d) 400 Lines, 10000 Points, 400 Spheres with 4 Spot Lights => %d%c", kPlain,
   "400 Lines, 10000 Points, 400 Spheres with 4 Spot Lights",
    {0, 0, 1, 4, 20, 20, 20, 20, -1},
    {C::kBlack, G::kFreeParticles, kNoWindow, false, A::kKeep, T::kNone},
    {kCloudsTexture, 0.2f, R::kLinesPoints, 0}},
  {"Scene 16/%d) 125000 Triangles with 2 Lights and Environment Mapping => %d%c", kPlain,
   "125000 Triangles with 2 Lights and Environment Mapping",
    {1, 2, 0, 0, -1, -1, 250, 250, -1},
    {C::kBlack, G::kRippleShell, kNoWindow, false, A::kKeep, T::kSphereMap},
    {kCloudsTexture, 0.2f, R::kSurfaceMesh, 0}},
  {"Scene 17/%d) 125000 Triangles with 4 Spot Lights and Environment Mapping => %d%c", kPlain,
   "125000 Triangles with 4 Spot Lights and Environment Mapping",
    {0, 1, 1, 4, -1, -1, 250, 250, -1},
    {C::kBlack, G::kNone, kNoWindow, false, A::kKeep, T::kSphereMap},
    {kChromeTexture, 0.2f, R::kSurfaceMesh, 1}},
  {"Scene 18/%d) 125000 Triangles with 4 Spot Light and Environment Mapping => %d%c", kPlain,
   "125000 Triangles with 4 Spot Light and Environment Mapping",
    {0, 1, 1, 4, -1, -1, 250, 250, -1},
    {C::kBlack, G::kRoughDome, kNoWindow, false, A::kFrameFrom90, T::kSphereMap},
    {kChromeTexture, 0.2f, R::kSurfaceMesh, 1}},
  {"Scene 19/%d) 125000 Triangles with 2 Lights, Environment Mapping and Transparence => %d%c", kPlain,
   "125000 Triangles with 2 Lights, Environment Mapping and Transparence",
    {1, 1, 0, 0, -1, -1, 250, 250, -1},
    {C::kBlack, G::kRoughDome, kNoWindow, false, A::kFrameFrom90, T::kSphereMap},
    {kTartanTexture, 0.4f, R::kSurfaceMesh, 2}},
  {"Scene 20/%d) 125000 Triangles with 4 Spot Lights, Environment Mapping and Transparence => %d%c", kPlain,
   "125000 Triangles with 4 Spot Lights, Environment Mapping and Transparence",
    {0, 0, 1, 4, -1, -1, 250, 250, -1},
    {C::kBlack, G::kRoughDome, kNoWindow, false, A::kFrameFrom90, T::kSphereMap},
    {kTartanTexture, 0.4f, R::kSurfaceMesh, 3}},
  {"Scene 21/%d) 80000 Triangles with 4 Lights, Environment Mapping and CPU Test=> %d%c", kPlain,
   "80000 Triangles with 4 Lights, Environment Mapping and CPU Test",
    {1, 4, 0, 4, -1, -1, 200, 200, -1},
    {C::kBlack, G::kFractal, {-2.0, -2.0, 4.0}, false, A::kKeep, T::kSphereMap},
    {kTartanTexture, 0.4f, R::kSurfaceMesh, 0}},
  {"Scene 22/%d) 80000 Triangles with 8 Lights, Environment Mapping and CPU Test => %d%c", kPlain,
   "80000 Triangles with 8 Lights, Environment Mapping and CPU Test",
    {1, 8, 0, 4, -1, -1, 200, 200, -1},
    {C::kBlack, G::kFractal, {-1.0, -1.0, 2.0}, false, A::kKeep, T::kSphereMap},
    {kTartanTexture, 0.4f, R::kSurfaceMesh, 0}},
  {"Scene 23/%d) 80000 Triangles with 4 Spot Lights, Environment Mapping and CPU Test => %d%c", kPlain,
   "80000 Triangles with 4 Spot Lights, Environment Mapping and CPU Test",
    {0, 0, 1, 4, -1, -1, 200, 200, -1},
    {C::kBlack, G::kFractal, {-1.5, -1.0, 2.0}, false, A::kKeep, T::kSphereMap},
    {kTartanTexture, 0.4f, R::kSurfaceMesh, 1}},
  {"Scene 24/%d) 125000 Triangles with 4 Spot Lights, Environment Mapping, Transparence and CPU Test => %d%c", kPlain,
   "125000 Triangles with 4 Spot Lights, Environment Mapping, Transparence and CPU Test",
    {0, 0, 1, 4, -1, -1, 250, 250, -1},
    {C::kBlack, G::kFractal, {-1.5, -1.0, 2.0}, false, A::kKeep, T::kSphereMap},
    {kTartanTexture, 0.4f, R::kSurfaceMesh, 3}},
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
    const SceneParameters& p = SceneTable[i].parameters;
    BenchState.lightingEnabled = p.lightingEnabled;
    BenchState.lightCount = p.lightCount;
    BenchState.spotlightsOn = p.spotlightsOn;
    BenchState.spotCount = p.spotCount;
    Keep(BenchState.gridColumns, p.gridColumns);
    Keep(BenchState.gridRows, p.gridRows);
    Keep(BenchState.sliceCount, p.sliceCount);
    Keep(BenchState.stackCount, p.stackCount);
    Keep(BenchState.towerQuads, p.towerQuads);
  }
  BenchState.sceneChanged = 1;
}

bool FormatSceneLabel(char* out, std::size_t size, int scene, int percent) {
  if (scene < 0 || scene >= kSceneCount) return false;
  const SceneRow& row = SceneTable[scene];
  if (row.labelKind == SceneLabel::kTriangles)
    std::snprintf(out, size, row.label, kSceneCount, 8 * BenchState.towerQuads, percent, '%');
  else
    std::snprintf(out, size, row.label, kSceneCount, percent, '%');
  return true;
}

}  // namespace vm
