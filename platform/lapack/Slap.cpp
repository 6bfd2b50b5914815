// lapack's nine iterative sparse solvers: one driver runs the checks, normalises the matrix, builds the
// preconditioner of the method and runs its core (SlapMethods.cpp), then turns the outcome into IERR.
//
// In this order: IERR 3 when N or NELT is below 1, ISYM is neither 0 nor 1, ITOL is not the method's or
// NSAVE is negative (GMRES: below 1); IERR 1 when LENW or LENIW is below the method's table, or when the
// normalised matrix would hold more entries than an Integer counts; IERR 3 when an index lies outside 1..N or,
// for Jacobi and Gauss–Seidel, a diagonal element is 0. X is untouched then, ITER and ERR are 0. A TOL below
// 500·2^-53 is reset to it and written back. ‖b‖ = 0 gives X = 0 at once. Otherwise the core runs: 0 converged,
// 2 unconverged after ITMAX iterations, 5 and 6 its breakdowns; a converged solve reports 4 when TOL was reset
// (GMRES, whose table has no 4, resets silently) and otherwise 7 when a factorization pivot had to be replaced.
//
// IA, JA, A and B are only read. The normalised copy of the matrix and the vectors are this call's own (LENW
// and LENIW are only checked, RWORK and IWORK never read), so memory that cannot be had ends in IERR 1 with X
// as given. Nothing is printed, whatever IUNIT, and nothing outlives the call.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <new>
#include <vector>

#include "core/Nmkl.h"
#include "platform/lapack/SlapInternal.h"

