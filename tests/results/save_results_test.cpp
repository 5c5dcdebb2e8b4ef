#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <functional>
#include <string>

#include "app/bench_state.h"
#include "platform/memory_platform.h"
#include "results/result_table.h"
#include "results/save_results_dlg.h"
#include "tests/results/results_fixture.h"

using vm::BenchState;

namespace {

const char kExpectedRecord[] =
    "-------------------------------------\n"
    "Sunday, December 06, 2026\n"
    "ATHLON BOX\n"
    "AMD 1.4GHZ\n"
    "DDR 266\n"
    "\n"
    "GEFORCE 4 TI\n"
    "128MB\n"
    "300/650\n"
    "40.72\n"
    "WINDOWS XP\n"
    "\n"
    "32.000000\n"
    "0.500000\n";

class SaveResultsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    vmtest::ResetBenchState();
    BenchState.resultsAvailable = 1;
    BenchState.sceneTime[0] = 0.03125f;
    BenchState.sceneTime[1] = 2.0f;
    for (int i = 2; i < vm::kSceneCount; ++i) BenchState.sceneTime[i] = 0.01f;
    platform.localTime.tm_wday = 0;
    platform.localTime.tm_mon = 11;
    platform.localTime.tm_mday = 6;
    platform.localTime.tm_year = 126;
  }

  // Opens the dialog, types `fields` (edit 1000 + k) and presses OK once.
  int SaveWith(const std::string& path, const std::vector<std::string>& fields) {
    vm::CSaveResultsDlg dlg(platform, path.c_str());
    platform.dialogScript = [&](vm::MemoryDialog& host, vm::DialogHandler& handler) {
      for (size_t k = 0; k < fields.size(); ++k)
        host.EditAt(1000 + static_cast<int>(k))->Type(fields[k]);
      handler.OnCommand(host, vm::kIdOk);
      stayedOpen = !host.ended;
      if (stayedOpen) typedAfter = host.EditAt(1000)->GetText();
    };
    return platform.RunModal(vm::kSaveResultsDialog, dlg);
  }

  const std::vector<std::string> fields = {
      "Athlon box", "amd 1.4ghz", "DDR 266", "",           "GeForce 4 Ti",
      "128MB",      "300/650",    "40.72",   "Windows XP", ""};
  vm::MemoryPlatform platform;
  vmtest::TempDir dir;
  bool stayedOpen = false;
  std::string typedAfter;
};

TEST_F(SaveResultsTest, RecordIsAppendedByteForByteAndReadsBack) {
  const std::string file = dir.File("results.txt");
  EXPECT_EQ(SaveWith(file, fields), vm::kIdOk);
  const std::string text = vmtest::ReadFile(file);
  ASSERT_EQ(text.compare(0, sizeof kExpectedRecord - 1, kExpectedRecord), 0) << text;
  std::string rest = text.substr(sizeof kExpectedRecord - 1);
  std::string expectedRest;
  for (int i = 2; i < 24; ++i) expectedRest += "100.000000\n";
  // 1 / 0.01f is not exactly 100 in single precision.
  EXPECT_EQ(rest.size(), expectedRest.size());
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 36);
  EXPECT_TRUE(platform.messages.empty());

  EXPECT_EQ(SaveWith(file, fields), vm::kIdOk);
  const std::string twice = vmtest::ReadFile(file);
  EXPECT_EQ(twice, text + text);

  BenchState.resultsAvailable = 0;
  vm::LoadResultTable(file.c_str());
  ASSERT_EQ(vm::lastResultIndex, 1);
  EXPECT_STREQ(vm::ResultTable[0].computerName, "ATHLON BOX\n");
  EXPECT_STREQ(vm::ResultTable[0].cpuType, "AMD 1.4GHZ\n");
  EXPECT_STREQ(vm::ResultTable[0].videoCard, "GEFORCE 4 TI\n");
  EXPECT_STREQ(vm::ResultTable[0].operatingSystem, "WINDOWS XP\n");
  EXPECT_EQ(vm::ResultTable[0].sceneFps[0], 32.0f);
  EXPECT_EQ(vm::ResultTable[0].sceneFps[1], 0.5f);
}

TEST_F(SaveResultsTest, SceneWithoutTimeIsSavedAsZero) {
  BenchState.sceneTime[5] = 0.0f;
  const std::string file = dir.File("results.txt");
  SaveWith(file, {});
  const std::string text = vmtest::ReadFile(file);
  EXPECT_EQ(text.find("inf"), std::string::npos);
  EXPECT_NE(text.find("\n0.000000\n"), std::string::npos);
  // Ten empty description lines.
  EXPECT_NE(text.find("2026\n\n\n\n\n\n\n\n\n\n\n32.000000\n"), std::string::npos);
}

