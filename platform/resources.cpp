#include "platform/resources.h"

namespace vm {

const EmbeddedResource* FindResource(int id) {
  for (const EmbeddedResource* r = kEmbeddedResources; r->data; ++r)
    if (r->id == id) return r;
  return nullptr;
}

}  // namespace vm
