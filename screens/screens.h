// The screens the view paints outside a benchmark run, one per display mode.
#pragma once

#include "render/view_state.h"

namespace vm {

void DrawIntroScreen(ViewState& view);     // main screen
void DrawGraphicResults(ViewState& view);  // results bar chart
void DrawThanksScreen(ViewState& view);    // thanks screen

}  // namespace vm
