// What a typed field keeps: one line (a line break would split a saved
// record), capitals, and no more than the field's limit, in UTF-8.
#include "platform/edit_rules.h"

#include <gtest/gtest.h>

#include "platform/edit_rules.h"
#include "platform/platform.h"

namespace {

TEST(EditRules, UpperCaseSingleLineAndLimit) {
  EXPECT_EQ(vm::ApplyEditRules("", "athlon xp", vm::kUpperCase, 0), "ATHLON XP");
  EXPECT_EQ(vm::ApplyEditRules("AB", "c\nd\r\ne", vm::kUpperCase | vm::kSingleLine, 0), "ABC D  E");
  // Nor terminal controls, C1 ones in UTF-8 included: a stored name is printed.
  EXPECT_EQ(vm::ApplyEditRules("",
                               "a\x1b[2J\xc2\x9b"
                               "0m\t",
                               vm::kSingleLine, 0),
            "a?[2J?0m?");
  EXPECT_EQ(vm::ApplyEditRules("", std::string(200, 'x'), vm::kUpperCase, 126),
            std::string(126, 'X'));
  // UTF-8: letters beyond ASCII, and the limit never splits a character.
  EXPECT_EQ(vm::ApplyEditRules("", "é ÿ ő ș ж ω ς ά", vm::kUpperCase, 0), "É Ÿ Ő Ș Ж Ω Σ Ά");
  EXPECT_EQ(vm::ApplyEditRules("", "ß ı µ €", vm::kUpperCase, 0), "ß ı µ €");
  EXPECT_EQ(vm::ApplyEditRules("", "aé", vm::kUpperCase, 2), "A");
  // Bytes that are no UTF-8 pass as they are; the letter after them still counts.
  EXPECT_EQ(vm::ApplyEditRules("", std::string("\xff\xc3") + "a", vm::kUpperCase, 0),
            std::string("\xff\xc3") + "A");
}

}  // namespace
