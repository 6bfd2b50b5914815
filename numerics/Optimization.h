// Optimization: unconstrained minimisers of a function of several real parameters, and derivatives of such a
// function from its values alone.
//
// What every minimiser shares:
// - The objective is a plain function (TOptFunction) of the point Pars, the constants Consts and the object
//   constants OConsts (pointers the function casts back to the vectors, matrices or objects of its own it was given);
//   Consts and OConsts reach every call of the function and of a derivative procedure as the caller passed them.
// - The result is the iteration count; the final point goes back into the caller's Pars (MinBrent: XMin), its value
//   into FMin, the reason of the stop into StopReason (MinBrent has none).
// - Verbose, when not nil, receives a log: the method's name, a column header, then one line per iteration: the
//   counter as "0000", six blanks, the value in fixed notation with D decimals, D = |Round(Log10(Tol))| (ties to
//   even; 0 for a Tol that is zero, negative, infinite or NaN; more than 18 act as 18).
// - Nothing is checked but what guards memory; an exception raised by the function passes through unchanged, and
//   every pooled temporary goes back to the pool on the way out.
#pragma once

#include <cstdint>
#include <span>

#include "core/mtx_class.h"
#include "core/vec_class.h"
#include "platform/rtl/StringList.h"

namespace tarnel {

// ---- Callbacks ---------------------------------------------------------------------------------------------------
// The objective: its value at Pars. Pars is the minimiser's own copy (read only); Consts and OConsts are the
// caller's, passed through.
using TOptFunction = double (*)(std::span<const double> Pars, std::span<const double> Consts,
                                std::span<void* const> OConsts);
// Writes the gradient of Fun at Pars into Grad (one element per parameter).
using TOptGradProc = void (*)(TOptFunction Fun, std::span<const double> Pars, std::span<const double> Consts,
                              std::span<void* const> OConsts, TVec& Grad);
// Writes the gradient of Fun at Pars into Grad and, when Hess is not nil, the n × n Hessian into Hess.
using TOptHessProc = void (*)(TOptFunction Fun, std::span<const double> Pars, std::span<const double> Consts,
                              std::span<void* const> OConsts, TVec& Grad, TMtx* Hess);

// ---- Enumerations (the order of the values is part of the interface) -----------------------------------------------
// Why a minimiser stopped.
enum TOptStopReason : std::uint8_t {
    OptResNotFound,   // still running / no reason set
    OptResSmallGrad,  // the largest gradient component is not above the gradient tolerance
    OptResSingular,   // the Marquardt system could not be solved
    OptResSmallStep,  // the step became negligible against the parameter norm
    OptResZeroStep,   // the search direction or the step was exactly zero
    OptResBigLambda,  // the Marquardt damping factor exceeded 1000
    OptResMaxIter,    // the iteration limit was passed
    OptResConverged   // every parameter moved less than the tolerance (relative)
};

// The minimiser and the numerical gradient the optimisation component runs.
enum TOptMethod { optSimplex, optMarquardt, optBFGS, optDFP, optConjGradFR, optConjGradPR };
enum TNumericGradMethod { numRichardson, numDifference };

// ---- Module state --------------------------------------------------------------------------------------------------
// The relative step of the central-difference derivatives, read by them (and by Marquardt) at each call: a quarter of
// the seventh root of 2^-52, correctly rounded (1.4511662979853012E-3). An ordinary writable global; the module's
// start-up sets it to this value.
inline constexpr double kDefaultGradStepSize = 0x1.7c6a1f29e2ce6p-10;
extern double GradStepSize;

// Start-up of the module: GradStepSize := kDefaultGradStepSize. Counted like the other modules: only the first
// Initialize has effect, so a program's own value survives a later pair of calls.
void OptimizationInitialize();
void OptimizationFinalize();

// ---- Brent's line minimisation (opt_brent.cpp) ---------------------------------------------------------------------
// Minimises Fun of one variable between ax and bx (either order) by golden sections and parabolic interpolation;
// Fun sees a one-element Pars. XMin receives the abscissa of the minimum (its value is not returned); the result is
// the number of passes. Before each pass the search stops when |x - m| <= 2·tol1 - (b - a)/2 (x the best point, m
// the middle of the bracket [a, b], tol1 = 1.4901161194E-8·|x| + Tol/3) or when the count exceeds MaxIter, so at
// most MaxIter + 1 passes run: MaxIter 0 gives one, a negative MaxIter none (Fun is evaluated once, at the
// golden-section point a + CGOLD·(b - a), which XMin receives).
// Log: "MinBrent", "Iteration x", then per pass the pass number + 1 (the first line is 0002) and x before the pass.
int MinBrent(double ax, double bx, TOptFunction Fun, std::span<const double> Consts, std::span<void* const> OConsts,
             double& XMin, int MaxIter, double Tol, TStrings* Verbose);

// ---- Nelder-Mead simplex (opt_simplex.cpp) -------------------------------------------------------------------------
// Minimises Fun of n = Pars.size() parameters from the start point Pars by the Nelder-Mead method; Pars receives the
// best vertex, FMin its value. The first n vertices scale one coordinate of the start point by 1.05 (a zero one
// becomes 0.0025), the last is the start point; an expansion goes to 3·R - 2·C (R the reflected point, C the
// centroid); after a shrink the vertices keep their old values until they are replaced. A pass ends the run with
// OptResConverged when Tol exceeds the largest coordinate difference between the vertex just written and the best
// one, with OptResMaxIter once the counter exceeds MaxIter (which also overrides OptResConverged in the last pass).
// MaxIter <= 0 runs one pass. Work: a pooled (n + 1) × n matrix and five pooled vectors.
// Log: "Simplex", "Iteration Fun", then per pass the counter before it (the first line is 0000) and the lowest
// vertex value seen so far.
int Simplex(TOptFunction Fun, std::span<double> Pars, std::span<const double> Consts, std::span<void* const> OConsts,
            double& FMin, TOptStopReason& StopReason, int MaxIter, double Tol, TStrings* Verbose);

// ---- Derivatives from function values (opt_numgrad.cpp) -------------------------------------------------------------
// Each works on a private copy of Pars, each coordinate restored exactly after its steps: the caller's Pars is never
// written, even when it views Grad's memory.
//
// The central differences D1, D2, D3 at the steps h, 2h, 4h, h = GradStepSize·(|x_i| + 1), combined by Richardson
// extrapolation into (64·D1 - 20·D2 + D3)/45 (exact for polynomials of degree 6). 6n evaluations, in the order
// x_i + h, x_i - h, x_i + 2h, x_i - 2h, x_i + 4h, x_i - 4h for each i in turn.
// Grad keeps its length: it must hold at least n real elements ("Grad.Length < Length(Pars)", "Grad.Complex = True",
// raised before Fun is called); elements 0..n - 1 are written.
void NumericGradRichardson(TOptFunction Fun, std::span<const double> Pars, std::span<const double> Consts,
                           std::span<void* const> OConsts, TVec& Grad);
// Forward differences (f(x_i + h) - f(x))/h, h = (|x_i| + 1)·1.4901161194E-8. n + 1 evaluations, f(x) first. Grad
// as for NumericGradRichardson.
void NumericGradDifference(TOptFunction Fun, std::span<const double> Pars, std::span<const double> Consts,
                           std::span<void* const> OConsts, TVec& Grad);
// Central differences with h_i = (|x_i| + 1)·GradStepSize into Grad, sized to n: Grad[i] = (f(x_i + h_i) -
// f(x_i - h_i))·0.5·(1/h_i). When Hess is not nil, the n × n Hessian into Hess: (f(x_i + h_i) + f(x_i - h_i) -
// 2f(x))/h_i² on the diagonal, (f(x_i + h_i, x_j + h_j) - f(x_i + h_i) - f(x_j + h_j) + f(x))/(h_i·h_j) off it (a
// forward difference, accurate to O(h)), the upper triangle mirrored, so Hess is exactly symmetric. The reciprocals
// are thresholded at 5.56268464626801E-309. 2n + 1 evaluations (f(x), then f(x_i - h_i), f(x_i + h_i) for each i),
// plus n(n - 1)/2 with Hess, row by row.
void NumericGradHess(TOptFunction Fun, std::span<const double> Pars, std::span<const double> Consts,
                     std::span<void* const> OConsts, TVec& Grad, TMtx* Hess);

namespace detail {

// The convergence test on parameters: true when |New[i] - Old[i]| < Tol·|Old[i]| for every i (< Tol where Old[i] is
// 0), stopping at the first index that fails. New holds at least Old.size() elements.
bool OptParamsConverged(std::span<const double> Old, std::span<const double> New, double Tol);

}  // namespace detail

}  // namespace tarnel
