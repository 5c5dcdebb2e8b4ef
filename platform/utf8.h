// The one UTF-8 decoder and encoder of the program: names, descriptions and
// texts are UTF-8 wherever they are read, edited, drawn or written out.
#pragma once

#include <string>

namespace vm {

// Decodes one character at `s[i]` into `c`; returns its length in bytes, 0
// when the bytes there are not well-formed UTF-8 (overlong forms, surrogates
// and code points above U+10FFFF included).
size_t DecodeUtf8(const std::string& s, size_t i, char32_t& c);
// The same on the `size` bytes at `s`, for the drawers, which allocate nothing.
size_t DecodeUtf8(const char* s, size_t size, size_t i, char32_t& c);

std::string EncodeUtf8(char32_t c);

// Text from a file or the command line as it may reach a terminal: C0 and
// C1 controls (CR and LF among them) and DEL replaced by '?', and so is
// each byte that is not part of valid UTF-8.
std::string TerminalText(const std::string& text);

}  // namespace vm
