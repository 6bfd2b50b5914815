// TMtx.LUSolve: op(A)·X = B through the LAPACK family of A's type, with iterative refinement and condition estimates.
//
// Layout. The factor F is the transpose of A in a pooled matrix: its row-major data are A in column-major order, so
// the triangle letters are A's own (not swapped as in Mul). The right-hand sides and the solutions are column-major
// blocks of n rows. A general band A (SubDiag+SuperDiag+1 rows by n) goes into F with row j of F holding column j of
// A from position SubDiag on and LDAB = 2·SubDiag+SuperDiag+1: the first SubDiag positions of each row are the room
// the band LU needs for its fill-in. A symmetric or Hermitian band (kd+1 rows) transposed is LAPACK's band layout
// with LDAB = kd+1. A general band with one sub- and one super-diagonal goes to the tridiagonal routines instead,
// which pivot alike and read the three diagonals straight from A's rows (TTridiagonalLu), in one pass when A·X = B
// is all that is asked (TTridiagonalOnePass; for one real right-hand side our own sweep of ?gtsv's operations, which
// reads A's rows without copying them first).
//
// The stages run in order, each only while Info is 0: factorize F (not for triangles), solve, refine against C (F as
// it was before the factorization, copied only when refining) and estimate the reciprocal condition number. ANORM is
// the norm of the n×n matrix the estimate's routine reads, taken before F is factorized: of the general matrix, of
// the symmetric or Hermitian matrix one triangle holds, of the band.
//
// The refinement reads the right-hand sides after the solve has overwritten the solution block, so a block that
// shares memory with the solutions (B given as X, the matrix form's transposed copy) is refined against a pooled
// copy taken before.
//
// Hermitian A under opTran and complex symmetric A under opHerm both ask for conj(A)·x = b, which the symmetric
// routines cannot express: they solve A·y = conj(b) (the refinement's copy of b conjugated too) and return
// x = conj(y).
#include <algorithm>
#include <cstring>
#include <optional>
#include <type_traits>

#include "core/BandLayout.h"
#include "core/BlasCalls.h"
#include "core/LapackWork.h"
#include "core/elementwise.h"
#include "core/messages.h"
#include "core/mtx_class.h"
#include "core/vec_class.h"

namespace tarnel {

namespace {

using detail::TInfoForm;
using detail::TWork;

using detail::kComplex;

// The routine family's view of one system.
template <class T>
struct TSystem {
    const TMtx& A;
    int N = 0;
    int Nrhs = 0;
    char Uplo = 'U', Trans = 'N', Diag = 'N', Norm = '1';
    int Kl = 0, Ku = 0, Kd = 0;  // band: sub- and super-diagonals, and the diagonals of one triangle
    T* F = nullptr;              // the factor, leading dimension Ldf
    int Ldf = 1;
    const T* C = nullptr;  // F before the factorization (refinement only)
    const T* B = nullptr;  // the right-hand sides, untouched by the solve
    T* X = nullptr;        // the right-hand sides on entry, the solutions on exit
    int* Ipiv = nullptr;
    bool KeepX = true;  // a failed factorization leaves X as it came (false: the caller discards X then)
};

// What the stages left for the matrix's results.
struct TOutcome {
    bool Refined = false;
    double ForwError = 0;
    double BackError = 0;
    bool Estimated = false;
    double ConditionNr = 0;
};

// ---- The families: four stages and their texts -----------------------------------------------------------------
// Each family gives Factorize, Solve, Refine (Work/Aux as refinements need), Estimate, Norm (ANORM, before the
// factorization) and the texts of its stages; real and complex texts differ where the family's messages do.

template <class T>
struct TCholesky {
    static constexpr bool kFactorizes = true, kPivots = false;
    static constexpr TInfoForm::TText kSingular = msg::CholeskyMinor;
    static constexpr const char* kSolve = kComplex<T> ? msg::kCholeskySolve : msg::kErorrInverse;
    static constexpr const char* kRefine = kComplex<T> ? msg::kLURefine : msg::kBunchKaufmanRefine;
    static constexpr const char* kEstimate = msg::kBunchKaufmanEstimate;

