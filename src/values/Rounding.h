// Rounding to a step: the one routine behind display, round, splus and
// the law functions.
#pragma once

namespace tesmora {

// Rounds a to a multiple of the step d > 0, halves upwards (towards +inf).
// Values above 1e15 in magnitude stay as they are; above 1 in magnitude the
// integer part is split off first, so the fraction is rounded exactly.
double roundToStep(double a, double d);

// Every number shown to the user is first rounded to this step.
inline constexpr double kDisplayStep = 1e-7;

}  // namespace tesmora
