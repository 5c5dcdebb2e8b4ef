#include "render/textures.h"

namespace vm {

int LoadTexture(ViewState& view, Platform& /*platform*/, int /*resourceId*/, int index) {
  glGenTextures(1, &view.textures[index]);
  glBindTexture(GL_TEXTURE_2D, view.textures[index]);
  return 1;
}

}  // namespace vm
