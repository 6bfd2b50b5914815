// What the gradient minimisers reuse from pass to pass. Internal to the library.
//
//     detail::TOptLineWork work;                       // the line search's pooled vectors, taken once
//     detail::OptLineSearch(..., Alpha, work);          // every search of the run on the same vectors
//     const double s = detail::OptNormL2(x.Values(), n);
//
// The norms and the dot product run the kernels of TVec's NormC, NormL2 and DotProd, so their bits are those of
// the vector methods; they only skip the checks and the calls around them, which a pass over two parameters pays
// many times over.
#pragma once

#include "core/TempGuard.h"
#include "numerics/Optimization.h"

namespace tarnel::detail {

// ‖V‖∞, ‖V‖₂ and U·V over N elements, 0 for N = 0.
double OptNormC(const double* V, int N);
// Whether OptNormC(V, N) > Bound, without forming the norm. NoNaN: the caller knows no element is NaN, and the scan
// stops at the first element above Bound.
bool OptNormCAbove(const double* V, int N, double Bound, bool NoNaN = false);
double OptNormL2(const double* V, int N);
double OptDot(const double* U, const double* V, int N);

// ‖V‖₂ from Sum, V's sum of squares as OptNormL2 forms it (a sum out of the range whose root OptNormL2 takes
// directly goes to the routine, as there).
double OptNormL2FromSum(double Sum, const double* V, int N);
// Out := X over N elements (not overlapping), and returns OptNormL2(X, N), in one pass where the processor allows.
double OptCopyNormL2(int N, const double* X, double* Out);
// The conjugate direction H := H·Beta - G over N elements; returns G·H and sets Squares to the sum of squares of the
// new H, both with the bits of OptDot and of OptNormL2's sum (a NaN product may come with the other sign), in one
// pass where the processor allows.
double OptDirection(int N, double Beta, const double* G, double* H, double& Squares);

// U·V as OptDot forms it, setting Squares to OptNormL2's sum of squares of U, in one pass where the processor allows.
double OptDotSquares(const double* U, const double* V, int N, double& Squares);
// Out := X·S over N elements (Out not overlapping V) and returns OptDot(Out, V, N), in one pass where the processor
// allows.
double OptMulDot(int N, const double* X, double S, double* Out, const double* V);

// Element-wise passes over N elements (Out may be X or Y): Out := X, Out := X·S - Y, Out := X·S, Out := Y + S·X.
void OptCopy(int N, const double* X, double* Out);
void OptMulSub(int N, const double* X, double S, const double* Y, double* Out);
void OptMul(int N, const double* X, double S, double* Out);
void OptAddMul(int N, const double* Y, double S, const double* X, double* Out);

// Dst := Dst + A·Src over N elements, as TVec's Add(Src, A) computes it.
void OptAxpy(int N, double A, const double* Src, double* Dst);

// The inverse-Hessian estimate's product and update (Uplo as the BLAS takes it, the n×n matrix contiguous): below
// kOptSmallSym rows they run here, with the BLAS routines' values bit for bit; otherwise they call the routines.
constexpr int kOptSmallSym = 100;
// Y := Alpha·H·X (DSYMV, beta 0).
void OptSymMv(char Uplo, int N, double Alpha, const double* H, const double* X, double* Y);
// H := H + A1·U·Uᵀ, then H := H + A2·V·Vᵀ (two DSYR), on the one triangle.
void OptSyrPair(char Uplo, int N, double A1, const double* U, double A2, const double* V, double* H);

// The line search's pooled vectors: the trial point, the trial's gradient and the bracket. With Spare (a real
// vector of the caller's) the accepted gradient is not copied into G: the trials' gradients go into Spare and G in
// turn, and Result points at the one holding the accepted trial's (G when none was accepted); the other is left
// with no particular values. Without Spare, Result is G.
// With HaveSlope the caller has formed D·G already (OptDot's bits) and hands it in as Slope. After the search,
// HaveSquares says whether a trial was accepted, and Squares is then its gradient's sum of squares as OptNormL2
// forms it.
struct TOptLineWork {
    TVecTemp X, G, Bracket;
    TVec* Spare = nullptr;
    TVec* Result = nullptr;
    bool HaveSlope = false;
    double Slope = 0;
    bool HaveSquares = false;
    double Squares = 0;
};

// OptLineSearch on the given work vectors (sized here, their old values never read).
int OptLineSearch(TOptFunction Fun, TOptGradProc Grad, std::span<const double> X0, std::span<const double> Consts,
                  std::span<void* const> OConsts, const TVec& D, TVec& G, double& F, int MaxEval, double AlphaMax,
                  double C2, double C1, bool Soft, double& Alpha, TOptLineWork& Work);

}  // namespace tarnel::detail
