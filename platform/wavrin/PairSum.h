// Pairwise summation, shared by the signal layer's means and dot products and the core's sums. Internal to the
// library.
#pragma once

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

}  // namespace tarnel::wavrin
