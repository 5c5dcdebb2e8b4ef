#include "platform/bitmap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

void Put(std::vector<unsigned char>& b, std::size_t at, int bytes, std::uint32_t v) {
  for (int i = 0; i < bytes; ++i) b[at + i] = (v >> (8 * i)) & 0xff;
}

// A bottom-up 24-bit file whose pixel (x, y), y counted from the top, is
// (red x, green y, blue 200); padding bytes are 0xEE so a decoder that
// reads them shows it.
std::vector<unsigned char> MakeFile(int w, int h) {
  const std::size_t stride = (w * 3 + 3) / 4 * 4;
  std::vector<unsigned char> b(54 + stride * h, 0xEE);
  std::fill(b.begin(), b.begin() + 54, 0);
  // clang-format off
  Put(b, 0, 2, 'B' | 'M' << 8); Put(b, 2, 4, static_cast<std::uint32_t>(b.size()));
  Put(b, 10, 4, 54); Put(b, 14, 4, 40); Put(b, 18, 4, w); Put(b, 22, 4, h);
  Put(b, 26, 2, 1); Put(b, 28, 2, 24);
  // clang-format on
  for (int row = 0; row < h; ++row)
    for (int x = 0; x < w; ++x) {
      unsigned char* p = &b[54 + row * stride + x * 3];
      p[0] = 200;
      p[1] = static_cast<unsigned char>(h - 1 - row);
      p[2] = static_cast<unsigned char>(x);
    }
  return b;
}

TEST(Bitmap, DecodesRowsTopFirstInRgbOrderSkippingPadding) {
  for (int sign : {1, -1}) {  // a negative height stores the top row first
    std::vector<unsigned char> b = MakeFile(3, 2);
    Put(b, 22, 4, static_cast<std::uint32_t>(2 * sign));
    vm::Bitmap bm;
    ASSERT_TRUE(vm::DecodeBitmap(b.data(), b.size(), bm));
    ASSERT_EQ(bm.width, 3);
    ASSERT_EQ(bm.height, 2);
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x) {
        const unsigned char* p = &bm.rgb[(y * 3 + x) * 3];
        EXPECT_EQ(p[0], x);
        EXPECT_EQ(p[1], sign > 0 ? y : 1 - y);
        EXPECT_EQ(p[2], 200);
      }
  }
}

// The embedded pictures are the only input; a header that lies is the fuzz
// target's. A cut file never decodes.
TEST(Bitmap, RejectsEveryTruncation) {
  const std::vector<unsigned char> full = MakeFile(5, 3);
  vm::Bitmap bm;
  for (std::size_t n = 0; n < full.size(); ++n)
    EXPECT_FALSE(vm::DecodeBitmap(full.data(), n, bm)) << n << " bytes";
  EXPECT_FALSE(vm::DecodeBitmap(nullptr, 100, bm));
}

}  // namespace
