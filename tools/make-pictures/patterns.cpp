#include "patterns.h"

#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

namespace {

const double kPi = 3.14159265358979323846;

double Smoothstep(double a, double b, double x) {
  const double t = x <= a ? 0 : x >= b ? 1 : (x - a) / (b - a);
  return t * t * (3 - 2 * t);
}

// Fixed hash so that every run writes identical files.
double Lattice(int x, int y, std::uint32_t seed) {
  std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u +
                    static_cast<std::uint32_t>(y) * 668265263u + seed * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  h ^= h >> 16;
  return (h & 0xffffff) / static_cast<double>(0xffffff);
}

// Value noise on a lattice that repeats every `period` cells, so the
// pictures tile when a texture wraps.
double Noise(double u, double v, int period, std::uint32_t seed) {
  const int x0 = static_cast<int>(std::floor(u)), y0 = static_cast<int>(std::floor(v));
  const double fx = Smoothstep(0, 1, u - x0), fy = Smoothstep(0, 1, v - y0);
  auto at = [&](int x, int y) {
    return Lattice(((x % period) + period) % period, ((y % period) + period) % period, seed);
  };
  const double top = at(x0, y0) + (at(x0 + 1, y0) - at(x0, y0)) * fx;
  const double bottom = at(x0, y0 + 1) + (at(x0 + 1, y0 + 1) - at(x0, y0 + 1)) * fx;
  return top + (bottom - top) * fy;
}

// Fractal sum over octaves, (u, v) in [0, 1); result about 0..1.
double Fbm(double u, double v, int octaves, int basePeriod, std::uint32_t seed) {
  double sum = 0, amplitude = 0.5, norm = 0;
  int period = basePeriod;
  for (int o = 0; o < octaves; ++o) {
    sum += amplitude * Noise(u * period, v * period, period, seed + o);
    norm += amplitude;
    amplitude *= 0.5;
    period *= 2;
  }
  return sum / norm;
}

// A lit sphere of radius `r` at (cx, cy), light from the upper left,
// blended in by its edge coverage.
void DrawBall(Image& img, double cx, double cy, double r, Rgb base) {
  const double lx = -0.45, ly = -0.6, lz = 0.66;
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) {
      const double dx = (x + 0.5 - cx) / r, dy = (y + 0.5 - cy) / r;
      const double d = std::sqrt(dx * dx + dy * dy);
      const double cover = std::fmin(1.0, std::fmax(0.0, (1.0 - d) * r + 0.5));
      if (cover <= 0) continue;
      const double nz = std::sqrt(std::fmax(0.0, 1 - dx * dx - dy * dy));
      const double diffuse = std::fmax(0.0, dx * lx + dy * ly + nz * lz);
      const double highlight = std::pow(std::fmax(0.0, 2 * diffuse * nz - lz), 24);
      const double k = 0.25 + 0.75 * diffuse;
      const Rgb lit = {Clamp8(base.r * k + 255 * highlight), Clamp8(base.g * k + 255 * highlight),
                       Clamp8(base.b * k + 255 * highlight)};
      img.at(x, y) = Mix(img.at(x, y), lit, cover);
    }
}

void FillRect(Image& img, int x0, int y0, int x1, int y1, Rgb c) {
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) img.at(x, y) = c;
}

}  // namespace

Image MakeClouds(int side) {
  Image img(side, side);
  const Rgb zenith = {38, 88, 186}, horizon = {142, 184, 232};
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x) {
      const double u = (x + 0.5) / side, v = (y + 0.5) / side;
      const Rgb sky = Mix(zenith, horizon, v);
      const double d = Fbm(u, v, 6, 4, 17);
      const double cover = Smoothstep(0.42, 0.68, d);
      // Thick cloud is greyer, as if shadowed from above.
      const double shade = 1.0 - 0.38 * Smoothstep(0.6, 0.85, d);
      const Rgb cloud = {Clamp8(248 * shade), Clamp8(248 * shade), Clamp8(252 * shade)};
      img.at(x, y) = Mix(sky, cloud, cover);
    }
  return img;
}