    static double Norm(const TSystem<T>& S, double* Work)
    {
        if constexpr (kComplex<T>) {
            return blas::Lanhe(S.Norm, S.Uplo, S.N, S.F, S.Ldf, Work);
        } else {
            return blas::Lansy(S.Norm, S.Uplo, S.N, S.F, S.Ldf, Work);
        }
    }
    static int Factorize(TSystem<T>& S) { return blas::Potrf(S.Uplo, S.N, S.F, S.Ldf); }
    static int Solve(TSystem<T>& S) { return blas::Potrs(S.Uplo, S.N, S.Nrhs, S.F, S.Ldf, S.X, S.N); }
    static int Refine(TSystem<T>& S, double* Ferr, double* Berr, T* Work, blas::TAux<T>* Aux)
    {
        return blas::Porfs(S.Uplo, S.N, S.Nrhs, S.C, S.Ldf, S.F, S.Ldf, S.B, S.N, S.X, S.N, Ferr, Berr, Work, Aux);
    }
    static int Estimate(TSystem<T>& S, double Anorm, double* Rcond, T* Work, blas::TAux<T>* Aux)
    {
        return blas::Pocon(S.Uplo, S.N, S.F, S.Ldf, Anorm, Rcond, Work, Aux);
    }
};

// Bunch-Kaufman: symmetric data (real or complex), or Hermitian (complex) with Herm.
template <class T, bool Herm>
struct TBunchKaufman {
    static constexpr bool kFactorizes = true, kPivots = true;
    static constexpr TInfoForm::TText kSingular = msg::BunchKaufmanSingular;
    static constexpr const char* kSolve = msg::kBunchKaufmanSolve;
    static constexpr const char* kRefine = msg::kBunchKaufmanRefine;
    static constexpr const char* kEstimate = msg::kBunchKaufmanEstimate;

    static double Norm(const TSystem<T>& S, double* Work)
    {
        if constexpr (Herm) {
            return blas::Lanhe(S.Norm, S.Uplo, S.N, S.F, S.Ldf, Work);
        } else {
            return blas::Lansy(S.Norm, S.Uplo, S.N, S.F, S.Ldf, Work);
        }
    }
    static int Factorize(TSystem<T>& S)
    {
        const auto run = [&S](T* Work, int Lwork) {
            if constexpr (Herm) {
                return blas::Hetrf(S.Uplo, S.N, S.F, S.Ldf, S.Ipiv, Work, Lwork);
            } else {
                return blas::Sytrf(S.Uplo, S.N, S.F, S.Ldf, S.Ipiv, Work, Lwork);
            }
        };
        T query{};
        const int info = run(&query, -1);
        if (info != 0) return info;
        double best = 0;
        if constexpr (kComplex<T>) {
            best = query.Re;
        } else {
            best = query;
        }
        const int lwork = std::max(1, static_cast<int>(best));
        TWork<T> work(lwork);
        return run(work.data(), lwork);
    }
    static int Solve(TSystem<T>& S)
    {
        if constexpr (Herm) {
            return blas::Hetrs(S.Uplo, S.N, S.Nrhs, S.F, S.Ldf, S.Ipiv, S.X, S.N);
        } else {
            return blas::Sytrs(S.Uplo, S.N, S.Nrhs, S.F, S.Ldf, S.Ipiv, S.X, S.N);
        }
    }
    static int Refine(TSystem<T>& S, double* Ferr, double* Berr, T* Work, blas::TAux<T>* Aux)
    {
        if constexpr (Herm) {
            return blas::Herfs(S.Uplo, S.N, S.Nrhs, S.C, S.Ldf, S.F, S.Ldf, S.Ipiv, S.B, S.N, S.X, S.N, Ferr, Berr,
                               Work, Aux);
        } else {
            return blas::Syrfs(S.Uplo, S.N, S.Nrhs, S.C, S.Ldf, S.F, S.Ldf, S.Ipiv, S.B, S.N, S.X, S.N, Ferr, Berr,
                               Work, Aux);
        }
    }
    static int Estimate(TSystem<T>& S, double Anorm, double* Rcond, T* Work, blas::TAux<T>* Aux)
    {
        if constexpr (Herm) {
            return blas::Hecon(S.Uplo, S.N, S.F, S.Ldf, S.Ipiv, Anorm, Rcond, Work, Aux);
        } else {
            return blas::Sycon(S.Uplo, S.N, S.F, S.Ldf, S.Ipiv, Anorm, Rcond, Work, Aux);
        }
    }
};

// Triangular: F is solved as it stands; the estimate takes the norm itself.
template <class T>
struct TTriangle {
    static constexpr bool kFactorizes = false, kPivots = false;
    static constexpr TInfoForm::TText kSingular = nullptr;
    static constexpr const char* kSolve = msg::kTriangleSolve;
    static constexpr const char* kRefine = msg::kTriangleRefine;
    static constexpr const char* kEstimate = msg::kTriangleEstimate;

