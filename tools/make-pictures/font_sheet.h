// The 256 x 256 font sheet: 16 x 16 cells of 16 x 16 pixels, white glyphs on
// black, each glyph flipped top to bottom inside its cell because the program
// uploads the picture top row first and draws cell row 0 (characters 32 to
// 47) from the picture's bottom cell row.
#pragma once

#include <string>

#include "image.h"

// Empty image (width 0) with a message on stderr if a font cannot be used.
Image MakeFontSheet(const std::string& sansPath, const std::string& serifPath);
