#include "platform/bitmap.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/resources.h"

namespace {

void Put16(std::vector<unsigned char>& b, std::size_t at, std::uint32_t v) {
  b[at] = v & 0xff;
  b[at + 1] = (v >> 8) & 0xff;
}
void Put32(std::vector<unsigned char>& b, std::size_t at, std::uint32_t v) {
  Put16(b, at, v & 0xffff);
  Put16(b, at + 2, v >> 16);
}

// A bottom-up 24-bit file whose pixel (x, y), y counted from the top, is
// (red x, green y, blue 200); padding bytes are 0xEE so a decoder that
// reads them shows it.
std::vector<unsigned char> MakeFile(int w, int h) {
  const std::size_t stride = (w * 3 + 3) / 4 * 4;
  std::vector<unsigned char> b(54 + stride * h, 0xEE);
  b[0] = 'B';
  b[1] = 'M';
  Put32(b, 2, static_cast<std::uint32_t>(b.size()));
  Put32(b, 6, 0);
  Put32(b, 10, 54);
  Put32(b, 14, 40);
  Put32(b, 18, static_cast<std::uint32_t>(w));
  Put32(b, 22, static_cast<std::uint32_t>(h));
  Put16(b, 26, 1);
  Put16(b, 28, 24);
  for (std::size_t i = 30; i < 54; ++i) b[i] = 0;
  for (int row = 0; row < h; ++row) {
    const int y = h - 1 - row;
    for (int x = 0; x < w; ++x) {
      unsigned char* p = &b[54 + row * stride + x * 3];
      p[0] = 200;
      p[1] = static_cast<unsigned char>(y);
      p[2] = static_cast<unsigned char>(x);
    }
  }
  return b;
}

bool Decode(const std::vector<unsigned char>& b, vm::Bitmap& out) {
  return vm::DecodeBitmap(b.data(), b.size(), out);
}

TEST(Bitmap, DecodesRowsTopFirstInRgbOrderSkippingPadding) {
  vm::Bitmap bm;
  ASSERT_TRUE(Decode(MakeFile(3, 2), bm));
  EXPECT_EQ(bm.width, 3);
  EXPECT_EQ(bm.height, 2);
  ASSERT_EQ(bm.rgb.size(), 18u);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) {
      const unsigned char* p = &bm.rgb[(y * 3 + x) * 3];
      EXPECT_EQ(p[0], x);
      EXPECT_EQ(p[1], y);
      EXPECT_EQ(p[2], 200);
    }
}

TEST(Bitmap, NegativeHeightMeansTopRowFirst) {
  std::vector<unsigned char> b = MakeFile(1, 2);
  Put32(b, 22, static_cast<std::uint32_t>(-2));
  vm::Bitmap bm;
  ASSERT_TRUE(Decode(b, bm));
  EXPECT_EQ(bm.height, 2);
  EXPECT_EQ(bm.rgb[1], 1);  // the file's first row now comes first
  EXPECT_EQ(bm.rgb[4], 0);
}

TEST(Bitmap, RejectsMalformedHeaders) {
  struct Case {
    const char* what;
    std::size_t at;
    int bytes;
    std::uint32_t value;
  } cases[] = {
      {"magic", 0, 2, 'B' | 'X' << 8},
      {"8-bit pixels", 28, 2, 8},
      {"32-bit pixels", 28, 2, 32},
      {"planes", 26, 2, 0},
      {"run-length compression", 30, 4, 1},
      {"zero width", 18, 4, 0},
      {"negative width", 18, 4, static_cast<std::uint32_t>(-3)},
      {"zero height", 22, 4, 0},
      {"huge width", 18, 4, 0x7fffffff},
      {"huge height", 22, 4, 0x7fffffff},
      {"most negative height", 22, 4, 0x80000000u},
      {"side over the limit", 18, 4, vm::kMaxBitmapSide + 1},
      {"short info header", 14, 4, 12},
      {"info header past the end", 14, 4, 0xfffffff0u},
      {"pixels past the end", 10, 4, 60},
      {"pixel offset inside the header", 10, 4, 20},
      {"pixel offset far out", 10, 4, 0xffffffffu},
  };
  for (const Case& c : cases) {
    std::vector<unsigned char> b = MakeFile(3, 2);
    if (c.bytes == 2)
      Put16(b, c.at, c.value);
    else
      Put32(b, c.at, c.value);
    vm::Bitmap bm;
    EXPECT_FALSE(Decode(b, bm)) << c.what;
    EXPECT_EQ(bm.width, 0) << c.what;
    EXPECT_TRUE(bm.rgb.empty()) << c.what;
  }
}

TEST(Bitmap, RejectsEveryTruncationAndEmptyInput) {
  const std::vector<unsigned char> full = MakeFile(5, 3);
  vm::Bitmap bm;
  for (std::size_t n = 0; n < full.size(); ++n)
    EXPECT_FALSE(vm::DecodeBitmap(full.data(), n, bm)) << n << " bytes";
  EXPECT_FALSE(vm::DecodeBitmap(nullptr, 100, bm));
  EXPECT_TRUE(vm::DecodeBitmap(full.data(), full.size(), bm));
}

TEST(Bitmap, EmbeddedPicturesAndIconsDecodeAtTheirSizes) {
  struct Case {
    int id, side;
  } cases[] = {{132, 256}, {136, 128}, {137, 128}, {144, 256}, {128, 32}, {129, 32}};
  for (const Case& c : cases) {
    const vm::EmbeddedResource* r = vm::FindResource(c.id);
    ASSERT_NE(r, nullptr) << c.id;
    vm::Bitmap bm;
    ASSERT_TRUE(vm::DecodeBitmap(r->data, r->size, bm)) << c.id;
    EXPECT_EQ(bm.width, c.side) << c.id;
    EXPECT_EQ(bm.height, c.side) << c.id;
  }
}

}  // namespace
