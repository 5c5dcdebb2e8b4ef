#include "app/commands.h"

namespace vm {

const MenuEntry kMainMenu[] = {
    {"BenchMark", "Bench Settings", ID_BENCH_SETTINGS},
    {"BenchMark", "Init Benchs", ID_INIT_BENCHS},
    {"BenchMark", "Stop Benchs", ID_STOP_BENCHS},
    {"Results", "Save Results", ID_SAVE_RESULTS},
    {"Results", "Graphic Results", ID_GRAPHIC_RESULTS},
    {"Results", "Text Results", ID_TEXT_RESULTS},
    {"Results", "Main Screen", ID_MAIN_SCREEN},
    {"Other", "Tanks to..", ID_THANKS},
    {"Other", "Faq", ID_FAQ},
    {"Other", "Quit", ID_QUIT},
    {"&?", "Infor&mazioni su Velmark3...", ID_APP_ABOUT},
};
const int kMainMenuCount = static_cast<int>(sizeof kMainMenu / sizeof kMainMenu[0]);

}  // namespace vm