TEST_F(SaveResultsTest, FieldsCannotBreakTheRecord) {
  const std::string file = dir.File("results.txt");
  std::vector<std::string> bad(10, "x");
  bad[0] = "two\nlines\r\nhere";
  bad[2] = std::string(300, 'r');
  SaveWith(file, bad);
  BenchState.resultsAvailable = 0;
  vm::LoadResultTable(file.c_str());
  ASSERT_EQ(vm::lastResultIndex, 0);
  EXPECT_STREQ(vm::ResultTable[0].computerName, "TWO LINES  HERE\n");
  EXPECT_EQ(std::string(vm::ResultTable[0].ramType), std::string(126, 'R') + "\n");
  EXPECT_STREQ(vm::ResultTable[0].operatingSystem, "X\n");
  EXPECT_EQ(vm::ResultTable[0].sceneFps[0], 32.0f);

  // Text put into a field without typing is cleaned on the way out too.
  EXPECT_EQ(vm::DescriptionLine("a\nb\rc" + std::string(200, 'z')).size(), 126u);
  EXPECT_EQ(vm::DescriptionLine("a\nb\rc"), "a b c");
}

// Each way the file can fail to take the record: a message with the reason,
// and the form stays open with what was typed.
TEST_F(SaveResultsTest, UnwritableFileIsReportedAndTheFormStaysOpen) {
  const std::string file = dir.File("results.txt");
  const struct {
    const char* what;
    std::function<std::string()> prepare;  // returns the path to save to
    const char* reason;
  } cases[] = {
      {"missing directory", [&] { return dir.File("no/such/dir/results.txt"); },
       "No such file or directory"},
      {"full disk", [&] { return symlink("/dev/full", file.c_str()) == 0 ? file : ""; },
       "No space left on device"},
      {"directory",
       [&] { return unlink(file.c_str()) == 0 && mkdir(file.c_str(), 0755) == 0 ? file : ""; },
       "Is a directory"},
  };
  for (const auto& c : cases) {
    platform.messages.clear();
    const std::string path = c.prepare();
    ASSERT_FALSE(path.empty()) << c.what;
    EXPECT_EQ(SaveWith(path, fields), vm::kIdCancel) << c.what;  // closed by the user afterwards
    EXPECT_TRUE(stayedOpen) << c.what;
    EXPECT_EQ(typedAfter, "ATHLON BOX") << c.what;
    ASSERT_EQ(platform.messages.size(), 1u) << c.what;
    EXPECT_NE(platform.messages[0].find("not saved"), std::string::npos) << c.what;
    EXPECT_NE(platform.messages[0].find(c.reason), std::string::npos) << platform.messages[0];
  }
}

// Root writes anywhere: as root the save runs as nobody, and the saved user
// id brings root back afterwards.
TEST_F(SaveResultsTest, ReadOnlyDirectoryIsReported) {
  chmod(dir.path().c_str(), 0555);
  const bool root = geteuid() == 0;
  if (root && seteuid(65534) != 0)
    GTEST_SKIP() << "root without the right to act as another user: " << std::strerror(errno);
  SaveWith(dir.File("results.txt"), fields);
  if (root) {
    ASSERT_EQ(seteuid(0), 0) << std::strerror(errno);
  }
  EXPECT_TRUE(stayedOpen);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_NE(platform.messages[0].find("Permission denied"), std::string::npos);
}

// A write that fails halfway (here the file-size limit) leaves the records
// already there exactly as they were, without half a record after them.
TEST_F(SaveResultsTest, WriteFailingHalfwayLeavesTheFileAsItWas) {
  const std::string file = dir.File("results.txt");
  const std::string before = vmtest::Record("OLD BOX", vmtest::Flat(12.5));
  vmtest::WriteFile(file, before);
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  rlimit small = old;
  small.rlim_cur = before.size() + 100;
  void (*oldHandler)(int) = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  SaveWith(file, fields);
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);

  EXPECT_TRUE(stayedOpen);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_NE(platform.messages[0].find("not saved"), std::string::npos);
  EXPECT_EQ(vmtest::ReadFile(file), before);

  // Once the disk has room again the same form saves the run.
  platform.messages.clear();
  SaveWith(file, fields);
  EXPECT_FALSE(stayedOpen);
  EXPECT_TRUE(platform.messages.empty());
  EXPECT_EQ(vmtest::ReadFile(file).substr(0, before.size()), before);
}

}  // namespace
