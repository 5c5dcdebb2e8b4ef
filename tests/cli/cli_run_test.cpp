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
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_commands.h"
#include "cli/cli_documents.h"
#include "cli/cli_history.h"
#include "cli/cli_report_page.h"
#include "cli/cli_results.h"
#include "results/result_table.h"
#include "state/bench_state.h"
#include "tests/results/results_fixture.h"

namespace vm {
namespace {

using Json = nlohmann::json;

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
    EXPECT_EQ(chdir(old_), 0);
    EXPECT_EQ(std::system(("rm -rf " + dir_).c_str()), 0);
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

Json Parse(const std::string& text) {
  return Json::parse(text, nullptr, false);
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

// Numbers printed as text, as JSON has them: null for no value.
Json Numbers(const std::vector<std::string>& values) {
  Json a = Json::array();
  for (const std::string& v : values) a.push_back(v == "inf" ? Json() : Json(std::stod(v)));
  return a;
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
  // A faster and a slower machine already there: the new record is third
  // in the file and second in the ranking.
  ASSERT_TRUE(vmtest::WriteFile("mine.txt", vmtest::Record("FAST", vmtest::Flat(1000)) +
                                                vmtest::Record("SLOW", vmtest::Flat(0.001))));
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  ASSERT_EQ(RunCommand(o, out, err), 0) << Contents(err);

  const std::string log = Contents(err);
  const std::string saved = log.substr(log.rfind("velmark3-cli: saved to "));
  EXPECT_EQ(saved.substr(saved.find(' ', 23)), " as record 3: place 2 of 3 in its ranking\n");
  EXPECT_EQ(saved.substr(23, 1), "/");                      // the whole path, wherever it is run
  EXPECT_EQ(log.find("saved"), log.rfind("saved")) << log;  // one line
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

  // The record reads back as the Save Results form would have written it;
  // besides it the run wrote only its report in the history.
  std::vector<std::string> files = Files();
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (std::vector<std::string>{"mine.txt", "runs"}));
  DIR* runs = opendir("runs");
  std::vector<std::string> kept;
  while (dirent* e = runs ? readdir(runs) : nullptr)
    if (e->d_name[0] != '.') kept.push_back(e->d_name);
  if (runs) closedir(runs);
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(kept[0].size(), std::string("20261207T203500Z-0a1b2c.json").size()) << kept[0];
  const Json run = Parse(ReadFile(("runs/" + kept[0]).c_str()));
  EXPECT_EQ(run["date"].get<std::string>().size(), std::string("2026-12-07T20:35:00Z").size());
  EXPECT_EQ(run["machine"], Json({{"computer_name", "my box"}, {"other", "two\nlines"}}));
  ASSERT_EQ(run["scenes"].size(), 2u);
  for (const Json& scene : run["scenes"]) {
    const std::string n = std::to_string(scene["scene"].get<int>());
    EXPECT_EQ(FormatC("%f", scene["fps"].get<double>()), After(text, "Scene " + n + " : ")[0]);
    // Every frame in one bucket of each distribution; the slowest in the
    // last, whose upper bound is within 2% above it.
    for (const char* hist : {"draw_hist", "frame_hist"}) {
      long long frames = 0;
      for (const Json& bucket : scene[hist]) frames += bucket[1].get<long long>();
      EXPECT_EQ(frames, scene["frames"].get<long long>()) << hist;
      const double max = scene[hist[0] == 'd' ? "draw_ms" : "frame_ms"]["max"];
      EXPECT_GE(scene[hist].back()[0].get<double>(), max - 1e-6);
      EXPECT_LE(scene[hist].back()[0].get<double>(), max * 1.0201);
    }
    // The rate over whole frames is that of their mean, and no higher than
    // the rate over the drawing they hold.
    const double frameFps = scene["frame_fps"];
    EXPECT_NEAR(frameFps, 1000.0 / scene["frame_ms"]["mean"].get<double>(), 1e-5 * frameFps);
    EXPECT_LE(frameFps, 1000.0 / scene["draw_ms"]["mean"].get<double>() * (1 + 1e-9));
  }
  BenchState.resultsAvailable = 0;
  vm::LoadResultTable("mine.txt");
  ASSERT_EQ(vm::lastResultIndex, 2);
  EXPECT_STREQ(vm::ResultTable[1].computerName, "MY BOX\n");
  // Read back from six decimals into a float: equal to that precision only.
  const double rate = vm::SceneRate(BenchState.sceneTime[0]);
  EXPECT_NEAR(vm::ResultTable[1].sceneFps[0], rate, 1e-6 * (1 + rate));
  EXPECT_EQ(vm::ResultTable[1].sceneFps[1], 0.0f);  // did not run
  std::FILE* f = std::fopen("mine.txt", "r");
  int lines = 0;
  for (int c; (c = std::fgetc(f)) != EOF;) lines += c == '\n';
  std::fclose(f);
  EXPECT_EQ(lines, 3 * 36);
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
  const Json scene = Json::parse(doc)["scenes"][0];
  EXPECT_TRUE(scene["fps"].is_null() && scene["frame_ms"]["median"].is_null()) << doc;
  EXPECT_NE(csv.find("\n1,\"900 Spheres and 1 light\",,0,,,,,,,,,,,\n"), std::string::npos) << csv;
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

// A run report as the program keeps one: scene 1 at `fps`.
std::string RunFile(int day, double fps, bool complete = false) {
  return Json({{"program", {{"name", "velmark3"}}},
               {"date", FormatC("2026-12-%02dT00:00:00Z", day)},
               {"renderer", {{"renderer", "GPU\x1b"}}},
               {"settings", {{"scenes", {1, 2, 3}}}},
               {"score", static_cast<int>(fps * 10)},
               {"complete", complete},
               {"scenes", {{{"scene", 1}, {"fps", fps}}}}})
      .dump();
}

void Write(const std::string& path, const std::string& text) {
  std::FILE* f = std::fopen(path.c_str(), "w");
  std::fputs(text.c_str(), f);
  std::fclose(f);
}

// Every name under the folder with the contents of its files, links shown.
std::string Snapshot() {
  std::FILE* p = popen("find . -printf '%p %l\\n' | sort; find . -type f | sort | xargs cat", "r");
  const std::string s = Contents(p);
  pclose(p);
  return s;
}

struct Outcome {
  int status;
  std::string out, err;
};

// Standard output and error in memory: no file size limit cuts them short.
Outcome Cli(std::vector<std::string> args) {
  args.insert(args.begin(), "velmark3-cli");
  std::vector<const char*> argv;
  for (const std::string& a : args) argv.push_back(a.c_str());
  CliOptions o;
  std::string error;
  if (!ParseCli(static_cast<int>(argv.size()), argv.data(), o, error)) return {-1, "", error};
  char *outText = nullptr, *errText = nullptr;
  size_t outSize = 0, errSize = 0;
  std::FILE* out = open_memstream(&outText, &outSize);
  std::FILE* err = open_memstream(&errText, &errSize);
  const int status = RunCli(o, out, err);
  std::fclose(out);
  std::fclose(err);
  Outcome r{status, std::string(outText, outSize), std::string(errText, errSize)};
  std::free(outText);
  std::free(errText);
  return r;
}

// Every output of every command, from the tables: what would replace a file
// the user keeps, another output or what the command reads, and what cannot
// be written, is refused with one line and exit status 2 before any work,
// and nothing in the folder changes.
TEST_F(CliDir, OutputsThatWouldLoseDataAreRefused) {
  const std::vector<std::string> files = {"results.txt",   "same.txt",    "folder/../results.txt",
                                          "benchs.txt",    "faq.txt",     "link.txt",
                                          "runs/old.json", "gone/x.json", "pipe",
                                          "folder",        "dangling"};
  const std::vector<std::string> folders = {"pipe", "results.txt", "gone/sub", "runs", "dangling"};
  // What each command needs besides: a few seconds of work if it is not refused.
  const std::map<std::string, std::vector<std::string>> needs = {
      {"run", {"--scenes", "1", "--allow-partial", "--no-history"}},
      {"validate", {"--scenes", "1"}},
      {"report", {"mine.json"}}};
  // The command line, and how its message names the path.
  std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"run", "--scenes", "1", "--allow-partial", "--json", "new.txt", "--csv", "./new.txt"},
       "new.txt: "},
      {{"validate", "--scenes", "1", "--images", "folder", "--json=folder/scene-01-rendered.png"},
       "folder/scene-01-rendered.png: "},
      {{"report", "mine.json", "-o", "mine.json"}, "mine.json: "},
      {{"run", "--scenes", "1", "--allow-partial", "--save", "--results-file", "benchs.txt"},
       "benchs.txt: "},
      {{"run", "--scenes", "1", "--allow-partial", "--save", "--results-file", "pipe"}, "pipe: "},
      {{"run", "--scenes", "1", "--allow-partial", "--results-file", "sub/r.txt"}, "sub/runs/"}};
  int outputs = 0;
  for (const CommandRow& command : CommandTable()) {
    if (!command.outputs) continue;
    for (const OptionRow& option : OptionTable()) {
      if (!(option.commands & CommandBit(command.command)) || !option.path ||
          (option.valueless & CommandBit(command.command)))
        continue;
      // An option is an output when the command declares its path.
      CliOptions probe;
      probe.*option.path = "probe";
      std::vector<CommandOutput> writes;
      std::vector<std::string> reads;
      command.outputs(probe, writes, reads);
      bool replaced = false;
      for (const CommandOutput& w : writes)
        replaced |= w.path.rfind("probe", 0) == 0 && w.kind != OutputKind::kAppend;
      if (!replaced) continue;
      ++outputs;
      for (const std::string& target : option.kind == ValueKind::kFolder ? folders : files) {
        std::vector<std::string> args = {command.name};
        if (needs.count(command.name))
          args = needs.at(command.name), args.insert(args.begin(), command.name);
        args.push_back(std::string("--") + option.name);
        args.push_back(target);
        // A folder's message names the picture in it.
        cases.push_back({args, target + (option.kind == ValueKind::kFolder ? "/" : ": ")});
      }
    }
  }
  EXPECT_GE(outputs, 5);  // run --json and --csv, validate --json and --images, report -o
  for (const auto& [args, named] : cases) {
    std::string shown;
    for (const std::string& a : args) shown += a + " ";
    SCOPED_TRACE(shown);
    WriteTwoMachines("KEPT");
    Write("mine.json", RunFile(1, 10));
    ASSERT_EQ(std::system("echo scenes >benchs.txt; echo faq >faq.txt; mkdir folder runs; "
                          "echo run >runs/old.json; mkfifo pipe; ln results.txt same.txt; "
                          "ln -s results.txt link.txt; ln -s nowhere dangling; mkdir sub; ln -s "
                          "nowhere sub/runs"),
              0);
    const std::string before = Snapshot();
    const Outcome r = Cli(args);
    EXPECT_EQ(r.status, 2) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_NE(r.err.find(" " + named), std::string::npos) << r.err;
    EXPECT_EQ(Snapshot(), before);
    TearDown();
    SetUp();
  }
}