    static double Norm(const TSystem<T>&, double*) { return 0; }
    static int Factorize(TSystem<T>&) { return 0; }
    static int Solve(TSystem<T>& S) { return blas::Trtrs(S.Uplo, S.Trans, S.Diag, S.N, S.Nrhs, S.F, S.Ldf, S.X, S.N); }
    static int Refine(TSystem<T>& S, double* Ferr, double* Berr, T* Work, blas::TAux<T>* Aux)
    {
        return blas::Trrfs(S.Uplo, S.Trans, S.Diag, S.N, S.Nrhs, S.F, S.Ldf, S.B, S.N, S.X, S.N, Ferr, Berr, Work, Aux);
    }
    static int Estimate(TSystem<T>& S, double, double* Rcond, T* Work, blas::TAux<T>* Aux)
    {
        return blas::Trcon(S.Norm, S.Uplo, S.Diag, S.N, S.F, S.Ldf, Rcond, Work, Aux);
    }
};

template <class T>
struct TLu {
    static constexpr bool kFactorizes = true, kPivots = true;
    static constexpr TInfoForm::TText kSingular = msg::LUSingular;
    static constexpr const char* kSolve = kComplex<T> ? msg::kLUSolve : msg::kLUSolveSolve;
    static constexpr const char* kRefine = msg::kLURefine;
    static constexpr const char* kEstimate = msg::kLUEstimate;

    // F is A in column-major order: its column sums are A's.
    static double Norm(const TSystem<T>& S, double*) { return S.Norm == '1' ? S.A.Norm1() : S.A.NormInf(); }
    static int Factorize(TSystem<T>& S) { return blas::Getrf(S.N, S.N, S.F, S.Ldf, S.Ipiv); }
    static int Solve(TSystem<T>& S) { return blas::Getrs(S.Trans, S.N, S.Nrhs, S.F, S.Ldf, S.Ipiv, S.X, S.N); }
    static int Refine(TSystem<T>& S, double* Ferr, double* Berr, T* Work, blas::TAux<T>* Aux)
    {
        return blas::Gerfs(S.Trans, S.N, S.Nrhs, S.C, S.Ldf, S.F, S.Ldf, S.Ipiv, S.B, S.N, S.X, S.N, Ferr, Berr, Work,
                           Aux);
    }
    static int Estimate(TSystem<T>& S, double Anorm, double* Rcond, T* Work, blas::TAux<T>* Aux)
    {
        return blas::Gecon(S.Norm, S.N, S.F, S.Ldf, Anorm, Rcond, Work, Aux);
    }
};

template <class T>
struct TBandCholesky {
    static constexpr bool kFactorizes = true, kPivots = false;
    static constexpr TInfoForm::TText kSingular = msg::CholeskyMinor;
    static constexpr const char* kSolve = TCholesky<T>::kSolve;
    static constexpr const char* kRefine = TCholesky<T>::kRefine;
    static constexpr const char* kEstimate = TCholesky<T>::kEstimate;

    static double Norm(const TSystem<T>& S, double* Work)
    {
        return blas::Lanhb(S.Norm, S.Uplo, S.N, S.Kd, S.F, S.Ldf, Work);
    }
    static int Factorize(TSystem<T>& S) { return blas::Pbtrf(S.Uplo, S.N, S.Kd, S.F, S.Ldf); }
    static int Solve(TSystem<T>& S) { return blas::Pbtrs(S.Uplo, S.N, S.Kd, S.Nrhs, S.F, S.Ldf, S.X, S.N); }
    static int Refine(TSystem<T>& S, double* Ferr, double* Berr, T* Work, blas::TAux<T>* Aux)
    {
        return blas::Pbrfs(S.Uplo, S.N, S.Kd, S.Nrhs, S.C, S.Ldf, S.F, S.Ldf, S.B, S.N, S.X, S.N, Ferr, Berr, Work,
                           Aux);
    }
    static int Estimate(TSystem<T>& S, double Anorm, double* Rcond, T* Work, blas::TAux<T>* Aux)
    {
        return blas::Pbcon(S.Uplo, S.N, S.Kd, S.F, S.Ldf, Anorm, Rcond, Work, Aux);
    }
};

// Band LU: the band itself starts Kl positions into each column of F (and of C).
template <class T>
struct TBandLu {
    static constexpr bool kFactorizes = true, kPivots = true;
    static constexpr TInfoForm::TText kSingular = msg::LUSingular;
    static constexpr const char* kSolve = kComplex<T> ? msg::kErorrSolve : msg::kErorrInverse;
    static constexpr const char* kRefine = msg::kErorrRefine;
    static constexpr const char* kEstimate = kComplex<T> ? msg::kErorrEstimate : msg::kBandGeneralEstimate;