namespace tarnel {

namespace {

enum class TPre { Jacobi, GaussSeidel, IC, ILU };

struct TMethod {
    TPre Pre;
    int (*Core)(slap::TRun&);
    bool Gmres;            // ITOL 0 or 2; NSAVE ≥ 1; no IERR 4
    bool Saves;            // NSAVE given
    TSlapRoutine Routine;  // its place in the table of work lengths
};

struct TArgs {
    const int* N;
    const double* B;
    double* X;
    const int* NELT;
    const int* IA;
    const int* JA;
    const double* A;
    const int* ISYM;
    const int* NSAVE;
    const int* ITOL;
    double* TOL;
    const int* ITMAX;
    int* ITER;
    double* ERR;
    int* IERR;
    const int* LENW;
    const int* LENIW;
};

bool ItolAccepted(const TMethod& M, int Itol)
{
    return M.Gmres ? (Itol == 0 || Itol == 2) : (Itol == 1 || Itol == 2);
}

int Run(const TMethod& Method, const TArgs& a)
{
    const int n = *a.N;
    const int nelt = *a.NELT;
    const int nsave = Method.Saves ? *a.NSAVE : 0;
    if (n < 1 || nelt < 1 || (*a.ISYM != 0 && *a.ISYM != 1) || !ItolAccepted(Method, *a.ITOL) ||
        nsave < (Method.Gmres ? 1 : 0))
        return 3;
    const TSlapLengths need = SlapWorkLengths(Method.Routine, n, nelt, nsave);
    if (*a.LENW < need.LenW || *a.LENIW < need.LenIW) return 1;
    // The normalised matrix counts its entries in Integers: with the diagonal added and, for ISYM 1, the mirrors
    // written out, at most 2·NELT + N of them.
    if (2 * static_cast<std::int64_t>(nelt) + n > INT_MAX) return 1;

    slap::TMatrix A;
    if (!slap::Normalise(n, nelt, a.IA, a.JA, a.A, *a.ISYM == 1, A)) return 3;
    if (Method.Pre == TPre::Jacobi || Method.Pre == TPre::GaussSeidel)
        for (int i = 0; i < n; ++i)
            if (A.Diagonal(i) == 0) return 3;

    const bool reset = *a.TOL < slap::kTolMin;
    if (reset) *a.TOL = slap::kTolMin;
    if (std::all_of(a.B, a.B + n, [](double v) { return v == 0; })) {
        std::fill(a.X, a.X + n, 0.0);
        return 0;
    }

    slap::TPrecond M;
    switch (Method.Pre) {
        case TPre::Jacobi:
            slap::Jacobi(A, M);
            break;
        case TPre::GaussSeidel:
            slap::GaussSeidel(A, M);
            break;
        case TPre::IC:
            slap::IncompleteCholesky(A, M);
            break;
        case TPre::ILU:
            slap::IncompleteLU(A, M);
            break;
    }
    slap::TRun run{A, M, a.B, a.X, *a.ITOL, *a.TOL, *a.ITMAX, nsave};
    const std::vector<double> guess(a.X, a.X + n);  // X as given, should a core run out of memory
    int ierr = 0;
    try {
        ierr = Method.Core(run);
    } catch (const std::bad_alloc&) {
        std::copy(guess.begin(), guess.end(), a.X);
        return 1;
    }
    *a.ITER = run.Iter;
    *a.ERR = run.Err;
    if (ierr != 0) return ierr;
    if (reset && !Method.Gmres) return 4;
    return M.Fudged ? 7 : 0;
}

void Solve(const TMethod& Method, const TArgs& a)
{
    if (!a.IERR) return;
    if (!a.N || !a.B || !a.X || !a.NELT || !a.IA || !a.JA || !a.A || !a.ISYM || (Method.Saves && !a.NSAVE) || !a.ITOL ||
        !a.TOL || !a.ITMAX || !a.ITER || !a.ERR || !a.LENW || !a.LENIW) {
        *a.IERR = 3;
        return;
    }
    *a.ITER = 0;
    *a.ERR = 0;
    try {
        *a.IERR = Run(Method, a);
    } catch (const std::bad_alloc&) {
        *a.IERR = 1;
    }
}

// The methods in the order of TSlapRoutine.
constexpr TMethod kMethods[] = {
    {TPre::GaussSeidel, slap::Refine, false, false, slapSGS}, {TPre::IC, slap::Pcg, false, false, slapICCG},
    {TPre::ILU, slap::Refine, false, false, slapILUR},        {TPre::Jacobi, slap::Refine, false, false, slapJAC},
    {TPre::ILU, slap::BiCg, false, false, slapLUBC},          {TPre::ILU, slap::Cgn, false, false, slapSLUCN},
    {TPre::ILU, slap::Cgs, false, false, slapLUCS},           {TPre::ILU, slap::Gmres, true, true, slapLUGM},
    {TPre::ILU, slap::Orthomin, false, true, slapLUOM},
};

}  // namespace

extern "C" {

void DSGS(const int* N, const double* B, double* X, const int* NELT, const int* IA, const int* JA, const double* A,
          const int* ISYM, const int* ITOL, double* TOL, const int* ITMAX, int* ITER, double* ERR, int* IERR,
          const int*, double*, const int* LENW, int*, const int* LENIW)
{
    Solve(kMethods[slapSGS], {N, B, X, NELT, IA, JA, A, ISYM, nullptr, ITOL, TOL, ITMAX, ITER, ERR, IERR, LENW, LENIW});
}

void DSICCG(const int* N, const double* B, double* X, const int* NELT, const int* IA, const int* JA, const double* A,
            const int* ISYM, const int* ITOL, double* TOL, const int* ITMAX, int* ITER, double* ERR, int* IERR,
            const int*, double*, const int* LENW, int*, const int* LENIW)
{
    Solve(kMethods[slapICCG],
          {N, B, X, NELT, IA, JA, A, ISYM, nullptr, ITOL, TOL, ITMAX, ITER, ERR, IERR, LENW, LENIW});
}

void DSILUR(const int* N, const double* B, double* X, const int* NELT, const int* IA, const int* JA, const double* A,
            const int* ISYM, const int* ITOL, double* TOL, const int* ITMAX, int* ITER, double* ERR, int* IERR,
            const int*, double*, const int* LENW, int*, const int* LENIW)
{
    Solve(kMethods[slapILUR],
          {N, B, X, NELT, IA, JA, A, ISYM, nullptr, ITOL, TOL, ITMAX, ITER, ERR, IERR, LENW, LENIW});
}

void DSJAC(const int* N, const double* B, double* X, const int* NELT, const int* IA, const int* JA, const double* A,
           const int* ISYM, const int* ITOL, double* TOL, const int* ITMAX, int* ITER, double* ERR, int* IERR,
           const int*, double*, const int* LENW, int*, const int* LENIW)
{
    Solve(kMethods[slapJAC], {N, B, X, NELT, IA, JA, A, ISYM, nullptr, ITOL, TOL, ITMAX, ITER, ERR, IERR, LENW, LENIW});
}

void DSLUBC(const int* N, const double* B, double* X, const int* NELT, const int* IA, const int* JA, const double* A,
            const int* ISYM, const int* ITOL, double* TOL, const int* ITMAX, int* ITER, double* ERR, int* IERR,
            const int*, double*, const int* LENW, int*, const int* LENIW)
{
    Solve(kMethods[slapLUBC],
          {N, B, X, NELT, IA, JA, A, ISYM, nullptr, ITOL, TOL, ITMAX, ITER, ERR, IERR, LENW, LENIW});
}

void DSLUCN(const int* N, const double* B, double* X, const int* NELT, const int* IA, const int* JA, const double* A,
            const int* ISYM, const int* ITOL, double* TOL, const int* ITMAX, int* ITER, double* ERR, int* IERR,
            const int*, double*, const int* LENW, int*, const int* LENIW)
{
    Solve(kMethods[slapSLUCN],
          {N, B, X, NELT, IA, JA, A, ISYM, nullptr, ITOL, TOL, ITMAX, ITER, ERR, IERR, LENW, LENIW});
}

void DSLUCS(const int* N, const double* B, double* X, const int* NELT, const int* IA, const int* JA, const double* A,
            const int* ISYM, const int* ITOL, double* TOL, const int* ITMAX, int* ITER, double* ERR, int* IERR,
            const int*, double*, const int* LENW, int*, const int* LENIW)
{
    Solve(kMethods[slapLUCS],
          {N, B, X, NELT, IA, JA, A, ISYM, nullptr, ITOL, TOL, ITMAX, ITER, ERR, IERR, LENW, LENIW});
}

void DSLUGM(const int* N, const double* B, double* X, const int* NELT, const int* IA, const int* JA, const double* A,
            const int* ISYM, const int* NSAVE, const int* ITOL, double* TOL, const int* ITMAX, int* ITER, double* ERR,
            int* IERR, const int*, double*, const int* LENW, int*, const int* LENIW)
{
    Solve(kMethods[slapLUGM], {N, B, X, NELT, IA, JA, A, ISYM, NSAVE, ITOL, TOL, ITMAX, ITER, ERR, IERR, LENW, LENIW});
}

void DSLUOM(const int* N, const double* B, double* X, const int* NELT, const int* IA, const int* JA, const double* A,
            const int* ISYM, const int* NSAVE, const int* ITOL, double* TOL, const int* ITMAX, int* ITER, double* ERR,
            int* IERR, const int*, double*, const int* LENW, int*, const int* LENIW)
{
    Solve(kMethods[slapLUOM], {N, B, X, NELT, IA, JA, A, ISYM, NSAVE, ITOL, TOL, ITMAX, ITER, ERR, IERR, LENW, LENIW});
}

}  // extern "C"

void SlapSolve(TSlapRoutine Routine, const int* N, const double* B, double* X, const int* NELT, const int* IA,
               const int* JA, const double* A, const int* ISYM, const int* NSAVE, const int* ITOL, double* TOL,
               const int* ITMAX, int* ITER, double* ERR, int* IERR, const int* LENW, const int* LENIW)
{
    if (Routine < slapSGS || Routine > slapLUOM) {
        if (IERR) *IERR = 3;
        return;
    }
    const TMethod& method = kMethods[Routine];
    Solve(method, {N, B, X, NELT, IA, JA, A, ISYM, method.Saves ? NSAVE : nullptr, ITOL, TOL, ITMAX, ITER, ERR, IERR,
                   LENW, LENIW});
}

}  // namespace tarnel
