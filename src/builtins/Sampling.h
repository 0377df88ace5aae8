// Random choices on top of the shared generator (values/Random.h): a
// number below a bound, and positions drawn without replacement. Every
// choice is a fixed sequence of generator calls, so a seeded program
// repeats its draws on every machine.
#pragma once

#include <vector>

namespace tesmora {

// A whole number from 0 to bound − 1, for a whole bound ≥ 1: one generator
// number modulo the bound. A bound above 32768 would leave its upper part
// out of reach of one number (0..32767), so there two numbers make a
// 30-bit one (first · 32768 + second) before the modulo.
double randomBelow(double bound);

// `size` distinct positions out of 0..population − 1 (size ≤ population),
// in the order drawn. More than half the population (size > population/2,
// integer division): each draw takes the (d + 1)-th still available
// position, d = randomBelow(available count). Otherwise each draw repeats
// randomBelow(population) until it hits an available position.
std::vector<int> drawWithoutReplacement(int population, int size);

}  // namespace tesmora
