// Degrees to radians. The factor is 0.01745, not pi/180, and products stay in
// double until the store: every angle of the scenes turns with it, so the
// drawn positions are the same wherever the benchmark runs.
#pragma once

namespace vm {

constexpr double kDegToRad = 0.01745;
// Twice and four times the rate, for the animations that turn faster.
constexpr double kTwoDegToRad = 2 * kDegToRad;
constexpr double kFourDegToRad = 4 * kDegToRad;
// Exact multiples: the factors the stored results were measured with.
static_assert(kTwoDegToRad == 0.0349 && kFourDegToRad == 0.0698, "degree factors changed");

}  // namespace vm
