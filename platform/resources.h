// Files of res/ compiled into the executable, looked up by resource number.
#pragma once

#include <cstddef>

namespace vm {

// The resources the program uses: res/N.bmp is resource N.
constexpr int kProgramIconResource = 128;
constexpr int kCloudsResource = 132;
constexpr int kTartanResource = 136;
constexpr int kChromeResource = 137;
constexpr int kFontSheetResource = 144;

struct EmbeddedResource {
  int id;
  const unsigned char* data;
  std::size_t size;
};

// Ends with an entry whose data is nullptr.
extern const EmbeddedResource kEmbeddedResources[];

// nullptr when the program has no resource `id`.
const EmbeddedResource* FindResource(int id);

}  // namespace vm
