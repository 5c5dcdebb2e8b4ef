#include "app/desktop_options.h"

#include <cerrno>
#include <cstring>

#include "version.h"

namespace vm {
namespace {

// 0 once the answer is out, 1 when it could not be written (a full disk).
int Written(std::FILE* out, std::FILE* err) {
  if (std::fflush(out) == 0 && !std::ferror(out)) return 0;
  std::fprintf(err, "velmark3: could not write the output: %s\n", std::strerror(errno));
  return 1;
}

}  // namespace

int AnswerDesktopOptions(int argc, const char* const* argv, std::FILE* out, std::FILE* err) {
  const char* arg = argv[1] ? argv[1] : "";
  if (std::strcmp(arg, "--version") == 0 || std::strcmp(arg, "--help") == 0 ||
      std::strcmp(arg, "-h") == 0) {
    if (argc > 2) {
      std::fprintf(err, "velmark3: %s takes nothing after it\n", arg);
      return 2;
    }
  }
  if (std::strcmp(arg, "--version") == 0) {
    std::fprintf(out, "velmark3 %s\n", VM_VERSION);
    return Written(out, err);
  }
  if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
    std::fputs(R"(Usage: velmark3 [--help | --version]

Velmark3 is an OpenGL graphics benchmark for the desktop: it runs up to 24
timed scenes in its window, turns each scene's drawing time into frames per
second and ranks the result against the machines in results.txt. The
benchmark takes no options; everything is set from its menus.

Files: velmark3 reads benchs.txt and faq.txt, and reads and appends
results.txt, in its working directory; every run finished in the window is
kept in runs/ there (velmark3-cli history, velmark3-cli report). Started
from the desktop menu (or as velmark3-launch), that is
$XDG_DATA_HOME/velmark3 (normally ~/.local/share/velmark3), where the
shipped files from share/velmark3/data of the installation are copied when they
are not there yet. In a build tree, `make run` uses run/.

velmark3-cli runs the same scenes without a desktop session and uses the
same files (see velmark3-cli --help, man velmark3-cli).
)",
               out);
    return Written(out, err);
  }
  std::fprintf(err, "velmark3: unknown option '%.60s' (velmark3 takes only --help or --version)\n",
               arg);
  return 2;
}

}  // namespace vm
