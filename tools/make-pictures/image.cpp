#include "image.h"

#include <cstdint>
#include <cstdio>

unsigned char Clamp8(double v) {
  if (v <= 0) return 0;
  if (v >= 255) return 255;
  return static_cast<unsigned char>(v + 0.5);
}

Rgb Mix(Rgb a, Rgb b, double t) {
  return {Clamp8(a.r + (b.r - a.r) * t), Clamp8(a.g + (b.g - a.g) * t),
          Clamp8(a.b + (b.b - a.b) * t)};
}

namespace {

void Put(std::vector<unsigned char>& out, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

}  // namespace

bool WriteBmp(const Image& image, const std::string& path) {
  const std::uint32_t stride = (image.width * 3 + 3) / 4 * 4;
  const std::uint32_t pixelBytes = stride * image.height;
  std::vector<unsigned char> out;
  out.push_back('B');
  out.push_back('M');
  Put(out, 54 + pixelBytes, 4);
  Put(out, 0, 4);
  Put(out, 54, 4);
  Put(out, 40, 4);
  Put(out, image.width, 4);
  Put(out, image.height, 4);
  Put(out, 1, 2);
  Put(out, 24, 2);
  Put(out, 0, 4);  // uncompressed
  Put(out, pixelBytes, 4);
  Put(out, 2835, 4);  // 72 dpi
  Put(out, 2835, 4);
  Put(out, 0, 4);
  Put(out, 0, 4);
  for (int y = image.height - 1; y >= 0; --y) {
    const Rgb* row = &image.pixels[static_cast<size_t>(y) * image.width];
    for (int x = 0; x < image.width; ++x) {
      out.push_back(row[x].b);
      out.push_back(row[x].g);
      out.push_back(row[x].r);
    }
    for (std::uint32_t pad = image.width * 3; pad < stride; ++pad) out.push_back(0);
  }
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
  return std::fclose(f) == 0 && ok;
}
