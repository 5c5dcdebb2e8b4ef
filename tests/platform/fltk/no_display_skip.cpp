// With no display at all (DISPLAY unset: a packager's plain ctest) every test
// here is skipped with the reason; a named display that will not open fails.
#include <gtest/gtest.h>

#include <cstdlib>

namespace {
struct NeedsDisplay : ::testing::Environment {
  void SetUp() override {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display)
      GTEST_SKIP() << "skipped: no display (scripts/run-tests starts Xvfb)";
  }
};
const auto* const kNeedsDisplay = ::testing::AddGlobalTestEnvironment(new NeedsDisplay);
}  // namespace
