// What --detect can learn about the machine: read from /proc, /sys and
// /etc, plus the strings of the OpenGL context the run used.
#pragma once

#include <string>

#include "cli/cli_options.h"

namespace vm {

struct MachineFacts {
  std::string hostName;
  std::string cpuModel;
  std::string cpuMhz;    // e.g. "2400"; empty when unknown
  std::string memoryMb;  // total memory in MiB; empty when unknown
  std::string board;     // board vendor and name; empty when unreadable
  std::string kernel;    // e.g. "Linux 6.1.0-13-amd64"
  std::string distribution;
  std::string glRenderer, glVendor, glVersion;
};

// Reads the system files below `root` ("" for the real ones; tests point it
// at a fixture tree). Host name and kernel come from uname() when root is "".
MachineFacts ReadMachineFacts(const std::string& root = "");

// Fills every description field not given on the command line.
void FillDetectedFields(const MachineFacts& facts, CliOptions& options);

}  // namespace vm
