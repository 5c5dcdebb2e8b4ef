#include "cli/cli_run.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_report.h"
#include "cli/cli_results.h"
#include "results/result_table.h"
#include "state/bench_state.h"

namespace vm {
namespace {

std::string Contents(std::FILE* f) {
  std::string s;
  std::rewind(f);
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) s.append(buf, n);
  return s;
}

// Runs each test in an empty directory of its own.
class CliDir : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/vm-cli-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
    ASSERT_EQ(getcwd(old_, sizeof old_), old_);
    ASSERT_EQ(chdir(dir_.c_str()), 0);
    BenchState.resultsAvailable = 0;  // an earlier test's run is not ranked
  }
  void TearDown() override {
    for (const std::string& f : Files()) std::remove(f.c_str());
    EXPECT_EQ(chdir(old_), 0);
    rmdir(dir_.c_str());
  }
  static std::vector<std::string> Files() {
    std::vector<std::string> names;
    DIR* d = opendir(".");
    while (dirent* e = d ? readdir(d) : nullptr)
      if (std::string(e->d_name) != "." && std::string(e->d_name) != "..")
        names.push_back(e->d_name);
    if (d) closedir(d);
    return names;
  }
  std::string dir_;
  char old_[4096];
};

std::string ReadFile(const char* path) {
  std::FILE* f = std::fopen(path, "r");
  if (!f) return "";
  const std::string s = Contents(f);
  std::fclose(f);
  return s;
}

// The text of the value after "key": (a number, string or array), searched
// from `from`.
std::string Value(const std::string& json, const std::string& key, size_t from = 0) {
  size_t p = json.find("\"" + key + "\": ", from);
  if (p == std::string::npos) return "<no " + key + ">";
  p += key.size() + 4;
  const size_t end = json[p] == '[' ? json.find(']', p) + 1 : json.find_first_of(",}\n", p);
  return json.substr(p, end - p);
}

// The number after `marker` on each line of `text` that has it.
std::vector<std::string> After(const std::string& text, const std::string& marker) {
  std::vector<std::string> values;
  for (size_t p = text.find(marker); p != std::string::npos; p = text.find(marker, p + 1)) {
    const size_t start = p + marker.size();
    values.push_back(text.substr(start, text.find_first_of(" \n", start) - start));
  }
  return values;
}

std::string JsonArray(const std::vector<std::string>& values) {
  std::string s;
  for (const std::string& v : values) s += (s.empty() ? "" : ", ") + (v == "inf" ? "null" : v);
  return "[" + s + "]";
}

