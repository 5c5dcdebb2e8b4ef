#include "app/velmark3_app.h"

#include "app/commands.h"
#include "app/run_keeper.h"
#include "platform/resources.h"

namespace vm {
namespace {

// clang-format off
const DialogControl kAboutControls[] = {
    {ControlKind::kIcon, -1, "", 11, 8, 21, 20, 0, 0, kProgramIconResource},
    {ControlKind::kStatic, -1, "Velmark3 Versione 1.0", 39, 7, 83, 8},
    {ControlKind::kStatic, -1, "OpenGL benchmark", 39, 17, 119, 8},
    {ControlKind::kStatic, -1, "by TALVO", 124, 7, 43, 8},
    {ControlKind::kStatic, -1, "HOMEPAGE => VELMARK3.EXAMPLE.ORG", 40, 29, 179, 8},
    {ControlKind::kStatic, -1, "EMAIL => BENCH@EXAMPLE.ORG", 40, 39, 137, 8},
    {ControlKind::kDefaultButton, kIdOk, "OK", 178, 10, 50, 14},
};
// clang-format on

}  // namespace

const DialogTemplate kAboutDialog = {
    100,
    "Informazioni su Velmark3",
    235,
    57,
    kAboutControls,
    static_cast<int>(sizeof kAboutControls / sizeof kAboutControls[0])};

CVelmark3App::CVelmark3App(Platform& platform, GlBinding& gl)
    : frame(platform), view(platform, gl), platform_(platform) {
  frame.sceneWatch = &view.frameTimes;
}

bool CVelmark3App::InitInstance() {
  const bool drawable = view.OnCreate() == 0;
  platform_.SetStatusText(kIdleMessage);
  return frame.OnCreate() == 0 && drawable;
}

void CVelmark3App::OnTimer(int /*timerId*/) {
  frame.OnTimer();
}
void CVelmark3App::OnPaint() {
  view.OnDraw();
}
void CVelmark3App::OnSize(int cx, int cy) {
  view.OnSize(cx, cy);
  if (frame.keeper) frame.keeper->SetViewSize(cx, cy);
}
void CVelmark3App::OnMouseWheel(int16_t delta) {
  view.OnMouseWheel(delta);
}

void CVelmark3App::OnAppAbout() {
  DialogHandler plain;
  platform_.RunModal(kAboutDialog, plain);
}

void CVelmark3App::OnCommand(int commandId) {
  switch (commandId) {
    case ID_INIT_BENCHS:
      frame.OnInitBenchs();
      break;
    case ID_STOP_BENCHS:
      frame.OnStopBenchs();
      break;
    case ID_BENCH_SETTINGS:
      frame.OnBenchSettings();
      break;
    case ID_SAVE_RESULTS:
      frame.OnSaveResults();
      break;
    case ID_GRAPHIC_RESULTS:
      frame.OnGraphicResults();
      break;
    case ID_TEXT_RESULTS:
      frame.OnTextResults();
      break;
    case ID_FAQ:
      frame.OnFaq();
      break;
    case ID_MAIN_SCREEN:
      frame.OnMainScreen();
      break;
    case ID_THANKS:
      frame.OnThanks();
      break;
    case ID_QUIT:
      frame.OnQuit();
      break;
    case ID_APP_ABOUT:
      OnAppAbout();
      break;
    default:
      break;
  }
}

}  // namespace vm
