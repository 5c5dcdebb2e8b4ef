// The processor-built grids of the surface scenes. Degrees go to radians with
// 0.01745 (not pi/180) and the arithmetic is double until the store, so the
// meshes are the same point for point wherever the benchmark runs.
#include <cmath>
#include <cstdlib>

#include "scenes/scenes.h"

namespace vm {

namespace {

constexpr double kDegToRad = 0.01745;

struct Vec3d {
  double x, y, z;
};

double VectorLength(double x, double y, double z) {
  return std::sqrt(x * x + y * y + z * z);
}

Vec3d CrossProduct(const Vec3d& u, const Vec3d& v) {
  return {u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x};
}

// Two coincident neighbours give a zero cross product; an upward normal keeps
// the mesh finite instead of dividing by zero.
Vec3d Normalize(const Vec3d& v) {
  const double len = VectorLength(v.x, v.y, v.z);
  if (!(len > 0.0)) return {0.0, 1.0, 0.0};
  return {v.x / len, v.y / len, v.z / len};
}

inline GeoRecord& At(GeometryBlock& geo, int c, int r) {
  return geo.grid[c * kGridSide + r];
}

}  // namespace

void BuildRippleShell(GeometryBlock& geo, int n, int m) {
  n = MeshColumns(n);
  m = MeshRows(m);
  const float stepU = 330.0f / n;
  const float stepV = 180.0f / m;
  for (int r = 0; r <= m; ++r) {
    const float theta = r * stepV;
    double w = 4.0 * std::sin(theta * kDegToRad);
    const double ct = std::cos(theta * kDegToRad);
    for (int c = 0; c <= n; ++c) {
      w = w + 0.04 * std::sin((r + c) * 4 * kDegToRad);
      const double phi = (c * stepU - 90.0f) * kDegToRad;
      GeoRecord& p = At(geo, c, r);
      p.x = static_cast<float>(w * std::cos(phi));
      p.y = static_cast<float>(w * ct);
      p.z = static_cast<float>(w * std::sin(phi));
    }
  }
}

void BuildRoughDome(GeometryBlock& geo, int n, int m) {
  n = MeshColumns(n);
  m = MeshRows(m);
  const float stepU = 180.0f / n;
  const float stepV = 180.0f / m;
  double radius = 6.0;
  for (int r = 0; r <= m; ++r) {
    const float theta = r * stepV;
    double h = 6.0 * std::sin(theta * kDegToRad);
    const double zr = radius * std::cos(theta * kDegToRad);
    for (int c = 0; c <= n; ++c) {
      h = h + RandomJitter() * 0.0002;
      const double phi = (c * stepU - 90.0f) * kDegToRad;
      GeoRecord& p = At(geo, c, r);
      p.x = static_cast<float>(h * std::cos(phi));
      p.y = static_cast<float>(h * std::sin(phi));
      p.z = static_cast<float>(zr);
    }
    radius = radius + RandomJitter() * 0.0002;
  }
}

void BuildFractalTerrain(GeometryBlock& geo, int n, int m, double reStart, double imStart,
                         double span) {
  n = MeshColumns(n);
  m = MeshRows(m);
  const double dRe = span / n;
  const double dIm = span / m;
  for (int r = 0; r <= m; ++r) {
    const double ci = r * dIm + imStart;
    for (int c = 0; c <= n; ++c) {
      const double cr = c * dRe + reStart;
      double zr = 0.0, zi = 0.0;
      int i = 0;
      while (i < 64) {
        const double nr = zr * zr - zi * zi + cr;
        zi = 2.0 * zr * zi + ci;
        zr = nr;
        ++i;
        if (zr * zr + zi * zi >= 4.0) break;
      }
      GeoRecord& p = At(geo, c, r);
      p.x = static_cast<float>((c - n * 0.5) * 0.05);
      p.y = static_cast<float>(i * 0.03125 + 1.0);
      p.z = static_cast<float>((r - m * 0.5) * 0.05);
    }
  }
}

// In place, rows outermost: a point already sees the smoothed heights of the
// row before it and of its left neighbour.
void SmoothGridHeights(GeometryBlock& geo, int n, int m) {
  n = MeshColumns(n);
  m = MeshRows(m);
  for (int r = 1; r <= m - 1; ++r) {
    for (int c = 1; c <= n - 1; ++c) {
      // Single precision throughout: nine heights of 3.0 give exactly 3.0.
      float sum = 0.0f;
      for (int dc = -1; dc <= 1; ++dc) {
        const GeoRecord* col = &geo.grid[(c + dc) * kGridSide + r];
        sum += col[-1].y;
        sum += col[0].y;
        sum += col[1].y;
      }
      At(geo, c, r).y = sum * 0.11111111f;
    }
  }
}

// Column n reads column n + 1, outside the generated area, as it is.
void ComputeGridNormals(GeometryBlock& geo, int n, int m) {
  n = MeshColumns(n);
  m = MeshRows(m);
  for (int r = 0; r <= m - 1; ++r) {
    for (int c = 0; c <= n; ++c) {
      GeoRecord& p = At(geo, c, r);
      const GeoRecord& right = At(geo, c + 1, r);
      const GeoRecord& up = At(geo, c, r + 1);
      const Vec3d d1 = {static_cast<double>(p.x) - right.x, static_cast<double>(p.y) - right.y,
                        static_cast<double>(p.z) - right.z};
      const Vec3d d2 = {static_cast<double>(p.x) - up.x, static_cast<double>(p.y) - up.y,
                        static_cast<double>(p.z) - up.z};
      const Vec3d nrm = Normalize(CrossProduct(d1, d2));
      p.vx = static_cast<float>(nrm.x);
      p.vy = static_cast<float>(nrm.y);
      p.vz = static_cast<float>(nrm.z);
    }
  }
}

}  // namespace vm
