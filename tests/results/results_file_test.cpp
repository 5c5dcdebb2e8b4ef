// The results file and the display files under awkward and hostile
// conditions: one table of cases, each preparing results.txt, optionally
// saving a run onto it, then checking what the file holds and reads back as.
#include "results/results_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "dialogs/save_results_dlg.h"
#include "results/result_table.h"
#include "state/bench_state.h"
#include "tests/results/results_fixture.h"
#include "tests/support/memory_platform.h"

namespace {

using vm::FileState;

struct FileCase {
  const char* what;
  // Puts something at `path`; returns false when the set-up cannot be made.
  std::function<bool(const std::string& path)> prepare;
  // Expected: message after saving ("" none), whether the record went in,
  // rows read back, how the file was found, cut at the bound, records beyond
  // the table.
  const char* message;
  bool saved;
  int rows;
  FileState state;
  bool cut;
  int notShown;
};

const std::string kOld = vmtest::Record("OLD", vmtest::Flat(10));

// Holds the lock as another instance saving would, and appends its record;
// or as an editor would, and replaces the file with one that holds it.
std::thread OtherInstance(const std::string& path, bool byRename = false) {
  const int fd = open(path.c_str(), O_RDWR | O_APPEND | O_CREAT, 0644);
  flock(fd, LOCK_EX);
  return std::thread([fd, path, byRename] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const std::string other = vmtest::Record("OTHER", vmtest::Flat(20));
    if (byRename) {
      EXPECT_TRUE(vmtest::WriteFile(path + ".new", kOld + other));
      EXPECT_EQ(rename((path + ".new").c_str(), path.c_str()), 0);
    } else {
      EXPECT_EQ(write(fd, other.data(), other.size()), static_cast<ssize_t>(other.size()));
    }
    close(fd);
  });
}

class ResultsFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    vmtest::ResetBenchState();
    for (float& t : vm::BenchState.sceneTime) t = 0.02f;
  }
  // Save Results with `fields` typed into the form, then OK.
  void Save(const std::string& path, const std::vector<std::string>& fields = {"new"}) {
    vm::CSaveResultsDlg dlg(platform, path.c_str());
    platform.dialogScript = [&](vm::MemoryDialog& host, vm::DialogHandler& handler) {
      for (size_t k = 0; k < fields.size(); ++k)
        host.EditAt(1000 + static_cast<int>(k))->Type(fields[k]);
      handler.OnCommand(host, vm::kIdOk);
      closed = host.ended;  // a failed save keeps the form open
    };
    platform.RunModal(vm::kSaveResultsDialog, dlg);
  }
  vm::MemoryPlatform platform;
  bool closed = false;
};

TEST_F(ResultsFileTest, AwkwardFilesAreReadAndAppendedSafely) {
  std::thread other;
  rlimit oldLimit{};
  getrlimit(RLIMIT_FSIZE, &oldLimit);
  const FileCase cases[] = {
      {"last line without a newline",
       [](const std::string& p) { return vmtest::WriteFile(p, kOld.substr(0, kOld.size() - 1)); },
       "", true, 2, FileState::kRead, false, 0},
      {"byte-order mark before the first record",
       [](const std::string& p) { return vmtest::WriteFile(p, "\xEF\xBB\xBF" + kOld); }, "", true,
       2, FileState::kRead, false, 0},
      {"FIFO", [](const std::string& p) { return mkfifo(p.c_str(), 0644) == 0; },
       "not a regular file", false, 0, FileState::kNotRegular, false, 0},
      {"link to /dev/zero",
       [](const std::string& p) { return symlink("/dev/zero", p.c_str()) == 0; },
       "not a regular file", false, 0, FileState::kNotRegular, false, 0},
      {"missing directory", [](const std::string&) { return true; }, "No such file or directory",
       false, 0, FileState::kMissing, false, 0},
      {"128 records already",
       [](const std::string& p) {
         std::string all;
         for (int i = 0; i < 128; ++i) all += vmtest::Record("M", vmtest::Flat(i));
         return vmtest::WriteFile(p, all);
       },
       "will not appear", true, 128, FileState::kRead, false, 1},
      {"a record beyond the read bound",
       [](const std::string& p) {
         vmtest::WriteFile(p, kOld);
         if (truncate(p.c_str(), vm::kMaxReadBytes + 10) != 0) return false;
         std::ofstream(p, std::ios::app) << vmtest::Record("LATE", vmtest::Flat(1));
         return true;
       },
       "will not appear", true, 1, FileState::kRead, true, 0},
      {"another instance saving at the same moment",
       [&](const std::string& p) {
         vmtest::WriteFile(p, kOld);
         other = OtherInstance(p);
         return true;
       },
       "", true, 3, FileState::kRead, false, 0},
      {"an editor replacing the file while it holds the lock",
       [&](const std::string& p) {
         vmtest::WriteFile(p, kOld);
         other = OtherInstance(p, true);
         return true;
       },
       "", true, 3, FileState::kRead, false, 0},
      {"disk full halfway through the record",
       [&](const std::string& p) {
         vmtest::WriteFile(p, kOld);
         rlimit small = oldLimit;
         small.rlim_cur = kOld.size() + 100;
         std::signal(SIGXFSZ, SIG_IGN);
         return setrlimit(RLIMIT_FSIZE, &small) == 0;
       },
       "not saved", false, 1, FileState::kRead, false, 0},
  };
  for (const FileCase& c : cases) {
    SCOPED_TRACE(c.what);
    vmtest::TempDir caseDir;
    const std::string path = c.message == std::string("No such file or directory")
                                 ? caseDir.File("gone/results.txt")
                                 : caseDir.File("results.txt");
    ASSERT_TRUE(c.prepare(path));
    struct stat st;
    const bool regular = stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
    const std::string before = regular && st.st_size < (1 << 20) ? vmtest::ReadFile(path) : "";
    platform.messages.clear();
    Save(path);
    EXPECT_EQ(closed, c.saved);
    setrlimit(RLIMIT_FSIZE, &oldLimit);
    if (other.joinable()) other.join();

    if (*c.message) {
      ASSERT_EQ(platform.messages.size(), 1u);
      EXPECT_NE(platform.messages[0].find(c.message), std::string::npos) << platform.messages[0];
    } else {
      EXPECT_TRUE(platform.messages.empty()) << platform.messages[0];
    }
    if (regular && st.st_size < (1 << 20)) {
      const std::string now = vmtest::ReadFile(path);
      const std::string fields[10] = {"NEW"};
      const std::string ours = vm::FormatRecord(fields, platform.localTime);
      if (!c.saved) {
        EXPECT_EQ(now, before);
      } else if (!before.empty() && before.back() != '\n') {
        EXPECT_EQ(now, before + "\n" + ours);
      } else {
        // Whatever another writer added comes between, never inside.
        EXPECT_EQ(now.substr(0, before.size()), before);
        ASSERT_GE(now.size(), before.size() + ours.size());
        EXPECT_EQ(now.substr(now.size() - ours.size()), ours);
      }
    }

    vm::ResultsFileReport report;
    vm::LoadResultTable(path.c_str(), &report);
    EXPECT_EQ(vm::lastResultIndex + 1, c.rows);
    EXPECT_EQ(report.state, c.state);
    EXPECT_EQ(report.cut, c.cut);
    EXPECT_EQ(report.recordsNotShown, c.notShown);
    bool newShown = false;
    for (int r = 0; r <= vm::lastResultIndex; ++r)
      newShown |= std::string(vm::ResultTable[r].computerName) == "NEW\n" &&
                  vm::ResultTable[r].sceneFps[23] == 50.0f;
    EXPECT_EQ(newShown, c.saved && c.notShown == 0 && !c.cut);

    // The display files take the same care.
    vm::MemoryListBox lines;
    vm::AddFileLines(path.c_str(), 255, lines);
    if (c.state != FileState::kRead) {
      EXPECT_EQ(lines.GetCount(), 0);
    } else if (!c.cut) {
      EXPECT_EQ(lines.GetText(0), vm::kRecordSeparator);
    }
  }
}

