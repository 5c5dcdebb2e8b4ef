// Files of res/ compiled into the executable, looked up by resource number.
#pragma once

#include <cstddef>

namespace vm {

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
