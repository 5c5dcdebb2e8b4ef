// Writes the program's pictures into a resource folder:
//   make-pictures OUT_DIR SANS_FONT SERIF_FONT [ICON_DIR]
// ICON_DIR gets the program icon at the desktop's sizes (velmark3-N.bmp).
// Everything is computed from fixed seeds, so reruns give the same files.
#include <cstdio>
#include <string>

#include "font_sheet.h"
#include "patterns.h"

int main(int argc, char** argv) {
  if (argc != 4 && argc != 5) {
    std::fprintf(stderr, "usage: %s OUT_DIR SANS_FONT SERIF_FONT [ICON_DIR]\n", argv[0]);
    return 2;
  }
  const std::string dir = argv[1];
  const Image font = MakeFontSheet(argv[2], argv[3]);
  if (font.width == 0) return 1;
  const struct {
    const char* name;
    Image image;
  } outputs[] = {
      {"128.bmp", MakeProgramIcon()}, {"129.bmp", MakeDocumentIcon()}, {"132.bmp", MakeClouds(256)},
      {"136.bmp", MakeTartan(128)},   {"137.bmp", MakeChrome(128)},    {"144.bmp", font},
  };
  for (const auto& o : outputs) {
    const std::string path = dir + "/" + o.name;
    if (!WriteBmp(o.image, path)) {
      std::fprintf(stderr, "make-pictures: cannot write %s\n", path.c_str());
      return 1;
    }
  }
  for (int side : {48, 128, 256}) {
    if (argc < 5) break;
    const std::string path = std::string(argv[4]) + "/velmark3-" + std::to_string(side) + ".bmp";
    if (!WriteBmp(MakeProgramIcon(side), path)) {
      std::fprintf(stderr, "make-pictures: cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
