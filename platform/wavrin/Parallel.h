// Splitting large element-wise work among a few threads. Internal to the library.
//
// Pieces(n, run) calls run(lo, hi) on contiguous pieces that cover [0, n): one piece for small n, else up to
// kMaxThreads pieces (each of at least kMinPiece elements, starting at multiples of 8) run at the same time,
// one of them in the calling thread. Callers keep every element's computation independent of the cut, so the
// results are the same as from one piece; arrays that the pieces write must not overlap the arrays that other
// pieces read.
#pragma once

#include <algorithm>
#include <functional>

namespace tarnel::parallel {

constexpr long long kMinPiece = 1 << 15;
constexpr int kMaxThreads = 8;

// The number of worker threads beside the caller (started on first use).
int WorkerCount();
// Runs job(0) .. job(parts − 1) at the same time, part 0 in the calling thread; false, without running
// anything, when the workers are busy with another thread's job.
bool RunParts(int parts, const std::function<void(int)>& job);

template <class Run>
void Pieces(long long n, const Run& run)
{
    if (n < 2 * kMinPiece) return run(0, n);
    const long long parts = std::min<long long>(WorkerCount() + 1, n / kMinPiece);
    if (parts <= 1) return run(0, n);
    const long long piece = ((n + parts - 1) / parts + 7) / 8 * 8;
    const std::function<void(int)> job = [&](int p) {
        const long long lo = p * piece, hi = std::min(n, lo + piece);
        if (lo < hi) run(lo, hi);
    };
    if (!RunParts(static_cast<int>(parts), job)) run(0, n);
}

}  // namespace tarnel::parallel
