#include "cli/cli_options.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "cli/cli_history.h"
#include "results/result_table.h"

namespace vm {

const char* const kFieldOptions[kFieldCount] = {
    "computer-name", "cpu",        "ram",          "motherboard", "video-card",
    "video-ram",     "video-freq", "video-driver", "os",          "other"};

namespace {

// A whole decimal integer in [lo, hi]; no sign games, no trailing text.
bool ParseInt(const std::string& text, long lo, long hi, long& value) {
  if (text.empty() || text.size() > 12) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    const bool sign = i == 0 && text[i] == '-';
    if (!sign && (text[i] < '0' || text[i] > '9')) return false;
  }
  if (text == "-") return false;
  errno = 0;
  value = std::strtol(text.c_str(), nullptr, 10);
  return errno == 0 && value >= lo && value <= hi;
}

// A whole decimal number of any length, saturated far beyond every limit.
bool ParseWhole(const std::string& text, long& value) {
  size_t digits = text.size();
  const bool negative = !text.empty() && text[0] == '-';
  if (negative) --digits;
  if (digits == 0) return false;
  for (size_t i = negative ? 1 : 0; i < text.size(); ++i)
    if (text[i] < '0' || text[i] > '9') return false;
  if (digits > 11) {
    value = negative ? -1000000000000L : 1000000000000L;
    return true;
  }
  return ParseInt(text, -1000000000000L, 1000000000000L, value);
}

bool ParseSize(const std::string& text, int& w, int& h) {
  const size_t x = text.find_first_of("xX");
  if (x == std::string::npos) return false;
  long a = 0, b = 0;
  if (!ParseInt(text.substr(0, x), 1, 16384, a) || !ParseInt(text.substr(x + 1), 1, 16384, b))
    return false;
  w = static_cast<int>(a);
  h = static_cast<int>(b);
  return true;
}

}  // namespace

// A piece of the command line as an error message quotes it: one line,
// short, no terminal control characters.
std::string Shown(const std::string& text) {
  std::string out;
  for (char c : text.substr(0, 60)) {
    const unsigned char u = static_cast<unsigned char>(c);
    out.push_back(u < 0x20 || u == 0x7f ? '?' : c);
  }
  if (text.size() > 60) out += "...";
  return out;
}

namespace {

int FieldIndex(const std::string& name) {
  for (int k = 0; k < kFieldCount; ++k)
    if (name == kFieldOptions[k]) return k;
  return -1;
}

// --json, --csv, --repeat, --egl and --device of run.
bool ParseReportOption(const std::string& name, const std::string& value, CliOptions& out,
                       std::string& error) {
  long n = 0;
  if (name == "json" || name == "csv") {
    if (value.empty()) {
      error = "--" + name + " needs a file name, or - for standard output";
      return false;
    }
    (name == "json" ? out.jsonPath : out.csvPath) = value;
  } else if (name == "repeat") {
    if (!ParseInt(value, 1, kMaxRepeat, n)) {
      error = "bad --repeat '" + Shown(value) + "' (1 to 100 runs)";
      return false;
    }
    out.repeat = static_cast<int>(n);
  } else if (name == "device") {
    if (!ParseInt(value, 0, 1000, n)) {
      error = "bad --device '" + Shown(value) + "' (a number from velmark3-cli devices)";
      return false;
    }
    out.device = static_cast<int>(n);
  } else if (value == "auto" || value == "surfaceless" || value == "device") {
    out.egl = value == "auto"          ? EglPlatform::kAuto
              : value == "surfaceless" ? EglPlatform::kSurfaceless
                                       : EglPlatform::kDevice;
  } else {
    error = "bad --egl '" + Shown(value) + "' (auto, surfaceless or device)";
    return false;
  }
  return true;
}

// validate takes the scenes, the context and its outputs; run all but the
// pictures.
bool OptionOf(CliCommand command, const std::string& name) {
  if (command != CliCommand::kValidate) return name != "images" && name != "images-all";
  return name == "scenes" || name == "egl" || name == "device" || name == "json" ||
         name == "images" || name == "images-all";
}

}  // namespace