// A report that fails after the run leaves the earlier file whole, no
// temporary file, and the other report written; an output that is a link
// is written through to its file; "-" is standard output.
TEST_F(CliDir, OutputsWrittenAfterTheWork) {
  rlimit unlimited{};
  getrlimit(RLIMIT_FSIZE, &unlimited);
  std::signal(SIGXFSZ, SIG_IGN);
  Write("old.json", "earlier report\n");
  rlimit small = unlimited;
  small.rlim_cur = 520;  // a CSV of one scene, not its JSON
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const Outcome full =
      Cli({"run", "--scenes", "1", "--no-history", "--json", "old.json", "--csv", "new.csv"});
  setrlimit(RLIMIT_FSIZE, &unlimited);
  EXPECT_EQ(full.status, 1);
  EXPECT_NE(full.err.find("could not write old.json: File too large"), std::string::npos)
      << full.err;
  EXPECT_EQ(ReadFile("old.json"), "earlier report\n");
  EXPECT_EQ(ReadFile("new.csv").find("scene,name,fps,"), 0u);
  std::vector<std::string> names = Files();
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"new.csv", "old.json"}));

  Write("mine.json", RunFile(1, 10));
  ASSERT_EQ(std::system("mkdir pages && echo old >pages/page.html && ln -s pages/page.html "
                        "link.html"),
            0);
  const Outcome linked = Cli({"report", "mine.json", "-o", "link.html"});
  EXPECT_EQ(linked.status, 0) << linked.err;
  struct stat st;
  EXPECT_TRUE(lstat("link.html", &st) == 0 && S_ISLNK(st.st_mode));
  EXPECT_NE(ReadFile("pages/page.html").find("<html"), std::string::npos);
  // Sets of runs on either side of vs; a slower scene is exit status 3.
  for (int day = 2; day <= 5; ++day) Write(FormatC("d%d.json", day), RunFile(day, 10 + day * 0.1));
  for (int day = 6; day <= 9; ++day) Write(FormatC("d%d.json", day), RunFile(day, 7 + day * 0.1));
  const Outcome slower = Cli({"report", "d2.json", "d3.json", "d4.json", "d5.json", "vs", "d6.json",
                              "d7.json", "d8.json", "d9.json", "-o", "sides.html"});
  EXPECT_EQ(slower.status, 3) << slower.err;
  EXPECT_EQ(slower.out.find("Runs: 4 runs -> 4 runs; same view"), 0u) << slower.out;
  EXPECT_NE(slower.out.find("Scene 1 : 10.350000 fps -> 7.750000 fps (ratio 0.749) slower by "
                            "25.1% (95% interval"),
            std::string::npos)
      << slower.out;
  EXPECT_EQ(Cli({"report", "d6.json", "d7.json", "d8.json", "d9.json", "vs", "d2.json", "d3.json",
                 "d4.json", "d5.json", "-o", "sides.html"})
                .status,
            0);
  EXPECT_EQ(Cli({"report", "vs", "d2.json"}).err,
            "vs needs runs on both sides (a file named vs: ./vs)");
  const Outcome piped = Cli({"report", "mine.json", "mine.json", "--output=-"});
  EXPECT_EQ(piped.status, 0) << piped.err;
  EXPECT_NE(piped.out.find("<html"), std::string::npos);
  EXPECT_NE(piped.err.find("Scene 1 : 10.000000 fps -> 10.000000 fps"), std::string::npos);
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
  const Json machines = Parse(doc)["machines"];
  ASSERT_EQ(machines.size(), 2u) << doc;
  for (size_t m = 0; m < 2; ++m) {
    EXPECT_EQ(machines[m]["position"], m + 1);
    EXPECT_EQ(std::to_string(machines[m]["score"].get<int>()), scores[m]);
    EXPECT_EQ(machines[m]["fps"], Numbers({fps.begin() + 24 * m, fps.begin() + 24 * (m + 1)}));
    // The score is the average's hundredfold, cut.
    EXPECT_EQ(std::to_string(static_cast<int>(machines[m]["average_fps"].get<double>() * 100)),
              scores[m]);
  }
  // As saved: without the space the list puts before a leading digit.
  EXPECT_EQ(machines[0]["name"], "3D \"BOX\" \\ \x1b");
  EXPECT_EQ(machines[0]["video_card"], "CARD");

  std::FILE* cmp = std::tmpfile();
  ASSERT_EQ(vm::CompareCommand(1, 2, cmp, err), 0);
  const std::string lines = Contents(cmp);
  EXPECT_NE(lines.find("\nSecond Computer : SLOW\n"), std::string::npos) << lines;
  EXPECT_NE(lines.find("\nScene 24 : 1 vs 2  = 2.000000\n"), std::string::npos) << lines;
  EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 27);
  ASSERT_EQ(vm::CompareCommand(1, 2, json, err, kResultsFile, true), 0);
  const std::string compared = Contents(json).substr(doc.size());
  const Json comparison = Parse(compared);
  EXPECT_EQ(comparison["second"], "SLOW");
  EXPECT_EQ(comparison["overall"], std::stod(After(lines, "C1 vs C2  = ")[0]));
  EXPECT_EQ(comparison["scenes"], Numbers(After(lines, "1 vs 2  = ")));
  EXPECT_TRUE(comparison["scenes"][2].is_null());

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
  const Json doc = Parse(ReadFile("run.json"));
  EXPECT_EQ(doc["program"]["name"], "velmark3");
  EXPECT_TRUE(doc["renderer"]["vendor"].is_string());
  EXPECT_EQ(doc["view"]["width"], 1024);
  EXPECT_EQ(doc["view"]["height"], 768);
  EXPECT_GE(doc["view"]["depth_bits"].get<int>(), 16);  // the view's own buffer
  // The machine was watched: each scene, and the run as a whole.
  EXPECT_TRUE(doc["environment"]["quiet"].is_boolean()) << doc;
  EXPECT_EQ(doc["scenes"][0]["environment"]["busy_runs"].is_array(), true) << doc;
  EXPECT_EQ(doc["settings"],
            Json({{"seconds_per_scene", 2}, {"timer_ms", 50}, {"scenes", Json::array({1})}}));
  EXPECT_EQ(doc["complete"], false);
  EXPECT_EQ(doc["machine"], Json::object());
  ASSERT_EQ(doc["scenes"].size(), 1u) << doc;
  const Json& scene = doc["scenes"][0];
  EXPECT_EQ(scene["name"], "900 Spheres and 1 light");
  EXPECT_EQ(std::to_string(doc["score"].get<int>()), After(text, "Score : ")[0]);
  const std::string fps = After(text, "Scene 1 : ")[0];
  EXPECT_EQ(FormatC("%f", scene["fps"].get<double>()), fps);
  ASSERT_EQ(scene["runs"].size(), 2u);
  const double a = scene["runs"][0], b = scene["runs"][1];
  EXPECT_NEAR(std::stod(fps), (a + b) / 2, 1e-5 * (a + b)) << scene["runs"];
  const double frame = scene["frame_ms"]["median"], draw = scene["draw_ms"]["median"];
  EXPECT_GE(frame, draw) << doc;  // the frame holds the drawing
  EXPECT_GT(draw, 0.0) << doc;

  const std::string csv = ReadFile("run.csv");
  EXPECT_EQ(csv.find("scene,name,fps,frames,draw_ms_mean,draw_ms_min,draw_ms_median,draw_ms_p99,"
                     "draw_ms_max,frame_ms_mean,frame_ms_min,frame_ms_median,frame_ms_p99,"
                     "frame_ms_max,frame_fps,run1,run2\n1,\"900 Spheres and 1 light\"," +
                     fps + "," + std::to_string(scene["frames"].get<long long>()) + ","),
            0u)
      << csv;
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 2);
  EXPECT_EQ(std::count(csv.begin(), csv.end(), ','), 2 * 16);
  const std::string eachRun = FormatC("%f,%f", a, b);  // the row ends with each run's rate
  EXPECT_EQ(csv.substr(csv.size() - eachRun.size() - 2), "," + eachRun + "\n") << csv;
  std::fclose(out);
  std::fclose(err);
}

