#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <regex>
#include <vector>

#include "cli/cli_commands.h"

namespace vm {
namespace {

struct Parsed {
  bool ok;
  CliOptions options;
  std::string error;
};

Parsed Parse(std::vector<const char*> args) {
  args.insert(args.begin(), "velmark3-cli");
  Parsed p;
  p.ok = ParseCli(static_cast<int>(args.size()), args.data(), p.options, p.error);
  return p;
}

int SelectedCount(const CliOptions& o) {
  int n = 0;
  for (bool s : o.scenes) n += s;
  return n;
}

TEST(CliOptions, SceneListsWithRanges) {
  const Parsed p = Parse({"run", "--scenes", "1,3,5-9,24"});
  ASSERT_TRUE(p.ok) << p.error;
  const int expected[] = {1, 3, 5, 6, 7, 8, 9, 24};
  EXPECT_EQ(SelectedCount(p.options), 8);
  for (int s : expected) EXPECT_TRUE(p.options.scenes[s - 1]) << s;

  for (const char* bad :
       {"0", "25", "", "1,", ",1", "3-1", "1-", "a", "1--3", "-3", "1 2", "99999999999999"}) {
    const Parsed q = Parse({"run", "--scenes", bad});
    EXPECT_FALSE(q.ok) << bad;
    EXPECT_EQ(q.error.find('\n'), std::string::npos);
  }
}

// Below a floor runs the floor, with a note; above a ceiling is refused.
TEST(CliOptions, NumbersAreRaisedToTheFloorsAndRefusedAboveTheCeilings) {
  const struct {
    std::vector<const char*> args;
    bool ok;
    int seconds, timerMs;
    size_t notes;
  } cases[] = {
      {{"--seconds=1", "--timer", "9"}, true, 2, 10, 2},
      {{"--seconds", "-99999999999", "--timer=10"}, true, 2, 10, 1},
      {{"--seconds", "3600", "--timer", "10000"}, true, 3600, 10000, 0},
      {{"--seconds", "3601"}, false, 0, 0, 0},
      {{"--seconds", "99999999999"}, false, 0, 0, 0},
      {{"--timer", "10001"}, false, 0, 0, 0},
      {{"--timer", "99999999999999999999999"}, false, 0, 0, 0},
  };
  for (const auto& c : cases) {
    std::vector<const char*> args = {"run"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const Parsed p = Parse(args);
    const std::string shown = std::string(c.args[0]) + " " + c.args[1];
    EXPECT_EQ(p.ok, c.ok) << shown << ": " << p.error;
    if (!c.ok) {
      EXPECT_NE(p.error.find("above"), std::string::npos) << shown << ": " << p.error;
      continue;
    }
    EXPECT_EQ(p.options.seconds, c.seconds) << shown;
    EXPECT_EQ(p.options.timerMs, c.timerMs) << shown;
    EXPECT_EQ(p.options.notes.size(), c.notes) << shown;
  }
}

TEST(CliOptions, BadCommandLinesAreRefusedWithOneLine) {
  const std::vector<std::vector<const char*>> bad = {
      {},
      {"walk"},
      {"wa\nlk"},
      {"run", "--bo\ngus"},
      {"run", "--seconds", "1\n2"},
      {"run", "--bogus"},
      {"--version", "extra"},
      {"run", "--seconds", "2s"},
      {"run", "--timer", ""},
      {"run", "--size", "1024"},
      {"run", "--size", "0x768"},
      {"run", "--size", "1024x-1"},
      {"run", "extra"},
      {"run", "--repeat", "0"},
      {"run", "--repeat", "101"},
      {"run", "--egl", "x11"},
      {"run", "--json", "-", "--csv", "-"},
      {"run", "--egl", "surfaceless", "--device", "0"},
      {"results", "extra"},
      {"compare", "1"},
      {"compare", "1", "2", "3"},
      {"compare", "0", "2"},
      {"compare", "x", "2"},
      {"compare", "-1", "2"},
      {"validate", "--images-all"},
      {"validate", "--images="},
      {"history", "3"},
      {"report", "--last", "0"},
      {"report", "-o"},
      {"report", "--last=0"},
      {"report", "-x"},
  };
  for (const auto& args : bad) {
    const Parsed p = Parse(args);
    std::string shown;
    for (const char* a : args) shown += std::string(a) + " ";
    EXPECT_FALSE(p.ok) << shown;
    EXPECT_FALSE(p.error.empty()) << shown;
    EXPECT_EQ(p.error.find('\n'), std::string::npos) << shown;
  }
}

// What the table test cannot tell: an empty value is a value given, the
// positions of compare, and help asked for after other words.
TEST(CliOptions, FieldsAndCommands) {
  Parsed p = Parse({"run", "--os=", "--cpu", "fast one"});
  ASSERT_TRUE(p.ok) << p.error;
  EXPECT_TRUE(p.options.given[8]);
  EXPECT_EQ(p.options.fields[8], "");
  EXPECT_FALSE(p.options.given[0]);
  p = Parse({"compare", "2", "7"});
  ASSERT_TRUE(p.ok) << p.error;
  EXPECT_EQ(p.options.command, CliCommand::kCompare);
  EXPECT_EQ(p.options.first, 2);
  EXPECT_EQ(p.options.second, 7);
  EXPECT_EQ(Parse({"run", "--device", "1"}).options.egl, EglPlatform::kDevice);
  EXPECT_EQ(Parse({"run", "--scenes", "1", "-h"}).options.command, CliCommand::kHelp);
  p = Parse({"report", "3", "a.json", "-o", "x.html", "--last", "2"});
  ASSERT_TRUE(p.ok) << p.error;
  EXPECT_EQ(p.options.runs, (std::vector<std::string>{"3", "a.json"}));
  EXPECT_EQ(p.options.outputPath, "x.html");
}

// What an option can change, to tell two parses apart.
std::string Described(const CliOptions& o) {
  std::string d;
  for (bool s : o.scenes) d += s ? '1' : '0';
  for (int k = 0; k < kFieldCount; ++k) d += "|" + o.fields[k];
  for (int n : {o.seconds, o.timerMs, o.width, o.height, o.repeat, o.device, o.depthBits, o.last,
                static_cast<int>(o.egl), static_cast<int>(o.notes.size()), o.save + 2 * o.detect,
                o.allowPartial + 2 * o.validate + 4 * o.allowInvalid + 8 * o.history +
                    16 * o.imagesAll + 32 * o.all,
                static_cast<int>(o.sideSplit)})
    d += "|" + std::to_string(n);
  for (const std::string* p :
       {&o.jsonPath, &o.csvPath, &o.imagesDir, &o.resultsFile, &o.outputPath})
    d += "|" + *p;
  return d;
}

// Every option of every command, from the tables: one with a value takes it
// as --opt VALUE and as --opt=VALUE alike, and it changes something; one
// without refuses a value; one the command does not take is unknown to it.
TEST(CliOptions, EveryOptionTakesItsValueEitherWay) {
  int checked = 0;
  for (const CommandRow& c : CommandTable()) {
    std::vector<const char*> base = {c.name};
    if (c.command == CliCommand::kCompare) base = {c.name, "1", "2"};
    if (c.command == CliCommand::kValidate) base = {c.name, "--images", "d"};  // for --images-all
    const std::string plain = Described(Parse(base).options);
    for (const OptionRow& o : OptionTable()) {
      const std::string name = std::string("--") + o.name;
      const std::string joined = name + "=" + o.example;
      SCOPED_TRACE(std::string(c.name) + " " + name);
      std::vector<const char*> spaced = base, equals = base, bare = base;
      spaced.insert(spaced.end(), {name.c_str(), o.example});
      equals.push_back(joined.c_str());
      bare.push_back(name.c_str());
      if (!(o.commands & CommandBit(c.command))) {
        EXPECT_EQ(Parse(bare).error.find("unknown option '" + name + "' for "), 0u);
        continue;
      }
      ++checked;
      if (o.kind == ValueKind::kNone || (o.valueless & CommandBit(c.command))) {
        EXPECT_TRUE(Parse(bare).ok) << Parse(bare).error;
        EXPECT_NE(Described(Parse(bare).options), plain);
        EXPECT_EQ(Parse(equals).error,
                  "option " + name + " takes no value" +
                      (o.kind == ValueKind::kNone ? "" : " for " + std::string(c.name)));
        continue;
      }
      const Parsed a = Parse(spaced), b = Parse(equals);
      ASSERT_TRUE(a.ok && b.ok) << a.error << b.error;
      EXPECT_EQ(Described(a.options), Described(b.options));
      EXPECT_NE(Described(a.options), plain);
      EXPECT_EQ(Parse(bare).error, "option " + name + " needs a value");
    }
  }
  EXPECT_GT(checked, 40);
}

// The man page once lagged --help by six options: every command and option
// --help names must be in it (the page may name more).
TEST(CliOptions, TheManPageHasEveryOptionOfHelp) {
  std::ifstream in(VM_TEST_SOURCE_DIR "/dist/man/velmark3-cli.1.in");
  const std::string page = std::regex_replace(std::string{std::istreambuf_iterator<char>(in), {}},
                                              std::regex(R"(\\-)"), "-");
  const std::string help = CliUsage();
  const std::regex word(R"(--[a-z][a-z-]*|\n  ([a-z]+) )");  // options, and commands
  int checked = 0;
  for (std::sregex_iterator m(help.begin(), help.end(), word), end; m != end; ++m, ++checked) {
    const std::string name = (*m)[1].matched ? (*m)[1].str() : m->str();
    EXPECT_TRUE(std::regex_search(page, std::regex("(^|[^a-z-])" + name + "($|[^a-z-])"))) << name;
  }
  EXPECT_GT(checked, 30);
}

}  // namespace
}  // namespace vm
