// 8-bit RGB pictures and their PNG form, through libpng. The encoder writes
// no time or text chunks, so the same picture always gives the same bytes.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace vm {

struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> pixels;  // rows top to bottom, 3 bytes a pixel
};

// False with `error` set when libpng fails.
bool EncodePng(const RgbImage& image, std::string& png, std::string& error);
// Any PNG libpng reads, turned into 8-bit RGB; false with `error` set on
// damaged or unreadable data.
bool DecodePng(const unsigned char* data, std::size_t size, RgbImage& image, std::string& error);

}  // namespace vm
