#include "cli/machine_info.h"

#include <gtest/gtest.h>

namespace vm {
namespace {

const std::string kRoot = std::string(VM_TEST_SOURCE_DIR) + "/tests/cli/fixtures/machine";

// The system files of a fixture as the fields show them (no cpufreq there:
// the current clock), and what is missing or given.
TEST(MachineInfo, MissingFilesLeaveFieldsEmptyAndGivenFieldsWin) {
  const MachineFacts none = ReadMachineFacts("/nonexistent-root");
  EXPECT_EQ(none.cpuModel, "");
  EXPECT_EQ(none.memoryMb, "");

  MachineFacts f = ReadMachineFacts(kRoot);
  EXPECT_EQ(f.hostName, "testbox");
  f.glRenderer = "llvmpipe";
  f.glVendor = "Mesa";
  f.glVersion = "4.5 (Compatibility Profile) Mesa 22.3.6";
  CliOptions o;
  o.fields[0] = "MINE";
  o.given[0] = true;
  o.given[9] = true;  // given empty: stays empty
  FillDetectedFields(f, o);
  EXPECT_EQ(o.fields[0], "MINE");
  EXPECT_EQ(o.fields[1], "Example CPU 9000 @ 2.40GHz / 2394 MHz");
  EXPECT_EQ(o.fields[2], "23982 MB");
  EXPECT_EQ(o.fields[3], "Example Boards EB-1");
  EXPECT_EQ(o.fields[4], "llvmpipe");
  EXPECT_EQ(o.fields[7], "Mesa 4.5 (Compatibility Profile) Mesa 22.3.6");
  EXPECT_EQ(o.fields[8], "Debian GNU/Linux 12 (bookworm) Linux 6.1.0-13-amd64");
  EXPECT_EQ(o.fields[9], "");
}

}  // namespace
}  // namespace vm
