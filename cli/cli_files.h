// Where the runner keeps its text files. An installed runner shares the
// per-user folder of the menu-started program, seeded the way its launcher
// seeds it; a runner in a build tree keeps to the current directory (make run
// starts it in run/).
#pragma once

#include <string>
#include <vector>

namespace vm {

// Makes the runner's folder the working directory: for an installed runner
// (its data folder at dataDir exists) the per-user folder, created and seeded
// with the shipped files not there yet. Every path of the command line is
// listed in userPaths: a relative one is kept pointing where the user meant
// it, from the directory the command was run in ("" and "-" are left as
// they are). False with a reason when that fails.
bool EnterFilesFolder(const std::string& dataDir, const std::vector<std::string*>& userPaths,
                      std::string& error);

// The shipped data folder of this executable once installed.
std::string InstalledDataDir();

}  // namespace vm
