// With no display at all (DISPLAY unset, as in a packager's plain ctest run)
// every desktop-layer test is skipped with the reason. A display that is
// named but cannot be opened still fails the tests that need it.
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

class NeedsDisplay : public ::testing::Environment {
 public:
  void SetUp() override {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display)
      GTEST_SKIP() << "skipped: no display (scripts/run-tests starts Xvfb)";
  }
};

const ::testing::Environment* const kNeedsDisplay =
    ::testing::AddGlobalTestEnvironment(new NeedsDisplay);

}  // namespace
