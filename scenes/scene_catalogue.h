// The scene catalogue: one row per scene holds all that makes the scene, its
// parameters, its first frame's set-up, its drawing and its status label.
// Set-up, drawing and the progress label read the row, so a scene changes in
// one place.
#pragma once

#include <cstddef>

#include "render/view_state.h"
#include "state/bench_state.h"

namespace vm {

// The first frame's clear colour and fog.
enum class SceneClear { kBlack, kFog };

// What the first frame builds in the geometry block (on columns 0..slices and
// rows 0..stacks); a fractal scene rebuilds it on every frame.
enum class SceneGeometry { kNone, kFreeParticles, kRippleShell, kRoughDome, kFractal };

// The window of the complex plane a fractal terrain spans.
struct FractalWindow {
  double reStart, imStart, span;
};

// The animation angle a scene starts from.
enum class SceneAngles { kKeep, kLatticeFromZero, kFrameFrom90 };

enum class SceneTexGen { kNone, kSphereMap, kEyeLinear };

// The set-up, in this order: clear colour and fog, geometry, the point-light
// rig when the scene asks for it, angles, texture generation. Afterwards a
// scene without spot lights gets the point rig anyway.
struct SceneSetupRecipe {
  SceneClear clear;
  SceneGeometry geometry;
  FractalWindow fractal;  // kFractal only
  bool pointRig;
  SceneAngles angles;
  SceneTexGen texGen;
};

enum class SceneRenderer {
  kSphereWave,   // mode: the wave's height
  kSphereGlobe,  // mode: globe mode 0..3
  kTowers,       // mode: tower mode
  kCubeLattice,  // mode: lattice mode
  kLinesPoints,  // no mode
  kSurfaceMesh,  // mode: mesh mode 0..3
};

constexpr int kNoBackdrop = -1;

// The backdrop sphere (texture slot, or kNoBackdrop) drawn first, then the
// renderer.
struct SceneDrawRecipe {
  int backdropTexture;
  float backdropGrey;
  SceneRenderer renderer;
  int mode;
};

// How the status label's format is filled: total and percent, or total,
// the triangle count of the towers, and percent.
enum class SceneLabel { kPlain, kTriangles };

struct SceneRow {
  const char* label;  // status-bar format
  SceneLabel labelKind;
  const char* name;  // as lists and reports name the scene
  // Loaded into BenchState; -1 in a grid, slice, stack or tower field keeps
  // the value an earlier scene left.
  SceneParameters parameters;
  SceneSetupRecipe setup;
  SceneDrawRecipe draw;
};

extern const SceneRow SceneTable[kSceneCount];

// Loads the parameters of BenchState.currentScene and raises sceneChanged;
// for an index outside 0..23 it only raises sceneChanged.
void ApplySceneParameters();

// The status label of `scene` at `percent` into `out`; false (and `out`
// untouched) for an index outside 0..23.
bool FormatSceneLabel(char* out, std::size_t size, int scene, int percent);

// Set-up of BenchState.currentScene, run on a scene's first frame (every
// frame for the processor-test scenes, which re-arm sceneChanged).
void SetupScene(ViewState& view);

// One benchmark frame: the set-up when the scene has just started, then the
// scene's drawing.
void DrawBenchmarkFrame(ViewState& view);

}  // namespace vm