    static double Norm(const TSystem<T>& S, double* Work)
    {
        return blas::Langb(S.Norm, S.N, S.Kl, S.Ku, S.F + S.Kl, S.Ldf, Work);
    }
    static int Factorize(TSystem<T>& S) { return blas::Gbtrf(S.N, S.N, S.Kl, S.Ku, S.F, S.Ldf, S.Ipiv); }
    static int Solve(TSystem<T>& S)
    {
        return blas::Gbtrs(S.Trans, S.N, S.Kl, S.Ku, S.Nrhs, S.F, S.Ldf, S.Ipiv, S.X, S.N);
    }
    static int Refine(TSystem<T>& S, double* Ferr, double* Berr, T* Work, blas::TAux<T>* Aux)
    {
        return blas::Gbrfs(S.Trans, S.N, S.Kl, S.Ku, S.Nrhs, S.C + S.Kl, S.Ldf, S.F, S.Ldf, S.Ipiv, S.B, S.N, S.X, S.N,
                           Ferr, Berr, Work, Aux);
    }
    static int Estimate(TSystem<T>& S, double Anorm, double* Rcond, T* Work, blas::TAux<T>* Aux)
    {
        return blas::Gbcon(S.Norm, S.N, S.Kl, S.Ku, S.F, S.Ldf, S.Ipiv, Anorm, Rcond, Work, Aux);
    }
};

// Tridiagonal LU, the band LU with one sub- and one super-diagonal (SubDiag = SuperDiag = 1): the same pivoting
// on the three diagonals alone. A's three rows are the diagonals LAPACK reads: row 0 holds A(j−1, j) in column j
// (DU from position 1), row 1 the diagonal (D), row 2 A(j+1, j) in column j (DL up to position n−2). F is a copy of
// those 3·n elements that the factorization overwrites, with DU2 (the fill-in, n−2) after them, and the refinement
// reads A's own rows, so nothing is copied for it.
template <class T>
struct TTridiagonalLu {
    static constexpr bool kFactorizes = true, kPivots = true;
    static constexpr TInfoForm::TText kSingular = TBandLu<T>::kSingular;
    static constexpr const char* kSolve = TBandLu<T>::kSolve;
    static constexpr const char* kRefine = TBandLu<T>::kRefine;
    static constexpr const char* kEstimate = TBandLu<T>::kEstimate;

    // The diagonals in a block laid out as A's rows: DL, D, DU and (the factor only) DU2.
    static T* Dl(T* M, int N) { return M + 2 * static_cast<std::int64_t>(N); }
    static T* D(T* M, int N) { return M + N; }
    static T* Du(T* M, int) { return M + 1; }
    static T* Du2(T* M, int N) { return M + 3 * static_cast<std::int64_t>(N); }
    static const T* Dl(const T* M, int N) { return M + 2 * static_cast<std::int64_t>(N); }
    static const T* D(const T* M, int N) { return M + N; }
    static const T* Du(const T* M, int) { return M + 1; }