// One real run, as a user would start it: two scenes of two seconds.
TEST_F(CliDir, RunsTheSelectedScenesAndSavesOnlyTheResultsFile) {
  CliOptions o;
  o.resultsFile = "mine.txt";
  for (bool& s : o.scenes) s = false;
  o.scenes[0] = true;
  o.scenes[9] = true;
  o.timerMs = 50;
  o.save = true;
  o.allowPartial = true;
  o.fields[0] = "my box";
  o.fields[9] = "two\nlines";
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  ASSERT_EQ(RunCommand(o, out, err), 0) << Contents(err);

  const std::string log = Contents(err);
  // What was measured comes before the first scene.
  const size_t version = log.find("velmark3-cli " VM_VERSION "\nOpenGL vendor: ");
  const size_t settings =
      log.find("View 1024x768, 2 seconds per scene, timer 50 ms, scenes 1,10\n");
  EXPECT_NE(version, std::string::npos) << log;
  EXPECT_LT(version, settings) << log;
  EXPECT_LT(settings, log.find("Scene 1")) << log;
  // Progress labels as the status bar shows them: the selected scenes' only,
  // in order. A first frame slower than the scene's seconds (a loaded
  // machine) leaves its scene without a label, so none is required.
  const std::string first = "Scene 1/24) 900 Spheres and 1 light => ";
  const std::string second = "Scene 10/24) 24000 Triangles and 1 Light => ";
  std::istringstream labels(log);
  int last = 1;
  for (std::string line; std::getline(labels, line);) {
    if (line.rfind("Scene ", 0) != 0) continue;
    const int which = line.rfind(first, 0) == 0 ? 1 : line.rfind(second, 0) == 0 ? 2 : 0;
    EXPECT_GE(which, last) << line;
    last = which;
  }

  const std::string text = Contents(out);
  EXPECT_EQ(text.find("Scene 1 : "), 0u) << text;
  EXPECT_NE(text.find("\nScene 10 : "), std::string::npos) << text;
  EXPECT_EQ(text.find("Scene 2 : "), std::string::npos) << text;
  EXPECT_NE(text.find("\nScore : "), std::string::npos) << text;
  EXPECT_EQ(BenchState.resultsAvailable, 1);
  EXPECT_EQ(BenchState.timerIntervalMs, 50);
  std::fclose(out);
  std::fclose(err);

  // The record reads back as the Save Results form would have written it,
  // and it is the only file the run wrote.
  EXPECT_EQ(Files(), std::vector<std::string>{"mine.txt"});
  BenchState.resultsAvailable = 0;
  vm::LoadResultTable("mine.txt");
  ASSERT_EQ(vm::lastResultIndex, 0);
  EXPECT_STREQ(vm::ResultTable[0].computerName, "MY BOX\n");
  // Read back from six decimals into a float: equal to that precision only.
  const double rate = vm::SceneRate(BenchState.sceneTime[0]);
  EXPECT_NEAR(vm::ResultTable[0].sceneFps[0], rate, 1e-6 * (1 + rate));
  EXPECT_EQ(vm::ResultTable[0].sceneFps[1], 0.0f);  // did not run
  std::FILE* f = std::fopen("mine.txt", "r");
  int lines = 0;
  for (int c; (c = std::fgetc(f)) != EOF;) lines += c == '\n';
  std::fclose(f);
  EXPECT_EQ(lines, 36);
}

// A scene that drew no frame, once reported as 0.000000 ms and fps, would be
// ranked like a measured one: saved only on request.
TEST_F(CliDir, ScenesWithoutAFrameHaveNoRate) {
  CliOptions o;
  std::FILE* err = std::tmpfile();
  RunReport all;
  StartReport(all, CliOptions(), "", "", "");
  for (int i = 0; i < kSceneCount; i += 2) all.OnBenchmarkFrame(i, 0.01, 0.02);
  EXPECT_EQ(WhyNotSaved(CliOptions(), &all).find("scenes without a frame (2, 4, 6,"), 0u);

  for (bool& s : o.scenes) s = false;
  o.scenes[0] = true;
  o.timerMs = 3000;
  o.allowPartial = true;
  o.jsonPath = "-";
  o.csvPath = "run.csv";
  std::FILE* out = std::tmpfile();
  ASSERT_EQ(RunCommand(o, out, err), 0) << Contents(err);
  const std::string doc = Contents(out), csv = ReadFile("run.csv"), log = Contents(err);
  EXPECT_EQ(Value(doc, "fps") + Value(doc, "median", doc.find("frame_ms")), "nullnull") << doc;
  EXPECT_NE(csv.find("\n1,\"900 Spheres and 1 light\",,0,,,,,,,,,,\n"), std::string::npos) << csv;
  EXPECT_NE(log.find("scene 1 drew no frame, so it has no rate: the timer (3000"), log.npos) << log;
  std::fclose(out);
  std::fclose(err);
}

// Two records: the first's rates are 7.5, 15, ..., 180, the second's half
// of that but 0 in scene 3.
void WriteTwoMachines(const char* firstName) {
  std::FILE* f = std::fopen("results.txt", "w");
  for (const char* name : {firstName, "SLOW"}) {
    std::fprintf(f, "-------------------------------------\nMonday, December 07, 2026\n");
    std::fprintf(f, "%s\nCPU\nRAM\nBOARD\nCARD\nVRAM\nFREQ\nDRIVER\nOS\nOTHER\n", name);
    for (int s = 1; s <= 24; ++s)
      std::fprintf(f, "%f\n", name == firstName ? 7.5 * s : s == 3 ? 0.0 : 3.75 * s);
  }
  std::fclose(f);
}

