// What a typed field keeps: one line (a line break would split a saved
// record), upper case, and no more than the field's limit.
#include <gtest/gtest.h>

#include "platform/memory_platform.h"

namespace {

TEST(EditRules, UpperCaseSingleLineAndLimit) {
  EXPECT_EQ(vm::ApplyEditRules("", "athlon xp", vm::kUpperCase, 0), "ATHLON XP");
  EXPECT_EQ(vm::ApplyEditRules("AB", "c\nd\r\ne", vm::kUpperCase | vm::kSingleLine, 0), "ABC D  E");
  EXPECT_EQ(vm::ApplyEditRules("", std::string(200, 'x'), vm::kUpperCase, 126),
            std::string(126, 'X'));
  EXPECT_EQ(vm::ApplyEditRules("", "12 ms", 0, 0), "12 ms");
}

}  // namespace
