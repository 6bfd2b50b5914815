#include "platform/rtl/Random.h"

#include <atomic>
#include <chrono>

namespace tarnel {

namespace {

// SplitMix64: the state advances by a fixed odd increment and each draw is a bijective mix of the new state,
// so concurrent callers that each win one fetch_add receive distinct, well-mixed values.
constexpr std::uint64_t kIncrement = 0x9E3779B97F4A7C15ULL;
std::atomic<std::uint64_t> gState{0x853C49E6748FEA9BULL};
std::atomic<TRandomClock> gClock{nullptr};

std::uint64_t Mix(std::uint64_t z)
{
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

std::uint64_t SystemClock()
{
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
}

}  // namespace

void Randomize()
{
    const TRandomClock clock = gClock.load(std::memory_order_acquire);
    const std::uint64_t ticks = clock ? clock() : SystemClock();
    gState.store(Mix(ticks ^ 0x6A09E667F3BCC909ULL), std::memory_order_relaxed);
}

TRandomClock SetRandomizeClock(TRandomClock Clock)
{
    return gClock.exchange(Clock, std::memory_order_acq_rel);
}

namespace {

std::uint64_t Draw()
{
    return Mix(gState.fetch_add(kIncrement, std::memory_order_relaxed) + kIncrement);
}

}  // namespace

int Random(int Range)
{
    if (Range <= 0) return 0;
    // The top 32 bits scaled into the range: (d * Range) / 2^32 lies in 0 .. Range-1.
    return static_cast<int>(((Draw() >> 32) * static_cast<std::uint64_t>(Range)) >> 32);
}

double Random()
{
    return static_cast<double>(Draw() >> 11) * 0x1p-53;
}

}  // namespace tarnel