// Outputs that would lose data, and a partial run saved (it would rank as a
// full one), are refused before the first scene (nothing stored, every file
// as it was); a report that fails after the run
// leaves the earlier one whole, no temporary file, and the other written.
TEST_F(CliDir, OutputsThatWouldLoseDataAreRefused) {
  const struct {
    const char *what, *json, *csv, *message;
  } cases[] = {
      {"the results file", "results.txt", "", "--json results.txt: the program reads it"},
      {"the results file linked", "same.txt", "", "--json same.txt: the program reads it"},
      {"the results file respelt", "folder/../results.txt", "", "the program reads it"},
      {"a data file", "", "benchs.txt", "--csv benchs.txt: the program reads it"},
      {"both on one new file", "new.txt", "./new.txt", "--csv ./new.txt: --json writes it too"},
      {"a missing folder", "gone/run.json", "", "--json gone/run.json: its folder does not"},
      {"a FIFO and a folder", "pipe", "folder",
       "--json pipe: is not a regular file\n"
       "velmark3-cli: --csv folder: is a folder"},
      {"a full disk", "old.json", "new.csv", "could not write old.json: File too large"},
      {"a partial run", "", "", "--save: this run has 1 of the 24 scenes; add --allow-partial"},
  };
  rlimit unlimited{};
  getrlimit(RLIMIT_FSIZE, &unlimited);
  std::signal(SIGXFSZ, SIG_IGN);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::vector<std::string> kept = {"benchs.txt", "old.json", "results.txt"};
    WriteTwoMachines("KEPT");
    ASSERT_EQ(std::system("echo earlier report >old.json; echo scenes >benchs.txt; mkdir folder; "
                          "mkfifo pipe; ln results.txt same.txt"),
              0);
    std::vector<std::string> before;
    for (const std::string& name : kept) before.push_back(ReadFile(name.c_str()));
    CliOptions o;
    std::fill(o.scenes, o.scenes + kSceneCount, false);
    const bool fullDisk = c.what == std::string("a full disk");
    o.scenes[0] = true;
    o.allowPartial = c.what != std::string("a partial run");
    o.save = !fullDisk;
    o.jsonPath = c.json;
    o.csvPath = c.csv;
    rlimit small = unlimited;
    small.rlim_cur = 520;  // a CSV of one scene, not its JSON
    ASSERT_EQ(fullDisk ? setrlimit(RLIMIT_FSIZE, &small) : 0, 0);
    std::FILE* err = std::tmpfile();
    EXPECT_EQ(RunCommand(o, err, err), fullDisk || !o.allowPartial ? 1 : 2);
    setrlimit(RLIMIT_FSIZE, &unlimited);
    EXPECT_NE(Contents(err).find(c.message), std::string::npos) << Contents(err);
    std::fclose(err);
    for (size_t k = 0; k < kept.size(); ++k) EXPECT_EQ(ReadFile(kept[k].c_str()), before[k]);
    std::vector<std::string> files = Files(), expected = {"benchs.txt", "folder",      "old.json",
                                                          "pipe",       "results.txt", "same.txt"};
    if (fullDisk) expected.insert(expected.begin() + 2, "new.csv");
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, expected);
    EXPECT_EQ(ReadFile("new.csv").find("scene,name,fps,"), fullDisk ? 0 : std::string::npos);
    TearDown();
    SetUp();
  }
}

