// Storage for all geometry the scenes generate: part of the view, never
// allocated per frame or per scene.
#pragma once

namespace vm {

// A particle (active flag, position, velocity per frame) or a grid point
// (position, unit normal; active unused).
struct GeoRecord {
  int active;
  float x, y, z;
  float vx, vy, vz;
};

constexpr int kLatticeSize = 4096;
constexpr int kParticleCount = 10000;
constexpr int kGridSide = 256;

struct GeometryBlock {
  float latticeX[kLatticeSize + 1];
  float latticeY[kLatticeSize + 1];
  float latticeZ[kLatticeSize + 1];
  int latticeCount;
  GeoRecord particles[kParticleCount];
  GeoRecord grid[kGridSide * kGridSide];  // point (c, r) at grid[c * 256 + r]
};

}  // namespace vm
