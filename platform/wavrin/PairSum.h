// Pairwise summation, shared by the signal layer's means and dot products and the core's sums. Internal to the
// library.
#pragma once

#include <algorithm>

#include "platform/wavrin/Parallel.h"

namespace tarnel::wavrin {

// Σ f(i) for i in [lo, hi): blocks of at most 128 terms are summed with eight accumulators (term i + k goes to
// accumulator k), combined as ((0 + 1) + (2 + 3)) + ((4 + 5) + (6 + 7)), the remainder added in order; longer
// ranges split at a multiple of 8 near the middle and add the sums of their halves. The error grows with log n,
// not n, and the order of the additions depends on the length alone. The accumulators are separate locals so that
// they stay in registers (as an array the compiler keeps them in memory and every addition waits on a store).
template <class F>
double PairSum(long long lo, long long hi, const F& f)
{
    const long long n = hi - lo;
    if (n <= 128) {
        double a0 = 0, a1 = 0, a2 = 0, a3 = 0, a4 = 0, a5 = 0, a6 = 0, a7 = 0;
        long long i = lo;
        for (; i + 8 <= hi; i += 8) {
            a0 += f(i);
            a1 += f(i + 1);
            a2 += f(i + 2);
            a3 += f(i + 3);
            a4 += f(i + 4);
            a5 += f(i + 5);
            a6 += f(i + 6);
            a7 += f(i + 7);
        }
        double s = ((a0 + a1) + (a2 + a3)) + ((a4 + a5) + (a6 + a7));
        for (; i < hi; ++i) s += f(i);
        return s;
    }
    const long long mid = lo + (n / 2 / 8) * 8;
    return PairSum(lo, mid, f) + PairSum(mid, hi, f);
}

// Lengths from which PairSumShared hands the eight subtrees below the top three splits to the worker threads.
constexpr long long kShareFrom = 1 << 21;

// PairSum (0, n, f), long sums on the worker threads: each thread sums whole subtrees of the same tree, which are
// then added in the tree's order, so the result is PairSum's on any number of threads. f must not throw.
template <class F>
double PairSumShared(long long n, const F& f)
{
    if (n < kShareFrom) return PairSum(0, n, f);
    // The bounds of the subtrees, split as PairSum splits (every subtree is far longer than 128 terms).
    long long at[9] = {0, 0, 0, 0, 0, 0, 0, 0, n};
    for (int step = 4; step >= 1; step /= 2)
        for (int k = 0; k < 8; k += 2 * step) at[k + step] = at[k] + (at[k + 2 * step] - at[k]) / 2 / 8 * 8;
    double part[8];
    const int parts = std::min(8, parallel::WorkerCount() + 1);
    auto run = [&](int p) {
        for (int k = p; k < 8; k += parts) part[k] = PairSum(at[k], at[k + 1], f);
    };
    if (parts <= 1 || !parallel::RunParts(parts, run))
        for (int p = 0; p < parts; ++p) run(p);
    return ((part[0] + part[1]) + (part[2] + part[3])) + ((part[4] + part[5]) + (part[6] + part[7]));
}

}  // namespace tarnel::wavrin
