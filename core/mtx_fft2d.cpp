// Two-dimensional FFT of a whole matrix, in place, through lapack's ZFFT2D, DZFFT2D and ZDFFT2D (layout and
// scaling in core/Nmkl.h). The members check the shape, call the routine over the matrix's own block (owned or
// adopted, aligned or not) and retype the matrix: a real (m + 2) × (n + 2) matrix becomes the complex
// (m + 2) × (n/2 + 1) spectrum and back, Rows never changing.
#include "core/Nmkl.h"
#include "core/elementwise.h"
#include "core/messages.h"
#include "core/mtx_class.h"

namespace tarnel {

using detail::TCheck;

TMtx1& TMtx1::FFT()
{
    if (FComplex) {
        TCheck(FConditionCheck).Always(!IsPowerOfTwo(), msg::kNotPowerOfTwo);
        const int sign = -1;
        ZFFT2D(FValues, &FRows, &FCols, &sign);
        return *this;
    }
    TCheck(FConditionCheck).Always(!(CheckPowerOfTwo(FRows - 2) && CheckPowerOfTwo(FCols - 2)), msg::kRealFFTSizes);
    const int m = FRows - 2, n = FCols - 2;
    DZFFT2D(FValues, &m, &n);
    SetComplex(true);
    return *this;
}

TMtx1& TMtx1::IFFT()
{
    TCheck(FConditionCheck).Always(!IsPowerOfTwo(), msg::kNotPowerOfTwo).Always(!FComplex, msg::kComplexFalse);
    const int sign = 1;
    ZFFT2D(FValues, &FRows, &FCols, &sign);
    return *this;
}

TMtx1& TMtx1::IRealFFT()
{
    // The real matrix will have 2·Cols columns, so n = 2·(Cols − 1): a power of two when Cols − 1 is 1 or one.
    TCheck(FConditionCheck)
        .Always(!FComplex, msg::kComplexFalse)
        .Always(!(CheckPowerOfTwo(FRows - 2) && (FCols == 2 || CheckPowerOfTwo(FCols - 1))), msg::kIRealFFTSizes);
    SetComplex(false);
    const int m = FRows - 2, n = FCols - 2;
    ZDFFT2D(FValues, &m, &n);
    return *this;
}

}  // namespace tarnel
