#include "core/storage_block.h"

#include <algorithm>
#include <cstdlib>
#include <new>

#include "platform/rtl/HugePages.h"

namespace tarnel::detail {

std::byte* AllocateZeroed(std::size_t Bytes)
{
    void* p = std::calloc(1, Bytes);
    if (!p) throw std::bad_alloc();
    AdviseHugePages(p, Bytes);  // before the pages are first touched
    return static_cast<std::byte*>(p);
}

double* AllocateWork(std::size_t Bytes)
{
    constexpr std::size_t kHuge = std::size_t{1} << 21;
    void* p = nullptr;
    if (Bytes >= 2 * kHuge) {
        p = std::aligned_alloc(kHuge, (Bytes + kHuge - 1) & ~(kHuge - 1));
        if (p) AdviseHugePages(p, Bytes);
    } else {
        p = std::malloc(std::max<std::size_t>(Bytes, 1));
    }
    if (!p) throw std::bad_alloc();
    return static_cast<double*>(p);
}

TStorageBlock AllocateStorage(std::int64_t Bytes)
{
    TStorageBlock b;
    b.Start = AllocateZeroed(static_cast<std::size_t>(Bytes));
    const auto start = reinterpret_cast<std::uintptr_t>(b.Start);
    std::byte* data = b.Start + (((start + 40) & ~std::uintptr_t{31}) - start);
    b.Header = data - 8;
    b.Values = reinterpret_cast<double*>(data);
    return b;
}

}  // namespace tarnel::detail
