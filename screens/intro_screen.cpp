#include "render/drawers.h"

namespace vm {

void DrawIntroScreen(ViewState& /*view*/) {}

}  // namespace vm
