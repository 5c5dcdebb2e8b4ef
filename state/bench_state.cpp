#include "state/bench_state.h"

#include <cstdlib>

namespace vm {

BenchStateData BenchState;

void ResetTowerPositions() {
  static constexpr float kX[4] = {0, -2, -5, 6};
  static constexpr float kZ[4] = {0, -7, 4, 0};
  for (int i = 0; i < 4; ++i) {
    BenchState.towerX[i] = kX[i];
    BenchState.towerZ[i] = kZ[i];
  }
}

void DrawSpotPhases() {
  for (float& phase : BenchState.spotAngle) phase = static_cast<float>(std::rand() % 360);
}

}  // namespace vm
