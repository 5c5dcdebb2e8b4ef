#include "font_sheet.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdio>

namespace {

constexpr int kCell = 16;
constexpr int kBaseline = 12;  // pixels below a cell's top edge, glyph upright

// Renders `code` upright, centred in its advance, into cell (column, row)
// counted from the picture's bottom-left, then mirrors the cell vertically.
void PutGlyph(FT_Face face, unsigned long code, int column, int row, Image& sheet) {
  if (FT_Load_Char(face, code, FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT) != 0) return;
  const FT_GlyphSlot g = face->glyph;
  const int advance = static_cast<int>(g->advance.x >> 6);
  const int penX = (kCell - advance) / 2;
  const int cellLeft = column * kCell;
  const int cellTop = (15 - row) * kCell;
  for (unsigned int by = 0; by < g->bitmap.rows; ++by)
    for (unsigned int bx = 0; bx < g->bitmap.width; ++bx) {
      const int x = penX + g->bitmap_left + static_cast<int>(bx);
      const int y = kBaseline - g->bitmap_top + static_cast<int>(by);
      if (x < 0 || x >= kCell || y < 0 || y >= kCell) continue;
      const unsigned char v = g->bitmap.buffer[by * g->bitmap.pitch + bx];
      Rgb& p = sheet.at(cellLeft + x, cellTop + (kCell - 1 - y));
      if (v > p.r) p = {v, v, v};
    }
}

}  // namespace

Image MakeFontSheet(const std::string& sansPath, const std::string& serifPath) {
  FT_Library lib;
  if (FT_Init_FreeType(&lib) != 0) return Image(0, 0);
  FT_Face sans = nullptr, serif = nullptr;
  if (FT_New_Face(lib, sansPath.c_str(), 0, &sans) != 0 ||
      FT_New_Face(lib, serifPath.c_str(), 0, &serif) != 0) {
    std::fprintf(stderr, "make-pictures: cannot open %s or %s\n", sansPath.c_str(),
                 serifPath.c_str());
    FT_Done_FreeType(lib);
    return Image(0, 0);
  }
  FT_Set_Pixel_Sizes(sans, 0, 13);
  FT_Set_Pixel_Sizes(serif, 0, 13);
  Image sheet(256, 256);
  // Cell rows 0-5: characters 32-127, the only ones the program draws.
  // Rows 6-11: the Latin-1 letters 160-255. Rows 12-15: 32-95 in the serif face.
  for (int i = 0; i < 96; ++i) {
    if (32 + i != 127) PutGlyph(sans, 32 + i, i % 16, i / 16, sheet);
    PutGlyph(sans, 160 + i, i % 16, 6 + i / 16, sheet);
    if (i < 64) PutGlyph(serif, 32 + i, i % 16, 12 + i / 16, sheet);
  }
  FT_Done_Face(sans);
  FT_Done_Face(serif);
  FT_Done_FreeType(lib);
  return sheet;
}
