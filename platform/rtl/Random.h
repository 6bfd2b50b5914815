// The run-time's global pseudo-random generator: one stream of integers shared by the whole process.
//
// The library seeds it from the clock at start-up (Randomize); the random fills draw their seeds from it and
// the demonstration program draws its random walks and its random test matrices from it. It is safe to call
// from several threads: each call advances the one shared state atomically, so two threads never receive the
// same draw.
#pragma once

#include <cstdint>

namespace tarnel {

// Seeds the generator from the clock (nanoseconds, so two calls in the same millisecond still differ).
void Randomize();
// A uniformly distributed integer in 0 .. Range-1; 0 when Range <= 0.
int Random(int Range);
// A uniformly distributed Double in [0, 1): one draw's top 53 bits, so every multiple of 2^-53 below 1 is equally
// likely.
double Random();

// The seed source of Randomize: the system clock unless a test replaced it. SetRandomizeClock installs another
// source (nullptr: the system clock again) and returns the one it replaced, so that a test can make the
// re-seeding of code under test repeatable and restore the clock afterwards. The same clock reading always
// gives the same stream.
using TRandomClock = std::uint64_t (*)();
TRandomClock SetRandomizeClock(TRandomClock Clock);

}  // namespace tarnel
