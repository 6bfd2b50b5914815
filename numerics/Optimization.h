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

// ---- Quasi-Newton (opt_bfgs.cpp) -----------------------------------------------------------------------------------
// Minimises Fun from the start point Pars with the gradient procedure Grad, keeping an estimate of the inverse
// Hessian that starts as the identity and is updated after each step by the BFGS formula (DFP false) or the DFP
// formula (DFP true). A pass goes along D = -InvHess·G (scaled to a largest component of 1 when above it, then by the
// step limit L) with the line search below, soft (C1 0.01, C2 0.99) or strict (C1 = C2 = 1E-4). L starts at 1,
// doubles when the search takes the largest step (32) and otherwise falls by 4 (never below 1) after a step below 1.
// The update is skipped while y·s <= 1.4901161194E-8·‖y‖₂·‖s‖₂ (s the step, y the change of the gradient); it is
// formed once on one triangle and mirrored, so InvHess stays exactly symmetric.
// Stops: OptResSmallGrad when ‖G‖∞ <= GradTol at the start (no pass runs) or after a pass; OptResZeroStep when the
// direction is zero; after a pass OptResConverged (OptParamsConverged with Tol), OptResMaxIter when the count
// exceeds MaxIter, OptResSmallStep when (‖X‖₂ + eps)·eps >= A·‖s‖₂ (A = α·L, so A·‖s‖₂ is A²·‖D‖₂, not the step's
// length). InvHess, when not nil, is sized to n × n and receives the last estimate; nil works on a pooled matrix.
// Grad is handed a real vector of n elements and must leave it so ("Grad.Length <> Length(Pars)",
// "Grad.Complex = True"). Log: "BFGS" (for DFP too), "Iteration Fun", then per pass its number (from 0001) and FMin
// before the pass.
int BFGS(TOptFunction Fun, TOptGradProc Grad, std::span<double> Pars, std::span<const double> Consts,
         std::span<void* const> OConsts, double& FMin, TMtx* InvHess, TOptStopReason& StopReason, bool DFP,
         bool SoftLineSearch, int MaxIter, double Tol, double GradTol, TStrings* Verbose);

// ---- Nonlinear conjugate gradients (opt_conjgrad.cpp) ---------------------------------------------------------------
// Minimises Fun from Pars along H = β·H - G, β of Fletcher-Reeves (gg/ggOld) or Polak-Ribière ((gg - Gold·G)/ggOld,
// not clamped at 0), restarting with H = -G when G·H >= -0.001·‖G‖₂·‖H‖₂. The line search of BFGS runs along t·H:
// t = 1/(32·‖H‖₂) in the first pass (a first trial of length 1/32), then 0.9·S·‖H_old‖₂/‖H‖₂ (S the last step
// factor). Stops as BFGS, with (‖X_old‖₂ + eps)·eps >= S·‖H‖₂ for OptResSmallStep; a zero direction (a gradient of
// exactly zero that GradTol did not catch) ends the run with OptResSmallGrad and X unchanged. Never
// OptResZeroStep, OptResSingular or OptResBigLambda. Grad as for BFGS. Log: "ConjGrad", "Iteration Fun", then per
// pass its number (from 0001) and FMin after the step.
int ConjGrad(TOptFunction Fun, TOptGradProc Grad, std::span<double> Pars, std::span<const double> Consts,
             std::span<void* const> OConsts, double& FMin, TOptStopReason& StopReason, bool FletcherReeves,
             bool SoftLineSearch, int MaxIter, double Tol, double GradTol, TStrings* Verbose);

