// What a dialog's edit control does to the text typed into it, shared by the
// toolkit's edits, the in-memory ones and the runner's description fields.
#pragma once

#include <string>

namespace vm {

// Applies the control's conversions (upper case, single line, length limit
// in bytes) to `input` appended to `current`. Text is taken as UTF-8: every
// letter with a capital of the same encoded length is upper-cased, and the
// limit never splits a character. Bytes that are not UTF-8 pass unchanged.
// A single-line edit keeps no control characters: line breaks become
// spaces, the others (C1 ones included) '?'.
std::string ApplyEditRules(const std::string& current, const std::string& input, unsigned flags,
                           int maxLength);

// The capital of code point `c`, or `c` itself when it has none that this
// program converts to (see edit_rules.cpp).
char32_t UpperCaseLetter(char32_t c);

}  // namespace vm
