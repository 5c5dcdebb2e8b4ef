#include "render/font_cells.h"

#include "platform/utf8.h"

namespace vm {
namespace {

constexpr int kLatin1Cells = 96;  // cells of characters 160-255 begin here

// Base letters of U+0100-U+017F (Latin Extended-A), one per code point.
constexpr char kExtendedABase[] =
    "AaAaAaCcCcCcCcDdDdEeEeEeEeEeGgGgGgGgHhHhIiIiIiIiIiIiJjKkkLlLlLlLlLlNnNnNnnNnOoOoOoOoRrRrRrSsSs"
    "SsSsTtTtTtUuUuUuUuUuUuWwYyYZzZzZzs";
static_assert(sizeof kExtendedABase - 1 == 0x80, "one letter per code point");

int CellOf(char32_t c) {
  if (c >= 32 && c < 127) return static_cast<int>(c) - 32;
  if (c >= 160 && c <= 255) return kLatin1Cells + static_cast<int>(c) - 160;
  if (c >= 0x100 && c < 0x180) return kExtendedABase[c - 0x100] - 32;
  if (c == 0x2018 || c == 0x2019) return '\'' - 32;  // typographic quotes and dashes
  if (c == 0x201C || c == 0x201D) return '"' - 32;
  if (c == 0x2013 || c == 0x2014) return '-' - 32;
  return '?' - 32;
}

}  // namespace

int NextFontCell(const char* text, size_t size, size_t& i) {
  char32_t c = 0;
  size_t length = DecodeUtf8(text, size, i, c);
  if (length == 0) {  // not UTF-8: a Latin-1 byte
    c = static_cast<unsigned char>(text[i]);
    length = 1;
    if (c >= 0x80 && c < 0xA0) c = '?';
  }
  i += length;
  if (c < 32 || c == 127 || (c >= 0x80 && c < 0xA0)) return -1;  // control characters
  return CellOf(c);
}

}  // namespace vm
