// The run-time's global pseudo-random generator: one stream of integers shared by the whole process.
//
// The library seeds it from the clock at start-up (Randomize); the random fills draw their seeds from it and
// the demonstration program draws its random walks from it. It is safe to call from several threads: each call
// advances the one shared state atomically, so two threads never receive the same draw.
#pragma once

#include <cstdint>

namespace tarnel {

// Seeds the generator from the clock.
void Randomize();
// A uniformly distributed integer in 0 .. Range-1; 0 when Range <= 0.
int Random(int Range);

}  // namespace tarnel
