// What a typed field keeps: one line (a line break would split a saved
// record), capitals, and no more than the field's limit, in UTF-8.
#include "platform/edit_rules.h"

#include <gtest/gtest.h>
#include <locale.h>
#include <wctype.h>

#include "platform/edit_rules.h"
#include "platform/platform.h"

namespace {

TEST(EditRules, UpperCaseSingleLineAndLimit) {
  EXPECT_EQ(vm::ApplyEditRules("", "athlon xp", vm::kUpperCase, 0), "ATHLON XP");
  EXPECT_EQ(vm::ApplyEditRules("AB", "c\nd\r\ne", vm::kUpperCase | vm::kSingleLine, 0), "ABC D  E");
  EXPECT_EQ(vm::ApplyEditRules("", std::string(200, 'x'), vm::kUpperCase, 126),
            std::string(126, 'X'));
  EXPECT_EQ(vm::ApplyEditRules("", "12 ms", 0, 0), "12 ms");
  // UTF-8: letters beyond ASCII, and the limit never splits a character.
  EXPECT_EQ(vm::ApplyEditRules("", "é ÿ ő ș ж ω ς ά", vm::kUpperCase, 0), "É Ÿ Ő Ș Ж Ω Σ Ά");
  EXPECT_EQ(vm::ApplyEditRules("", "ß ı µ €", vm::kUpperCase, 0), "ß ı µ €");
  EXPECT_EQ(vm::ApplyEditRules("", "aé", vm::kUpperCase, 2), "A");
  EXPECT_EQ(vm::ApplyEditRules("",
                               "\xff\xc3"
                               "a",
                               vm::kUpperCase, 0),
            "\xff\xc3"
            "A");
}

// The table of capitals against the C library's, where a UTF-8 locale is
// there to ask, over the blocks it covers.
TEST(EditRules, CapitalsMatchTheLibraryInTheCoveredBlocks) {
  const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
  if (!utf8) GTEST_SKIP() << "no C.UTF-8 locale";
  const char32_t blocks[][2] = {
      {0x0080, 0x017F}, {0x01C4, 0x024F}, {0x0370, 0x058F}, {0x1E00, 0x1EFF}, {0xFF00, 0xFFEF}};
  // Capitals of another encoded length are left out on purpose (the edit's
  // cursor would move), as is the micro sign and a combining mark.
  auto bytes = [](char32_t c) { return c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4; };
  for (const auto& b : blocks) {
    for (char32_t c = b[0]; c <= b[1]; ++c) {
      const char32_t up = towupper_l(c, utf8);
      if (c == 0x00B5 || c == 0x0345 || bytes(up) != bytes(c)) continue;
      EXPECT_EQ(vm::UpperCaseLetter(c), up) << std::hex << c;
    }
  }
  freelocale(utf8);
}

}  // namespace
