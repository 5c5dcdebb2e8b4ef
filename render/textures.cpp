#include "render/textures.h"

#include <cstddef>
#include <vector>

#include "platform/bitmap.h"
#include "platform/resources.h"

namespace vm {

int LoadTexture(ViewState& view, Platform& platform, int resourceId, int index) {
  // Start-up goes on when the context could not be made (already reported);
  // the mipmap builder would crash without one, the other calls do nothing.
  if (!glGetString(GL_VERSION)) return 1;
  const EmbeddedResource* res = FindResource(resourceId);
  Bitmap picture;
  const bool decoded = res && DecodeBitmap(res->data, res->size, picture);

  glGenTextures(1, &view.textures[index]);
  glBindTexture(GL_TEXTURE_2D, view.textures[index]);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
  if (!decoded) {
    // The texture object stays, without an image, so binding it is harmless.
    platform.MessageBox("Error Loading Texture");
    return 1;
  }

  // The texel layout a 32-bit display's pixel copy gives: top row first,
  // bytes blue, green, red, unused, declared as RGBA, so red and blue come
  // out exchanged.
  const std::size_t texels = static_cast<std::size_t>(picture.width) * picture.height;
  std::vector<unsigned char> buffer(texels * 4);
  for (std::size_t i = 0; i < texels; ++i) {
    buffer[i * 4 + 0] = picture.rgb[i * 3 + 2];
    buffer[i * 4 + 1] = picture.rgb[i * 3 + 1];
    buffer[i * 4 + 2] = picture.rgb[i * 3 + 0];
    buffer[i * 4 + 3] = 0xff;
  }
  gluBuild2DMipmaps(GL_TEXTURE_2D, 4, picture.width, picture.height, GL_RGBA, GL_UNSIGNED_BYTE,
                    buffer.data());
  return 1;
}

}  // namespace vm
