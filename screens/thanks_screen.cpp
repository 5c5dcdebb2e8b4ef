#include "render/drawers.h"

namespace vm {

void DrawThanksScreen(ViewState& /*view*/) {}

}  // namespace vm
