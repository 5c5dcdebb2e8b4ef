#pragma once

#include "platform/platform.h"
#include "render/view_state.h"

namespace vm {

// Builds view.textures[index] from bitmap resource `resourceId`; returns 1.
int LoadTexture(ViewState& view, Platform& platform, int resourceId, int index);

}  // namespace vm