bool ParseSceneList(const std::string& text, bool (&scenes)[kSceneCount], std::string& error) {
  bool picked[kSceneCount] = {};
  size_t pos = 0;
  while (true) {
    const size_t comma = text.find(',', pos);
    const std::string item =
        text.substr(pos, comma == std::string::npos ? std::string::npos : comma - pos);
    const size_t dash = item.find('-', 1);
    long lo = 0, hi = 0;
    bool ok;
    if (dash == std::string::npos) {
      ok = ParseInt(item, 1, kSceneCount, lo);
      hi = lo;
    } else {
      ok = ParseInt(item.substr(0, dash), 1, kSceneCount, lo) &&
           ParseInt(item.substr(dash + 1), 1, kSceneCount, hi) && lo <= hi;
    }
    if (!ok) {
      error = "bad scene list '" + Shown(text) + "' (scene numbers 1-" +
              std::to_string(kSceneCount) + ", e.g. 1,3,5-9)";
      return false;
    }
    for (long s = lo; s <= hi; ++s) picked[s - 1] = true;
    if (comma == std::string::npos) break;
    pos = comma + 1;
  }
  for (int i = 0; i < kSceneCount; ++i) scenes[i] = picked[i];
  return true;
}

bool ParseCli(int argc, const char* const* argv, CliOptions& out, std::string& error) {
  out = CliOptions();
  if (argc < 2) {
    error = "no command given (see --help)";
    return false;
  }
  const std::string command = argv[1] ? argv[1] : "";
  if (command == "--help" || command == "-h" || command == "help") {
    out.command = CliCommand::kHelp;
    return true;
  }
  if (command == "run") {
    out.command = CliCommand::kRun;
  } else if (command == "results") {
    out.command = CliCommand::kResults;
  } else if (command == "compare") {
    out.command = CliCommand::kCompare;
  } else if (command == "devices") {
    out.command = CliCommand::kDevices;
  } else if (command == "validate") {
    out.command = CliCommand::kValidate;
  } else if (command == "scenes") {
    out.command = CliCommand::kScenes;
  } else if (command == "--version") {
    error = "--version takes nothing after it";
    return false;
  } else if (command == "history" || command == "report") {
    return ParseHistoryCli(argc, argv, out, error);
  } else {
    error = "unknown command '" + Shown(command) + "' (see --help)";
    return false;
  }

  std::vector<std::string> positional;
  for (int i = 2; i < argc; ++i) {
    const std::string arg = argv[i] ? argv[i] : "";
    if (arg == "--help" || arg == "-h") {
      out.command = CliCommand::kHelp;
      return true;
    }
    if (arg == "--json" &&
        (out.command == CliCommand::kResults || out.command == CliCommand::kCompare ||
         out.command == CliCommand::kScenes)) {
      out.jsonPath = "-";
      continue;
    }
    const bool takesOptions =
        out.command == CliCommand::kRun || out.command == CliCommand::kValidate;
    if (arg.size() < 2 || arg.compare(0, 2, "--") != 0 || !takesOptions) {
      if (arg.size() > 1 && arg[0] == '-' && (arg[1] < '0' || arg[1] > '9')) {
        error = "unknown option '" + Shown(arg) + "' for " + command + " (see --help)";
        return false;
      }
      positional.push_back(arg);
      continue;
    }
    std::string name = arg.substr(2), value;
    bool hasValue = false;
    const size_t eq = name.find('=');
    if (eq != std::string::npos) {
      value = name.substr(eq + 1);
      name.resize(eq);
      hasValue = true;
    }
    if (!OptionOf(out.command, name)) {
      error = "unknown option '--" + Shown(name) + "' for " + command + " (see --help)";
      return false;
    }
    bool noHistory = false;
    bool* flag = name == "save"            ? &out.save
                 : name == "detect"        ? &out.detect
                 : name == "allow-partial" ? &out.allowPartial
                 : name == "validate"      ? &out.validate
                 : name == "allow-invalid" ? &out.allowInvalid
                 : name == "images-all"    ? &out.imagesAll
                 : name == "no-history"    ? &noHistory
                                           : nullptr;
    if (flag) {
      if (hasValue) {
        error = "option --" + name + " takes no value";
        return false;
      }
      *flag = true;
      if (noHistory) out.history = false;
      continue;
    }
    const int field = FieldIndex(name);
    const bool report =
        name == "json" || name == "csv" || name == "repeat" || name == "egl" || name == "device";
    if (field < 0 && !report && name != "scenes" && name != "seconds" && name != "timer" &&
        name != "size" && name != "images") {
      error = "unknown option '--" + Shown(name) + "' for run (see --help)";
      return false;
    }
    if (!hasValue) {
      if (i + 1 >= argc || !argv[i + 1]) {
        error = "option --" + name + " needs a value";
        return false;
      }
      value = argv[++i];
    }
    long n = 0;
    if (report) {
      if (!ParseReportOption(name, value, out, error)) return false;
    } else if (field >= 0) {
      out.fields[field] = value;
      out.given[field] = true;
    } else if (name == "scenes") {
      if (!ParseSceneList(value, out.scenes, error)) return false;
    } else if (name == "images") {
      if (value.empty()) {
        error = "--images needs a folder";
        return false;
      }
      out.imagesDir = value;
    } else if (name == "size") {
      if (!ParseSize(value, out.width, out.height)) {
        error = "bad --size '" + Shown(value) + "' (WxH, e.g. " +
                std::to_string(kDefaultViewWidth) + "x" + std::to_string(kDefaultViewHeight) + ")";
        return false;
      }
    } else {
      const bool seconds = name == "seconds";
      const int floor = seconds ? kMinSecondsPerScene : kMinTimerIntervalMs;
      const int ceiling = seconds ? kMaxSecondsPerScene : kMaxTimerIntervalMs;
      if (!ParseWhole(value, n)) {
        error = "bad --" + name + " '" + Shown(value) + "' (a whole number)";
        return false;
      }
      if (n > ceiling) {
        error = "--" + name + " " + Shown(value) + " is above the most allowed, " +
                std::to_string(ceiling);
        return false;
      }
      // Below the floor it runs the floor, as the settings form does.
      if (n < floor) {
        out.notes.push_back("--" + name + " " + Shown(value) + " is below the least allowed; " +
                            std::to_string(floor) + " is used");
        n = floor;
      }
      (seconds ? out.seconds : out.timerMs) = static_cast<int>(n);
    }
  }

  if (out.jsonPath == "-" && out.csvPath == "-") {
    error = "only one of --json and --csv can write to standard output";
    return false;
  }
  if (out.device >= 0 && out.egl == EglPlatform::kSurfaceless) {
    error = "--device chooses among the devices of --egl device";
    return false;
  }
  if (out.device >= 0) out.egl = EglPlatform::kDevice;
  if (out.imagesAll && out.imagesDir.empty()) {
    error = "--images-all needs --images DIR";
    return false;
  }

  const size_t wanted = out.command == CliCommand::kCompare ? 2 : 0;
  if (positional.size() != wanted) {
    error = out.command == CliCommand::kCompare
                ? "compare needs two positions P Q (see --help)"
                : "unexpected argument '" + Shown(positional[0]) + "' (see --help)";
    return false;
  }
  if (out.command == CliCommand::kCompare) {
    long p = 0, q = 0;
    if (!ParseInt(positional[0], 1, kResultRows, p) ||
        !ParseInt(positional[1], 1, kResultRows, q)) {
      error = "positions must be whole numbers 1-" + std::to_string(kResultRows) +
              ", as in the ranking";
      return false;
    }
    out.first = static_cast<int>(p);
    out.second = static_cast<int>(q);
  }
  return true;
}

