// The memory under a vector's or a matrix's values: one zero-filled block whose data begin at the highest
// 32-byte boundary not above the block start + 40, with the 8-byte header just before the data.
#pragma once

#include <climits>
#include <cstddef>
#include <cstdint>

namespace tarnel::detail {

// The largest capacity whose Doubles still count in an Integer (a complex capacity doubles when it turns real).
constexpr std::int64_t kMaxRealCapacity = INT_MAX - 1;

// calloc that raises std::bad_alloc instead of returning nil.
std::byte* AllocateZeroed(std::size_t Bytes);

struct TStorageBlock {
    std::byte* Start = nullptr;  // as allocated; free with std::free
    std::byte* Header = nullptr;
    double* Values = nullptr;
};

// Bytes of uninitialised memory, aligned for any element; from 4 MB on aligned to 2 MB and marked for huge pages, so
// that passes over a large work area need far fewer address translations. Raises std::bad_alloc. FreeWork releases
// the area, given the same Bytes (nil is ignored).
double* AllocateWork(std::size_t Bytes);
void FreeWork(double* P, std::size_t Bytes);

// A zero-filled block of Bytes bytes (Bytes must leave 40 bytes in front of the values).
TStorageBlock AllocateStorage(std::int64_t Bytes);

}  // namespace tarnel::detail
