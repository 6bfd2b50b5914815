#include "core/storage_block.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
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

namespace {

constexpr std::size_t kHuge = std::size_t{1} << 21;

}  // namespace

double* AllocateWork(std::size_t Bytes)
{
    if (Bytes < 2 * kHuge) {
        void* p = std::malloc(std::max<std::size_t>(Bytes, 1));
        if (!p) throw std::bad_alloc();
        return static_cast<double*>(p);
    }
    // The 2 MB boundary is found inside an ordinary block one huge page longer, whose start is kept in the word
    // before the area. aligned_alloc pads every request by the alignment, so the request always reaches the mapping
    // threshold that the allocator raised to the size of the last such block released: every call would map, fault in
    // and clear the area anew (over 400 faults for 8 MB). An ordinary request of one size comes from the heap once the
    // first block of that size has been released (up to the allocator's limit of that threshold, 32 MB).
    if (Bytes > SIZE_MAX - kHuge - sizeof(void*)) throw std::bad_alloc();
    auto* block = static_cast<std::byte*>(std::malloc(Bytes + kHuge + sizeof(void*)));
    if (!block) throw std::bad_alloc();
    const auto start = reinterpret_cast<std::uintptr_t>(block + sizeof(void*));
    std::byte* area = block + sizeof(void*) + (((start + kHuge - 1) & ~std::uintptr_t{kHuge - 1}) - start);
    std::memcpy(area - sizeof(void*), &block, sizeof(void*));
    AdviseHugePages(area, Bytes);
    return reinterpret_cast<double*>(area);
}

void FreeWork(double* P, std::size_t Bytes)
{
    if (!P) return;
    if (Bytes < 2 * kHuge) {
        std::free(P);
        return;
    }
    void* block = nullptr;
    std::memcpy(&block, reinterpret_cast<std::byte*>(P) - sizeof(void*), sizeof(void*));
    std::free(block);
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
