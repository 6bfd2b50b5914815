// The complex logarithm, exponential and power of arrays, from real pieces: magnitudes and phases from
// nspzbCartToPolar, VDLN, VDEXP and VDSINCOS, chunk by chunk so that the pieces stay in the cache.
#include <cmath>

#include "core/Nmkl.h"
#include "core/Raroz.h"
#include "core/arith_kernels.h"

namespace tarnel::detail {

namespace {

// One chunk of ln: Work holds 2·N Doubles.
void LnChunk(const TCplx* Src, TCplx* Dst, int N, double* Work)
{
    double* mag = Work;
    double* phase = Work + kChunk;
    nspzbCartToPolar(Src, mag, phase, N);
    VDLN(&N, mag, mag);
    nspzb2RealToCplx(mag, phase, Dst, N);
}

// One chunk of exp: Work holds 4·N Doubles.
void ExpChunk(const TCplx* Src, TCplx* Dst, int N, double* Work)
{
    double* e = Work;
    double* b = Work + kChunk;
    double* s = Work + 2 * kChunk;
    double* c = Work + 3 * kChunk;
    nspzbCplxTo2Real(Src, e, b, N);
    VDEXP(&N, e, e);
    VDSINCOS(&N, b, s, c);
    for (int k = 0; k < N; ++k) {
        if (e[k] == 0 && !std::isfinite(b[k])) {
            // e^(-∞) (or a factor that vanished) times an undefined direction: 0, not NaN.
            Dst[k] = {0.0, 0.0};
            continue;
        }
        // e^a·sin 0 would be NaN for an infinite e^a: an exact zero imaginary part stays as it is.
        Dst[k] = {e[k] * c[k], b[k] == 0 ? b[k] : e[k] * s[k]};
    }
}

}  // namespace

void ComplexLn(const TCplx* Src, TCplx* Dst, int N)
{
    Chunked(N, [&](std::int64_t Lo, int Count, double* Work) { LnChunk(Src + Lo, Dst + Lo, Count, Work); });
}

void ComplexExp(const TCplx* Src, TCplx* Dst, int N)
{
    Chunked(N, [&](std::int64_t Lo, int Count, double* Work) { ExpChunk(Src + Lo, Dst + Lo, Count, Work); });
}

void ComplexPower(const TCplx* Src, TCplx* Dst, int N, double P)
{
    Chunked(N, [&](std::int64_t Lo, int Count, double* Work) {
        TCplx* d = Dst + Lo;
        LnChunk(Src + Lo, d, Count, Work);
        nspdbMpy1(P, &d->Re, 2 * Count);
        ExpChunk(d, d, Count, Work);
    });
}

}  // namespace tarnel::detail
