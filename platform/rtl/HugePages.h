// Advice to the system for large blocks of numbers: a pass through one runs markedly faster on huge pages (far
// fewer address translations, and the processor's prefetchers do not stop at every 4 KB boundary). Internal to
// the library.
#pragma once

#include <cstddef>

namespace tarnel::detail {

// Asks for huge pages under the whole 2 MB pages within [P, P + Bytes) when Bytes is at least 4 MB. Only advice:
// nothing changes where the system does not take it.
void AdviseHugePages(void* P, std::size_t Bytes);

}  // namespace tarnel::detail
