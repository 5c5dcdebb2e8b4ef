// Save Results, Text Results and Settings driven through their dialogs'
// logic by arbitrary input: what is typed, the rates saved, files whose last
// newline was lost, clicks on the ranking. What must hold: every saved record
// reads back as one more machine with its rates, N records give min(N, 128)
// rows, the clicks never reach past the table, and the settings keep their
// floors.
#include <fuzzer/FuzzedDataProvider.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "dialogs/save_results_dlg.h"
#include "dialogs/settings_dlg.h"
#include "dialogs/text_results_dlg.h"
#include "results/result_table.h"
#include "state/bench_state.h"
#include "tests/support/memory_platform.h"

namespace {

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

// The times of a run in a few bytes: all left out, one value for every
// scene (negative, huge, tiny, NaN), or plausible times with gaps.
void AnyTimes(FuzzedDataProvider& in) {
  const int kind = in.ConsumeIntegralInRange(0, 2);
  const float base =
      kind == 1 ? in.ConsumeFloatingPoint<float>() : in.ConsumeFloatingPointInRange(0.0001f, 2.0f);
  for (int i = 0; i < vm::kSceneCount; ++i)
    vm::BenchState.sceneTime[i] = kind == 0 ? 0.0f : kind == 1 ? base : (i % 5 ? base * i : 0.0f);
}

// One Save Results: fuzzed times and fields, then OK.
void Save(FuzzedDataProvider& in, vm::MemoryPlatform& platform, int& records) {
  AnyTimes(in);
  std::string name;
  vm::CSaveResultsDlg dlg(platform);
  platform.messages.clear();
  platform.dialogScript = [&](vm::MemoryDialog& host, vm::DialogHandler& handler) {
    for (int k = 0; k < vm::kDescriptionFields; ++k)
      host.EditAt(1000 + k)->Type(in.ConsumeRandomLengthString(200));
    name = host.EditAt(1000)->GetText();
    handler.OnCommand(host, vm::kIdOk);
    Check(host.ended);  // a scratch directory always takes the record
  };
  platform.RunModal(vm::kSaveResultsDialog, dlg);
  ++records;
  Check(platform.messages.size() == (records > vm::kResultRows ? 1u : 0u));

  vm::BenchState.resultsAvailable = 0;
  vm::LoadResultTable(vm::kResultsFile);
  Check(vm::lastResultIndex + 1 == std::min(records, vm::kResultRows));
  if (records > vm::kResultRows) return;
  // The new record is one of the rows: its name as the form held it and
  // each rate as printed and read back. (A zero byte typed into a field
  // ends the text the table keeps.)
  name = name.find('\0') == std::string::npos ? name + "\n" : name.c_str();
  bool found = false;
  for (int r = 0; r <= vm::lastResultIndex && !found; ++r) {
    const vm::ResultEntry& row = vm::ResultTable[r];
    bool same = std::string(row.computerName) == name;
    for (int i = 0; i < vm::kSceneCount && same; ++i) {
      const std::string line = vm::FormatC("%f", vm::SceneRate(vm::BenchState.sceneTime[i]));
      same = row.sceneFps[i] == static_cast<float>(vm::ParseRate(line.c_str()));
    }
    found = same;
  }
  Check(found);
}

// N well-formed records already in the file, up to past the table.
void Prefill(FuzzedDataProvider& in, int& records) {
  records = in.ConsumeIntegralInRange(0, 3) == 0 ? in.ConsumeIntegralInRange(120, 130)
                                                 : in.ConsumeIntegralInRange(0, 3);
  std::string all;
  std::string fields[vm::kDescriptionFields];
  for (int i = 0; i < records; ++i) {
    AnyTimes(in);
    fields[0] = "M" + std::to_string(i);
    all += vm::FormatRecord(fields, std::tm{});
  }
  std::FILE* f = std::fopen(vm::kResultsFile, "wb");
  Check(f != nullptr && std::fwrite(all.data(), 1, all.size(), f) == all.size());
  std::fclose(f);
  vm::BenchState.resultsAvailable = 0;
  vm::LoadResultTable(vm::kResultsFile);
  Check(vm::lastResultIndex + 1 == std::min(records, vm::kResultRows));
}

// A hand edit that loses the file's last newline.
void DropLastNewline() {
  std::FILE* f = std::fopen(vm::kResultsFile, "rb");
  if (!f) return;
  std::fseek(f, 0, SEEK_END);
  const long size = std::ftell(f);
  char last = 0;
  if (size > 0) {
    std::fseek(f, size - 1, SEEK_SET);
    last = static_cast<char>(std::fgetc(f));
  }
  std::fclose(f);
  if (last == '\n') Check(truncate(vm::kResultsFile, size - 1) == 0);
}

// Text Results with a run of this machine or without, and a few clicks.
void Compare(FuzzedDataProvider& in, vm::MemoryPlatform& platform) {
  vm::BenchState.resultsAvailable = in.ConsumeBool() ? 1 : 0;
  vm::LoadResultTable(vm::kResultsFile);
  Check(vm::lastResultIndex >= -1 && vm::lastResultIndex < vm::kResultRows);
  vm::CTextResultsDlg dlg(platform);
  platform.dialogScript = [&](vm::MemoryDialog& host, vm::DialogHandler& handler) {
    vm::MemoryListBox& ranking = *host.ListAt(vm::kRankingListId);
    Check(ranking.GetCount() == 30 * (vm::lastResultIndex + 1));
    for (int n = in.ConsumeIntegralInRange(0, 8); n > 0; --n) {
      if (in.ConsumeIntegralInRange(0, 5) == 0) {
        handler.OnCommand(host, 1013);  // Clear Compare List
        continue;
      }
      ranking.Click(in.ConsumeIntegralInRange(-1, ranking.GetCount()));
      handler.OnDoubleClick(host, vm::kRankingListId);
    }
  };
  platform.RunModal(vm::kTextResultsDialog, dlg);
}

// Settings with whatever is typed into the two numbers.
void Settings(FuzzedDataProvider& in, vm::MemoryPlatform& platform) {
  vm::CSettingsDlg dlg(platform);
  platform.dialogScript = [&](vm::MemoryDialog& host, vm::DialogHandler& handler) {
    host.EditAt(vm::kSecondsId)->SetText(in.ConsumeRandomLengthString(24).c_str());
    host.EditAt(vm::kTimerId)->SetText(in.ConsumeRandomLengthString(24).c_str());
    handler.OnCommand(host, vm::kIdOk);
  };
  platform.RunModal(vm::kSettingsDialog, dlg);
  Check(vm::BenchState.secondsPerScene >= vm::kMinSecondsPerScene &&
        vm::BenchState.secondsPerScene <= vm::kMaxSecondsPerScene);
  Check(vm::BenchState.timerIntervalMs >= vm::kMinTimerIntervalMs);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool ready = [] {
    char dir[] = "/tmp/vm-fuzz-save-XXXXXX";
    return mkdtemp(dir) != nullptr && chdir(dir) == 0;
  }();
  if (!ready) std::abort();
  FuzzedDataProvider in(data, size);
  vm::MemoryPlatform platform;
  int records = 0;
  Prefill(in, records);
  for (int ops = 0; ops < 16 && in.remaining_bytes() > 0; ++ops) {
    switch (in.ConsumeIntegralInRange(0, 3)) {
      case 0:
        Save(in, platform, records);
        break;
      case 1:
        DropLastNewline();
        break;
      case 2:
        Compare(in, platform);
        break;
      default:
        Settings(in, platform);
        break;
    }
  }
  return 0;
}
