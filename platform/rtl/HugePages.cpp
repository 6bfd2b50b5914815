#include "platform/rtl/HugePages.h"

#include <sys/mman.h>

#include <cstdint>

namespace tarnel::detail {

void AdviseHugePages(void* P, std::size_t Bytes)
{
#if defined(MADV_HUGEPAGE)
    constexpr std::size_t kHuge = std::size_t{1} << 21;
    if (!P || Bytes < 2 * kHuge) return;
    const auto start = reinterpret_cast<std::uintptr_t>(P);
    const std::uintptr_t first = (start + kHuge - 1) & ~(kHuge - 1), end = (start + Bytes) & ~(kHuge - 1);
    if (end > first) ::madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
#else
    (void)P;
    (void)Bytes;
#endif
}

}  // namespace tarnel::detail
