// Run reports read back, the verdict of a comparison, and the report page.
#include <gtest/gtest.h>

#include <cmath>
#include <nlohmann/json.hpp>
#include <regex>
#include <string>
#include <vector>

#include "report/html_report.h"
#include "report/run_file.h"
#include "report/run_history.h"
#include "results/results_file.h"
#include "state/bench_state.h"

namespace vm {
namespace {

using Json = nlohmann::ordered_json;  // the order this program writes

Json Doc(Json scenes, int score = 5000) {
  return {{"program", {{"name", "velmark3"}, {"version", "1.1.0"}}},
          {"renderer", {{"vendor", "V"}, {"renderer", "<script>R</script>"}, {"version", "4.5"}}},
          {"date", "2026-12-07T20:35:00Z"},
          {"settings", {{"seconds_per_scene", 2}, {"timer_ms", 100}, {"scenes", {1, 2}}}},
          {"complete", false},
          {"score", score},
          {"scenes", scenes}};
}

Json Scene(int n, Json fps, Json runs = Json()) {
  Json s = {{"scene", n}, {"name", "S" + std::to_string(n)}, {"fps", fps}, {"frames", 10}};
  if (!runs.is_null()) s["runs"] = runs;
  return s;
}

RunData Parsed(const Json& doc) {
  RunData r;
  std::string error;
  EXPECT_TRUE(ParseRun(doc.dump(), RunDetail::kAll, r, error)) << error;
  return r;
}

// Files of other shapes are refused with a reason; a scene without frames
// (null times) and fields a newer writer adds are fine.
TEST(RunFile, RefusesOtherShapesAndAcceptsNulls) {
  Json otherProgram = Doc(Json::array());
  otherProgram["program"]["name"] = "other";
  const struct {
    std::string text;
    const char* reason;  // empty: accepted
  } cases[] = {
      {"{\"program\": ", "not valid JSON"},
      {"[1, 2]", "not a velmark3 run report"},
      {otherProgram.dump(), "not a velmark3 run report"},
      {Doc({Scene(25, 1.0)}).dump(), "scene number 1-24"},
      {Doc({Scene(1, "fast")}).dump(), "scene number 1-24"},
      {Doc({Scene(2, 1.0), Scene(2, 2.0)}).dump(), "scene 2 is listed twice"},
      {Doc({Scene(1, nullptr)}).dump(), ""},
      {Doc({{{"scene", 3}, {"fps", 9.5}, {"draw_ms", {{"median", nullptr}}}, {"new", 1}}}).dump(),
       ""},
  };
  for (const auto& c : cases) {
    RunData r;
    std::string error;
    EXPECT_EQ(ParseRun(c.text, RunDetail::kAll, r, error), !*c.reason) << c.text;
    EXPECT_NE(error.find(c.reason), std::string::npos) << error;
  }
  const RunData r = Parsed(Doc({Scene(1, nullptr)}));
  EXPECT_TRUE(std::isnan(r.scenes[0].fps));
  // A listing reads only what comes before the scenes.
  RunData summary;
  std::string error;
  const std::string text = Doc({Scene(25, "x")}, 77).dump();
  ASSERT_TRUE(ParseRun(text.substr(0, text.rfind("\"scenes\":[")) + "\"scenes\": [}",
                       RunDetail::kSummary, summary, error))
      << error;
  EXPECT_EQ(summary.score, 77);
  EXPECT_EQ(summary.selected, (std::vector<int>{1, 2}));
}

// What a run says about its machine and its doubts is read back, marked on
// the pages and kept out of the many-run statistics unless all are asked.
TEST(RunFile, MarksBusyFailedAndInterruptedRuns) {
  Json doc = Doc({Scene(1, 10.0, {9.0, 10.0, 11.0})});
  doc["interrupted"] = true;
  doc["validated"] = false;
  doc["environment"] = {{"quiet", false}, {"busy_scenes", {1}}};
  doc["view"] = {{"width", 1024}, {"height", 768}, {"depth_bits", 24}};
  doc["scenes"][0]["environment"] = {
      {"cpus", 2}, {"other_cpus", 1.5}, {"busy", true}, {"busy_runs", {2}}};
  const RunData r = Parsed(doc);
  EXPECT_TRUE(r.interrupted);
  EXPECT_EQ(r.quiet, 0);
  EXPECT_EQ(r.depthBits, 24);
  EXPECT_TRUE(r.scenes[0].busy);
  EXPECT_EQ(r.scenes[0].busyRuns, std::vector<int>{2});
  EXPECT_DOUBLE_EQ(r.scenes[0].otherCpus, 1.5);
  EXPECT_EQ(RunMarks(r), "failed validation, interrupted, busy");
  EXPECT_EQ(RunMarks(Parsed(Doc({Scene(1, 10.0)}))), "");

  std::vector<RunData> many;
  for (int k = 0; k < 9; ++k) many.push_back(Parsed(Doc({Scene(1, 10.0 + k)})));
  many[8] = r;  // the only run at 10 fps... and the slowest rate kept out
  many[8].scenes[0].fps = 1.0;
  const std::string page = HtmlReport(many, Standing());
  EXPECT_NE(page.find("Left out: the scenes of 1 marked run that"), std::string::npos);
  EXPECT_EQ(page.find(">1.000000<"), std::string::npos);  // not the slowest whisker
  EXPECT_NE(HtmlReport(many, Standing(), {}, true).find(">1.000000<"), std::string::npos);

  // Two runs: each side's spread, and a verdict that says when runs are few.
  const std::string two = HtmlReport(
      {Parsed(Doc({Scene(1, 10.0, {9.0, 10.0, 11.0})})), Parsed(Doc({Scene(1, 5.0)}))}, Standing());
  EXPECT_NE(two.find("3 runs: 9.00&ndash;11.00"), std::string::npos);
  EXPECT_NE(two.find("not enough runs (3 and 1 rates"), std::string::npos);
  const std::string apart =
      HtmlReport({Parsed(Doc({Scene(1, 10.0)})), Parsed(Doc({Scene(2, 5.0)}))}, Standing());
  EXPECT_NE(apart.find("no scene in common"), std::string::npos);
}

// A run already saved in the results file is one of its machines, not two.
TEST(RunFile, PlaceCountsASavedRunOnce) {
  const std::string path = ::testing::TempDir() + "place_results.txt";
  std::string fields[kDescriptionFields];
  std::string text;
  const std::tm date{};
  for (float t : {0.05f, 0.1f}) {  // 20 fps and 10 fps on every scene
    for (float& s : BenchState.sceneTime) s = t;
    text += FormatRecord(fields, date);
  }
  std::FILE* f = std::fopen(path.c_str(), "w");
  ASSERT_TRUE(f);
  std::fputs(text.c_str(), f);
  std::fclose(f);
  Json scenes = Json::array();
  for (int i = 1; i <= 24; ++i) scenes.push_back(Scene(i, 10.0));
  RunData run = Parsed(Doc(scenes, 1000));
  Standing s = RankRun(run, path);
  EXPECT_TRUE(s.saved);
  EXPECT_EQ(s.place, 2);
  EXPECT_NE(HtmlReport({run}, s).find("Place 2 of 2"), std::string::npos);
  run.scenes[0].fps = 11.0;  // not the saved run
  s = RankRun(run, path);
  EXPECT_FALSE(s.saved);
  EXPECT_NE(HtmlReport({run}, s).find("Place 2 of 3"), std::string::npos);
  run.scenes.resize(5);
  EXPECT_NE(HtmlReport({run}, s).find("<b class=changed>partial</b>: 5 of the 24 scenes"),
            std::string::npos);
  std::remove(path.c_str());
}

int Count(const std::string& text, const std::string& what) {
  int n = 0;
  for (size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) ++n;
  return n;
}

// The page for one, two and many runs: a bar per scene and run, every rate
// in the text, file texts escaped, nothing fetched.
TEST(HtmlReport, ChartsTablesAndNothingFromOutside) {
  const std::vector<RunData> two = {Parsed(Doc({Scene(1, 10.5), Scene(2, 20.25)})),
                                    Parsed(Doc({Scene(1, 11.0), Scene(2, nullptr)}))};
  const std::string page = HtmlReport(two, Standing());
  EXPECT_EQ(Count(page, "<rect class=\"bar r"), 3);
  for (const char* fps : {">10.500000<", ">20.250000<", ">11.000000<"})
    EXPECT_NE(page.find(fps), std::string::npos) << fps;
  EXPECT_EQ(Count(page, "changed</td>"), 0);  // 10.5 -> 11 is within 5%
  EXPECT_NE(page.find("&lt;script&gt;R"), std::string::npos);
  std::vector<RunData> many;
  for (int k = 0; k < 9; ++k) many.push_back(Parsed(Doc({Scene(1, 10.0 + k)}, 100 * k)));
  Json validated = Scene(1, 10.0);
  validated["validation"] = {{"status", "differs"}, {"difference", 0.25}};
  validated["frame_hist"] = {{10.0, 3}, {12.5, 1}};
  const std::string one = HtmlReport({Parsed(Doc({validated}))}, Standing{3, 12, "results.txt"});
  EXPECT_NE(one.find("Place 3 of 13"), std::string::npos);
  EXPECT_NE(one.find(">differs (0.25)<"), std::string::npos);
  EXPECT_EQ(Count(one, "<rect class=\"dist r1\""), 2);
  EXPECT_NE(one.find(">10.000: 3, 12.500: 1<"), std::string::npos);
  const std::string spread = HtmlReport(many, Standing());
  EXPECT_EQ(Count(spread, "class=\"box\""), 1);
  EXPECT_LT(spread.find("\"Score\" class=n>800<"), spread.find("\"Score\" class=n>700<"));
  for (const std::string& p : {page, one, spread}) {
    EXPECT_EQ(Count(p, "<script"), 0);
    EXPECT_EQ(Count(p, "src="), 0);
    EXPECT_EQ(Count(p, "url("), 0);
    EXPECT_EQ(Count(p, "href"), 0);
  }
}

// Every chart says what it charts: a labelled scale (one for the page's
// rates, one per scene when runs are compared), the value on each bar, both
// rates of a scene told apart, counts in words, and each table cell named
// by its column for the narrow layout.
TEST(HtmlReport, ChartsLabelScalesValuesAndBothRates) {
  Json a = Scene(1, 10.5), b = Scene(2, 20.5);
  a["frame_fps"] = 7.25;
  a["frame_hist"] = {{10.0, 1}, {12.5, 2}};
  const std::string one = HtmlReport({Parsed(Doc({a, b}))}, Standing());
  EXPECT_EQ(Count(one, ">25 fps</span>"), 1);  // one scale up to 25, its unit at the end
  for (const char* onBar : {">10.5</span>", ">20.5</span>"})
    EXPECT_EQ(Count(one, onBar), 1) << onBar;
  EXPECT_NE(one.find("<td data-h=\"fps (whole frames)\" class=n>7.250000<"), std::string::npos);
  EXPECT_NE(one.find("data-h=\"fps (whole frames)\" class=n>-<"),
            std::string::npos);  // not written
  EXPECT_NE(one.find("1 frame up to 10.000 ms"), std::string::npos);
  EXPECT_EQ(Count(one, "1 frames up"), 0);
  EXPECT_NE(one.find("tallest 2 frames"), std::string::npos);
  const std::string two =
      HtmlReport({Parsed(Doc({Scene(1, 3.0), b})), Parsed(Doc({Scene(1, 4.0), b}))}, Standing());
  EXPECT_EQ(Count(two, ">5 fps</span>"), 1);   // scene 1 on its own scale
  EXPECT_EQ(Count(two, ">25 fps</span>"), 1);  // and scene 2
  // One run a side claims no change, in a cell named for the narrow layout.
  EXPECT_EQ(Count(two, "<td data-h=\"Verdict\">not enough runs"), 2);  // both scenes
}

TEST(RunHistory, NamesSortByTimeBesideTheResultsFile) {
  EXPECT_EQ(RunsFolder("results.txt"), "runs");
  EXPECT_EQ(RunsFolder("/a/b/mine.txt"), "/a/b/runs");
  EXPECT_EQ(IsoDate(1796675700), "2026-12-07T20:35:00Z");
  const std::string a = NewRunPath("runs", 1796675700), b = NewRunPath("runs", 1796675700);
  EXPECT_TRUE(std::regex_match(a, std::regex("runs/20261207T203500Z-[0-9a-f]{6}\\.json"))) << a;
  EXPECT_NE(a, b);
  EXPECT_LT(NewRunPath("runs", 1796675700), NewRunPath("runs", 1796675701));
}

}  // namespace
}  // namespace vm
