// The ranking as a row of bars: one per machine, best first, each labelled
// at its right end with the machine's name and its score.
#include <GL/glu.h>

#include <cstdio>

#include "render/primitives.h"
#include "results/result_table.h"
#include "screens/screens.h"

namespace vm {

void DrawGraphicResults(ViewState& view) {
  glPushMatrix();
  gluLookAt(view.resultsEyeX, view.resultsEyeY, view.resultsZoom, 0.0, 0.0,
            view.resultsZoom - 15.0f, 0.0, 1.0, 0.0);
  char score[32];
  for (int i = 0; i <= lastResultIndex && i < kResultRows; ++i) {
    const ResultEntry& row = ResultTable[i];
    const float z = static_cast<float>(2 * i);
    const float x = row.averageFps * 0.1f;
    float r = 1.0f, g = 1.0f, b = 1.0f;
    const char* name = "This Computer";
    if (!row.isThisMachine) {
      name = row.computerName;
      g = 0.0f;
      r = (i % 2 == 0) ? 1.0f : 0.0f;
      b = 1.0f - r;
    }
    DrawQuadText(view, name, x, 1.0f, z + 0.2f, 0.2f, r, g, b);
    std::snprintf(score, sizeof score, "Index : %d", ResultScore(row.averageFps));
    DrawQuadText(view, score, x, 0.5f, z + 0.2f, 0.2f, r, g, b);
    // The bar keeps the colour the score line set.
    DrawCube(view, 0.0f, 0.0f, z, x, 0.3f, 0.3f, -1, 0);
  }
  glPopMatrix();
}

}  // namespace vm
