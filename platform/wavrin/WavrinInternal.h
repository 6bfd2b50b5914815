// Shared helpers of the signal-processing library: status recording and argument checks.
#pragma once

#include <complex>

#include "core/Raroz.h"

namespace tarnel::wavrin {

// Starts a routine: in NSP_ErrModeLeaf the status is cleared so that it tells about this call only.
void BeginCall();
// Records a failure as the mode says.
void Fail(int status);

// Checks a count: true when there is work (n > 0); a negative count records NSP_StsBadLen.
inline bool Count(int n)
{
    BeginCall();
    if (n < 0) {
        Fail(NSP_StsBadLen);
        return false;
    }
    return n > 0;
}

// True when every pointer is set; otherwise records NSP_StsNullPtr.
template <class... P>
bool Ptrs(const P*... p)
{
    if (((p != nullptr) && ...)) return true;
    Fail(NSP_StsNullPtr);
    return false;
}

// A count followed by pointers: true when there is work and every pointer is set.
template <class... P>
bool Args(int n, const P*... p)
{
    return Count(n) && Ptrs(p...);
}

// ---- FFT forms of the filters (FastConv.cpp) --------------------------------------------------------------------
// A fast FFT length at least N: a power of two, or 2^a·3^b·5^c·7^d where that is over a fifth shorter (1 for
// N <= 1).
long long FastLength(long long N);
// True when the transforms of length FftLength cost less than DirectOps multiply-adds of the direct sums (real or
// complex arithmetic).
bool FftCheaper(double DirectOps, long long FftLength, bool Complex);
// Full linear convolutions through zero-padded transforms: Out gets Xn + Hn − 1 elements (Xr + Hr − 1 rows of
// Xc + Hc − 1 for 2-D, row-major). Out may not overlap the operands. False, with nothing written, when the
// memory or a plan is not there.
bool FftConvReal(const double* X, long long Xn, const double* H, long long Hn, double* Out);
bool FftConvCplx(const std::complex<double>* X, long long Xn, const std::complex<double>* H, long long Hn,
                 std::complex<double>* Out);
bool FftConv2D(const double* X, int Xc, int Xr, const double* H, int Hc, int Hr, double* Out);

}  // namespace tarnel::wavrin
