// The system tick count: milliseconds on a steady clock, as an unsigned 32-bit number that wraps around after
// 2^32 ms (about 49.7 days). Timings take the difference of two readings as an unsigned 32-bit number
// (TickDiff), which stays right across one wrap-around; a signed or 64-bit difference of wrapped readings
// would not.
#pragma once

#include <cstdint>

namespace tarnel {

// Milliseconds since an arbitrary fixed moment, modulo 2^32. Never goes backwards (modulo the wrap).
std::uint32_t GetTickCount();

// The milliseconds from the reading Start to the reading Stop: Stop - Start modulo 2^32.
constexpr std::uint32_t TickDiff(std::uint32_t Start, std::uint32_t Stop)
{
    return Stop - Start;
}

// The source GetTickCount reads: the steady clock unless a test replaced it. SetTickSource installs another
// (nullptr: the steady clock again) and returns the one it replaced, so that tests can drive timed code with
// chosen readings, a wrap-around included.
using TTickSource = std::uint32_t (*)();
TTickSource SetTickSource(TTickSource Source);

}  // namespace tarnel
