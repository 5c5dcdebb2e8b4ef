#include "platform/utf8.h"

namespace vm {

size_t DecodeUtf8(const std::string& s, size_t i, char32_t& c) {
  return DecodeUtf8(s.data(), s.size(), i, c);
}

size_t DecodeUtf8(const char* s, size_t size, size_t i, char32_t& c) {
  if (i >= size) return 0;
  const unsigned char b = static_cast<unsigned char>(s[i]);
  size_t len;
  char32_t min;
  if (b < 0x80) {
    c = b;
    return 1;
  } else if ((b & 0xE0) == 0xC0) {
    len = 2, c = b & 0x1F, min = 0x80;
  } else if ((b & 0xF0) == 0xE0) {
    len = 3, c = b & 0x0F, min = 0x800;
  } else if ((b & 0xF8) == 0xF0) {
    len = 4, c = b & 0x07, min = 0x10000;
  } else {
    return 0;
  }
  if (i + len > size) return 0;
  for (size_t k = 1; k < len; ++k) {
    const unsigned char cont = static_cast<unsigned char>(s[i + k]);
    if ((cont & 0xC0) != 0x80) return 0;
    c = (c << 6) | (cont & 0x3F);
  }
  if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
  return len;
}

std::string EncodeUtf8(char32_t c) {
  std::string out;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
  return out;
}

std::string TerminalText(const std::string& text) {
  // Names come from files other people send: escapes must not reach a
  // terminal, neither C0 controls nor C1 ones (U+0080-U+009F: CSI, OSC,
  // ST), in UTF-8 or as single bytes, nor a line end that forges a line.
  std::string out;
  for (size_t i = 0; i < text.size();) {
    const unsigned char u = static_cast<unsigned char>(text[i]);
    char32_t c = u;
    const size_t n = u < 0x80 ? 1 : DecodeUtf8(text, i, c);
    if (n == 0 || c < 0x20 || (c >= 0x7F && c < 0xA0)) {
      out += '?';
      i += n == 0 ? 1 : n;
    } else {
      out.append(text, i, n);
      i += n;
    }
  }
  return out;
}

}  // namespace vm
