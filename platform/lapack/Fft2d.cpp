// lapack's two-dimensional FFTs on FFTW, through the signal library's plan cache.
#include <cstring>

#include "core/Nmkl.h"
#include "platform/wavrin/FftPlans.h"

namespace tarnel {

namespace {

using fftplan::AlignOf;
using fftplan::Kind;

fftw_plan Plan2D(Kind kind, int m, int n, int sign, double* data)
{
    const int a = AlignOf(data);
    return fftplan::Get(fftplan::Key{kind, m, n, sign, true, false, a, a});
}

void ScaleAll(double* d, long long count, double f)
{
    for (long long i = 0; i < count; ++i) d[i] *= f;
}

bool Sizes(const int* m, const int* n, const double* data)
{
    return m && n && data && *m > 0 && *n > 0;
}

}  // namespace

extern "C" {

void ZFFT2D(double* data, const int* m, const int* n, const int* sign)
{
    if (!Sizes(m, n, data) || !sign || (*sign != -1 && *sign != 1)) return;
    fftw_plan p = Plan2D(Kind::C2C, *m, *n, *sign < 0 ? FFTW_FORWARD : FFTW_BACKWARD, data);
    if (!p) return;
    fftw_execute_dft(p, fftplan::AsFftwFromDoubles(data), fftplan::AsFftwFromDoubles(data));
    const long long count = 2LL * *m * *n;
    if (*sign > 0) ScaleAll(data, count, 1.0 / (static_cast<double>(*m) * *n));
}

void DZFFT2D(double* data, const int* m, const int* n)
{
    if (!Sizes(m, n, data) || *n % 2 != 0) return;
    fftw_plan p = Plan2D(Kind::R2C, *m, *n, 0, data);
    if (!p) return;
    fftw_execute_dft_r2c(p, data, fftplan::AsFftwFromDoubles(data));
    const long long stride = *n + 2;
    std::memset(data + *m * stride, 0, 2 * stride * sizeof(double));
}

void ZDFFT2D(double* data, const int* m, const int* n)
{
    if (!Sizes(m, n, data) || *n % 2 != 0) return;
    fftw_plan p = Plan2D(Kind::C2R, *m, *n, 0, data);
    if (!p) return;
    fftw_execute_dft_c2r(p, fftplan::AsFftwFromDoubles(data), data);
    const long long stride = *n + 2;
    const double f = 1.0 / (static_cast<double>(*m) * *n);
    for (long long r = 0; r < *m; ++r) {
        double* row = data + r * stride;
        ScaleAll(row, *n, f);
        row[*n] = row[*n + 1] = 0.0;
    }
    std::memset(data + *m * stride, 0, 2 * stride * sizeof(double));
}

}  // extern "C"

}  // namespace tarnel