    static double Norm(const TSystem<T>& S, double*)
    {
        const T* a = detail::Data<T>(S.A);
        return blas::Langt(S.Norm, S.N, Dl(a, S.N), D(a, S.N), Du(a, S.N));
    }
    static int Factorize(TSystem<T>& S)
    {
        return blas::Gttrf(S.N, Dl(S.F, S.N), D(S.F, S.N), Du(S.F, S.N), Du2(S.F, S.N), S.Ipiv);
    }
    static int Solve(TSystem<T>& S)
    {
        return blas::Gttrs(S.Trans, S.N, S.Nrhs, Dl(S.F, S.N), D(S.F, S.N), Du(S.F, S.N), Du2(S.F, S.N), S.Ipiv, S.X,
                           S.N);
    }
    static int Refine(TSystem<T>& S, double* Ferr, double* Berr, T* Work, blas::TAux<T>* Aux)
    {
        const T* a = detail::Data<T>(S.A);
        return blas::Gtrfs(S.Trans, S.N, S.Nrhs, Dl(a, S.N), D(a, S.N), Du(a, S.N), Dl(S.F, S.N), D(S.F, S.N),
                           Du(S.F, S.N), Du2(S.F, S.N), S.Ipiv, S.B, S.N, S.X, S.N, Ferr, Berr, Work, Aux);
    }
    static int Estimate(TSystem<T>& S, double Anorm, double* Rcond, T* Work, blas::TAux<T>* Aux)
    {
        return blas::Gtcon(S.Norm, S.N, Dl(S.F, S.N), D(S.F, S.N), Du(S.F, S.N), Du2(S.F, S.N), S.Ipiv, Anorm, Rcond,
                           Work, Aux);
    }
};

// ?gtsv for one real right-hand side, reading the diagonals from Dl0, D0, Du0 and writing the eliminated ones to Dl,
// D, Du (which may be the same arrays): the routine's operations in its order, so its results bit for bit, without
// copying the diagonals first; the copy folds into a sweep whose time goes to the chain of divisions. Returns INFO.
int TridiagonalSolve(int N, const double* Dl0, const double* D0, const double* Du0, double* Dl, double* D, double* Du,
                     double* B)
{
    if (N <= 0) return 0;
    // At step i, row i holds di (and dui) as the steps before left them, row i + 1 its own values.
    double di = D0[0], dui = N > 1 ? Du0[0] : 0;
    for (int i = 0; i + 1 < N; ++i) {
        const double dli = Dl0[i];
        double dnext = D0[i + 1];
        const bool last = i + 2 == N;
        double dunext = last ? 0 : Du0[i + 1];
        if (std::fabs(di) >= std::fabs(dli)) {
            if (di == 0) return i + 1;
            const double fact = dli / di;
            dnext = dnext - fact * dui;
            B[i + 1] = B[i + 1] - fact * B[i];
            if (!last) Dl[i] = 0;
            D[i] = di;
            Du[i] = dui;
        } else {  // rows i and i + 1 exchanged
            const double fact = di / dli;
            D[i] = dli;
            const double temp = dnext;
            dnext = dui - fact * temp;
            if (!last) {
                Dl[i] = dunext;
                dunext = -fact * dunext;
            }
            Du[i] = temp;
            const double bi = B[i];
            B[i] = B[i + 1];
            B[i + 1] = bi - fact * B[i + 1];
        }
        di = dnext;
        dui = dunext;
    }
    D[N - 1] = di;
    if (di == 0) return N;
    B[N - 1] = B[N - 1] / D[N - 1];
    if (N > 1) B[N - 2] = (B[N - 2] - Du[N - 2] * B[N - 1]) / D[N - 2];
    for (int i = N - 3; i >= 0; --i) B[i] = (B[i] - Du[i] * B[i + 1] - Dl[i] * B[i + 2]) / D[i];
    return 0;
}

// The tridiagonal LU without refinement or estimate, for A·X = B: factorization and solve in one pass (?gtsv), which
// pivots and computes as ?gttrf and ?gttrs do but sweeps the rows once and keeps no factor. It stops at a zero pivot
// with X partly eliminated, so X's entry is put back then, from B where B lies apart from X, else from a copy taken
// before: a failed factorization leaves X as on every path.
template <class T>
struct TTridiagonalOnePass : TTridiagonalLu<T> {
    using Base = TTridiagonalLu<T>;
    static constexpr bool kPivots = false;

