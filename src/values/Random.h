// The random generator: a 32-bit linear congruential state, the same on
// every machine, so a seeded program repeats its numbers exactly.
#pragma once

#include <cstdint>

namespace tesmora {

// Seeds the generator (initrand, --seed, the clock at start-up).
void seedRandom(std::uint32_t seed);
// The next number 0..32767: bits 16..30 of the new state.
int nextRandom();
// A uniform variate strictly between 0 and 1: (rand + 1) / 32769.
double uniformRandom();

}  // namespace tesmora
