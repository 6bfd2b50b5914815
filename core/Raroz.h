// Raroz: the routines of the signal-processing library (platform/wavrin) that the library calls.
//
// Conventions shared by every routine:
// - Names: nsp, a type letter (d Double, z TCplx, dz/zd mixed: the first letter is the first operand), b for
//   routines over a vector, the operation, and 1 (in place, with a scalar or alone), 2 (source onto destination)
//   or 3 (two sources into a destination).
// - Arrays pass by the address of their first element, counts in elements of the routine's type, scalars by
//   value. Complex data may be handed to d routines as 2·n Doubles.
// - A count of 0 does nothing. A negative count, a missing array or a bad option does nothing either and
//   records a status (nspGetErrStatus); no routine raises or prints.
// - Sources and destinations may be the same array (in-place use of the 2 and 3 forms). The element-wise
//   arithmetic shares arrays of 2^16 elements and more among up to eight threads, with the same results.
#pragma once

#include <cstdint>

#include "core/Dovi387.h"

namespace tarnel {

// C linkage: the symbols carry the plain names; in C++ they are found in namespace tarnel.
extern "C" {

// ---- Error mode and status ------------------------------------------------------------------------------
// The status is kept per thread. Modes:
//   0 (NSP_ErrModeLeaf)   every routine clears the status when it starts, so it tells about the last call;
//   1 (NSP_ErrModeParent) a failure's status stays until the next failure or nspSetErrStatus(0);
//   2 (NSP_ErrModeSilent) no status is recorded.
// The library starts in mode 0; Feldrin's start-up sets mode 1.
enum {
    NSP_ErrModeLeaf = 0,
    NSP_ErrModeParent = 1,
    NSP_ErrModeSilent = 2,
};

enum {
    NSP_StsOk = 0,
    NSP_StsError = -2,       // "Unknown error"
    NSP_StsNoMem = -4,       // "Insufficient memory"
    NSP_StsBadArg = -5,      // "Bad argument"
    NSP_StsNullPtr = -8,     // "Null pointer"
    NSP_StsBadLen = -9,      // "Negative length"
    NSP_StsBadOrder = -10,   // "Transform order out of range"
    NSP_StsBadFlags = -11,   // "Bad flags"
    NSP_StsBadState = -12,   // "State not initialised"
    NSP_StsDivByZero = -13,  // "Division by zero"
};

int nspSetErrMode(int mode);  // returns the previous mode; an unknown mode is refused (NSP_StsBadArg)
int nspGetErrMode();
int nspGetErrStatus();
void nspSetErrStatus(int status);
const char* nspErrorStr(int status);  // never null; unknown codes give "Unknown status code"

// ---- Arithmetic and fills -------------------------------------------------------------------------------
void nspdbAdd1(double val, double* dst, int n);  // dst += val
void nspzbAdd1(TCplx val, TCplx* dst, int n);
void nspdbAdd2(const double* src, double* dst, int n);  // dst += src
void nspzbAdd2(const TCplx* src, TCplx* dst, int n);
void nspdbAdd3(const double* a, const double* b, double* dst, int n);  // dst := a + b
void nspzbAdd3(const TCplx* a, const TCplx* b, TCplx* dst, int n);
void nspdbSub2(const double* src, double* dst, int n);  // dst := dst − src
void nspzbSub2(const TCplx* src, TCplx* dst, int n);
void nspdbSub3(const double* a, const double* b, double* dst, int n);  // dst := a − b
void nspzbSub3(const TCplx* a, const TCplx* b, TCplx* dst, int n);
void nspdbMpy1(double val, double* dst, int n);  // dst *= val
void nspzbMpy1(TCplx val, TCplx* dst, int n);
void nspdbMpy2(const double* src, double* dst, int n);  // dst *= src
void nspzbMpy2(const TCplx* src, TCplx* dst, int n);
void nspdbMpy3(const double* a, const double* b, double* dst, int n);  // dst := a · b
void nspzbMpy3(const TCplx* a, const TCplx* b, TCplx* dst, int n);

// Thresholded reciprocal: 1/x, except that an element whose magnitude is below thresh becomes the reciprocal
// of thresh with the element's sign kept (real: ±1/thresh by the sign bit, ±0 included; complex: magnitude
// 1/thresh in the direction of 1/z, and 1/thresh with the sign of Re z for z = 0). A threshold of 0 or below
// leaves plain reciprocals. Complex magnitudes compare |z| with thresh.
void nspdbInvThresh1(double* dst, int n, double thresh);
void nspzbInvThresh1(TCplx* dst, int n, double thresh);
void nspdbInvThresh2(const double* src, double* dst, int n, double thresh);
void nspzbInvThresh2(const TCplx* src, TCplx* dst, int n, double thresh);

// Clipping: relation NSP_LT (0) raises every element below level to level, NSP_GT (1) lowers every element
// above level to level. Complex elements compare their magnitude and keep their phase (z·level/|z|; a zero
// element raised to level becomes level + 0i). NaN elements pass unchanged.
enum { NSP_LT = 0, NSP_GT = 1 };
void nspdbThresh1(double* dst, int n, double level, int relation);
void nspzbThresh1(TCplx* dst, int n, double level, int relation);
void nspdbThresh2(const double* src, double* dst, int n, double level, int relation);
void nspzbThresh2(const TCplx* src, TCplx* dst, int n, double level, int relation);

void nspdbAbs1(double* dst, int n);
void nspdbAbs2(const double* src, double* dst, int n);
void nspdbSqr1(double* dst, int n);
void nspzbSqr1(TCplx* dst, int n);  // complex squares are the products z·z
void nspdbSqr2(const double* src, double* dst, int n);
void nspzbSqr2(const TCplx* src, TCplx* dst, int n);
void nspdbSqrt1(double* dst, int n);
void nspzbSqrt1(TCplx* dst, int n);  // principal square root
void nspdbSqrt2(const double* src, double* dst, int n);
void nspzbSqrt2(const TCplx* src, TCplx* dst, int n);

void nspdbSet(double val, double* dst, int n);
void nspzbSet(TCplx val, TCplx* dst, int n);
void nspdbZero(double* dst, int n);
void nspzbZero(TCplx* dst, int n);
void nspdbCopy(const double* src, double* dst, int n);  // overlapping arrays are copied as if through a buffer
void nspzbCopy(const TCplx* src, TCplx* dst, int n);
void nspzbConj1(TCplx* dst, int n);
void nspzbConj2(const TCplx* src, TCplx* dst, int n);
void nspdbNormalize(const double* src, double* dst, int n, double offset, double factor);  // (x − offset)/factor
void nspzbNormalize(const TCplx* src, TCplx* dst, int n, TCplx offset, double factor);

// ---- Complex parts ----------------------------------------------------------------------------------------
void nspzbReal(const TCplx* src, double* dst, int n);
void nspzbImag(const TCplx* src, double* dst, int n);
void nspzbMag(const TCplx* src, double* dst, int n);          // |z|, without overflow for large parts
void nspzbPhase(const TCplx* src, double* dst, int n);        // atan2(Im, Re) in [−π, π]
void nspzbPowerSpectr(const TCplx* src, double* dst, int n);  // Re² + Im²
void nspzbCartToPolar(const TCplx* src, double* mag, double* phase, int n);
void nspzbPolarToCart(const double* mag, const double* phase, TCplx* dst, int n);
void nspzb2RealToCplx(const double* re, const double* im, TCplx* dst, int n);  // a null re or im gives 0 parts
void nspzbCplxTo2Real(const TCplx* src, double* re, double* im, int n);

// ---- Statistics, norms and dot products -------------------------------------------------------------------
// Mean of an empty array is 0; Max/Min of an empty array are NaN with index −1. A NaN element is the result
// of Max/Min (the first NaN, as numpy's max and argmax); ties give the first position.
double nspdMean(const double* src, int n);
TCplx nspzMean(const TCplx* src, int n);
double nspdMax(const double* src, int n);
double nspdMin(const double* src, int n);
double nspdMaxExt(const double* src, int n, int* index);
double nspdMinExt(const double* src, int n, int* index);

// Norms: flag NSP_C (largest magnitude), NSP_L1 (sum of magnitudes) or NSP_L2 (root of the sum of squared
// magnitudes) of a − b, or of a alone when b is null; plus NSP_RELATIVE to divide by the same norm of b.
enum { NSP_C = 1, NSP_L1 = 2, NSP_L2 = 4, NSP_RELATIVE = 8 };
double nspdNorm(const double* a, const double* b, int n, int flag);
double nspzNorm(const TCplx* a, const TCplx* b, int n, int flag);

double nspdDotProd(const double* a, const double* b, int n);
TCplx nspzDotProd(const TCplx* a, const TCplx* b, int n);    // Σ a·b, no conjugate
TCplx nspzdDotProd(const TCplx* a, const double* b, int n);  // complex a, real b
TCplx nspdzDotProd(const double* a, const TCplx* b, int n);  // real a, complex b

// ---- Transforms -------------------------------------------------------------------------------------------
// order = log2 N (0 to 27). Flags: NSP_Forw (unscaled), NSP_Inv (divided by N), plus NSP_NoScale to skip the
// division. The forward transform is X[k] = Σ x[j]·e^(−2πi·jk/N), the inverse uses e^(+2πi·jk/N).
// Packed (CCS) spectrum of N real samples: bins 0 .. N/2 as N/2 + 1 complex numbers in N + 2 Doubles; bins 0
// and N/2 have zero imaginary parts.
// RealFft: N real samples in, packed spectrum out (the in-place form needs room for N + 2 Doubles).
// CcsFft: packed spectrum of a conjugate-symmetric sequence in, N real samples out.
// The Nip forms leave their source unchanged.
enum { NSP_Forw = 1, NSP_Inv = 2, NSP_NoScale = 16 };
void nspzFft(TCplx* data, int order, int flags);
void nspzFftNip(const TCplx* src, TCplx* dst, int order, int flags);
void nspdRealFft(double* data, int order, int flags);
void nspdRealFftNip(const double* src, TCplx* dst, int order, int flags);
void nspdCcsFft(double* data, int order, int flags);
void nspdCcsFftNip(const TCplx* src, double* dst, int order, int flags);
// Orthonormal DCT of any length n: forward (NSP_Forw) DCT-II, inverse (NSP_Inv) DCT-III, each the other's
// inverse. src and dst may be the same array.
void nspdDct(const double* src, double* dst, int n, int flags);

// ---- Filters ----------------------------------------------------------------------------------------------
// Full linear convolution: dst has xn + hn − 1 elements. An empty operand gives nothing. The convolutions and
// correlations sum directly, or through zero-padded FFTs where those cost less (long operands on both sides).
void nspdConv(const double* x, int xn, const double* h, int hn, double* dst);
void nspzConv(const TCplx* x, int xn, const TCplx* h, int hn, TCplx* dst);
void nspzdConv(const TCplx* x, int xn, const double* h, int hn, TCplx* dst);
void nspdzConv(const double* x, int xn, const TCplx* h, int hn, TCplx* dst);

// Autocorrelation: dst[k] = Σ_j x[j+k]·conj(x[j]) for k = 0 .. lags − 1, divided by n (NSP_Biased) or by
// n − k (NSP_UnBiased).
enum TNSPAutoCorrType { NSP_Normal = 0, NSP_Biased = 1, NSP_UnBiased = 2 };
void nspdAutoCorr(const double* src, int n, double* dst, int lags, int kind);
void nspzAutoCorr(const TCplx* src, int n, TCplx* dst, int lags, int kind);
// Cross-correlation at the lags loLag .. hiLag: dst[k − loLag] = Σ_j a[j+k]·conj(b[j]) over the j where both
// exist (numpy.correlate's direction).
void nspdCrossCorr(const double* a, int an, const double* b, int bn, double* dst, int loLag, int hiLag);
void nspzCrossCorr(const TCplx* a, int an, const TCplx* b, int bn, TCplx* dst, int loLag, int hiLag);
void nspzdCrossCorr(const TCplx* a, int an, const double* b, int bn, TCplx* dst, int loLag, int hiLag);
void nspdzCrossCorr(const double* a, int an, const TCplx* b, int bn, TCplx* dst, int loLag, int hiLag);

// Two-dimensional convolution of row-major arrays, columns given before rows. Conv2D gives the full result,
// (xRows + hRows − 1) by (xCols + hCols − 1); Filter2D gives the part of it of x's size centred on the
// full result, starting at row (hRows − 1) div 2 and column (hCols − 1) div 2 (scipy's "same" mode).
void nspdConv2D(const double* x, int xCols, int xRows, const double* h, int hCols, int hRows, double* dst);
void nspdFilter2D(const double* x, int xCols, int xRows, const double* h, int hCols, int hRows, double* dst);

// Goertzel filter: the Fourier coefficient Σ x[j]·e^(−2πi·f·j) at the relative frequency f of the samples fed
// since the last reset (j counted from that reset); any finite f is accepted. Reinsch's form of the recurrence
// keeps the relative error near N·ε at every frequency, 0 and 1/2 included.
// The state keeps the frequency, cos 2πf and sin 2πf, the coefficient of the samples so far and their count.
struct NSPDGoertzState {
    double freq, cosW, sinW, sumRe, sumIm, reserved0, reserved1, count;
};
using NSPZGoertzState = NSPDGoertzState;
static_assert(sizeof(NSPDGoertzState) == 64);
void nspdGoertzInit(double freq, NSPDGoertzState* state);
void nspzGoertzInit(double freq, NSPZGoertzState* state);
void nspdGoertzReset(NSPDGoertzState* state);
void nspzGoertzReset(NSPZGoertzState* state);
TCplx nspdbGoertz(NSPDGoertzState* state, const double* src, int n);
TCplx nspzbGoertz(NSPZGoertzState* state, const TCplx* src, int n);

// IIR filter of order m, transfer function B(z)/A(z) with taps b0 .. bm followed by a0 .. am (2(m + 1)
// values), as scipy.signal.lfilter with a zero initial state; a0 must not be 0. tapsType must be NSP_IirDefault.
// The state keeps the filter's memory from call to call and is released with nspIirFree.
enum { NSP_IirDefault = 1 };
struct NSPIirState {
    void* impl;
};
void nspdIirInit(int tapsType, const double* taps, int order, NSPIirState* state);
void nspzIirInit(int tapsType, const TCplx* taps, int order, NSPIirState* state);
void nspdbIir(NSPIirState* state, const double* src, double* dst, int n);  // real taps, real data
void nspdzbIir(NSPIirState* state, const TCplx* src, TCplx* dst, int n);   // real taps, complex data
void nspzbIir(NSPIirState* state, const TCplx* src, TCplx* dst, int n);    // complex taps, complex data
void nspIirFree(NSPIirState* state);

// ---- Resampling -------------------------------------------------------------------------------------------
// UpSample: each source element goes to offset *phase of its group of factor output elements, the rest are 0.
// DownSample: dst[k] = src[*phase + k·factor] while that index is below srcLen.
// *dstLen holds the room in dst on entry (nothing is written beyond it) and the count written on return;
// *phase must be 0 .. factor − 1 and returns the phase that continues the sequence in a following block.
void nspdUpSample(const double* src, int srcLen, double* dst, int* dstLen, int factor, int* phase);
void nspzUpSample(const TCplx* src, int srcLen, TCplx* dst, int* dstLen, int factor, int* phase);
void nspdDownSample(const double* src, int srcLen, double* dst, int* dstLen, int factor, int* phase);
void nspzDownSample(const TCplx* src, int srcLen, TCplx* dst, int* dstLen, int factor, int* phase);

// ---- Random numbers ---------------------------------------------------------------------------------------
// Each state is a self-contained generator (xoroshiro128++ seeded through splitmix64 from the bits of the
// seed); equal seeds give equal sequences. Uniform values lie in [low, high); normal values come from the
// polar method on the same generator. The first two Doubles of a state are its parameters.
#pragma pack(push, 4)
struct NSPDRandUniState {
    double low, high;
    std::uint64_t s[2];
    std::uint64_t reserved;
};
struct NSPDRandGausState {
    double mean, stdDev;
    std::uint64_t s[2];
    double spare;
    std::int32_t hasSpare;
    std::int32_t reserved[2];
};
#pragma pack(pop)
static_assert(sizeof(NSPDRandUniState) == 40 && sizeof(NSPDRandGausState) == 52);
void nspdRandUniInit(double seed, double low, double high, NSPDRandUniState* state);
double nspdRandUni(NSPDRandUniState* state);
void nspdbRandUni(NSPDRandUniState* state, double* dst, int n);
void nspzbRandUni(NSPDRandUniState* state, TCplx* dst, int n);  // both parts from the same distribution
void nspdRandGausInit(double seed, double mean, double stdDev, NSPDRandGausState* state);
double nspdRandGaus(NSPDRandGausState* state);
void nspdbRandGaus(NSPDRandGausState* state, double* dst, int n);
void nspzbRandGaus(NSPDRandGausState* state, TCplx* dst, int n);

// ---- Conversions ------------------------------------------------------------------------------------------
// FloatToInt writes n integers of `bits` bits (8, 16 or 32; signed, or unsigned with NSP_Unsigned) to dst.
// Rounding: NSP_Round (to nearest, ties to even), NSP_TruncZero (toward zero), NSP_TruncNeg (toward minus
// infinity); none of them means toward zero, more than one is refused. NSP_Clip saturates values beyond the
// type's range at its ends; without it they wrap modulo 2^bits (infinities and magnitudes of 2^63 and more
// give 0). NaN always gives 0.
enum { NSP_Round = 0x80, NSP_TruncZero = 0x100, NSP_TruncNeg = 0x200, NSP_Unsigned = 0x800, NSP_Clip = 0x1000 };
void nspdbFloatToInt(const double* src, void* dst, int n, int bits, int flags);
// IntToFloat reads n integers of `bits` bits (signed, or unsigned with NSP_Unsigned).
void nspdbIntToFloat(const void* src, double* dst, int n, int bits, int flags);

// G.711 µ-law and A-law on the 16-bit linear scale: a source Double is rounded to the nearest integer and
// saturated to −32768 .. 32767 (NaN counts as 0) before coding; decoding gives the centre of each code's
// interval on the same scale.
void nspdbLinToMuLaw(const double* src, std::uint8_t* dst, int n);
void nspdbMuLawToLin(const std::uint8_t* src, double* dst, int n);
void nspdbLinToALaw(const double* src, std::uint8_t* dst, int n);
void nspdbALawToLin(const std::uint8_t* src, double* dst, int n);

}  // extern "C"

// Module start-up: sets the signal library's error mode to NSP_ErrModeParent. Counted like the other modules.
void RarozInitialize();
void RarozFinalize();

}  // namespace tarnel