// The ranking and a comparison as the Text Results lines and as JSON: the
// same values, names escaped, a ratio with no value as null.
TEST_F(CliDir, ResultsAndCompareAsTextAndAsJson) {
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  EXPECT_EQ(vm::ResultsCommand(out, err), 1);  // said, not an empty ranking
  EXPECT_NE(Contents(err).find("no results file results.txt"), std::string::npos);
  ASSERT_EQ(mkfifo("pipe.txt", 0600), 0);  // read as missing, without blocking
  EXPECT_EQ(vm::ResultsCommand(out, err, "pipe.txt", false), 1);
  std::fclose(std::fopen("empty.txt", "w"));
  EXPECT_EQ(vm::ResultsCommand(out, err, "empty.txt", false), 0);
  EXPECT_NE(Contents(err).find("empty.txt holds no records"), std::string::npos);
  WriteTwoMachines("3D \"BOX\" \\ \x1b");
  ASSERT_EQ(vm::ResultsCommand(out, err), 0);
  const std::string text = Contents(out);
  EXPECT_EQ(text.find("1 POSITION WITH SCORE = 9375\n"), 0u) << text;
  EXPECT_NE(text.find("\n2 POSITION WITH SCORE = 4640\nSLOW\nCPU\nRAM\nCARD\nOS\n"
                      "    Scenes 1 : 3.750000 fps\n"),
            std::string::npos)
      << text;
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 60);
  std::FILE* json = std::tmpfile();
  ASSERT_EQ(vm::ResultsCommand(json, err, kResultsFile, true), 0);
  const std::string doc = Contents(json);
  ASSERT_EQ(doc.find("{\"machines\": ["), 0u) << doc;
  const std::vector<std::string> scores = After(text, "POSITION WITH SCORE = ");
  const std::vector<std::string> fps = After(text, " : ");
  ASSERT_EQ(fps.size(), 48u);
  for (size_t m = 0, at = 0; m < 2; ++m, ++at) {
    at = doc.find("\"position\": " + std::to_string(m + 1), at);
    ASSERT_NE(at, std::string::npos) << doc;
    EXPECT_EQ(Value(doc, "score", at), scores[m]);
    EXPECT_EQ(Value(doc, "fps", at), JsonArray({fps.begin() + 24 * m, fps.begin() + 24 * (m + 1)}));
    // The score is the average's hundredfold, cut.
    EXPECT_EQ(std::to_string(static_cast<int>(std::stod(Value(doc, "average_fps", at)) * 100)),
              scores[m]);
  }
  // As saved: without the space the list puts before a leading digit.
  EXPECT_EQ(Value(doc, "name"), "\"3D \\\"BOX\\\" \\\\ \\u001b\"");
  EXPECT_EQ(Value(doc, "video_card"), "\"CARD\"");

  std::FILE* cmp = std::tmpfile();
  ASSERT_EQ(vm::CompareCommand(1, 2, cmp, err), 0);
  const std::string lines = Contents(cmp);
  EXPECT_NE(lines.find("\nSecond Computer : SLOW\n"), std::string::npos) << lines;
  EXPECT_NE(lines.find("\nScene 24 : 1 vs 2  = 2.000000\n"), std::string::npos) << lines;
  EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 27);
  ASSERT_EQ(vm::CompareCommand(1, 2, json, err, kResultsFile, true), 0);
  const std::string compared = Contents(json).substr(doc.size());
  EXPECT_EQ(Value(compared, "second"), "\"SLOW\"");
  EXPECT_EQ(Value(compared, "overall"), After(lines, "C1 vs C2  = ")[0]);
  EXPECT_EQ(Value(compared, "scenes"), JsonArray(After(lines, "1 vs 2  = ")));
  EXPECT_NE(Value(compared, "scenes").find(", null, "), std::string::npos);

  EXPECT_EQ(vm::CompareCommand(2, 2, cmp, err, kResultsFile, true), 1);
  EXPECT_NE(Contents(err).find("velmark3-cli: Please don't Select the same Computer!!!"),
            std::string::npos);
  EXPECT_EQ(vm::CompareCommand(1, 3, cmp, err), 2);
  for (std::FILE* f : {out, err, json, cmp}) std::fclose(f);
}

