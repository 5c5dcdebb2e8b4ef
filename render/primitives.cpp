#include "render/primitives.h"

namespace vm {

void DrawSphereText(ViewState&, const char*, float, float, float, float, float, float, float, int,
                    int) {}
void DrawQuadText(ViewState&, const char*, float, float, float, float, float, float, float) {}
void DrawCube(ViewState&, float, float, float, float, float, float, int, int) {}

}  // namespace vm
