#include "platform/fltk/fltk_icon.h"

#include <FL/Fl_RGB_Image.H>

#include <map>
#include <memory>

#include "platform/bitmap.h"
#include "platform/resources.h"

namespace vm {
namespace {

struct Icon {
  Bitmap pixels;
  std::unique_ptr<Fl_RGB_Image> image;
};

}  // namespace

Fl_RGB_Image* IconImage(int resourceId) {
  static std::map<int, Icon> icons;
  auto found = icons.find(resourceId);
  if (found != icons.end()) return found->second.image.get();
  Icon& icon = icons[resourceId];
  const EmbeddedResource* res = FindResource(resourceId);
  if (res && DecodeBitmap(res->data, res->size, icon.pixels))
    icon.image = std::make_unique<Fl_RGB_Image>(icon.pixels.rgb.data(), icon.pixels.width,
                                                icon.pixels.height, 3);
  return icon.image.get();
}

}  // namespace vm