// A run on the EGL device platform (Mesa's software device here), twice,
// with both reports: their shape, and the values the text lines print.
TEST_F(CliDir, DevicePlatformRunReportsEveryRun) {
  CliOptions o;
  for (bool& s : o.scenes) s = false;
  o.scenes[0] = true;
  o.egl = EglPlatform::kDevice;
  o.timerMs = 50;
  o.repeat = 2;
  o.jsonPath = "run.json";
  o.csvPath = "run.csv";
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  ASSERT_EQ(RunCommand(o, out, err), 0) << Contents(err);
  const std::string text = Contents(out);
  const std::string doc = ReadFile("run.json");
  for (const char* key :
       {"{\"program\": {\"name\": \"velmark3\", \"version\": ", "\"renderer\": {\"vendor\": ",
        "\"view\": {\"width\": 1024, \"height\": 768}",
        "\"settings\": {\"seconds_per_scene\": 2, \"timer_ms\": 50, \"scenes\": [1]}",
        "\"complete\": false",
        "\"scenes\": [\n  {\"scene\": 1, \"name\": \"900 Spheres and 1 light\"",
        "\"draw_ms\": {\"mean\": ", "\"frame_ms\": {\"mean\": "})
    EXPECT_NE(doc.find(key), std::string::npos) << key << "\n" << doc;
  EXPECT_EQ(Value(doc, "score"), After(text, "Score : ")[0]);
  const std::string fps = After(text, "Scene 1 : ")[0];
  EXPECT_EQ(Value(doc, "fps"), fps);
  const std::string runs = Value(doc, "runs");
  const double a = std::stod(runs.substr(1)), b = std::stod(runs.substr(runs.find(", ") + 2));
  EXPECT_NEAR(std::stod(fps), (a + b) / 2, 1e-5 * (a + b)) << runs;
  const std::vector<std::string> frame = {Value(doc, "median", doc.find("frame_ms")),
                                          Value(doc, "median", doc.find("draw_ms"))};
  EXPECT_GE(std::stod(frame[0]), std::stod(frame[1])) << doc;  // the frame holds the drawing
  EXPECT_GT(std::stod(frame[1]), 0.0) << doc;

  const std::string csv = ReadFile("run.csv");
  EXPECT_EQ(csv.find("scene,name,fps,frames,draw_ms_mean,draw_ms_min,draw_ms_median,draw_ms_p99,"
                     "draw_ms_max,frame_ms_mean,frame_ms_min,frame_ms_median,frame_ms_p99,"
                     "frame_ms_max,run1,run2\n1,\"900 Spheres and 1 light\"," +
                     fps + "," + Value(doc, "frames") + ","),
            0u)
      << csv;
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 2);
  EXPECT_EQ(std::count(csv.begin(), csv.end(), ','), 2 * 15);
  std::string eachRun = runs.substr(1, runs.size() - 2);  // "a, b" ends the row as ",a,b"
  eachRun.erase(eachRun.find(' '), 1);
  EXPECT_EQ(csv.substr(csv.size() - eachRun.size() - 2), "," + eachRun + "\n") << csv;
  std::fclose(out);
  std::fclose(err);
}

// A shared file must not drive the terminal, records the ranking cannot
// hold are counted, and output that cannot be written fails the command.
TEST_F(CliDir, HostileFilesAndUnwritableOutput) {
  std::FILE* f = std::fopen("results.txt", "w");
  for (int machine = 0; machine < 130; ++machine) {
    std::fprintf(f,
                 "-------------------------------------\nday\nBOX\x1b]0;x\x07%d\x7f\r\xc2\x9b"
                 "2J\n",
                 machine);
    for (int line = 0; line < 33; ++line) std::fprintf(f, "%d\n", machine);
  }
  std::fclose(f);
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  ASSERT_EQ(vm::ResultsCommand(out, err), 0);
  EXPECT_EQ(Contents(out).find("1 POSITION WITH SCORE = 12700\nBOX?]0;x?127???2J\n"), 0u);
  EXPECT_EQ(Contents(err),
            "velmark3-cli: 2 records of results.txt are not shown: the ranking holds 128\n");
  std::FILE* full = std::fopen("/dev/full", "w");
  ASSERT_EQ(vm::CompareCommand(1, 2, full, err), 0);
  EXPECT_FALSE(vm::FinishOutput(full, err));
  EXPECT_NE(Contents(err).find("could not write the output: No space left on device"),
            std::string::npos);
  std::fclose(full);
  std::fclose(out);
  std::fclose(err);
}

}  // namespace
}  // namespace vm
