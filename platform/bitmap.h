// Decoder for the 24-bit uncompressed bitmaps embedded in the program.
#pragma once

#include <cstddef>
#include <vector>

namespace vm {

struct Bitmap {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> rgb;  // red, green, blue per pixel; top row first
};

// Largest width or height accepted; keeps a forged header from asking for
// an absurd buffer.
constexpr int kMaxBitmapSide = 8192;

// Decodes a complete bitmap file. Any input that is not a well-formed 24-bit
// uncompressed picture of 1 to kMaxBitmapSide pixels a side, wholly inside
// `size` bytes, gives false and leaves `out` empty.
bool DecodeBitmap(const unsigned char* data, std::size_t size, Bitmap& out);

}  // namespace vm
