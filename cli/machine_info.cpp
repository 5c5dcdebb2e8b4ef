#include "cli/machine_info.h"

#include <sys/utsname.h>

#include <fstream>

namespace vm {
namespace {

std::string Trim(const std::string& s) {
  const size_t b = s.find_first_not_of(" \t\r\n");
  if (b == std::string::npos) return "";
  const size_t e = s.find_last_not_of(" \t\r\n");
  return s.substr(b, e - b + 1);
}

std::string FirstLine(const std::string& path) {
  std::ifstream in(path);
  std::string line;
  std::getline(in, line);
  return Trim(line);
}

// The value after "key:" (or "key=" with optional quotes) on the first
// matching line of a file.
std::string KeyValue(const std::string& path, const std::string& key, char sep) {
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    const size_t at = line.find(sep);
    if (at == std::string::npos || Trim(line.substr(0, at)) != key) continue;
    std::string value = Trim(line.substr(at + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\''))
      value = value.substr(1, value.size() - 2);
    return value;
  }
  return "";
}

std::string Join(const std::string& a, const std::string& b) {
  if (a.empty()) return b;
  if (b.empty()) return a;
  return a + " " + b;
}

}  // namespace

MachineFacts ReadMachineFacts(const std::string& root) {
  MachineFacts f;
  f.cpuModel = KeyValue(root + "/proc/cpuinfo", "model name", ':');
  // The rated top frequency where the kernel knows it, else the current one.
  const std::string maxKhz =
      FirstLine(root + "/sys/devices/system/cpu/cpu0/cpufreq/cpuinfo_max_freq");
  if (!maxKhz.empty() && maxKhz.find_first_not_of("0123456789") == std::string::npos)
    f.cpuMhz = std::to_string(std::stoll(maxKhz.substr(0, 15)) / 1000);
  if (f.cpuMhz.empty()) {
    const std::string mhz = KeyValue(root + "/proc/cpuinfo", "cpu MHz", ':');
    f.cpuMhz = mhz.substr(0, mhz.find('.'));
  }
  const std::string memKb = KeyValue(root + "/proc/meminfo", "MemTotal", ':');
  if (!memKb.empty() && memKb[0] >= '0' && memKb[0] <= '9')
    f.memoryMb = std::to_string(std::stoll(memKb.substr(0, 15)) / 1024);
  f.board = Join(FirstLine(root + "/sys/class/dmi/id/board_vendor"),
                 FirstLine(root + "/sys/class/dmi/id/board_name"));
  f.distribution = KeyValue(root + "/etc/os-release", "PRETTY_NAME", '=');
  if (root.empty()) {
    utsname u = {};
    if (uname(&u) == 0) {
      f.hostName = u.nodename;
      f.kernel = Join(u.sysname, u.release);
    }
  } else {
    f.hostName = FirstLine(root + "/etc/hostname");
    f.kernel = Join("Linux", FirstLine(root + "/proc/sys/kernel/osrelease"));
  }
  return f;
}

void FillDetectedFields(const MachineFacts& f, CliOptions& o) {
  const std::string detected[kFieldCount] = {
      f.hostName,
      f.cpuMhz.empty() ? f.cpuModel : Join(f.cpuModel, "/ " + f.cpuMhz + " MHz"),
      f.memoryMb.empty() ? "" : f.memoryMb + " MB",
      f.board,
      f.glRenderer,
      "",  // video memory: not reported by the off-screen context
      "",  // video clocks: not reported either
      Join(f.glVendor, f.glVersion),
      Join(f.distribution, f.kernel),
      "",
  };
  for (int k = 0; k < kFieldCount; ++k)
    if (!o.given[k]) o.fields[k] = detected[k];
}

}  // namespace vm
