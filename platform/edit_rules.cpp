#include "platform/edit_rules.h"

#include "platform/platform.h"
#include "platform/utf8.h"

namespace vm {
namespace {

// Ranges of letters whose lower- and upper-case forms alternate: the upper
// case on even (or odd) code points, the lower case one above.
struct PairedRange {
  char32_t first, last;
  bool upperIsEven;
};
constexpr PairedRange kPairedRanges[] = {
    {0x0100, 0x012F, true},  {0x0132, 0x0137, true},  {0x0139, 0x0148, false},
    {0x014A, 0x0177, true},  {0x0179, 0x017E, false}, {0x01CD, 0x01DC, false},
    {0x01DE, 0x01EF, true},  {0x01F8, 0x021F, true},  {0x0222, 0x0233, true},
    {0x0246, 0x024F, true},  {0x0370, 0x0373, true},  {0x0376, 0x0377, true},
    {0x03D8, 0x03EF, true},  {0x0460, 0x0481, true},  {0x048A, 0x04BF, true},
    {0x04C1, 0x04CE, false}, {0x04D0, 0x052F, true},  {0x1E00, 0x1E95, true},
    {0x1EA0, 0x1EFF, true},
};

// Ranges of lower-case letters a fixed distance above their capitals.
struct ShiftedRange {
  char32_t first, last, shift;
};
constexpr ShiftedRange kShiftedRanges[] = {
    {'a', 'z', 0x20},       {0x00E0, 0x00F6, 0x20}, {0x00F8, 0x00FE, 0x20}, {0x03B1, 0x03C1, 0x20},
    {0x03C3, 0x03CB, 0x20}, {0x03AD, 0x03AF, 0x25}, {0x03CD, 0x03CE, 0x3F}, {0x0430, 0x044F, 0x20},
    {0x0450, 0x045F, 0x50}, {0x0561, 0x0586, 0x30}, {0xFF41, 0xFF5A, 0x20},
};

}  // namespace

// A table rather than towupper: the process locale may not be UTF-8 (or may
// not exist). Letters whose capital takes more or fewer bytes (dotless i,
// long s, sharp s) and the micro sign stay as typed, so the cursor of an
// edit never moves.
char32_t UpperCaseLetter(char32_t c) {
  for (const ShiftedRange& r : kShiftedRanges)
    if (c >= r.first && c <= r.last) return c - r.shift;
  for (const PairedRange& r : kPairedRanges)
    if (c >= r.first && c <= r.last && ((c % 2 == 0) != r.upperIsEven)) return c - 1;
  switch (c) {
    case 0x00FF:
      return 0x0178;
    case 0x01C5:  // the digraphs' title and lower case
    case 0x01C6:
      return 0x01C4;
    case 0x01C8:
    case 0x01C9:
      return 0x01C7;
    case 0x01CB:
    case 0x01CC:
      return 0x01CA;
    case 0x01F2:
    case 0x01F3:
      return 0x01F1;
    case 0x01F5:
      return 0x01F4;
    case 0x01DD:
      return 0x018E;
    case 0x023C:
      return 0x023B;
    case 0x0242:
      return 0x0241;
    case 0x037B:  // Greek variant forms
    case 0x037C:
    case 0x037D:
      return c + 0x82;
    case 0x03D0:
      return 0x0392;
    case 0x03D1:
      return 0x0398;
    case 0x03D5:
      return 0x03A6;
    case 0x03D6:
      return 0x03A0;
    case 0x03D7:
      return 0x03CF;
    case 0x03F0:
      return 0x039A;
    case 0x03F1:
      return 0x03A1;
    case 0x03F2:
      return 0x03F9;
    case 0x03F3:
      return 0x037F;
    case 0x03F5:
      return 0x0395;
    case 0x03F8:
      return 0x03F7;
    case 0x03FB:
      return 0x03FA;
    case 0x04CF:
      return 0x04C0;
    case 0x1E9B:
      return 0x1E60;
    case 0x03AC:
      return 0x0386;
    case 0x03C2:  // final sigma
      return 0x03A3;
    case 0x03CC:
      return 0x038C;
    default:
      return c;
  }
}

std::string ApplyEditRules(const std::string& current, const std::string& input, unsigned flags,
                           int maxLength) {
  std::string out = current;
  for (size_t i = 0; i < input.size();) {
    char32_t c;
    size_t len = DecodeUtf8(input, i, c);
    std::string piece;
    if (len == 0) {
      len = 1;
      piece = input.substr(i, 1);
    } else {
      if ((flags & kSingleLine) && (c == '\n' || c == '\r')) c = ' ';
      // A stored name is printed on other people's terminals.
      if ((flags & kSingleLine) && (c < 0x20 || (c >= 0x7F && c < 0xA0))) c = '?';
      if (flags & kUpperCase) c = UpperCaseLetter(c);
      piece = EncodeUtf8(c);
    }
    if (maxLength > 0 && out.size() + piece.size() > static_cast<size_t>(maxLength)) break;
    out += piece;
    i += len;
  }
  return out;
}

}  // namespace vm