// The history reads every file whole: runs are listed by the date inside
// them, the damaged (cut short, NaN) as damaged, an interrupted run as such,
// and stray files are named once and never taken as the newest. A report
// skips what it cannot read and says so in its status.
TEST_F(CliDir, HistoryAndReportOfKeptRuns) {
  ASSERT_EQ(mkdir("runs", 0755), 0);
  // Named in the other order than their dates.
  Write("runs/20261209T000000Z-000000.json", RunFile(1, 10));
  Json second = Json::parse(RunFile(2, 20, true));
  second["renderer"]["renderer"] = "GPU\x1b]0;\r\n2  forged  scenes 1  score 9  complete\n\xc2\x9b";
  Write("runs/20261201T000000Z-000000.json", second.dump());
  Json stopped = Json::parse(RunFile(4, 5));
  stopped["interrupted"] = true;
  Write("runs/20261204T000000Z-000000.json", stopped.dump());
  const std::string whole = RunFile(3, 30);
  Write("runs/20261203T000000Z-000000.json", whole.substr(0, whole.size() / 2));
  Write("runs/20261205T000000Z-000000.json",
        RunFile(5, 50).replace(RunFile(5, 50).find("50.0"), 4, "NaN"));
  Write("runs/notes.json", "my notes");
  Write("runs/zz-bad.json", "{");

  CliOptions o;
  o.jsonPath = "-";
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  EXPECT_EQ(HistoryCommand(o, out, err), 1);  // damaged runs
  const Json listed = Parse(Contents(out))["runs"];
  ASSERT_EQ(listed.size(), 5u) << Contents(out);
  EXPECT_EQ(listed[0]["file"], "runs/20261209T000000Z-000000.json");
  Json run2 = listed[1];
  run2.erase("renderer");
  EXPECT_EQ(run2, Json({{"index", 2},
                        {"file", "runs/20261201T000000Z-000000.json"},
                        {"date", "2026-12-02T00:00:00Z"},
                        {"scenes", {1, 2, 3}},
                        {"score", 200},
                        {"complete", true},
                        {"interrupted", false},
                        {"marks", Json::array()}}));
  EXPECT_TRUE(listed[2]["damaged"].is_string()) << listed[2];
  EXPECT_EQ(listed[3]["interrupted"], true);
  EXPECT_TRUE(listed[4]["damaged"].is_string()) << listed[4];
  const std::string said = Contents(err);
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 2) << said;
  for (const char* stray : {"runs/notes.json is not a kept run", "runs/zz-bad.json is not"})
    EXPECT_NE(said.find(stray), std::string::npos) << said;
  std::FILE* text = std::tmpfile();
  o.jsonPath.clear();
  HistoryCommand(o, text, err);
  const std::string lines = Contents(text);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 5) << lines;
  EXPECT_NE(lines.find("\n2  2026-12-02T00:00:00Z  GPU?]0;??2  forged  scenes 1  score 9  "
                       "complete??  scenes 1-3  score 200  complete\n3  damaged  "
                       "runs/20261203T000000Z-000000.json: not valid JSON"),
            std::string::npos)
      << lines;
  EXPECT_NE(
      lines.find("\n4  2026-12-04T00:00:00Z  GPU?  scenes 1-3  score 50  partial, interrupted\n"),
      std::string::npos)
      << lines;

  // The newest whole run is the interrupted one, not a stray file.
  o.runs = {"1", "3", "2"};
  std::FILE* verdicts = std::tmpfile();
  EXPECT_EQ(ReportCommand(o, verdicts, err), 1);  // one skipped, the others reported
  // One run a side claims nothing, however far apart.
  EXPECT_NE(Contents(verdicts).find("\nScene 1 : 10.000000 fps -> 20.000000 fps (ratio 2.000) not "
                                    "enough runs (1 and 1 rates"),
            std::string::npos)
      << Contents(verdicts);
  o.runs.clear();
  EXPECT_EQ(ReportCommand(o, verdicts, err), 0);
  EXPECT_NE(ReadFile("report.html").find("<b class=changed>interrupted</b>"), std::string::npos);
  EXPECT_NE(Contents(err).find("run 1 was interrupted"), std::string::npos);
  for (std::FILE* f : {out, err, text, verdicts}) std::fclose(f);
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