const char* CliUsage() {
  return R"(Usage: velmark3-cli COMMAND [OPTIONS]

Runs the Velmark3 OpenGL benchmark without a desktop session, in an off-screen
OpenGL context, and reads or appends results.txt, the same file the desktop
program uses: once installed, in $XDG_DATA_HOME/velmark3 (normally
~/.local/share/velmark3, seeded with the shipped files not there yet) from any
directory; in a build tree, in the current directory (make run: run/).

Commands:
  run [OPTIONS]     run the benchmark scenes; progress goes to standard error,
                    then one line "Scene N : F fps" per scene that ran and
                    "Score : S" go to standard output
  results           print the ranking of results.txt (and nothing of a run),
                    as the Text Results window lists it
  compare P Q       compare the machines at ranking positions P and Q
                    (1 = first), as the Text Results window does
  devices           list the devices of EGL's device platform (for --device)
                    with their EGL vendor and extensions
  validate [OPTIONS]  draw one frame of each scene at 1024x768 and compare it
                    with the reference picture drawn by Mesa's llvmpipe: one
                    line per scene, "Scene N : pass" or "Scene N : FAIL" with
                    its difference and the limit; exit status 1 when any
                    scene fails or cannot be drawn
  scenes            list the 24 scenes, one line "Scene N : NAME" each
  history           list the runs kept in runs/ beside the results file,
                    oldest first: index, date, renderer, scenes, score,
                    complete; --json gives the same as JSON
  report [RUN...] [-o PATH] [--last N]
                    write an HTML page of runs (default report.html; no
                    script, nothing fetched): one run in charts, two to
                    eight compared with each scene's verdict printed as
                    "Scene N : A fps -> B fps (ratio R) changed" or
                    "... within noise", more as a distribution. A RUN is a
                    JSON run report or a history index; --last N adds the
                    N newest kept runs (default: the newest alone)
  results, compare and scenes take --json: the same values as one JSON
                    document (descriptions as saved, without the list's padding)
  --help, -h        show this text
  --version         show the version

Option of every command:
  --results-file PATH  read and append PATH instead of results.txt

Options of run:
  --scenes LIST     scenes to run, numbers 1-24, e.g. 1,3,5-9 (default: all)
  --seconds N       seconds per scene, 2-3600; less than 2 runs 2 (default 2)
  --timer MS        frame timer interval in ms, 10-10000; less than 10 runs
                    10 (default 100; compare only runs made with 100)
  --size WxH        size of the off-screen view (default 1024x768)
  --save            append the run to results.txt, as Save Results does;
                    only a run of all 24 scenes, unless --allow-partial
  --allow-partial   let --save store a run of fewer scenes, or with scenes
                    that drew no frame (a --timer longer than a scene): those
                    are saved as 0 fps and lower its score
  --detect          fill every description field not given from this machine
                    (CPU, memory, OpenGL renderer and driver, system)
  --json PATH       write the run as JSON, with each scene's drawing and frame
                    time statistics; - writes it to standard output instead
                    of the text lines
  --csv PATH        the same per scene as CSV rows with a header; - as above
                    (a scene that drew no frame has null times in JSON, empty
                    fields in CSV)
  --repeat N        run the selection N times (1-100); each scene's median
                    rate is printed, scored and saved, and standard error
                    names scenes whose runs spread by more than 10%; the
                    JSON lists each run's rate, the CSV has columns run1..runN
  --egl PLATFORM    auto (default: surfaceless, else device), surfaceless
                    (Mesa's) or device (EGL_EXT_platform_device: drivers
                    without a surfaceless platform)
  --device N        the device of the device platform to run on (default 0)
  --validate        validate the selected scenes first, as validate does;
                    the reports gain each scene's validation, standard error
                    names the scenes that fail
  --allow-invalid   let --save store a run in which a scene failed validation
  --no-history      do not keep the run's JSON report in runs/ (every run
                    is kept there otherwise, for history and report)
Options of validate: --scenes, --egl and --device as for run, and
  --images DIR      write the rendered, reference and difference pictures of
                    each scene that fails to DIR as PNG
  --images-all      with --images: the pictures of every scene
  --json PATH       write the outcome as JSON; - writes it to standard output
                    instead of the lines
Description fields saved with --save (upper-cased, newlines become spaces,
at most 126 characters each, as in the Save Results form):
  --computer-name TEXT  --cpu TEXT        --ram TEXT      --motherboard TEXT
  --video-card TEXT     --video-ram TEXT  --video-freq TEXT
  --video-driver TEXT   --os TEXT         --other TEXT
An option's value may also be given as --option=VALUE.

Paths are taken from the directory the command is run in. Every output is
checked before the first scene: one that cannot be written, or that would
replace the results file, a file the program reads or another output, is
refused. Ctrl-C (or SIGTERM) stops the run at the next frame: the scenes
finished are printed and reported, nothing is saved; a second one stops at
once.

Exit status: 0 done, 1 could not run or save (the message says why),
2 bad command line or output refused, 130/143 stopped by SIGINT/SIGTERM.
)";
}

}  // namespace vm