    static int Factorize(TSystem<T>& S)
    {
        const std::int64_t count = static_cast<std::int64_t>(S.N) * std::max(S.Nrhs, 0);
        const std::size_t bytes = static_cast<std::size_t>(count) * sizeof(T);
        const bool apart = !detail::Overlap(reinterpret_cast<const double*>(S.B), count * sizeof(T) / 8,
                                            reinterpret_cast<const double*>(S.X), count * sizeof(T) / 8);
        std::optional<TWork<T>> kept;
        if (S.KeepX && !apart && bytes > 0) std::memcpy(kept.emplace(count).data(), S.X, bytes);
        const int info = Sweep(S);
        if (info != 0 && S.KeepX && bytes > 0) std::memcpy(S.X, kept ? kept->data() : S.B, bytes);
        return info;
    }
    // One real right-hand side goes through TridiagonalSolve, which reads A's rows itself; otherwise ?gtsv works on
    // F, a copy of A's rows (unless F is A's rows as scratch).
    static int Sweep(TSystem<T>& S)
    {
        const T* a = detail::Data<T>(S.A);
        if constexpr (!kComplex<T>) {
            if (S.Nrhs == 1)
                return TridiagonalSolve(S.N, Base::Dl(a, S.N), Base::D(a, S.N), Base::Du(a, S.N), Base::Dl(S.F, S.N),
                                        Base::D(S.F, S.N), Base::Du(S.F, S.N), S.X);
        }
        if (S.F != a) std::memcpy(S.F, a, 3 * static_cast<std::size_t>(S.N) * sizeof(T));
        return blas::Gtsv(S.N, S.Nrhs, Base::Dl(S.F, S.N), Base::D(S.F, S.N), Base::Du(S.F, S.N), S.X, S.N);
    }
    static int Solve(TSystem<T>&) { return 0; }
};

// ---- The stages ------------------------------------------------------------------------------------------------

// The family's stages on a prepared system; each writes Info and MtxError and runs only while Info is 0.
template <class Family, class T>
TOutcome RunStages(TMtx& A, TSystem<T>& S)
{
    constexpr const char* kRoutine = "LUSolve";
    const TConditionNumber cn = A.ConditionNumber();
    TOutcome out;
    double anorm = 0;
    if (cn != cnNone) {
        TWork<double> normWork(S.N);
        anorm = Family::Norm(S, normWork.data());
    }
    std::optional<TWork<int>> ipiv;
    if constexpr (Family::kPivots) S.Ipiv = ipiv.emplace(S.N).data();

    int info = 0;
    if constexpr (Family::kFactorizes) {
        info = detail::RecordInfo(A, kRoutine, Family::Factorize(S),
                                  TInfoForm::Inside(Family::kSingular, msg::InvalidParameter));
    }
    if (info == 0) info = detail::RecordInfo(A, kRoutine, Family::Solve(S), TInfoForm::Appended(Family::kSolve));
    if (info != 0 || (!A.RefineSolution() && cn == cnNone)) return out;

    // The most any refinement or estimate asks for: DGECON 4·n Doubles and n ints, ZGECON 2·n elements and 2·n
    // Doubles; the others 3·n / n and 2·n / n.
    TWork<T> work(static_cast<std::int64_t>(S.N) * (kComplex<T> ? 2 : 4));
    TWork<blas::TAux<T>> aux(2 * static_cast<std::int64_t>(S.N));
    if (A.RefineSolution()) {
        TWork<double> ferr(std::max(S.Nrhs, 1)), berr(std::max(S.Nrhs, 1));
        info = detail::RecordInfo(A, kRoutine, Family::Refine(S, ferr.data(), berr.data(), work.data(), aux.data()),
                                  TInfoForm::Appended(Family::kRefine));
        if (info != 0) return out;
        out.Refined = true;
        for (int k = 0; k < S.Nrhs; ++k) {
            out.ForwError = std::max(out.ForwError, ferr[k]);
            out.BackError = std::max(out.BackError, berr[k]);
        }
    }
    if (cn != cnNone) {
        double rcond = 0;
        info = detail::RecordInfo(A, kRoutine, Family::Estimate(S, anorm, &rcond, work.data(), aux.data()),
                                  TInfoForm::Appended(Family::kEstimate));
        if (info != 0) return out;
        out.Estimated = true;
        out.ConditionNr = rcond;
    }
    return out;
}

void Conjugate(TCplx* Z, std::int64_t Count)
{
    for (std::int64_t i = 0; i < Count; ++i) Z[i].Im = -Z[i].Im;
}

// Prepares F (and C when refining), the untouched right-hand sides and the letters, then runs the family of Type.
// Scratch: A's rows may serve as the one-pass tridiagonal factor, and X is left as it stands when that fails.
template <class T>
TOutcome SolveTyped(TMtx& A, TMtxType Type, TMtxOperation Op, const T* B, T* X, int Nrhs, bool Scratch = false)
{
    TSystem<T> s{A};
    s.N = BlasInt(A.Cols());
    s.Nrhs = Nrhs;
    s.Uplo = UploLetter(A.TriangleForm());
    s.Trans = OperationLetter(Op, kComplex<T>);
    s.Diag = DiagLetter(A.TriangleUnit());
    s.Norm = A.ConditionNumber() == cnNormInf ? 'I' : '1';
    s.Kl = A.SubDiag();
    s.Ku = A.SuperDiag();
    s.Kd = A.TriangleForm() == tfUpper ? s.Ku : s.Kl;
    const bool refine = A.RefineSolution();
    const std::int64_t count = static_cast<std::int64_t>(s.N) * std::max(Nrhs, 0);

    const bool tridiagonal = Type == mtBandGeneral && s.Kl == 1 && s.Ku == 1;
    const bool onePass = tridiagonal && s.Trans == 'N' && !refine && A.ConditionNumber() == cnNone;
    // The tridiagonal factor is the three diagonals in A's row layout (then DU2 unless in one pass), in a work area
    // of its own or, as scratch, A's rows themselves; the general band factor is a pooled matrix (its fill-in rows
    // start zeroed); every other factor is Aᵀ in a work area that the transposition fills whole, so nothing is
    // zero-filled first.
    std::optional<detail::TMtxTemp> f;
    std::optional<TWork<T>> factor;
    std::int64_t factorCount = 0;
    if (onePass && Scratch) {
        s.F = detail::Data<T>(A);
        s.KeepX = false;
    } else if (tridiagonal) {
        s.F = factor.emplace((onePass ? 3 : 4) * static_cast<std::int64_t>(s.N)).data();
        if (!onePass) std::memcpy(s.F, A.Values(), 3 * static_cast<std::size_t>(s.N) * sizeof(T));  // one pass: its own
    } else if (Type == mtBandGeneral) {
        s.Ldf = BlasInt(2 * static_cast<std::int64_t>(s.Kl) + s.Ku + 1);
        f.emplace();
        (*f)->Size(s.N, s.Ldf, kComplex<T>);
        (*f)->Copy(A, 0, 0, 0, s.Kl, A.Rows(), A.Cols(), true);
        s.F = detail::Data<T>(**f);
        factorCount = static_cast<std::int64_t>(s.N) * s.Ldf;
    } else {
        factorCount = static_cast<std::int64_t>(A.Rows()) * A.Cols();
        s.F = factor.emplace(factorCount).data();
        detail::TransposedData(A, reinterpret_cast<double*>(s.F));
        s.Ldf = BlasInt(std::max(A.Rows(), 1));
    }
    std::optional<TWork<T>> c;
    if (refine && Type != mtTriangle && !tridiagonal) {
        s.C = c.emplace(factorCount).data();
        std::memcpy(c->data(), s.F, static_cast<std::size_t>(factorCount) * sizeof(T));
    }

    const bool conjugate =
        kComplex<T> && ((Op == opTran && (Type == mtHermPosDef || Type == mtHermitian || Type == mtBandHermPosDef)) ||
                        (Op == opHerm && Type == mtSymmetric));
    s.X = X;
    s.B = B;
    std::optional<TWork<T>> rhs;
    if (refine && (conjugate || detail::Overlap(reinterpret_cast<const double*>(B), count * sizeof(T) / 8,
                                                reinterpret_cast<const double*>(X), count * sizeof(T) / 8))) {
        rhs.emplace(count);
        if (count > 0) std::memcpy(rhs->data(), B, static_cast<std::size_t>(count) * sizeof(T));
        s.B = rhs->data();
    }
    if constexpr (kComplex<T>) {
        if (conjugate) {
            Conjugate(X, count);
            if (rhs) Conjugate(rhs->data(), count);
        }
    }

    TOutcome out;
    switch (Type) {
        case mtSymmPosDef:
        case mtHermPosDef:
            out = RunStages<TCholesky<T>>(A, s);
            break;
        case mtSymmetric:
            out = RunStages<TBunchKaufman<T, false>>(A, s);
            break;
        case mtHermitian:
            if constexpr (kComplex<T>) out = RunStages<TBunchKaufman<T, true>>(A, s);
            break;
        case mtTriangle:
            out = RunStages<TTriangle<T>>(A, s);
            break;
        case mtGeneral:
            out = RunStages<TLu<T>>(A, s);
            break;
        case mtBandSymmPosDef:
        case mtBandHermPosDef:
            out = RunStages<TBandCholesky<T>>(A, s);
            break;
        case mtBandGeneral:
            if (!tridiagonal) {
                out = RunStages<TBandLu<T>>(A, s);
            } else if (onePass) {
                out = RunStages<TTridiagonalOnePass<T>>(A, s);
            } else {
                out = RunStages<TTridiagonalLu<T>>(A, s);
            }
            break;
    }
    if constexpr (kComplex<T>) {
        if (conjugate) Conjugate(X, count);
    }
    return out;
}

// ---- Checks ----------------------------------------------------------------------------------------------------

// The right-hand sides' rows (or length) for the type: a square A of Rows rows, or a band of Cols columns.
void CheckRightHandSide(const TMtx& A, TMtxType Type, int BRows, const char* DenseText, const char* BandText)
{
    detail::TCheck check(A.ConditionCheck());
    if (detail::IsBand(Type)) {
        check.Always(BRows != A.Cols(), BandText);
    } else {
        check.Always(!A.Quadratic(), msg::kQuadraticFalse).Always(BRows != A.Rows(), DenseText);
    }
}

// A's own shape for the type, so that no routine reads outside it, and the types its data cannot take.
void CheckMatrix(const TMtx& A, TMtxType Type)
{
    detail::TCheck check(A.ConditionCheck());
    if (detail::IsBand(Type)) {
        const std::int64_t kl = A.SubDiag(), ku = A.SuperDiag();
        check.Always(kl < 0, msg::kSubDiagNeg).Always(ku < 0, msg::kSuperDiagNeg);
        if (Type == mtBandGeneral) {
            check.Always(kl + ku + 1 != A.Rows(), msg::kBandGeneralRows);
        } else if (A.TriangleForm() == tfUpper) {
            check.Always(ku + 1 != A.Rows(), msg::kBandUpperRows);
        } else {
            check.Always(kl + 1 != A.Rows(), msg::kBandLowerRows);
        }
    } else {
        check.Always(!A.Quadratic(), msg::kQuadraticFalse);
    }
    check.Always(A.Complex() && Type == mtSymmPosDef, msg::kComplexSymmPosDef)
        .Always(A.Complex() && Type == mtBandSymmPosDef, msg::kComplexBandSymmPosDef)
        .Always(!A.Complex() && Type == mtHermitian, msg::kHermitianReal);
}

void RaiseOnFailure(const TMtx& A)
{
    if (A.Info() != 0) ERaise(msg::kLUSolvePrefix + A.MtxError());
}

}  // namespace

void TMtx::LUSolveCore(const double* B, double* X, int NRHS, TMtxType MtxType, TMtxOperation Operation)
{
    SetLapackResult(0, "");
    const TOutcome out = FComplex ? SolveTyped<TCplx>(*this, MtxType, Operation, reinterpret_cast<const TCplx*>(B),
                                                      reinterpret_cast<TCplx*>(X), NRHS)
                                  : SolveTyped<double>(*this, MtxType, Operation, B, X, NRHS);
    if (out.Refined) {
        FForwError = out.ForwError;
        FBackError = out.BackError;
    }
    if (out.Estimated) FConditionNr = out.ConditionNr;
}

// Every form loads Fortran8087CW first and Tarnel8087CW on every way out, refusals included.

TMtx& TMtx::LUSolveInt(const double* B, double* X, int NRHS, TMtxType MtxType, TMtxOperation Operation)
{
    FortranFpuMode fpu;
    if (Elements() == 0) return *this;
    MtxType = detail::ResolvedType(*this, MtxType);
    CheckMatrix(*this, MtxType);
    LUSolveCore(B, X, NRHS, MtxType, Operation);
    RaiseOnFailure(*this);
    return *this;
}

void detail::LUSolveOnBand(TMtx& A, double* X, TMtxType MtxType)
{
    FortranFpuMode fpu;
    if (static_cast<std::int64_t>(A.Rows()) * A.Cols() == 0) return;
    MtxType = detail::ResolvedType(A, MtxType);
    const bool onePass = MtxType == mtBandGeneral && A.SubDiag() == 1 && A.SuperDiag() == 1 && !A.RefineSolution() &&
                         A.ConditionNumber() == cnNone;
    if (!onePass) {
        A.LUSolveInt(X, X, 1, MtxType, opNone);
        return;
    }
    CheckMatrix(A, MtxType);
    A.SetLapackResult(0, "");
    if (A.Complex()) {
        SolveTyped<TCplx>(A, MtxType, opNone, reinterpret_cast<const TCplx*>(X), reinterpret_cast<TCplx*>(X), 1, true);
    } else {
        SolveTyped<double>(A, MtxType, opNone, X, X, 1, true);
    }
    RaiseOnFailure(A);
}

TMtx& TMtx::LUSolve(TMtx& B, TMtx& X, TMtxType MtxType, TMtxOperation Operation)
{
    FortranFpuMode fpu;
    detail::TCheck(FConditionCheck).Always(&B == this, msg::kBSelf).Always(&X == this, msg::kXSelf);
    if (Elements() == 0) return *this;
    detail::TCheck(FConditionCheck).Always(B.Complex() != FComplex, msg::kBComplex);
    MtxType = detail::ResolvedType(*this, MtxType);
    CheckRightHandSide(*this, MtxType, B.Rows(), msg::kBRowsRows, msg::kBRowsCols);
    CheckMatrix(*this, MtxType);
    // X := Bᵀ, whose row-major data are B's columns one after the other; the core refines against a copy of them.
    if (&X == &B) {
        X.Transp();
    } else {
        X.Transp(B);
    }
    LUSolveCore(X.Values(), X.Values(), X.Rows(), MtxType, Operation);
    X.Transp();
    RaiseOnFailure(*this);
    return *this;
}

TMtx& TMtx::LUSolve(const TVecs& B, TVecs& X, TMtxType MtxType, TMtxOperation Operation)
{
    FortranFpuMode fpu;
    if (Elements() == 0) return *this;
    detail::TCheck(FConditionCheck).Always(B.Complex() != FComplex, msg::kBComplex);
    MtxType = detail::ResolvedType(*this, MtxType);
    CheckRightHandSide(*this, MtxType, B.Length(), msg::kBLengthRows, msg::kBLengthCols);
    CheckMatrix(*this, MtxType);
    // B inside X's memory (another view of it) is held in a copy before X is written; B given as X itself is
    // copied by the core.
    std::optional<detail::TStable> held;
    const TVecs* b = &B;
    if (&B != &X && detail::SharesMemory(B, X)) b = &*held.emplace(B, X);
    if (b != &X) X.Copy(*b);
    LUSolveCore(b->Values(), X.Values(), 1, MtxType, Operation);
    RaiseOnFailure(*this);
    return *this;
}

}  // namespace tarnel
