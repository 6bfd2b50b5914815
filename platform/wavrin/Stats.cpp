// Means, extremes, norms and dot products.
#include <cmath>
#include <limits>

#include "platform/wavrin/PairSum.h"
#include "platform/wavrin/WavrinInternal.h"

namespace tarnel {

namespace {

using wavrin::Args;
using wavrin::Fail;
using wavrin::PairSum;
using wavrin::PairSumShared;

// The position of the largest (sign 1) or smallest (sign −1) element; the first NaN wins, ties keep the first.
int Extreme(const double* x, int n, bool largest)
{
    int best = 0;
    if (std::isnan(x[0])) return 0;
    for (int i = 1; i < n; ++i) {
        const double v = x[i];
        if (std::isnan(v)) return i;
        if (largest ? v > x[best] : v < x[best]) best = i;
    }
    return best;
}

double ExtremeValue(const double* src, int n, int* index, bool largest)
{
    if (index) *index = -1;
    if (!Args(n, src)) return NAN;
    const int k = Extreme(src, n, largest);
    if (index) *index = k;
    return src[k];
}

inline double Mag(double re, double im)
{
    return std::hypot(re, im);
}

// The L2 norm from a sum of squares; when that overflows or underflows, the sum is redone scaled by the
// largest magnitude.
template <class Get>
double L2(long long n, const Get& get)
{
    const double s = PairSumShared(n, [&](long long i) {
        const double v = get(i);
        return v * v;
    });
    if (std::isfinite(s) && s >= 1e-290) return std::sqrt(s);
    double big = 0.0;
    for (long long i = 0; i < n; ++i) {
        const double v = std::fabs(get(i));
        if (std::isnan(v)) return NAN;
        if (v > big) big = v;
    }
    if (big == 0.0 || std::isinf(big)) return big;
    const double t = PairSumShared(n, [&](long long i) {
        const double v = get(i) / big;
        return v * v;
    });
    return big * std::sqrt(t);
}

// One norm of the elements given by mag (magnitudes) and part (the Doubles whose squares add up to |x|²).
template <class MagF, class SqF>
double NormOf(int n, int kind, const MagF& mag, const SqF& l2)
{
    switch (kind) {
        case NSP_C: {
            double m = 0.0;
            for (int i = 0; i < n; ++i) {
                const double v = mag(i);
                if (std::isnan(v)) return NAN;
                if (v > m) m = v;
            }
            return m;
        }
        case NSP_L1:
            return PairSumShared(n, [&](long long i) { return mag(static_cast<int>(i)); });
        default:
            return l2();
    }
}

bool NormFlagOk(int flag, bool haveB)
{
    const int kind = flag & ~NSP_RELATIVE;
    if ((kind != NSP_C && kind != NSP_L1 && kind != NSP_L2) || ((flag & NSP_RELATIVE) && !haveB)) {
        Fail(NSP_StsBadFlags);
        return false;
    }
    return true;
}

}  // namespace

extern "C" {

double nspdMean(const double* src, int n)
{
    if (!Args(n, src)) return 0.0;
    return PairSumShared(n, [&](long long i) { return src[i]; }) / n;
}

TCplx nspzMean(const TCplx* src, int n)
{
    if (!Args(n, src)) return {0.0, 0.0};
    const double re = PairSumShared(n, [&](long long i) { return src[i].Re; });
    const double im = PairSumShared(n, [&](long long i) { return src[i].Im; });
    return {re / n, im / n};
}

double nspdMax(const double* src, int n)
{
    return ExtremeValue(src, n, nullptr, true);
}
double nspdMin(const double* src, int n)
{
    return ExtremeValue(src, n, nullptr, false);
}
double nspdMaxExt(const double* src, int n, int* index)
{
    return ExtremeValue(src, n, index, true);
}
double nspdMinExt(const double* src, int n, int* index)
{
    return ExtremeValue(src, n, index, false);
}

double nspdNorm(const double* a, const double* b, int n, int flag)
{
    if (!Args(n, a) || !NormFlagOk(flag, b != nullptr)) return NAN;
    const int kind = flag & ~NSP_RELATIVE;
    auto norm = [&](auto get) {
        return NormOf(
            n, kind, [&](int i) { return std::fabs(get(i)); }, [&] { return L2(n, get); });
    };
    const double r = b ? norm([&](long long i) { return a[i] - b[i]; }) : norm([&](long long i) { return a[i]; });
    if (!(flag & NSP_RELATIVE)) return r;
    return r / norm([&](long long i) { return b[i]; });
}

double nspzNorm(const TCplx* a, const TCplx* b, int n, int flag)
{
    if (!Args(n, a) || !NormFlagOk(flag, b != nullptr)) return NAN;
    const int kind = flag & ~NSP_RELATIVE;
    // The L2 norm runs over the 2n Doubles of the complex array.
    auto norm = [&](auto get) {
        return NormOf(
            n, kind,
            [&](int i) {
                const TCplx z = get(i);
                return Mag(z.Re, z.Im);
            },
            [&] {
                return L2(2LL * n, [&](long long j) {
                    const TCplx z = get(j / 2);
                    return (j & 1) ? z.Im : z.Re;
                });
            });
    };
    const double r = b ? norm([&](long long i) {
        return TCplx{a[i].Re - b[i].Re, a[i].Im - b[i].Im};
    })
                       : norm([&](long long i) { return a[i]; });
    if (!(flag & NSP_RELATIVE)) return r;
    return r / norm([&](long long i) { return b[i]; });
}

double nspdDotProd(const double* a, const double* b, int n)
{
    if (!Args(n, a, b)) return 0.0;
    return PairSumShared(n, [&](long long i) { return a[i] * b[i]; });
}

TCplx nspzDotProd(const TCplx* a, const TCplx* b, int n)
{
    if (!Args(n, a, b)) return {0.0, 0.0};
    return {PairSumShared(n, [&](long long i) { return a[i].Re * b[i].Re - a[i].Im * b[i].Im; }),
            PairSumShared(n, [&](long long i) { return a[i].Re * b[i].Im + a[i].Im * b[i].Re; })};
}

TCplx nspzdDotProd(const TCplx* a, const double* b, int n)
{
    if (!Args(n, a, b)) return {0.0, 0.0};
    return {PairSumShared(n, [&](long long i) { return a[i].Re * b[i]; }),
            PairSumShared(n, [&](long long i) { return a[i].Im * b[i]; })};
}

TCplx nspdzDotProd(const double* a, const TCplx* b, int n)
{
    return nspzdDotProd(b, a, n);
}

}  // extern "C"

}  // namespace tarnel