// The layout every stored file has, byte for byte: the date, the fields in
// capitals, one rate per scene.
TEST_F(ResultsFileTest, RecordLayout) {
  vm::BenchState.sceneTime[0] = 0.03125f;
  vm::BenchState.sceneTime[1] = 2.0f;
  platform.localTime.tm_mday = 6;  // Sunday, January 6 1900
  vmtest::TempDir dir;
  Save(dir.File("results.txt"),
       {"Athlon box", "amd 1.4ghz", "DDR 266", "", "GeForce 4 Ti", "", "", "40.72", "Windows XP"});
  std::string expected =
      "-------------------------------------\nSunday, January 06, 1900\nATHLON BOX\n"
      "AMD 1.4GHZ\nDDR 266\n\nGEFORCE 4 TI\n\n\n40.72\nWINDOWS XP\n\n32.000000\n0.500000\n";
  for (int i = 2; i < 24; ++i) expected += "50.000001\n";  // 1 / 0.02f, in double
  EXPECT_EQ(vmtest::ReadFile(dir.File("results.txt")), expected);
}

// A program that rewrites the file without the lock (a copy renamed over
// it) drops the record just saved: the save appends it again, or fails
// naming it, never reports a save that is gone.
TEST_F(ResultsFileTest, ASaveReplacedWithoutTheLockIsNotLost) {
  vmtest::TempDir dir;
  const std::string path = dir.File("results.txt");
  ASSERT_TRUE(vmtest::WriteFile(path, kOld));
  const std::string ours = vmtest::Record("OURS", vmtest::Flat(30));
  int appends = 0;
  const auto replace = [&](int times) {
    return [&, times] {
      if (appends++ >= times) return;
      vmtest::WriteFile(path + ".copy", kOld);
      rename((path + ".copy").c_str(), path.c_str());
    };
  };
  std::string message;
  EXPECT_TRUE(vm::SaveRecord(path.c_str(), ours, message, replace(1))) << message;
  EXPECT_EQ(appends, 2);
  EXPECT_EQ(vmtest::ReadFile(path), kOld + ours);
  appends = 0;
  EXPECT_FALSE(vm::SaveRecord(path.c_str(), ours, message, replace(1000)));
  EXPECT_NE(message.find("the record \"OURS\" of "), std::string::npos) << message;
}

// Root writes anywhere: as root the save runs as nobody, and the saved user
// id brings root back afterwards.
TEST_F(ResultsFileTest, ReadOnlyDirectoryIsReported) {
  vmtest::TempDir dir;
  chmod(dir.path.c_str(), 0555);
  const bool root = geteuid() == 0;
  if (root && seteuid(65534) != 0)
    GTEST_SKIP() << "root without the right to act as another user: " << std::strerror(errno);
  Save(dir.File("results.txt"));
  if (root) {
    ASSERT_EQ(seteuid(0), 0) << std::strerror(errno);
  }
  EXPECT_FALSE(closed);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_NE(platform.messages[0].find("Permission denied"), std::string::npos)
      << platform.messages[0];
}

}  // namespace
