// Which cell of the font sheet (texture 3) draws a character of a text.
#pragma once

#include <cstddef>

namespace vm {

// The cell (0-191, row-major from the sheet's bottom row: characters 32-126
// in rows 0-5, the Latin-1 letters 160-255 in rows 6-11) of the character
// at text[i] of `size` bytes, UTF-8; `i` moves past it. -1 for a control
// character, which takes no place. A letter the sheet lacks is drawn as its
// base letter (Č as C), anything else as "?"; a byte that is not UTF-8 is
// taken as Latin-1, as older results files hold it.
int NextFontCell(const char* text, size_t size, size_t& i);

}  // namespace vm
