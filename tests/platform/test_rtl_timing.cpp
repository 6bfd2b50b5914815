// The run-time's tick count and the clock seam of its random generator.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <thread>
#include <vector>

#include "platform/rtl/Random.h"
#include "platform/rtl/TickCount.h"

using namespace tarnel;

namespace {

std::uint64_t gClockValue = 0;
std::uint64_t FixedClock()
{
    return gClockValue;
}

std::uint32_t gTick = 0;
std::uint32_t FakeTicks()
{
    return gTick;
}

std::vector<int> Draws(int count)
{
    std::vector<int> d;
    for (int i = 0; i < count; ++i) d.push_back(Random(10));
    return d;
}

}  // namespace

TEST(RunTimeRandom, ReseedingFromTheSameClockReadingRepeatsTheStream)
{
    const TRandomClock previous = SetRandomizeClock(FixedClock);
    EXPECT_EQ(previous, nullptr) << "the system clock is the default source";
    gClockValue = 1234567;
    Randomize();
    const std::vector<int> first = Draws(64);
    Randomize();
    EXPECT_EQ(Draws(64), first);
    gClockValue = 1234568;  // one nanosecond later: another stream
    Randomize();
    EXPECT_NE(Draws(64), first);
    EXPECT_EQ(SetRandomizeClock(previous), &FixedClock);
}

TEST(RunTimeRandom, TheDoubleFormIsUniformInTheHalfOpenUnitInterval)
{
    const TRandomClock previous = SetRandomizeClock(FixedClock);
    gClockValue = 42;
    Randomize();
    double first = Random(), sum = 0;
    int below = 0;
    for (int k = 0; k < 100000; ++k) {
        const double r = Random();
        ASSERT_TRUE(r >= 0 && r < 1) << r;
        ASSERT_EQ(r, std::ldexp(std::floor(std::ldexp(r, 53)), -53));  // a multiple of 2^-53
        sum += r;
        below += r < 0.25;
    }
    EXPECT_NEAR(sum / 100000, 0.5, 0.01);
    EXPECT_NEAR(below / 100000.0, 0.25, 0.01);
    Randomize();
    EXPECT_EQ(Random(), first);  // the same stream as the integer form
    SetRandomizeClock(previous);
}

TEST(RunTimeTicks, DifferencesAreUnsigned32BitAcrossTheWrap)
{
    struct TCase {
        std::uint32_t Start, Stop, Elapsed;
    };
    const TCase cases[] = {
        {0, 0, 0},
        {100, 250, 150},
        {0xFFFFFFF0u, 0x10u, 0x20u},  // the tick count wrapped between the readings
        {0xFFFFFFFFu, 0, 1},
        {0x7FFFFFFFu, 0x80000000u, 1},  // crossing the sign bit of a signed reading
    };
    for (const TCase& c : cases) EXPECT_EQ(TickDiff(c.Start, c.Stop), c.Elapsed) << c.Start << " -> " << c.Stop;
}

TEST(RunTimeTicks, ReadsTheInstalledSourceAndCountsMilliseconds)
{
    const TTickSource previous = SetTickSource(FakeTicks);
    gTick = 0xFFFFFFFEu;
    EXPECT_EQ(GetTickCount(), 0xFFFFFFFEu);
    EXPECT_EQ(SetTickSource(previous), &FakeTicks);

    const std::uint32_t start = GetTickCount();
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    const std::uint32_t elapsed = TickDiff(start, GetTickCount());
    EXPECT_GE(elapsed, 50u) << "milliseconds, not a coarser unit";
    EXPECT_LT(elapsed, 10000u) << "milliseconds, not a finer unit";
}
