#include "core/storage_block.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <new>

namespace tarnel::detail {

namespace {

// Blocks of several megabytes ask for transparent huge pages, which the kernel grants to such requests also where
// it does not hand them out unasked (Debian's default): a column or a diagonal of a large matrix then crosses far
// fewer pages, each of which costs a TLB miss. Advice only: the data are the same whether or not it is taken.
void AdviseHugePages(void* Block, std::size_t Bytes)
{
    constexpr std::size_t kLarge = std::size_t{4} << 20;
    if (Bytes < kLarge) return;
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    if (page == 0 || (page & (page - 1)) != 0) return;
    const auto start = reinterpret_cast<std::uintptr_t>(Block);
    const std::uintptr_t first = (start + page - 1) & ~(page - 1), last = (start + Bytes) & ~(page - 1);
    if (last > first) madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

}  // namespace

std::byte* AllocateZeroed(std::size_t Bytes)
{
    void* p = std::calloc(1, Bytes);
    if (!p) throw std::bad_alloc();
    AdviseHugePages(p, Bytes);
    return static_cast<std::byte*>(p);
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
