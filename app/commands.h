// Menu command identifiers and the main window's fixed texts.
#pragma once

#include "platform/platform.h"

namespace vm {

enum CommandId : int {
  ID_INIT_BENCHS = 32772,
  ID_STOP_BENCHS = 32773,
  ID_SAVE_RESULTS = 32774,
  ID_GRAPHIC_RESULTS = 32775,
  ID_BENCH_SETTINGS = 32776,
  ID_TEXT_RESULTS = 32777,
  ID_MAIN_SCREEN = 32778,
  ID_THANKS = 32779,
  ID_QUIT = 32780,
  ID_FAQ = 32781,
  ID_APP_ABOUT = 57664,
};

constexpr const char* kAppTitle = "Velmark3";
constexpr const char* kMainWindowTitle = "VELMARK 3 by TALVO (version 1.0 - dec 2002)";
constexpr const char* kIdleMessage = "Pronto";

extern const MenuEntry kMainMenu[];
extern const int kMainMenuCount;

}  // namespace vm
