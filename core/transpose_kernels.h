// What the transposing kernels (core/mtx_copy.cpp) and the split of the LU factors (core/mtx_lapack_lu.cpp) share:
// the 4 × 4 transposition of Doubles in AVX2 registers and the size from which the worker threads share a pass.
// Callers of the kernel are compiled for AVX2 through the target attribute and run only where parallel::HasAvx2()
// (platform/wavrin/Parallel.h) says so. Internal to the library.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tarnel::detail {

// Transpositions of real matrices and splits of real LU factors of this many Doubles (4 MB, n = 725 for a square
// matrix) and more are shared among the worker threads. Measured right around an LU factorization of n × n (one
// BLAS thread, load 2 to 6 on 8 cores): at n = 400 to 600 the shared passes took as long as one thread or longer
// (waking the workers and fetching the factor from the caller's caches cost what the pieces save), from n = 700
// on they took a fifth to a third less time (n = 1000: the transposition 1.3 ms → 0.75 ms, the split 1.0-1.2 ms
// → 0.6-0.75 ms).
constexpr std::int64_t kSharedTransposeDoubles = std::int64_t{1} << 19;

}  // namespace tarnel::detail

#if defined(__x86_64__)
#include <immintrin.h>

namespace tarnel::detail {

// D(j, i) := S(i, j) for i, j < 4, the strides in Doubles; values move unchanged. Stream: non-temporal stores, for
// which D and its stride must keep every row 32-byte aligned.
template <bool Stream = false>
[[gnu::target("avx2")]] inline void Transpose4x4(const double* S, std::ptrdiff_t Ss, double* D, std::ptrdiff_t Ds)
{
    const __m256d r0 = _mm256_loadu_pd(S), r1 = _mm256_loadu_pd(S + Ss);
    const __m256d r2 = _mm256_loadu_pd(S + 2 * Ss), r3 = _mm256_loadu_pd(S + 3 * Ss);
    const __m256d t0 = _mm256_unpacklo_pd(r0, r1);  // S00 S10 S02 S12
    const __m256d t1 = _mm256_unpackhi_pd(r0, r1);  // S01 S11 S03 S13
    const __m256d t2 = _mm256_unpacklo_pd(r2, r3);  // S20 S30 S22 S32
    const __m256d t3 = _mm256_unpackhi_pd(r2, r3);  // S21 S31 S23 S33
    const __m256d c0 = _mm256_permute2f128_pd(t0, t2, 0x20), c1 = _mm256_permute2f128_pd(t1, t3, 0x20);
    const __m256d c2 = _mm256_permute2f128_pd(t0, t2, 0x31), c3 = _mm256_permute2f128_pd(t1, t3, 0x31);
    if constexpr (Stream) {
        _mm256_stream_pd(D, c0);
        _mm256_stream_pd(D + Ds, c1);
        _mm256_stream_pd(D + 2 * Ds, c2);
        _mm256_stream_pd(D + 3 * Ds, c3);
    } else {
        _mm256_storeu_pd(D, c0);
        _mm256_storeu_pd(D + Ds, c1);
        _mm256_storeu_pd(D + 2 * Ds, c2);
        _mm256_storeu_pd(D + 3 * Ds, c3);
    }
}

}  // namespace tarnel::detail
#endif
