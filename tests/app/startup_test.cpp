// Start-up without a display, and the commands that must not act on a state
// they do not have. The whole session is driven end to end in tests/e2e.
#include <gtest/gtest.h>

#include "app/commands.h"
#include "app/velmark3_app.h"
#include "tests/support/sim_app.h"

using vm::BenchState;

namespace {

TEST(Startup, WithoutADeviceItSaysSoAndGoesOn) {
  vmtest::ResetBenchState();
  vm::MemoryPlatform platform;
  vmtest::TestGl gl(false);
  auto app = std::make_unique<vm::CVelmark3App>(platform, gl);
  app->InitInstance();
  EXPECT_EQ(platform.messages, std::vector<std::string>{"Error Obtaining DC"});
  ASSERT_EQ(platform.timerArms.size(), 1u);
  EXPECT_EQ(platform.lastStatus(), "Pronto");
  app->OnPaint();  // the handshake goes on with nothing to draw on
  EXPECT_EQ(BenchState.frameDone, 1);

  // Save Results before any run is refused with a message, not a dialog.
  platform.messages.clear();
  app->OnCommand(vm::ID_SAVE_RESULTS);
  EXPECT_EQ(platform.messages,
            std::vector<std::string>{"You don't have results to save. Run Benchmark"});
  EXPECT_TRUE(platform.dialogsShown.empty());
}

}  // namespace
