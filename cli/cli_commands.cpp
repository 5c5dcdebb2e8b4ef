#include "cli/cli_commands.h"

#include <ctime>

#include "cli/cli_documents.h"
#include "cli/cli_history.h"
#include "cli/cli_report_page.h"
#include "cli/cli_results.h"
#include "cli/cli_run.h"
#include "cli/cli_scenes.h"
#include "cli/cli_validate.h"
#include "report/run_history.h"
#include "report/run_report.h"
#include "results/result_table.h"

namespace vm {
namespace {

constexpr unsigned kRun = CommandBit(CliCommand::kRun);
constexpr unsigned kResults = CommandBit(CliCommand::kResults);
constexpr unsigned kCompare = CommandBit(CliCommand::kCompare);
constexpr unsigned kDevices = CommandBit(CliCommand::kDevices);
constexpr unsigned kScenes = CommandBit(CliCommand::kScenes);
constexpr unsigned kValidate = CommandBit(CliCommand::kValidate);
constexpr unsigned kHistory = CommandBit(CliCommand::kHistory);
constexpr unsigned kReport = CommandBit(CliCommand::kReport);
constexpr unsigned kEvery =
    kRun | kResults | kCompare | kDevices | kScenes | kValidate | kHistory | kReport;

std::string Bad(const char* name, const std::string& value, const std::string& hint) {
  return std::string("bad --") + name + " '" + Shown(value) + "' (" + hint + ")";
}

// A number option in [lo, hi]; true when it was taken.
bool Number(const char* name, const std::string& value, long lo, long hi, const char* hint,
            int& out, std::string& error) {
  long n = 0;
  if (ParseInteger(value, lo, hi, n) != IntegerParse::kOk) {
    error = Bad(name, value, hint);
    return false;
  }
  out = static_cast<int>(n);
  return true;
}

// --seconds and --timer: below the floor runs the floor, as the settings
// form does; above the ceiling is refused.
bool Setting(const char* name, const std::string& value, int floor, int ceiling, CliOptions& o,
             int& out, std::string& error) {
  long n = 0;
  switch (ParseInteger(value, floor, ceiling, n)) {
    case IntegerParse::kNotANumber:
      error = Bad(name, value, "a whole number");
      return false;
    case IntegerParse::kAbove:
      error = std::string("--") + name + " " + Shown(value) + " is above the most allowed, " +
              std::to_string(ceiling);
      return false;
    case IntegerParse::kBelow:
      o.notes.push_back(std::string("--") + name + " " + Shown(value) +
                        " is below the least allowed; " + std::to_string(floor) + " is used");
      break;
    case IntegerParse::kOk:
      break;
  }
  out = static_cast<int>(n);
  return true;
}

bool Path(const char* name, const char* what, const std::string& value, std::string& out,
          std::string& error) {
  if (value.empty()) {
    error = std::string("--") + name + " needs " + what;
    return false;
  }
  out = value;
  return true;
}

bool SetSize(CliOptions& o, const std::string& value, std::string& error) {
  const size_t x = value.find_first_of("xX");
  long w = 0, h = 0;
  if (x == std::string::npos || value[0] == '-' || value.compare(x + 1, 1, "-") == 0 ||
      ParseInteger(value.substr(0, x), 1, 16384, w) != IntegerParse::kOk ||
      ParseInteger(value.substr(x + 1), 1, 16384, h) != IntegerParse::kOk) {
    error = Bad("size", value,
                "WxH, e.g. " + std::to_string(kDefaultViewWidth) + "x" +
                    std::to_string(kDefaultViewHeight));
    return false;
  }
  o.width = static_cast<int>(w);
  o.height = static_cast<int>(h);
  return true;
}

bool SetEgl(CliOptions& o, const std::string& value, std::string& error) {
  if (value == "auto")
    o.egl = EglPlatform::kAuto;
  else if (value == "surfaceless")
    o.egl = EglPlatform::kSurfaceless;
  else if (value == "device")
    o.egl = EglPlatform::kDevice;
  else
    error = Bad("egl", value, "auto, surfaceless or device");
  return error.empty();
}

template <int k>
bool SetField(CliOptions& o, const std::string& value, std::string&) {
  o.fields[k] = value;
  o.given[k] = true;
  return true;
}

template <int k>
OptionRow Field(const char* help) {
  return {kFieldOptions[k], 0, ValueKind::kText, "TEXT", kRun, 0, help, SetField<k>, nullptr, "X"};
}

bool NoWords(const std::vector<std::string>& words, CliOptions&, std::string& error) {
  if (words.empty()) return true;
  error = "unexpected argument '" + Shown(words[0]) + "' (see --help)";
  return false;
}

bool ComparePositions(const std::vector<std::string>& words, CliOptions& o, std::string& error) {
  long p = 0, q = 0;
  if (words.size() != 2) {
    error = "compare needs two positions P Q (see --help)";
    return false;
  }
  if (ParseInteger(words[0], 1, kResultRows, p) != IntegerParse::kOk ||
      ParseInteger(words[1], 1, kResultRows, q) != IntegerParse::kOk) {
    error =
        "positions must be whole numbers 1-" + std::to_string(kResultRows) + ", as in the ranking";
    return false;
  }
  o.first = static_cast<int>(p);
  o.second = static_cast<int>(q);
  return true;
}

bool ReportRuns(const std::vector<std::string>& words, CliOptions& o, std::string& error) {
  o.runs.clear();
  for (const std::string& w : words) {
    if (w != "vs") {
      o.runs.push_back(w);
    } else if (o.sideSplit >= 0) {
      error = "report takes one vs between two sides of runs";
      return false;
    } else {
      o.sideSplit = static_cast<long>(o.runs.size());
    }
  }
  const bool secondSide = static_cast<long>(o.runs.size()) > o.sideSplit || o.last > 0;
  if (o.sideSplit == 0 || (o.sideSplit > 0 && !secondSide)) {
    error = "vs needs runs on both sides (a file named vs: ./vs)";
    return false;
  }
  return true;
}

void RunOutputs(CliOptions& o, std::vector<CommandOutput>& writes, std::vector<std::string>&) {
  if (o.history && o.keptRunPath.empty())
    o.keptRunPath = NewRunPath(RunsFolder(o.resultsFile), std::time(nullptr));
  writes = {{"--json", o.jsonPath},
            {"--csv", o.csvPath},
            {"--save", o.save ? o.resultsFile : "", OutputKind::kAppend},
            {"runs/", o.history ? o.keptRunPath : "", OutputKind::kKeptRun}};
}

void ValidateOutputs(CliOptions& o, std::vector<CommandOutput>& writes, std::vector<std::string>&) {
  writes = {{"--json", o.jsonPath}};
  for (int i = 0; i < kSceneCount && !o.imagesDir.empty(); ++i)
    if (o.scenes[i])
      for (const char* kind : kPictureKinds)
        writes.push_back({"--images", PicturePath(o.imagesDir, i, kind), OutputKind::kPicture});
}

void ReportOutputs(CliOptions& o, std::vector<CommandOutput>& writes,
                   std::vector<std::string>& reads) {
  writes = {{"--output", o.outputPath}};
  for (const std::string& run : o.runs)
    if (!IsHistoryIndex(run)) reads.push_back(run);
}

int Results(CliOptions& o, std::FILE* out, std::FILE* err) {
  return ResultsCommand(out, err, o.resultsFile.c_str(), !o.jsonPath.empty());
}
int Compare(CliOptions& o, std::FILE* out, std::FILE* err) {
  return CompareCommand(o.first, o.second, out, err, o.resultsFile.c_str(), !o.jsonPath.empty());
}
int Devices(CliOptions&, std::FILE* out, std::FILE* err) {
  return DevicesCommand(out, err);
}
int Scenes(CliOptions& o, std::FILE* out, std::FILE*) {
  return ScenesCommand(out, !o.jsonPath.empty());
}
int Validate(CliOptions& o, std::FILE* out, std::FILE* err) {
  return ValidateCommand(o, out, err);
}
int ListHistory(CliOptions& o, std::FILE* out, std::FILE* err) {
  return HistoryCommand(o, out, err);
}
int Report(CliOptions& o, std::FILE* out, std::FILE* err) {
  return ReportCommand(o, out, err);
}

}  // namespace

const std::vector<OptionRow>& OptionTable() {
  static const std::vector<OptionRow> table = {
      {"results-file", 0, ValueKind::kFile, "PATH", kEvery, 0,
       "read (and with --save append) PATH instead of results.txt",
       [](CliOptions& o, const std::string& v, std::string& e) {
         return Path("results-file", "a file name", v, o.resultsFile, e);
       },
       &CliOptions::resultsFile, "mine.txt"},
      {"scenes", 0, ValueKind::kSceneList, "LIST", kRun | kValidate, 0,
       "scenes to run, numbers 1-24, e.g. 1,3,5-9 (default: all)",
       [](CliOptions& o, const std::string& v, std::string& e) {
         return ParseSceneList(v, o.scenes, e);
       },
       nullptr, "1,3,5-9"},
      {"seconds", 0, ValueKind::kNumber, "N", kRun, 0,
       "seconds per scene, 2-3600; less than 2 runs 2 (default 2)",
       [](CliOptions& o, const std::string& v, std::string& e) {
         return Setting("seconds", v, kMinSecondsPerScene, kMaxSecondsPerScene, o, o.seconds, e);
       },
       nullptr, "3"},
      {"timer", 0, ValueKind::kNumber, "MS", kRun, 0,
       "frame timer interval in ms, 10-10000; less than 10 runs\n"
       "10 (default 100; compare only runs made with 100)",
       [](CliOptions& o, const std::string& v, std::string& e) {
         return Setting("timer", v, kMinTimerIntervalMs, kMaxTimerIntervalMs, o, o.timerMs, e);
       },
       nullptr, "50"},
      {"size", 0, ValueKind::kSize, "WxH", kRun, 0,
       "size of the off-screen view (default 1024x768)", SetSize, nullptr, "640x480"},
      {"save", 0, ValueKind::kNone, "", kRun, 0,
       "append the run to results.txt, as Save Results does;\n"
       "only a run of all 24 scenes, unless --allow-partial",
       [](CliOptions& o, const std::string&, std::string&) { return o.save = true; }, nullptr, ""},
      {"allow-partial", 0, ValueKind::kNone, "", kRun, 0,
       "let --save store a run of fewer scenes, or with scenes\n"
       "that drew no frame (a --timer longer than a scene): those\n"
       "are saved as 0 fps and lower its score",
       [](CliOptions& o, const std::string&, std::string&) { return o.allowPartial = true; },
       nullptr, ""},
      {"detect", 0, ValueKind::kNone, "", kRun, 0,
       "fill every description field not given from this machine\n"
       "(CPU, memory, OpenGL renderer and driver, system)",
       [](CliOptions& o, const std::string&, std::string&) { return o.detect = true; }, nullptr,
       ""},
      {"json", 0, ValueKind::kFile, "PATH",
       kRun | kValidate | kResults | kCompare | kScenes | kHistory,
       kResults | kCompare | kScenes | kHistory,
       "write the outcome as one JSON document to PATH; - writes it\n"
       "to standard output and the text lines to standard error.\n"
       "results, compare, scenes and history take --json alone:\n"
       "the same values on standard output (descriptions as saved)",
       [](CliOptions& o, const std::string& v, std::string& e) {
         return Path("json", "a file name, or - for standard output", v, o.jsonPath, e);
       },
       &CliOptions::jsonPath, "out.json"},
      {"csv", 0, ValueKind::kFile, "PATH", kRun, 0,
       "the run's scenes as CSV rows with a header; - as for --json\n"
       "(a scene that drew no frame has null times in JSON, empty\n"
       "fields in CSV)",
       [](CliOptions& o, const std::string& v, std::string& e) {
         return Path("csv", "a file name, or - for standard output", v, o.csvPath, e);
       },
       &CliOptions::csvPath, "out.csv"},
      {"repeat", 0, ValueKind::kNumber, "N", kRun, 0,
       "run the selection N times (1-100); each scene's median\n"
       "rate is printed, scored and saved, and standard error\n"
       "names scenes whose runs spread by more than 10%; the\n"
       "JSON lists each run's rate, the CSV has columns run1..runN.\n"
       "auto: 5 to 20 runs, until the relative standard error of\n"
       "every scene's median is under 3% (the spread reached is\n"
       "printed)",
       [](CliOptions& o, const std::string& v, std::string& e) {
         if (v == "auto") {
           o.repeatAuto = true;
           o.repeat = kAutoMostRuns;
           return true;
         }
         o.repeatAuto = false;
         return Number("repeat", v, 1, kMaxRepeat, "1 to 100 runs, or auto", o.repeat, e);
       },
       nullptr, "3"},
      {"egl", 0, ValueKind::kChoice, "PLATFORM", kRun | kValidate, 0,
       "auto (default: surfaceless, else device), surfaceless\n"
       "(Mesa's) or device (EGL_EXT_platform_device: drivers\n"
       "without a surfaceless platform)",
       SetEgl, nullptr, "device"},
      {"device", 0, ValueKind::kNumber, "N", kRun | kValidate, 0,
       "the device of the device platform to run on (default 0)",
       [](CliOptions& o, const std::string& v, std::string& e) {
         return Number("device", v, 0, 1000, "a number from velmark3-cli devices", o.device, e);
       },
       nullptr, "1"},
      {"depth-bits", 0, ValueKind::kNumber, "N", kRun | kValidate, 0,
       "the shallowest depth buffer of at least N bits, 16-32\n"
       "(default: the deepest offered, as the desktop program's)",
       [](CliOptions& o, const std::string& v, std::string& e) {
         return Number("depth-bits", v, 16, 32, "16 to 32 bits", o.depthBits, e);
       },
       nullptr, "16"},
      {"validate", 0, ValueKind::kNone, "", kRun, 0,
       "validate the selected scenes first, as validate does;\n"
       "the reports gain each scene's validation, standard error\n"
       "names the scenes that fail",
       [](CliOptions& o, const std::string&, std::string&) { return o.validate = true; }, nullptr,
       ""},
      {"allow-invalid", 0, ValueKind::kNone, "", kRun, 0,
       "let --save store a run in which a scene failed validation",
       [](CliOptions& o, const std::string&, std::string&) { return o.allowInvalid = true; },
       nullptr, ""},
      {"no-history", 0, ValueKind::kNone, "", kRun, 0,
       "do not keep the run's JSON report in runs/ (every run\n"
       "is kept there otherwise, for history and report)",
       [](CliOptions& o, const std::string&, std::string&) {
         o.history = false;
         return true;
       },
       nullptr, ""},
      {"images", 0, ValueKind::kFolder, "DIR", kValidate, 0,
       "write the rendered, reference and difference pictures of\n"
       "each scene that fails to DIR as PNG (DIR is made when a\n"
       "picture is written)",
       [](CliOptions& o, const std::string& v, std::string& e) {
         return Path("images", "a folder", v, o.imagesDir, e);
       },
       &CliOptions::imagesDir, "pictures"},
      {"images-all", 0, ValueKind::kNone, "", kValidate, 0,
       "with --images: the pictures of every scene",
       [](CliOptions& o, const std::string&, std::string&) { return o.imagesAll = true; }, nullptr,
       ""},
      {"output", 'o', ValueKind::kFile, "PATH", kReport, 0,
       "write the page to PATH (default report.html); - writes it\n"
       "to standard output and the verdicts to standard error",
       [](CliOptions& o, const std::string& v, std::string& e) {
         return Path("output", "a file name, or - for standard output", v, o.outputPath, e);
       },
       &CliOptions::outputPath, "page.html"},
      {"last", 0, ValueKind::kNumber, "N", kReport, 0,
       "add the N newest kept runs (default: the newest alone)",
       [](CliOptions& o, const std::string& v, std::string& e) {
         return Number("last", v, 1, 1000000000, "a number of runs, 1 or more", o.last, e);
       },
       nullptr, "2"},
      {"all", 0, ValueKind::kNone, "", kReport, 0,
       "keep runs that failed validation, were interrupted or ran\n"
       "on a busy machine in verdicts and spreads (they are\n"
       "marked, and left out without --all)",
       [](CliOptions& o, const std::string&, std::string&) { return o.all = true; }, nullptr, ""},
      Field<0>("the computer's name, saved with --save"),
      Field<1>("its processor, saved with --save"),
      Field<2>("its memory, saved with --save"),
      Field<3>("its motherboard, saved with --save"),
      Field<4>("its video card, saved with --save"),
      Field<5>("its video memory, saved with --save"),
      Field<6>("its video card's clock, saved with --save"),
      Field<7>("its video driver, saved with --save"),
      Field<8>("its operating system, saved with --save"),
      Field<9>("anything else, saved with --save"),
  };
  return table;
}

const std::vector<CommandRow>& CommandTable() {
  static const std::vector<CommandRow> table = {
      {CliCommand::kRun, "run", "[OPTIONS]",
       "run the benchmark scenes; progress goes to standard error,\n"
       "then one line \"Scene N : F fps\" per scene that ran and\n"
       "\"Score : S\" go to standard output",
       NoWords, RunOutputs, RunCommand},
      {CliCommand::kResults, "results", "",
       "print the ranking of results.txt (and nothing of a run),\n"
       "as the Text Results window lists it",
       NoWords, nullptr, Results},
      {CliCommand::kCompare, "compare", "P Q",
       "compare the machines at ranking positions P and Q\n"
       "(1 = first), as the Text Results window does",
       ComparePositions, nullptr, Compare},
      {CliCommand::kDevices, "devices", "",
       "list the devices of EGL's device platform (for --device)\n"
       "with their EGL vendor and extensions",
       NoWords, nullptr, Devices},
      {CliCommand::kValidate, "validate", "[OPTIONS]",
       "draw one frame of each scene at 1024x768 and compare it\n"
       "with the reference picture drawn by Mesa's llvmpipe: one\n"
       "line per scene, \"Scene N : pass\" or \"Scene N : FAIL\" with\n"
       "its difference and the limit, between the renderer and\n"
       "its buffers' bits and a summary; exit status 1 when any\n"
       "scene fails or cannot be drawn",
       NoWords, ValidateOutputs, Validate},
      {CliCommand::kScenes, "scenes", "", "list the 24 scenes, one line \"Scene N : NAME\" each",
       NoWords, nullptr, Scenes},
      {CliCommand::kHistory, "history", "",
       "list the runs kept in runs/ beside the results file,\n"
       "oldest first: index, date, renderer, scenes, score,\n"
       "complete, partial or interrupted; damaged files are named",
       NoWords, nullptr, ListHistory},
      {CliCommand::kReport, "report", "[RUN...] [vs RUN...] [-o PATH] [--last N]",
       "write an HTML page of runs (default report.html; no\n"
       "script, nothing fetched): one run in charts, two to\n"
       "eight each compared with the first, more as a\n"
       "distribution; RUN... vs RUN... compares two sets of runs.\n"
       "Each scene's verdict is printed as \"Scene N : A fps ->\n"
       "B fps (ratio R) VERDICT\": faster or slower by a share\n"
       "with its 95% interval, no change detected, or not enough\n"
       "runs (a rank test over every run's rates: use --repeat 5\n"
       "or more a side). A RUN is a JSON run report or a history\n"
       "index; exit status 3 when some scene is slower",
       ReportRuns, ReportOutputs, Report},
  };
  return table;
}

namespace {

const OptionRow* FindOption(const std::string& name, char letter) {
  for (const OptionRow& row : OptionTable())
    if (letter ? row.letter == letter : name == row.name) return &row;
  return nullptr;
}

// What no single option can tell.
bool CheckTogether(CliOptions& o, std::string& error) {
  if (o.jsonPath == "-" && o.csvPath == "-" && o.command == CliCommand::kRun)
    error = "only one of --json and --csv can write to standard output";
  else if (o.device >= 0 && o.egl == EglPlatform::kSurfaceless)
    error = "--device chooses among the devices of --egl device";
  else if (o.imagesAll && o.imagesDir.empty())
    error = "--images-all needs --images DIR";
  if (o.device >= 0) o.egl = EglPlatform::kDevice;
  return error.empty();
}

}  // namespace

bool ParseCli(int argc, const char* const* argv, CliOptions& out, std::string& error) {
  out = CliOptions();
  if (argc < 2) {
    error = "no command given (see --help)";
    return false;
  }
  const std::string name = argv[1] ? argv[1] : "";
  if (name == "--help" || name == "-h" || name == "help") return true;
  if (name == "--version") {
    error = "--version takes nothing after it";
    return false;
  }
  const CommandRow* command = nullptr;
  for (const CommandRow& row : CommandTable())
    if (name == row.name) command = &row;
  if (!command) {
    error = "unknown command '" + Shown(name) + "' (see --help)";
    return false;
  }
  out.command = command->command;
  const unsigned bit = CommandBit(command->command);
  std::vector<std::string> words;
  for (int i = 2; i < argc; ++i) {
    const std::string arg = argv[i] ? argv[i] : "";
    if (arg == "--help" || arg == "-h") {
      out = CliOptions();
      return true;
    }
    // "-" and negative numbers are words, not options.
    const bool option = arg.size() > 1 && arg[0] == '-' && (arg[1] < '0' || arg[1] > '9');
    if (!option) {
      words.push_back(arg);
      continue;
    }
    std::string key = arg[1] == '-' ? arg.substr(2) : arg.substr(1), value;
    const size_t eq = key.find('=');
    const bool hasValue = eq != std::string::npos;
    if (hasValue) {
      value = key.substr(eq + 1);
      key.resize(eq);
    }
    const OptionRow* row = arg[1] == '-'     ? FindOption(key, 0)
                           : key.size() == 1 ? FindOption("", key[0])
                                             : nullptr;
    if (!row || !(row->commands & bit)) {
      error = "unknown option '" + Shown((arg[1] == '-' ? "--" : "-") + key) + "' for " + name +
              " (see --help)";
      return false;
    }
    const bool valueless = row->kind == ValueKind::kNone || (row->valueless & bit);
    if (valueless && hasValue) {
      error = std::string("option --") + row->name + " takes no value" +
              (row->kind == ValueKind::kNone ? "" : " for " + name);
      return false;
    }
    if (!valueless && !hasValue) {
      if (i + 1 >= argc || !argv[i + 1]) {
        error = std::string("option --") + row->name + " needs a value";
        return false;
      }
      value = argv[++i];
    }
    if (row->valueless & bit) value = "-";
    if (!row->set(out, value, error)) return false;
    out.named.push_back(row->name);
  }
  return command->arguments(words, out, error) && CheckTogether(out, error);
}

std::string CliUsage() {
  std::string text = R"(Usage: velmark3-cli COMMAND [OPTIONS]

Runs the Velmark3 OpenGL benchmark without a desktop session, in an off-screen
OpenGL context, and reads or appends results.txt, the same file the desktop
program uses: once installed, in $XDG_DATA_HOME/velmark3 (normally
~/.local/share/velmark3, seeded with the shipped files not there yet) from any
directory; in a build tree, in the current directory (make run: run/).

Commands:
)";
  const auto add = [&text](std::string head, const char* help) {
    const std::string indent(20, ' ');
    head = "  " + head;
    std::string lines = help;
    for (size_t at = 0; (at = lines.find('\n', at)) != std::string::npos; at += indent.size() + 1)
      lines.insert(at + 1, indent);
    text += head +
            (head.size() < indent.size() ? std::string(indent.size() - head.size(), ' ')
                                         : "\n" + indent) +
            lines + "\n";
  };
  for (const CommandRow& c : CommandTable())
    add(std::string(c.name) + (*c.synopsis ? " " : "") + c.synopsis, c.help);
  add("--help, -h", "show this text");
  add("--version", "show the version");
  text += "\nOptions (each takes its value as --option VALUE or --option=VALUE):\n";
  for (const OptionRow& o : OptionTable()) {
    std::string head = std::string(o.letter ? std::string("-") + o.letter + ", " : "") + "--" +
                       o.name + (*o.value ? " " : "") + o.value;
    std::string takers;
    for (const CommandRow& c : CommandTable())
      if (o.commands & CommandBit(c.command))
        takers += (takers.empty() ? "" : ", ") + std::string(c.name);
    if (o.commands == kEvery) takers = "every command";
    std::string help = o.help;
    const size_t lastLine = help.rfind('\n') == std::string::npos ? 0 : help.rfind('\n') + 1;
    help += (help.size() - lastLine + takers.size() + 3 <= 58 ? " [" : "\n[") + takers + "]";
    add(head, help.c_str());
  }
  text += R"(
The description fields are upper-cased, newlines become spaces, and each
holds at most 126 characters, as in the Save Results form.

Paths are taken from the directory the command is run in. Every output is
checked before the command's work starts: one that cannot be written, or that
would replace the results file, benchs.txt, faq.txt, a kept run in runs/, a
file the command reads or another of its outputs, is refused (exit status 2)
and nothing is written. An output that is a link is written through to the
file it points to. Ctrl-C (or SIGTERM) stops the run at the next frame: the
scenes finished are printed and reported, the run is kept as interrupted,
nothing is saved; a second one stops at once.

Exit status: 0 done, 1 could not run or save (the message says why),
2 bad command line or output refused, 3 report found some scene slower,
130/143 stopped by SIGINT/SIGTERM.
)";
  return text;
}

std::vector<std::string*> UserPaths(CliOptions& o) {
  std::vector<std::string*> paths;
  for (const std::string& name : o.named)
    if (const OptionRow* row = FindOption(name, 0); row && row->path)
      paths.push_back(&(o.*row->path));
  for (std::string& run : o.runs)
    if (!IsHistoryIndex(run)) paths.push_back(&run);
  return paths;
}

int RunCli(CliOptions& o, std::FILE* out, std::FILE* err) {
  for (const CommandRow& row : CommandTable()) {
    if (row.command != o.command) continue;
    std::vector<CommandOutput> writes;
    std::vector<std::string> reads;
    if (row.outputs) row.outputs(o, writes, reads);
    const std::string refused = CheckOutputs(writes, reads, o.resultsFile);
    if (!refused.empty()) {
      std::fprintf(err, "velmark3-cli: %s\n", TerminalText(refused).c_str());
      return 2;
    }
    return row.run(o, out, err);
  }
  std::fputs(CliUsage().c_str(), out);
  return 0;
}

}  // namespace vm
