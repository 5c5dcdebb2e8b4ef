// Arbitrary bytes as an embedded picture: decoded or refused, never a crash.
#include <cstddef>
#include <cstdint>

#include "platform/bitmap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vm::Bitmap bitmap;
  if (vm::DecodeBitmap(data, size, bitmap)) {
    // A decoded picture holds exactly its pixels.
    if (bitmap.rgb.size() != static_cast<size_t>(bitmap.width) * bitmap.height * 3)
      __builtin_trap();
  } else if (!bitmap.rgb.empty()) {
    __builtin_trap();
  }
  return 0;
}