Image MakeTartan(int side) {
  const Rgb blue = {30, 54, 132}, green = {22, 98, 54}, white = {232, 234, 228};
  // Half of a symmetric sett, 32 threads; mirrored it repeats every 64.
  const std::vector<std::pair<Rgb, int>> half = {{blue, 10},  {white, 2}, {blue, 4},
                                                 {green, 12}, {white, 2}, {green, 2}};
  std::vector<Rgb> sett;
  for (const auto& [c, n] : half) sett.insert(sett.end(), n, c);
  for (int i = static_cast<int>(sett.size()) - 1; i >= 0 && sett.size() < 64; --i)
    sett.push_back(sett[i]);
  Image img(side, side);
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x) {
      // 2/2 twill: warp and weft take turns in steps running diagonally.
      const bool warp = ((x - y + 64 * side) % 4) < 2;
      const Rgb c = warp ? sett[x % 64] : sett[y % 64];
      const double grain = 0.9 + 0.1 * Lattice(x, y, 5) - (warp ? 0.0 : 0.06);
      img.at(x, y) = {Clamp8(c.r * grain), Clamp8(c.g * grain), Clamp8(c.b * grain)};
    }
  return img;
}

Image MakeChrome(int side) {
  Image img(side, side);
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x) {
      const double u = (x + 0.5) / side, v = (y + 0.5) / side;
      // A horizon reflected in a rippled liquid surface.
      const double w = v + 0.09 * std::sin(2 * kPi * (2 * u + 0.4 * std::sin(2 * kPi * v))) +
                       0.05 * std::sin(2 * kPi * (3 * v - u)) + 0.04 * (Fbm(u, v, 3, 4, 91) - 0.5);
      const double band = 0.5 + 0.5 * std::sin(2 * kPi * 2.5 * w);
      double g = 40 + 190 * std::pow(band, 1.6);
      g += 60 * std::pow(std::fmax(0.0, std::sin(2 * kPi * 5 * w + 1.0)), 12);  // glints
      img.at(x, y) = {Clamp8(g), Clamp8(g), Clamp8(g * 1.03 + 3)};
    }
  return img;
}

Image MakeProgramIcon(int side) {
  // Drawn on a 32-unit grid, so every size is the same picture, sharp.
  const double s = side / 32.0;
  const auto at = [s](int v) { return static_cast<int>(std::lround(v * s)); };
  Image img(side, side);
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x)
      img.at(x, y) = Mix({12, 20, 60}, {30, 60, 130}, y / (side - 1.0));
  FillRect(img, at(3), at(20), at(9), at(29), {60, 190, 80});
  FillRect(img, at(11), at(14), at(17), at(29), {230, 200, 40});
  FillRect(img, at(19), at(8), at(25), at(29), {220, 60, 40});
  DrawBall(img, 21.5 * s, 11.5 * s, 8.5 * s, {90, 150, 255});
  return img;
}

Image MakeDocumentIcon() {
  Image img(32, 32);
  for (Rgb& p : img.pixels) p = {255, 255, 255};
  const Rgb edge = {70, 70, 70}, paper = {250, 250, 246};
  FillRect(img, 6, 2, 26, 30, edge);
  FillRect(img, 7, 3, 25, 29, paper);
  for (int i = 0; i < 6; ++i) FillRect(img, 19 + i, 2, 26, 3 + i, {255, 255, 255});
  for (int i = 0; i < 6; ++i) img.at(19 + i, 2 + i) = edge;
  for (int y = 20; y < 28; y += 3) FillRect(img, 9, y, 23, y + 1, {150, 150, 160});
  DrawBall(img, 14.5, 11.5, 6.0, {90, 150, 255});
  return img;
}
