#include "platform/bitmap.h"

#include <cstdint>

namespace vm {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;  // the oldest header with 24-bit pixels

std::uint32_t U16(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8;
}
std::uint32_t U32(const unsigned char* p) {
  return U16(p) | U16(p + 2) << 16;
}
std::int32_t I32(const unsigned char* p) {
  return static_cast<std::int32_t>(U32(p));
}

}  // namespace

bool DecodeBitmap(const unsigned char* data, std::size_t size, Bitmap& out) {
  out = Bitmap();
  if (!data || size < kFileHeaderSize + kInfoHeaderSize) return false;
  if (data[0] != 'B' || data[1] != 'M') return false;
  const std::uint32_t pixelOffset = U32(data + 10);
  const unsigned char* info = data + kFileHeaderSize;
  const std::uint32_t infoSize = U32(info);
  // Later header versions only append fields, so any of them reads the same.
  if (infoSize < kInfoHeaderSize || infoSize > size - kFileHeaderSize) return false;
  const std::int32_t width = I32(info + 4);
  const std::int32_t rawHeight = I32(info + 8);
  if (U16(info + 12) != 1 || U16(info + 14) != 24 || U32(info + 16) != 0) return false;
  if (width < 1 || width > kMaxBitmapSide) return false;
  // A negative height marks rows stored top first; checked before negating.
  if (rawHeight == 0 || rawHeight < -kMaxBitmapSide || rawHeight > kMaxBitmapSide) return false;
  const bool topDown = rawHeight < 0;
  const int height = topDown ? -rawHeight : rawHeight;

  const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
  const std::size_t pixelBytes = stride * static_cast<std::size_t>(height);
  if (pixelOffset < kFileHeaderSize + infoSize || pixelOffset > size ||
      size - pixelOffset < pixelBytes)
    return false;

  out.width = width;
  out.height = height;
  out.rgb.resize(static_cast<std::size_t>(width) * height * 3);
  for (int y = 0; y < height; ++y) {
    const unsigned char* src = data + pixelOffset + stride * (topDown ? y : height - 1 - y);
    unsigned char* dst = out.rgb.data() + static_cast<std::size_t>(y) * width * 3;
    for (int x = 0; x < width; ++x, src += 3, dst += 3) {
      dst[0] = src[2];
      dst[1] = src[1];
      dst[2] = src[0];
    }
  }
  return true;
}

}  // namespace vm
