#include "platform/rtl/TickCount.h"

#include <atomic>
#include <chrono>

namespace tarnel {

namespace {

std::atomic<TTickSource> gSource{nullptr};

std::uint32_t SteadyTicks()
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now).count();
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(ms));  // modulo 2^32
}

}  // namespace

std::uint32_t GetTickCount()
{
    const TTickSource source = gSource.load(std::memory_order_acquire);
    return source ? source() : SteadyTicks();
}

TTickSource SetTickSource(TTickSource Source)
{
    return gSource.exchange(Source, std::memory_order_acq_rel);
}

}  // namespace tarnel