// ---- Levenberg-Marquardt (opt_marquardt.cpp) ------------------------------------------------------------------------
// Minimises Fun from Pars with HessProc giving the gradient G and the Hessian HS. Each iteration solves
// (HS + λ·diag(HS))·DX = -G by Cholesky, finds t in [0, 1] by MinBrent on Fun(X + t·DX) (100 passes, Tol
// GradStepSize as it stands at the call) and evaluates Fun once more there. The trial is a success when
// Tol·FMin > f(t) - FMin; a failed one multiplies λ by 10 and tries again from the same point; after the iteration
// λ is multiplied by 0.1. Stops, tested after each trial in this order: OptResConverged (OptParamsConverged with
// Tol), OptResSmallStep ((‖X‖₂ + eps)·eps >= ‖DX‖₂), OptResSmallGrad (‖G‖∞ < GradTol at the iteration's start; the
// iteration still takes its step), OptResBigLambda (λ above 1000, or a failed trial with λ <= 0, which could never
// grow), OptResSingular (‖DX‖₂ >= ‖X‖₂/eps, or a Cholesky factorisation that fails); OptResMaxIter when the count
// exceeds MaxIter. The result counts from 1: it is the number of iterations + 1. Pars receives the last point tried
// and FMin its value (after OptResBigLambda a failed trial point). Fun and HessProc see OConsts followed by four
// entries of the routine's own (see MarquardtLineFunction). VarCovar, when not nil and the last factorisation
// succeeded, receives the inverse of the last damped matrix HS + λ·diag(HS): the inverse Hessian of Fun at the end,
// which is a covariance estimate only where the caller's Fun makes it one (it is not scaled by a residual
// variance). HessProc is handed a real Grad of n elements and an n × n Hess and must leave them so
// ("Grad.Length <> Length(Pars)", "Grad.Complex = True", "Hess size <> Length(Pars)"). Log: "Marquardt",
// "Iteration Fun                Lambda", then per iteration the count, FMin and λ at its start and the count + 1
// and FMin at its end.
int Marquardt(TOptFunction Fun, TOptHessProc HessProc, std::span<double> Pars, std::span<const double> Consts,
              std::span<void* const> OConsts, double& FMin, TMtx* VarCovar, TOptStopReason& StopReason, int MaxIter,
              double Tol, double GradTol, double Lambda, TStrings* Verbose);

namespace detail {

// The line search of BFGS and ConjGrad along D from X0, G the gradient at X0 and F the value there. A trial at α
// evaluates Fun at X0 + α·D and the gradient there (into a pooled vector), and its slope φ' = g·D. Returns at once
// with Alpha 0 when D·G >= 0 (no descent). Otherwise the first trial is α = min(AlphaMax, 1), enlarged to 2·α (or
// AlphaMax once 2.5·α passes it) while the trials are accepted:
// - soft: while f <= F0 + C1·φ'(0)·α; enlarging goes on while φ' < C2·φ'(0);
// - strict: while f < F0; enlarging goes on while the new trial's φ' < 0.
// A failed trial then brackets the step with the last accepted one (the start, slope φ'(0), when none was), and
// interpolated trials (OptLineSearchInterpolate) shrink the bracket while it is wider than 0 (soft) or C1 (strict):
// soft keeps a trial below F0 + C1·φ'(0)·α as the lower end and ends once the lower end also has φ' >= C2·φ'(0);
// strict moves the upper end to a trial with φ' >= 0 not below the lower end, else the lower end. At most MaxEval
// trials follow the first. Alpha, F and G receive the last accepted trial (Alpha 0 and F, G unchanged when none was
// accepted); X0 is not moved. Returns the number of trials after the first.
int OptLineSearch(TOptFunction Fun, TOptGradProc Grad, std::span<const double> X0, std::span<const double> Consts,
                  std::span<void* const> OConsts, const TVec& D, TVec& G, double& F, int MaxEval, double AlphaMax,
                  double C2, double C1, bool Soft, double& Alpha);

// The next trial inside the bracket (α_lo, f_lo, φ'_lo, α_hi, f_hi, φ'_hi, ...): the minimiser of the parabola
// through (α_lo, f_lo) with slope φ'_lo and through (α_hi, f_hi), kept in the inner 80 % of the bracket; the
// midpoint when the parabola's curvature term is below 5·N·eps·α_hi (N the number of parameters).
double OptLineSearchInterpolate(std::span<const double> Bracket, int N);

// Grad(Fun, X, Consts, OConsts, G) with G sized to X.size() real elements before the call and checked after it.
void OptGradient(TOptGradProc Grad, TOptFunction Fun, std::span<const double> X, std::span<const double> Consts,
                 std::span<void* const> OConsts, TVec& G);

// ‖V‖∞, ‖V‖₂ and U·V of the minimisers' real work vectors, 0 over no elements.
double OptNormC(const TVec& V);
double OptNormL2(const TVec& V);
double OptDot(const TVec& U, const TVec& V);

// The objective Marquardt minimises along DX, at the address of the fourth entry from the end of its object array.
struct TOptFunctionHolder {
    TOptFunction Fun;
};

// Marquardt's line function: with OConsts ending in the addresses of a TOptFunctionHolder and of the vectors X, DX
// and T, T := X + Pars[0]·DX and the result is the holder's Fun at T (with the same Consts and OConsts).
double MarquardtLineFunction(std::span<const double> Pars, std::span<const double> Consts,
                             std::span<void* const> OConsts);

// The convergence test on parameters: true when |New[i] - Old[i]| < Tol·|Old[i]| for every i (< Tol where Old[i] is
// 0), stopping at the first index that fails. New holds at least Old.size() elements.
bool OptParamsConverged(std::span<const double> Old, std::span<const double> New, double Tol);

}  // namespace detail

}  // namespace tarnel
