// The scenes' building blocks: the geometry block's set-up, the grid
// generators and the renderers that the catalogue's rows name. Every renderer is a plain function
// of BenchState and the view's members; all geometry lives in the view's GeometryBlock.
#pragma once

#include <cstdlib>

#include "render/view_state.h"

namespace vm {

// Construction-time contents: zero-filled records, the 4096-entry lattice
// (x fastest) and every particle free.
void InitGeometryBlock(GeometryBlock& geo);

// Grid generators on columns 0..n and rows 0..m. Sizes beyond the grid are
// cut to 254 columns and 255 rows (the normal pass reads column n + 1).
void BuildRippleShell(GeometryBlock& geo, int n, int m);
void BuildRoughDome(GeometryBlock& geo, int n, int m);
void BuildFractalTerrain(GeometryBlock& geo, int n, int m, double reStart, double imStart,
                         double span);
void SmoothGridHeights(GeometryBlock& geo, int n, int m);
void ComputeGridNormals(GeometryBlock& geo, int n, int m);

constexpr int kMaxMeshColumns = kGridSide - 2;
constexpr int kMaxMeshRows = kGridSide - 1;
inline int MeshColumns(int n) {
  return n < kMaxMeshColumns ? n : kMaxMeshColumns;
}
inline int MeshRows(int m) {
  return m < kMaxMeshRows ? m : kMaxMeshRows;
}

// The camera of every scene, loaded right after the renderer's first push.
inline void SceneCamera() {
  gluLookAt(10.0, 10.0, 10.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
}

// (rand() % 100) - (rand() % 100), the first draw's remainder minus the
// second's: separate statements keep the order of the sequence fixed.
inline int RandomJitter() {
  const int a = std::rand() % 100;
  const int b = std::rand() % 100;
  return a - b;
}

// Renderers.
void DrawSkySphere(ViewState& view, int textureIndex, float grey);
void DrawSphereWave(ViewState& view, float heightScale);
void DrawSphereGlobe(ViewState& view, int mode);
void DrawTowers(ViewState& view, int mode);
void DrawCubeLattice(ViewState& view, int mode);
void DrawSurfaceMesh(ViewState& view, unsigned mode);
void DrawLinesPointsSpheres(ViewState& view);
void SpawnParticle(ViewState& view, float x, float y, float z);

}  // namespace vm
